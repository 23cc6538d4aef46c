// A watched program that crashes on purpose. It starts its crash link (the
// reporter beside it), registers two threads of its own, "Worker" and "Idle",
// and fails as its argument says: "null" (a write through a null pointer),
// "divide" (integer division by zero) or "thread" (a null write on "Worker"). The lines marked "crash:" are where it fails.
// "quit" ends normally once the event "CrashChild quit" is set; "show" first
// shows the reporter.
#include "core/crashlink/CrashLink.h"
#include "common/VersionInfo.h"
#include "platform/runtime/MessageBoxes.h"

#include <cstdio>
#include <cstring>

namespace {

// No one can answer a box here: its text goes to the test's output.
class PrintingAnswerer : public CMessageBoxAnswerer
{
public:
    int Answer(HWND, const char* text, const char*, UINT) override
    {
        std::fprintf(stderr, "CrashChild box: %s\n", text);
        return IDOK;
    }
};

const DWORD kQuitTimeout = 60000;

int* volatile g_nowhere = nullptr;
volatile int g_zero = 0;
volatile int g_hundred = 100;
volatile int g_sink = 0;
HANDLE g_ready = nullptr;
HANDLE g_crashOnWorker = nullptr;

} // namespace

__attribute__((noinline)) void CrashByNullWrite()
{
    *g_nowhere = 1; // crash: null write
}

__attribute__((noinline)) void CrashByDivision()
{
    g_sink = g_hundred / g_zero; // crash: divide
}

__attribute__((noinline)) void CrashOnWorker()
{
    *g_nowhere = 2; // crash: thread
}

DWORD WINAPI WorkerThread(void*)
{
    TheCrashLink().RegisterCurrentThread("Worker");
    SetEvent(g_ready);
    WaitForSingleObject(g_crashOnWorker, INFINITE);
    CrashOnWorker();
    return 0;
}

DWORD WINAPI IdleThread(void*)
{
    TheCrashLink().RegisterCurrentThread("Idle");
    SetEvent(g_ready);
    Sleep(INFINITE);
    return 0;
}

int main(int argc, char** argv)
{
    PrintingAnswerer answerer;
    SetMessageBoxAnswerer(&answerer);
    if (argc != 2)
        return 2;
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    CVersionInfo version;
    version.Open(path);
    if (!StartCrashLink("CrashChild", version.GetPackedFileVersion()))
        return 3;
    g_ready = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    g_crashOnWorker = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    for (LPTHREAD_START_ROUTINE start : {WorkerThread, IdleThread}) {
        CloseHandle(CreateThread(nullptr, 0, start, nullptr, 0, nullptr));
        WaitForSingleObject(g_ready, INFINITE);
    }
    const char* mode = argv[1];
    if (std::strcmp(mode, "null") == 0)
        CrashByNullWrite();
    else if (std::strcmp(mode, "divide") == 0)
        CrashByDivision();
    else if (std::strcmp(mode, "thread") == 0) {
        SetEvent(g_crashOnWorker);
        Sleep(INFINITE);
    } else if (std::strcmp(mode, "quit") == 0 || std::strcmp(mode, "show") == 0) {
        if (mode[0] == 's')
            TheCrashLink().ShowReporter(TRUE);
        HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, "CrashChild quit");
        return WaitForSingleObject(quit, kQuitTimeout) == WAIT_OBJECT_0 ? 0 : 5;
    }
    return 4;
}
