// The "open" request of the single-instance link and of the shell's DDE:
// [open("path")].
#pragma once

#include <afxwin.h>

// The path after the first [open(" of text, up to the next double quote or
// the end; FALSE when text holds no such request.
BOOL ExtractOpenPath(const CString& text, CString& path);

// The request a second start sends for path.
CString FormatOpenRequest(const CString& path);
