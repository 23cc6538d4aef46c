// The single-instance link: a named event tells a start that another
// instance runs, and DDE (service "ZYM", topic "ZYM SI Control") carries the
// second start's file to the first.
#include "shell/app/ZymApp.h"

#include "shell/app/OpenRequest.h"

#include "core/doc/HandOver.h"
#include "platform/runtime/MessageBoxes.h"
#include "library/paths/FilePath.h"

namespace
{
const char kService[] = "ZYM";
const char kTopic[] = "ZYM SI Control";
const char kInstanceEvent[] = "ZYM SI Event";
const DWORD kCurrentDirectoryLength = 1024;
const HDDEDATA kConnectAccepted = reinterpret_cast<HDDEDATA>(0x8000);

HDDEDATA CALLBACK SingleInstanceDdeCallback(UINT type, UINT, HCONV, HSZ topic, HSZ, HDDEDATA data, ULONG_PTR,
                                            ULONG_PTR)
{
    CZymApp* app = GetZymApp();
    return app ? app->OnDdeTransaction(type, topic, data) : nullptr;
}

CString DdeDataText(HDDEDATA data)
{
    CString text;
    DWORD size = DdeGetData(data, nullptr, 0, 0);
    if (size == 0)
        return text;
    char* buffer = text.GetBuffer((int)size);
    DdeGetData(data, reinterpret_cast<LPBYTE>(buffer), size, 0);
    // The data need not end in a zero.
    buffer[size] = 0;
    text.ReleaseBuffer();
    return text;
}

CString ResolveAgainstCurrentDirectory(const CString& argument)
{
    char folder[kCurrentDirectoryLength + 1] = "";
    DWORD length = GetCurrentDirectoryA(kCurrentDirectoryLength, folder);
    if (length > kCurrentDirectoryLength)
        folder[0] = 0;
    CFilePath path{ CDirPath(folder) };
    path.Append(static_cast<const char*>(argument));
    return path.GetFullPath();
}
}

BOOL CZymApp::StartDde()
{
    if (DdeInitializeA(&m_idDdeInst, SingleInstanceDdeCallback, 0, 0) != DMLERR_NO_ERROR)
        return FALSE;
    m_hszService = DdeCreateStringHandleA(m_idDdeInst, kService, CP_WINANSI);
    m_hszTopic = DdeCreateStringHandleA(m_idDdeInst, kTopic, CP_WINANSI);
    return TRUE;
}

BOOL CZymApp::IsAnotherInstanceRunning()
{
    HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, kInstanceEvent);
    if (!event)
        return FALSE;
    CloseHandle(event);
    return TRUE;
}

// Without a file to open a second start ends silently, leaving the first
// instance as it is.
void CZymApp::HandOverToFirstInstance()
{
    m_bSecondInstance = 1;
    CCommandLineInfo info;
    ParseCommandLine(info);
    if (info.m_nShellCommand != CCommandLineInfo::FileOpen)
        return;
    CString request = FormatOpenRequest(ResolveAgainstCurrentDirectory(info.m_strFileName));
    m_hDdeConv = DdeConnect(m_idDdeInst, m_hszService, m_hszTopic, nullptr);
    if (!m_hDdeConv)
        return;
    DdeClientTransaction(reinterpret_cast<LPBYTE>(request.GetBuffer(request.GetLength())),
                         request.GetLength() + 1, m_hDdeConv, nullptr, CF_TEXT, XTYP_EXECUTE, 0,
                         &m_dwDdeResult);
    request.ReleaseBuffer();
    DdeDisconnect(m_hDdeConv);
    m_hDdeConv = nullptr;
}

void CZymApp::BecomeFirstInstance()
{
    m_hInstanceEvent = CreateEventA(nullptr, FALSE, FALSE, kInstanceEvent);
    DdeNameService(m_idDdeInst, m_hszService, nullptr, DNS_REGISTER);
}

HDDEDATA CZymApp::OnDdeTransaction(UINT type, HSZ topic, HDDEDATA data)
{
    if (type == XTYP_CONNECT)
    {
        char name[256] = "";
        DdeQueryStringA(m_idDdeInst, topic, name, sizeof(name), CP_WINANSI);
        if (strcmp(name, kTopic) == 0 && m_pMainWnd)
        {
            m_pMainWnd->ShowWindow(SW_RESTORE);
            m_pMainWnd->BringWindowToTop();
            m_pMainWnd->SetForegroundWindow();
        }
        return kConnectAccepted;
    }
    if (type == XTYP_EXECUTE)
    {
        CString path;
        if (ExtractOpenPath(DdeDataText(data), path))
            SetHandedOverPlaylist(path);
    }
    return nullptr;
}

BOOL CZymApp::OnDDECommand(LPSTR command)
{
    CString text = command;
    text.MakeLower();
    CString path;
    if (ExtractOpenPath(text, path))
        SetHandedOverPlaylist(path);
    return TRUE;
}

void CZymApp::EndDde()
{
    if (!m_idDdeInst)
        return;
    if (!m_bSecondInstance && !DdeNameService(m_idDdeInst, m_hszService, nullptr, DNS_UNREGISTER))
        ShowMessageBox(nullptr, "Error", "in ServiceUnRegister", MB_OK);
    if (m_hszService)
        DdeFreeStringHandle(m_idDdeInst, m_hszService);
    if (m_hszTopic)
        DdeFreeStringHandle(m_idDdeInst, m_hszTopic);
    DdeUninitialize(m_idDdeInst);
    m_idDdeInst = 0;
}
