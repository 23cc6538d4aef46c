#include "EventLog.h"

#include <afxwin.h>

namespace {

const char kLineEnd[] = "\r\n";

CString FileName(const SYSTEMTIME& time)
{
    CString name;
    name.Format("%02d%02d%02d%02d%02d%02d.log", time.wYear % 100, time.wMonth, time.wDay, time.wHour,
                time.wMinute, time.wSecond);
    return name;
}

CString Banner(const SYSTEMTIME& time, const CString& version)
{
    CString banner;
    banner.Format("[%02d:%02d:%02d] ZYM logging started - Version %s", time.wHour, time.wMinute,
                  time.wSecond, static_cast<const char*>(version));
    return banner;
}

}

CEventLog::CEventLog() : m_file(INVALID_HANDLE_VALUE)
{
}

CEventLog::~CEventLog()
{
    Close();
}

void CEventLog::Write(CEventDocument* document, const CString& text)
{
    CString failed;
    {
        CSingleLock lock(&m_lock, TRUE);
        if (!document || !document->IsActivityLoggingOn()) {
            Close();
            return;
        }
        if (m_file == INVALID_HANDLE_VALUE)
            failed = Open(*document);
        if (failed.IsEmpty() && !WriteLine(text)) {
            // A file that stops taking lines is dropped; the next event opens a new one.
            Close();
        }
    }
    if (!failed.IsEmpty())
        AfxMessageBox("Unable to open log file " + failed, MB_OK | MB_ICONEXCLAMATION);
}

CString CEventLog::Open(CEventDocument& document)
{
    SYSTEMTIME now = document.GetLocalTime();
    CString path = document.GetProgramFolder() + FileName(now);
    m_file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, NULL);
    if (m_file == INVALID_HANDLE_VALUE) {
        // Off before the lock goes, so that other threads do not try again.
        document.SetActivityLogging(FALSE);
        return path;
    }
    CString version = document.GetVersionText();
    if (version.IsEmpty())
        version = "unknown";
    if (!WriteLine(CString()) || !WriteLine(Banner(now, version)))
        Close();
    return CString();
}

bool CEventLog::WriteLine(const CString& text)
{
    CString line = text + kLineEnd;
    DWORD written = 0;
    return WriteFile(m_file, static_cast<const char*>(line), line.GetLength(), &written, NULL) &&
           written == DWORD(line.GetLength());
}

void CEventLog::Close()
{
    if (m_file == INVALID_HANDLE_VALUE)
        return;
    CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
}
