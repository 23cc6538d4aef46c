#include "toolkit/docking/TkSplitterBase.h"

#include "toolkit/docking/TkLayoutNode.h"
#include "toolkit/docking/TkReleasePoll.h"
#include "toolkit/colors/TkSysColors.h"

#include <windowsx.h>

#include <algorithm>

namespace
{
int g_barWidth = 6;
int g_defaultDrawStyle = 2;

// Bar styles by the panes present (bit 0 top-left, 1 top-right, 2
// bottom-left, 3 bottom-right): row and column style without and with the
// full-width preference.
const struct
{
    int row, column, rowFullWidth, columnFullWidth;
} kBarStyles[16] = {
    {3, 3, 3, 3}, // none
    {3, 3, 3, 3}, // TL
    {3, 3, 3, 3}, // TR
    {3, 2, 3, 2}, // TL TR
    {3, 3, 3, 3}, // BL
    {2, 3, 2, 3}, // TL BL
    {3, 2, 3, 2}, // TR BL
    {0, 2, 2, 0}, // TL TR BL
    {3, 3, 3, 3}, // BR
    {3, 2, 3, 2}, // TL BR
    {2, 3, 2, 3}, // TR BR
    {1, 2, 2, 0}, // TL TR BR
    {3, 2, 3, 2}, // BL BR
    {0, 2, 2, 1}, // TL BL BR
    {1, 2, 2, 1}, // TR BL BR
    {2, 2, 2, 2}, // all
};

int PaneIndex(int row, int column)
{
    return (row ? 2 : 0) + (column ? 1 : 0);
}

void HLine(CDC* dc, int y, int x0, int x1, COLORREF color)
{
    if (x1 > x0)
        dc->FillSolidRect(x0, y, x1 - x0, 1, color);
}

void VLine(CDC* dc, int x, int y0, int y1, COLORREF color)
{
    if (y1 > y0)
        dc->FillSolidRect(x, y0, 1, y1 - y0, color);
}

// A bar that comes up to the crossing from the start, or goes on past it.
BOOL ReachesCrossing(int style)
{
    return style == TkSplitterBase::kToCrossing || style == TkSplitterBase::kFullLength;
}

BOOL GoesPastCrossing(int style)
{
    return style == TkSplitterBase::kFromCrossing || style == TkSplitterBase::kFullLength;
}

// The fill leaves the row bar's lines visible at the crossing.
CRect ColumnFill(const CRect& c, int style, int narrower)
{
    const int top[] = {c.top, c.top + 1, c.top};
    const int bottom[] = {c.bottom - 2, c.bottom, c.bottom};
    int index = std::min(std::max(style, 0), 2);
    return CRect(c.left + 1, top[index], c.right - narrower + 1, bottom[index]);
}
}

TkSplitterPaneInfo::TkSplitterPaneInfo()
{
    std::fill(m_present, m_present + kPaneCount, 0);
}

void TkSplitterPaneInfo::SetPane(int pane, const RECT* rect)
{
    if (pane < 0 || pane >= kPaneCount)
        return;
    m_present[pane] = rect != NULL;
    if (rect)
        m_rects[pane] = *rect;
}

BOOL TkSplitterPaneInfo::GetPane(int pane, RECT* rect) const
{
    if (pane < 0 || pane >= kPaneCount || !m_present[pane])
        return FALSE;
    if (rect)
        *rect = m_rects[pane];
    return TRUE;
}

void TkSplitterBase::SetBarWidth(int width)
{
    g_barWidth = width;
}

int TkSplitterBase::GetBarWidth()
{
    return g_barWidth;
}

void TkSplitterBase::SetDefaultDrawStyle(int style)
{
    g_defaultDrawStyle = style;
}

int TkSplitterBase::GetDefaultDrawStyle()
{
    return g_defaultDrawStyle;
}

TkSplitterBase::TkSplitterBase()
    : m_splitterFlags(0), m_y(0), m_x(0), m_rowStyle(kNoBar), m_columnStyle(kNoBar),
      m_tracking(FALSE), m_lastRowOutlineSize(0, 0), m_lastColumnOutlineSize(0, 0),
      m_marginLeft(0), m_marginRight(0), m_marginTop(0), m_marginBottom(0), m_barDrawStyle(1),
      m_trackDCWindow(NULL)
{
    std::fill(m_panePresent, m_panePresent + TkSplitterPaneInfo::kPaneCount, 0);
}

BOOL TkSplitterBase::Create(CWnd* parent, const RECT& rect, DWORD style, UINT id,
                            int splitterFlags)
{
    m_area = rect;
    m_splitterFlags = splitterFlags;
    CString name;
    name.LoadString(kIdsSplitterName);
    return CWnd::Create(NULL, name, style, rect, parent, id);
}

void TkSplitterBase::SetMargins(int left, int top, int right, int bottom)
{
    m_marginLeft = left;
    m_marginTop = top;
    m_marginRight = right;
    m_marginBottom = bottom;
}

BOOL TkSplitterBase::IsPanePresent(int row, int column) const
{
    return m_panePresent[PaneIndex(row, column)];
}

void TkSplitterBase::SetSplitPosition(int x, int y)
{
    m_x = x;
    m_y = y;
    ComputeBarRects(m_rowBar, m_columnBar, m_x, m_y);
    UpdateHitRects();
    RecalcPanes();
}

BOOL TkSplitterBase::ShowPane(int row, int column)
{
    if (row >= 3 || column >= 3)
        return FALSE;
    m_panePresent[PaneIndex(row, column)] = 1;
    ChooseBarStyles();
    RecalcBars();
    return TRUE;
}

BOOL TkSplitterBase::HidePane(int row, int column)
{
    if (row >= 3 || column >= 3)
        return FALSE;
    m_panePresent[PaneIndex(row, column)] = 0;
    ChooseBarStyles();
    RecalcBars();
    return TRUE;
}

void TkSplitterBase::LayoutPanes(TkSplitterPaneInfo&)
{
}

void TkSplitterBase::ChooseBarStyles()
{
    int mask = 0;
    for (int pane = 0; pane < TkSplitterPaneInfo::kPaneCount; ++pane)
        if (m_panePresent[pane])
            mask |= 1 << pane;
    const auto& styles = kBarStyles[mask];
    BOOL fullWidth = (m_splitterFlags & kThreePaneFullWidth) != 0;
    m_rowStyle = fullWidth ? styles.rowFullWidth : styles.row;
    m_columnStyle = fullWidth ? styles.columnFullWidth : styles.column;
}

void TkSplitterBase::RecalcBars()
{
    CRect row, column;
    ComputeBarRects(row, column, m_x, m_y);
    ApplyBarRect(row, TRUE);
    ApplyBarRect(column, FALSE);
    UpdateHitRects();
    RecalcPanes();
}

void TkSplitterBase::GetTrackLimits(int& minX, int& minY, int& maxX, int& maxY)
{
    minX = m_area.left + m_marginLeft;
    minY = m_area.top + m_marginTop;
    maxX = m_area.right - m_marginRight - g_barWidth;
    maxY = m_area.bottom - m_marginBottom - g_barWidth;
    for (int* value : {&minX, &minY, &maxX, &maxY})
        if (*value < 1)
            *value = 0;
}

void TkSplitterBase::ComputeBarRects(CRect& row, CRect& column, int& x, int& y)
{
    int minX, minY, maxX, maxY;
    GetTrackLimits(minX, minY, maxX, maxY);
    int w = g_barWidth;
    int X = std::max(std::min(m_area.left + x, maxX), minX);
    int Y = std::max(std::min(m_area.top + y, maxY), minY);
    x = X - m_area.left;
    y = Y - m_area.top;
    const int rowLeft[] = {minX, X, minX};
    const int rowRight[] = {X + w, maxX + w, maxX + w};
    row.SetRectEmpty();
    if (m_rowStyle >= kToCrossing && m_rowStyle < kNoBar)
        row.SetRect(rowLeft[m_rowStyle], Y, rowRight[m_rowStyle], Y + w);
    const int columnTop[] = {minY, Y, minY};
    const int columnBottom[] = {Y + w, maxY + w, maxY + w};
    column.SetRectEmpty();
    if (m_columnStyle >= kToCrossing && m_columnStyle < kNoBar)
        column.SetRect(X, columnTop[m_columnStyle], X + w, columnBottom[m_columnStyle]);
}

void TkSplitterBase::UpdateHitRects()
{
    m_rowHit = m_rowBar;
    m_columnHit = m_columnBar;
    if (!m_rowHit.IsRectEmpty())
        m_rowHit.OffsetRect(-m_area.TopLeft());
    if (!m_columnHit.IsRectEmpty())
        m_columnHit.OffsetRect(-m_area.TopLeft());
}

void TkSplitterBase::HitTestBars(int x, int y, BOOL& onRow, BOOL& onColumn)
{
    CPoint point(x, y);
    onRow = m_rowHit.PtInRect(point);
    onColumn = m_columnHit.PtInRect(point);
}

BOOL TkSplitterBase::ApplyBarRect(const CRect& rect, BOOL isRow)
{
    CRect& bar = isRow ? m_rowBar : m_columnBar;
    if (bar == rect)
        return FALSE;
    CRect old = bar;
    bar = rect;
    InvalidateBarMove(old, rect, isRow);
    return TRUE;
}

// Only the strips that the bar uncovers and covers repaint.
void TkSplitterBase::InvalidateBarMove(const CRect& oldRect, const CRect& newRect, BOOL)
{
    CPoint origin = m_area.TopLeft();
    auto invalidate = [this, origin](const CRect& strip) { InvalidateArea(strip - origin, TRUE); };
    CRect common;
    if (!common.IntersectRect(oldRect, newRect))
    {
        if (!oldRect.IsRectEmpty())
            invalidate(oldRect);
        if (!newRect.IsRectEmpty())
            invalidate(newRect);
        return;
    }
    TkLayoutNode::ForEachExposedStrip(oldRect, newRect, invalidate);
    TkLayoutNode::ForEachExposedStrip(newRect, oldRect, invalidate);
}

void TkSplitterBase::InvalidateArea(const CRect& rect, BOOL erase)
{
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, rect, erase);
}

void TkSplitterBase::ComputePaneRects(const CRect& r, const CRect& c, TkSplitterPaneInfo& panes)
{
    CRect a = m_area;
    a.DeflateRect(m_marginLeft, m_marginTop, m_marginRight, m_marginBottom);
    int rs = m_rowStyle;
    int cs = m_columnStyle;
    BOOL rowNone = rs == kNoBar;
    BOOL columnNone = cs == kNoBar;
    const CRect rects[TkSplitterPaneInfo::kPaneCount] = {
        // top-left
        CRect(a.left, a.top, (cs == kFromCrossing || columnNone) ? a.right : c.left,
              (rs == kFromCrossing || rowNone) ? a.bottom : r.top),
        // top-right
        CRect((cs == kFromCrossing || columnNone) ? a.left : c.right, a.top, a.right,
              (rs == kToCrossing || rowNone) ? a.bottom : r.top),
        // bottom-left
        CRect(a.left, (rs == kFromCrossing || rowNone) ? a.top : r.bottom,
              (cs == kToCrossing || columnNone) ? a.right : c.left, a.bottom),
        // bottom-right
        CRect((cs == kToCrossing || columnNone) ? a.left : c.right,
              (rs == kToCrossing || rowNone) ? a.top : r.bottom, a.right, a.bottom),
    };
    for (int pane = 0; pane < TkSplitterPaneInfo::kPaneCount; ++pane)
        panes.SetPane(pane, m_panePresent[pane] ? &rects[pane] : NULL);
}

void TkSplitterBase::RecalcPanes()
{
    TkSplitterPaneInfo panes;
    ComputePaneRects(m_rowBar, m_columnBar, panes);
    LayoutPanes(panes);
}

BOOL TkSplitterBase::CanStartTracking(UINT, CPoint)
{
    return TRUE;
}

void TkSplitterBase::OnBarsMoved(int, int)
{
}

BOOL TkSplitterBase::CanPaint()
{
    return TRUE;
}

int TkSplitterBase::GetBarStyle()
{
    return (m_barDrawStyle & kUseDefaultDrawStyle) ? g_defaultDrawStyle : m_barDrawStyle;
}

void TkSplitterBase::PumpPaint()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, WM_PAINT, WM_PAINT, PM_REMOVE))
    {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// ---- Tracking ----

void TkSplitterBase::TrackBars(UINT flags, int x, int y, BOOL trackRow, BOOL trackColumn)
{
    if (m_tracking)
        return;
    m_tracking = TRUE;
    if (!CanStartTracking(flags, CPoint(x, y)))
    {
        m_tracking = FALSE;
        return;
    }
    m_lastRowOutline.SetRectEmpty();
    m_lastColumnOutline.SetRectEmpty();
    m_lastRowOutlineSize = m_lastColumnOutlineSize = CSize(0, 0);
    CSize move = RunTrackCapture(trackRow, trackColumn);
    if (move.cx == 0 && move.cy == 0)
    {
        m_tracking = FALSE;
        return;
    }
    m_x += move.cx;
    m_y += move.cy;
    CRect row, column;
    ComputeBarRects(row, column, m_x, m_y);
    BOOL rowMoved = ApplyBarRect(row, TRUE);
    BOOL columnMoved = ApplyBarRect(column, FALSE);
    UpdateHitRects();
    if (rowMoved || columnMoved)
    {
        RecalcPanes();
        OnBarsMoved(move.cx, move.cy);
    }
    m_tracking = FALSE;
}

CSize TkSplitterBase::RunTrackCapture(BOOL trackRow, BOOL trackColumn)
{
    if (::GetCapture() != NULL)
        return CSize(0, 0);
    SetCapture();
    UpdateWindow();
    CDC* dc = GetTrackDC();
    CRect startRow = m_rowBar;
    CRect startColumn = m_columnBar;
    CRect row = startRow;
    CRect column = startColumn;
    BOOL live = IsLiveTracking();
    if (!live && dc)
    {
        if (trackRow)
            DrawTrackOutline(row, dc, TRUE, FALSE);
        if (trackColumn)
            DrawTrackOutline(column, dc, FALSE, FALSE);
    }
    BOOL released = RunTrackLoop(dc, row, column, trackRow, trackColumn);
    CSize move(0, 0);
    if (released && !live)
    {
        int minX, minY, maxX, maxY;
        GetTrackLimits(minX, minY, maxX, maxY);
        CRect bounds(minX, minY, maxX + g_barWidth, maxY + g_barWidth);
        if (trackColumn && !column.IsRectEmpty())
            move.cx = column.left - startColumn.left - KeepInside(column, bounds, FALSE);
        if (trackRow && !row.IsRectEmpty())
            move.cy = row.top - startRow.top - KeepInside(row, bounds, TRUE);
    }
    ReleaseTrackDC(dc);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    return move;
}

int TkSplitterBase::KeepInside(CRect& rect, const CRect& bounds, BOOL vertical)
{
    int start = vertical ? rect.top : rect.left;
    int end = vertical ? rect.bottom : rect.right;
    int low = vertical ? bounds.top : bounds.left;
    int high = vertical ? bounds.bottom : bounds.right;
    int shift = end > high ? high - end : 0;
    if (start + shift < low)
        shift = low - start;
    if (vertical)
        rect.OffsetRect(0, shift);
    else
        rect.OffsetRect(shift, 0);
    return shift;
}

// Mouse points come from lParam: MSG.pt would be a screen point.
BOOL TkSplitterBase::RunTrackLoop(CDC* dc, CRect& row, CRect& column, BOOL trackRow,
                                  BOOL trackColumn)
{
    CRect startRow = row;
    CRect startColumn = column;
    CPoint startPosition(m_x, m_y);
    BOOL live = IsLiveTracking();
    BOOL released = FALSE;
    BOOL cancelled = FALSE;
    AfxLockTempMaps();
    TkReleasePoll poll;
    for (;;)
    {
        MSG msg;
        BOOL got = ::GetMessageA(&msg, NULL, 0, 0);
        if (got <= 0)
        {
            // The quit belongs to the loop outside this one.
            if (got == 0)
                ::PostQuitMessage((int)msg.wParam);
            cancelled = TRUE;
            break;
        }
        if (::GetCapture() != m_hWnd)
        {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            break;
        }
        if (poll.IsPoll(msg))
        {
            if (!poll.FoundReleased(msg))
                continue;
            CPoint point;
            ::GetCursorPos(&point);
            ScreenToClient(&point);
            OnTrackMove(dc, point.x, point.y, row, column, trackRow, trackColumn);
            released = TRUE;
            break;
        }
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST)
        {
            if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            {
                cancelled = TRUE;
                break;
            }
            continue;
        }
        if (msg.message == WM_MOUSEMOVE)
        {
            OnTrackMove(dc, GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam), row, column,
                        trackRow, trackColumn);
            PumpPaint();
            continue;
        }
        if (msg.message == WM_LBUTTONUP)
        {
            released = TRUE;
            break;
        }
        if (msg.message == WM_RBUTTONDOWN)
        {
            cancelled = TRUE;
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (!live)
        EraseOutlines(dc);
    else if (cancelled)
        RestoreBars(startRow, startColumn, startPosition);
    UpdateHitRects();
    AfxUnlockTempMaps();
    return released;
}

void TkSplitterBase::RestoreBars(const CRect& row, const CRect& column, CPoint position)
{
    CPoint back(column.left - m_columnBar.left, row.top - m_rowBar.top);
    BOOL rowMoved = ApplyBarRect(row, TRUE);
    BOOL columnMoved = ApplyBarRect(column, FALSE);
    m_x = position.x;
    m_y = position.y;
    if (!rowMoved && !columnMoved)
        return;
    RecalcPanes();
    OnBarsMoved(columnMoved ? back.x : 0, rowMoved ? back.y : 0);
}

void TkSplitterBase::EraseOutlines(CDC* dc)
{
    if (!dc)
        return;
    DrawTrackOutline(CRect(), dc, TRUE, TRUE);
    DrawTrackOutline(CRect(), dc, FALSE, TRUE);
}

void TkSplitterBase::OnTrackMove(CDC* dc, int x, int y, CRect& row, CRect& column,
                                 BOOL trackRow, BOOL trackColumn)
{
    int half = g_barWidth / 2;
    int newX = trackColumn ? x - half : m_x;
    int newY = trackRow ? y - half : m_y;
    CRect newRow, newColumn;
    ComputeBarRects(newRow, newColumn, newX, newY);
    BOOL live = IsLiveTracking();
    CPoint step(newColumn.left - column.left, newRow.top - row.top);
    BOOL changed = FALSE;
    if (newRow != row)
    {
        changed |= live ? ApplyBarRect(newRow, TRUE) : TRUE;
        if (!live && dc && trackRow)
            DrawTrackOutline(newRow, dc, TRUE, FALSE);
        row = newRow;
    }
    if (newColumn != column)
    {
        changed |= live ? ApplyBarRect(newColumn, FALSE) : TRUE;
        if (!live && dc && trackColumn)
            DrawTrackOutline(newColumn, dc, FALSE, FALSE);
        column = newColumn;
    }
    if (!live || !changed)
        return;
    m_x = newX;
    m_y = newY;
    UpdateHitRects();
    RecalcPanes();
    OnBarsMoved(trackColumn ? step.x : 0, trackRow ? step.y : 0);
    // Telling of the move may have laid the splitter out again.
    row = m_rowBar;
    column = m_columnBar;
}

CDC* TkSplitterBase::GetTrackDC()
{
    m_trackDCWindow = m_hWnd;
    HDC dc = ::GetDC(m_trackDCWindow);
    return dc ? CDC::FromHandle(dc) : NULL;
}

void TkSplitterBase::ReleaseTrackDC(CDC* dc)
{
    if (dc)
        ::ReleaseDC(m_trackDCWindow, dc->GetSafeHdc());
    m_trackDCWindow = NULL;
}

void TkSplitterBase::MapOutlineRects(CRect&, CRect&)
{
}

void TkSplitterBase::DrawTrackOutline(const CRect& rect, CDC* dc, BOOL isRow, BOOL hide)
{
    CRect outline;
    CSize size(0, 0);
    if (!hide && !rect.IsRectEmpty())
    {
        outline = rect - m_area.TopLeft();
        if (isRow)
            outline.DeflateRect(0, 1);
        else
            outline.DeflateRect(1, 0);
        size = CSize(g_barWidth - 1, g_barWidth - 1);
    }
    CRect& last = isRow ? m_lastRowOutline : m_lastColumnOutline;
    CSize& lastSize = isRow ? m_lastRowOutlineSize : m_lastColumnOutlineSize;
    if (outline.IsRectEmpty() && last.IsRectEmpty())
        return;
    CRect mapped = outline;
    CRect mappedLast = last;
    MapOutlineRects(mapped, mappedLast);
    dc->DrawDragRect(mapped, size, last.IsRectEmpty() ? NULL : (LPCRECT)mappedLast, lastSize);
    last = outline;
    lastSize = size;
}

// ---- Drawing ----

void TkSplitterBase::Draw(CDC* dc)
{
    CRect row = m_rowBar;
    CRect column = m_columnBar;
    row.OffsetRect(-m_area.TopLeft());
    column.OffsetRect(-m_area.TopLeft());
    int style = GetBarStyle();
    if (style & kFlatBars)
    {
        DrawRowBarFlat(dc, row, column);
        DrawColumnBarFlat(dc, column, row);
    }
    else if (style & kPlainBars)
    {
        if (m_rowStyle != kNoBar)
            FillBackground(dc, row);
        if (m_columnStyle != kNoBar)
            FillBackground(dc, column);
    }
    else
    {
        DrawRowBar(dc, row, column);
        DrawColumnBar(dc, column, row);
    }
}

void TkSplitterBase::FillBackground(CDC* dc, const CRect& rect)
{
    dc->FillSolidRect(rect, tkSysColors.m_clrBtnFace);
}

void TkSplitterBase::DrawRowBar(CDC* dc, const CRect& bar, const CRect& columnBar)
{
    DrawBar(dc, TRUE, bar, columnBar, FALSE);
}

void TkSplitterBase::DrawRowBarFlat(CDC* dc, const CRect& bar, const CRect& columnBar)
{
    DrawBar(dc, TRUE, bar, columnBar, TRUE);
}

void TkSplitterBase::DrawColumnBar(CDC* dc, const CRect& bar, const CRect& rowBar)
{
    DrawBar(dc, FALSE, bar, rowBar, FALSE);
}

void TkSplitterBase::DrawColumnBarFlat(CDC* dc, const CRect& bar, const CRect& rowBar)
{
    DrawBar(dc, FALSE, bar, rowBar, TRUE);
}

// Read along the bar: its lines run from start to end at offsets across it,
// and are broken where the other bar crosses: the highlight where that bar
// comes up to the crossing, the shadow and frame where it goes on past it.
void TkSplitterBase::DrawBar(CDC* dc, BOOL isRow, const CRect& bar, const CRect& other,
                             BOOL flat)
{
    int ownStyle = isRow ? m_rowStyle : m_columnStyle;
    int otherStyle = isRow ? m_columnStyle : m_rowStyle;
    if (ownStyle == kNoBar)
        return;
    const TkSysColors& colors = tkSysColors;
    int start = isRow ? bar.left : bar.top;
    int end = isRow ? bar.right : bar.bottom;
    int inner = isRow ? bar.top : bar.left;
    int outer = isRow ? bar.bottom : bar.right;
    int crossStart = isRow ? other.left : other.top;
    int crossEnd = isRow ? other.right : other.bottom;
    auto line = [&](int at, int from, int to, COLORREF color) {
        if (isRow)
            HLine(dc, at, from, to, color);
        else
            VLine(dc, at, from, to, color);
    };
    dc->FillSolidRect(isRow ? CRect(bar.left, bar.top + 1, bar.right, bar.bottom - (flat ? 1 : 2))
                            : ColumnFill(bar, ownStyle, flat ? 2 : 3),
                      colors.m_clrBtnFace);
    if (ReachesCrossing(otherStyle))
    {
        line(inner, start, crossStart + 1, colors.m_clrBtnHilite);
        line(inner, crossEnd - 2, end, colors.m_clrBtnHilite);
    }
    else
        line(inner, start, end, colors.m_clrBtnHilite);
    int shadow = outer - (flat ? 1 : 2);
    if (!GoesPastCrossing(otherStyle))
    {
        line(shadow, start, end, colors.m_clrBtnShadow);
        if (!flat)
            line(outer - 1, start, end, colors.m_clrWindowFrame);
        return;
    }
    line(shadow, start, crossStart, colors.m_clrBtnShadow);
    line(shadow, crossEnd - 2, end, colors.m_clrBtnShadow);
    if (flat)
        return;
    if (ReachesCrossing(ownStyle))
        line(outer - 1, start, crossStart, colors.m_clrWindowFrame);
    line(outer - 1, crossEnd - 1, end, colors.m_clrWindowFrame);
}

// ---- Messages ----

BEGIN_MESSAGE_MAP(TkSplitterBase, CWnd)
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_PAINT()
END_MESSAGE_MAP()

HCURSOR TkSplitterBase::CursorFor(BOOL onRow, BOOL onColumn)
{
    // Loaded once and kept for the life of the program.
    static HCURSOR cursors[3];
    static const UINT ids[3] = {kCursorCrossing, kCursorRow, kCursorColumn};
    int index = onRow && onColumn ? 0 : onRow ? 1 : 2;
    if (!cursors[index])
        cursors[index] = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(ids[index]));
    return cursors[index];
}

// The cursor over the splitter itself is set by OnMouseMove.
BOOL TkSplitterBase::OnSetCursor(CWnd* window, UINT hitTest, UINT)
{
    if (window == this && hitTest == HTCLIENT)
        return TRUE;
    return (BOOL)Default();
}

void TkSplitterBase::OnMouseMove(UINT, CPoint point)
{
    BOOL onRow = FALSE, onColumn = FALSE;
    HitTestBars(point.x, point.y, onRow, onColumn);
    HCURSOR cursor = onRow || onColumn
                         ? CursorFor(onRow, onColumn)
                         : (HCURSOR)::GetClassLongPtrA(m_hWnd, GCLP_HCURSOR);
    ::SetCursor(cursor);
    Default();
}

void TkSplitterBase::OnLButtonDown(UINT flags, CPoint point)
{
    BOOL onRow = FALSE, onColumn = FALSE;
    HitTestBars(point.x, point.y, onRow, onColumn);
    if (onRow || onColumn)
        TrackBars(flags, point.x, point.y, onRow, onColumn);
    else
        Default();
}

void TkSplitterBase::OnPaint()
{
    CPaintDC dc(this);
    if (CanPaint())
        Draw(&dc);
}
