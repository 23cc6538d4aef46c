// The watched program's end of the link to its crash reporter: starts the reporter
// beside the program with two inherited pipes, registers threads by name, relays
// texts, show requests and dump requests, and sends the exception of a crash so
// that the report is written while the program is still there.
#pragma once

#include "core/crashlink/CrashLinkProtocol.h"

#include <afx.h>
#include <afxmt.h>

#include <atomic>
#include <vector>

class CCrashLink
{
public:
    CCrashLink();
    ~CCrashLink();
    CCrashLink(const CCrashLink&) = delete;
    CCrashLink& operator=(const CCrashLink&) = delete;

    // Starts the reporter found beside modulePath; false (after one message box)
    // when the link could not be made. The program runs on either way.
    BOOL Start(LPCSTR programName, LPCSTR modulePath, DWORD packedVersion);

    // One message and its reply; the reply header is copied back into header.
    BOOL Transact(CrashLinkHeader* header, const void* piece1 = nullptr, DWORD count1 = 0,
                  const void* piece2 = nullptr, DWORD count2 = 0, const void* piece3 = nullptr,
                  DWORD count3 = 0);
    BOOL SendText(DWORD kind, LPCSTR text);
    BOOL SendHello();
    BOOL RegisterThread(DWORD threadId, HANDLE thread, LPCSTR name);
    BOOL RegisterCurrentThread(LPCSTR name);
    BOOL UnregisterThread(DWORD threadId);
    BOOL UnregisterCurrentThread();
    BOOL ShowReporter(BOOL show);
    BOOL SendException(EXCEPTION_POINTERS* pointers);
    BOOL RequestDump(LPCSTR text);
    BOOL Printf(LPCSTR format, ...);
    BOOL Printf(const CString& text);

    BOOL IsLinked() const { return m_linked; }
    BOOL IsLost() const { return m_lost; }
    void SetReplyTimeout(DWORD milliseconds) { m_replyTimeout = milliseconds; }
    HANDLE GetReporterProcess() const { return m_reporter; }

private:
    static DWORD WINAPI CrashLinkWriterThread(void* link);
    void RunWriter();
    BOOL WritePiece(const std::vector<BYTE>& piece, LPCSTR failure);
    void Fail(LPCSTR text);
    void Lose();
    BOOL OpenPipes();
    BOOL LaunchReporter(const CString& reporterPath);

    CString m_programName;
    CString m_modulePath;
    DWORD m_packedVersion = 0;
    HANDLE m_reporter = nullptr;
    HANDLE m_writer = nullptr;
    DWORD m_writerId = 0;
    HANDLE m_sendWrite = nullptr, m_sendRead = nullptr;
    HANDLE m_replyRead = nullptr, m_replyWrite = nullptr;
    // The message in flight, copied: after a time-out the writer may still send it
    // and read its late reply while the caller's buffers are long gone.
    CrashLinkHeader m_header = {};
    std::vector<BYTE> m_pieces[3];
    DWORD m_replyTimeout = 5000;
    CCriticalSection m_lock;
    CEvent m_replyArrived;
    CEvent m_messageReady;
    std::atomic<BYTE> m_linked{0};
    std::atomic<BYTE> m_lost{0};
    std::atomic<BYTE> m_stopping{0};
    ExceptionReport m_exception = {};
    LONG m_exceptionSent = 0;
};

// The one link of the program.
CCrashLink& TheCrashLink();

// Installs the exception handlers and starts the link of the running
// program, reporter "Faultscout.exe" beside it; registers the calling thread as
// "Main" and the writer as "Faultscout".
BOOL StartCrashLink(LPCSTR programName, DWORD packedVersion);

// Send a crash to the reporter, once. The filter sees what no frame handled and
// lets the search go on; the vectored handler takes the exceptions that end a
// program (access violation, division by zero, stack overflow, ...) raised in
// the program's own code, and ends the program after the report.
LONG WINAPI CrashLinkExceptionFilter(EXCEPTION_POINTERS* pointers);
LONG WINAPI CrashLinkVectoredHandler(EXCEPTION_POINTERS* pointers);

