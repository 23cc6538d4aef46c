#include "server/PortOptions.h"

namespace {
const char kOptionsKey[] = "Software\\Halvane\\tavlinserv\\Options";

struct MaskValue
{
    const char* name;
    int PortOptions::*mask;
    int fallback;
};
const MaskValue kValues[] = {
    {"COM Ports to Check", &PortOptions::tavlinMask, PortOptions::kNeverChosen},
    {"CM11a COM Ports to Check", &PortOptions::cm11aMask, 0},
    {"Kelto COM Ports to Check", &PortOptions::keltoMask, 0},
};
}

void PortOptions::Load()
{
    HKEY key = nullptr;
    BOOL open = RegOpenKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
    for (const MaskValue& value : kValues) {
        DWORD data = 0, size = sizeof(data), type = 0;
        BOOL found = open && RegQueryValueExA(key, value.name, nullptr, &type,
                                              reinterpret_cast<BYTE*>(&data), &size) ==
                                 ERROR_SUCCESS && type == REG_DWORD;
        this->*value.mask = found ? int(data) : value.fallback;
    }
    if (open)
        RegCloseKey(key);
}

BOOL PortOptions::Save() const
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return FALSE;
    BOOL ok = TRUE;
    for (const MaskValue& value : kValues) {
        DWORD data = DWORD(this->*value.mask);
        ok = ok && RegSetValueExA(key, value.name, 0, REG_DWORD,
                                  reinterpret_cast<const BYTE*>(&data), sizeof(data)) ==
                       ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return ok;
}
