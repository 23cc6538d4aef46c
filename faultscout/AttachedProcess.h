// The reporter's end of the crash link: reads every message the watched program
// sends, keeps its identity and registered threads, answers each message, and
// takes the requests a later start of the reporter posts to it.
#pragma once

#include "core/crashlink/CrashLinkReader.h"
#include "faultscout/ReporterSink.h"
#include "faultscout/SymbolEngine.h"

#include <windows.h>
#include <afxmt.h>

#include <atomic>
#include <list>
#include <string>

// Thread message of a posted request: wParam kind, lParam value.
const UINT kRequestMessage = WM_USER + 256;

struct RegisteredThread
{
    DWORD id;
    HANDLE handle;
    std::string name;
};

class CAttachedProcess
{
public:
    CAttachedProcess() = default;
    ~CAttachedProcess();
    CAttachedProcess(const CAttachedProcess&) = delete;
    CAttachedProcess& operator=(const CAttachedProcess&) = delete;

    bool Attach(ReporterSink* sink, HANDLE sendPipe, HANDLE receivePipe);
    void Detach();
    const std::string& GetError() const { return m_error; }

    bool ReadPipe(void* buffer, DWORD count);
    bool WritePipe(const void* buffer, DWORD count);
    // A request without payload (show, thread list, dump without text).
    void HandleMessage(const CrashLinkHeader& header);
    void HandleMessage(const CrashLinkMessage& message);

    void Write(const char* text);
    void Printf(const char* format, ...);

    bool IsAttached() const { return m_attached; }
    bool HasCrashed() const { return m_crashed; }
    DWORD GetProcessId() const { return m_processId; }
    DWORD GetPackedVersion() const { return m_packedVersion; }
    const std::string& GetModulePath() const { return m_modulePath; }
    const std::string& GetProgramName() const { return m_programName; }
    DWORD GetRequestThreadId() const { return m_requestId; }
    HANDLE GetReaderThread() const { return m_reader; }

    void WriteThreadList();
    void OpenDumpFile(bool open);
    void WriteProgramInfo();
    // Every registered thread's registers and stack; the crashing one's from the report.
    void DumpAllStacks(const ExceptionReport* report);
    void WriteRegisters(const RegisteredThread& thread, const ExceptionReport* report);
    // A saved report, its stack lines resolved again against the archived build
    // of the program it names: ROOT\NAME\VERSION\NAME.exe.
    void LoadSavedDump(ReporterSink* sink, const char* path);
    void SetArchiveRoot(const std::string& root) { m_archiveRoot = root; }

private:
    static DWORD WINAPI PipeReaderThread(void* self);
    static DWORD WINAPI RequestThread(void* self);
    static DWORD WINAPI WatchdogThread(void* self);
    void RunReader();
    void RunRequests();
    void RunWatchdog();

    void OnHello(const HelloRecord& hello, const std::string& path, const std::string& name);
    void OnThreadCreate(const ThreadRecord& record, const std::string& name);
    void OnThreadExit(DWORD id);
    void OnException(const ExceptionReport& report);
    void OnDumpRequest(const DumpRequest& request, const std::string& text);
    void WriteIdFile();
    void ReadFailure();
    std::string DumpFilePath() const;
    void PrintTime(const char* label, const char* path, const SYSTEMTIME& time);
    void ResolveSavedProgram(const std::string& line);
    void ResolveSavedFrame(const std::string& line);

    std::atomic<bool> m_attached{false};
    std::atomic<bool> m_crashed{false};
    ReporterSink* m_sink = nullptr;
    HANDLE m_send = nullptr;
    HANDLE m_receive = nullptr;
    std::string m_error;
    std::string m_modulePath;
    DWORD m_processId = 0;
    HANDLE m_process = nullptr;
    DWORD m_packedVersion = 0;
    std::string m_programName;
    HANDLE m_dumpFile = INVALID_HANDLE_VALUE;
    HANDLE m_watchdog = nullptr;
    std::list<RegisteredThread> m_threads;
    CSymbolEngine m_symbols;
    std::string m_archiveRoot;
    std::string m_savedProgram; // the archived program whose symbols are loaded
    // Lock order: m_linkLock before m_listLock.
    CCriticalSection m_linkLock;
    CCriticalSection m_listLock;
    HANDLE m_reader = nullptr;
    DWORD m_readerId = 0;
    HANDLE m_requests = nullptr;
    HANDLE m_queueReady = nullptr;
    DWORD m_requestId = 0;
};

bool PostRequest(DWORD threadId, const CrashLinkHeader& header);

// The id file, where the running reporter leaves its request thread's id for
// later starts: "Faultscout.hdl" in the user's own %LOCALAPPDATA% (the program
// folder is shared by every user and may not be theirs to write), in the
// temporary folder where that is not set.
std::string ReporterIdFilePath();
