// Prints the crash link's start-up (reporter started and hello answered), one
// thread registration round trip, and the time from a crash to the program's
// end, which covers the whole report: registers, stack walks and dump file.
// The reporter is the windowless one of the reporter's tests.
#include "bench/support/BenchClock.h"
#include "core/crashlink/CrashLink.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <windows.h>

#include <stdio.h>

namespace {

const int kRegistrations = 200;
const DWORD kCrashWait = 30000;

bool Place(const char* module, const std::string& path)
{
    if (CopyFileA(WindowsPath(module).c_str(), path.c_str(), FALSE))
        return true;
    printf("cannot copy %s: %lu\n", module, GetLastError());
    return false;
}

void MeasureLink(CTempFolder& folder)
{
    CCrashLink link;
    double start = BenchSeconds();
    if (!link.Start("Bench", folder.WindowsPath("Bench.exe").c_str(), 0x01000000)) {
        printf("the link did not start\n");
        return;
    }
    printf("link start-up: %.1f ms\n", (BenchSeconds() - start) * 1e3);
    start = BenchSeconds();
    for (int i = 0; i < kRegistrations; ++i) {
        link.RegisterThread(1000 + i, GetCurrentThread(), "Bench");
        link.UnregisterThread(1000 + i);
    }
    printf("registration round trip: %.3f ms\n", (BenchSeconds() - start) * 1e3 / (2 * kRegistrations));
}

void MeasureCrash(CTempFolder& folder)
{
    std::string child = folder.WindowsPath("CrashChild.exe");
    if (!Place(CRASH_CHILD_MODULE, child))
        return;
    std::string command = "\"" + child + "\" null";
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        printf("cannot start the crashing program: %lu\n", GetLastError());
        return;
    }
    double start = BenchSeconds();
    DWORD waited = WaitForSingleObject(process.hProcess, kCrashWait);
    if (waited == WAIT_OBJECT_0)
        printf("start, crash and report: %.0f ms\n", (BenchSeconds() - start) * 1e3);
    else
        printf("no end within %lu ms\n", kCrashWait);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace

int main()
{
    CTempFolder folder("crashlinkbench");
    if (!folder.IsValid() || !Place(HEADLESS_REPORTER_MODULE, folder.WindowsPath("Faultscout.exe")))
        return 1;
    MeasureLink(folder);
    MeasureCrash(folder);
    return 0;
}
