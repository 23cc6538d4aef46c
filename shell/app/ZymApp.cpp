#include "shell/app/ZymApp.h"

#include "core/doc/ZymDoc.h"
#include "shell/app/ChildFrame.h"
#include "shell/app/DockedViews.h"
#include "shell/app/MainFrame.h"
#include "shell/app/ZymDocTemplate.h"
#include "shell/app/ZymResources.h"

#include "common/AboutDlg.h"
#include "core/crashlink/CrashLink.h"
#include "core/doc/HandOver.h"
#include "common/VersionInfo.h"

#include <afxole.h>

#include <time.h>

namespace
{
CZymApp* s_zymApp = nullptr;

const char kMiscSection[] = "Misc";
const char kWarnedEntry[] = "CommCtrl32 Warned";
const char kCommCtrlWarning[] =
    "ZYM requires a version of comctl32.dll with a version of 4.71 or newer. A comctl32.dll update is "
    "available from the Microsoft website. This is the only time you will see this warning.";
const int kCommonControlsCurrent = 3;
const int kRecentFiles = 4;

DWORD PackedProgramVersion()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    path[length < MAX_PATH ? length : MAX_PATH - 1] = 0;
    CVersionInfo version;
    return version.Open(path) ? version.GetPackedFileVersion() : 0;
}

void RegisterWithCrashLink(const char* name)
{
    if (name)
        TheCrashLink().RegisterCurrentThread(name);
    else
        TheCrashLink().UnregisterCurrentThread();
}
}

BEGIN_MESSAGE_MAP(CZymApp, CWinApp)
    ON_COMMAND(ID_APP_ABOUT_CMD, OnAppAbout)
    ON_COMMAND(ID_FILE_NEW_CMD, OnFileNew)
    ON_COMMAND(ID_FILE_OPEN_CMD, OnFileOpen)
    ON_COMMAND(ID_FILE_PRINT_SETUP_CMD, OnFilePrintSetup)
END_MESSAGE_MAP()

CZymApp* GetZymApp()
{
    return s_zymApp;
}

CString GetProgramFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    path[length < MAX_PATH ? length : MAX_PATH - 1] = 0;
    CString folder = path;
    return folder.Left(folder.ReverseFind('\\') + 1);
}

CZymApp::CZymApp() : CWinApp("zym")
{
    s_zymApp = this;
    time_t now = time(nullptr);
    UserActionStamps::Set(UserActionStamps::kListViews, now);
    UserActionStamps::Set(UserActionStamps::kOtherViews, now);
}

CZymApp::~CZymApp()
{
    s_zymApp = nullptr;
}

BOOL CZymApp::InitInstance()
{
    StartCrashLink("zym", PackedProgramVersion());
    SetThreadRegistration(RegisterWithCrashLink);
    CheckCommonControls();
    if (!StartDde())
        return FALSE;
    if (IsAnotherInstanceRunning())
    {
        HandOverToFirstInstance();
        return FALSE;
    }
    BecomeFirstInstance();
    AfxOleInit();
    SetRegistryKey("Halvane");
    LoadStdProfileSettings(kRecentFiles);
    CreateDocTemplates();
    if (!CreateMainFrame())
        return FALSE;
    EnableShellOpen();
    RegisterShellFileTypes(TRUE);
    RegisterDdeExec();
    if (!ProcessCommandLine())
        return FALSE;
    m_pMainWnd->ShowWindow(m_nCmdShow == 0 ? SW_SHOW : m_nCmdShow);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

int CZymApp::GetCommonControlsLevel()
{
    static int level = 0;
    if (level)
        return level;
    HMODULE module = GetModuleHandleA("COMCTL32");
    if (!module)
        return 0;
    BOOL hasInit = GetProcAddress(module, "InitCommonControlsEx") != nullptr;
    BOOL hasInstall = GetProcAddress(module, "DllInstall") != nullptr;
    level = hasInit ? (hasInstall ? 3 : 2) : 1;
    return level;
}

// Runs before the registry key is set: the value lives in the private
// profile file.
void CZymApp::CheckCommonControls()
{
    if (GetCommonControlsLevel() >= kCommonControlsCurrent || GetProfileInt(kMiscSection, kWarnedEntry, 0) != 0)
        return;
    AfxMessageBox(kCommCtrlWarning, MB_OK);
    WriteProfileInt(kMiscSection, kWarnedEntry, 1);
}

void CZymApp::CreateDocTemplates()
{
    for (int number = 1; number <= kDocTemplateCount; ++number)
        m_pDocTemplates[number - 1] =
            new CZymDocTemplate(IDR_ZYMTYPE, RUNTIME_CLASS(CChildFrame), GetTemplateViewClass(number));
    AddDocTemplate(m_pDocTemplates[0]);
}

CDocTemplate* CZymApp::GetDocTemplate(int number) const
{
    return number >= 1 && number <= kDocTemplateCount ? m_pDocTemplates[number - 1] : nullptr;
}

BOOL CZymApp::CreateMainFrame()
{
    CMainFrame* frame = new CMainFrame;
    CZymDocTemplate::SetHost(frame, &m_operations, GetProgramFolder());
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE))
    {
        delete frame;
        CZymDocTemplate::SetHost(nullptr, nullptr, CString());
        return FALSE;
    }
    m_pMainWnd = frame;
    return TRUE;
}

void CZymApp::RegisterDdeExec()
{
    POSITION position = GetFirstDocTemplatePosition();
    while (position)
    {
        CString typeId;
        CDocTemplate* docTemplate = GetNextDocTemplate(position);
        if (!docTemplate->GetDocString(typeId, CDocTemplate::regFileTypeId) || typeId.IsEmpty())
            continue;
        CString key = typeId + "\\shell\\open\\ddeexec";
        CString command = "[open(\"%1\")]";
        RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, command, command.GetLength());
        RegSetValueA(HKEY_CLASSES_ROOT, key + "\\Application", REG_SZ, m_pszExeName,
                     (DWORD)strlen(m_pszExeName));
    }
}

// A file named on the command line is opened by the document's tick as a
// play list; the document itself always starts empty.
BOOL CZymApp::ProcessCommandLine()
{
    CCommandLineInfo info;
    ParseCommandLine(info);
    if (info.m_nShellCommand == CCommandLineInfo::FileOpen)
    {
        SetHandedOverPlaylist(info.m_strFileName);
        info.m_nShellCommand = CCommandLineInfo::FileNew;
    }
    if (!ProcessShellCommand(info))
        return FALSE;
    m_operations.SetDocument(static_cast<CMainFrame*>(m_pMainWnd)->GetDocument());
    return TRUE;
}

BOOL CZymApp::PreTranslateMessage(MSG* msg)
{
    switch (msg->message)
    {
    case WM_KEYDOWN:
        UserActionStamps::Set(UserActionStamps::kOtherViews, time(nullptr));
        // fall through: a key is an input too
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        UserActionStamps::Set(UserActionStamps::kListViews, time(nullptr));
        break;
    }
    return CWinThread::PreTranslateMessage(msg);
}

int CZymApp::ExitInstance()
{
    EndDde();
    for (int number = 2; number <= kDocTemplateCount; ++number)
    {
        delete m_pDocTemplates[number - 1];
        m_pDocTemplates[number - 1] = nullptr;
    }
    if (m_hInstanceEvent)
        CloseHandle(m_hInstanceEvent);
    m_hInstanceEvent = nullptr;
    return CWinApp::ExitInstance();
}

void CZymApp::OnAppAbout()
{
    CAboutDlg about(m_pMainWnd, IDC_ZYM_ABOUT_VERSION);
    about.DoModal();
}
