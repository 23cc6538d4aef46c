#include "toolkit/docking/TkLNSizable.h"

#include <algorithm>

TkLNSizable::TkLNSizable()
    : m_edges(0), m_restoreEdges(0), m_parentWnd(NULL), m_content(NULL)
{
    std::fill(m_splitters, m_splitters + 4, (TkLNVirtualSplitter*)NULL);
}

TkLNSizable::~TkLNSizable()
{
    for (TkLNVirtualSplitter*& splitter : m_splitters)
    {
        delete splitter;
        splitter = NULL;
    }
}

int TkLNSizable::EdgeIndex(int edge)
{
    switch (edge)
    {
    case kEdgeTop:
        return 0;
    case kEdgeBottom:
        return 1;
    case kEdgeLeft:
        return 2;
    case kEdgeRight:
        return 3;
    }
    return -1;
}

TkLNVirtualSplitter* TkLNSizable::GetEdgeSplitter(int edge) const
{
    int index = EdgeIndex(edge);
    return index < 0 ? NULL : m_splitters[index];
}

BOOL TkLNSizable::SetSizableEdges(CWnd* parent, BOOL liveTracking, int edges)
{
    if (!parent || !parent->GetSafeHwnd())
        return FALSE;
    m_edges = edges;
    m_restoreEdges = edges;
    m_parentWnd = parent->GetSafeHwnd();
    int w = TkSplitterBase::GetBarWidth();
    int* margins[4] = {&m_marginTop, &m_marginBottom, &m_marginLeft, &m_marginRight};
    for (int edge = kEdgeTop; edge <= kEdgeRight; edge <<= 1)
    {
        int index = EdgeIndex(edge);
        TkLNVirtualSplitter*& splitter = m_splitters[index];
        if (!(edges & edge))
        {
            delete splitter;
            splitter = NULL;
            *margins[index] = 0;
            continue;
        }
        if (!splitter)
            splitter = CreateEdgeSplitter(edge);
        if (splitter)
        {
            int flags = splitter->GetSplitterFlags() & ~TkSplitterBase::kLiveTracking;
            splitter->SetSplitterFlags(flags | (liveTracking ? TkSplitterBase::kLiveTracking : 0));
        }
        *margins[index] = splitter ? w : 0;
    }
    return TRUE;
}

TkLNVirtualSplitter* TkLNSizable::CreateEdgeSplitter(int edge)
{
    TkLNVirtualSplitter* splitter = new TkLNVirtualSplitter;
    if (!splitter->Create(CWnd::FromHandle(m_parentWnd), CRect(0, 0, 0, 0),
                          WS_CHILD | WS_VISIBLE, kSplitterId, 0))
    {
        delete splitter;
        return NULL;
    }
    splitter->SetObserver(this);
    // Top and bottom edges take a horizontal bar.
    splitter->SetNodeActive(edge == kEdgeLeft || edge == kEdgeRight, FALSE);
    return splitter;
}

void TkLNSizable::SetLimitRect(const CRect& rect, BOOL recalculate)
{
    m_limitRect = rect;
    if (!recalculate)
        return;
    CRect result;
    RecalcLayout(result, GetCurrentRect(), FALSE, TRUE);
}

// Disabling remembers the edges in force before, so that enabling brings
// them back (also after a second disabling).
void TkLNSizable::SetSizingEnabled(BOOL enable, BOOL liveTracking, BOOL recalculate)
{
    CWnd* parent = CWnd::FromHandle(m_parentWnd);
    if (enable)
        SetSizableEdges(parent, liveTracking, m_restoreEdges);
    else
    {
        int restore = m_edges ? m_edges : m_restoreEdges;
        SetSizableEdges(parent, liveTracking, 0);
        m_restoreEdges = restore;
    }
    if (!recalculate)
        return;
    CRect result;
    RecalcLayout(result, GetCurrentRect(), FALSE, TRUE);
    RealizeNodes(0);
}

int TkLNSizable::AddChildNode(TkLayoutNode* node)
{
    if (m_content)
        return -1;
    int count = TkLNBorder_T<TkLayoutNode>::AddChildNode(node);
    if (count > 0)
        m_content = node;
    return count;
}

int TkLNSizable::RemoveChildNode(TkLayoutNode* node)
{
    if (node && node == m_content)
        m_content = NULL;
    return TkLNBorder_T<TkLayoutNode>::RemoveChildNode(node);
}

void TkLNSizable::CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force)
{
    TkLNBorder_T<TkLayoutNode>::CalcLayout(result, rect, constrain, force);
    PositionSplitters(result);
}

// Each splitter lies in its margin; the side ones leave the corners to the
// top and bottom ones. A splitter may be dragged across the whole node and
// outward up to the limit rectangle.
void TkLNSizable::PositionSplitters(const CRect& r)
{
    int w = TkSplitterBase::GetBarWidth();
    CRect outer = m_limitRect.IsRectEmpty() ? r : m_limitRect;
    int barHeight = r.Height() < w ? 0 : w;
    int barWidth = r.Width() < w ? 0 : w;
    int sideTop = r.top + (m_splitters[0] ? barHeight : 0);
    int sideBottom = r.bottom - (m_splitters[1] ? barHeight : 0);
    const struct
    {
        CRect bar;
        CRect limit;
    } places[4] = {
        {CRect(r.left, r.top, r.right, r.top + barHeight),
         CRect(r.left, std::min(r.top, outer.top), r.right, r.bottom)},
        {CRect(r.left, r.bottom - barHeight, r.right, r.bottom),
         CRect(r.left, r.top, r.right, std::max(r.bottom, outer.bottom))},
        {CRect(r.left, sideTop, r.left + barWidth, sideBottom),
         CRect(std::min(r.left, outer.left), r.top, r.right, r.bottom)},
        {CRect(r.right - barWidth, sideTop, r.right, sideBottom),
         CRect(r.left, r.top, std::max(r.right, outer.right), r.bottom)},
    };
    for (int index = 0; index < 4; ++index)
    {
        TkLNVirtualSplitter* splitter = m_splitters[index];
        if (!splitter)
            continue;
        splitter->SetLimitRect(places[index].limit);
        CRect accepted;
        splitter->RecalcLayout(accepted, places[index].bar, FALSE, TRUE);
    }
}

int TkLNSizable::GetDeferCount()
{
    int count = 0;
    for (TkLNVirtualSplitter* splitter : m_splitters)
        count += splitter ? splitter->GetDeferCount() : 0;
    return count;
}

// The splitters move without redrawing: they repaint whole.
BOOL TkLNSizable::RealizeNode(HDWP& deferral, LPARAM arg)
{
    for (TkLNVirtualSplitter* splitter : m_splitters)
    {
        if (!splitter)
            continue;
        ::InvalidateRect(splitter->GetSafeHwnd(), NULL, TRUE);
        if (!splitter->RealizeNode(deferral, arg))
            return FALSE;
        splitter->SetRealizedRect(splitter->GetCurrentRect());
    }
    return TRUE;
}

void TkLNSizable::OnSplitterMoved(TkLNVirtualSplitter* splitter, int dx, int dy)
{
    int index = -1;
    for (int i = 0; i < 4; ++i)
        if (m_splitters[i] && m_splitters[i] == splitter)
            index = i;
    if (index < 0)
        return;
    CRect preferred = GetReferenceRect();
    LONG* edges[4] = {&preferred.top, &preferred.bottom, &preferred.left, &preferred.right};
    *edges[index] += index < 2 ? dy : dx;
    preferred.bottom = std::max(preferred.bottom, preferred.top);
    preferred.right = std::max(preferred.right, preferred.left);
    SetReferenceRect(preferred);
    LayoutAgain(m_parentWnd);
}

void TkLNSizable::LayoutAgain(HWND window)
{
    CWnd* frame = CWnd::FromHandlePermanent(window);
    if (frame && frame->IsFrameWnd())
    {
        TkLNHwndContainer container(window);
        container.RecalcFrame(TRUE);
        return;
    }
    TkLayoutNode* root = GetRootNode();
    CRect result;
    root->RecalcLayout(result, root->GetCurrentRect(), FALSE, TRUE);
    root->RealizeNodes(0);
}

BOOL TkLNSizableDockBorder::OnDockEvent(TkLayoutNode*, TkLayoutNode*, TkLayoutNode*, LPARAM,
                                        TkNodeMemoryManager*)
{
    CRect rect = GetCurrentRect();
    switch (m_dockSide)
    {
    case 0:
        rect.bottom = rect.top;
        break;
    case 1:
        rect.top = rect.bottom;
        break;
    case 2:
        rect.right = rect.left;
        break;
    case 3:
        rect.left = rect.right;
        break;
    }
    // Only the border collapses: laying the dock target out in an edge line
    // would flatten its lines and lose their sizes.
    SetCurrentRect(rect);
    InvalidateLayout(FALSE);
    LayoutAgain(GetSplitterParent());
    return TRUE;
}
