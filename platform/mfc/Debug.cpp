#include "platform/mfc/Debug.h"

void AfxAssertFailed(LPCSTR file, int line)
{
    DebugOutputF("Assertion failed: %s(%d)\n", file, line);
}
