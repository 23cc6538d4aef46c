#include "shell/app/MainFrame.h"

#include "core/doc/ZymDoc.h"

#include "shell/app/WindowPlacementText.h"
#include "shell/app/ZymApp.h"
#include "shell/app/ZymResources.h"

#include "common/AboutDlg.h"
#include "shell/options/DocOptionsHost.h"
#include "mp3/player/MPEGPlayerThread.h"
#include "shell/options/OptionsSheet.h"
#include "shell/dialogs/TipDlg.h"

#include "toolkit/menus/TkMDIMenuBar.h"
#include "toolkit/toolbars/TkToolBarManager.h"

#include <locale.h>

namespace
{
const char kSection[] = "Main Frame";
const char kDefaultRect[] = "0    0    800  638  ";
// The profile name of the bar layout and the tool-bar manager's options.
const char kBarStateName[] = "CustomTB";
const UINT kTimerId = 0;
const UINT kTimerPeriodMs = 100;
const int kAnimatedIconFrames = 18;
const DWORD kMp3ThreadEndMs = 5000;
const UINT kIndicators[] = { ID_SEPARATOR_PANE, ID_INDICATOR_CAPS_PANE, ID_INDICATOR_NUM_PANE,
                             ID_INDICATOR_SCRL_PANE };
}

IMPLEMENT_DYNAMIC(CMainFrame, TkWorkbook)

CMainFrame::CMainFrame() : m_strProgramFolder(GetProgramFolder())
{
    SetControlBarManager(new TkToolBarManager(this));
    m_pMenuBar = new TkMDIMenuBar;
    EnableBmpMenus(TRUE, TRUE);
    // Texts follow the user's locale; numbers keep the C form, since files,
    // the registry and the device texts are read back with the C run-time.
    setlocale(LC_ALL, "");
    setlocale(LC_NUMERIC, "C");
}

// The bars' windows went with the frame's.
CMainFrame::~CMainFrame()
{
    delete m_pControlBarManager;
    delete m_pMenuBar;
}

TkToolBarManager* CMainFrame::GetToolBarManager() const
{
    return static_cast<TkToolBarManager*>(m_pControlBarManager);
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs)
{
    // The document writes the title itself.
    cs.style &= ~FWS_ADDTOTITLE;
    return TkWorkbook::PreCreateWindow(cs);
}

void CMainFrame::ActivateFrame(int cmdShow)
{
    CFrameWnd::ActivateFrame(cmdShow);
}

int CMainFrame::OnCreate(LPCREATESTRUCTA cs)
{
    if (TkWorkbook::OnCreate(cs) == -1)
        return -1;
    m_strSection = kSection;
    RestorePlacement();
    EnableDocking(CBRS_ALIGN_ANY);
    if (!CreateStatusBar())
        return -1;
    LoadToolBarImages();
    DefineDefaultToolBars();
    EnableDocking(CBRS_ALIGN_ANY);
    TkToolBarManager* manager = GetToolBarManager();
    manager->EnableCoolLook(TRUE, kTkCoolLookBits);
    manager->SetMenuInfo(1, IDR_MAINFRAME);
    LoadBarState(kBarStateName);
    manager->LoadStateFromProfile(kBarStateName);
    m_icon.Prepare(IDB_ANIMATED_ICON, kAnimatedIconFrames, RGB(255, 0, 0));
    if (!StartTimer())
        AfxMessageBox("Unable to start system timer: windows will not update correctly.");
    return 0;
}

void CMainFrame::RestorePlacement()
{
    CWinApp* app = AfxGetApp();
    CRect rect;
    if (!ParseProfileRect(app->GetProfileString(m_strSection, "Rect", kDefaultRect), rect) ||
        rect.right <= rect.left)
        return;
    WINDOWPLACEMENT placement = { sizeof(placement) };
    placement.flags = WPF_SETMINPOSITION;
    placement.showCmd = SW_SHOWNORMAL;
    placement.ptMaxPosition.x = -GetSystemMetrics(SM_CXBORDER);
    placement.ptMaxPosition.y = -GetSystemMetrics(SM_CYBORDER);
    placement.rcNormalPosition = MinimumFrameRect(rect);
    SetWindowPlacement(&placement);
    if (app->GetProfileInt(m_strSection, "max", 0) != 0)
        PostMessage(WM_SYSCOMMAND, SC_MAXIMIZE);
}

BOOL CMainFrame::CreateStatusBar()
{
    return m_statusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) &&
           m_statusBar.SetIndicators(kIndicators, ARRAYSIZE(kIndicators));
}

BOOL CMainFrame::StartTimer()
{
    // A window timer may answer its own id, here 0, when it started: only
    // the last error tells a failure.
    SetLastError(ERROR_SUCCESS);
    m_nTimer = SetTimer(kTimerId, kTimerPeriodMs, nullptr);
    return m_nTimer != 0 || GetLastError() == ERROR_SUCCESS;
}

void CMainFrame::OnClose()
{
    if (!KillTimer(kTimerId))
        AfxMessageBox("Unable to kill system timer.");
    SaveBarState(kBarStateName);
    GetToolBarManager()->SaveStateToProfile(kBarStateName);
    SaveDockWindows();
    HWND window = m_hWnd;
    TkWorkbook::OnClose();
    // A document that refused the close (a task running, a save cancelled or
    // failed) keeps the program running: its tick, auto-save and automation
    // go on, and the next close finds a timer to stop.
    if (::IsWindow(window) && CWnd::FromHandlePermanent(window) == this)
        StartTimer();
}

void CMainFrame::OnDestroy()
{
    SaveWindowPlacement(this, m_strSection);
    if (m_pMp3Thread && !CMPEGPlayerThread::End(m_pMp3Thread, kMp3ThreadEndMs))
        OutputDebugStringA("zym: the MP3 thread did not end\n");
    m_pMp3Thread = nullptr;
    TkWorkbook::OnDestroy();
}

void CMainFrame::ShowStatusIndicator(BOOL show)
{
    m_statusBar.SetPaneText(0, show ? "Waiting for the device server" : "");
}

// The tip waits for a later tick: shown now it would hold up the start-up,
// the library and the play list coming up behind it only once it closed.
void CMainFrame::ShowStartupTip()
{
    m_bTipPending = TRUE;
}

void CMainFrame::ShowPendingTip()
{
    m_bTipPending = FALSE;
    CTipDlg tip(this);
    if (tip.m_bStartup)
        tip.DoModal();
}

void CMainFrame::ShowOptions(CZymOptions& options, const char* title)
{
    if (!m_pDoc)
        return;
    CDocOptionsHost host(*m_pDoc);
    RunOptionsSheet(options, host, title, this);
}

void CMainFrame::PostClose()
{
    PostMessage(WM_CLOSE);
}

CMp3Control* CMainFrame::GetMp3Player()
{
    if (!m_pMp3Thread && m_pDoc)
        m_pMp3Thread = CMPEGPlayerThread::Start(*m_pDoc);
    return m_pMp3Thread ? &m_pMp3Thread->GetPlayer() : nullptr;
}

CString CMainFrame::GetVersionText()
{
    return CAboutDlg::ProgramVersion();
}

void CMainFrame::FatalError(const char* text)
{
    AfxMessageBox(text, MB_OK | MB_ICONSTOP);
    ExitProcess(1);
}
