#include "toolkit/frames/TkMultiDocTemplate.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkFrameBar.h"
#include "toolkit/frames/TkDockableFrame.h"
#include "toolkit/frames/TkMDIChildWnd.h"
#include "toolkit/frames/TkVwDockFeedBack.h"
#include "toolkit/colors/TkSysColors.h"

namespace
{
// Bar ids the main frame hands out to docking views start here.
const UINT kFirstViewBarId = 256;
// A docking view's bar: child, visible, dynamic size; the side's alignment
// and border come from its dock bar.
const DWORD kFrameBarStyle = WS_CHILD | WS_VISIBLE | CBRS_SIZE_DYNAMIC;
// The bar fills its one child, the frame.
const DWORD kFrameBarExStyle = TKCBRS_FILLCHILD;
// The frame in the bar: child, caption, system menu, document in the title.
const DWORD kDockableFrameStyle = WS_CHILD | WS_CAPTION | WS_SYSMENU | FWS_ADDTOTITLE;
// A frame redrawn after its features changed, nothing else changed.
const UINT kFrameChanged = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED;

struct SideOfDockBar
{
    UINT dockBarId;
    DWORD barStyle;
    int side;
};
const SideOfDockBar kSidesOfDockBars[] = {
    {AFX_IDW_DOCKBAR_TOP, 0x2800, 0},
    {AFX_IDW_DOCKBAR_LEFT, 0x1400, 1},
    {AFX_IDW_DOCKBAR_BOTTOM, 0x8200, 2},
    {AFX_IDW_DOCKBAR_RIGHT, 0x4100, 3},
};

const SideOfDockBar* FindSide(UINT dockBarId)
{
    for (const SideOfDockBar& side : kSidesOfDockBars)
    {
        if (side.dockBarId == dockBarId)
            return &side;
    }
    return NULL;
}

TkMDIFrameWnd* MainToolkitFrame()
{
    CWnd* main = AfxGetMainWnd();
    return main && main->IsKindOf(RUNTIME_CLASS(TkMDIFrameWnd)) ? static_cast<TkMDIFrameWnd*>(main)
                                                                 : NULL;
}

// The first view among the frame's children.
CView* FirstChildView(CFrameWnd* frame)
{
    for (CWnd* child = frame->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
    {
        CWnd* permanent = CWnd::FromHandlePermanent(child->m_hWnd);
        if (permanent && permanent->IsKindOf(RUNTIME_CLASS(CView)))
            return static_cast<CView*>(permanent);
    }
    return NULL;
}

// Keeps a value for the length of a call and puts the old one back on
// every way out.
template <class T>
class ScopedValue
{
public:
    ScopedValue(T& field, T value) : m_field(field), m_saved(field) { field = value; }
    ~ScopedValue() { m_field = m_saved; }

private:
    T& m_field;
    T m_saved;
};
}  // namespace

IMPLEMENT_DYNAMIC(TkMultiDocTemplate, CMultiDocTemplate)

TkMultiDocTemplate::TkMultiDocTemplate(UINT resourceId, CRuntimeClass* docClass,
                                       CRuntimeClass* frameClass, CRuntimeClass* viewClass,
                                       UINT menuId, CRuntimeClass* dockableFrameClass,
                                       CRuntimeClass* frameBarClass, DWORD features)
    : CMultiDocTemplate(resourceId, docClass, frameClass ? frameClass : RUNTIME_CLASS(TkMDIChildWnd),
                        viewClass),
      m_pDockableFrameClass(dockableFrameClass ? dockableFrameClass
                                               : RUNTIME_CLASS(TkDockableFrame)),
      m_pFrameBarClass(frameBarClass ? frameBarClass : RUNTIME_CLASS(TkFrameBar)),
      m_bDockOnCreate(FALSE), m_nMenuId(menuId ? menuId : resourceId),
      m_dwMDIFrameFeatures(features == (DWORD)-1 ? kDefaultFeatures : features),
      m_dwDockedFrameFeatures(m_dwMDIFrameFeatures), m_nControlBarId(0), m_hOwnMenu(NULL),
      m_hOwnAccel(NULL)
{
}

TkMultiDocTemplate::~TkMultiDocTemplate()
{
    if (m_hOwnMenu)
        ::DestroyMenu(m_hOwnMenu);
}

void TkMultiDocTemplate::LoadTemplate()
{
    CMultiDocTemplate::LoadTemplate();
    if (!m_nMenuId || m_hOwnMenu)
        return;
    LPCSTR name = MAKEINTRESOURCEA(m_nMenuId);
    HINSTANCE module = AfxGetResourceHandle();
    m_hOwnMenu = ::LoadMenuA(module, name);
    m_hOwnAccel = ::LoadAcceleratorsA(module, name);
}

CFrameWnd* TkMultiDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd* other)
{
    return CreateNewFrameEx(doc, other, m_bDockOnCreate, m_nControlBarId);
}

CFrameWnd* TkMultiDocTemplate::CreateNewFrameEx(CDocument* doc, CFrameWnd* other, BOOL dock,
                                                int barId)
{
    m_bDockOnCreate = dock;
    CFrameWnd* frame = NULL;
    if (!dock)
    {
        m_nControlBarId = 0;
        frame = CMultiDocTemplate::CreateNewFrame(doc, other);
        if (frame)
            ApplyFeatures(frame, m_dwMDIFrameFeatures);
    }
    else
    {
        m_nControlBarId = barId;
        UINT dockBarId = 0;
        TkMDIFrameWnd::DockPlacement placement = {0, 0, 0};
        TkMDIFrameWnd::DockSize size = {1.0f, 150, 0};
        TkMDIFrameWnd* main = MainToolkitFrame();
        if (main)
            main->GetNextDockPosition(dockBarId, placement, size);
        frame = CreateDockingFrame(doc, other, dockBarId, &placement, &size);
    }
    m_bDockOnCreate = FALSE;
    m_nControlBarId = 0;
    return frame;
}

CDocument* TkMultiDocTemplate::OpenDocumentFileEx(LPCSTR pathName, BOOL makeVisible, BOOL dock,
                                                  int barId)
{
    m_bDockOnCreate = dock;
    if (dock)
        m_nControlBarId = barId;
    CDocument* doc = OpenDocumentFile(pathName, makeVisible);
    if (dock && doc)
    {
        POSITION position = doc->GetFirstViewPosition();
        if (position)
            ActivateNewFrame(doc->GetNextView(position)->GetParentFrame());
    }
    m_bDockOnCreate = FALSE;
    m_nControlBarId = 0;
    return doc;
}

CFrameWnd* TkMultiDocTemplate::ToggleDocking(CFrameWnd* frame)
{
    return IsDockableFrame(frame) ? UndockFrame(frame) : DockFrame(frame);
}

CFrameWnd* TkMultiDocTemplate::CreateDockingFrame(CDocument* doc, CFrameWnd* other,
                                                  UINT dockBarId,
                                                  const TkMDIFrameWnd::DockPlacement* placement,
                                                  const TkMDIFrameWnd::DockSize* size)
{
    ScopedValue<UINT> resourceId(m_nIDResource, m_nMenuId);
    TkMDIFrameWnd* main = MainToolkitFrame();
    if (!main)
        return NULL;
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = doc;
    context.m_pCurrentFrame = other;
    context.m_pNewDocTemplate = this;

    if (!m_pFrameBarClass)
        m_pFrameBarClass = RUNTIME_CLASS(TkControlBar);
    TkControlBar* bar = static_cast<TkControlBar*>(m_pFrameBarClass->CreateObject());
    if (!bar)
        return NULL;
    bar->m_bAutoDelete = TRUE;

    UINT nextId = 0;
    TkMDIFrameWnd::DockPlacement nextPlacement = {0, 0, 0};
    TkMDIFrameWnd::DockSize nextSize = {1.0f, 150, 0};
    if (!dockBarId || !placement || !size)
        main->GetNextDockPosition(nextId, nextPlacement, nextSize);
    if (!dockBarId)
        dockBarId = nextId;
    if (!placement)
        placement = &nextPlacement;
    if (!size)
        size = &nextSize;

    const SideOfDockBar* side = FindSide(dockBarId);
    DWORD style = (side ? side->barStyle : 0) | kFrameBarStyle;
    UINT barId = m_nControlBarId >= 1
                     ? (UINT)m_nControlBarId
                     : TkControlBar::FindFreeBarId(main->m_listControlBars, kFirstViewBarId);
    m_nControlBarId = 0;
    CString title = doc ? doc->GetTitle() : CString();
    if (!bar->CreateEx(NULL, title, barId, style, kFrameBarExStyle, CRect(0, 0, 0, 0), main))
    {
        // A bar whose window never came is not deleted by its window.
        if (!bar->m_hWnd)
            delete bar;
        return NULL;
    }
    bar->EnableDocking(CBRS_ALIGN_ANY);
    main->DockControlBarEx(bar, *placement, dockBarId, *size);

    if (!m_pDockableFrameClass)
        return NULL;
    CFrameWnd* frame = static_cast<CFrameWnd*>(m_pDockableFrameClass->CreateObject());
    // A frame whose window fails has deleted itself through PostNcDestroy.
    if (!frame || !frame->LoadFrame(m_nIDResource, kDockableFrameStyle, bar, &context))
        return NULL;
    ApplyFeatures(frame, m_dwDockedFrameFeatures);
    return frame;
}

BOOL TkMultiDocTemplate::IsDockableFrame(CFrameWnd* frame)
{
    return frame && frame->IsKindOf(RUNTIME_CLASS(TkDockableFrame));
}

int TkMultiDocTemplate::GetDockSide(CFrameWnd* frame)
{
    CWnd* bar = IsDockableFrame(frame) ? frame->GetParent() : NULL;
    CWnd* dockBar = bar ? bar->GetParent() : NULL;
    if (!dockBar)
        return -1;
    const SideOfDockBar* side = FindSide(dockBar->GetDlgCtrlID());
    if (side)
        return side->side;
    return static_cast<TkDockableFrame*>(frame)->IsFloating() ? 4 : -1;
}

CFrameWnd* TkMultiDocTemplate::DockFrame(CFrameWnd* frame, UINT dockBarId,
                                         const TkMDIFrameWnd::DockPlacement* placement,
                                         const TkMDIFrameWnd::DockSize* size)
{
    if (!frame || IsDockableFrame(frame))
        return NULL;
    CDocument* doc = frame->GetActiveDocument();
    CFrameWnd* docked = NULL;
    {
        // The views move over; the new frame makes none.
        ScopedValue<CRuntimeClass*> viewClass(m_pViewClass, NULL);
        TkMDIFrameWnd::DockPlacement givenPlacement = {0, 0, 0};
        TkMDIFrameWnd::DockSize givenSize = {1.0f, 150, 0};
        TkMDIFrameWnd* main = MainToolkitFrame();
        if (!dockBarId && main)
            main->GetNextDockPosition(dockBarId, givenPlacement, givenSize);
        else if (dockBarId == AFX_IDW_DOCKBAR_TOP || dockBarId == AFX_IDW_DOCKBAR_LEFT)
            givenPlacement = TkMDIFrameWnd::DockPlacement{1, 0, 3};
        else
            givenPlacement = TkMDIFrameWnd::DockPlacement{0, 0, 4};
        docked = CreateDockingFrame(doc, NULL, dockBarId, placement ? placement : &givenPlacement,
                                    size ? size : &givenSize);
    }
    if (docked)
        HandOver(frame, docked, TRUE);
    return docked;
}

CFrameWnd* TkMultiDocTemplate::DockFrame(CFrameWnd* frame)
{
    return DockFrame(frame, 0, NULL, NULL);
}

CFrameWnd* TkMultiDocTemplate::UndockFrame(CFrameWnd* frame)
{
    if (!IsDockableFrame(frame))
        return NULL;
    CDocument* doc = frame->GetActiveDocument();
    CFrameWnd* child = NULL;
    {
        ScopedValue<CRuntimeClass*> viewClass(m_pViewClass, NULL);
        child = CreateNewFrame(doc, NULL);
    }
    if (!child)
        return NULL;
    HandOver(frame, child, FALSE);
    child->SendMessage(WM_SIZE, 0, 0);
    return child;
}

void TkMultiDocTemplate::HandOver(CFrameWnd* old, CFrameWnd* frame, BOOL docking)
{
    CView* active = old->GetActiveView();
    MoveViews(old, frame);
    ITkVwDockFeedBack* feedBack = GetDockFeedBack(active);
    if (feedBack && docking)
        feedBack->OnPreDock(old, frame);
    else if (feedBack)
        feedBack->OnPreUndock(old, frame);
    // The moved view no longer belongs to the old frame, which must not
    // tell it of its own deactivation as it goes.
    old->SetActiveView(NULL, FALSE);
    old->DestroyWindow();
    if (!frame->GetActiveView())
        frame->SetActiveView(FirstChildView(frame), FALSE);
    ActivateNewFrame(frame);
    if (feedBack && docking)
        feedBack->OnPostDock(frame);
    else if (feedBack)
        feedBack->OnPostUndock(frame);
}

void TkMultiDocTemplate::MoveViews(CFrameWnd* from, CFrameWnd* to)
{
    CPtrList children;
    for (HWND child = ::GetWindow(from->m_hWnd, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT))
        children.AddTail(child);
    POSITION position = children.GetHeadPosition();
    while (position)
    {
        HWND child = static_cast<HWND>(children.GetNext(position));
        ::SetParent(child, to->m_hWnd);
        CWnd* permanent = CWnd::FromHandlePermanent(child);
        if (permanent && permanent->IsKindOf(RUNTIME_CLASS(CView)) &&
            (permanent->GetExStyle() & WS_EX_CLIENTEDGE) && tkSysColors.m_bWin4)
            to->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    }
}

BOOL TkMultiDocTemplate::ActivateNewFrame(CFrameWnd* frame)
{
    if (!frame)
        return FALSE;
    frame->SendMessage(WM_ACTIVATE, WA_ACTIVE);
    int cmdShow = -1;
    CWinApp* app = AfxGetApp();
    if (app && frame == app->m_pMainWnd)
    {
        cmdShow = app->m_nCmdShow;
        app->m_nCmdShow = -1;
    }
    frame->ActivateFrame(cmdShow);
    frame->OnUpdateFrameTitle(TRUE);
    return TRUE;
}

void TkMultiDocTemplate::ApplyFeatures(CFrameWnd* frame, DWORD flags)
{
    if (frame->IsKindOf(RUNTIME_CLASS(TkDockableFrame)))
        static_cast<TkDockableFrame*>(frame)->SetFeatures(flags);
    else if (frame->IsKindOf(RUNTIME_CLASS(TkMDIChildWnd)))
        static_cast<TkMDIChildWnd*>(frame)->CreateMsgFilters(flags);
}

void TkMultiDocTemplate::SwitchFeature(BOOL enable, BOOL enabled, DWORD bit, BOOL apply)
{
    if ((enable != FALSE) == (enabled != FALSE))
        return;
    // Switching a feature on turns the filters on and leaves the other
    // features as they are.
    if (enable)
        ModifyFeatures(bit, featureFilters, apply);
    else
        ModifyFeatures(0, bit, apply);
}

void TkMultiDocTemplate::EnableCaptionButtons(BOOL enable, BOOL apply)
{
    SwitchFeature(enable, HasCaptionButtons(), featureNoCaptionButtons, apply);
}

void TkMultiDocTemplate::EnableCaptionDoubleClick(BOOL enable, BOOL apply)
{
    SwitchFeature(enable, HasCaptionDoubleClick(), featureNoCaptionDoubleClick, apply);
}

void TkMultiDocTemplate::EnableCaptionContextMenu(BOOL enable, BOOL apply)
{
    SwitchFeature(enable, HasCaptionContextMenu(), featureNoCaptionContextMenu, apply);
}

BOOL TkMultiDocTemplate::HasCaptionButtons()
{
    return !(m_dwMDIFrameFeatures & featureNoCaptionButtons);
}

BOOL TkMultiDocTemplate::HasCaptionDoubleClick()
{
    return !(m_dwMDIFrameFeatures & featureNoCaptionDoubleClick);
}

BOOL TkMultiDocTemplate::HasCaptionContextMenu()
{
    return !(m_dwMDIFrameFeatures & featureNoCaptionContextMenu);
}

void TkMultiDocTemplate::ModifyFeatures(DWORD remove, DWORD add, BOOL apply)
{
    DWORD mdi = (m_dwMDIFrameFeatures & ~remove) | add;
    DWORD docked = (m_dwDockedFrameFeatures & ~remove) | add;
    BOOL changed = mdi != m_dwMDIFrameFeatures || docked != m_dwDockedFrameFeatures;
    m_dwMDIFrameFeatures = mdi;
    m_dwDockedFrameFeatures = docked;
    if (apply && changed)
        ApplyFeaturesToAllFrames();
}

void TkMultiDocTemplate::ApplyFeaturesToAllFrames()
{
    BOOL maximized = FALSE;
    CFrameWnd* previous = NULL;
    POSITION docs = GetFirstDocPosition();
    while (docs)
    {
        CDocument* doc = GetNextDoc(docs);
        POSITION views = doc->GetFirstViewPosition();
        while (views)
        {
            CFrameWnd* frame = doc->GetNextView(views)->GetParentFrame();
            if (!frame || frame == previous)
                continue;
            previous = frame;
            ApplyFeatures(frame, IsDockableFrame(frame) ? m_dwDockedFrameFeatures
                                                         : m_dwMDIFrameFeatures);
            frame->SetWindowPos(NULL, 0, 0, 0, 0, kFrameChanged);
            maximized = maximized || frame->IsZoomed();
        }
    }
    CWnd* main = AfxGetMainWnd();
    if (maximized && main)
        ::DrawMenuBar(main->m_hWnd);
}

ITkVwDockFeedBack* TkMultiDocTemplate::GetDockFeedBack(CView* view)
{
    return dynamic_cast<ITkVwDockFeedBack*>(view);
}
