// One HTTP request on a thread of its own. The starter creates the thread
// suspended, fills the fields, resumes it and waits for the done event; then
// it copies the result and sets the release event, after which the thread ends
// its task and the framework deletes the object.
#pragma once

#include "library/records/LibraryHost.h"
#include "library/records/TaskSink.h"

#include <afxinet.h>
#include <afxmt.h>
#include <afxwin.h>

class CZymInetSession;

class CHTTPThread : public CWinThread
{
    DECLARE_DYNCREATE(CHTTPThread)
public:
    static const int kBodyBufferSize = 65536;
    static const UINT kRequestBufferSize = 32768;
    static const DWORD kTimeoutMs = 300000;
    // Past this many redirects the last one is the answer.
    static const int kMaxRedirects = 10;
    // A download to a file stops with an error past this size: cover images
    // are far smaller, and a server that never ends its body must not fill
    // the disk.
    static const DWORD kMaxFileBytes = 16 * 1024 * 1024;

    CHTTPThread();

    // The whole request; always ends the message loop at once.
    BOOL InitInstance() override;
    // Waits for the release event before the object may go.
    int ExitInstance() override;

    CString m_strResult; // the body in memory mode, "ok" in file mode
    CString m_strTitle;
    CString m_strHost;
    CString m_strObject;  // path and query
    CString m_strProxy;   // "host:port", "host" or empty
    CString m_strPostData; // not empty: a POST with this body
    CString m_strOutputPath; // not empty: the body goes to this file
    CString m_strAgent;
    BYTE m_bWriteToFile;
    BOOL m_bShowErrors;
    BOOL m_bReserved;
    // Both manual reset: the thread sets m_done, the starter m_release.
    CEvent m_done;
    CEvent m_release;
    CTaskSink* m_pTaskMgr; // not owned; may be null
    int m_nTaskId;
    int m_nVerb; // MFC verb number for requests without post data
    // Registers the thread with the crash link; may be null.
    CLibraryHost* m_pHost;
    // Requests go to port 80 and wait 300 s; tests point a direct request at
    // their own server and shorten the wait.
    INTERNET_PORT m_nPort;
    DWORD m_dwTimeout;
    // Largest body file mode writes; tests lower it.
    DWORD m_dwMaxFileBytes;

private:
    struct CTarget
    {
        CString host;
        INTERNET_PORT port;
        CString object;
    };

    void SetStatus(const char* text);
    // Points target at location, absolute or relative to target; false for a
    // location that is no HTTP address.
    static bool FollowLocation(const CString& location, CTarget& target);
    // Runs the request; returns the error text, empty on success.
    CString Request(CZymInetSession& session, char* buffer);
    // With redirected given, a redirect that can be followed points target at
    // the new location and sets it instead of being an error.
    CString Send(CHttpConnection& connection, CTarget& target, char* buffer, bool* redirected);
    CString ReadBody(CHttpFile& file, char* buffer);
    CString ReadToFile(CHttpFile& file, char* buffer);
    // Writes the body into out; the error text, empty when it came whole.
    CString CopyBody(CHttpFile& file, char* buffer, CFile& out);
};
