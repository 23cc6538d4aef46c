// TkFrameDockingFeature: layout-node docking for a frame window. Over the
// frame's client area it builds a border client with, on each allowed side,
// a border edge holding a sizable dock border holding a grid-line dock
// target, and a client node in the middle. An invisible child of the frame,
// the TkVirtualDockbar, takes part in the frame's WM_SIZEPARENT layout: the
// docked nodes are laid out in the rectangle the frame offers and what is
// left goes back to the frame for its MDI client or view.
//
// Sides: 0 top, 1 bottom, 2 left, 3 right. Every layout node the feature
// makes is owned by its memory manager. Features made in shared mode use
// one docking manager, deleted with the last feature.
#pragma once
#include "toolkit/docking/TkDynGridLineTarget.h"
#include "toolkit/docking/TkLNDockingMgr.h"
#include "toolkit/docking/TkLNSizable.h"
#include "toolkit/docking/TkLayoutNodeBorderSpace.h"
#include "toolkit/docking/TkLayoutNodeWnd.h"
#include "toolkit/docking/TkLayoutWndListener.h"

#include <afxwin.h>

class TkFrameDockingFeatureBase;

class TkVirtualDockbar : public CWnd
{
public:
    // Posted after a deferred layout: the docked windows are realised again
    // once the frame's own batch has been carried out.
    static constexpr UINT kRealizeMessage = 0x15DF;
    // The first id given to a bar created with id 0.
    static constexpr UINT kFirstAutoId = 0xDBCF;

    TkVirtualDockbar() : m_feature(NULL) {}
    // id 0 takes the next automatic id.
    virtual BOOL Create(CWnd* parent, TkFrameDockingFeatureBase* owner, UINT id);

protected:
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    LRESULT OnRealize(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    TkFrameDockingFeatureBase* m_feature;
};

class TkFrameDockingFeatureBase : public ITkLNBorderClientEventRcvr, public ITkFrameDockingFeature
{
public:
    enum Side
    {
        kSideTop = 0,
        kSideBottom = 1,
        kSideLeft = 2,
        kSideRight = 3,
        kSideCount = 4,
    };

    TkFrameDockingFeatureBase();
    ~TkFrameDockingFeatureBase() override;
    TkFrameDockingFeatureBase(const TkFrameDockingFeatureBase&) = delete;
    TkFrameDockingFeatureBase& operator=(const TkFrameDockingFeatureBase&) = delete;

    void OnClientRectChanged(const CRect& client) override;
    // style: the CBRS_ALIGN bits of the allowed sides. Without a manager,
    // perFrameManager gives the feature its own, else the shared one is used.
    virtual BOOL InitDocking(CWnd* frame, DWORD style, BOOL perFrameManager,
                             TkLNDockingMgr* manager);
    virtual BOOL AddNode(TkLayoutNode* node, int side);
    virtual BOOL AddNode(TkLayoutNode* node);
    virtual BOOL AttachNode(TkLayoutNode* node, const CRect* floatRect);
    virtual BOOL ShowNode(TkLayoutNode* node, BOOL show);
    virtual BOOL ToggleNode(TkLayoutNode* node);
    virtual BOOL IsNodeShown(TkLayoutNode* node, BOOL askManager);
    // 0: top and bottom span the full width; 1: left and right the full height.
    virtual void SetDockingOption(int value, BOOL recalc);
    virtual BOOL SetNodeOptions(TkLayoutNode* node, BOOL hideOnClose, BOOL closeItem,
                                const CRect* floatRect);
    // TRUE when the layout was carried out (the bar then realises again later).
    virtual BOOL OnSizeParent(AFX_SIZEPARENTPARAMS* params);
    virtual void RecalcAndRealize();

    virtual TkLNSizableDockBorder* GetSizableBorder(int side);
    virtual TkDynGridLineTarget* GetDockTarget(int side);
    // The edge of the side's sizing splitter (TkLNSizable::kEdge...), 0 for a bad side.
    virtual int GetSideOrientation(int side, BOOL* horizontal);
    // Limits each sizable border's drag to the room the opposite side leaves.
    virtual void ArrangeSides();
    virtual TkDockingNodeConstraints* GetNodeConstraints(TkLayoutNode* node,
                                                         TkLNDockingMgr* manager);

    void GetSideBorders(TkLayoutNode** top, TkLayoutNode** bottom, TkLayoutNode** left,
                        TkLayoutNode** right) override;
    TkLNDockingMgr* GetLayoutDockingMgr() override { return m_manager; }
    TkLNBorderClient* GetLayoutRoot() const { return m_root; }
    TkClientWndNode* GetClientNode() const { return m_client; }
    TkVirtualDockbar* GetVirtualDockbar() const { return m_dockbar; }

    static int GetSideFromStyle(DWORD style);
    static int NormalizeSide(int value);
    // The shared manager while a feature in shared mode exists.
    static TkLNDockingMgr* GetSharedDockingMgr();

protected:
    virtual BOOL CreateLayout(CWnd* frame, DWORD style);
    virtual BOOL CreateLayoutWindow(CWnd* frame, TkLayoutNode* root, TkLNDockingMgr* manager);
    virtual TkDynGridLineTarget* CreateDockTarget(TkLNSizableDockBorder* sizable, int side,
                                                  CWnd* frame) = 0;
    virtual TkVirtualDockbar* CreateVirtualDockbar();
    virtual TkLNBorderClientEdge* CreateSideBorder();
    virtual TkLNSizableDockBorder* CreateSizableBorder();
    virtual TkLNBorderClient* CreateLayoutRoot();
    virtual TkClientWndNode* CreateClientNode();
    virtual TkLayoutWndListener* CreateLayoutWindowObject();
    virtual TkLNDockingMgr* CreateDockingManager(BOOL shared);
    virtual void AddClientNode(CWnd* frame);
    virtual void CreateSideBorders(CWnd* frame, DWORD style);
    virtual void CreateSizableBorders(CWnd* frame);
    virtual void CreateDockTargets(CWnd* frame);
    virtual TkLNDockingMgr* GetDockingManager(BOOL perFrameManager, TkLNDockingMgr* manager);

    // Registers a node the feature made; it is freed with the feature.
    void Own(TkLayoutNode* node);
    // The record's target parent: the root, for docks and dock backs.
    void SetTargetParent(TkLayoutNode* node);
    // The root laid out again in its current rectangle and realised.
    void RelayoutRoot(BOOL realize);

    TkVirtualDockbar* m_dockbar;
    TkLayoutWndListener* m_listener;
    TkLNDockingMgr* m_ownManager;
    TkLNDockingMgr* m_manager;
    TkNodeMemoryManager m_nodes;
    TkLNBorderClient* m_root;
    TkLNBorderClientEdge* m_sides[kSideCount];
    TkLNSizableDockBorder* m_sizables[kSideCount];
    TkDynGridLineTarget* m_targets[kSideCount];
    TkClientWndNode* m_client;
    // The frame the virtual dock bar lives in: the container registered
    // for the root.
    HWND m_frameWnd;
};

class TkFrameDockingFeature : public TkFrameDockingFeatureBase
{
public:
    ~TkFrameDockingFeature() override;
    BOOL AddNode(TkLayoutNode* node) override;
    using TkFrameDockingFeatureBase::AddNode;
    void RecalcAndRealize() override;

    // size: the extent along the line (not with newLine) and the line's thickness.
    virtual BOOL DockNodeAtSide(TkLayoutNode* node, DWORD style, int size, BOOL newLine);
    virtual BOOL DockNode(TkLayoutNode* node, const TkDockInsertionConstraints* c);
    // options: sizing on, the target's grow mode, live tracking (also the
    // target's splitter mode). flag: lay the side out again.
    virtual BOOL SetSideOptionsByStyle(DWORD style, const int options[3], BOOL flag);
    virtual BOOL SetSideOptions(int side, const int options[3], BOOL flag);
    virtual BOOL SetAllSideOptions(const int options[3], BOOL flag);

    TkDockInsertionConstraints& GetDefaultConstraints() { return m_defaults; }

protected:
    TkDynGridLineTarget* CreateDockTarget(TkLNSizableDockBorder* sizable, int side,
                                          CWnd* frame) override;
    TkLNBorderClient* CreateLayoutRoot() override;

private:
    TkDockInsertionConstraints m_defaults;
};
