#include "core/automation/EventLog.h"

#include <afxwin.h>

#include <stdio.h>

#include <string>

namespace {

const char kLineEnd[] = "\r\n";

CString FileName(const SYSTEMTIME& time)
{
    CString name;
    name.Format("%02d%02d%02d%02d%02d%02d.log", time.wYear % 100, time.wMonth, time.wDay, time.wHour,
                time.wMinute, time.wSecond);
    return name;
}

// One log line per event: control characters are written as escapes, so that
// a text from outside (a disc title, a received message) cannot end its line
// and forge lines of its own.
CString Escaped(const CString& text)
{
    std::string escaped;
    escaped.reserve(text.GetLength());
    for (int i = 0; i < text.GetLength(); ++i) {
        unsigned char ch = static_cast<unsigned char>(text[i]);
        if (ch == '\r')
            escaped += "\\r";
        else if (ch == '\n')
            escaped += "\\n";
        else if (ch == '\t')
            escaped += "\\t";
        else if (ch < 0x20 || ch == 0x7F) {
            char code[8];
            snprintf(code, sizeof code, "\\x%02X", ch);
            escaped += code;
        } else
            escaped += text[i];
    }
    return CString(escaped.c_str());
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
        if (failed.IsEmpty() && !WriteLine(Escaped(text))) {
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
