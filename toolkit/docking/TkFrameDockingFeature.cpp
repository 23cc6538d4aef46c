#include "toolkit/docking/TkFrameDockingFeature.h"
#include "toolkit/docking/TkDockingListener.h"

#include "toolkit/docking/TkDockProtocol.h"

#include <afxext.h>

namespace
{
UINT g_nextDockbarId = TkVirtualDockbar::kFirstAutoId;

int g_featureCount = 0;
TkLNDockingMgr* g_sharedManager = NULL;

// Per side: its CBRS_ALIGN bit, the border client position and the edge
// flags (left, top, right, bottom) of its border edge.
const struct
{
    DWORD align;
    int edges[4];
} kSides[TkFrameDockingFeatureBase::kSideCount] = {
    {CBRS_ALIGN_TOP, {0, 1, 0, 0}},
    {CBRS_ALIGN_BOTTOM, {0, 0, 0, 1}},
    {CBRS_ALIGN_LEFT, {0, 0, 0, 0}},
    {CBRS_ALIGN_RIGHT, {0, 0, 0, 0}},
};

BOOL IsSide(int side)
{
    return side >= 0 && side < TkFrameDockingFeatureBase::kSideCount;
}
}

// ---- TkVirtualDockbar ----

BEGIN_MESSAGE_MAP(TkVirtualDockbar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(TkVirtualDockbar::kRealizeMessage, OnRealize)
END_MESSAGE_MAP()

BOOL TkVirtualDockbar::Create(CWnd* parent, TkFrameDockingFeatureBase* owner, UINT id)
{
    if (!parent || !owner)
        return FALSE;
    if (id == 0)
        id = g_nextDockbarId++;
    if (!CWnd::Create(NULL, NULL, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 0, 0),
                      parent, id))
        return FALSE;
    m_feature = owner;
    return TRUE;
}

LRESULT TkVirtualDockbar::OnSizeParent(WPARAM, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* params = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    if (m_feature && params && m_feature->OnSizeParent(params))
        PostMessage(kRealizeMessage);
    return 0;
}

LRESULT TkVirtualDockbar::OnRealize(WPARAM, LPARAM)
{
    if (m_feature)
        m_feature->RecalcAndRealize();
    return 0;
}

// ---- TkFrameDockingFeatureBase ----

TkFrameDockingFeatureBase::TkFrameDockingFeatureBase()
    : m_dockbar(NULL), m_listener(NULL), m_ownManager(NULL), m_manager(NULL), m_root(NULL),
      m_sides(), m_sizables(), m_targets(), m_client(NULL), m_frameWnd(NULL)
{
    ++g_featureCount;
}

TkFrameDockingFeatureBase::~TkFrameDockingFeatureBase()
{
    if (m_dockbar)
    {
        m_dockbar->DestroyWindow();
        delete m_dockbar;
    }
    delete m_listener;
    if (m_manager && m_root)
        m_manager->UnregisterContainer(m_root);
    delete m_ownManager;
    m_nodes.FreeAll();
    if (--g_featureCount == 0 && g_sharedManager)
    {
        delete g_sharedManager;
        g_sharedManager = NULL;
    }
}

TkLNDockingMgr* TkFrameDockingFeatureBase::GetSharedDockingMgr()
{
    return g_sharedManager;
}

int TkFrameDockingFeatureBase::GetSideFromStyle(DWORD style)
{
    return TkDockInsertionConstraints::SideFromStyle(style);
}

int TkFrameDockingFeatureBase::NormalizeSide(int value)
{
    if (value == kSideLeft || value == kSideRight)
        return value;
    return value ? kSideBottom : kSideTop;
}

void TkFrameDockingFeatureBase::OnClientRectChanged(const CRect&)
{
    ArrangeSides();
}

BOOL TkFrameDockingFeatureBase::InitDocking(CWnd* frame, DWORD style, BOOL perFrameManager,
                                            TkLNDockingMgr* manager)
{
    if (!frame || !frame->GetSafeHwnd() || m_dockbar)
        return FALSE;
    m_frameWnd = frame->m_hWnd;
    m_dockbar = CreateVirtualDockbar();
    BOOL made = m_dockbar && m_dockbar->Create(frame, this, 0) && CreateLayout(frame, style);
    if (made)
    {
        m_manager = GetDockingManager(perFrameManager, manager);
        made = CreateLayoutWindow(frame, m_root, m_manager);
    }
    if (!made)
    {
        delete m_dockbar;
        m_dockbar = NULL;
        return FALSE;
    }
    RelayoutRoot(FALSE);
    return TRUE;
}

void TkFrameDockingFeatureBase::Own(TkLayoutNode* node)
{
    m_nodes.Manage(node);
    node->SetMemoryManager(&m_nodes, FALSE);
}

void TkFrameDockingFeatureBase::RelayoutRoot(BOOL realize)
{
    if (!m_root)
        return;
    CRect result;
    m_root->RecalcLayout(result, m_root->GetCurrentRect(), FALSE, TRUE);
    if (realize)
        m_root->RealizeNodes(FALSE);
}

BOOL TkFrameDockingFeatureBase::CreateLayout(CWnd* frame, DWORD style)
{
    m_root = CreateLayoutRoot();
    if (!m_root)
        return FALSE;
    Own(m_root);
    m_root->SetReceiver(this);
    AddClientNode(frame);
    CreateSideBorders(frame, style);
    CreateSizableBorders(frame);
    CreateDockTargets(frame);
    return TRUE;
}

void TkFrameDockingFeatureBase::AddClientNode(CWnd*)
{
    m_client = CreateClientNode();
    Own(m_client);
    m_root->AddBorderNode(m_client, TkLNBorderClient::kClient);
}

void TkFrameDockingFeatureBase::CreateSideBorders(CWnd* frame, DWORD style)
{
    for (int side = 0; side < kSideCount; ++side)
    {
        if (!(style & kSides[side].align))
            continue;
        TkLNBorderClientEdge* border = CreateSideBorder();
        const int* e = kSides[side].edges;
        border->SetNodeWnd(frame->m_hWnd);
        border->SetEdgeFlags(e[0], e[1], e[2], e[3]);
        Own(border);
        m_root->AddBorderNode(border, side);
        m_sides[side] = border;
    }
}

void TkFrameDockingFeatureBase::CreateSizableBorders(CWnd* frame)
{
    for (int side = 0; side < kSideCount; ++side)
    {
        if (!m_sides[side])
            continue;
        TkLNSizableDockBorder* sizable = CreateSizableBorder();
        BOOL horizontal;
        sizable->SetDockSide(side);
        sizable->SetSizableEdges(frame, TRUE, GetSideOrientation(side, &horizontal));
        m_sides[side]->AddChildNode(sizable);
        Own(sizable);
        m_sizables[side] = sizable;
    }
}

void TkFrameDockingFeatureBase::CreateDockTargets(CWnd* frame)
{
    for (int side = 0; side < kSideCount; ++side)
    {
        if (!m_sizables[side])
            continue;
        m_targets[side] = CreateDockTarget(m_sizables[side], side, frame);
        if (m_targets[side])
            Own(m_targets[side]);
    }
}

TkVirtualDockbar* TkFrameDockingFeatureBase::CreateVirtualDockbar()
{
    return new TkVirtualDockbar;
}

TkLNBorderClientEdge* TkFrameDockingFeatureBase::CreateSideBorder()
{
    return new TkLNBorderClientEdge;
}

TkLNSizableDockBorder* TkFrameDockingFeatureBase::CreateSizableBorder()
{
    return new TkLNSizableDockBorder;
}

TkLNBorderClient* TkFrameDockingFeatureBase::CreateLayoutRoot()
{
    return new TkLNBorderClient;
}

TkClientWndNode* TkFrameDockingFeatureBase::CreateClientNode()
{
    return new TkClientWndNode;
}

TkLayoutWndListener* TkFrameDockingFeatureBase::CreateLayoutWindowObject()
{
    return new TkDockingListener;
}

TkLNDockingMgr* TkFrameDockingFeatureBase::CreateDockingManager(BOOL)
{
    return new TkLNDockingMgr;
}

TkLNDockingMgr* TkFrameDockingFeatureBase::GetDockingManager(BOOL perFrameManager,
                                                             TkLNDockingMgr* manager)
{
    if (manager)
        return manager;
    if (perFrameManager)
    {
        if (!m_ownManager)
            m_ownManager = CreateDockingManager(FALSE);
        return m_ownManager;
    }
    if (!g_sharedManager)
        g_sharedManager = CreateDockingManager(TRUE);
    return g_sharedManager;
}

// The frame lays the tree out through WM_SIZEPARENT, so the listener does
// not lay it out on WM_SIZE; it paints the edges and carries the messages.
// Until the docking listener exists, the feature registers the frame as
// the tree's container itself.
BOOL TkFrameDockingFeatureBase::CreateLayoutWindow(CWnd* frame, TkLayoutNode* root,
                                                   TkLNDockingMgr* manager)
{
    if (!frame || !root || !manager)
        return FALSE;
    TkLayoutWndListener* listener = CreateLayoutWindowObject();
    if (!listener)
        return FALSE;
    listener->SetAutoLayout(FALSE);
    // A docking listener runs the frame's drags with this manager and
    // registers the frame's container itself.
    TkDockingListener* docking = dynamic_cast<TkDockingListener*>(listener);
    BOOL started = docking ? docking->Initialize(root, frame, manager, 1, FALSE, FALSE)
                           : listener->AutoInitLayout(root, frame, 1, FALSE, FALSE);
    if (!started)
    {
        delete listener;
        return FALSE;
    }
    m_listener = listener;
    if (!manager->GetContainerOf(root))
        manager->RegisterContainer(root, new TkLNHwndContainer(frame));
    return TRUE;
}

BOOL TkFrameDockingFeatureBase::OnSizeParent(AFX_SIZEPARENTPARAMS* params)
{
    if (!params || !m_root || !m_client)
        return FALSE;
    if (!params->hDWP)
    {
        params->rect = m_client->GetCurrentRect();
        return FALSE;
    }
    CRect result;
    m_root->RecalcLayout(result, CRect(params->rect), FALSE, TRUE);
    params->rect = m_client->GetCurrentRect();
    ArrangeSides();
    m_root->RealizeNodes(FALSE);
    return TRUE;
}

void TkFrameDockingFeatureBase::RecalcAndRealize()
{
    if (m_root)
        m_root->RealizeNodes(FALSE);
}

TkLNSizableDockBorder* TkFrameDockingFeatureBase::GetSizableBorder(int side)
{
    return IsSide(side) ? m_sizables[side] : NULL;
}

TkDynGridLineTarget* TkFrameDockingFeatureBase::GetDockTarget(int side)
{
    return IsSide(side) ? m_targets[side] : NULL;
}

int TkFrameDockingFeatureBase::GetSideOrientation(int side, BOOL* horizontal)
{
    static const struct
    {
        BOOL horizontal;
        int edge;
    } kOrientations[kSideCount] = {
        {TRUE, TkLNSizable::kEdgeBottom},
        {TRUE, TkLNSizable::kEdgeTop},
        {FALSE, TkLNSizable::kEdgeRight},
        {FALSE, TkLNSizable::kEdgeLeft},
    };
    BOOL h = IsSide(side) ? kOrientations[side].horizontal : TRUE;
    if (horizontal)
        *horizontal = h;
    return IsSide(side) ? kOrientations[side].edge : 0;
}

void TkFrameDockingFeatureBase::ArrangeSides()
{
    if (!m_root)
        return;
    CRect r = m_root->GetCurrentRect();
    CRect limits[kSideCount] = {r, r, r, r};
    if (m_sides[kSideBottom])
        limits[kSideTop].bottom = m_sides[kSideBottom]->GetCurrentRect().top;
    if (m_sides[kSideTop])
        limits[kSideBottom].top = m_sides[kSideTop]->GetCurrentRect().bottom;
    if (m_sides[kSideRight])
        limits[kSideLeft].right = m_sides[kSideRight]->GetCurrentRect().left;
    if (m_sides[kSideLeft])
        limits[kSideRight].left = m_sides[kSideLeft]->GetCurrentRect().right;
    for (int side = 0; side < kSideCount; ++side)
        if (m_sizables[side])
            m_sizables[side]->SetLimitRect(limits[side], TRUE);
}

TkDockingNodeConstraints* TkFrameDockingFeatureBase::GetNodeConstraints(TkLayoutNode* node,
                                                                        TkLNDockingMgr* manager)
{
    return node && manager ? manager->GetConstraints(node, TRUE) : NULL;
}

void TkFrameDockingFeatureBase::GetSideBorders(TkLayoutNode** top, TkLayoutNode** bottom,
                                               TkLayoutNode** left, TkLayoutNode** right)
{
    TkLayoutNode** out[kSideCount] = {top, bottom, left, right};
    for (int side = 0; side < kSideCount; ++side)
        if (out[side])
            *out[side] = m_sides[side];
}

void TkFrameDockingFeatureBase::SetTargetParent(TkLayoutNode* node)
{
    TkDockingNodeConstraints* record = GetNodeConstraints(node, m_manager);
    ITkBorderTargetParent* parent = dynamic_cast<ITkBorderTargetParent*>(m_root);
    if (record && parent)
        record->m_targetParent = parent;
}

BOOL TkFrameDockingFeatureBase::AddNode(TkLayoutNode* node, int side)
{
    TkDynGridLineTarget* target = GetDockTarget(side);
    if (!node || !target || target->AddChildNode(node) == -1)
        return FALSE;
    GetNodeConstraints(node, m_manager);
    return TRUE;
}

BOOL TkFrameDockingFeatureBase::AddNode(TkLayoutNode* node)
{
    return AddNode(node, kSideTop);
}

BOOL TkFrameDockingFeatureBase::AttachNode(TkLayoutNode* node, const CRect* floatRect)
{
    ITkDockInitiator* initiator = dynamic_cast<ITkDockInitiator*>(node);
    if (!initiator || !m_manager || !m_client)
        return FALSE;
    if (!m_manager->GetConstraints(node, FALSE) && !node->GetParentNode())
        m_client->AddChildNode(node);
    SetTargetParent(node);
    return initiator->FloatNode(m_manager, floatRect);
}

BOOL TkFrameDockingFeatureBase::ShowNode(TkLayoutNode* node, BOOL show)
{
    ITkHideableNode* hideable = dynamic_cast<ITkHideableNode*>(node);
    if (!hideable)
        return FALSE;
    // A hidden node leaves its tree: its old top is taken before.
    TkLayoutNode* top = show ? NULL : node->GetRootNode();
    if (!hideable->ShowNodeCounted(show, TRUE, TRUE))
        return FALSE;
    if (show)
        top = node->GetRootNode();
    CRect result;
    top->RecalcLayout(result, top->GetCurrentRect(), FALSE, TRUE);
    ITkLNContainer* container = m_manager ? m_manager->FindContainer(top) : NULL;
    if (container)
        container->RecalcFrame(TRUE);
    return TRUE;
}

BOOL TkFrameDockingFeatureBase::IsNodeShown(TkLayoutNode* node, BOOL askManager)
{
    ITkHideableNode* hideable = dynamic_cast<ITkHideableNode*>(node);
    if (!hideable)
        return FALSE;
    ITkLNContainer* container =
        askManager && m_manager ? m_manager->GetContainerOf(node->GetRootNode()) : NULL;
    if (container && !container->IsVisible())
        return FALSE;
    return hideable->IsNodeVisible();
}

BOOL TkFrameDockingFeatureBase::ToggleNode(TkLayoutNode* node)
{
    if (!node)
        return FALSE;
    return ShowNode(node, !IsNodeShown(node, FALSE));
}

void TkFrameDockingFeatureBase::SetDockingOption(int value, BOOL recalc)
{
    if (!m_root)
        return;
    m_root->SetLayoutMode(value);
    if (recalc)
        RelayoutRoot(TRUE);
}

BOOL TkFrameDockingFeatureBase::SetNodeOptions(TkLayoutNode* node, BOOL hideOnClose,
                                               BOOL closeItem, const CRect* floatRect)
{
    TkDockingNodeConstraints* record = GetNodeConstraints(node, m_manager);
    if (!record)
        return FALSE;
    record->m_hideOnClose = hideOnClose;
    record->m_closeItem = closeItem;
    if (floatRect)
        record->SetFloatRect(*floatRect);
    return TRUE;
}

// ---- TkFrameDockingFeature ----

TkFrameDockingFeature::~TkFrameDockingFeature() {}

TkLNBorderClient* TkFrameDockingFeature::CreateLayoutRoot()
{
    return new TkLNDockBorderClient(this);
}

TkDynGridLineTarget* TkFrameDockingFeature::CreateDockTarget(TkLNSizableDockBorder* sizable,
                                                             int side, CWnd* frame)
{
    if (!sizable || !frame)
        return NULL;
    TkDynGridLineTarget* target = new TkDynGridLineTarget;
    BOOL horizontal;
    GetSideOrientation(side, &horizontal);
    target->SetHostAndOrientation(frame->m_hWnd, horizontal);
    target->SetGrowMode(TRUE);
    target->SetSideIndex(side);
    sizable->AddChildNode(target);
    return target;
}

void TkFrameDockingFeature::RecalcAndRealize()
{
    RelayoutRoot(TRUE);
}

BOOL TkFrameDockingFeature::AddNode(TkLayoutNode* node)
{
    return DockNode(node, &m_defaults);
}

BOOL TkFrameDockingFeature::DockNode(TkLayoutNode* node, const TkDockInsertionConstraints* c)
{
    ITkDockInitiator* initiator = dynamic_cast<ITkDockInitiator*>(node);
    TkDockingNodeConstraints* record = GetNodeConstraints(node, m_manager);
    if (!initiator || !record || !c)
        return FALSE;
    record->SetResizableFrom(*c);
    SetTargetParent(node);
    return initiator->DockInto(m_manager, c);
}

BOOL TkFrameDockingFeature::DockNodeAtSide(TkLayoutNode* node, DWORD style, int size,
                                           BOOL newLine)
{
    TkDockInsertionConstraints c;
    c.TkDynGridInsertConstraints::CopyFrom(m_defaults);
    c.SetDockSide(style);
    c.m_newLine = newLine;
    if (!newLine)
        c.m_extent = size;
    c.m_lineThickness = size;
    return DockNode(node, &c);
}

BOOL TkFrameDockingFeature::SetSideOptions(int side, const int options[3], BOOL flag)
{
    TkLNSizableDockBorder* sizable = GetSizableBorder(side);
    TkDynGridLineTarget* target = GetDockTarget(side);
    if (!sizable || !options)
        return FALSE;
    sizable->SetSizingEnabled(options[0], options[2], flag);
    if (target)
    {
        target->SetGrowMode(options[1]);
        target->SetSplitterMode(options[2]);
    }
    return TRUE;
}

BOOL TkFrameDockingFeature::SetSideOptionsByStyle(DWORD style, const int options[3], BOOL flag)
{
    return SetSideOptions(GetSideFromStyle(style), options, flag);
}

BOOL TkFrameDockingFeature::SetAllSideOptions(const int options[3], BOOL flag)
{
    BOOL all = TRUE;
    for (int side = 0; side < kSideCount; ++side)
        all = SetSideOptions(side, options, flag) && all;
    return all;
}
