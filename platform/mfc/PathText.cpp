#include "platform/mfc/PathText.h"

#include <string.h>

int PathNameStart(const CString& path)
{
    int start = path.GetLength();
    while (start > 0 && !strchr("\\/:", path[start - 1]))
        start--;
    return start;
}

CString PathTitle(const CString& name)
{
    int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}
