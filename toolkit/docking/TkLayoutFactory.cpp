#include "toolkit/docking/TkLayoutFactory.h"
#include "toolkit/docking/TkFloatableDockingNode.h"
#include "toolkit/docking/TkLNScale.h"
#include "toolkit/docking/TkLayoutNodeGripper.h"

#include <map>

TkLayoutFactory::TkLayoutFactory()
    : m_useSizeLimits(FALSE), m_limitFlags(0), m_useReferenceRect(FALSE),
      m_useInitialRect(FALSE)
{
}

TkLayoutFactory::~TkLayoutFactory()
{
    FreeAllListeners();
    FreeAllNodes();
}

BOOL TkLayoutFactory::GetChildWindows(std::vector<CWnd*>& windows, CWnd* parent,
                                      CRuntimeClass* runtimeClass)
{
    windows.clear();
    if (!parent || !parent->GetSafeHwnd())
        return FALSE;
    for (HWND child = ::GetWindow(parent->GetSafeHwnd(), GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT))
    {
        CWnd* window = CWnd::FromHandle(child);
        if (!runtimeClass || window->IsKindOf(runtimeClass))
            windows.push_back(window);
    }
    return TRUE;
}

BOOL TkLayoutFactory::CreateChildWndNodes(TkLayoutNode* parentNode, CWnd* parent,
                                          CRuntimeClass* runtimeClass)
{
    std::vector<CWnd*> windows;
    BOOL listed = GetChildWindows(windows, parent, runtimeClass);
    if (!parentNode)
        return FALSE;
    for (CWnd* window : windows)
        CreateWndNode(window, parent, parentNode, WndNodeFactory(), NULL);
    return listed;
}

BOOL TkLayoutFactory::DestroyNode(TkLayoutNode* node)
{
    if (!node || !m_nodeOwner.IsManaged(node))
        return FALSE;
    m_nodeOwner.Unmanage(node);
    node->SetMemoryManager(NULL, FALSE);
    delete node;
    return TRUE;
}

int TkLayoutFactory::FreeAllNodes()
{
    return m_nodeOwner.FreeAll();
}

BOOL TkLayoutFactory::DestroyListener(TkLayoutWndListener* listener)
{
    if (!listener || !m_listenerOwner.Unmanage(listener))
        return FALSE;
    delete listener;
    return TRUE;
}

int TkLayoutFactory::FreeAllListeners()
{
    return m_listenerOwner.FreeAll();
}

BOOL TkLayoutFactory::InitNewNode(TkLayoutNode* node)
{
    if (!node)
        return FALSE;
    if (m_useSizeLimits)
        node->SetSizeLimits(m_minSize, m_maxSize, m_limitFlags);
    if (m_useReferenceRect)
        node->SetReferenceRect(m_referenceRect);
    if (m_useInitialRect)
        node->InitRects(m_initialRect);
    return TRUE;
}

void TkLayoutFactory::SetDefaultSizeLimits(int minCx, int minCy, int maxCx, int maxCy,
                                           DWORD flags, BOOL use)
{
    m_minSize = CSize(minCx, minCy);
    m_maxSize = CSize(maxCx, maxCy);
    m_limitFlags = flags;
    m_useSizeLimits = use;
}

void TkLayoutFactory::SetDefaultReferenceRect(const CRect& rect, BOOL use)
{
    m_referenceRect = rect;
    m_useReferenceRect = use;
}

void TkLayoutFactory::SetDefaultInitialRect(const CRect& rect, BOOL use)
{
    m_initialRect = rect;
    m_useInitialRect = use;
}

void TkLayoutFactory::AdoptNode(TkLayoutNode* node, LPCSTR name)
{
    node->SetNodeName(name ? name : "");
    node->OnNodeCreated();
    node->SetMemoryManager(&m_nodeOwner, FALSE);
}

void TkLayoutFactory::DiscardNode(TkLayoutNode* node)
{
    if (!DestroyNode(node))
        delete node;
}

TkLayoutNode* TkLayoutFactory::CreateNode(TkClassFactory<TkLayoutNode>* factory, LPCSTR name)
{
    TkLayoutNode* node = factory ? factory->CreateObject() : NULL;
    if (!node)
        return NULL;
    if (!InitNewNode(node))
    {
        DiscardNode(node);
        return NULL;
    }
    AdoptNode(node, name);
    return node;
}

TkLayoutNodeWnd* TkLayoutFactory::MakeWndNode(HWND window, CWnd* parent, TkLayoutNode* parentNode,
                                              TkClassFactory<TkLayoutNodeWnd>* factory,
                                              LPCSTR name)
{
    TkLayoutNodeWnd* node = factory ? factory->CreateObject() : NULL;
    if (!node)
        return NULL;
    if (!InitNewNode(node) || !node->AttachWnd(window, parent) ||
        (parentNode && parentNode->AddChildNode(node) < 0))
    {
        DiscardNode(node);
        return NULL;
    }
    AdoptNode(node, name);
    return node;
}

TkLayoutNodeWnd* TkLayoutFactory::CreateWndNode(CWnd* window, CWnd* parent,
                                                TkLayoutNode* parentNode,
                                                TkClassFactory<TkLayoutNodeWnd>* factory,
                                                LPCSTR name)
{
    if (!window)
        return NULL;
    return MakeWndNode(window->GetSafeHwnd(), parent, parentNode, factory, name);
}

TkLayoutNodeWnd* TkLayoutFactory::CreateWndNodeForHandle(HWND window, CWnd* parent,
                                                         TkLayoutNode* parentNode,
                                                         TkClassFactory<TkLayoutNodeWnd>* factory,
                                                         LPCSTR name)
{
    return MakeWndNode(window, parent, parentNode, factory, name);
}

int TkLayoutFactory::CreateDlgItemNode(UINT id, CWnd* parent, TkLayoutNode* parentNode,
                                       std::vector<TkLayoutNodeWnd*>* nodes)
{
    HWND item = parent ? ::GetDlgItem(parent->GetSafeHwnd(), id) : NULL;
    if (!item)
        return 0;
    TkLayoutNodeWnd* node = MakeWndNode(item, parent, parentNode, WndNodeFactory(), NULL);
    if (!node)
        return 0;
    if (nodes)
        nodes->push_back(node);
    return 1;
}

// Walks the parent's children rather than the range, which may be wide;
// the nodes come in id order as GetDlgItem would give them.
int TkLayoutFactory::CreateDlgItemNodes(UINT first, UINT last, CWnd* parent,
                                        TkLayoutNode* parentNode,
                                        std::vector<TkLayoutNodeWnd*>* nodes)
{
    if (!parent || !parent->GetSafeHwnd() || first > last)
        return 0;
    std::map<UINT, HWND> items;
    for (HWND child = ::GetWindow(parent->GetSafeHwnd(), GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT))
    {
        UINT id = (UINT)::GetDlgCtrlID(child);
        if (id >= first && id <= last)
            items.emplace(id, child);
    }
    int created = 0;
    for (const auto& item : items)
        created += CreateDlgItemNode(item.first, parent, parentNode, nodes);
    return created;
}

int TkLayoutFactory::CreateDlgItemNodes(const UINT* ids, int count, CWnd* parent,
                                        TkLayoutNode* parentNode,
                                        std::vector<TkLayoutNodeWnd*>* nodes)
{
    if (!ids)
        return -1;
    int created = 0;
    for (int i = 0; i < count; ++i)
        created += CreateDlgItemNode(ids[i], parent, parentNode, nodes);
    return created;
}

TkLayoutNodeDCBase* TkLayoutFactory::CreateDrawingNode(CWnd* window, TkLayoutNode* parentNode,
                                                       TkClassFactory<TkLayoutNodeDCBase>* factory,
                                                       LPCSTR name)
{
    TkLayoutNodeDCBase* node = factory ? factory->CreateObject() : NULL;
    if (!node)
        return NULL;
    if (!InitNewNode(node) || !window || !window->GetSafeHwnd())
    {
        DiscardNode(node);
        return NULL;
    }
    node->SetNodeWnd(window->GetSafeHwnd());
    if (parentNode && parentNode->AddChildNode(node) < 0)
    {
        DiscardNode(node);
        return NULL;
    }
    AdoptNode(node, name);
    return node;
}

TkLayoutWndListener* TkLayoutFactory::CreateListener(TkClassFactory<TkLayoutWndListener>* factory)
{
    TkLayoutWndListener* listener = factory ? factory->CreateObject() : NULL;
    if (listener)
        m_listenerOwner.Manage(listener);
    return listener;
}

BOOL TkLayoutDockFactory::AttachLayout(CWnd* window)
{
    if (!window || !window->GetSafeHwnd())
        return FALSE;
    TkClassFactory_T<TkLNScale, TkLayoutNode> scaleFactory;
    TkLayoutNode* root = CreateNode(&scaleFactory, NULL);
    if (!root)
        return FALSE;
    TkLayoutWndListener* listener = CreateListener(ListenerFactory());
    if (!listener || !listener->AutoInitLayout(root, window, TRUE, TRUE, FALSE))
    {
        DestroyListener(listener);
        DestroyNode(root);
        return FALSE;
    }
    CreateChildWndNodes(root, window, NULL);
    return TRUE;
}

namespace
{
// Docked windows get a gripper that docks, floats and docks back.
TkClassFactory_T<TkFloatableDockingNode_T<TkReparentableGripperEx>, TkLayoutNodeDCBase>
    g_gripperFactory;
TkClassFactory_T<TkLayoutNodeDC, TkLayoutNodeDCBase> g_drawingFactory;

HWND FindDescendant(HWND parent, UINT id)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        if ((UINT)::GetDlgCtrlID(child) == id)
            return child;
        if (HWND found = FindDescendant(child, id))
            return found;
    }
    return NULL;
}
}

TkLayoutNodeDCBase* TkLayoutDockFactory::CreateGripperNode(
    CWnd* frame, TkClassFactory<TkLayoutNodeDCBase>* factory, TkLayoutNode* child, LPCSTR caption,
    LPARAM)
{
    TkLayoutNodeDCBase* node = CreateDrawingNode(frame, NULL, factory, caption);
    if (!node)
        return NULL;
    if (child && node->AddChildNode(child) == -1)
    {
        DestroyNode(node);
        return NULL;
    }
    if (ITkHideableNode* hideable = dynamic_cast<ITkHideableNode*>(node))
        hideable->ShowNode(TRUE);
    return node;
}

TkLayoutNodeDCBase* TkLayoutDockFactory::CreateGripperNode(CWnd* frame, TkLayoutNode* child,
                                                           LPCSTR caption, LPARAM extra)
{
    return CreateGripperNode(frame, &g_gripperFactory, child, caption, extra);
}

TkLayoutNodeDCBase* TkLayoutDockFactory::WrapInGripper(CWnd* frame, TkLayoutNode* inner,
                                                       LPCSTR name, TkLayoutNode** child,
                                                       LPARAM extra)
{
    if (!inner)
        return NULL;
    TkLayoutNodeDCBase* gripper = CreateGripperNode(frame, inner, name, extra);
    if (!gripper)
    {
        DestroyNode(inner);
        return NULL;
    }
    if (child)
        *child = inner;
    return gripper;
}

TkLayoutNodeDCBase* TkLayoutDockFactory::AddDockableNode(TkLayoutNode* parentNode, CWnd* frame,
                                                         TkClassFactory<TkLayoutNode>* factory,
                                                         LPCSTR name, TkLayoutNode** child,
                                                         LPARAM extra)
{
    if (!parentNode)
        return NULL;
    TkLayoutNode* inner = NULL;
    TkLayoutNodeDCBase* gripper = CreateDockableGroupNode(frame, factory, name, &inner, extra);
    if (!gripper)
        return NULL;
    if (parentNode->AddChildNode(gripper) == -1)
    {
        gripper->RemoveChildNode(inner);
        DestroyNode(inner);
        DestroyNode(gripper);
        return NULL;
    }
    if (child)
        *child = inner;
    return gripper;
}

TkLayoutNodeDCBase* TkLayoutDockFactory::CreateDockableGroupNode(
    CWnd* frame, TkClassFactory<TkLayoutNode>* factory, LPCSTR name, TkLayoutNode** child,
    LPARAM extra)
{
    return WrapInGripper(frame, CreateNode(factory, name), name, child, extra);
}

TkLayoutNodeDCBase* TkLayoutDockFactory::CreateDockableDrawingNode(
    CWnd* frame, TkClassFactory<TkLayoutNodeDCBase>* factory, LPCSTR name, TkLayoutNode** child,
    LPARAM extra)
{
    return WrapInGripper(frame, CreateDrawingNode(frame, NULL, factory, name), name, child,
                         extra);
}

TkLayoutNodeDCBase* TkLayoutDockFactory::CreateDockableDrawingNode(CWnd* frame, LPCSTR name,
                                                                   TkLayoutNode** child,
                                                                   LPARAM extra)
{
    return CreateDockableDrawingNode(frame, &g_drawingFactory, name, child, extra);
}

// The window's own layout is attached last, when nothing can fail any more.
TkLayoutNodeDCBase* TkLayoutDockFactory::CreateDockableNode(
    CWnd* window, CWnd* frame, TkClassFactory<TkLayoutNodeWnd>* factory, LPCSTR caption,
    BOOL layOutChildren, TkLayoutNode** child, LPARAM extra)
{
    if (!window || !frame)
        return NULL;
    TkLayoutNode* inner = NULL;
    TkLayoutNodeDCBase* gripper =
        WrapInGripper(frame, CreateWndNode(window, frame, NULL, factory, caption), caption,
                      &inner, extra);
    if (!gripper)
        return NULL;
    if (layOutChildren)
        AttachLayout(window);
    if (child)
        *child = inner;
    return gripper;
}

TkLayoutNodeDCBase* TkLayoutDockFactory::CreateDockableNode(CWnd* window, CWnd* frame,
                                                            LPCSTR caption, BOOL layOutChildren,
                                                            TkLayoutNode** child, LPARAM extra)
{
    return CreateDockableNode(window, frame, WndNodeFactory(), caption, layOutChildren, child,
                              extra);
}

TkLayoutNodeDCBase* TkLayoutDockFactory::CreateDockableNode(
    UINT id, CWnd* frame, TkClassFactory<TkLayoutNodeWnd>* factory, LPCSTR caption,
    BOOL layOutChildren, TkLayoutNode** child, LPARAM extra)
{
    HWND window = frame ? FindDescendant(frame->GetSafeHwnd(), id) : NULL;
    if (!window)
        return NULL;
    return CreateDockableNode(CWnd::FromHandle(window), frame, factory, caption, layOutChildren,
                              child, extra);
}

TkLayoutNodeDCBase* TkLayoutDockFactory::CreateDockableNode(UINT id, CWnd* frame, LPCSTR caption,
                                                            BOOL layOutChildren,
                                                            TkLayoutNode** child, LPARAM extra)
{
    return CreateDockableNode(id, frame, WndNodeFactory(), caption, layOutChildren, child,
                              extra);
}
