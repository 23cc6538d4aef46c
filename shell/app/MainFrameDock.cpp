// The docked windows of the main frame and the views in their tabs.
#include "shell/app/MainFrame.h"

#include "core/doc/ZymDoc.h"
#include "shell/app/DockedViews.h"
#include "shell/app/WindowPlacementText.h"
#include "shell/app/ZymApp.h"
#include "shell/app/ZymResources.h"

#include "toolkit/docking/TkInsertConstraints.h"

namespace
{
struct DockWindowInfo
{
    const char* section;
    const char* caption;
    UINT id;
    // The tab window's tab style; the device-traffic window is a view.
    DWORD tabStyle;
    DWORD side;
    RECT defaultRect;
    BOOL defaultVisible;
};

const DockWindowInfo kDockWindows[CMainFrame::kDockWindowCount] = {
    { "Music Info", "Music Info", 110, Tk3DTabWnd::tabsBottom, CBRS_ALIGN_BOTTOM, { 0, 0, 350, 350 }, TRUE },
    { "Library", "Library", 108, Tk3DTabWnd::tabsBottom, CBRS_ALIGN_LEFT, { 0, 0, 270, 500 }, TRUE },
    { "Player", "Player", 114, Tk3DTabWnd::tabsLeft, CBRS_ALIGN_LEFT, { 0, 0, 270, 150 }, TRUE },
    { "Tavlin", "S-Link", ID_VIEW_TAVLIN_DATA, 0, CBRS_ALIGN_RIGHT, { 0, 0, 180, 500 }, FALSE },
};

// "CurRect" holds the right edge less the width of the window's sizing bar;
// it is added back when read, so that a window reopens as wide as it closed.
const int kSavedRightInset = 6;

const int kTabIconSize = 16;
// The icon of the library tab, which holds the album and track lists.
const UINT kLibraryTabIcon = 270;

CDocTemplate* TemplateOf(int number)
{
    CZymApp* app = GetZymApp();
    return app ? app->GetDocTemplate(number) : nullptr;
}

BOOL IsHorizontalSide(DWORD side)
{
    return (side & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
}
}

CRect CMainFrame::GetDockWindowRect(LPCSTR section, const CRect& defaultRect)
{
    CRect rect = defaultRect;
    CString saved = AfxGetApp()->GetProfileString(section, "CurRect", "");
    if (!saved.IsEmpty())
    {
        if (ParseProfileRect(saved, rect))
            rect.right += kSavedRightInset;
        else
            rect = defaultRect;
    }
    WINDOWPLACEMENT placement = { sizeof(placement) };
    GetWindowPlacement(&placement);
    return FitDockRect(rect, placement.rcNormalPosition);
}

BOOL CMainFrame::GetDockWindowVisible(LPCSTR section, BOOL defaultVisible)
{
    return AfxGetApp()->GetProfileInt(section, "Visible", defaultVisible) != 0;
}

void CMainFrame::CreateDockWindows()
{
    m_docking.InitDocking(this, CBRS_ALIGN_ANY, FALSE, nullptr);
    m_docking.SetDockingOption(1, TRUE);
    for (int window = kMusicInfo; window <= kPlayer; ++window)
        CreateDockWindow(static_cast<DockWindow>(window));
    RecalcLayout();
}

void CMainFrame::CreateDockWindow(DockWindow window)
{
    const DockWindowInfo& info = kDockWindows[window];
    if (!m_tabs[window].Create(this, WS_CHILD | WS_VISIBLE | info.tabStyle, info.id))
        return;
    DockWindowNode(window, CreateDockableNode(&m_tabs[window], info.caption));
}

// The factory's floatable gripper: a docked window can also float and dock back.
TkLayoutNode* CMainFrame::CreateDockableNode(CWnd* window, LPCSTR caption)
{
    return m_factory.CreateDockableNode(window, this, caption, FALSE, nullptr, 0);
}

void CMainFrame::DockWindowNode(DockWindow window, TkLayoutNode* node)
{
    if (!node)
        return;
    const DockWindowInfo& info = kDockWindows[window];
    CRect rect = GetDockWindowRect(info.section, info.defaultRect);
    if (window == kPlayer)
    {
        // Below "Library", in its column.
        m_docking.DockNodeAtSide(node, info.side, rect.Height(), FALSE);
    }
    else
    {
        TkDockInsertionConstraints constraints;
        constraints.SetDockSide(info.side);
        constraints.m_newLine = TRUE;
        constraints.m_lineThickness = IsHorizontalSide(info.side) ? rect.Height() : rect.Width();
        m_docking.DockNode(node, &constraints);
    }
    m_nodes[window] = node;
    if (!GetDockWindowVisible(info.section, info.defaultVisible))
        m_docking.ToggleNode(node);
}

void CMainFrame::CreateViews()
{
    CCreateContext context;
    context.m_pCurrentDoc = m_pDoc;
    context.m_pCurrentFrame = this;
    for (int window = kMusicInfo; window <= kPlayer; ++window)
        AddViewTabs(static_cast<DockWindow>(window), context);
    CreateTavlinWindow(context);
}

void CMainFrame::AddViewTabs(DockWindow window, CCreateContext& context)
{
    Tk3DTabWnd& tabs = m_tabs[window];
    if (!tabs.m_hWnd)
        return;
    if (window == kLibrary)
        CreateLibrarySplitter(context);
    int count = 0;
    const DockedView* views = GetDockedViews(count);
    for (int index = 0; index < count; ++index)
    {
        const DockedView& view = views[index];
        CRuntimeClass* viewClass = GetTemplateViewClass(view.templateNumber);
        if (view.window != window || !viewClass)
            continue;
        context.m_pNewViewClass = viewClass;
        context.m_pNewDocTemplate = TemplateOf(view.templateNumber);
        if (tabs.AddTab(viewClass, view.label, &context, (UINT)-1))
            tabs.SetTabIcon(tabs.GetTabCount() - 1, view.icon, kTabIconSize, kTabIconSize);
    }
    if (tabs.GetTabCount() == 0)
        return;
    tabs.SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    tabs.ActivateTab(0);
}

void CMainFrame::CreateLibrarySplitter(CCreateContext& context)
{
    const int kMinRow = 100;
    const int kPaneWidth = 20;
    Tk3DTabWnd& tabs = m_tabs[kLibrary];
    if (!m_librarySplitter.CreateStatic(&tabs, 2, 1, WS_CHILD | WS_VISIBLE, AFX_IDW_PANE_FIRST))
        return;
    CRect client;
    tabs.GetClientRect(client);
    const int height = client.Height();
    const struct
    {
        int templateNumber;
        int size;
    } rows[] = { { 7, height * 2 / 3 }, { 10, height / 3 } };
    for (int row = 0; row < 2; ++row)
    {
        context.m_pNewViewClass = GetTemplateViewClass(rows[row].templateNumber);
        context.m_pNewDocTemplate = TemplateOf(rows[row].templateNumber);
        m_librarySplitter.CreateView(row, 0, context.m_pNewViewClass, CSize(kPaneWidth, rows[row].size), &context);
        m_librarySplitter.SetRowInfo(row, rows[row].size, kMinRow);
    }
    if (tabs.AddTab(&m_librarySplitter, "Library"))
        tabs.SetTabIcon(tabs.GetTabCount() - 1, kLibraryTabIcon, kTabIconSize, kTabIconSize);
}

void CMainFrame::CreateTavlinWindow(CCreateContext& context)
{
    CRuntimeClass* viewClass = GetTemplateViewClass(kTavlinViewTemplate);
    if (!viewClass)
        return;
    context.m_pNewViewClass = viewClass;
    context.m_pNewDocTemplate = TemplateOf(kTavlinViewTemplate);
    CView* view = CreateDockedView(viewClass, &context, ID_VIEW_TAVLIN_DATA);
    if (!view)
        return;
    view->SendMessage(WM_INITIALUPDATE);
    DockWindowNode(kTavlin, CreateDockableNode(view, kDockWindows[kTavlin].caption));
}

CView* CMainFrame::CreateDockedView(CRuntimeClass* viewClass, CCreateContext* context, UINT id)
{
    CView* view = static_cast<CView*>(viewClass->CreateObject());
    if (!view)
        AfxThrowMemoryException();
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, id, context))
        return nullptr;
    return view;
}

void CMainFrame::SaveDockWindows()
{
    CWinApp* app = AfxGetApp();
    for (int window = kMusicInfo; window < kDockWindowCount; ++window)
    {
        TkLayoutNode* node = m_nodes[window];
        if (!node)
            continue;
        const char* section = kDockWindows[window].section;
        app->WriteProfileInt(section, "Visible", m_docking.IsNodeShown(node, FALSE) ? 1 : 0);
        // A hidden window has no room: the size it last had stays.
        CRect rect = node->GetCurrentRect();
        if (rect.IsRectEmpty())
            continue;
        rect.right -= kSavedRightInset;
        app->WriteProfileString(section, "CurRect", FormatProfileRect(rect));
    }
}
