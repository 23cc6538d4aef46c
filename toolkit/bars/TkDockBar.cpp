#include "toolkit/bars/TkDockBar.h"
#include "toolkit/bars/TkDockBarSplitter.h"
#include "toolkit/bars/TkDockState.h"

#include <algorithm>

namespace {

const int kSplitter = TkDockBar::Splitter::kThickness;
const int kClientEdge = TkDockBar::ClientEdge::kThickness;
const int kMinBarLength = TkDockBar::kMinBarLength;
const float kDefaultMinProportion = 0.05f;
// A bar with a larger share than this cannot keep it against its neighbours.
const float kMaxFixedProportion = 0.95f;
const int kBorderOverlap = 2;

}  // namespace

IMPLEMENT_DYNCREATE(TkDockBar, CDockBar)

TkDockBar::TkDockBar(BOOL floating, BOOL mdiChild)
    : CDockBar(floating), m_bMDIChild(mdiChild), m_pFixedBar(NULL), m_bRedrawNow(FALSE),
      m_bDeferredRedraw(FALSE), m_fMinProportion(kDefaultMinProportion)
{
}

TkDockBar::~TkDockBar()
{
    DeleteSeparators();
}

BOOL TkDockBar::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_SYSKEYDOWN) {
        CFrameWnd* frame = GetDockingFrame();
        if (frame != NULL)
            frame->PostMessage(WM_SYSCOMMAND, SC_KEYMENU, msg->wParam);
    }
    return CDockBar::PreTranslateMessage(msg);
}

int TkDockBar::RowStart(int index) const
{
    while (index > 0 && m_arrBars[index - 1] != NULL)
        index--;
    return index;
}

int TkDockBar::RowEnd(int index) const
{
    while (index < m_arrBars.GetSize() && m_arrBars[index] != NULL)
        index++;
    return index;
}

void TkDockBar::VisibleRowBars(int rowStart, CPtrArray& bars) const
{
    bars.RemoveAll();
    for (int i = rowStart; i < m_arrBars.GetSize() && m_arrBars[i] != NULL; i++) {
        CControlBar* bar = GetDockedControlBar(i);
        if (bar != NULL && bar->m_hWnd != NULL && bar->IsVisible())
            bars.Add(bar);
    }
}

int TkDockBar::GetVisibleBarCount() const
{
    return GetDockedVisibleCount();
}

BOOL TkDockBar::IsResizable(const CControlBar* bar) const
{
    const TkControlBar* tkBar = bar->IsKindOf(RUNTIME_CLASS(TkControlBar))
                                    ? static_cast<const TkControlBar*>(bar)
                                    : NULL;
    return tkBar != NULL && !(tkBar->m_dwExStyle & TKCBRS_FIXEDSIZE);
}

// Expanded: the only bar of its row above the minimum share.
BOOL TkDockBar::IsBarExpanded(CControlBar* bar) const
{
    int index = FindBar(bar);
    if (index <= 0)
        return FALSE;
    CPtrArray bars;
    VisibleRowBars(RowStart(index), bars);
    int large = 0;
    BOOL barIsLarge = FALSE;
    for (int i = 0; i < bars.GetSize(); i++) {
        TkControlBar* tkBar = TkControlBar::FromBar(static_cast<CControlBar*>(bars[i]));
        if (tkBar != NULL && tkBar->m_fProportion > m_fMinProportion + 1e-4f) {
            large++;
            barIsLarge |= tkBar == bar;
        }
    }
    return large < 2 && barIsLarge;
}

BOOL TkDockBar::IsOnlyBarInRow(CControlBar* bar) const
{
    int index = bar != NULL ? FindBar(bar) : -1;
    if (index <= 0)
        return FALSE;
    CPtrArray bars;
    VisibleRowBars(RowStart(index), bars);
    for (int i = 0; i < bars.GetSize(); i++)
        if (bars[i] != bar)
            return FALSE;
    return TRUE;
}

void TkDockBar::GetRowBars(CPtrArray& bars, CControlBar* bar) const
{
    bars.RemoveAll();
    int index = FindBar(bar);
    if (index <= 0)
        return;
    for (int i = index - 1; i > 0 && m_arrBars[i] != NULL; i--)
        if (CControlBar* other = GetDockedControlBar(i))
            bars.Add(other);
    bars.Add(bar);
    for (int i = index + 1; i < m_arrBars.GetSize() && m_arrBars[i] != NULL; i++)
        if (CControlBar* other = GetDockedControlBar(i))
            bars.Add(other);
}

void TkDockBar::ExpandBar(CControlBar* bar, int mode)
{
    int index = FindBar(bar);
    if (index <= 0)
        return;
    int start = RowStart(index);
    for (int i = start; i < m_arrBars.GetSize() && m_arrBars[i] != NULL; i++) {
        TkControlBar* tkBar = TkControlBar::FromBar(GetDockedControlBar(i));
        if (tkBar != NULL)
            tkBar->m_fProportion = mode == kExpand ? (tkBar == bar ? 1.0f : 0.0f) : 0.1f;
    }
    // Contracting gives every bar the same share: no bar keeps its own.
    NormalizeRow(start, mode == kExpand ? bar : NULL, NULL, NULL);
    QueueBarsFrom(start);
    CFrameWnd* frame = GetDockingFrame();
    if (frame != NULL)
        frame->DelayRecalcLayout();
}

void TkDockBar::OnBarRemoved(CControlBar* bar)
{
    int index = FindBar(bar);
    if (index > 0 && IsOnlyBarInRow(bar))
        QueueBarsFrom(index);
    Queue(bar);
    m_pFixedBar = bar;
}

void TkDockBar::RedrawNow()
{
    m_bRedrawNow = TRUE;
    if (m_redrawList.GetSize() > 0)
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
    m_bRedrawNow = FALSE;
}

void TkDockBar::DoPaint(CDC* dc)
{
    for (int i = 0; i < m_clientEdges.GetSize(); i++)
        GetClientEdge(i)->Draw(dc);
    for (int i = 0; i < m_splitters.GetSize(); i++)
        GetSplitter(i)->Draw(dc);
    if (m_bRedrawNow) {
        for (int i = 0; i < m_redrawList.GetSize(); i++) {
            CControlBar* bar = static_cast<CControlBar*>(m_redrawList[i]);
            if (bar->m_hWnd != NULL)
                bar->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
        }
        m_redrawList.RemoveAll();
        m_bDeferredRedraw = FALSE;
    }
    CDockBar::DoPaint(dc);
}

void TkDockBar::UpdateMinProportion()
{
    CRect client;
    GetClientRect(&client);
    BOOL horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int length = horizontal ? client.Width() : client.Height();
    m_fMinProportion = length <= 0 ? kDefaultMinProportion
                                   : std::min(1.0f, (float)kMinBarLength / (float)length);
}

float TkDockBar::AddToProportion(float delta, TkControlBar* bar)
{
    bar->m_fProportion += delta;
    if (bar->m_fProportion >= m_fMinProportion)
        return 0.0f;
    float shortfall = bar->m_fProportion - m_fMinProportion;
    bar->m_fProportion = m_fMinProportion;
    return shortfall;
}

// The shares of a row's visible toolkit bars are made to add up to 1. A
// fixed bar (the one just docked, resized or expanded) keeps its share and
// the others split what is left in their old ratio.
void TkDockBar::NormalizeRow(int rowStart, CControlBar* fixedBar, int* resizable, int* fixedSize)
{
    UpdateMinProportion();
    CPtrArray bars;
    VisibleRowBars(rowStart, bars);
    std::vector<TkControlBar*> shared;
    int resizableCount = 0;
    for (int i = 0; i < bars.GetSize(); i++) {
        CControlBar* bar = static_cast<CControlBar*>(bars[i]);
        resizableCount += IsResizable(bar);
        if (TkControlBar* tkBar = TkControlBar::FromBar(bar)) {
            if (!(tkBar->m_fProportion >= 0.0f))
                tkBar->m_fProportion = 0.0f;
            shared.push_back(tkBar);
        }
    }
    if (resizable != NULL)
        *resizable = resizableCount;
    if (fixedSize != NULL)
        *fixedSize = (int)bars.GetSize() - resizableCount;
    TkControlBar* fixed = TkControlBar::FromBar(fixedBar);
    if (fixed != NULL && (std::find(shared.begin(), shared.end(), fixed) == shared.end() ||
                          fixed->m_fProportion >= kMaxFixedProportion))
        fixed = NULL;
    if (shared.empty())
        return;
    if (fixed != NULL) {
        fixed->m_fProportion =
            std::min(kMaxFixedProportion, std::max(m_fMinProportion, fixed->m_fProportion));
        float others = 0.0f;
        for (TkControlBar* bar : shared)
            others += bar == fixed ? 0.0f : bar->m_fProportion;
        float remainder = 1.0f - fixed->m_fProportion;
        int otherCount = (int)shared.size() - 1;
        if (otherCount == 0)
            fixed->m_fProportion = 1.0f;
        for (TkControlBar* bar : shared) {
            if (bar != fixed)
                bar->m_fProportion = others > 0.0f ? bar->m_fProportion * remainder / others
                                                   : remainder / otherCount;
        }
    } else {
        float sum = 0.0f;
        for (TkControlBar* bar : shared)
            sum += bar->m_fProportion;
        for (TkControlBar* bar : shared)
            bar->m_fProportion = sum > 0.0f ? bar->m_fProportion / sum : 1.0f / shared.size();
    }
    for (TkControlBar* bar : shared)
        bar->m_fProportion = std::max(bar->m_fProportion, m_fMinProportion);
}

DWORD TkDockBar::LayoutMode(const CControlBar* bar) const
{
    if ((bar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (bar->m_dwStyle & CBRS_FLOATING))
        return LM_MRUWIDTH | LM_HORZ;
    if (bar->m_dwStyle & CBRS_ORIENT_HORZ)
        return LM_HORZDOCK | LM_HORZ;
    return LM_VERTDOCK | LM_LENGTHY;
}

void TkDockBar::MoveBar(HDWP& deferred, CControlBar* bar, const CRect& rect)
{
    if (m_bLayoutQuery)
        return;
    if (!MoveWindowTo(deferred, bar, rect, TkControlBar::GetRedrawOnLayout() ? SWP_NOREDRAW : 0))
        return;
    Queue(bar);
    if (!m_bFloating && bar->m_pDockContext != NULL) {
        bar->m_pDockContext->m_uMRUDockID = GetDlgCtrlID();
        bar->m_pDockContext->m_rectMRUDockPos = rect;
    }
}

BOOL TkDockBar::MoveWindowTo(HDWP& deferred, CWnd* window, const CRect& rect, UINT flags)
{
    CRect current = ClientRectOf(window);
    if (current == rect)
        return FALSE;
    flags |= SWP_NOZORDER | SWP_NOACTIVATE;
    if (current.Size() == rect.Size())
        flags |= SWP_NOSIZE;
    if (deferred != NULL)
        deferred = ::DeferWindowPos(deferred, window->m_hWnd, NULL, rect.left, rect.top, rect.Width(),
                                    rect.Height(), flags);
    return TRUE;
}

LRESULT TkDockBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    CRect savedRect = m_rectLayout;
    BOOL savedQuery = m_bLayoutQuery;
    int savedRedraw = TkControlBar::GetRedrawOnLayout();
    m_rectLayout = layout->rect;
    m_bLayoutQuery = layout->hDWP == NULL;
    if (savedRedraw)
        TkControlBar::SetRedrawOnLayout(m_bDeferredRedraw);
    CRect rect;
    if (TakeLayoutPlace(layout, rect) && layout->hDWP != NULL)
        layout->hDWP = ::DeferWindowPos(layout->hDWP, m_hWnd, NULL, rect.left, rect.top,
                                        rect.Width(), rect.Height(), SelfMoveFlags(rect));
    m_rectLayout = savedRect;
    m_bLayoutQuery = savedQuery;
    TkControlBar::SetRedrawOnLayout(savedRedraw);
    return 0;
}

// An unchanged size keeps no old pixels; a change across the side alone is
// left to the deferred redraw.
UINT TkDockBar::SelfMoveFlags(const CRect& rect) const
{
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!TkControlBar::GetRedrawOnLayout())
        return flags;
    CRect current;
    GetWindowRect(&current);
    GetParent()->ScreenToClient(&current);
    if (current.Size() == rect.Size())
        return flags | SWP_NOCOPYBITS;
    BOOL horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    BOOL lengthChanged = horizontal ? current.Width() != rect.Width()
                                    : current.Height() != rect.Height();
    return lengthChanged ? flags : flags | SWP_NOREDRAW;
}

// Lays out one row from across onwards; returns the row's thickness.
int TkDockBar::LayoutRow(HDWP& deferred, int rowStart, int across, int rowLength)
{
    int resizable = 0;
    int fixedSize = 0;
    NormalizeRow(rowStart, m_pFixedBar, &resizable, &fixedSize);
    CPtrArray bars;
    VisibleRowBars(rowStart, bars);
    int count = resizable + fixedSize;
    if (count == 0)
        return 0;
    BOOL horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int thickness = 0;
    if (resizable == 0) {
        // A row of fixed-size bars: each takes its own length.
        int along = -kBorderOverlap;
        for (int i = 0; i < bars.GetSize(); i++) {
            CControlBar* bar = static_cast<CControlBar*>(bars[i]);
            if (TkControlBar* tkBar = TkControlBar::FromBar(bar))
                tkBar->m_dwExStyle |= TKCBRS_FIXEDROW;
            CSize size = bar->CalcDynamicLayout(-1, LayoutMode(bar) & ~LM_LENGTHY);
            int length = horizontal ? size.cx : size.cy;
            if (along + length > rowLength && along > -kBorderOverlap)
                along = std::max(-kBorderOverlap, rowLength - length);
            CRect rect = horizontal ? CRect(along, across - kBorderOverlap, along + length,
                                            across - kBorderOverlap + size.cy)
                                    : CRect(across - kBorderOverlap, along,
                                            across - kBorderOverlap + size.cx, along + length);
            MoveBar(deferred, bar, rect);
            along += length - kBorderOverlap;
            thickness = std::max<int>(thickness, (horizontal ? size.cy : size.cx) - kBorderOverlap);
        }
        return thickness;
    }
    // Resizable bars share the row's length by their proportions.
    int available = std::max(0, rowLength - kSplitter * (count - 1));
    std::vector<int> lengths;
    for (int i = 0; i < bars.GetSize(); i++) {
        CControlBar* bar = static_cast<CControlBar*>(bars[i]);
        if (TkControlBar* tkBar = TkControlBar::FromBar(bar))
            tkBar->m_dwExStyle &= ~TKCBRS_FIXEDROW;
        DWORD mode = LayoutMode(bar) & ~LM_LENGTHY;
        DWORD alongFlag = horizontal ? 0 : LM_LENGTHY;
        CSize size = IsResizable(bar)
                         ? bar->CalcDynamicLayout(available, mode | LM_COMMIT | LM_STRETCH | alongFlag)
                         : bar->CalcDynamicLayout(-1, mode);
        lengths.push_back(std::max(kMinBarLength, (int)(horizontal ? size.cx : size.cy)));
        thickness = std::max<int>(thickness, horizontal ? size.cy : size.cx);
    }
    int leading = AddRowSeparator(TRUE, rowStart, across, rowLength);
    across += leading;
    int along = 0;
    for (int i = 0; i < bars.GetSize(); i++) {
        CControlBar* bar = static_cast<CControlBar*>(bars[i]);
        DWORD mode = LayoutMode(bar) & ~LM_LENGTHY;
        DWORD acrossFlag = horizontal ? LM_LENGTHY : 0;
        if (IsResizable(bar))
            bar->CalcDynamicLayout(thickness, mode | LM_COMMIT | acrossFlag);
        int length = lengths[i];
        // The last resizable bar takes what is left of the row.
        if (i + 1 == bars.GetSize() && IsResizable(bar)) {
            length = std::max(kMinBarLength, rowLength - along);
            bar->CalcDynamicLayout(length, mode | LM_COMMIT | (horizontal ? 0 : LM_LENGTHY));
        }
        CRect rect = horizontal ? CRect(along, across, along + length, across + thickness)
                                : CRect(across, along, across + thickness, along + length);
        MoveBar(deferred, bar, rect);
        along += length + kSplitter;
        if (i + 1 < bars.GetSize()) {
            CRect gap = horizontal ? CRect(rect.right, rect.top, rect.right + kSplitter, rect.bottom)
                                   : CRect(rect.left, rect.bottom, rect.right, rect.bottom + kSplitter);
            AddSplitter(TRUE, horizontal ? Splitter::kVerticalLine : Splitter::kHorizontalLine, gap,
                        FindBar(bar));
        }
    }
    int trailing = AddRowSeparator(FALSE, rowStart, across + thickness, rowLength);
    return leading + thickness + trailing;
}

// The splitter of a row faces the frame's client area; the other side gets a
// client edge. Returns the separator's thickness.
int TkDockBar::AddRowSeparator(BOOL leading, int rowStart, int across, int rowLength)
{
    BOOL horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    BOOL nearSide = (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_LEFT)) != 0;
    BOOL splitter = leading != nearSide;
    int size = splitter ? kSplitter : kClientEdge;
    CRect rect = horizontal ? CRect(0, across, rowLength, across + size)
                            : CRect(across, 0, across + size, rowLength);
    if (splitter)
        AddSplitter(FALSE, horizontal ? Splitter::kHorizontalLine : Splitter::kVerticalLine, rect,
                    rowStart);
    else
        AddClientEdge(horizontal ? ClientEdge::kHorizontal : ClientEdge::kVertical, rect);
    return size;
}

CSize TkDockBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    if (m_bFloating)
        return CDockBar::CalcFixedLayout(stretch, horizontal);
    CSize size = CControlBar::CalcFixedLayout(stretch, horizontal);
    CRect available = GetAvailableRect();
    int rowLength = horizontal ? available.Width() : available.Height();
    HDWP deferred = m_bLayoutQuery ? NULL : ::BeginDeferWindowPos((int)m_arrBars.GetSize());
    if (!m_bLayoutQuery)
        UnmarkSeparators();
    int across = 0;
    for (int start = 1; start < m_arrBars.GetSize(); start = RowEnd(start) + 1)
        across += LayoutRow(deferred, start, across, rowLength);
    if (deferred != NULL)
        ::EndDeferWindowPos(deferred);
    if (!m_bLayoutQuery)
        DeleteUnusedSeparators();
    m_pFixedBar = NULL;
    if (horizontal)
        size.cy = across;
    else
        size.cx = across;
    return size;
}

void TkDockBar::Queue(CControlBar* bar)
{
    for (int i = 0; i < m_redrawList.GetSize(); i++)
        if (m_redrawList[i] == bar)
            return;
    m_redrawList.Add(bar);
}

void TkDockBar::Unqueue(CControlBar* bar)
{
    for (int i = (int)m_redrawList.GetSize() - 1; i >= 0; i--)
        if (m_redrawList[i] == bar)
            m_redrawList.RemoveAt(i);
}

// Bars on the far side of a change move: after it, or before it in a right
// or bottom dock bar.
void TkDockBar::QueueBarsFrom(int index)
{
    BOOL fromEnd = (m_dwStyle & (CBRS_ALIGN_RIGHT | CBRS_ALIGN_BOTTOM)) != 0;
    int first = fromEnd ? 0 : index;
    int last = fromEnd ? index : (int)m_arrBars.GetSize();
    for (int i = std::max(0, first); i < last && i < m_arrBars.GetSize(); i++)
        if (CControlBar* bar = GetDockedControlBar(i))
            Queue(bar);
}

CControlBar* TkDockBar::GetFirstBar() const
{
    for (int i = 1; i < m_arrBars.GetSize(); i++)
        if (CControlBar* bar = GetDockedControlBar(i))
            return bar;
    return NULL;
}

BOOL TkDockBar::RemoveControlBar(CControlBar* bar, int excludeIndex, BOOL addPlaceholder)
{
    return RemoveControlBarEx(bar, excludeIndex, addPlaceholder);
}

BOOL TkDockBar::RemoveControlBarEx(CControlBar* bar, int indexHint, BOOL addPlaceholder)
{
    int index = FindBar(bar, indexHint);
    if (index > 0 && IsOnlyBarInRow(bar)) {
        QueueBarsFrom(index);
        m_bDeferredRedraw = TRUE;
    }
    Unqueue(bar);
    if (m_pFixedBar == bar)
        m_pFixedBar = NULL;
    return CDockBar::RemoveControlBar(bar, indexHint, addPlaceholder);
}

void TkDockBar::OnBarDestroyed(CControlBar* bar)
{
    Unqueue(bar);
    if (m_pFixedBar == bar)
        m_pFixedBar = NULL;
    int index = FindBar(bar);
    if (index <= 0)
        return;
    m_arrBars.RemoveAt(index);
    if (index < m_arrBars.GetSize() && m_arrBars[index - 1] == NULL && m_arrBars[index] == NULL)
        m_arrBars.RemoveAt(index);
}

int TkDockBar::InsertBarAtIndex(int index, CControlBar* bar)
{
    index = std::max(1, std::min(index, (int)m_arrBars.GetSize()));
    BOOL ownRow = TkControlBar::FromBar(bar) != NULL && (TkControlBar::FromBar(bar)->m_dwExStyle & TKCBRS_OWNROW);
    auto needsOwnRow = [&](int at) {
        CControlBar* other = at > 0 && at < m_arrBars.GetSize() ? GetDockedControlBar(at) : NULL;
        TkControlBar* tkOther = TkControlBar::FromBar(other);
        return other != NULL && (ownRow || (tkOther != NULL && (tkOther->m_dwExStyle & TKCBRS_OWNROW)));
    };
    if (needsOwnRow(index - 1)) {
        m_arrBars.InsertAt(index, (void*)NULL);
        index++;
    }
    m_arrBars.InsertAt(index, bar);
    if (needsOwnRow(index + 1))
        m_arrBars.InsertAt(index + 1, (void*)NULL);
    if (index + 1 >= m_arrBars.GetSize())
        m_arrBars.Add(NULL);
    return index;
}

int TkDockBar::InsertBarAsFirstRow(CControlBar* bar)
{
    if (bar == NULL)
        return -1;
    int index = 1;
    while (index < m_arrBars.GetSize() && m_arrBars[index] == NULL)
        index++;
    index = std::min(index, (int)m_arrBars.GetSize());
    m_arrBars.InsertAt(index, bar);
    if (index + 1 < m_arrBars.GetSize() && m_arrBars[index + 1] != NULL)
        m_arrBars.InsertAt(index + 1, (void*)NULL);
    if (index + 1 >= m_arrBars.GetSize())
        m_arrBars.Add(NULL);
    return index;
}

// Rows count by row ends from the start (or from the end with kRowFromEnd);
// a row that does not exist becomes a new row at that end.
int TkDockBar::InsertBarAtPosition(CControlBar* bar, Position position)
{
    int index = 0;
    if (m_arrBars.GetSize() <= 1) {
        m_arrBars.SetSize(1);
        m_arrBars.Add(bar);
        m_arrBars.Add(NULL);
        index = 1;
    } else if (!(position.flags & kRowFromEnd) && position.row < 0) {
        m_arrBars.InsertAt(1, bar);
        for (int i = 0; i < -position.row - 1; i++)
            m_arrBars.InsertAt(2, (void*)NULL);
        index = 1;
    } else if ((position.flags & kRowFromEnd) && position.row > 0) {
        if (m_arrBars[m_arrBars.GetSize() - 1] != NULL)
            m_arrBars.Add(NULL);
        for (int i = 0; i < position.row - 1; i++)
            m_arrBars.Add(NULL);
        index = (int)m_arrBars.Add(bar);
        m_arrBars.Add(NULL);
    } else {
        std::vector<int> starts;
        for (int start = 1; start < m_arrBars.GetSize(); start = RowEnd(start) + 1)
            if (m_arrBars[start] != NULL)
                starts.push_back(start);
        int row = (position.flags & kRowFromEnd) ? (int)starts.size() + position.row : position.row;
        if (row < 0 || row >= (int)starts.size()) {
            Position newRow = {row < 0 ? -2 : 1, 0, row < 0 ? 0 : kRowFromEnd};
            return InsertBarAtPosition(bar, newRow);
        }
        int start = starts[row];
        int end = RowEnd(start);
        if ((position.flags & kNewRow) || (position.column <= 0 && !(position.flags & kColumnFromEnd))) {
            index = InsertBarAtIndex(start, bar);
            if ((position.flags & kNewRow) && m_arrBars[index + 1] != NULL)
                m_arrBars.InsertAt(index + 1, (void*)NULL);
        } else if ((position.flags & kColumnFromEnd) && position.column > 0) {
            index = InsertBarAtIndex(end, bar);
        } else {
            // |column| visible bars are skipped: forwards, or backwards from the end.
            int skip = std::abs(position.column);
            int at = start;
            if (position.flags & kColumnFromEnd) {
                for (at = end; at > start && skip > 0;) {
                    CControlBar* other = GetDockedControlBar(--at);
                    skip -= other != NULL && other->IsVisible();
                }
            } else {
                for (; at < end && skip > 0; at++) {
                    CControlBar* other = GetDockedControlBar(at);
                    skip -= other != NULL && other->IsVisible();
                }
            }
            index = InsertBarAtIndex(at, bar);
        }
    }
    Queue(bar);
    if (index + 1 < m_arrBars.GetSize())
        if (CControlBar* next = GetDockedControlBar(index + 1))
            Queue(next);
    return index;
}

int TkDockBar::InsertBarAtRowColumn(CControlBar* bar, int column, int row)
{
    return InsertBarAtPosition(bar, {row, column, 0});
}

void TkDockBar::DockControlBarAtRowColumn(CControlBar* bar, int column, int row)
{
    DockControlBarAt(bar, {row, column, 0});
}

void TkDockBar::DockControlBarAt(CControlBar* bar, Position position)
{
    BOOL show = AdoptBar(bar);
    int old = bar->m_pDockBar == this ? FindBar(bar) : -1;
    if (old > 0) {
        m_arrBars.RemoveAt(old);
        if (old < m_arrBars.GetSize() && m_arrBars[old - 1] == NULL && m_arrBars[old] == NULL)
            m_arrBars.RemoveAt(old);
    }
    bar->SetWindowPos(NULL, -kBorderOverlap, -kBorderOverlap, 0, 0,
                      SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    int index = InsertBarAtPosition(bar, position);
    AttachBar(bar, index, show);
    NormalizeRow(RowStart(FindBar(bar)), NULL, NULL, NULL);
}

BOOL TkDockBar::FindBarPosition(CControlBar* bar, int& row, int& column, int& thickness) const
{
    row = 0;
    column = 0;
    thickness = 0;
    if (bar == NULL || bar->m_hWnd == NULL || !bar->IsVisible())
        return FALSE;
    for (int i = 1; i < m_arrBars.GetSize(); i++) {
        if (m_arrBars[i] == NULL) {
            row++;
            column = 0;
            continue;
        }
        CControlBar* other = GetDockedControlBar(i);
        if (other == bar) {
            CRect rect;
            bar->GetWindowRect(&rect);
            thickness = (m_dwStyle & CBRS_ORIENT_HORZ) ? rect.Height() : rect.Width();
            return TRUE;
        }
        if (other != NULL)
            column++;
    }
    return FALSE;
}

void TkDockBar::GetDockBarInfo(TkControlBarInfo* info)
{
    GetBarInfo(info);
    GetDockBarIds(info->m_arrBarID);
    info->m_bMDIChild = m_bMDIChild;
    if (m_bMDIChild) {
        info->m_pointPos = CPoint(0, 0);
        CFrameWnd* frame = GetParentFrame();
        info->m_placement.length = sizeof(info->m_placement);
        if (frame != NULL)
            ::GetWindowPlacement(frame->m_hWnd, &info->m_placement);
    }
}
