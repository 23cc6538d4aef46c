#include "platform/mfc/WinApp.h"
#include "platform/mfc/Wnd.h"
#include "platform/mfc/CommonDialogs.h"
#include "platform/mfc/DocTemplate.h"
#include "platform/mfc/FrameWnd.h"

#include "platform/runtime/MessageBoxes.h"

#include <commdlg.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

namespace
{
CWinApp* s_app = NULL;

// The module's file name without folder and extension.
// The program's full path without its extension.
CString ModulePathStem()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    path[length < MAX_PATH ? length : MAX_PATH - 1] = 0;
    CString stem = path;
    int dot = stem.ReverseFind('.');
    return dot > stem.ReverseFind('\\') ? stem.Left(dot) : stem;
}

// RAII for registry keys opened here.
class CRegKeyHolder
{
public:
    explicit CRegKeyHolder(HKEY key) : m_key(key) {}
    ~CRegKeyHolder()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    operator HKEY() const { return m_key; }

private:
    CRegKeyHolder(const CRegKeyHolder&);
    void operator=(const CRegKeyHolder&);

    HKEY m_key;
};
}

const char AFX_NO_PRINTER_TEXT[] = "No printer is installed. Install a printer to print or preview.";

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR appName)
    : m_hInstance(GetModuleHandleA(NULL)), m_lpCmdLine(NULL), m_nCmdShow(SW_SHOWNORMAL),
      m_pDocManager(NULL),      m_pszAppName(NULL), m_pszExeName(NULL), m_pszRegistryKey(NULL), m_pszProfileName(NULL),
      m_pszHelpFilePath(NULL)
{
    s_app = this;
    // A real handle: the pseudo handle would name whichever thread uses it.
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &m_hThread, 0,
                    FALSE, DUPLICATE_SAME_ACCESS);
    m_nThreadID = GetCurrentThreadId();
    m_bAutoDelete = FALSE;

    CString stem = ModulePathStem();
    CString exeName = stem.Mid(stem.ReverseFind('\\') + 1);
    ReplaceText(m_pszExeName, exeName);
    ReplaceText(m_pszHelpFilePath, stem + ".HLP");
    ReplaceText(m_pszProfileName, exeName + ".INI");
    CString title;
    if (appName)
        title = appName;
    else if (!title.LoadString(AFX_IDS_APP_TITLE))
        title = exeName;
    ReplaceText(m_pszAppName, title);
}

CWinApp::~CWinApp()
{
    delete m_pDocManager;
    if (m_hDevMode)
        GlobalFree(m_hDevMode);
    if (m_hDevNames)
        GlobalFree(m_hDevNames);
    ReplaceText(m_pszAppName, NULL);
    ReplaceText(m_pszExeName, NULL);
    ReplaceText(m_pszRegistryKey, NULL);
    ReplaceText(m_pszProfileName, NULL);
    ReplaceText(m_pszHelpFilePath, NULL);
    if (s_app == this)
        s_app = NULL;
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

void CWinApp::OnFilePrintSetup()
{
    PRINTDLGA pd = {};
    pd.lStructSize = sizeof(pd);
    CWnd* main = AfxGetMainWnd();
    pd.hwndOwner = main ? main->GetSafeHwnd() : NULL;
    pd.hDevMode = m_hDevMode;
    pd.hDevNames = m_hDevNames;
    if (!m_hDevNames)
    {
        // The set-up dialog would only fail without a default printer.
        pd.Flags = PD_RETURNDEFAULT;
        if (!::PrintDlgA(&pd))
        {
            AfxMessageBox(AFX_NO_PRINTER_TEXT, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
    }
    pd.Flags = PD_PRINTSETUP;
    ::PrintDlgA(&pd);
    // The dialog may hand back new memory in place of what it was given.
    m_hDevMode = pd.hDevMode;
    m_hDevNames = pd.hDevNames;
}

void CWinApp::WinHelp(DWORD_PTR data, UINT command)
{
    CWnd* main = AfxGetMainWnd();
    ::WinHelpA(main ? main->GetSafeHwnd() : NULL, m_pszHelpFilePath, command, data);
}

void CWinApp::ReplaceText(LPCSTR& member, LPCSTR text)
{
    free((void*)member);
    member = text ? strdup(text) : NULL;
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& info)
{
    switch (info.m_nShellCommand)
    {
    case CCommandLineInfo::FileNothing:
        return TRUE;
    case CCommandLineInfo::FileNew:
        // A program's own ID_FILE_NEW handler comes first.
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, NULL, NULL))
            OnFileNew();
        return m_pMainWnd != NULL;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName) != NULL;
    default:
        return FALSE;
    }
}

void CWinApp::AddDocTemplate(CDocTemplate* docTemplate)
{
    if (!m_pDocManager)
        m_pDocManager = new CDocManager;
    m_pDocManager->AddDocTemplate(docTemplate);
}

POSITION CWinApp::GetFirstDocTemplatePosition() const
{
    return m_pDocManager ? m_pDocManager->GetFirstDocTemplatePosition() : NULL;
}

CDocTemplate* CWinApp::GetNextDocTemplate(POSITION& position) const
{
    return m_pDocManager->GetNextDocTemplate(position);
}

CDocument* CWinApp::OpenDocumentFile(LPCSTR pathName)
{
    return m_pDocManager ? m_pDocManager->OpenDocumentFile(pathName) : NULL;
}

BOOL CWinApp::SaveAllModified()
{
    return !m_pDocManager || m_pDocManager->SaveAllModified();
}

void CWinApp::CloseAllDocuments(BOOL endSession)
{
    if (m_pDocManager)
        m_pDocManager->CloseAllDocuments(endSession);
}

void CWinApp::OnFileNew()
{
    if (m_pDocManager)
        m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen()
{
    POSITION position = GetFirstDocTemplatePosition();
    if (!position)
        return;
    CString filter = GetNextDocTemplate(position)->GetFileFilter();
    CFileDialog dialog(TRUE, NULL, NULL, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                       filter.IsEmpty() ? NULL : (LPCSTR)filter, m_pMainWnd);
    if (dialog.DoModal() == IDOK)
        OpenDocumentFile(dialog.GetPathName());
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

HICON CWinApp::LoadIcon(LPCSTR resourceName) const
{
    return ::LoadIconA(AfxGetResourceHandle(), resourceName);
}

HICON CWinApp::LoadIcon(UINT resourceId) const
{
    return LoadIcon(MAKEINTRESOURCEA(resourceId));
}

HICON CWinApp::LoadStandardIcon(LPCSTR iconName) const
{
    return ::LoadIconA(NULL, iconName);
}

HCURSOR CWinApp::LoadCursor(LPCSTR resourceName) const
{
    return ::LoadCursorA(AfxGetResourceHandle(), resourceName);
}

HCURSOR CWinApp::LoadCursor(UINT resourceId) const
{
    return LoadCursor(MAKEINTRESOURCEA(resourceId));
}

HCURSOR CWinApp::LoadStandardCursor(LPCSTR cursorName) const
{
    return ::LoadCursorA(NULL, cursorName);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& info)
{
    std::vector<CString> parameters = SplitCommandLine(GetCommandLineA());
    for (size_t i = 1; i < parameters.size(); ++i)
    {
        LPCSTR parameter = parameters[i];
        BOOL flag = parameter[0] == '-' || parameter[0] == '/';
        info.ParseParam(flag ? parameter + 1 : parameter, flag, i + 1 == parameters.size());
    }
}

void CWinApp::SetRegistryKey(LPCSTR registryKey)
{
    ReplaceText(m_pszRegistryKey, registryKey);
    ReplaceText(m_pszProfileName, m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT registryKeyId)
{
    CString key;
    key.LoadString(registryKeyId);
    SetRegistryKey(key);
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (!m_pszRegistryKey || !m_pszProfileName)
        return NULL;
    CString path = CString("Software\\") + m_pszRegistryKey + "\\" + m_pszProfileName;
    HKEY key = NULL;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, NULL, &key, NULL) != ERROR_SUCCESS)
        return NULL;
    return key;
}

HKEY CWinApp::GetSectionKey(LPCSTR section)
{
    CRegKeyHolder appKey(GetAppRegistryKey());
    if (!appKey)
        return NULL;
    HKEY key = NULL;
    if (RegCreateKeyExA(appKey, section, 0, NULL, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, NULL, &key, NULL) != ERROR_SUCCESS)
        return NULL;
    return key;
}

BOOL CWinApp::ReadProfileValue(LPCSTR section, LPCSTR entry, DWORD type,
                               std::vector<BYTE>& data)
{
    CRegKeyHolder key(GetSectionKey(section));
    DWORD actualType = 0, size = 0;
    if (!key || RegQueryValueExA(key, entry, NULL, &actualType, NULL, &size) != ERROR_SUCCESS ||
        actualType != type)
        return FALSE;
    data.resize(size);
    if (RegQueryValueExA(key, entry, NULL, &actualType, data.data(), &size) != ERROR_SUCCESS)
        return FALSE;
    data.resize(size);
    return TRUE;
}

BOOL CWinApp::WriteProfileValue(LPCSTR section, LPCSTR entry, DWORD type, const BYTE* data,
                                DWORD size)
{
    CRegKeyHolder key(GetSectionKey(section));
    return key && RegSetValueExA(key, entry, 0, type, data, size) == ERROR_SUCCESS;
}

UINT CWinApp::GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue)
{
    if (!m_pszRegistryKey)
        return GetPrivateProfileIntA(section, entry, defaultValue, m_pszProfileName);
    std::vector<BYTE> data;
    DWORD value = 0;
    if (!ReadProfileValue(section, entry, REG_DWORD, data) || data.size() != sizeof(value))
        return defaultValue;
    memcpy(&value, data.data(), sizeof(value));
    return value;
}

BOOL CWinApp::WriteProfileInt(LPCSTR section, LPCSTR entry, int value)
{
    if (!m_pszRegistryKey)
    {
        char text[16];
        wsprintfA(text, "%d", value);
        return WritePrivateProfileStringA(section, entry, text, m_pszProfileName);
    }
    DWORD data = (DWORD)value;
    return WriteProfileValue(section, entry, REG_DWORD, (const BYTE*)&data, sizeof(data));
}

CString CWinApp::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue)
{
    if (!defaultValue)
        defaultValue = "";
    if (!m_pszRegistryKey)
    {
        // The ini functions have no way to ask for the length: grow until it fits.
        CString text;
        for (DWORD size = 256;; size *= 2)
        {
            DWORD length = GetPrivateProfileStringA(section, entry, defaultValue,
                                                    text.GetBuffer(size), size, m_pszProfileName);
            text.ReleaseBuffer(length);
            if (length < size - 1)
                return text;
        }
    }
    std::vector<BYTE> data;
    if (!ReadProfileValue(section, entry, REG_SZ, data))
        return defaultValue;
    // Values written by other programs may lack the terminator.
    data.push_back(0);
    return CString((LPCSTR)data.data());
}

BOOL CWinApp::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value)
{
    if (!m_pszRegistryKey)
        return WritePrivateProfileStringA(section, entry, value, m_pszProfileName);
    if (!entry)
    {
        // The whole section goes, with any keys below it.
        CRegKeyHolder appKey(GetAppRegistryKey());
        return appKey && RegDeleteTreeA(appKey, section) == ERROR_SUCCESS;
    }
    if (!value)
    {
        CRegKeyHolder key(GetSectionKey(section));
        return key && RegDeleteValueA(key, entry) == ERROR_SUCCESS;
    }
    return WriteProfileValue(section, entry, REG_SZ, (const BYTE*)value, (DWORD)strlen(value) + 1);
}

BOOL CWinApp::GetProfileBinary(LPCSTR section, LPCSTR entry, BYTE** data, UINT* bytes)
{
    *data = NULL;
    *bytes = 0;
    std::vector<BYTE> value;
    if (!m_pszRegistryKey || !ReadProfileValue(section, entry, REG_BINARY, value))
        return FALSE;
    *data = new BYTE[value.empty() ? 1 : value.size()];
    memcpy(*data, value.data(), value.size());
    *bytes = (UINT)value.size();
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE data, UINT bytes)
{
    return m_pszRegistryKey && WriteProfileValue(section, entry, REG_BINARY, data, bytes);
}

CWinApp* AfxGetApp()
{
    return s_app;
}

LPCSTR AfxGetAppName()
{
    return s_app ? s_app->m_pszAppName : NULL;
}

CWnd* AfxGetMainWnd()
{
    CWinThread* thread = AfxGetThread();
    return thread ? thread->GetMainWnd() : NULL;
}

int AfxWinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int cmdShow)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = commandLine;
    app->m_nCmdShow = cmdShow;
    if (!app->InitInstance())
    {
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}

// A box owned by a window of another thread would need that thread, which may
// be waiting for this one without pumping messages: such a box has no owner.
int AfxMessageBox(LPCSTR text, UINT type, UINT)
{
    CWnd* main = AfxGetMainWnd();
    HWND owner = main ? main->GetSafeHwnd() : NULL;
    if (owner && GetWindowThreadProcessId(owner, NULL) != GetCurrentThreadId())
        owner = NULL;
    if (owner)
        owner = GetLastActivePopup(owner);
    return ShowMessageBox(owner, text, AfxGetAppName(), type);
}

int AfxMessageBox(UINT promptId, UINT type, UINT)
{
    CString prompt;
    prompt.LoadString(promptId);
    return AfxMessageBox(prompt, type);
}
