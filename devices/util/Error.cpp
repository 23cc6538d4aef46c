#include "devices/util/Error.h"

#include <afxwin.h>

#include "platform/runtime/DebugOutput.h"
#include "platform/runtime/SystemErrorText.h"

CError::CError()
    : m_messageBox(TRUE), m_text("No Error"), m_reported(0)
{
}

CError::CError(const CError& other)
    : m_messageBox(other.m_messageBox), m_text(other.m_text), m_reported(other.m_reported.load())
{
}

CError& CError::operator=(const CError& other)
{
    m_messageBox = other.m_messageBox;
    m_text = other.m_text;
    m_reported = other.m_reported.load();
    return *this;
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
    ++m_reported;
}

void CError::ReportV(const char* format, va_list args)
{
    m_text.FormatV(format, args);
    Report();
}

int CError::Fail(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    ReportV(format, args);
    va_end(args);
    return 0;
}

void CError::ReportLastError()
{
    m_text = SystemErrorText(GetLastError()).c_str();
    if (m_messageBox)
        AfxMessageBox(m_text, MB_OK, 0);
    ++m_reported;
    DebugOutput(m_text + "\n");
}
