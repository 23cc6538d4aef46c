// The shell's side of the application: file types registered under
// HKEY_CLASSES_ROOT, the DDE conversation through which the shell hands an
// "open" to the running program, and the recent-file list of the profile.
#include "platform/mfc/WinApp.h"
#include "platform/mfc/DocTemplate.h"
#include "platform/mfc/FrameWnd.h"

#include <dde.h>

#include <string.h>

namespace
{
const char kSystemTopic[] = "system";
const char kOpenCommand[] = "[open(\"";
const char kRecentFileSection[] = "Recent File List";

BOOL SetClassesValue(const CString& key, const CString& value)
{
    return RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, value, value.GetLength()) == ERROR_SUCCESS;
}

CString ModulePath()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    path[length < MAX_PATH ? length : MAX_PATH - 1] = 0;
    return path;
}

// A name atom of an initiate matches when it is the wildcard 0 or the same
// text in any case (atoms of the global table ignore case).
BOOL DdeNameMatches(ATOM asked, ATOM ours)
{
    return asked == 0 || asked == ours;
}

// The execute string of a DDE message: the global block's bytes up to the
// first zero or the block's end, whichever comes first. A block of 16-bit
// characters (a Unicode client whose text was not converted) comes back as
// ANSI.
CString DdeExecuteText(HGLOBAL data)
{
    CString text;
    SIZE_T size = GlobalSize(data);
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    if (!bytes)
        return text;
    if (size >= 2 && bytes[0] && !bytes[1])
    {
        const WCHAR* wide = reinterpret_cast<const WCHAR*>(bytes);
        int count = 0;
        while (count < (int)(size / 2) && wide[count])
            ++count;
        int length = WideCharToMultiByte(CP_ACP, 0, wide, count, NULL, 0, NULL, NULL);
        WideCharToMultiByte(CP_ACP, 0, wide, count, text.GetBuffer(length), length, NULL, NULL);
        text.ReleaseBuffer(length);
    }
    else
    {
        SIZE_T length = 0;
        while (length < size && bytes[length])
            ++length;
        memcpy(text.GetBuffer((int)length), bytes, length);
        text.ReleaseBuffer((int)length);
    }
    GlobalUnlock(data);
    return text;
}
}

void CWinApp::EnableShellOpen()
{
    if (m_atomApp)
        return;
    m_atomApp = GlobalAddAtomA(m_pszExeName);
    m_atomSystemTopic = GlobalAddAtomA(kSystemTopic);
}

void CWinApp::RegisterShellFileTypes(BOOL compat)
{
    CString module = ModulePath();
    CString quotedModule = "\"" + module + "\"";
    int iconIndex = 0;
    POSITION position = GetFirstDocTemplatePosition();
    while (position)
    {
        CDocTemplate* docTemplate = GetNextDocTemplate(position);
        ++iconIndex;
        CString typeId, typeName, extension;
        if (!docTemplate->GetDocString(typeId, CDocTemplate::regFileTypeId) || typeId.IsEmpty())
            continue;
        docTemplate->GetDocString(typeName, CDocTemplate::regFileTypeName);
        docTemplate->GetDocString(extension, CDocTemplate::filterExt);
        SetClassesValue(typeId, typeName);
        CString icon;
        icon.Format("%s,%d", (LPCSTR)module, iconIndex);
        SetClassesValue(typeId + "\\DefaultIcon", icon);
        // With the shell's DDE the running program takes the file; the
        // command line only starts it.
        SetClassesValue(typeId + "\\shell\\open\\command",
                        m_atomApp ? quotedModule : quotedModule + " \"%1\"");
        if (compat)
        {
            SetClassesValue(typeId + "\\shell\\print\\command", quotedModule + " /p \"%1\"");
            SetClassesValue(typeId + "\\shell\\printto\\command",
                            quotedModule + " /pt \"%1\" \"%2\" \"%3\" \"%4\"");
        }
        if (!extension.IsEmpty())
            SetClassesValue(extension, typeId);
    }
}

BOOL CWinApp::OnDDECommand(LPSTR command)
{
    const char* open = command ? strstr(command, kOpenCommand) : NULL;
    if (!open)
        return FALSE;
    CString path = open + strlen(kOpenCommand);
    int quote = path.Find('"');
    if (quote >= 0)
        path = path.Left(quote);
    OpenDocumentFile(path);
    return TRUE;
}

void CWinApp::LoadStdProfileSettings(UINT maxMRU)
{
    m_nMaxMRU = maxMRU;
    m_recentFiles.RemoveAll();
    for (UINT index = 1; index <= maxMRU; ++index)
    {
        CString entry;
        entry.Format("File%u", index);
        CString name = GetProfileString(kRecentFileSection, entry);
        if (!name.IsEmpty())
            m_recentFiles.Add(name);
    }
}

LRESULT CFrameWnd::OnDDEInitiate(WPARAM wParam, LPARAM lParam)
{
    CWinApp* app = AfxGetApp();
    if (!app || !app->m_atomApp || app->m_pMainWnd != this ||
        !DdeNameMatches(LOWORD(lParam), app->m_atomApp) ||
        !DdeNameMatches(HIWORD(lParam), app->m_atomSystemTopic))
        return 0;
    // The client deletes the atoms of the answer.
    ::SendMessageA(reinterpret_cast<HWND>(wParam), WM_DDE_ACK, reinterpret_cast<WPARAM>(m_hWnd),
                   MAKELPARAM(GlobalAddAtomA(app->m_pszExeName), GlobalAddAtomA(kSystemTopic)));
    return 0;
}

LRESULT CFrameWnd::OnDDEExecute(WPARAM wParam, LPARAM lParam)
{
    UINT_PTR unused = 0, handle = 0;
    UnpackDDElParam(WM_DDE_EXECUTE, lParam, &unused, &handle);
    CWinApp* app = AfxGetApp();
    HGLOBAL data = reinterpret_cast<HGLOBAL>(handle);
    CString command = DdeExecuteText(data);
    BOOL done = app && app->OnDDECommand(command.GetBuffer(command.GetLength()));
    command.ReleaseBuffer();
    const UINT kAck = 0x8000;
    ::PostMessageA(reinterpret_cast<HWND>(wParam), WM_DDE_ACK, reinterpret_cast<WPARAM>(m_hWnd),
                   ReuseDDElParam(lParam, WM_DDE_EXECUTE, WM_DDE_ACK, done ? kAck : 0, handle));
    return 0;
}

LRESULT CFrameWnd::OnDDETerminate(WPARAM wParam, LPARAM)
{
    ::PostMessageA(reinterpret_cast<HWND>(wParam), WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
    return 0;
}
