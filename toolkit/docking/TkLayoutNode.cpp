#include "toolkit/docking/TkLayoutNode.h"

#include <algorithm>
#include <vector>

TkLayoutNode::TkLayoutNode()
    : m_minSize(0, 0), m_maxSize(0, 0), m_limitFlags(kNoMaximum), m_recalcNeeded(TRUE),
      m_realizePending(FALSE), m_style(0), m_containerOffset(0, 0), m_realizeLock(0),
      m_active(TRUE), m_memoryManager(NULL)
{
}

TkLayoutNode::~TkLayoutNode()
{
    if (m_memoryManager)
        m_memoryManager->Unmanage(this);
    if (m_parent)
        m_parent->RemoveChildNode(this);
    while (!m_children.IsEmpty())
        RemoveChildAt(m_children.GetHeadPosition());
}

void TkLayoutNode::ForEachInSubtree(const std::function<void(TkLayoutNode*)>& visit, BOOL self)
{
    std::vector<TkLayoutNode*> nodes;
    IteratorPreOrder_T<TkLayoutNode*> walk(this, this);
    for (walk.First(); walk.Current(); walk.Next())
        if (self || walk.Current() != this)
            nodes.push_back(walk.Current());
    for (TkLayoutNode* node : nodes)
        visit(node);
}

int TkLayoutNode::GetDeferCount()
{
    return 0;
}

BOOL TkLayoutNode::IsNodeValid()
{
    return TRUE;
}

void TkLayoutNode::SetSizeLimits(const CSize& minimum, const CSize& maximum, DWORD flags)
{
    m_minSize = minimum;
    m_maxSize = maximum;
    m_limitFlags = flags;
}

void TkLayoutNode::GetSizeLimits(CSize* minimum, CSize* maximum, DWORD* flags)
{
    if (minimum)
        *minimum = m_minSize;
    if (maximum)
        *maximum = m_maxSize;
    if (flags)
        *flags = m_limitFlags;
}

void TkLayoutNode::SetParentNode(TkLayoutNode* parent)
{
    SetCompositeParent(parent, TRUE);
}

TkLayoutNode* TkLayoutNode::GetParentNode()
{
    return m_parent;
}

TkLayoutNode* TkLayoutNode::GetRootNode()
{
    TkLayoutNode* node = this;
    while (node->GetParentNode())
        node = node->GetParentNode();
    return node;
}

void TkLayoutNode::InvalidateLayout(BOOL propagate)
{
    m_recalcNeeded = TRUE;
    if (propagate && m_parent)
        m_parent->InvalidateLayout(propagate);
}

void TkLayoutNode::ValidateLayout()
{
    m_recalcNeeded = FALSE;
}

void TkLayoutNode::SetRealizePending()
{
    m_realizePending = TRUE;
}

BOOL TkLayoutNode::IsRealizePending()
{
    return m_realizePending;
}

void TkLayoutNode::SetNodeStyle(DWORD style, BOOL recurse)
{
    m_style = style;
    if (recurse)
        ForEachInSubtree([style](TkLayoutNode* node) { node->SetNodeStyle(style, FALSE); });
}

void TkLayoutNode::ModifyNodeStyle(DWORD remove, DWORD add, BOOL recurse)
{
    SetNodeStyle((m_style & ~remove) | add, FALSE);
    if (recurse)
        ForEachInSubtree(
            [remove, add](TkLayoutNode* node) { node->ModifyNodeStyle(remove, add, FALSE); });
}

DWORD TkLayoutNode::GetNodeStyle()
{
    return m_style;
}

void TkLayoutNode::SetRealizeLock(int lock, BOOL recurse)
{
    m_realizeLock = lock;
    if (recurse)
        ForEachInSubtree([lock](TkLayoutNode* node) { node->SetRealizeLock(lock, FALSE); },
                         FALSE);
}

CRect TkLayoutNode::GetInitialRect()
{
    return m_initialRect;
}

void TkLayoutNode::InitRectsFromChildren()
{
    CRect rect;
    GetChildrenRect(rect);
    InitRects(rect);
}

void TkLayoutNode::InitRects(const CRect& rect)
{
    m_initialRect = rect;
    SetCurrentRect(rect);
    SetReferenceRect(rect);
    m_minSize.cx = std::min(m_minSize.cx, (LONG)rect.Width());
    m_minSize.cy = std::min(m_minSize.cy, (LONG)rect.Height());
    m_maxSize.cx = std::max(m_maxSize.cx, (LONG)rect.Width());
    m_maxSize.cy = std::max(m_maxSize.cy, (LONG)rect.Height());
}

void TkLayoutNode::SetInitialRect(const CRect& rect)
{
    m_initialRect = rect;
}

CRect TkLayoutNode::GetReferenceRect()
{
    return m_referenceRect;
}

void TkLayoutNode::SetReferenceRect(const CRect& rect)
{
    m_referenceRect = rect;
}

CRect TkLayoutNode::GetCurrentRect()
{
    return m_currentRect;
}

CRect TkLayoutNode::GetConstrainedRect()
{
    CRect rect = GetCurrentRect();
    ApplySizeLimits(rect);
    return rect;
}

void TkLayoutNode::SetCurrentRect(const CRect& rect)
{
    m_currentRect = rect;
}

CRect TkLayoutNode::GetRealizedRect()
{
    return m_realizedRect;
}

void TkLayoutNode::SetRealizedRect(const CRect& rect)
{
    m_realizedRect = rect;
}

CRect TkLayoutNode::GetPrevRealizedRect()
{
    return m_prevRealizedRect;
}

void TkLayoutNode::SetPrevRealizedRect(const CRect& rect)
{
    m_prevRealizedRect = rect;
}

int TkLayoutNode::AddChildNode(TkLayoutNode* node)
{
    if (!node || node == this || !node->IsNodeValid())
        return -1;
    TkLayoutNode* oldParent = node->GetParentNode();
    if (oldParent == this)
        return GetChildCount(FALSE);
    if (oldParent)
        oldParent->RemoveChildNode(node);
    if (!AddChild(node))
        return -1;
    return GetChildCount(FALSE);
}

BOOL TkLayoutNode::MoveChildNode(TkLayoutNode* node, TkLayoutNode* reference, BOOL after)
{
    POSITION position = NULL;
    if (!node || !FindChild(node, &position))
        return FALSE;
    m_children.RemoveAt(position);
    POSITION insertAfter = NULL;
    POSITION referencePosition = NULL;
    if (reference && FindChild(reference, &referencePosition))
        insertAfter = after ? referencePosition : GetPrevChildPosition(referencePosition);
    else if (!reference && after)
        insertAfter = GetLastChildPosition();
    return InsertChild(node, insertAfter);
}

int TkLayoutNode::RemoveChildNode(TkLayoutNode* node)
{
    if (!RemoveChild(node))
        return -1;
    return GetChildCount(FALSE);
}

void TkLayoutNode::RecalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force)
{
    if (NeedsRecalc(force, rect))
    {
        CRect oldRect = m_currentRect;
        CRect newRect;
        CalcLayout(newRect, rect, constrain, force);
        ApplyStyleLocks(oldRect, newRect);
        SetCurrentRect(newRect);
        if (newRect != oldRect)
            SetRealizePending();
        ValidateLayout();
    }
    result = GetCurrentRect();
}

BOOL TkLayoutNode::RealizeNodes(LPARAM arg)
{
    if (m_realizeLock)
        return FALSE;
    int count = 0;
    ForEachInSubtree([&count](TkLayoutNode* node) { count += node->GetDeferCount(); });
    if (count < 0)
        return FALSE;
    BOOL realized = TRUE;
    if (count > 0)
    {
        HDWP deferral = BeginDeferWindowPos(count);
        if (!deferral)
            return FALSE;
        realized = DeferSubtree(deferral, count, arg);
    }
    ClearRealizePending();
    return realized;
}

// Positions are recorded only for nodes whose move went through: a dead
// window is skipped by its node, and a batch that Win32 drops takes the
// moves deferred into it along.
BOOL TkLayoutNode::DeferSubtree(HDWP deferral, int count, LPARAM arg)
{
    BOOL realized = TRUE;
    std::vector<TkLayoutNode*> moved;
    ForEachInSubtree([&](TkLayoutNode* node) {
        if (!deferral)
            return;
        if (node->RealizeNode(deferral, arg))
        {
            moved.push_back(node);
            return;
        }
        realized = FALSE;
        if (!deferral)
        {
            moved.clear();
            deferral = BeginDeferWindowPos(count);
        }
    });
    if (!deferral || !EndDeferWindowPos(deferral))
        return FALSE;
    for (TkLayoutNode* node : moved)
    {
        node->SetPrevRealizedRect(node->GetRealizedRect());
        node->SetRealizedRect(node->GetCurrentRect());
    }
    return realized;
}

BOOL TkLayoutNode::InvalidateIfDeferred()
{
    if (!(GetNodeStyle() & kDeferErase) || !IsRealizePending())
        return FALSE;
    InvalidateNodes(TRUE, TRUE);
    InvalidateNodes(FALSE, TRUE);
    return TRUE;
}

void TkLayoutNode::ClearRealizePending()
{
    if (InvalidateIfDeferred())
        return;
    m_realizePending = FALSE;
    ForEachInSubtree([](TkLayoutNode* node) {
        if (!node->InvalidateIfDeferred())
            node->m_realizePending = FALSE;
    });
}

BOOL TkLayoutNode::RealizeNode(HDWP&, LPARAM)
{
    return TRUE;
}

void TkLayoutNode::OnEraseNodeBkgnd(BOOL broadcast, HDC dc)
{
    if (broadcast)
        ForEachInSubtree([dc](TkLayoutNode* node) { node->OnEraseNodeBkgnd(FALSE, dc); });
}

void TkLayoutNode::OnPaintNode(BOOL broadcast, HDC dc)
{
    if (broadcast)
        ForEachInSubtree([dc](TkLayoutNode* node) { node->OnPaintNode(FALSE, dc); });
}

BOOL TkLayoutNode::InvalidateNodes(BOOL self, BOOL recurse)
{
    m_realizePending = FALSE;
    if (!self)
        InvalidateNodeRect(GetCurrentRect(), FALSE);
    else if (GetNodeStyle() & kDeferErase)
        InvalidateExposedStrips();
    else
        InvalidateNodeRect(GetCurrentRect(), TRUE);
    if (recurse)
        ForEachInSubtree([self](TkLayoutNode* node) { node->InvalidateNodes(self, FALSE); });
    return TRUE;
}

void TkLayoutNode::GetChildrenRect(CRect& result)
{
    result.SetRectEmpty();
    BOOL first = TRUE;
    for (POSITION p = GetFirstChildPosition(); p; p = GetNextChildPosition(p))
    {
        CRect rect = GetChildAt(p)->GetCurrentRect();
        if (first)
            result = rect;
        else
        {
            result.left = std::min(result.left, rect.left);
            result.top = std::min(result.top, rect.top);
            result.right = std::max(result.right, rect.right);
            result.bottom = std::max(result.bottom, rect.bottom);
        }
        first = FALSE;
    }
}

void TkLayoutNode::OnNodeInit(BOOL broadcast)
{
    if (broadcast)
        ForEachInSubtree([](TkLayoutNode* node) { node->OnNodeInit(FALSE); });
}

TkNodeMemoryManager* TkLayoutNode::GetMemoryManager()
{
    return m_memoryManager;
}

void TkLayoutNode::SetMemoryManager(TkNodeMemoryManager* manager, BOOL recurse)
{
    if (m_memoryManager && m_memoryManager != manager)
        m_memoryManager->Unmanage(this);
    if (manager)
        manager->Manage(this);
    m_memoryManager = manager;
    if (recurse)
        ForEachInSubtree([manager](TkLayoutNode* node) { node->SetMemoryManager(manager, FALSE); },
                         FALSE);
}

void TkLayoutNode::SetContainerOffset(int x, int y)
{
    m_containerOffset = CPoint(x, y);
}

void TkLayoutNode::SetNodeActive(BOOL active, BOOL recurse)
{
    m_active = active;
    if (recurse)
        ForEachInSubtree([active](TkLayoutNode* node) { node->SetNodeActive(active, FALSE); });
}

void TkLayoutNode::OnNodeCreated()
{
}

void TkLayoutNode::CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force)
{
    CRect r = rect;
    if (constrain)
        ApplySizeLimits(r);
    SetCurrentRect(r);
    CPoint shift(r.left - m_initialRect.left, r.top - m_initialRect.top);
    for (POSITION p = GetFirstChildPosition(); p; p = GetNextChildPosition(p))
    {
        TkLayoutNode* child = GetChildAt(p);
        CRect target = child->GetInitialRect() + shift;
        CRect accepted;
        child->RecalcLayout(accepted, target, constrain, force);
    }
    result = r;
}

void TkLayoutNode::InvalidateNodeRect(const CRect&, BOOL)
{
}

BOOL TkLayoutNode::NeedsRecalc(BOOL force, const CRect& rect)
{
    BOOL needed = m_recalcNeeded;
    m_recalcNeeded = FALSE;
    return force || needed || rect != GetCurrentRect();
}

// The maximum first, so that a minimum above the maximum wins.
void TkLayoutNode::ApplySizeLimits(CRect& rect)
{
    CSize minimum, maximum;
    DWORD flags = 0;
    GetSizeLimits(&minimum, &maximum, &flags);
    if (!(flags & kNoMaximum))
    {
        if (rect.Width() > maximum.cx)
            rect.right = rect.left + maximum.cx;
        if (rect.Height() > maximum.cy)
            rect.bottom = rect.top + maximum.cy;
    }
    if (!(flags & kNoMinimum))
    {
        if (rect.Width() < minimum.cx)
            rect.right = rect.left + minimum.cx;
        if (rect.Height() < minimum.cy)
            rect.bottom = rect.top + minimum.cy;
    }
}

void TkLayoutNode::ApplyStyleLocks(const CRect& oldRect, CRect& newRect)
{
    DWORD style = GetNodeStyle();
    if (style & kKeepWidth)
        newRect.right = newRect.left + oldRect.Width();
    if (style & kKeepHeight)
        newRect.bottom = newRect.top + oldRect.Height();
    if (style & kKeepLeft)
        newRect.left = oldRect.left;
    if (style & kKeepTop)
        newRect.top = oldRect.top;
}

void TkLayoutNode::InvalidateExposedStrips()
{
    ForEachExposedStrip(GetPrevRealizedRect(), GetCurrentRect(),
                        [this](const CRect& strip) { InvalidateNodeRect(strip, TRUE); });
}

void TkLayoutNode::ForEachExposedStrip(const CRect& p, const CRect& c,
                                       const std::function<void(const CRect&)>& visit)
{
    if (p.top < c.top)
        visit(CRect(p.left, p.top, p.right, c.top));
    if (p.left < c.left)
        visit(CRect(p.left, p.top, c.left, p.bottom));
    if (c.right < p.right)
        visit(CRect(c.right, p.top, p.right, p.bottom));
    if (c.bottom < p.bottom)
        visit(CRect(p.left, c.bottom, p.right, p.bottom));
}
