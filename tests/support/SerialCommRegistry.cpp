#include "tests/support/SerialCommRegistry.h"

#include <windows.h>
#include <stdio.h>

namespace {

const char kKey[] = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

std::string ValueName(int port)
{
    char name[64];
    snprintf(name, sizeof name, "\\Device\\PtySerial%d", port);
    return name;
}

} // namespace

namespace SerialCommRegistry {

bool Add(int port)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    char data[32];
    int length = snprintf(data, sizeof data, "COM%d", port);
    LONG result = RegSetValueExA(key, ValueName(port).c_str(), 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(data), length + 1);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void Remove(int port)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, ValueName(port).c_str());
    RegCloseKey(key);
}

bool HasPort(int port)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char wanted[32];
    snprintf(wanted, sizeof wanted, "COM%d", port);
    bool found = false;
    for (DWORD i = 0; !found; ++i) {
        char name[256], data[256];
        DWORD nameSize = sizeof name, dataSize = sizeof data, type;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type,
                          reinterpret_cast<BYTE*>(data), &dataSize) != ERROR_SUCCESS)
            break;
        found = type == REG_SZ && lstrcmpiA(data, wanted) == 0;
    }
    RegCloseKey(key);
    return found;
}

} // namespace SerialCommRegistry
