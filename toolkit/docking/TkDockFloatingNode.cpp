#include "toolkit/docking/TkDockFloatingNode.h"
#include "toolkit/docking/TkLNDockingMgr.h"
#include "toolkit/docking/TkLNFloatingHwndContainer.h"

TkDockFloatingNode::TkDockFloatingNode()
    : m_floating(FALSE), m_manager(NULL), m_borders{0, 0, 0, 0}, m_bordersCached(FALSE)
{
}

TkDockFloatingNode::~TkDockFloatingNode()
{
    if (m_manager && m_manager->GetContainerOf(this))
        m_manager->UnregisterContainer(this);
}

BOOL TkDockFloatingNode::SetUp(TkLayoutNode* content, TkLNDockingMgr* manager, LPCSTR title,
                               ITkLNContainer* source)
{
    if (!content || !manager || !source || GetContent())
        return FALSE;
    TkDockingNodeConstraints* record = manager->GetConstraints(content, TRUE);
    ITkLNContainer* container =
        source->CreateFloatingContainer(this, title, record->m_hideOnClose, record->m_closeItem);
    if (!container)
        return FALSE;
    m_manager = manager;
    manager->RegisterContainer(this, container);
    if (TkLNFloatingHwndContainer* floating = dynamic_cast<TkLNFloatingHwndContainer*>(container))
        floating->SetDockingMgr(manager);
    return AddChildNode(content) != -1;
}

TkLayoutNode* TkDockFloatingNode::GetContent()
{
    POSITION p = GetFirstChildPosition();
    return p ? GetChildAt(p) : NULL;
}

ITkLNContainer* TkDockFloatingNode::Container()
{
    return m_manager ? m_manager->GetContainerOf(this) : NULL;
}

BOOL TkDockFloatingNode::ReadFrameBorders()
{
    if (m_bordersCached)
        return TRUE;
    ITkLNContainer* container = Container();
    m_bordersCached = container && container->GetFrameBorders(&m_borders[0], &m_borders[1],
                                                              &m_borders[2], &m_borders[3]);
    // The tree covers the whole window: the content sits inside the frame.
    m_marginLeft = m_borders[0];
    m_marginTop = m_borders[1];
    m_marginRight = m_borders[2];
    m_marginBottom = m_borders[3];
    return m_bordersCached;
}

BOOL TkDockFloatingNode::GetOutlineRect(CPoint point, CRect* rect, TkLNDockingMgr*,
                                        TkDockInProgressInfo* info)
{
    if (!rect)
        return FALSE;
    ReadFrameBorders();
    CSize size = GetCurrentRect().Size();
    if (TkLayoutNode* content = GetContent())
    {
        CRect inner = content->GetReferenceRect();
        if (inner.IsRectEmpty())
            inner = content->GetCurrentRect();
        size = CSize(inner.Width() + m_borders[0] + m_borders[2],
                     inner.Height() + m_borders[1] + m_borders[3]);
    }
    CPoint offset = info ? info->m_pointOffset : CPoint(0, 0);
    CRect outline(CPoint(point.x - offset.x, point.y - offset.y), size);
    if (point.x > outline.right)
        outline.OffsetRect(point.x - outline.right + kCursorInset, 0);
    else if (point.x < outline.left)
        outline.OffsetRect(point.x - outline.left - kCursorInset, 0);
    if (point.y > outline.bottom)
        outline.OffsetRect(0, point.y - outline.bottom + kCursorInset);
    else if (point.y < outline.top)
        outline.OffsetRect(0, point.y - outline.top - kCursorInset);
    *rect = outline;
    return TRUE;
}

// An inverted or empty rectangle places nothing.
BOOL TkDockFloatingNode::DropSelf(CPoint point, TkLNDockingMgr* manager,
                                  TkDockInProgressInfo* info)
{
    ITkLNContainer* container = Container();
    if (!container || (manager && manager != m_manager))
        return FALSE;
    ReadFrameBorders();
    CRect rect;
    if (!info || !info->GetTargetRect(&rect))
        GetOutlineRect(point, &rect, manager, info);
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return FALSE;
    CRect local(0, 0, rect.Width(), rect.Height());
    CRect result;
    RecalcLayout(result, local, FALSE, TRUE);
    if (!container->Place(rect))
        return FALSE;
    m_floating = TRUE;
    return TRUE;
}

BOOL TkDockFloatingNode::ShowNode(BOOL show)
{
    BOOL changed = TkDefHideableNode::ShowNode(show);
    if (ITkLNContainer* container = Container())
        container->ShowContainer(show);
    return changed;
}

int TkDockFloatingNode::HitTestSource(CPoint, TkLayoutNode* child)
{
    if (GetTargetNodeCount() != 1)
        return 0;
    return child ? kHookNone : kHookSelf;
}

TkLayoutNode* TkDockFloatingNode::GetDockedContent()
{
    return GetTargetNodeCount() == 1 ? GetFirstTargetNode() : GetContent();
}

ITkDockableNode* TkDockFloatingNode::GetDockableNode(ITkDockTarget* target, CPoint point,
                                                     TkLNDockingMgr* manager,
                                                     TkNodeMemoryManager* list)
{
    if (!target)
        return TkDefDockNodeInitiatorBase::GetDockableNode(target, point, manager, list);
    return dynamic_cast<ITkDockableNode*>(GetDockedContent());
}

// The base dock runs with this node as the mover; the content's record
// knows where it was docked.
BOOL TkDockFloatingNode::DockInto(TkLNDockingMgr* manager, const TkDockInsertionConstraints* c)
{
    TkLayoutNode* content = GetDockedContent();
    TkDockingNodeConstraints* own = manager ? manager->GetConstraints(this, TRUE) : NULL;
    TkDockingNodeConstraints* record = content && manager ? manager->GetConstraints(content, TRUE)
                                                          : NULL;
    if (own && record)
        own->m_targetParent = record->m_targetParent;
    TkDockInsertionConstraints place;
    if (!c && record && record->GetDockedPlace(&place))
        return TkDefDockNodeInitiatorBase::DockInto(manager, &place);
    return TkDefDockNodeInitiatorBase::DockInto(manager, c);
}

void TkDockFloatingNode::OnDocked(ITkDockTarget* target, CPoint point, TkLNDockingMgr* manager,
                                  TkNodeMemoryManager* list)
{
    TkDefDockNodeInitiatorBase::OnDocked(target, point, manager, list);
    if (GetContent() || !list)
        return;
    if (ITkLNContainer* container = Container())
        container->ShowContainer(FALSE);
    TkNodeMemoryManager* owner = GetMemoryManager();
    SetMemoryManager(list, FALSE);
    // The owner the manager made for this floating tree has nothing left.
    if (owner && owner->GetCount() == 0 && m_manager)
        m_manager->DestroyNodeMemMgr(0, owner);
}
