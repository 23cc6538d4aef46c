// Comma-separated fields and URL escaping of texts.
#pragma once

#include <afx.h>

// Number of commas plus one: an empty text has one field.
int CountFields(const CString& text);
// Field index (from 0) with blanks trimmed on both sides; empty beyond the last.
CString GetField(const CString& text, int index);
// A blank becomes "+", letters and digits stay, every other byte becomes %XX.
CString EscapeUrlText(const CString& text);
