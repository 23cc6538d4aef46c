// The event map file's text: patterns, each followed by an action in braces,
// with "#" comments to the end of their line anywhere in the file.
#pragma once

#include <afx.h>

#include <vector>

struct EventMapEntry
{
    CString pattern;   // lower case
    CString action;
};

typedef std::vector<EventMapEntry> EventMap;

// Appends the text's entries in file order. False for a "{" that is never
// closed or a comment that ends the text after a pattern; the entries found
// before stay appended.
bool ParseEventMap(const CString& text, EventMap& entries);
