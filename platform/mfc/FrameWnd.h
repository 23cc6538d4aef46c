// CFrameWnd: a frame window with its menu, accelerators, title and active
// view. The frame lays out its children through the WM_SIZEPARENT
// negotiation: each bar takes its side of the client area, and the pane
// (AFX_IDW_PANE_FIRST) gets what remains. Commands go to the active view
// (and through it to the document), then the frame, then the application.
#pragma once

#include "platform/mfc/Wnd.h"
#include "platform/mfc/Geometry.h"
#include "platform/mfc/Collections.h"

class CDocument;
class CMenu;
class CDocTemplate;
class CView;
class CControlBar;
class CDockBar;
class CDockState;
class CMiniDockFrameWnd;

// Child window ids the frames know.
const UINT AFX_IDW_CONTROLBAR_FIRST = 0xE800;
const UINT AFX_IDW_CONTROLBAR_LAST = 0xE8FF;
const UINT AFX_IDW_TOOLBAR = 0xE800;
const UINT AFX_IDW_STATUS_BAR = 0xE801;
const UINT AFX_IDW_PANE_FIRST = 0xE900;
const UINT AFX_IDW_PANE_LAST = 0xE9FF;
const UINT AFX_IDW_HSCROLL_FIRST = 0xEA00;
const UINT AFX_IDW_VSCROLL_FIRST = 0xEA10;
const UINT AFX_IDW_SIZE_BOX = 0xEA20;
// MDI children get menu ids from here in the window menu.
const UINT AFX_IDM_FIRST_MDICHILD = 0xFF00;

// Standard commands.
const UINT ID_FILE_NEW = 0xE100;
const UINT ID_FILE_OPEN = 0xE101;
const UINT ID_FILE_CLOSE = 0xE102;
const UINT ID_FILE_SAVE = 0xE103;
const UINT ID_FILE_SAVE_AS = 0xE104;
const UINT ID_WINDOW_NEW = 0xE130;
const UINT ID_WINDOW_ARRANGE = 0xE131;
const UINT ID_WINDOW_CASCADE = 0xE132;
const UINT ID_WINDOW_TILE_HORZ = 0xE133;
const UINT ID_WINDOW_TILE_VERT = 0xE134;
const UINT ID_APP_EXIT = 0xE141;
// Show or hide the bar of the same id (the tool bar, the status bar).
const UINT ID_VIEW_TOOLBAR = 0xE800;
const UINT ID_VIEW_STATUS_BAR = 0xE801;

// Frame styles in the class-specific bits of the window style.
const DWORD FWS_ADDTOTITLE = 0x00008000;
const DWORD FWS_PREFIXTITLE = 0x00004000;
const DWORD FWS_SNAPTOBARS = 0x00002000;

// Sent by a parent to each bar while it lays out its children; lParam is an
// AFX_SIZEPARENTPARAMS.
const UINT WM_SIZEPARENT = 0x0361;
// Sent to a view once its frame is complete (see CView::OnInitialUpdate).
const UINT WM_INITIALUPDATE = 0x0364;
// Asks a frame to show a prompt: wParam a string id, or lParam the text.
const UINT WM_SETMESSAGESTRING = 0x0362;
// The prompt of an idle frame.
const UINT AFX_IDS_IDLEMESSAGE = 0xE001;
// Sent by a frame to its floating windows: FS_ACTIVATE or FS_DEACTIVATE tells
// them the frame's caption state; FS_SYNCACTIVE asks whether a window keeps
// the frame's caption active while it has the activation (non-zero: yes).
const UINT WM_FLOATSTATUS = 0x036D;
const DWORD FS_ACTIVATE = 0x0004;
const DWORD FS_DEACTIVATE = 0x0008;
const DWORD FS_SYNCACTIVE = 0x0040;
// Frame flag: the caption shows the frame active while one of its floating
// windows has the activation.
const UINT WF_STAYACTIVE = 0x0020;
// Asks a frame for help: lParam the help id, 0 for the frame to choose one.
// Answers TRUE once help was asked for.
const UINT WM_COMMANDHELP = 0x0365;
// Help ids of commands and of frame resources, apart so that they never meet.
const DWORD HID_BASE_COMMAND = 0x00010000;
const DWORD HID_BASE_RESOURCE = 0x00020000;

// What a frame hides while it shows a print preview, to be put back after.
struct CPrintPreviewState
{
    CPrintPreviewState();
    HMENU hMenu;
    // Bit n: the bar AFX_IDW_CONTROLBAR_FIRST + n was visible.
    DWORD dwStates;
    HWND hWndFocus;
    HACCEL hAccelTable;
};

struct AFX_SIZEPARENTPARAMS
{
    // Positions are deferred into this; NULL when the parent only asks.
    HDWP hDWP;
    // The area still free: a bar takes its part off one side.
    RECT rect;
    // What the bars took together, for parents that size to their bars.
    SIZE sizeTotal;
    BOOL bStretch;
};

// Lays out parent's children: each permanent child with an id in first..last
// gets WM_SIZEPARENT, then the child with id leftOver fills what remains.
void AfxRepositionBars(CWnd* parent, UINT first, UINT last, UINT leftOver,
                       UINT flags = reposDefault, LPRECT rectParam = NULL,
                       LPCRECT rectClient = NULL, BOOL stretch = TRUE);
// Moves a child to rect during a WM_SIZEPARENT pass (or at once without one).
void AfxRepositionWindow(AFX_SIZEPARENTPARAMS* layout, HWND hWnd, LPCRECT rect);

// The frame whose command this thread is routing (NULL outside a command).
CFrameWnd* AfxGetRoutingFrame();
// Gives the frame it replaces, for the caller to put back.
CFrameWnd* AfxSetRoutingFrame(CFrameWnd* frame);

// What a frame needs to make its view: handed to LoadFrame and Create, and on
// through WM_CREATE.
struct CCreateContext
{
    CCreateContext();
    CRuntimeClass* m_pNewViewClass;
    CDocument* m_pCurrentDoc;
    CDocTemplate* m_pNewDocTemplate;
    CView* m_pLastView;
    CFrameWnd* m_pCurrentFrame;
};

class CFrameWnd : public CWnd
{
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();

    static const CRect rectDefault;

    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* parentWnd = NULL, LPCSTR menuName = NULL,
                DWORD exStyle = 0, CCreateContext* context = NULL);
    // Takes the title (the text of string resource id up to the first newline),
    // the menu, the accelerators and the icon of resource id.
    virtual BOOL LoadFrame(UINT resourceId, DWORD style = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parentWnd = NULL, CCreateContext* context = NULL);
    BOOL LoadAccelTable(LPCSTR resourceName);

    virtual void RecalcLayout(BOOL notify = TRUE);

    CView* GetActiveView() const;
    // With notify the views hear of it through OnActivateView.
    void SetActiveView(CView* view, BOOL notify = TRUE);
    virtual CDocument* GetActiveDocument();
    // The frame whose view is active: this one, or an MDI frame's active child.
    virtual CFrameWnd* GetActiveFrame();
    virtual void ActivateFrame(int cmdShow = -1);
    void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);

    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL IsFrameWnd() const override;
    // The frame is the routing frame while its command runs.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Border space around the pane (FrameWndCommands.cpp): borderGet gives
    // the area the bars leave, borderRequest asks whether widths fit in it,
    // borderSet keeps them (NULL: none) and lays the frame out again.
    enum BorderCmd
    {
        borderGet = 1,
        borderRequest = 2,
        borderSet = 3,
    };
    virtual BOOL NegotiateBorderSpace(UINT borderCmd, LPRECT borderRect);
    // Entering a preview hides the menu, the accelerators and the visible
    // bars into state; leaving puts them back.
    virtual void OnSetPreviewMode(BOOL preview, CPrintPreviewState* state);
    // Shows altMenu, or the frame's own menu without one.
    virtual void OnUpdateFrameMenu(HMENU altMenu);
    // The bar that shows the frame's prompts: its status bar, if any.
    virtual CWnd* GetMessageBar();

    // Control bars and docking (FrameWndDock.cpp). Bars dock into one dock
    // bar per side; layout changes wait for the idle layout (idle flags).
    enum IdleFlags
    {
        idleMenu = 1,
        idleTitle = 2,
        idleNotify = 4,
        idleLayout = 8,
    };
    void EnableDocking(DWORD dockStyle);
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0, LPCRECT rect = NULL);
    void DockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect = NULL);
    void ReDockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect = NULL);
    void FloatControlBar(CControlBar* bar, CPoint point, DWORD style);
    void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);
    CControlBar* GetControlBar(UINT id) const;
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    // The side (a CBRS_ALIGN_ bit) of the first dock bar allowed by dockStyle
    // that rect touches, 0 for none.
    DWORD CanDock(CRect rect, DWORD dockStyle, CDockBar** dockBar = NULL);
    // NULL when the window cannot be made.
    virtual CMiniDockFrameWnd* CreateFloatingFrame(DWORD style);
    virtual CDockBar* CreateDockBar();
    void DelayRecalcLayout(BOOL notify = TRUE);
    void LoadBarState(LPCSTR profileName);
    void SaveBarState(LPCSTR profileName) const;
    void SetDockState(const CDockState& state);
    void GetDockState(CDockState& state) const;
    // Docks every bar that a damaged layout left out of all dock bars.
    void DockLostBars();
    CDockBar* FindDockBarFor(CControlBar* bar) const;

    CPtrList m_listControlBars;
    CRuntimeClass* m_pFloatingFrameClass;
    UINT m_nIdleFlags;
    // The prompt last asked for through WM_SETMESSAGESTRING.
    CString m_strMessage;
    // WF_STAYACTIVE (FrameWndActivate.cpp).
    UINT m_nFlags;
    // Sends WM_FLOATSTATUS with flags to every window this frame owns.
    void NotifyFloatingWindows(DWORD flags);

    // Menu items without a command handler are greyed when this is set.
    BOOL m_bAutoMenuEnable;
    CString m_strTitle;
    UINT m_nIDHelp;
    // Loaded from resources (and so never destroyed), or a template's shared one.
    HACCEL m_hAccelTable;
    // The menu of the frame's own resource, owned by the frame.
    HMENU m_hMenuDefault;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;
    virtual BOOL OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context);
    // Shows "title - document" (or the other way round with FWS_PREFIXTITLE).
    void UpdateFrameTitleForDocument(LPCSTR documentName);
    // Sets the help id, reads the title (string resource id up to its first
    // newline) and gives a window class with the icon of that id.
    LPCSTR LoadFrameResources(UINT resourceId, CString& title);
    // Runs OnCreate's part for frames; MDI children enter with their context.
    int OnCreateHelper(LPCREATESTRUCTA cs, CCreateContext* context);

    int OnCreate(LPCREATESTRUCTA cs);
    void OnSize(UINT type, int cx, int cy);
    void OnSetFocus(CWnd* oldWnd);
    // The active view (of the active child) hears of the frame's activation.
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    // The frame stays active while the activation goes to one of its
    // floating windows that keeps it so, which hear of the state.
    void SyncStayActive(UINT state, CWnd* other);
    // Puts the frame's visible owned windows back above it shortly after its
    // activation (FrameWndOwnedZOrder.cpp).
    void KeepOwnedWindowsAbove();
    // WM_NCACTIVATE: a frame marked WF_STAYACTIVE draws its caption active.
    LRESULT OnNcActivateFrame(WPARAM wParam, LPARAM lParam);
    // Leaving the application takes the mark away.
    LRESULT OnActivateAppFrame(WPARAM wParam, LPARAM lParam);
    void OnClose();
    void OnDestroy();
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    // Sets each command of popup through the update handlers of the route.
    void UpdateMenuCmdUI(CMenu* popup);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    // Sizes a FWS_SNAPTOBARS frame to what its bars need.
    void SnapToBars();
    void OnFileClose();
    // Keeps the command of the menu item under the cursor for help.
    void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);
    // The help id for a request: the one given, the tracked menu item's, else 0.
    UINT CommandHelpId(LPARAM lParam) const;
    // ID_VIEW_ toggles: the bar of the command's id shows or hides.
    BOOL OnBarCheck(UINT id);
    void OnUpdateControlBarMenu(CCmdUI* cmdUI);
    // The shell's DDE conversation with the main frame (ShellOpen.cpp).
    LRESULT OnDDEInitiate(WPARAM wParam, LPARAM lParam);
    LRESULT OnDDEExecute(WPARAM wParam, LPARAM lParam);
    LRESULT OnDDETerminate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CView* m_pViewActive;
    // The command of the menu item being tracked, 0 when none.
    UINT m_nIDTracking;
    // Widths the pane leaves free on each side (borderSet).
    CRect m_rectBorder;
};
