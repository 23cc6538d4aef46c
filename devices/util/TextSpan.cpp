#include "devices/util/TextSpan.h"

#include <string.h>

CString TextSpan::GetText(const CString& text) const
{
    if (first > last || first < 0 || first >= text.GetLength())
        return CString();
    return text.Mid(first, last - first + 1);
}

bool SplitTextSpan(const CString& text, const char* delimiter, TextSpan& span, TextSpan& after)
{
    int length = int(strlen(delimiter));
    int at = span.first < 0 ? -1 : text.Find(delimiter, span.first);
    if (at < 0 || at + length > span.last + 1) {
        after.first = after.last = span.last;
        return false;
    }
    int oldLast = span.last;
    after.first = at + length < oldLast ? at + length : oldLast;
    after.last = oldLast;
    span.last = at - 1 > span.first ? at - 1 : span.first;
    return true;
}

bool FindBracketed(const char* chars, char open, char close, TextSpan& span, TextSpan& inner)
{
    int level = 0;
    for (int i = span.first; i <= span.last; ++i) {
        char ch = chars[i - span.first];
        if (open == close) {
            if (ch != open)
                continue;
            if (level == 0) {
                inner.first = i + 1;
                level = 1;
                continue;
            }
        } else if (ch == open) {
            if (level++ == 0)
                inner.first = i + 1;
            continue;
        } else if (ch != close || level == 0 || --level > 0) {
            continue;
        }
        inner.last = i - 1;
        span.first = i + 1;
        return true;
    }
    return false;
}
