#include "toolkit/docking/TkLayoutNodeGripper.h"

#include "toolkit/colors/TkSysColors.h"

#include <algorithm>
#include <memory>

namespace
{
BOOL g_singleBar = FALSE;

const int kBarWidth = 3;
const int kBarGap = 1;
const int kSingleBarOffset = 2;
const int kButtonSize = 11;
const int kCloseGap = 2;
const int kArrowGap = 1;

// Centres an item across a strip; an odd pixel goes before it.
int LeadingOffset(int thickness, int item)
{
    int d = thickness - item;
    return std::max(d / 2, 0) + d % 2;
}
}

TkLayoutNodeGripper::TkLayoutNodeGripper()
    : m_side(kSideLeft), m_size(kGripperSize), m_bars(NULL), m_singleBar(g_singleBar)
{
    // A gripper keeps no margin but its strip.
    m_widthLeft = m_widthTop = m_widthRight = m_widthBottom = 0;
    SetGripperSide(kSideLeft);
}

TkLayoutNodeGripper::~TkLayoutNodeGripper()
{
    delete m_bars;
}

void TkLayoutNodeGripper::SetSingleBar(BOOL single)
{
    g_singleBar = single;
}

BOOL TkLayoutNodeGripper::GetSingleBar()
{
    return g_singleBar;
}

void TkLayoutNodeGripper::SetGripperSide(int side)
{
    m_side = side;
    m_sideStripsFirst = IsVertical();
    ApplyMargins();
}

void TkLayoutNodeGripper::SetNodeActive(BOOL active, BOOL recurse)
{
    TkLayoutNodeBorderSpace::SetNodeActive(active, recurse);
    SetGripperSide(active ? kSideLeft : kSideTop);
}

void TkLayoutNodeGripper::SetMargins(int left, int top, int right, int bottom)
{
    int* margins[] = {&top, &bottom, &left, &right};
    *margins[m_side] = m_size;
    TkLayoutNodeBorderSpace::SetMargins(left, top, right, bottom);
    CSize minimum = IsVertical() ? CSize(m_size, 0) : CSize(0, m_size);
    SetSizeLimits(minimum, CSize(0, 0), kNoMaximum);
}

CRect TkLayoutNodeGripper::GripStrip() const
{
    CRect node = m_currentRect;
    CRect strip = m_strips[m_side];
    switch (m_side)
    {
    case kSideLeft:
        strip.right = std::min(strip.left + m_size, node.right);
        break;
    case kSideRight:
        strip.left = std::max(strip.right - m_size, node.left);
        break;
    case kSideTop:
        strip.bottom = std::min(strip.top + m_size, node.bottom);
        break;
    case kSideBottom:
        strip.top = std::max(strip.bottom - m_size, node.top);
        break;
    }
    return strip;
}

void TkLayoutNodeGripper::CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force)
{
    TkLayoutNodeBorderSpace::CalcLayout(result, rect, constrain, force);
    if (!m_bars)
        m_bars = NewBars();
    CRect strip = GripStrip();
    m_strips[m_side] = strip;
    switch (m_side)
    {
    case kSideLeft:
        m_strips[kSideTop].left = m_strips[kSideBottom].left = strip.right;
        break;
    case kSideRight:
        m_strips[kSideTop].right = m_strips[kSideBottom].right = strip.left;
        break;
    case kSideTop:
        m_strips[kSideLeft].top = m_strips[kSideRight].top = strip.bottom;
        break;
    case kSideBottom:
        m_strips[kSideLeft].bottom = m_strips[kSideRight].bottom = strip.top;
        break;
    }
    if (m_bars)
        LayoutBars(strip, m_side, m_bars);
}

void TkLayoutNodeGripper::DrawMargins(CDC* dc, const CRect& rect, int side)
{
    TkLayoutNodeBorderSpace::DrawMargins(dc, rect, side);
    if (side == m_side)
        DrawBars(dc, rect);
}

void TkLayoutNodeGripper::InvalidateMargins(const CRect& rect)
{
    CRect grown = rect;
    if (m_sideStripsFirst)
        grown.InflateRect(15, 0);
    else
        grown.InflateRect(0, 15);
    TkLayoutNodeBorderSpace::InvalidateMargins(grown);
}

TkGripperMetrics* TkLayoutNodeGripper::NewMetrics()
{
    return new TkGripperMetrics;
}

TkGripperBars* TkLayoutNodeGripper::NewBars()
{
    return new TkGripperBars;
}

void TkLayoutNodeGripper::DrawBars(CDC* dc, const CRect&)
{
    if (!m_bars)
        return;
    int count = m_singleBar ? 1 : 2;
    for (int i = 0; i < count; ++i)
        if (!m_bars->bars[i].IsRectEmpty())
            dc->Draw3dRect(m_bars->bars[i], tkSysColors.m_clrBtnHilite,
                           tkSysColors.m_clrBtnShadow);
}

void TkLayoutNodeGripper::LayoutBars(const CRect& strip, int side, TkGripperBars* bars)
{
    std::unique_ptr<TkGripperMetrics> metrics(NewMetrics());
    BOOL vertical = side == kSideLeft || side == kSideRight;
    int length = vertical ? strip.Height() : strip.Width();
    int thickness = vertical ? strip.Width() : strip.Height();
    if (m_singleBar)
        MeasureBarsSingle(metrics.get(), length, thickness, side);
    else
        MeasureBarsDouble(metrics.get(), length, thickness, side);
    if (vertical)
        PlaceBarsVertical(strip, metrics.get(), bars);
    else
        PlaceBarsHorizontal(strip, metrics.get(), bars);
}

void TkLayoutNodeGripper::MeasureBarsDouble(TkGripperMetrics* m, int, int thickness, int side)
{
    BOOL vertical = side == kSideLeft || side == kSideRight;
    m->barWidth = kBarWidth;
    m->gap = kBarGap;
    m->startInset = vertical ? m_marginTop : m_marginLeft;
    m->endInset = vertical ? m_marginBottom : m_marginRight;
    m->leading = LeadingOffset(thickness, 2 * kBarWidth + kBarGap);
    m->trailing = std::max((thickness - 2 * kBarWidth - kBarGap) / 2, 0);
}

void TkLayoutNodeGripper::MeasureBarsSingle(TkGripperMetrics* m, int, int thickness, int side)
{
    BOOL vertical = side == kSideLeft || side == kSideRight;
    m->barWidth = kBarWidth;
    m->gap = 0;
    m->startInset = vertical ? m_marginTop : m_marginLeft;
    m->endInset = vertical ? m_marginBottom : m_marginRight;
    m->leading = kSingleBarOffset;
    m->trailing = thickness - kBarWidth - kSingleBarOffset;
}

void TkLayoutNodeGripper::PlaceBarsVertical(const CRect& strip, const TkGripperMetrics* m,
                                            TkGripperBars* bars)
{
    int left = strip.left + m->leading;
    bars->bars[0] = CRect(left, strip.top + m->startInset, left + m->barWidth,
                          strip.bottom - m->endInset);
    bars->bars[1] = bars->bars[0];
    bars->bars[1].OffsetRect(m->barWidth + m->gap, 0);
}

void TkLayoutNodeGripper::PlaceBarsHorizontal(const CRect& strip, const TkGripperMetrics* m,
                                              TkGripperBars* bars)
{
    int top = strip.top + m->leading;
    bars->bars[0] = CRect(strip.left + m->startInset, top, strip.right - m->endInset,
                          top + m->barWidth);
    bars->bars[1] = bars->bars[0];
    bars->bars[1].OffsetRect(0, m->barWidth + m->gap);
}

BEGIN_MESSAGE_MAP(TkLayoutNodeGripperEx, TkWndListener)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

TkLayoutNodeGripperEx::TkLayoutNodeGripperEx()
    : m_closeShown(FALSE), m_arrowShown(FALSE), m_closeEnabled(TRUE), m_arrowDirection(1),
      m_arrowEnabled(TRUE), m_closePressed(FALSE), m_arrowPressed(FALSE),
      m_closeTracking(FALSE), m_arrowTracking(FALSE)
{
}

void TkLayoutNodeGripperEx::SetNodeWnd(HWND window)
{
    TkLayoutNodeGripper::SetNodeWnd(window);
    UnPlug();
    if (window)
        PlugInTo(CWnd::FromHandle(window));
}

TkGripperMetrics* TkLayoutNodeGripperEx::NewMetrics()
{
    return new TkGripperButtonMetrics;
}

TkGripperBars* TkLayoutNodeGripperEx::NewBars()
{
    return new TkGripperButtons;
}

void TkLayoutNodeGripperEx::ShowButtons(BOOL close, BOOL arrow)
{
    m_closeShown = close;
    m_arrowShown = arrow;
}

void TkLayoutNodeGripperEx::EnableButtons(BOOL close, BOOL arrow)
{
    m_closeEnabled = close;
    m_arrowEnabled = arrow;
}

// Room for the buttons at the start end of the strip (the top of a side
// strip, the right end of a top or bottom one), before the bars.
void TkLayoutNodeGripperEx::MeasureBarsDouble(TkGripperMetrics* metrics, int length, int thickness,
                                              int side)
{
    TkLayoutNodeGripper::MeasureBarsDouble(metrics, length, thickness, side);
    TkGripperButtonMetrics* m = static_cast<TkGripperButtonMetrics*>(metrics);
    BOOL vertical = side == kSideLeft || side == kSideRight;
    int& inset = vertical ? m->startInset : m->endInset;
    m->oldInset = inset;
    m->buttonSize = kButtonSize;
    m->closeLength = m_closeShown ? kButtonSize : 0;
    m->closeGap = m_closeShown ? kCloseGap : 0;
    m->arrowLength = m_arrowShown ? kButtonSize : 0;
    m->arrowGap = m_arrowShown ? kArrowGap : 0;
    inset = m->oldInset + m->closeLength + m->closeGap + m->arrowLength + m->arrowGap;
    m->buttonOffset = LeadingOffset(thickness, kButtonSize);
}

void TkLayoutNodeGripperEx::PlaceButtons(const CRect& strip, const TkGripperButtonMetrics* m,
                                         TkGripperButtons* buttons)
{
    BOOL vertical = IsVertical();
    if (vertical)
    {
        int left = strip.left + m->buttonOffset;
        int top = strip.top + m->oldInset;
        buttons->close = CRect(left, top, left + m->buttonSize, top + m->closeLength);
        top += m->closeLength + m->closeGap;
        buttons->arrow = CRect(left, top, left + m->buttonSize, top + m->arrowLength);
    }
    else
    {
        int top = strip.top + m->buttonOffset;
        int right = strip.right - m->oldInset;
        buttons->close = CRect(right - m->closeLength, top, right, top + m->buttonSize);
        right -= m->closeLength + m->closeGap;
        buttons->arrow = CRect(right - m->arrowLength, top, right, top + m->buttonSize);
    }
    if (m_closeShown || m_arrowShown)
        for (CRect& bar : buttons->bars)
        {
            if (vertical)
                bar.top += 1;
            else
                bar.right -= 1;
        }
    if (m_arrowShown)
    {
        buttons->arrow.left -= 1;
        buttons->arrow.top -= 1;
    }
}

void TkLayoutNodeGripperEx::PlaceBarsVertical(const CRect& strip, const TkGripperMetrics* metrics,
                                              TkGripperBars* bars)
{
    TkLayoutNodeGripper::PlaceBarsVertical(strip, metrics, bars);
    if (m_singleBar)
        return;
    PlaceButtons(strip, static_cast<const TkGripperButtonMetrics*>(metrics),
                 static_cast<TkGripperButtons*>(bars));
}

void TkLayoutNodeGripperEx::PlaceBarsHorizontal(const CRect& strip,
                                                const TkGripperMetrics* metrics,
                                                TkGripperBars* bars)
{
    TkLayoutNodeGripper::PlaceBarsHorizontal(strip, metrics, bars);
    if (m_singleBar)
        return;
    PlaceButtons(strip, static_cast<const TkGripperButtonMetrics*>(metrics),
                 static_cast<TkGripperButtons*>(bars));
}

void TkLayoutNodeGripperEx::DrawBars(CDC* dc, const CRect& strip)
{
    TkLayoutNodeGripper::DrawBars(dc, strip);
    CRect close, arrow;
    if (m_closeShown && GetCloseRect(close) && close.IntersectRect(close, strip))
        ::DrawFrameControl(dc->m_hDC, close, DFC_CAPTION, DFCS_CAPTIONCLOSE | GetCloseState());
    if (!m_arrowShown || !GetArrowRect(arrow) || !arrow.IntersectRect(arrow, strip))
        return;
    ::DrawFrameControl(dc->m_hDC, arrow, DFC_SCROLL, GetArrowState(m_side));
    dc->SetPixel(arrow.right - 1, arrow.top, tkSysColors.m_clrBtnFace);
    dc->SetPixel(arrow.left, arrow.bottom - 1, tkSysColors.m_clrBtnFace);
    dc->SetPixel(arrow.right - 2, arrow.top + 1, tkSysColors.m_clrBtnHilite);
    dc->SetPixel(arrow.left + 1, arrow.bottom - 2, tkSysColors.m_clrBtnHilite);
}

void TkLayoutNodeGripperEx::OnCloseButton()
{
}

void TkLayoutNodeGripperEx::OnArrowButton()
{
}

UINT TkLayoutNodeGripperEx::GetArrowState(int side)
{
    UINT state;
    if (side == kSideLeft || side == kSideRight)
        state = m_arrowDirection > 0 ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT;
    else
        state = m_arrowDirection <= 0 ? DFCS_SCROLLDOWN : DFCS_SCROLLUP;
    if (!m_arrowEnabled)
        state |= DFCS_INACTIVE;
    if (m_arrowPressed)
        state |= DFCS_PUSHED;
    return state;
}

UINT TkLayoutNodeGripperEx::GetCloseState()
{
    return m_closePressed ? DFCS_PUSHED : 0;
}

BOOL TkLayoutNodeGripperEx::GetCloseRect(CRect& rect)
{
    if (!m_bars)
        return FALSE;
    rect = static_cast<TkGripperButtons*>(m_bars)->close;
    return TRUE;
}

BOOL TkLayoutNodeGripperEx::GetArrowRect(CRect& rect)
{
    if (!m_bars)
        return FALSE;
    rect = static_cast<TkGripperButtons*>(m_bars)->arrow;
    return TRUE;
}

BOOL TkLayoutNodeGripperEx::HitButton(const CRect& button, BOOL shown, BOOL enabled, CPoint point)
{
    return shown && enabled && button.PtInRect(point);
}

// Node coordinates are the window's client coordinates shifted by the
// container offset.
void TkLayoutNodeGripperEx::OnLButtonDown(UINT, CPoint point)
{
    CRect close, arrow;
    point += m_containerOffset;
    BOOL* pressed = NULL;
    CRect* button = NULL;
    if (GetCloseRect(close) && HitButton(close, m_closeShown, m_closeEnabled, point))
    {
        m_closeTracking = TRUE;
        pressed = &m_closePressed;
        button = &close;
    }
    else if (GetArrowRect(arrow) && HitButton(arrow, m_arrowShown, m_arrowEnabled, point))
    {
        m_arrowTracking = TRUE;
        pressed = &m_arrowPressed;
        button = &arrow;
    }
    if (!pressed)
    {
        Default();
        return;
    }
    *pressed = TRUE;
    InvalidateNodeRect(*button, TRUE);
    ::SetCapture(CWnd::m_hWnd);
    SetRoutingFlags(0xFF);
}

void TkLayoutNodeGripperEx::OnMouseMove(UINT, CPoint point)
{
    Default();
    point += m_containerOffset;
    CRect rect;
    if (m_closeTracking && GetCloseRect(rect) && m_closePressed != rect.PtInRect(point))
    {
        m_closePressed = !m_closePressed;
        InvalidateNodeRect(rect, TRUE);
    }
    if (m_arrowTracking && GetArrowRect(rect) && m_arrowPressed != rect.PtInRect(point))
    {
        m_arrowPressed = !m_arrowPressed;
        InvalidateNodeRect(rect, TRUE);
    }
}

void TkLayoutNodeGripperEx::OnLButtonUp(UINT, CPoint point)
{
    if (::GetCapture() == CWnd::m_hWnd)
        ::ReleaseCapture();
    point += m_containerOffset;
    CRect rect;
    if (m_closeTracking && GetCloseRect(rect))
    {
        m_closeTracking = m_closePressed = FALSE;
        InvalidateNodeRect(rect, TRUE);
        if (rect.PtInRect(point))
        {
            OnCloseButton();
            SetRoutingFlags(0xFF);
            return;
        }
    }
    else if (m_arrowTracking && GetArrowRect(rect))
    {
        m_arrowTracking = m_arrowPressed = FALSE;
        InvalidateNodeRect(rect, TRUE);
        if (rect.PtInRect(point))
        {
            OnArrowButton();
            SetRoutingFlags(0xFF);
            return;
        }
    }
    Default();
}

BOOL TkReparentableGripperEx::OnDockEvent(TkLayoutNode*, TkLayoutNode*, TkLayoutNode*, LPARAM,
                                          TkNodeMemoryManager* memoryList)
{
    if (GetWrappedNode())
    {
        EnableMargins(TRUE, FALSE);
        return TRUE;
    }
    if (TkLayoutNode* parent = GetParentNode())
        parent->RemoveChildNode(this);
    SetMemoryManager(memoryList, FALSE);
    return FALSE;
}
