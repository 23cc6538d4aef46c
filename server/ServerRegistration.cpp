#include "server/ServerRegistration.h"
#include "server/TavlinClient.h"

namespace {
const char kClsidKey[] = "CLSID\\{A02C76B3-BE7D-411B-A6D9-76880ED8F217}";
const char kClsidText[] = "{A02C76B3-BE7D-411B-A6D9-76880ED8F217}";
const char kClassName[] = "CTavlinClient";

BOOL SetKeyValue(const CString& key, const char* value)
{
    return RegSetValueA(HKEY_CLASSES_ROOT, key, REG_SZ, value, DWORD(strlen(value))) ==
           ERROR_SUCCESS;
}
}

BOOL RegisterServer(const char* command)
{
    CString clsid(kClsidKey);
    CString progId(kTavlinClientProgId);
    return SetKeyValue(clsid, kClassName) &&
           SetKeyValue(clsid + "\\LocalServer32", command) &&
           SetKeyValue(clsid + "\\ProgID", kTavlinClientProgId) &&
           SetKeyValue(progId, kClassName) &&
           SetKeyValue(progId + "\\CLSID", kClsidText);
}

// Results are ignored: whatever is missing is already unregistered.
void UnregisterServer()
{
    HKEY classes = nullptr;
    if (RegOpenKeyA(HKEY_CLASSES_ROOT, "CLSID", &classes) == ERROR_SUCCESS) {
        HKEY server = nullptr;
        if (RegOpenKeyA(classes, kClsidText, &server) == ERROR_SUCCESS) {
            RegDeleteKeyA(server, "InProcHandler32");
            RegDeleteKeyA(server, "LocalServer32");
            RegDeleteKeyA(server, "ProgID");
            RegCloseKey(server);
        }
        RegDeleteKeyA(classes, kClsidText);
        RegCloseKey(classes);
    }
    HKEY progId = nullptr;
    if (RegOpenKeyA(HKEY_CLASSES_ROOT, kTavlinClientProgId, &progId) == ERROR_SUCCESS) {
        RegDeleteKeyA(progId, "Clsid");
        RegCloseKey(progId);
    }
    RegDeleteKeyA(HKEY_CLASSES_ROOT, kTavlinClientProgId);
}

// The build places the program as a module named tavlinserv.exe, which Wine
// starts as a Win32 program (the launcher script beside the build output is not).
CString ServerCommand()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (n == 0 || n >= sizeof(path))
        return CString();
    return CString("\"") + path + "\"";
}
