#include "shell/app/OpenRequest.h"

namespace
{
const char kOpenPrefix[] = "[open(\"";
}

BOOL ExtractOpenPath(const CString& text, CString& path)
{
    // The request is looked for anywhere: text before it is not taken for
    // part of the path.
    int start = text.Find(kOpenPrefix);
    if (start < 0)
        return FALSE;
    path = text.Mid(start + (int)strlen(kOpenPrefix));
    int quote = path.Find('"');
    if (quote >= 0)
        path = path.Left(quote);
    return TRUE;
}

CString FormatOpenRequest(const CString& path)
{
    CString request;
    request.Format("[open(\"%s\")]", (LPCSTR)path);
    return request;
}
