// How the command language reads a command text: the word before the first
// "[", the argument up to the first "]" of the text (no quoting, no nesting),
// parameters cut at commas, and numbers read as "%d" reads them.
#pragma once

#include <afx.h>

#include <vector>

struct CommandText
{
    // Lower-cased; not trimmed. Empty when a "[" has no "]" after it.
    CString word;
    // Lower-cased and trimmed; what follows the "]" is ignored.
    CString argument;
};

CommandText SplitCommand(const CString& text);

// The parameters of an argument that holds exactly commas commas, first to
// last and untrimmed; FALSE (and none) for any other count.
BOOL SplitParameters(const CString& argument, int commas, std::vector<CString>& parameters);

// Leading white space, an optional sign and digits, trailing text ignored;
// FALSE when no number starts the text. Values past the 32-bit range stop at
// its ends instead of wrapping, so that range checks still refuse them.
BOOL ReadNumber(const CString& text, int& value);
