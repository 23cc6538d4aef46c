// Opens a file, a program or a link the way the user's double click would:
// the shell's "open" verb, shown normally, owned by the application's main
// window. The texts go to the shell as they are; no command interpreter
// reads them.
#pragma once

#include <windows.h>

// Empty parameters and folder are left out. TRUE when the shell took it.
BOOL OpenLink(const char* file, const char* parameters, const char* folder);

// Tests put a recorder in the shell's place; null puts the shell back.
typedef BOOL (*LinkOpener)(const char* file, const char* parameters, const char* folder);
void SetLinkOpener(LinkOpener opener);
