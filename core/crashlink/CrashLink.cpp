#include "core/crashlink/CrashLink.h"

#include "platform/crt/FileAccess.h"
#include "platform/mfc/FormatText.h"
#include "platform/runtime/MessageBoxes.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

const DWORD kProtocolVersion = 1;
const DWORD kPipeSize = 4096;
const DWORD kHelloTimeout = 5000;
const DWORD kReplyTimeout = 30000;
const int kMaxStartPath = 246;
const int kMaxHelloPath = 259;
const size_t kTextBuffer = 4096;

LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;

DWORD Length(LPCSTR text) { return static_cast<DWORD>(std::strlen(text) + 1); }

void AssignPiece(std::vector<BYTE>& piece, const void* data, DWORD count)
{
    const BYTE* bytes = static_cast<const BYTE*>(data);
    if (bytes && count)
        piece.assign(bytes, bytes + count);
    else
        piece.clear();
}

BOOL WriteAll(HANDLE pipe, const void* data, DWORD count)
{
    DWORD written = 0;
    return WriteFile(pipe, data, count, &written, nullptr) && written == count;
}

} // namespace

CCrashLink::CCrashLink()
{
    // Reserved once, so that sending a crash does not allocate on a broken heap.
    for (auto& piece : m_pieces)
        piece.reserve(kTextBuffer + sizeof(ExceptionReport));
}

CCrashLink::~CCrashLink()
{
    if (m_writer) {
        m_stopping = 1;
        m_messageReady.SetEvent();
        CancelSynchronousIo(m_writer);
        WaitForSingleObject(m_writer, 10000);
        CloseHandle(m_writer);
    }
    if (!m_lost) {
        if (m_sendWrite) CloseHandle(m_sendWrite);
        if (m_replyRead) CloseHandle(m_replyRead);
    }
    if (m_reporter)
        CloseHandle(m_reporter);
}

void CCrashLink::Fail(LPCSTR text)
{
    ShowMessageBox(nullptr, text, "Error", MB_OK);
}

void CCrashLink::Lose()
{
    m_lost = 1;
    m_linked = 0;
}

BOOL CCrashLink::OpenPipes()
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    if (!CreatePipe(&m_sendRead, &m_sendWrite, &inherit, kPipeSize)) {
        Fail("Failed opening send pipe");
        return FALSE;
    }
    if (!CreatePipe(&m_replyRead, &m_replyWrite, &inherit, kPipeSize)) {
        Fail("Failed opening recv pipe");
        return FALSE;
    }
    // The reporter inherits only its own ends: holding ours would keep each pipe
    // open after the other side has gone.
    SetHandleInformation(m_sendWrite, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_replyRead, HANDLE_FLAG_INHERIT, 0);
    return TRUE;
}

BOOL CCrashLink::LaunchReporter(const CString& reporterPath)
{
    // Quoted: a folder with blanks would split the path.
    CString command = FormatText("\"%s\" -x %d %x %x", static_cast<LPCSTR>(reporterPath), kProtocolVersion,
                                 HandleOnWire(m_replyWrite), HandleOnWire(m_sendRead));
    STARTUPINFOA startup = {sizeof startup};
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(command.GetLength() + 1);
    std::memcpy(line.data(), static_cast<LPCSTR>(command), line.size());
    BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS,
                                  nullptr, nullptr, &startup, &process);
    CloseHandle(m_replyWrite);
    CloseHandle(m_sendRead);
    m_replyWrite = m_sendRead = nullptr;
    if (!started) {
        Fail("Can't launch Faultscout");
        return FALSE;
    }
    CloseHandle(process.hThread);
    m_reporter = process.hProcess;
    return TRUE;
}

BOOL CCrashLink::Start(LPCSTR programName, LPCSTR modulePath, DWORD packedVersion)
{
    m_programName = programName;
    m_modulePath = modulePath;
    m_packedVersion = packedVersion;
    if (!OpenPipes())
        return FALSE;
    if (m_modulePath.GetLength() > kMaxStartPath) {
        Fail("Bad module name");
        return FALSE;
    }
    int slash = m_modulePath.ReverseFind('\\');
    if (slash < 0) {
        Fail("Bad module name 2");
        return FALSE;
    }
    CString reporterPath = m_modulePath.Left(slash + 1) + "Faultscout.exe";
    if (_access(reporterPath, 0) != 0) {
        ShowMessageBox(nullptr, "Faultscout is missing", "Faultscout", MB_OK);
        return FALSE;
    }
    if (!LaunchReporter(reporterPath))
        return FALSE;
    m_writer = CreateThread(nullptr, 0, CrashLinkWriterThread, this, 0, &m_writerId);
    if (!m_writer) {
        Fail("Pipe CreateThread failure");
        return FALSE;
    }
    m_replyTimeout = kHelloTimeout;
    BOOL hello = SendHello();
    m_replyTimeout = kReplyTimeout;
    if (hello && !m_lost)
        m_linked = 1;
    RegisterCurrentThread("Main");
    RegisterThread(m_writerId, m_writer, "Faultscout");
    return m_linked;
}

DWORD WINAPI CCrashLink::CrashLinkWriterThread(void* link)
{
    static_cast<CCrashLink*>(link)->RunWriter();
    return 0;
}

BOOL CCrashLink::WritePiece(const std::vector<BYTE>& piece, LPCSTR failure)
{
    if (piece.empty() || WriteAll(m_sendWrite, piece.data(), static_cast<DWORD>(piece.size())))
        return TRUE;
    Fail(failure);
    return FALSE;
}

void CCrashLink::RunWriter()
{
    static const LPCSTR kPieceFailures[3] = {"Failed writing Faultscout data",
                                             "Failed writing Faultscout data2",
                                             "Failed writing Faultscout data3"};
    for (;;) {
        WaitForSingleObject(m_messageReady.m_hObject, INFINITE);
        if (m_stopping)
            return;
        BOOL sent = WriteAll(m_sendWrite, &m_header, sizeof m_header);
        if (!sent)
            Fail("Failed writing Faultscout");
        for (int i = 0; sent && i < 3; ++i)
            sent = WritePiece(m_pieces[i], kPieceFailures[i]);
        // Read on the stack: Wine reads a pipe only into memory it manages itself.
        CrashLinkHeader reply = {};
        DWORD read = 0;
        if (sent && (!ReadFile(m_replyRead, &reply, sizeof reply, &read, nullptr) ||
                     read != sizeof reply)) {
            // After a time-out the loss was told already.
            if (!m_lost && !m_stopping)
                Fail("Failed getting Faultscout response");
            sent = FALSE;
        }
        if (sent)
            m_header = reply;
        else
            Lose();
        m_replyArrived.SetEvent();
        if (!sent)
            return;
    }
}

BOOL CCrashLink::Transact(CrashLinkHeader* header, const void* piece1, DWORD count1,
                          const void* piece2, DWORD count2, const void* piece3, DWORD count3)
{
    struct Guard
    {
        CCriticalSection& lock;
        explicit Guard(CCriticalSection& l) : lock(l) { lock.Lock(); }
        ~Guard() { lock.Unlock(); }
    } guard(m_lock);
    if (!m_writer || m_lost)
        return FALSE;
    m_header = *header;
    AssignPiece(m_pieces[0], piece1, count1);
    AssignPiece(m_pieces[1], piece2, count2);
    AssignPiece(m_pieces[2], piece3, count3);
    m_messageReady.SetEvent();
    if (WaitForSingleObject(m_replyArrived.m_hObject, m_replyTimeout) != WAIT_OBJECT_0) {
        Lose();
        Fail("Lost communication with Faultscout");
        return FALSE;
    }
    if (m_lost)
        return FALSE;
    *header = m_header;
    if (header->kind == kLinkDetach) {
        Lose();
        return FALSE;
    }
    return TRUE;
}

BOOL CCrashLink::SendText(DWORD kind, LPCSTR text)
{
    CrashLinkHeader header = {kind, Length(text)};
    return Transact(&header, text, header.value);
}

BOOL CCrashLink::SendHello()
{
    HANDLE inReporter = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), m_reporter, &inReporter,
                         PROCESS_ALL_ACCESS, TRUE, 0)) {
        Fail("Failed duplicating process handle\nFaultscout may not be working");
        Lose();
        return FALSE;
    }
    if (m_modulePath.GetLength() > kMaxHelloPath) {
        Fail("Bad module name");
        return FALSE;
    }
    HelloRecord hello = {GetCurrentProcessId(), HandleOnWire(inReporter), m_packedVersion,
                         Length(m_modulePath), Length(m_programName)};
    CrashLinkHeader header = {kLinkHello, 0};
    return Transact(&header, &hello, sizeof hello, static_cast<LPCSTR>(m_modulePath),
                    hello.modulePathLength, static_cast<LPCSTR>(m_programName),
                    hello.programNameLength);
}

BOOL CCrashLink::RegisterThread(DWORD threadId, HANDLE thread, LPCSTR name)
{
    if (!m_linked)
        return FALSE;
    HANDLE inReporter = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), thread, m_reporter, &inReporter, THREAD_ALL_ACCESS,
                         TRUE, 0)) {
        Fail("Failed duplicating thread handle");
        return FALSE;
    }
    ThreadRecord record = {threadId, HandleOnWire(inReporter), Length(name)};
    CrashLinkHeader header = {kLinkThreadCreate, 0};
    return Transact(&header, &record, sizeof record, name, record.nameLength);
}

BOOL CCrashLink::RegisterCurrentThread(LPCSTR name)
{
    return RegisterThread(GetCurrentThreadId(), GetCurrentThread(), name);
}

BOOL CCrashLink::UnregisterThread(DWORD threadId)
{
    if (!m_linked)
        return FALSE;
    CrashLinkHeader header = {kLinkThreadExit, threadId};
    return Transact(&header);
}

BOOL CCrashLink::UnregisterCurrentThread()
{
    return UnregisterThread(GetCurrentThreadId());
}

BOOL CCrashLink::ShowReporter(BOOL show)
{
    if (!m_linked)
        return FALSE;
    CrashLinkHeader header = {kLinkShow, show ? 1u : 0u};
    return Transact(&header);
}

BOOL CCrashLink::SendException(EXCEPTION_POINTERS* pointers)
{
    // One crash is reported, whichever handler sees it first.
    if (!m_linked || InterlockedExchange(&m_exceptionSent, 1))
        return FALSE;
    CrashLinkHeader header = {kLinkException, GetLastError()};
    m_exception.threadId = GetCurrentThreadId();
    m_exception.record = *pointers->ExceptionRecord;
    m_exception.context = *pointers->ContextRecord;
    return Transact(&header, &m_exception, sizeof m_exception);
}

BOOL CCrashLink::RequestDump(LPCSTR text)
{
    if (!m_linked)
        return FALSE;
    DumpRequest request = {GetLastError(), Length(text)};
    CrashLinkHeader header = {kLinkDump, 1};
    return Transact(&header, &request, sizeof request, text, request.textLength);
}

BOOL CCrashLink::Printf(LPCSTR format, ...)
{
    char text[kTextBuffer];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return m_linked && SendText(kLinkText, text);
}

BOOL CCrashLink::Printf(const CString& text)
{
    return m_linked && SendText(kLinkText, text);
}

// Never destroyed: a crash during the process's exit must still reach the
// reporter, and a destructor that closes handles after Wine has begun ending
// the process turns its exit code into 0.
CCrashLink& TheCrashLink()
{
    static CCrashLink* link = new CCrashLink;
    return *link;
}

BOOL StartCrashLink(LPCSTR programName, DWORD packedVersion)
{
    g_previousFilter = SetUnhandledExceptionFilter(CrashLinkExceptionFilter);
    AddVectoredExceptionHandler(TRUE, CrashLinkVectoredHandler);
    char path[MAX_PATH + 1] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        path[0] = '\0';
    return TheCrashLink().Start(programName, path, packedVersion);
}

LONG WINAPI CrashLinkExceptionFilter(EXCEPTION_POINTERS* pointers)
{
    TheCrashLink().SendException(pointers);
    return EXCEPTION_CONTINUE_SEARCH;
}

namespace {

bool IsFatal(DWORD code)
{
    static const DWORD kFatalCodes[] = {
        EXCEPTION_ACCESS_VIOLATION, EXCEPTION_ARRAY_BOUNDS_EXCEEDED,
        EXCEPTION_DATATYPE_MISALIGNMENT, EXCEPTION_FLT_DENORMAL_OPERAND,
        EXCEPTION_FLT_DIVIDE_BY_ZERO, EXCEPTION_FLT_INEXACT_RESULT,
        EXCEPTION_FLT_INVALID_OPERATION, EXCEPTION_FLT_OVERFLOW, EXCEPTION_FLT_STACK_CHECK,
        EXCEPTION_FLT_UNDERFLOW, EXCEPTION_ILLEGAL_INSTRUCTION, EXCEPTION_IN_PAGE_ERROR,
        EXCEPTION_INT_DIVIDE_BY_ZERO, EXCEPTION_INT_OVERFLOW, EXCEPTION_NONCONTINUABLE_EXCEPTION,
        EXCEPTION_PRIV_INSTRUCTION, EXCEPTION_STACK_OVERFLOW,
    };
    for (DWORD fatal : kFatalCodes)
        if (code == fatal)
            return true;
    return false;
}

bool InProgramCode(const void* address)
{
    HMODULE module = nullptr;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                  GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCSTR>(address), &module) &&
           module == GetModuleHandleA(nullptr);
}

} // namespace

// Wine's dispatcher cannot take an exception through the frames of our ELF
// program: it fails inside them, the thread dies and the program hangs without
// ever calling the unhandled-exception filter. No frame of the program's own
// code handles an exception (it has none), so one raised there ends the
// program: reported first, then ended here. Exceptions raised in the system's
// modules go on to their own handlers.
LONG WINAPI CrashLinkVectoredHandler(EXCEPTION_POINTERS* pointers)
{
    const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
    if (!IsFatal(record->ExceptionCode) || !InProgramCode(record->ExceptionAddress))
        return EXCEPTION_CONTINUE_SEARCH;
    TheCrashLink().SendException(pointers);
    TerminateProcess(GetCurrentProcess(), record->ExceptionCode);
    return EXCEPTION_CONTINUE_SEARCH;
}
