// Inclusive index ranges into a text, as the device command dispatcher cuts
// command lines into items and arguments.
#pragma once

#include <afx.h>

struct TextSpan
{
    int first;
    int last;   // inclusive; the span is empty when first > last

    CString GetText(const CString& text) const;
};

// Cuts the span at the first delimiter found from span.first: the span keeps what
// stands before it, after receives what follows it. False (span unchanged, after
// = last..last) when the delimiter is missing or ends beyond span.last + 1.
bool SplitTextSpan(const CString& text, const char* delimiter, TextSpan& span, TextSpan& after);

// chars points at the character at span.first. Finds the first bracketed part in
// the span (nesting when open != close, pairing when they are equal, as quotes);
// inner gets its contents and span.first moves behind the closing character.
bool FindBracketed(const char* chars, char open, char close, TextSpan& span, TextSpan& inner);
