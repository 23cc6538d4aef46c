#include "mp3/decoder/NetWorker.h"

#include "mp3/decoder/NetErrors.h"

int RunWithTimeout(LPTHREAD_START_ROUTINE procedure, void* argument, DWORD* result,
                   int timeout)
{
    *result = 0;
    HANDLE thread = CreateThread(nullptr, 0, procedure, argument, 0, nullptr);
    if (!thread)
        return kErrInternal;
    DWORD wait = WaitForSingleObject(thread, timeout < 0 ? INFINITE : DWORD(timeout));
    int code = 0;
    if (wait == WAIT_TIMEOUT)
        code = kErrTimeout;
    else if (wait != WAIT_OBJECT_0 || !GetExitCodeThread(thread, result))
        code = kErrInternal;
    if (code != 0)
        *result = 0;
    CloseHandle(thread);
    return code;
}
