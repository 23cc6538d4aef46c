#include "faultscout/FaultscoutApp.h"

#include "faultscout/FaultscoutDoc.h"
#include "faultscout/FaultscoutView.h"
#include "faultscout/MainFrame.h"
#include "faultscout/ReporterCommandLine.h"
#include "faultscout/resource.h"

#include <afxwin.h>

#include <algorithm>

namespace {

CFaultscoutApp theApp;

} // namespace

CAttachedProcess& TheAttachedProcess()
{
    static CAttachedProcess link;
    return link;
}

CFaultscoutApp::CFaultscoutApp() : CWinApp("Faultscout"), m_sink(*this)
{
}

BOOL CFaultscoutApp::InitInstance()
{
    SetRegistryKey("Halvane");
    std::vector<CString> words = SplitCommandLine(GetCommandLineA());
    if (!words.empty())
        words.erase(words.begin());
    ReporterCommand command = ParseReporterCommandLine(words);
    switch (command.start) {
    case ReporterStart::Usage:
        AfxMessageBox(kReporterUsage);
        return FALSE;
    case ReporterStart::Refused:
        AfxMessageBox(command.message);
        return FALSE;
    case ReporterStart::Request: {
        CString failure = SendReporterRequest(command.request);
        if (!failure.IsEmpty())
            AfxMessageBox(failure);
        return FALSE;
    }
    case ReporterStart::Attach:
        if (!TheAttachedProcess().Attach(&m_sink, command.writeHandle, command.readHandle))
            AfxMessageBox(TheAttachedProcess().GetError().c_str());
        break;
    case ReporterStart::SavedDump:
        break;
    }
    if (!StartWindow())
        return FALSE;
    if (command.start == ReporterStart::SavedDump) {
        static_cast<CMainFrame*>(m_pMainWnd)->LoadSettings(CMainFrame::kDefaultSection);
        TheAttachedProcess().SetArchiveRoot(static_cast<LPCSTR>(ArchiveRoot()));
        TheAttachedProcess().LoadSavedDump(&m_sink, command.dumpPath);
    }
    return TRUE;
}

// Where the released builds are kept, each as NAME\VERSION\NAME.exe: the
// setting "Archive Root", else the reporter's own folder.
CString CFaultscoutApp::ArchiveRoot()
{
    char own[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, own, sizeof own);
    CString folder(own);
    folder = folder.Left(std::max(0, folder.ReverseFind('\\')));
    return GetProfileString(CMainFrame::kDefaultSection, "Archive Root", folder);
}

// An empty document in its frame, shown as the start asked: a reporter started
// hidden stays hidden until a show request or a report.
bool CFaultscoutApp::StartWindow()
{
    CSingleDocTemplate* docTemplate =
        new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CFaultscoutDoc),
                               RUNTIME_CLASS(CMainFrame), RUNTIME_CLASS(CFaultscoutView));
    AddDocTemplate(docTemplate);
    if (!docTemplate->OpenDocumentFile(nullptr, FALSE) || !m_pMainWnd) {
        // The link's threads find no window and go on without it.
        m_windowReady = true;
        return false;
    }
    // Looked up here: handle maps belong to their thread, and the link's
    // threads need the view object itself.
    m_view = static_cast<CFaultscoutView*>(m_pMainWnd->GetDlgItem(AFX_IDW_PANE_FIRST));
    m_frame = m_pMainWnd->m_hWnd;
    m_shown = m_nCmdShow != SW_HIDE;
    m_pMainWnd->ShowWindow(m_nCmdShow);
    m_pMainWnd->UpdateWindow();
    m_windowReady = true;
    return true;
}

int CFaultscoutApp::ExitInstance()
{
    TheAttachedProcess().Detach();
    return CWinApp::ExitInstance();
}

void CFaultscoutApp::ShowReporter(bool show)
{
    HWND frame = m_frame;
    if (show == m_shown || !frame)
        return;
    m_shown = show;
    ::ShowWindow(frame, show ? SW_SHOWNORMAL : SW_HIDE);
}

void CFaultscoutApp::OnWindowGone()
{
    m_view = nullptr;
    m_frame = nullptr;
}

bool CFaultscoutApp::CSink::WaitForWindow()
{
    while (!m_app.m_windowReady)
        SwitchToThread();
    return m_app.m_frame != nullptr;
}

void CFaultscoutApp::CSink::WriteText(const char* text)
{
    CFaultscoutView* view = WaitForWindow() ? m_app.m_view.load() : nullptr;
    if (view)
        view->QueueText(text);
}

void CFaultscoutApp::CSink::Show(bool show)
{
    if (WaitForWindow())
        m_app.ShowReporter(show);
}

void CFaultscoutApp::CSink::OnAttached()
{
    if (WaitForWindow())
        ::PostMessageA(m_app.m_frame, WM_COMMAND, ID_ATTACHED, 0);
}

// A hidden reporter ends with its program; a shown one stays with its text.
void CFaultscoutApp::CSink::OnProcessEnded()
{
    if (WaitForWindow() && !m_app.m_shown)
        ::PostMessageA(m_app.m_frame, WM_CLOSE, 0, 0);
}
