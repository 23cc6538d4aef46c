#include "core/automation/EventMap.h"

namespace {

const char kLineEnds[] = "\r\n\t";

// Line ends and tabs become blanks and the ends are trimmed.
CString Cleaned(CString part)
{
    for (const char* c = kLineEnds; *c; ++c)
        part.Replace(*c, ' ');
    part.TrimLeft();
    part.TrimRight();
    return part;
}

// The next ch at or after from, reusing an earlier search that still holds:
// without it a file of many short entries would be searched to its end again
// for every entry.
int NextAt(const CString& text, char ch, int from, int& cached)
{
    if (cached != -1 && cached < from)
        cached = text.Find(ch, from);
    return cached;
}

}

bool ParseEventMap(const CString& text, EventMap& entries)
{
    const int length = text.GetLength();
    bool inside = false;
    int p = 0;
    int brace = -2;   // -2: not searched yet
    int hash = -2;
    CString pattern;
    CString action;
    while (p < length) {
        int b = NextAt(text, inside ? '}' : '{', p, brace);
        int h = NextAt(text, '#', p, hash);
        if (b < 0)
            return !inside;
        CString& part = inside ? action : pattern;
        if (h >= 0 && h < b) {
            part += text.Mid(p, h - p);
            int lineEnd = text.Find('\n', h);
            if (lineEnd < 0)
                return Cleaned(pattern).IsEmpty();
            p = lineEnd;
            continue;
        }
        part += text.Mid(p, b - p);
        p = b + 1;
        brace = -2;
        inside = !inside;
        if (inside)
            continue;
        EventMapEntry entry;
        entry.pattern = Cleaned(pattern);
        entry.pattern.MakeLower();
        entry.action = Cleaned(action);
        if (!entry.pattern.IsEmpty() && !entry.action.IsEmpty())
            entries.push_back(entry);
        pattern.Empty();
        action.Empty();
    }
    return true;
}
