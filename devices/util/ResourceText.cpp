#include "devices/util/ResourceText.h"

CString LoadResourceText(const char* name)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC resource = FindResourceA(module, name, RT_RCDATA);
    if (!resource)
        return CString();
    DWORD size = SizeofResource(module, resource);
    HGLOBAL loaded = LoadResource(module, resource);
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!size || !bytes)
        return CString();
    return CString(bytes, int(size));
}
