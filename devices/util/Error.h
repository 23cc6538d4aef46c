// Error holder of every device object: the text of the last error and how it
// reaches the user.
#pragma once

#include <afx.h>

#include <stdarg.h>

#include <atomic>

class CError
{
public:
    CError();
    // Copies the text, the mode and the count.
    CError(const CError& other);
    CError& operator=(const CError& other);
    virtual ~CError();

    // Shows the text in a message box in message-box mode, else writes it to the
    // debugger output; counts it either way.
    void Report();
    // Formats the error text, then reports it.
    void ReportV(const char* format, va_list args);
    // Formats and reports the error text and gives 0, the failure value of
    // every device operation: "return m_error.Fail(...)".
    int Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Takes the system's text for the thread's last error code as the error text,
    // shows it in message-box mode, counts it and always writes it to the debugger.
    void ReportLastError();

    // Owners turn this off for unattended use.
    BOOL m_messageBox;
    // The owner writes its message here before calling Report.
    CString m_text;
    // Read by other threads to notice new errors.
    std::atomic<LONG> m_reported;
};
