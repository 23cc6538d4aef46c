#include "faultscout/MainFrame.h"

#include "faultscout/FaultscoutApp.h"
#include "faultscout/FaultscoutView.h"
#include "faultscout/resource.h"
#include "platform/runtime/MessageBoxes.h"

#include <afxdlgs.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_MESSAGE(WM_QUERYENDSESSION, OnQueryEndSession)
    ON_COMMAND(ID_ATTACHED, OnAttached)
    ON_COMMAND(ID_DISPLAY_DUMP, OnDisplayDump)
    ON_COMMAND(ID_DISPLAY_THREADS, OnDisplayThreads)
    ON_COMMAND(ID_DISPLAY_HIDE, OnDisplayHide)
    ON_COMMAND(ID_DISPLAY_FONT, OnDisplayFont)
END_MESSAGE_MAP()

const char CMainFrame::kDefaultSection[] = "Faultscout";

namespace {

const char kQuitQuestion[] = "You are still attached to a running process.\nDo you really want to quit?";
const int kDefaultFontHeight = 13;
const int kStandardImages = 15;
const char kDefaultFontFace[] = "MS Sans Serif";

// The common controls' own small images stand in for a bitmap of ours.
const TBBUTTON kToolBarButtons[] = {
    {STD_FILESAVE, ID_FILE_SAVE, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {0, 0, 0, BTNS_SEP, {}, 0, 0},
    {STD_CUT, ID_EDIT_CUT, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {STD_COPY, ID_EDIT_COPY, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {STD_PASTE, ID_EDIT_PASTE, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {0, 0, 0, BTNS_SEP, {}, 0, 0},
    {STD_PRINT, ID_FILE_PRINT, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {STD_FILENEW, ID_FILE_NEW, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {STD_FILEOPEN, ID_FILE_OPEN, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
    {STD_HELP, ID_TEST_LINE, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0},
};

CString FileNamePart(const CString& path)
{
    return path.Mid(path.ReverseFind('\\') + 1);
}

} // namespace

int CMainFrame::OnCreate(LPCREATESTRUCTA cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP;
    m_toolBar = CreateToolbarEx(m_hWnd, style, AFX_IDW_TOOLBAR, kStandardImages, HINST_COMMCTRL,
                                IDB_STD_SMALL_COLOR, kToolBarButtons, ARRAYSIZE(kToolBarButtons),
                                0, 0, 0, 0, sizeof(TBBUTTON));
    return m_toolBar ? 0 : -1;
}

// The tool bar takes the top; the view the rest.
void CMainFrame::RecalcLayout(BOOL notify)
{
    CWnd* view = GetDlgItem(AFX_IDW_PANE_FIRST);
    if (!m_toolBar || !view) {
        CFrameWnd::RecalcLayout(notify);
        return;
    }
    ::SendMessageA(m_toolBar, TB_AUTOSIZE, 0, 0);
    RECT bar, client;
    ::GetWindowRect(m_toolBar, &bar);
    GetClientRect(&client);
    int top = bar.bottom - bar.top;
    view->MoveWindow(0, top, client.right, std::max<int>(0, client.bottom - top));
}

void CMainFrame::OnUpdateFrameTitle(BOOL addToTitle)
{
    if (m_title.IsEmpty())
        CFrameWnd::OnUpdateFrameTitle(addToTitle);
    else
        SetWindowText(m_title);
}

CFaultscoutView* CMainFrame::LogView()
{
    return static_cast<CFaultscoutView*>(GetDlgItem(AFX_IDW_PANE_FIRST));
}

void CMainFrame::LoadSettings(LPCSTR section)
{
    m_section = section;
    CWinApp* app = AfxGetApp();
    CString position = app->GetProfileString(section, "Position");
    int top = 0, left = 0, bottom = 0, right = 0;
    if (std::sscanf(position, "%d %d %d %d", &top, &left, &bottom, &right) == 4)
        MoveWindow(left, top, right - left, bottom - top);
    LOGFONTA font = {};
    CString face = app->GetProfileString(section, "Font face");
    if (face.IsEmpty()) {
        font.lfHeight = kDefaultFontHeight;
        face = kDefaultFontFace;
    } else {
        font.lfHeight = static_cast<int>(app->GetProfileInt(section, "Font size", 0));
    }
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    if (CFaultscoutView* view = LogView())
        view->SetLogFont(font);
}

void CMainFrame::OnDestroy()
{
    CRect window;
    GetWindowRect(&window);
    CString position;
    position.Format("%d %d %d %d", window.top, window.left, window.bottom, window.right);
    AfxGetApp()->WriteProfileString(m_section, "Position", position);
    static_cast<CFaultscoutApp*>(AfxGetApp())->OnWindowGone();
    CFrameWnd::OnDestroy();
}

bool CMainFrame::MayQuit()
{
    CAttachedProcess& link = TheAttachedProcess();
    if (!link.IsAttached() || link.HasCrashed())
        return true;
    return ShowMessageBox(m_hWnd, kQuitQuestion, AfxGetAppName(), MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}

void CMainFrame::OnClose()
{
    if (MayQuit())
        CFrameWnd::OnClose();
}

LRESULT CMainFrame::OnQueryEndSession(WPARAM, LPARAM flags)
{
    if (flags & ENDSESSION_LOGOFF)
        return TRUE;
    return MayQuit();
}

// The watched program has said hello: its settings and its name in the titles.
void CMainFrame::OnAttached()
{
    CString module = FileNamePart(TheAttachedProcess().GetModulePath().c_str());
    LoadSettings(module);
    CString dumpName = module;
    int dot = dumpName.ReverseFind('.');
    dumpName = (dot < 0 ? dumpName : dumpName.Left(dot)) + ".dmp";
    if (CDocument* doc = GetActiveDocument())
        doc->SetTitle(dumpName);
    m_title.Format("%s - Faultscout", static_cast<LPCSTR>(module));
    SetWindowText(m_title);
}

// Reports run on the request thread, never here: a report takes the symbol
// engine and the dump file, and the link's threads call into this window.
// Without a link nothing can race them.
void CMainFrame::RunReport(const CrashLinkHeader& request)
{
    CAttachedProcess& link = TheAttachedProcess();
    if (!link.GetRequestThreadId() || !PostRequest(link.GetRequestThreadId(), request))
        link.HandleMessage(request);
}

void CMainFrame::OnDisplayDump()
{
    RunReport({kLinkDump, 0});
}

void CMainFrame::OnDisplayThreads()
{
    RunReport({kLinkThreads, 0});
}

void CMainFrame::OnDisplayHide()
{
    static_cast<CFaultscoutApp*>(AfxGetApp())->ShowReporter(false);
}

void CMainFrame::OnDisplayFont()
{
    CFaultscoutView* view = LogView();
    if (!view)
        return;
    LOGFONTA font = view->GetLogFont();
    CFontDialog dialog(&font, CF_SCREENFONTS | CF_NOSTYLESEL | CF_NOSCRIPTSEL |
                                  CF_INITTOLOGFONTSTRUCT, nullptr, this);
    if (dialog.DoModal() != IDOK)
        return;
    view->SetLogFont(dialog.m_lf);
    CWinApp* app = AfxGetApp();
    app->WriteProfileString(m_section, "Font face", dialog.m_lf.lfFaceName);
    app->WriteProfileInt(m_section, "Font size", dialog.m_lf.lfHeight);
}
