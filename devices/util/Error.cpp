#include "Error.h"

#include <afxwin.h>

#include "runtime/DebugOutput.h"

CError::CError()
    : m_messageBox(TRUE), m_text("No Error"), m_reported(0)
{
}

CError::~CError()
{
}

void CError::Report()
{
    if (m_messageBox)
        AfxMessageBox(m_text, MB_OK, 0);
    else
        DebugOutput(m_text);
    InterlockedIncrement(&m_reported);
}

void CError::ReportV(const char* format, va_list args)
{
    m_text.FormatV(format, args);
    Report();
}

void CError::ReportLastError()
{
    m_text = SystemErrorText(GetLastError());
    if (m_messageBox)
        AfxMessageBox(m_text, MB_OK, 0);
    InterlockedIncrement(&m_reported);
    DebugOutput(m_text + "\n");
}

CString SystemErrorText(DWORD code)
{
    char* message = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<char*>(&message), 0, nullptr);
    CString text;
    if (length)
        text = message;
    else
        text.Format("Error %u", unsigned(code));
    if (message)
        LocalFree(message);
    return text;
}
