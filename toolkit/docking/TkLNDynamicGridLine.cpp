#include "toolkit/docking/TkLNDynamicGridLine.h"
#include "toolkit/docking/TkLNContainer.h"
#include "toolkit/docking/TkLNDynamicGrid2d.h"

#include <algorithm>

namespace
{
int g_defaultDistribution = TkLNDynamicGridLine::kEvenly;
const int kDefaultExtent = 150;
}

void TkLNDynamicGridLine::SetDefaultDistribution(int mode)
{
    g_defaultDistribution = mode;
}

TkLNDynamicGridLine::TkLNDynamicGridLine()
    : m_nodes(10), m_cells(10), m_distribution(g_defaultDistribution), m_host(NULL),
      m_grow(FALSE), m_splitterMode(TRUE), m_pendingX(0), m_pendingY(0), m_savedMin(0, 0),
      m_savedMax(0, 0), m_savedFlags(3), m_lastRemoved(NULL)
{
    m_active = TRUE;
}

TkLNDynamicGridLine::~TkLNDynamicGridLine()
{
    RemoveAllCells();
}

void TkLNDynamicGridLine::RemoveAllCells()
{
    for (POSITION p = m_cells.GetStartPosition(); p;)
    {
        TkLayoutNode* node = NULL;
        TkLNDynamicGridLineCell* cell = NULL;
        m_cells.GetNextAssoc(p, node, cell);
        delete cell;
    }
    m_cells.RemoveAll();
    m_remembered.RemoveAll();
    m_nodes.RemoveAll();
}

int TkLNDynamicGridLine::Extent(TkLayoutNode* node)
{
    return Oriented(node->GetCurrentRect()).GetPrimaryExtent();
}

// ---- Nodes ----

int TkLNDynamicGridLine::AddChildNode(TkLayoutNode* node)
{
    TkDynGridInsertConstraints c;
    return InsertNode(node, &c);
}

int TkLNDynamicGridLine::InsertNode(TkLayoutNode* node, TkDynGridInsertConstraints* c)
{
    if (!node || !c)
        return -1;
    int count = TkLayoutNode::AddChildNode(node);
    if (count == -1)
        return -1;
    AdoptOrientation(node, c);
    CreateCell(node, c);
    LinkNode(node, c);
    AddSplitters(node);
    if (count == 1)
        ShowNode(TRUE);
    SizeNewNode(node, c);
    return count;
}

int TkLNDynamicGridLine::RemoveChildNode(TkLayoutNode* node)
{
    if (!node || !FindNode(node))
        return TkLayoutNode::RemoveChildNode(node);
    int count = TkLayoutNode::RemoveChildNode(node);
    if (count == -1)
        return -1;
    RemoveSplitters(node);
    DeleteCell(node);
    UnlinkNode(node);
    if (count == 0)
        ShowNode(FALSE);
    ShrinkForRemovedNode(node);
    return count;
}

void TkLNDynamicGridLine::AdoptOrientation(TkLayoutNode* node, TkDynGridInsertConstraints*)
{
    node->SetNodeActive(IsHorizontal(), FALSE);
}

void TkLNDynamicGridLine::SetSplitterMode(BOOL live)
{
    m_splitterMode = live;
    for (POSITION p = m_nodes.GetHeadPosition(); p;)
        if (TkLNDynamicGridLineCell* cell = GetCell((TkLayoutNode*)m_nodes.GetNext(p)))
            if (cell->m_after)
                cell->m_after->SetSplitterFlags(live ? TkSplitterBase::kLiveTracking : 0);
}

void TkLNDynamicGridLine::SetHostAndOrientation(HWND host, BOOL horizontal)
{
    m_host = host;
    TkLayoutNode::SetNodeActive(horizontal, FALSE);
}

BOOL TkLNDynamicGridLine::ReparentToContainer(ITkLNContainer* container)
{
    m_host = NULL;
    if (!container)
        return TRUE;
    TkLNHwndContainer* window = dynamic_cast<TkLNHwndContainer*>(container);
    if (!window)
        return FALSE;
    m_host = window->GetContainerWnd();
    return TRUE;
}

POSITION TkLNDynamicGridLine::FindNode(TkLayoutNode* node)
{
    return node ? m_nodes.Find(node) : NULL;
}

int TkLNDynamicGridLine::GetNodeCount()
{
    return m_nodes.GetCount();
}

TkLayoutNode* TkLNDynamicGridLine::GetFirstNode()
{
    return m_nodes.IsEmpty() ? NULL : (TkLayoutNode*)m_nodes.GetHead();
}

TkLayoutNode* TkLNDynamicGridLine::GetNeighbour(TkLayoutNode* node, BOOL next)
{
    TkLayoutNode* prev = NULL;
    TkLayoutNode* following = NULL;
    if (!GetNeighbours(node, &prev, &following))
        return NULL;
    return next ? following : prev;
}

BOOL TkLNDynamicGridLine::GetNeighbours(TkLayoutNode* node, TkLayoutNode** prev,
                                        TkLayoutNode** next)
{
    POSITION position = FindNode(node);
    if (!position)
        return FALSE;
    POSITION before = position;
    POSITION after = position;
    m_nodes.GetPrev(before);
    m_nodes.GetNext(after);
    if (prev)
        *prev = before ? (TkLayoutNode*)m_nodes.GetAt(before) : NULL;
    if (next)
        *next = after ? (TkLayoutNode*)m_nodes.GetAt(after) : NULL;
    return TRUE;
}

TkLNDynamicGridLineCell* TkLNDynamicGridLine::GetCell(TkLayoutNode* node)
{
    TkLNDynamicGridLineCell* cell = NULL;
    return node && m_cells.Lookup(node, cell) ? cell : NULL;
}

int TkLNDynamicGridLine::GetAverageExtent(BOOL countExtra)
{
    int count = m_nodes.GetCount() + (countExtra ? 1 : 0);
    if (count == 0)
        return 0;
    int sum = 0;
    SumExtents(&sum, NULL);
    return sum / count;
}

void TkLNDynamicGridLine::GetNodes(CPtrList& list)
{
    list.AddTail(&m_nodes);
}

BOOL TkLNDynamicGridLine::GetNodeIndex(TkLayoutNode* node, int* index, int* count)
{
    int position = 0;
    BOOL found = FALSE;
    for (POSITION p = m_nodes.GetHeadPosition(); p && node; ++position)
        if (m_nodes.GetNext(p) == node)
        {
            found = TRUE;
            break;
        }
    if (count)
        *count = m_nodes.GetCount();
    if (index)
        *index = found ? position : m_nodes.GetCount();
    return found;
}

void TkLNDynamicGridLine::CreateCell(TkLayoutNode* node, TkDynGridInsertConstraints* c)
{
    DeleteCell(node);
    TkLNDynamicGridLineCell* cell = new TkLNDynamicGridLineCell;
    cell->m_resizable = c ? c->m_resizable : TRUE;
    m_cells.SetAt(node, cell);
}

BOOL TkLNDynamicGridLine::DeleteCell(TkLayoutNode* node)
{
    TkLNDynamicGridLineCell* cell = GetCell(node);
    if (!cell)
        return FALSE;
    m_cells.RemoveKey(node);
    delete cell;
    return TRUE;
}

POSITION TkLNDynamicGridLine::FindPositionByIndex(int index, BOOL* after)
{
    int count = m_nodes.GetCount();
    if (count == 0)
        return NULL;
    if (index >= count)
    {
        index = count - 1;
        if (after)
            *after = TRUE;
    }
    return m_nodes.FindIndex(std::max(index, 0));
}

BOOL TkLNDynamicGridLine::LinkNode(TkLayoutNode* node, TkDynGridInsertConstraints* c)
{
    BOOL after = c->m_after;
    POSITION position = NULL;
    if (!c->m_reference && !c->m_useIndex)
    {
        if (after)
            m_nodes.AddTail(node);
        else
            m_nodes.AddHead(node);
        return TRUE;
    }
    if (c->m_useIndex)
        position = FindPositionByIndex(c->m_index, &after);
    if (!position)
        position = FindNode(c->m_reference);
    if (!position)
        position = FindPositionByIndex(c->m_index, &after);
    if (!position)
        m_nodes.AddHead(node);
    else if (after)
        m_nodes.InsertAfter(position, node);
    else
        m_nodes.InsertBefore(position, node);
    return TRUE;
}

BOOL TkLNDynamicGridLine::UnlinkNode(TkLayoutNode* node)
{
    POSITION position = FindNode(node);
    if (!position)
        return FALSE;
    m_nodes.RemoveAt(position);
    return TRUE;
}

// ---- Sizes ----

void TkLNDynamicGridLine::SizeNewNode(TkLayoutNode* node, TkDynGridInsertConstraints* c)
{
    int extent = c->m_extent;
    if (extent < 0)
        extent = GetAverageExtent(FALSE);
    if (extent < 1)
        extent = Oriented(node->GetReferenceRect()).GetPrimaryExtent();
    if (extent < 1)
        extent = kDefaultExtent;
    TkOrientedRect rect = Oriented(node->GetCurrentRect());
    rect.SetPrimaryFar(rect.GetPrimaryNear() + extent);
    node->SetCurrentRect(rect);
    if (!m_grow)
    {
        FitAroundNode(node);
        RecalcLine();
        return;
    }
    (IsHorizontal() ? m_pendingX : m_pendingY) += extent;
    TkOrientedRect own = Oriented(GetCurrentRect());
    own.SetPrimaryFar(own.GetPrimaryFar() + extent);
    DistributeExtent(own.GetPrimaryExtent(), node);
    SetReferenceRect(own);
    Renegotiate();
}

void TkLNDynamicGridLine::ShrinkForRemovedNode(TkLayoutNode* node)
{
    if (!m_grow || !node)
        return;
    int extent = Extent(node);
    (IsHorizontal() ? m_pendingX : m_pendingY) -= extent;
    TkOrientedRect own = Oriented(GetCurrentRect());
    own.SetPrimaryFar(own.GetPrimaryFar() - extent);
    DistributeExtent(own.GetPrimaryExtent(), NULL);
    SetReferenceRect(own);
    if (m_pendingX || m_pendingY)
        Renegotiate();
}

void TkLNDynamicGridLine::Renegotiate()
{
    if (ITkParentOfNegotiableChildNode* parent =
            dynamic_cast<ITkParentOfNegotiableChildNode*>(GetParentNode()))
        parent->RenegotiateChild(this, this);
}

BOOL TkLNDynamicGridLine::ApplyPendingGrowth(CRect& rect)
{
    rect.right = std::max(rect.left, rect.right + m_pendingX);
    rect.bottom = std::max(rect.top, rect.bottom + m_pendingY);
    m_pendingX = m_pendingY = 0;
    return TRUE;
}

void TkLNDynamicGridLine::SetGrowMode(BOOL grow)
{
    if (!grow && m_grow)
        GetSizeLimits(&m_savedMin, &m_savedMax, &m_savedFlags);
    if (!grow)
    {
        int extent = Oriented(GetCurrentRect()).GetPrimaryExtent();
        SetSizeLimits(IsHorizontal() ? CSize(extent, 0) : CSize(0, extent), CSize(0, 0),
                      kNoMaximum);
    }
    else
        SetSizeLimits(m_savedMin, m_savedMax, m_savedFlags);
    m_grow = grow;
}

int TkLNDynamicGridLine::GetSplitterSpace(TkLayoutNode* excluded)
{
    int count = 0;
    for (POSITION p = m_nodes.GetHeadPosition(); p;)
    {
        TkLayoutNode* node = (TkLayoutNode*)m_nodes.GetNext(p);
        TkLNDynamicGridLineCell* cell = GetCell(node);
        if (node != excluded && cell && cell->m_after)
            ++count;
    }
    return count * TkSplitterBase::GetBarWidth();
}

int TkLNDynamicGridLine::SumExtents(int* sum, TkLayoutNode* excluded)
{
    int total = 0;
    int count = 0;
    for (POSITION p = m_nodes.GetHeadPosition(); p;)
    {
        TkLayoutNode* node = (TkLayoutNode*)m_nodes.GetNext(p);
        if (node == excluded)
            continue;
        total += Extent(node);
        ++count;
    }
    if (sum)
        *sum = total;
    return count;
}

BOOL TkLNDynamicGridLine::DistributeExtent(int extent, TkLayoutNode* excluded)
{
    int available = extent - GetSplitterSpace(NULL);
    if (excluded)
        available -= Extent(excluded);
    available = std::max(available, 0);
    int sum = 0;
    int count = SumExtents(&sum, excluded);
    int delta = available - sum;
    if (delta != 0 && count != 0)
    {
        if (m_distribution == kFromHead || m_distribution == kFromTail)
            DistributeSequentially(delta, count, m_distribution == kFromHead, excluded);
        else if (m_distribution == kEvenly)
            DistributeEvenly(delta, count, excluded);
    }
    if (!excluded)
        return TRUE;
    int whole = std::max(extent - GetSplitterSpace(NULL), 0);
    count = SumExtents(&sum, NULL);
    if (whole - sum != 0)
        DistributeEvenly(whole - sum, count, NULL);
    return TRUE;
}

void TkLNDynamicGridLine::ConstrainRect(TkLayoutNode* node, CRect& rect)
{
    CSize minimum, maximum;
    DWORD flags = 0;
    node->GetSizeLimits(&minimum, &maximum, &flags);
    if (!(flags & kNoMaximum))
    {
        rect.right = rect.left + std::min((LONG)rect.Width(), maximum.cx);
        rect.bottom = rect.top + std::min((LONG)rect.Height(), maximum.cy);
    }
    if (!(flags & kNoMinimum))
    {
        rect.right = rect.left + std::max((LONG)rect.Width(), minimum.cx);
        rect.bottom = rect.top + std::max((LONG)rect.Height(), minimum.cy);
    }
    rect.right = std::max(rect.right, rect.left);
    rect.bottom = std::max(rect.bottom, rect.top);
}

BOOL TkLNDynamicGridLine::DistributeEvenly(int delta, int count, TkLayoutNode* excluded)
{
    if (delta == 0 || count <= 0)
        return TRUE;
    int startCount = count;
    int q = delta / count;
    int r = delta % count;
    for (POSITION p = m_nodes.GetHeadPosition(); p && count > 0;)
    {
        TkLayoutNode* node = (TkLayoutNode*)m_nodes.GetNext(p);
        if (node == excluded)
            continue;
        TkOrientedRect rect = Oriented(node->GetCurrentRect());
        int before = rect.GetPrimaryExtent();
        rect.SetPrimaryFar(rect.GetPrimaryFar() + q + r);
        ConstrainRect(node, rect);
        node->SetCurrentRect(rect);
        delta -= rect.GetPrimaryExtent() - before;
        if (--count != 0)
        {
            q = delta / count;
            r = delta % count;
        }
    }
    if (delta != 0 && !excluded)
        DistributeSequentially(delta, startCount, FALSE, NULL);
    return TRUE;
}

BOOL TkLNDynamicGridLine::DistributeSequentially(int delta, int, BOOL fromHead,
                                                 TkLayoutNode* excluded)
{
    POSITION p = fromHead ? m_nodes.GetHeadPosition() : m_nodes.GetTailPosition();
    while (p && delta != 0)
    {
        TkLayoutNode* node =
            (TkLayoutNode*)(fromHead ? m_nodes.GetNext(p) : m_nodes.GetPrev(p));
        if (node == excluded)
            continue;
        TkOrientedRect rect = Oriented(node->GetCurrentRect());
        int before = rect.GetPrimaryExtent();
        rect.SetPrimaryFar(rect.GetPrimaryFar() + delta);
        ConstrainRect(node, rect);
        node->SetCurrentRect(rect);
        delta -= rect.GetPrimaryExtent() - before;
    }
    if (delta != 0)
        ForceDistribute(delta, fromHead);
    return TRUE;
}

BOOL TkLNDynamicGridLine::ForceDistribute(int delta, BOOL fromHead)
{
    POSITION p = fromHead ? m_nodes.GetHeadPosition() : m_nodes.GetTailPosition();
    while (p && delta != 0)
    {
        TkLayoutNode* node =
            (TkLayoutNode*)(fromHead ? m_nodes.GetNext(p) : m_nodes.GetPrev(p));
        TkOrientedRect rect = Oriented(node->GetCurrentRect());
        int before = rect.GetPrimaryExtent();
        rect.SetPrimaryFar(std::max(rect.GetPrimaryFar() + delta, rect.GetPrimaryNear()));
        node->SetCurrentRect(rect);
        delta -= rect.GetPrimaryExtent() - before;
    }
    return TRUE;
}

void TkLNDynamicGridLine::FitAroundNode(TkLayoutNode* node)
{
    DistributeExtent(Oriented(GetCurrentRect()).GetPrimaryExtent(), node);
}

// ---- Layout ----

void TkLNDynamicGridLine::CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL)
{
    CRect r = rect;
    if (constrain)
        ApplyPendingGrowth(r);
    SetCurrentRect(r);
    if (!m_nodes.IsEmpty())
    {
        DistributeExtent(Oriented(r).GetPrimaryExtent(), NULL);
        PositionNodes(r);
    }
    result = r;
}

void TkLNDynamicGridLine::RecalcLine()
{
    PositionNodes(GetCurrentRect());
}

BOOL TkLNDynamicGridLine::PositionNodes(const CRect& lineRect)
{
    TkOrientedRect line = Oriented(lineRect);
    int position = line.GetPrimaryNear();
    int w = TkSplitterBase::GetBarWidth();
    TkLayoutNode* runFirst = NULL;
    TkLayoutNode* runLast = NULL;
    auto endRun = [&]() {
        if (runFirst)
            SetSplitterLimits(runFirst, runLast);
        runFirst = runLast = NULL;
    };
    for (POSITION p = m_nodes.GetHeadPosition(); p;)
    {
        TkLayoutNode* node = (TkLayoutNode*)m_nodes.GetNext(p);
        TkLNDynamicGridLineCell* cell = GetCell(node);
        TkOrientedRect rect = Oriented(node->GetCurrentRect());
        int extent = rect.GetPrimaryExtent();
        rect.SetPrimaryNear(position);
        rect.SetPrimaryFar(position + extent);
        rect.SetSecondaryNear(line.GetSecondaryNear());
        rect.SetSecondaryFar(line.GetSecondaryFar());
        CRect accepted;
        node->RecalcLayout(accepted, rect, FALSE, TRUE);
        position = rect.GetPrimaryFar();
        if (cell && cell->m_resizable)
        {
            runFirst = runFirst ? runFirst : node;
            runLast = node;
        }
        else
            endRun();
        if (!cell || !cell->m_after)
            continue;
        TkOrientedRect bar = line;
        bar.SetPrimaryNear(position);
        bar.SetPrimaryFar(std::min(position + w, line.GetPrimaryFar()));
        bar.SetPrimaryFar(std::max(bar.GetPrimaryFar(), bar.GetPrimaryNear()));
        cell->m_after->RecalcLayout(accepted, bar, FALSE, TRUE);
        position += bar.GetPrimaryExtent();
    }
    endRun();
    return TRUE;
}

// A splitter cannot be dragged so far that a node of its run gets less
// than its minimum.
BOOL TkLNDynamicGridLine::SetSplitterLimits(TkLayoutNode* first, TkLayoutNode* last)
{
    POSITION p = FindNode(first);
    if (!p || !FindNode(last))
        return FALSE;
    std::vector<int> minimums;
    int count = GetCumulativeMinimums(minimums, first, last);
    int total = minimums[count - 1];
    TkOrientedRect runRect = Oriented(GetRunRect(first, last));
    for (int i = 0; i < count; ++i)
    {
        TkLNDynamicGridLineCell* cell = GetCell((TkLayoutNode*)m_nodes.GetNext(p));
        if (!cell || !cell->m_after)
            break;
        TkOrientedRect limit = runRect;
        limit.SetPrimaryNear(runRect.GetPrimaryNear() + minimums[i]);
        limit.SetPrimaryFar(runRect.GetPrimaryFar() - (total - minimums[i]));
        cell->m_after->SetLimitRect(limit);
    }
    return TRUE;
}

// Entry i is the sum of the minimum extents of the run's nodes up to i.
int TkLNDynamicGridLine::GetCumulativeMinimums(std::vector<int>& minimums, TkLayoutNode* first,
                                               TkLayoutNode* last)
{
    minimums.clear();
    int total = 0;
    for (POSITION p = FindNode(first); p;)
    {
        TkLayoutNode* node = (TkLayoutNode*)m_nodes.GetNext(p);
        CSize minimum, maximum;
        DWORD flags = 0;
        node->GetSizeLimits(&minimum, &maximum, &flags);
        if (!(flags & kNoMinimum))
            total += IsHorizontal() ? minimum.cx : minimum.cy;
        minimums.push_back(total);
        if (node == last)
            break;
    }
    return int(minimums.size());
}

CRect TkLNDynamicGridLine::GetRunRect(TkLayoutNode* first, TkLayoutNode* last)
{
    TkOrientedRect run = Oriented(first->GetCurrentRect());
    run.SetPrimaryFar(Oriented(last->GetCurrentRect()).GetPrimaryFar());
    return run;
}

BOOL TkLNDynamicGridLine::FindSplitterNeighbours(TkLNVirtualSplitter* splitter,
                                                 TkLayoutNode** before, TkLayoutNode** after)
{
    for (POSITION p = m_nodes.GetHeadPosition(); p;)
    {
        TkLayoutNode* node = (TkLayoutNode*)m_nodes.GetNext(p);
        TkLNDynamicGridLineCell* cell = GetCell(node);
        if (cell && cell->m_before == splitter)
        {
            *after = node;
            *before = GetNeighbour(node, FALSE);
            return *before != NULL;
        }
    }
    return FALSE;
}

int TkLNDynamicGridLine::ResizeRun(TkLayoutNode* start, int delta, BOOL forward,
                                   TkLayoutNode** last)
{
    POSITION p = FindNode(start);
    int left = delta;
    while (p && left != 0)
    {
        TkLayoutNode* node =
            (TkLayoutNode*)(forward ? m_nodes.GetNext(p) : m_nodes.GetPrev(p));
        TkLNDynamicGridLineCell* cell = GetCell(node);
        if (!cell || !cell->m_resizable)
            break;
        TkOrientedRect rect = Oriented(node->GetCurrentRect());
        int before = rect.GetPrimaryExtent();
        if (forward)
            rect.SetPrimaryNear(std::min(rect.GetPrimaryNear() + left, rect.GetPrimaryFar()));
        else
            rect.SetPrimaryFar(std::max(rect.GetPrimaryFar() + left, rect.GetPrimaryNear()));
        CRect constrained = rect;
        ConstrainRect(node, constrained);
        // A forward change moves the near edge: keep the far one in place.
        if (forward)
            constrained.OffsetRect(IsHorizontal() ? rect.right - constrained.right : 0,
                                   IsHorizontal() ? 0 : rect.bottom - constrained.bottom);
        node->SetCurrentRect(constrained);
        if (last)
            *last = node;
        int change = Oriented(constrained).GetPrimaryExtent() - before;
        left -= forward ? -change : change;
    }
    return delta - left;
}

BOOL TkLNDynamicGridLine::RealizeRun(TkLayoutNode* first, TkLayoutNode* last)
{
    POSITION p = FindNode(first);
    if (!p)
        return FALSE;
    while (p)
    {
        TkLayoutNode* node = (TkLayoutNode*)m_nodes.GetNext(p);
        node->RealizeNodes(FALSE);
        TkLNDynamicGridLineCell* cell = GetCell(node);
        if (cell && cell->m_after)
            cell->m_after->RealizeNodes(FALSE);
        if (node == last)
            break;
    }
    return TRUE;
}

void TkLNDynamicGridLine::OnSplitterMoved(TkLNVirtualSplitter* splitter, int dx, int dy)
{
    TkLayoutNode* before = NULL;
    TkLayoutNode* after = NULL;
    if (!FindSplitterNeighbours(splitter, &before, &after))
        return;
    int delta = dx != 0 ? dx : dy;
    TkLayoutNode* lastBefore = before;
    TkLayoutNode* lastAfter = after;
    if (delta >= 1)
    {
        int absorbed = ResizeRun(after, delta, TRUE, &lastAfter);
        ResizeRun(before, absorbed, FALSE, &lastBefore);
    }
    else
    {
        int absorbed = ResizeRun(before, delta, FALSE, &lastBefore);
        ResizeRun(after, absorbed, TRUE, &lastAfter);
    }
    PositionNodes(GetCurrentRect());
    RealizeRun(lastBefore, lastAfter);
}

BOOL TkLNDynamicGridLine::IsPointInFarHalf(const CRect& rect, CPoint point)
{
    TkOrientedRect r = Oriented(rect);
    return r.GetPrimary(point) >= (r.GetPrimaryNear() + r.GetPrimaryFar()) / 2;
}

TkLayoutNode* TkLNDynamicGridLine::HitTestNode(CPoint point, BOOL* after,
                                               TkLNDynamicGridLine** line)
{
    if (line)
        *line = this;
    for (POSITION p = m_nodes.GetHeadPosition(); p;)
    {
        TkLayoutNode* node = (TkLayoutNode*)m_nodes.GetNext(p);
        CRect rect = node->GetCurrentRect();
        if (rect.PtInRect(point))
        {
            if (after)
                *after = IsPointInFarHalf(rect, point);
            return node;
        }
    }
    for (POSITION p = m_nodes.GetHeadPosition(); p;)
    {
        TkLayoutNode* node = (TkLayoutNode*)m_nodes.GetNext(p);
        TkOrientedRect rect = Oriented(node->GetCurrentRect());
        if (rect.GetPrimary(point) < rect.GetPrimaryNear())
        {
            if (after)
                *after = FALSE;
            return node;
        }
    }
    if (after)
        *after = TRUE;
    return NULL;
}

// ---- Splitters ----

void TkLNDynamicGridLine::AddSplitters(TkLayoutNode* node)
{
    TkLayoutNode* prev = NULL;
    TkLayoutNode* next = NULL;
    if (!GetNeighbours(node, &prev, &next))
        return;
    if (prev && next)
        AddSplittersAround(prev, node, next);
    else if (prev)
        AddSplitter(prev, node);
    else if (next)
        AddSplitter(node, next);
}

void TkLNDynamicGridLine::AddSplittersAround(TkLayoutNode* prev, TkLayoutNode* node, TkLayoutNode* next)
{
    RemoveSplitter(prev, next);
    AddSplitter(prev, node);
    AddSplitter(node, next);
}

void TkLNDynamicGridLine::RemoveSplitters(TkLayoutNode* node)
{
    TkLayoutNode* prev = NULL;
    TkLayoutNode* next = NULL;
    if (!GetNeighbours(node, &prev, &next))
        return;
    if (prev && next)
        RemoveSplittersAround(prev, node, next);
    else if (prev)
        RemoveSplitter(prev, node);
    else if (next)
        RemoveSplitter(node, next);
}

void TkLNDynamicGridLine::RemoveSplittersAround(TkLayoutNode* prev, TkLayoutNode* node, TkLayoutNode* next)
{
    RemoveSplitter(prev, node);
    RemoveSplitter(node, next);
    AddSplitter(prev, next);
}

TkLNVirtualSplitter* TkLNDynamicGridLine::CreateSplitterNode()
{
    TkLNVirtualSplitter* splitter = new TkLNVirtualSplitter;
    if (m_host && !splitter->Create(CWnd::FromHandle(m_host), CRect(0, 0, 0, 0),
                                    WS_CHILD | WS_VISIBLE, kSplitterId,
                                    m_splitterMode ? TkSplitterBase::kLiveTracking : 0))
    {
        delete splitter;
        return NULL;
    }
    splitter->SetSplitterFlags(m_splitterMode ? TkSplitterBase::kLiveTracking : 0);
    return splitter;
}

void TkLNDynamicGridLine::AddSplitter(TkLayoutNode* a, TkLayoutNode* b)
{
    TkLNDynamicGridLineCell* cellA = GetCell(a);
    TkLNDynamicGridLineCell* cellB = GetCell(b);
    if (!cellA || !cellB)
        return;
    TkLNVirtualSplitter* splitter = CreateSplitterNode();
    if (!splitter)
        return;
    splitter->SetObserver(this);
    TkLayoutNode::AddChildNode(splitter);
    TkNodeMemoryManager* manager = GetMemoryManager() ? GetMemoryManager() : &m_ownNodes;
    splitter->SetMemoryManager(manager, FALSE);
    splitter->SetNodeActive(IsHorizontal(), FALSE);
    cellA->m_after = splitter;
    cellB->m_before = splitter;
}

void TkLNDynamicGridLine::RemoveSplitter(TkLayoutNode* a, TkLayoutNode* b)
{
    TkLNDynamicGridLineCell* cellA = GetCell(a);
    TkLNDynamicGridLineCell* cellB = GetCell(b);
    if (!cellA || !cellB || !cellA->m_after)
        return;
    TkLNVirtualSplitter* splitter = cellA->m_after;
    cellA->m_after = NULL;
    cellB->m_before = NULL;
    if (TkNodeMemoryManager* manager = splitter->GetMemoryManager())
        manager->Unmanage(splitter);
    splitter->SetMemoryManager(NULL, FALSE);
    TkLayoutNode::RemoveChildNode(splitter);
    delete splitter;
}

// ---- Undo ----

ITkUndoableNode* TkLNDynamicGridLine::GetUndoOwner()
{
    if (TkLNDynamicGrid2d* grid = dynamic_cast<TkLNDynamicGrid2d*>(GetParentNode()))
        return grid;
    return this;
}

BOOL TkLNDynamicGridLine::GetInsertConstraints(TkLayoutNode* node, TkDynGridInsertConstraints* c)
{
    int index = 0, count = 0;
    if (!node || !c || !GetNodeIndex(node, &index, &count))
        return FALSE;
    c->Reset();
    index = std::min(index, count);
    if (index - 1 >= 0)
        c->SetIndex(index - 1, TRUE, TRUE);
    else
        c->SetIndex(0, FALSE, TRUE);
    TkLNDynamicGridLineCell* cell = GetCell(node);
    c->m_resizable = cell ? cell->m_resizable : TRUE;
    c->m_extent = Extent(node);
    return TRUE;
}

int TkLNDynamicGridLine::RemoveUndoable(TkLayoutNode* child)
{
    if (!child || !GetInsertConstraints(child, &m_working))
        return -1;
    int result = RemoveChildNode(child);
    if (result == -1)
        return -1;
    m_lastRemoved = child;
    CRect accepted;
    RecalcLayout(accepted, GetCurrentRect(), FALSE, TRUE);
    TkDynGridInsertConstraints* remembered = NULL;
    if (!m_remembered.Lookup(child, remembered))
    {
        remembered = new TkDynGridInsertConstraints;
        m_constraintsOwner.Manage(remembered);
        m_remembered.SetAt(child, remembered);
    }
    remembered->CopyFrom(m_working);
    return result;
}

int TkLNDynamicGridLine::UndoRemove()
{
    if (!m_lastRemoved)
        return -1;
    TkLayoutNode* node = m_lastRemoved;
    m_lastRemoved = NULL;
    return InsertNodeAt(node, &m_working);
}

int TkLNDynamicGridLine::UndoRemoveOf(TkLayoutNode* child)
{
    TkDynGridInsertConstraints* remembered = NULL;
    if (!child || !m_remembered.Lookup(child, remembered))
        return -1;
    int result = InsertNodeAt(child, remembered);
    if (result == -1 || result == -2)
        return -1;
    m_remembered.RemoveKey(child);
    m_constraintsOwner.Unmanage(remembered);
    delete remembered;
    if (m_lastRemoved == child)
        m_lastRemoved = NULL;
    return result;
}

int TkLNDynamicGridLine::InsertNodeAt(TkLayoutNode* node, TkDynGridInsertConstraints* c)
{
    int result = InsertNode(node, c);
    CRect accepted;
    RecalcLayout(accepted, GetCurrentRect(), FALSE, TRUE);
    return result;
}
