#include "platform/crt/FileAccess.h"

#include <windows.h>

#include <errno.h>

int _access(const char* path, int mode)
{
    if (mode & ~(kAccessWrite | kAccessRead))
    {
        errno = EINVAL;
        return -1;
    }
    DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
    {
        errno = ENOENT;
        return -1;
    }
    if ((mode & kAccessWrite) && (attributes & FILE_ATTRIBUTE_READONLY))
    {
        errno = EACCES;
        return -1;
    }
    return 0;
}
