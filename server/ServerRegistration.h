// The server's class registration in HKEY_CLASSES_ROOT: the CLSID with this
// program as its local server, and the ProgID.
#pragma once
#include <windows.h>

// command: what COM runs to start the server.
BOOL RegisterServer(const char* command);
void UnregisterServer();
// The command that starts this very program as a Windows program.
#include <afx.h>
CString ServerCommand();
