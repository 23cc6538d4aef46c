// The dated event log: one file per logging period in the program's folder,
// named by the local time at which it was opened, each event one line.
#pragma once

#include <afxmt.h>

#include "core/automation/EventDocument.h"

class CEventLog
{
public:
    CEventLog();
    ~CEventLog();
    CEventLog(const CEventLog&) = delete;
    CEventLog& operator=(const CEventLog&) = delete;

    // Writes the text as one line while the document is set and its logging
    // option is on; otherwise closes the file. A file that cannot be opened
    // is reported once and switches the option off.
    void Write(CEventDocument* document, const CString& text);

private:
    // The path of the file that failed, or an empty text.
    CString Open(CEventDocument& document);
    bool WriteLine(const CString& text);
    void Close();

    // Guards m_file so that lines from several threads stay whole. The
    // document's option is read and written under it; no box is shown under it.
    CCriticalSection m_lock;
    HANDLE m_file;
};
