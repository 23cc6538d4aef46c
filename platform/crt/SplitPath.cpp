#include "platform/crt/SplitPath.h"

#include <string.h>

namespace
{
void CopyPart(char* out, size_t size, const char* begin, const char* end)
{
    if (!out)
        return;
    size_t length = (size_t)(end - begin);
    if (length > size - 1)
        length = size - 1;
    memcpy(out, begin, length);
    out[length] = 0;
}
}

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext)
{
    const char* p = path;
    if (p[0] && p[1] == ':')
    {
        CopyPart(drive, _MAX_DRIVE, p, p + 2);
        p += 2;
    }
    else
    {
        CopyPart(drive, _MAX_DRIVE, p, p);
    }

    const char* lastSlash = nullptr;
    const char* lastDot = nullptr;
    for (const char* c = p; *c; c++)
    {
        if (*c == '\\' || *c == '/')
        {
            lastSlash = c;
            lastDot = nullptr;
        }
        else if (*c == '.')
        {
            lastDot = c;
        }
    }
    const char* name = lastSlash ? lastSlash + 1 : p;
    const char* end = name + strlen(name);
    const char* nameEnd = lastDot ? lastDot : end;

    CopyPart(dir, _MAX_DIR, p, name);
    CopyPart(fname, _MAX_FNAME, name, nameEnd);
    CopyPart(ext, _MAX_EXT, nameEnd, end);
}
