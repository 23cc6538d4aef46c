// The ports the server probes at start-up, kept under
// HKCU\Software\Halvane\tavlinserv\Options; bit i of a mask stands for COM(i+1).
#pragma once
#include <windows.h>

struct PortOptions
{
    enum { kNeverChosen = 777 };
    int tavlinMask = kNeverChosen;
    int cm11aMask = 0;
    int keltoMask = 0;

    void Load();
    BOOL Save() const;
    BOOL NeverChosen() const { return tavlinMask == kNeverChosen; }
};
