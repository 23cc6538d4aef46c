// TkLayoutFactory: makes layout nodes and listeners through class factories,
// gives new nodes the factory's defaults and a name, and owns them: its node
// owner and listener owner are the ones that delete them (listeners first,
// so that no listener outlives the tree it lays out). Every creation path
// deletes what it made when a later step fails.
#pragma once

#include "toolkit/docking/TkLayoutNodeDC.h"
#include "toolkit/docking/TkLayoutNodeWnd.h"
#include "toolkit/docking/TkLayoutWndListener.h"
#include "toolkit/docking/TkClassFactory.h"

#include <vector>

typedef TkObjectMemoryManager_T<TkLayoutWndListener> TkListenerMemoryManager;

class TkLayoutFactory
{
public:
    TkLayoutFactory();
    virtual ~TkLayoutFactory();
    TkLayoutFactory(const TkLayoutFactory&) = delete;
    TkLayoutFactory& operator=(const TkLayoutFactory&) = delete;

    // The child windows of parent, first to last, of runtimeClass when given.
    virtual BOOL GetChildWindows(std::vector<CWnd*>& windows, CWnd* parent,
                                 CRuntimeClass* runtimeClass);
    virtual BOOL CreateChildWndNodes(TkLayoutNode* parentNode, CWnd* parent,
                                     CRuntimeClass* runtimeClass);
    // FALSE for a node this factory does not own.
    virtual BOOL DestroyNode(TkLayoutNode* node);
    virtual int FreeAllNodes();
    virtual BOOL DestroyListener(TkLayoutWndListener* listener);
    virtual int FreeAllListeners();
    virtual BOOL InitNewNode(TkLayoutNode* node);

    void SetDefaultSizeLimits(int minCx, int minCy, int maxCx, int maxCy, DWORD flags, BOOL use);
    void SetDefaultReferenceRect(const CRect& rect, BOOL use);
    void SetDefaultInitialRect(const CRect& rect, BOOL use);

    TkLayoutNode* CreateNode(TkClassFactory<TkLayoutNode>* factory, LPCSTR name);
    TkLayoutNodeWnd* CreateWndNode(CWnd* window, CWnd* parent, TkLayoutNode* parentNode,
                                   TkClassFactory<TkLayoutNodeWnd>* factory, LPCSTR name);
    TkLayoutNodeWnd* CreateWndNodeForHandle(HWND window, CWnd* parent, TkLayoutNode* parentNode,
                                            TkClassFactory<TkLayoutNodeWnd>* factory,
                                            LPCSTR name);
    // The number of nodes made (0 when first > last), or -1 without ids.
    int CreateDlgItemNodes(UINT first, UINT last, CWnd* parent, TkLayoutNode* parentNode,
                           std::vector<TkLayoutNodeWnd*>* nodes);
    int CreateDlgItemNodes(const UINT* ids, int count, CWnd* parent, TkLayoutNode* parentNode,
                           std::vector<TkLayoutNodeWnd*>* nodes);
    TkLayoutNodeDCBase* CreateDrawingNode(CWnd* window, TkLayoutNode* parentNode,
                                          TkClassFactory<TkLayoutNodeDCBase>* factory,
                                          LPCSTR name);
    TkLayoutWndListener* CreateListener(TkClassFactory<TkLayoutWndListener>* factory);

    TkClassFactory<TkLayoutNode>* NodeFactory() { return &m_nodeFactory; }
    TkClassFactory<TkLayoutNodeWnd>* WndNodeFactory() { return &m_wndNodeFactory; }
    TkClassFactory<TkLayoutWndListener>* ListenerFactory() { return &m_listenerFactory; }
    TkNodeMemoryManager* NodeOwner() { return &m_nodeOwner; }
    TkListenerMemoryManager* ListenerOwner() { return &m_listenerOwner; }

protected:
    // Names the node, tells it it exists and hands it to the node owner.
    void AdoptNode(TkLayoutNode* node, LPCSTR name);
    // Deletes a node on a failed creation path, owned or not yet.
    void DiscardNode(TkLayoutNode* node);
    TkLayoutNodeWnd* MakeWndNode(HWND window, CWnd* parent, TkLayoutNode* parentNode,
                                 TkClassFactory<TkLayoutNodeWnd>* factory, LPCSTR name);
    int CreateDlgItemNode(UINT id, CWnd* parent, TkLayoutNode* parentNode,
                          std::vector<TkLayoutNodeWnd*>* nodes);

    TkClassFactory_T<TkLayoutNode, TkLayoutNode> m_nodeFactory;
    TkClassFactory_T<TkLayoutNodeWnd, TkLayoutNodeWnd> m_wndNodeFactory;
    TkClassFactory_T<TkLayoutWndListener, TkLayoutWndListener> m_listenerFactory;
    TkNodeMemoryManager m_nodeOwner;
    TkListenerMemoryManager m_listenerOwner;

    BOOL m_useSizeLimits;
    CSize m_minSize;
    CSize m_maxSize;
    DWORD m_limitFlags;
    BOOL m_useReferenceRect;
    CRect m_referenceRect;
    BOOL m_useInitialRect;
    CRect m_initialRect;
};

// The factory of a docking frame: it wraps docked windows in gripper nodes
// and windows in layout trees of their own (AttachLayout). The last argument
// of the gripper and dockable-node operations goes on to the gripper's
// creation; callers pass 0.
class TkLayoutDockFactory : public TkLayoutFactory
{
public:
    virtual TkLayoutNodeDCBase* CreateGripperNode(CWnd* frame,
                                                  TkClassFactory<TkLayoutNodeDCBase>* factory,
                                                  TkLayoutNode* child, LPCSTR caption,
                                                  LPARAM extra);
    // With the default gripper factory.
    virtual TkLayoutNodeDCBase* CreateGripperNode(CWnd* frame, TkLayoutNode* child,
                                                  LPCSTR caption, LPARAM extra);
    virtual TkLayoutNodeDCBase* AddDockableNode(TkLayoutNode* parentNode, CWnd* frame,
                                                TkClassFactory<TkLayoutNode>* factory,
                                                LPCSTR name, TkLayoutNode** child, LPARAM extra);
    virtual TkLayoutNodeDCBase* CreateDockableGroupNode(CWnd* frame,
                                                        TkClassFactory<TkLayoutNode>* factory,
                                                        LPCSTR name, TkLayoutNode** child,
                                                        LPARAM extra);
    virtual TkLayoutNodeDCBase* CreateDockableDrawingNode(
        CWnd* frame, TkClassFactory<TkLayoutNodeDCBase>* factory, LPCSTR name,
        TkLayoutNode** child, LPARAM extra);
    virtual TkLayoutNodeDCBase* CreateDockableDrawingNode(CWnd* frame, LPCSTR name,
                                                          TkLayoutNode** child, LPARAM extra);
    virtual TkLayoutNodeDCBase* CreateDockableNode(CWnd* window, CWnd* frame,
                                                   TkClassFactory<TkLayoutNodeWnd>* factory,
                                                   LPCSTR caption, BOOL layOutChildren,
                                                   TkLayoutNode** child, LPARAM extra);
    virtual TkLayoutNodeDCBase* CreateDockableNode(CWnd* window, CWnd* frame, LPCSTR caption,
                                                   BOOL layOutChildren, TkLayoutNode** child,
                                                   LPARAM extra);
    // The frame's descendant window with the id stands for the window.
    virtual TkLayoutNodeDCBase* CreateDockableNode(UINT id, CWnd* frame,
                                                   TkClassFactory<TkLayoutNodeWnd>* factory,
                                                   LPCSTR caption, BOOL layOutChildren,
                                                   TkLayoutNode** child, LPARAM extra);
    virtual TkLayoutNodeDCBase* CreateDockableNode(UINT id, CWnd* frame, LPCSTR caption,
                                                   BOOL layOutChildren, TkLayoutNode** child,
                                                   LPARAM extra);
    // A scaling root for the window's client area, a listener that lays it
    // out on every size, and a window node for each child window.
    virtual BOOL AttachLayout(CWnd* window);

private:
    // Wraps a node already made in a new gripper; the node is destroyed
    // when that fails.
    TkLayoutNodeDCBase* WrapInGripper(CWnd* frame, TkLayoutNode* inner, LPCSTR name,
                                      TkLayoutNode** child, LPARAM extra);
};
