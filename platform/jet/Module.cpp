// Entry points of the provider DLL: class objects and self-registration.
#include <windows.h>
#include <objbase.h>
#include <olectl.h>
#include <stdio.h>
#include <string>

#include "platform/jet/ClassFactory.h"
#include "platform/jet/DataSource.h"
#include "platform/jet/JetEngine.h"
#include "JetIds.h"
#include "platform/jet/ProviderIds.h"

namespace {

HINSTANCE g_module;

struct RegisteredClass
{
    const CLSID* clsid;
    const char* progId;
    const char* description;
    CreateObjectFunc create;
};

const RegisteredClass kClasses[] = {
    { &CLSID_ZymJetDataSource, ZYM_JET_PROVIDER_PROGID, "OLE DB provider over SQLite", CJetDataSource::Create },
    { &CLSID_ZymJetEngine, ZYM_JET_ENGINE_PROGID, "Database compaction engine", CJetEngine::Create },
};

std::string GuidText(const GUID& guid)
{
    char text[64];
    snprintf(text, sizeof(text), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
             static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
             guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

bool SetKeyValue(const std::string& key, const char* name, const std::string& value)
{
    HKEY handle;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG rc = RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
    return rc == ERROR_SUCCESS;
}

}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    for (const RegisteredClass& entry : kClasses) {
        if (!IsEqualCLSID(clsid, *entry.clsid))
            continue;
        CClassFactory* factory = new CClassFactory(entry.create);
        HRESULT hr = factory->QueryInterface(riid, object);
        factory->Release();
        return hr;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

// Connections and rowsets may outlive every class factory: the DLL stays loaded.
extern "C" HRESULT WINAPI DllCanUnloadNow()
{
    return S_FALSE;
}

// COM loads the DLL by the full path of this very file.
extern "C" HRESULT WINAPI DllRegisterServer()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(g_module, path, sizeof(path));
    if (n == 0 || n >= sizeof(path))
        return SELFREG_E_CLASS;
    for (const RegisteredClass& entry : kClasses) {
        std::string clsid = GuidText(*entry.clsid);
        std::string key = "CLSID\\" + clsid;
        bool ok = SetKeyValue(key, nullptr, entry.description) &&
                  SetKeyValue(key + "\\InprocServer32", nullptr, path) &&
                  SetKeyValue(key + "\\InprocServer32", "ThreadingModel", "Both") &&
                  SetKeyValue(key + "\\ProgID", nullptr, entry.progId) &&
                  SetKeyValue(entry.progId, nullptr, entry.description) &&
                  SetKeyValue(std::string(entry.progId) + "\\CLSID", nullptr, clsid);
        if (!ok)
            return SELFREG_E_CLASS;
    }
    return S_OK;
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    for (const RegisteredClass& entry : kClasses) {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + GuidText(*entry.clsid)).c_str());
        RegDeleteTreeA(HKEY_CLASSES_ROOT, entry.progId);
    }
    return S_OK;
}
