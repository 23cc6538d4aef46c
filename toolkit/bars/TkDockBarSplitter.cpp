#include "toolkit/bars/TkDockBarSplitter.h"
#include "toolkit/colors/TkSysColors.h"

#include <algorithm>

namespace {

// A splitter drag leaves this much of every bar on either side.
const int kMinDragBarLength = 24;
// A row dragged from the client side keeps this much thickness, and the
// client area this much height or width.
const int kMinRowDrag = 19;
// The drag feedback is one pixel thinner than the splitter.
const int kFeedbackThickness = 5;
const int kFeedbackBorder = 3;

void FillLine(CDC* dc, int x, int y, int cx, int cy, COLORREF colour)
{
    dc->FillSolidRect(x, y, cx, cy, colour);
}

BOOL IsToolBarClass(const CControlBar* bar)
{
    for (CRuntimeClass* runtime = bar->GetRuntimeClass(); runtime != NULL;
         runtime = runtime->m_pBaseClass)
        if (strcmp(runtime->m_lpszClassName, "TkCustomToolBar") == 0)
            return TRUE;
    return FALSE;
}

// Follows the mouse with a splitter: only along the way it moves, its
// leading edge within the drag limits; shown as a bar one pixel thinner and
// one pixel shorter at each end.
class CSplitterTracker : public CRectTracker
{
public:
    explicit CSplitterTracker(const TkDockBar::Splitter& splitter)
        : CRectTracker(&splitter.m_rect, 0), m_splitter(splitter)
    {
    }
    void AdjustRect(int, LPRECT rect) override
    {
        const CRect& start = m_splitter.m_rect;
        BOOL alongX = m_splitter.MovesAlongX();
        int wanted = alongX ? rect->left : rect->top;
        int position = std::max(m_splitter.m_nLowLimit,
                                std::min(wanted, m_splitter.m_nHighLimit - TkDockBar::Splitter::kThickness));
        *rect = start;
        ::OffsetRect(rect, alongX ? position - start.left : 0, alongX ? 0 : position - start.top);
    }
    void DrawTrackerRect(LPCRECT rect, CWnd* clipWindow, CDC* dc, CWnd* window) override
    {
        CRect bar = *rect;
        if (m_splitter.MovesAlongX())
            bar.SetRect(bar.left, bar.top + 1, bar.left + kFeedbackThickness, bar.bottom - 1);
        else
            bar.SetRect(bar.left + 1, bar.top, bar.right - 1, bar.top + kFeedbackThickness);
        CSize border = m_bFinalErase ? CSize(0, 0) : CSize(kFeedbackBorder, kFeedbackBorder);
        DrawDragFrame(dc, RectOnCanvas(&bar, clipWindow, window), border);
    }

private:
    const TkDockBar::Splitter& m_splitter;
};

}  // namespace

HCURSOR TkDockBar::s_cursorX = NULL;
HCURSOR TkDockBar::s_cursorY = NULL;

TkDockBar::Splitter::Splitter(BOOL betweenBars, int orientation, const CRect& rect, int index)
    : m_nOrientation(orientation), m_bBetweenBars(betweenBars), m_rect(rect), m_nIndex(index),
      m_bUsed(TRUE), m_nLowLimit(0), m_nHighLimit(0)
{
}

int TkDockBar::Splitter::GetPosition() const
{
    return MovesAlongX() ? m_rect.left : m_rect.top;
}

// A raised handle: face, a highlight on the leading side, shadow and frame
// on the trailing side.
void TkDockBar::Splitter::Draw(CDC* dc)
{
    const CRect& r = m_rect;
    if (MovesAlongX()) {
        FillLine(dc, r.left + 1, r.top, r.Width() - 3, r.Height(), tkSysColors.m_clrBtnFace);
        FillLine(dc, r.left, r.top, 1, r.Height(), tkSysColors.m_clrBtnHilite);
        FillLine(dc, r.right - 2, r.top, 1, r.Height(), tkSysColors.m_clrBtnShadow);
        FillLine(dc, r.right - 1, r.top, 1, r.Height(), tkSysColors.m_clrWindowFrame);
    } else {
        FillLine(dc, r.left, r.top + 1, r.Width(), r.Height() - 3, tkSysColors.m_clrBtnFace);
        FillLine(dc, r.left, r.top, r.Width(), 1, tkSysColors.m_clrBtnHilite);
        FillLine(dc, r.left, r.bottom - 2, r.Width(), 1, tkSysColors.m_clrBtnShadow);
        FillLine(dc, r.left, r.bottom - 1, r.Width(), 1, tkSysColors.m_clrWindowFrame);
    }
}

void TkDockBar::ClientEdge::Draw(CDC* dc)
{
    const CRect& r = m_rect;
    if (m_nKind == kVertical) {
        FillLine(dc, r.left, r.top, 1, r.Height(), tkSysColors.m_clrBtnShadow);
        FillLine(dc, r.left + 1, r.top, 1, r.Height(), tkSysColors.m_clrBtnHilite);
    } else {
        FillLine(dc, r.left, r.top, r.Width(), 1, tkSysColors.m_clrBtnShadow);
        FillLine(dc, r.left, r.top + 1, r.Width(), 1, tkSysColors.m_clrBtnHilite);
    }
}

BEGIN_MESSAGE_MAP(TkDockBar, CDockBar)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

int TkDockBar::OnCreate(LPCREATESTRUCTA cs)
{
    if (CDockBar::OnCreate(cs) == -1)
        return -1;
    // Loaded once and kept for the life of the program.
    if (s_cursorX == NULL) {
        HINSTANCE instance = AfxGetResourceHandle();
        s_cursorX = ::LoadCursorA(instance, MAKEINTRESOURCEA(kSplitterCursorX));
        s_cursorY = ::LoadCursorA(instance, MAKEINTRESOURCEA(kSplitterCursorY));
    }
    return 0;
}

void TkDockBar::OnDestroy()
{
    DeleteSeparators();
    CDockBar::OnDestroy();
}

// The cursor over the dock bar itself is set by OnMouseMove.
BOOL TkDockBar::OnSetCursor(CWnd* window, UINT hitTest, UINT)
{
    if (window == this && hitTest == HTCLIENT)
        return TRUE;
    return (BOOL)Default();
}

void TkDockBar::OnMouseMove(UINT, CPoint point)
{
    Splitter* splitter = SplitterAt(point);
    HCURSOR cursor = splitter == NULL ? ::LoadCursorA(NULL, IDC_ARROW)
                     : splitter->MovesAlongX() ? s_cursorX
                                               : s_cursorY;
    ::SetCursor(cursor);
    Default();
}

void TkDockBar::OnLButtonDown(UINT flags, CPoint point)
{
    Splitter* splitter = SplitterAt(point);
    if (splitter != NULL)
        TrackSplitter(splitter, point);
    else
        CDockBar::OnLButtonDown(flags, point);
}

TkDockBar::Splitter* TkDockBar::GetSplitter(int index) const
{
    return static_cast<Splitter*>(m_splitters[index]);
}

TkDockBar::ClientEdge* TkDockBar::GetClientEdge(int index) const
{
    return static_cast<ClientEdge*>(m_clientEdges[index]);
}

TkDockBar::Splitter* TkDockBar::SplitterAt(CPoint point) const
{
    for (int i = (int)m_splitters.GetSize() - 1; i >= 0; i--)
        if (GetSplitter(i)->m_rect.PtInRect(point))
            return GetSplitter(i);
    return NULL;
}

void TkDockBar::AddSplitter(BOOL betweenBars, int orientation, const CRect& rect, int index)
{
    if (m_bLayoutQuery)
        return;
    for (int i = 0; i < m_splitters.GetSize(); i++) {
        Splitter* splitter = GetSplitter(i);
        if (splitter->m_rect == rect) {
            splitter->m_bBetweenBars = betweenBars;
            splitter->m_nOrientation = orientation;
            splitter->m_nIndex = index;
            splitter->m_bUsed = TRUE;
            return;
        }
    }
    m_splitters.Add(new Splitter(betweenBars, orientation, rect, index));
}

void TkDockBar::AddClientEdge(int kind, const CRect& rect)
{
    if (m_bLayoutQuery)
        return;
    for (int i = 0; i < m_clientEdges.GetSize(); i++) {
        ClientEdge* edge = GetClientEdge(i);
        if (edge->m_rect == rect) {
            edge->m_nKind = kind;
            edge->m_bUsed = TRUE;
            return;
        }
    }
    m_clientEdges.Add(new ClientEdge(kind, rect));
}

void TkDockBar::UnmarkSeparators()
{
    for (int i = 0; i < m_splitters.GetSize(); i++)
        GetSplitter(i)->m_bUsed = FALSE;
    for (int i = 0; i < m_clientEdges.GetSize(); i++)
        GetClientEdge(i)->m_bUsed = FALSE;
}

void TkDockBar::DeleteUnusedSeparators()
{
    for (int i = (int)m_splitters.GetSize() - 1; i >= 0; i--) {
        if (!GetSplitter(i)->m_bUsed) {
            delete GetSplitter(i);
            m_splitters.RemoveAt(i);
        }
    }
    for (int i = (int)m_clientEdges.GetSize() - 1; i >= 0; i--) {
        if (!GetClientEdge(i)->m_bUsed) {
            delete GetClientEdge(i);
            m_clientEdges.RemoveAt(i);
        }
    }
}

void TkDockBar::DeleteSeparators()
{
    UnmarkSeparators();
    DeleteUnusedSeparators();
}

int TkDockBar::CountVisible(int from, int to) const
{
    int count = 0;
    for (int i = std::max(0, from); i < to && i < m_arrBars.GetSize(); i++) {
        CControlBar* bar = GetDockedControlBar(i);
        count += bar != NULL && bar->m_hWnd != NULL && bar->IsVisible();
    }
    return count;
}

// Limits of the splitter's leading edge and of its trailing edge (the high
// limit). Between bars every bar keeps 24 pixels; between a row and the
// client area both keep 19 on every side, but a row may always keep the
// thickness it has.
void TkDockBar::PrepareSplitterTrack(Splitter* splitter)
{
    CRect client;
    GetClientRect(&client);
    if (splitter->m_bBetweenBars) {
        int start = RowStart(splitter->m_nIndex);
        int before = CountVisible(start, splitter->m_nIndex + 1);
        int after = CountVisible(splitter->m_nIndex + 1, RowEnd(splitter->m_nIndex));
        BOOL alongX = splitter->MovesAlongX();
        splitter->m_nLowLimit = (alongX ? client.left : client.top) + kMinDragBarLength * before;
        splitter->m_nHighLimit = (alongX ? client.right : client.bottom) - kMinDragBarLength * after;
        return;
    }
    CRect free;
    CFrameWnd* frame = GetDockingFrame();
    if (frame != NULL) {
        frame->RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &free);
        frame->ClientToScreen(&free);
        ScreenToClient(&free);
    }
    int thickness = GetRowThickness(splitter->m_nIndex);
    const CRect& r = splitter->m_rect;
    int& low = splitter->m_nLowLimit;
    int& high = splitter->m_nHighLimit;
    if (m_dwStyle & CBRS_ALIGN_TOP) {
        low = r.top - thickness + kMinRowDrag;
        high = std::max<int>(free.bottom - kMinRowDrag, r.bottom);
    } else if (m_dwStyle & CBRS_ALIGN_BOTTOM) {
        low = std::min<int>(free.top + kMinRowDrag, r.top);
        high = r.bottom + thickness - kMinRowDrag;
    } else if (m_dwStyle & CBRS_ALIGN_LEFT) {
        low = r.left - thickness + kMinRowDrag;
        high = std::max<int>(free.right - kMinRowDrag, r.right);
    } else {
        low = std::min<int>(free.left + kMinRowDrag, r.left);
        high = r.right + thickness - kMinRowDrag;
    }
}

void TkDockBar::TrackSplitter(Splitter* splitter, CPoint point)
{
    PrepareSplitterTrack(splitter);
    int offset = DragSplitter(splitter, point);
    if (offset != 0)
        ApplySplitterOffset(splitter, offset);
    CFrameWnd* frame = GetDockingFrame();
    if (frame != NULL)
        frame->DelayRecalcLayout();
}

// Follows the mouse until the left button comes up; Escape, the right button
// or a lost capture cancel. Returns how far the leading edge moved.
int TkDockBar::DragSplitter(Splitter* splitter, CPoint point)
{
    CSplitterTracker tracker(*splitter);
    if (!tracker.Track(this, point, FALSE, GetDockingFrame()))
        return 0;
    return splitter->MovesAlongX() ? tracker.m_rect.left - splitter->m_rect.left
                                   : tracker.m_rect.top - splitter->m_rect.top;
}

void TkDockBar::QueueRowToolBars(CControlBar* bar)
{
    int index = FindBar(bar);
    if (index <= 0)
        return;
    for (int i = RowStart(index); i < m_arrBars.GetSize() && m_arrBars[i] != NULL; i++) {
        CControlBar* other = GetDockedControlBar(i);
        if (other != NULL && IsToolBarClass(other))
            Queue(other);
    }
}

// Between bars the bars next to the splitter take the offset; what a bar
// cannot give (it stops at 18 pixels) comes from the bars further on. Between
// a row and the client area the row's thickness changes.
void TkDockBar::ApplySplitterOffset(Splitter* splitter, int offset)
{
    m_bDeferredRedraw = TRUE;
    if (CControlBar* first = GetDockedControlBar(RowStart(splitter->m_nIndex)))
        QueueRowToolBars(first);
    if (!splitter->m_bBetweenBars) {
        BOOL nearSide = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) != 0;
        ShrinkRowThickness(splitter->m_nIndex, nearSide ? -offset : offset);
        return;
    }
    CPtrArray bars;
    VisibleRowBars(RowStart(splitter->m_nIndex), bars);
    CRect window;
    GetWindowRect(&window);
    BOOL horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int rowLength = (horizontal ? window.Width() : window.Height()) -
                    Splitter::kThickness * ((int)bars.GetSize() - 1);
    int split = 0;
    while (split < bars.GetSize() && bars[split] != GetDockedControlBar(splitter->m_nIndex))
        split++;
    if (split + 1 >= bars.GetSize())
        return;
    // The bar on the far side of the movement grows; the bars on the near
    // side shrink, nearest first.
    int grow = offset > 0 ? split : split + 1;
    int step = offset > 0 ? 1 : -1;
    CControlBar* grown = static_cast<CControlBar*>(bars[grow]);
    int wanted = std::abs(offset);
    int taken = 0;
    for (int i = offset > 0 ? split + 1 : split; i >= 0 && i < bars.GetSize() && taken < wanted;
         i += step) {
        CControlBar* bar = static_cast<CControlBar*>(bars[i]);
        int asked = wanted - taken;
        taken += asked + ResizeBarBy(bar, -asked, rowLength);
        Queue(bar);
    }
    ResizeBarBy(grown, taken, rowLength);
    Queue(grown);
    m_pFixedBar = grown;
}

int TkDockBar::ResizeBarBy(CControlBar* bar, int delta, int rowLength)
{
    CRect rect;
    bar->GetWindowRect(&rect);
    BOOL horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int length = horizontal ? rect.Width() : rect.Height();
    int wanted = std::max(kMinBarLength, length + delta);
    if (bar->IsKindOf(RUNTIME_CLASS(TkControlBar))) {
        TkControlBar* tkBar = static_cast<TkControlBar*>(bar);
        float share = rowLength > 0 ? (float)wanted / (float)rowLength : 1.0f;
        if (share < m_fMinProportion) {
            share = m_fMinProportion;
            wanted = (int)(share * rowLength);
        }
        tkBar->m_fProportion = share;
    }
    DWORD mode = LayoutMode(bar) & ~LM_LENGTHY;
    bar->CalcDynamicLayout(wanted, mode | LM_COMMIT | (horizontal ? 0 : LM_LENGTHY));
    return delta - (wanted - length);
}

DWORD TkDockBar::ThicknessMode(const CControlBar* bar, BOOL& thicknessIsCY) const
{
    if ((bar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (bar->m_dwStyle & CBRS_FLOATING)) {
        thicknessIsCY = TRUE;
        return LM_MRUWIDTH | LM_HORZ | LM_LENGTHY;
    }
    if (bar->m_dwStyle & CBRS_ORIENT_HORZ) {
        thicknessIsCY = TRUE;
        return LM_HORZDOCK | LM_HORZ | LM_LENGTHY;
    }
    thicknessIsCY = FALSE;
    return LM_VERTDOCK;
}

int TkDockBar::GetRowThickness(int index) const
{
    int thickness = 0;
    for (int i = std::max(1, index); i < m_arrBars.GetSize() && m_arrBars[i] != NULL; i++) {
        CControlBar* bar = GetDockedControlBar(i);
        if (bar == NULL || bar->m_hWnd == NULL || !bar->IsVisible())
            continue;
        BOOL cy = FALSE;
        CSize size = bar->CalcDynamicLayout(-1, ThicknessMode(bar, cy));
        thickness = std::max<int>(thickness, cy ? size.cy : size.cx);
    }
    return thickness;
}

void TkDockBar::ShrinkRowThickness(int index, int amount)
{
    for (int i = std::max(1, index); i < m_arrBars.GetSize() && m_arrBars[i] != NULL; i++) {
        CControlBar* bar = GetDockedControlBar(i);
        if (bar == NULL || bar->m_hWnd == NULL || !bar->IsVisible())
            continue;
        BOOL cy = FALSE;
        DWORD mode = ThicknessMode(bar, cy);
        CSize size = bar->CalcDynamicLayout(-1, mode);
        int thickness = std::max(0, (int)(cy ? size.cy : size.cx) - amount);
        bar->CalcDynamicLayout(thickness, mode | LM_COMMIT);
        Queue(bar);
    }
}
