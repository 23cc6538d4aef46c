// Every message box of the programs is shown through ShowMessageBox, so that
// tests can answer boxes and read their texts without a person at the screen.
#pragma once

#include <windef.h>

class CMessageBoxAnswerer
{
public:
    virtual ~CMessageBoxAnswerer() {}
    // Returns the button id the box gets (IDOK, IDYES, ...).
    virtual int Answer(HWND owner, const char* text, const char* caption, UINT type) = 0;
};

// Same contract as MessageBoxA.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// While an answerer is installed no box is shown; it answers instead (null removes it).
void SetMessageBoxAnswerer(CMessageBoxAnswerer* answerer);
