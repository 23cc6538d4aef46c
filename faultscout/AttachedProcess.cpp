#include "faultscout/AttachedProcess.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

const size_t kTextBuffer = 4096;

const char* ExceptionName(DWORD code)
{
    static const struct { DWORD code; const char* name; } kNames[] = {
        {EXCEPTION_GUARD_PAGE, "GUARD_PAGE"},
        {EXCEPTION_DATATYPE_MISALIGNMENT, "DATATYPE_MISALIGNMENT"},
        {EXCEPTION_BREAKPOINT, "BREAKPOINT"},
        {EXCEPTION_SINGLE_STEP, "SINGLE_STEP"},
        {EXCEPTION_ACCESS_VIOLATION, "ACCESS_VIOLATION"},
        {EXCEPTION_IN_PAGE_ERROR, "IN_PAGE_ERROR"},
        {EXCEPTION_INVALID_HANDLE, "INVALID_HANDLE"},
        {EXCEPTION_ILLEGAL_INSTRUCTION, "ILLEGAL_INSTRUCTION"},
        {EXCEPTION_NONCONTINUABLE_EXCEPTION, "NONCONTINUABLE_EXCEPTION"},
        {EXCEPTION_INVALID_DISPOSITION, "INVALID_DISPOSITION"},
        {EXCEPTION_ARRAY_BOUNDS_EXCEEDED, "ARRAY_BOUNDS_EXCEEDED"},
        {EXCEPTION_FLT_DENORMAL_OPERAND, "FLT_DENORMAL_OPERAND"},
        {EXCEPTION_FLT_DIVIDE_BY_ZERO, "FLT_DIVIDE_BY_ZERO"},
        {EXCEPTION_FLT_INEXACT_RESULT, "FLT_INEXACT_RESULT"},
        {EXCEPTION_FLT_INVALID_OPERATION, "FLT_INVALID_OPERATION"},
        {EXCEPTION_FLT_OVERFLOW, "FLT_OVERFLOW"},
        {EXCEPTION_FLT_STACK_CHECK, "FLT_STACK_CHECK"},
        {EXCEPTION_FLT_UNDERFLOW, "FLT_UNDERFLOW"},
        {EXCEPTION_INT_DIVIDE_BY_ZERO, "INT_DIVIDE_BY_ZERO"},
        {EXCEPTION_INT_OVERFLOW, "INT_OVERFLOW"},
        {EXCEPTION_PRIV_INSTRUCTION, "PRIV_INSTRUCTION"},
        {EXCEPTION_STACK_OVERFLOW, "STACK_OVERFLOW"},
    };
    for (const auto& entry : kNames)
        if (entry.code == code)
            return entry.name;
    return nullptr;
}

} // namespace

CAttachedProcess::~CAttachedProcess()
{
    if (m_requests) {
        PostThreadMessageA(m_requestId, WM_QUIT, 0, 0);
        WaitForSingleObject(m_requests, 5000);
        CloseHandle(m_requests);
    }
    if (m_queueReady)
        CloseHandle(m_queueReady);
}

bool CAttachedProcess::Attach(ReporterSink* sink, HANDLE sendPipe, HANDLE receivePipe)
{
    m_sink = sink;
    m_send = sendPipe;
    m_receive = receivePipe;
    m_attached = true;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    m_reader = CreateThread(&inherit, 0, PipeReaderThread, this, 0, &m_readerId);
    if (!m_reader) {
        m_error = "Process CreateThread failure";
        return false;
    }
    m_queueReady = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_requests = CreateThread(&inherit, 0, RequestThread, this, 0, &m_requestId);
    if (!m_requests) {
        m_error = "Process2 CreateThread failure";
        return false;
    }
    // Its queue exists before anyone can post to it.
    WaitForSingleObject(m_queueReady, INFINITE);
    return true;
}

void CAttachedProcess::Detach()
{
    if (!m_attached)
        return;
    CrashLinkHeader detach = {kLinkDetach, 0};
    if (WritePipe(&detach, sizeof detach))
        m_attached = false;
    else
        Printf("PipeWrite failure %x\n", GetLastError());
}

// Wine reads a pipe only into memory it manages itself, not into the C
// library's heap: every read goes through a buffer of the process heap.
bool CAttachedProcess::ReadPipe(void* buffer, DWORD count)
{
    void* own = HeapAlloc(GetProcessHeap(), 0, count ? count : 1);
    if (!own) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    DWORD read = 0;
    bool done = ReadFile(m_receive, own, count, &read, nullptr) && read == count;
    if (done)
        memcpy(buffer, own, count);
    else if (GetLastError() == ERROR_SUCCESS)
        SetLastError(ERROR_HANDLE_EOF);
    HeapFree(GetProcessHeap(), 0, own);
    return done;
}

bool CAttachedProcess::WritePipe(const void* buffer, DWORD count)
{
    DWORD written = 0;
    return WriteFile(m_send, buffer, count, &written, nullptr) && written == count;
}

void CAttachedProcess::Write(const char* text)
{
    if (m_sink)
        m_sink->WriteText(text);
    if (m_dumpFile != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(m_dumpFile, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    }
}

// The module's path with its extension replaced: one dump file per program.
std::string CAttachedProcess::DumpFilePath() const
{
    size_t dot = m_modulePath.rfind('.');
    size_t slash = m_modulePath.rfind('\\');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return m_modulePath + ".dmp";
    return m_modulePath.substr(0, dot) + ".dmp";
}

// Reports accumulate: the file is opened for appending for one report only.
void CAttachedProcess::OpenDumpFile(bool open)
{
    if (open && m_dumpFile == INVALID_HANDLE_VALUE) {
        std::string path = DumpFilePath();
        Printf("WriteDump %s\n", path.c_str());
        // Before any hello there is no module whose directory could hold it.
        if (m_modulePath.empty())
            SetLastError(ERROR_INVALID_NAME);
        else
            m_dumpFile = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                     OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_dumpFile == INVALID_HANDLE_VALUE)
            Printf("Error opening dump file %d\n", static_cast<int>(GetLastError()));
    } else if (!open && m_dumpFile != INVALID_HANDLE_VALUE) {
        Write("WriteDump off\n");
        CloseHandle(m_dumpFile);
        m_dumpFile = INVALID_HANDLE_VALUE;
    }
}

void CAttachedProcess::WriteProgramInfo()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    PrintTime("Time: ", "", now);
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(m_modulePath.c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    FindClose(find);
    FILETIME local;
    SYSTEMTIME written;
    FileTimeToLocalFileTime(&found.ftLastWriteTime, &local);
    FileTimeToSystemTime(&local, &written);
    PrintTime("Exe File: ", m_modulePath.c_str(), written);
    Printf("Program: %s %d.%d.%d\n", m_programName.c_str(), m_packedVersion >> 24,
           (m_packedVersion >> 16) & 0xff, m_packedVersion & 0xffff);
}

void CAttachedProcess::PrintTime(const char* label, const char* path, const SYSTEMTIME& time)
{
    Printf("%s%s%s%d/%d/%02d %d:%02d:%02d\n", label, path, *path ? " " : "", time.wMonth, time.wDay,
           time.wYear % 100, time.wHour, time.wMinute, time.wSecond);
}

void CAttachedProcess::DumpAllStacks(const ExceptionReport* report)
{
    if (m_process && !m_symbols.Load(m_process))
        Printf("Symbol load failure %d\n", static_cast<int>(GetLastError()));
    {
        CSingleLock lock(&m_listLock, TRUE);
        for (const auto& thread : m_threads) {
            Printf("\nDump Thread: %s ID:%d\n", thread.name.c_str(), thread.id);
            if (SuspendThread(thread.handle) == static_cast<DWORD>(-1)) {
                Printf("Suspend failed for thread:%X err:%d\n", HandleOnWire(thread.handle),
                       static_cast<int>(GetLastError()));
                continue;
            }
            WriteRegisters(thread, report);
            ResumeThread(thread.handle);
        }
    }
    m_symbols.Release();
}

void CAttachedProcess::WriteRegisters(const RegisteredThread& thread, const ExceptionReport* report)
{
    // A thread's own context is read whole: the frame pointer is an integer register here.
    CONTEXT own = {};
    own.ContextFlags = CONTEXT_FULL;
    const CONTEXT* context = &own;
    if (report && report->threadId == thread.id)
        context = &report->context;
    else if (!GetThreadContext(thread.handle, &own)) {
        Printf("Failed getting thread context %d\n", static_cast<int>(GetLastError()));
        return;
    }
    const CONTEXT& c = *context;
    Printf("RAX=%016llX  RBX=%016llX  RCX=%016llX  RDX=%016llX\n"
           "RSI=%016llX  RDI=%016llX  RBP=%016llX  RSP=%016llX\n"
           "R8=%016llX   R9=%016llX   R10=%016llX  R11=%016llX\n"
           "R12=%016llX  R13=%016llX  R14=%016llX  R15=%016llX\n"
           "RIP=%016llX  FLG=%08X\n"
           "CS=%04X   DS=%04X  SS=%04X  ES=%04X  FS=%04X  GS=%04X\n",
           c.Rax, c.Rbx, c.Rcx, c.Rdx, c.Rsi, c.Rdi, c.Rbp, c.Rsp, c.R8, c.R9, c.R10, c.R11, c.R12,
           c.R13, c.R14, c.R15, c.Rip, static_cast<unsigned>(c.EFlags), c.SegCs, c.SegDs, c.SegSs,
           c.SegEs, c.SegFs, c.SegGs);
    if (!m_symbols.IsLoaded())
        return;
    for (const std::string& entry : m_symbols.WalkStack(thread.handle, c)) {
        Write("&");
        Write(entry.c_str());
    }
}

void CAttachedProcess::Printf(const char* format, ...)
{
    char text[kTextBuffer];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Write(text);
}

void CAttachedProcess::ReadFailure()
{
    Printf("PipeRead failure %x\n", GetLastError());
}

void CAttachedProcess::HandleMessage(const CrashLinkHeader& header)
{
    CrashLinkMessage message;
    message.header = header;
    HandleMessage(message);
}

void CAttachedProcess::HandleMessage(const CrashLinkMessage& message)
{
    CSingleLock lock(&m_linkLock, TRUE);
    const CrashLinkHeader& header = message.header;
    switch (header.kind) {
    case kLinkHello:
        OnHello(message.hello, message.path, message.name);
        break;
    case kLinkThreadCreate:
        OnThreadCreate(message.thread, message.name);
        break;
    case kLinkThreadExit:
        OnThreadExit(header.value);
        break;
    case kLinkShow:
        if (m_sink)
            m_sink->Show(header.value != 0);
        break;
    case kLinkText:
        if (header.value)
            Write(message.text.c_str());
        break;
    case kLinkException:
        OnException(message.exception);
        break;
    case kLinkDump:
        OnDumpRequest(message.dump, message.text);
        break;
    case kLinkThreads:
        WriteThreadList();
        break;
    default:
        break;
    }
}

void CAttachedProcess::OnHello(const HelloRecord& hello, const std::string& path, const std::string& name)
{
    Printf("Hello pid:%d h:%x '%s' '%s' %x\n", hello.processId, hello.processHandle, path.c_str(),
           name.c_str(), hello.packedVersion);
    m_processId = hello.processId;
    m_process = HandleFromWire(hello.processHandle);
    m_packedVersion = hello.packedVersion;
    if (hello.modulePathLength)
        m_modulePath = path;
    if (hello.programNameLength)
        m_programName = name;
    WriteIdFile();
    if (!m_watchdog) {
        m_watchdog = CreateThread(nullptr, 0, WatchdogThread, this, 0, nullptr);
        if (!m_watchdog)
            Write("Watchdog CreateThread failure\n");
    }
    if (m_sink)
        m_sink->OnAttached();
}

std::string ReporterIdFilePath()
{
    char folder[MAX_PATH] = "";
    DWORD length = GetEnvironmentVariableA("LOCALAPPDATA", folder, sizeof folder);
    if (length == 0 || length >= sizeof folder)
        GetTempPathA(sizeof folder, folder);
    std::string path = folder;
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path + "Faultscout.hdl";
}

// The request thread's id for later starts of the reporter that post to it.
void CAttachedProcess::WriteIdFile()
{
    HANDLE file = CreateFileA(ReporterIdFilePath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    char text[16];
    int length = snprintf(text, sizeof text, "%d", static_cast<int>(m_requestId));
    DWORD written = 0;
    WriteFile(file, text, length, &written, nullptr);
    CloseHandle(file);
}

void CAttachedProcess::OnThreadCreate(const ThreadRecord& record, const std::string& name)
{
    Printf("Thread Create id:%d h:%x %s\n", record.threadId, record.threadHandle, name.c_str());
    CSingleLock lock(&m_listLock, TRUE);
    m_threads.push_back({record.threadId, HandleFromWire(record.threadHandle), name});
}

void CAttachedProcess::OnThreadExit(DWORD id)
{
    Printf("Thread Exit %d ", id);
    CSingleLock lock(&m_listLock, TRUE);
    for (auto it = m_threads.begin(); it != m_threads.end(); ++it) {
        if (it->id == id) {
            Printf("%s\n", it->name.c_str());
            m_threads.erase(it);
            return;
        }
    }
    Write("not found\n");
}

void CAttachedProcess::OnException(const ExceptionReport& report)
{
    m_crashed = true;
    if (m_sink)
        m_sink->Show(true);
    OpenDumpFile(true);
    const EXCEPTION_RECORD& record = report.record;
    Write("\nException: ");
    if (const char* name = ExceptionName(record.ExceptionCode))
        Write(name);
    else
        Printf(" %08X", record.ExceptionCode);
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2)
        Printf(" %s %016llX", record.ExceptionInformation[0] ? "Write" : "Read",
               static_cast<unsigned long long>(record.ExceptionInformation[1]));
    Write("\n");
    WriteProgramInfo();
    std::string name;
    {
        CSingleLock lock(&m_listLock, TRUE);
        for (const auto& thread : m_threads)
            if (thread.id == report.threadId) {
                name = thread.name;
                break;
            }
    }
    Printf("Thread: %s %d\n", name.c_str(), report.threadId);
    Printf("Address: %016llX\n",
           static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(record.ExceptionAddress)));
    Write("Stack Dump:\n");
    DumpAllStacks(&report);
    OpenDumpFile(false);
}

void CAttachedProcess::OnDumpRequest(const DumpRequest& request, const std::string& text)
{
    if (m_sink)
        m_sink->Show(true);
    OpenDumpFile(true);
    Printf("\nDump: %s\n", text.c_str());
    WriteProgramInfo();
    if (request.lastError)
        Printf("Last Error: %d\n", request.lastError);
    Write("Stack Dump:\n");
    DumpAllStacks(nullptr);
    OpenDumpFile(false);
}

void CAttachedProcess::WriteThreadList()
{
    if (m_sink)
        m_sink->Show(true);
    Write("\nThreads: \n");
    CSingleLock lock(&m_listLock, TRUE);
    for (const auto& thread : m_threads)
        Printf("Thread: %s ID:%d\n", thread.name.c_str(), thread.id);
}

namespace {

const size_t kSavedLineLength = 255;
const char kBlanks[] = " \t\r\n";

// The lines as a 256-byte line buffer reads them: a longer line comes in pieces.
std::vector<std::string> SavedLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        end = std::min(end, start + kSavedLineLength);
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

bool ReadWholeFile(const char* path, std::string& text)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD size = GetFileSize(file, nullptr);
    DWORD done = 0;
    text.assign(size == INVALID_FILE_SIZE ? 0 : size, '\0');
    bool read = size != INVALID_FILE_SIZE &&
                (size == 0 || ReadFile(file, &text[0], size, &done, nullptr));
    text.resize(done);
    CloseHandle(file);
    return read;
}

} // namespace

void CAttachedProcess::LoadSavedDump(ReporterSink* sink, const char* path)
{
    m_sink = sink;
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    Printf("%s\n", folder);
    std::string text;
    if (!ReadWholeFile(path, text)) {
        Write("error opening dump file\n");
        return;
    }
    for (const std::string& line : SavedLines(text)) {
        if (line[0] == '&') {
            ResolveSavedFrame(line.substr(1));
            continue;
        }
        if (line.size() >= 8 && CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, line.c_str(), 8, "Program:", 8) == CSTR_EQUAL)
            ResolveSavedProgram(line.substr(8));
        Write(line.c_str());
    }
    m_symbols.Release();
    m_savedProgram.clear();
}

void CAttachedProcess::ResolveSavedProgram(const std::string& line)
{
    std::string words[2];
    size_t at = 0;
    for (std::string& word : words) {
        size_t start = line.find_first_not_of(kBlanks, at);
        if (start == std::string::npos)
            break;
        at = line.find_first_of(kBlanks, start);
        word = line.substr(start, at == std::string::npos ? std::string::npos : at - start);
    }
    Printf("ProgramName: %s Version: %s\n", words[0].c_str(), words[1].c_str());
    std::string exe = m_archiveRoot + "\\" + words[0] + "\\" + words[1] + "\\" + words[0] + ".exe";
    Printf("Exe Path: %s\n", exe.c_str());
    if (exe == m_savedProgram)
        return;
    m_symbols.Release();
    m_savedProgram = exe;
    if (!m_symbols.LoadProgram(exe.c_str()))
        Printf("Symbol load failure %d\n", static_cast<int>(GetLastError()));
}

// The frame line ends in the module's base name and the offset in it: modules
// load elsewhere on each run, so its address alone names nothing.
void CAttachedProcess::ResolveSavedFrame(const std::string& line)
{
    Write(line.c_str());
    std::string place = line.substr(0, line.find_last_not_of(kBlanks) + 1);
    place = place.substr(place.find_last_of(' ') + 1);
    size_t plus = place.rfind('+');
    std::string symbol;
    if (plus != std::string::npos) {
        DWORD64 offset = std::strtoull(place.c_str() + plus + 1, nullptr, 16);
        DWORD64 address = m_symbols.AddressInModule(place.substr(0, plus), offset);
        if (address)
            symbol = m_symbols.SymbolText(address);
    }
    Printf("%s\n", symbol.c_str());
}

DWORD WINAPI CAttachedProcess::PipeReaderThread(void* self)
{
    static_cast<CAttachedProcess*>(self)->RunReader();
    return 0;
}

void CAttachedProcess::RunReader()
{
    CCrashLinkReader reader([this](void* buffer, DWORD count) { return ReadPipe(buffer, count); });
    for (;;) {
        CrashLinkMessage message;
        if (!reader.Read(message)) {
            // A crash whose report did not come whole is still a crash.
            if (message.header.kind == kLinkException)
                m_crashed = true;
            ReadFailure();
            return;
        }
        HandleMessage(message);
        const CrashLinkHeader& header = message.header;
        if (!WritePipe(&header, sizeof header)) {
            Printf("PipeWrite failure %x\n", GetLastError());
            return;
        }
    }
}

DWORD WINAPI CAttachedProcess::RequestThread(void* self)
{
    static_cast<CAttachedProcess*>(self)->RunRequests();
    return 0;
}

void CAttachedProcess::RunRequests()
{
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    SetEvent(m_queueReady);
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        Printf("Message %x, %d, %d\n", message.message, static_cast<int>(message.wParam),
               static_cast<int>(message.lParam));
        if (message.message != kRequestMessage)
            continue;
        CrashLinkHeader header = {static_cast<DWORD>(message.wParam),
                                  static_cast<DWORD>(message.lParam)};
        // Only requests without payload: any other would read the pipe against the reader.
        bool allowed = header.kind == kLinkShow || header.kind == kLinkThreads ||
                       (header.kind == kLinkDump && header.value == 0);
        if (allowed)
            HandleMessage(header);
    }
}

DWORD WINAPI CAttachedProcess::WatchdogThread(void* self)
{
    static_cast<CAttachedProcess*>(self)->RunWatchdog();
    return 0;
}

void CAttachedProcess::RunWatchdog()
{
    WaitForSingleObject(m_process, INFINITE);
    Write("Process terminated\n");
    {
        CSingleLock lock(&m_linkLock, TRUE);
        m_symbols.Release();
    }
    m_attached = false;
    if (m_sink)
        m_sink->OnProcessEnded();
}

bool PostRequest(DWORD threadId, const CrashLinkHeader& header)
{
    return PostThreadMessageA(threadId, kRequestMessage, header.kind, header.value) != FALSE;
}
