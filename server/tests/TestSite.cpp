#include "server/tests/TestSite.h"
#include "tests/support/TestFramework.h"
#include "tests/support/TestData.h"

#include <stdlib.h>

CTestSite::CTestSite() : m_refs(1), m_changed(CreateEventA(nullptr, FALSE, FALSE, nullptr))
{
}

CTestSite::~CTestSite()
{
    CloseHandle(m_changed);
}

STDMETHODIMP CTestSite::QueryInterface(REFIID riid, void** object)
{
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ITavlinSite)) {
        *object = static_cast<ITavlinSite*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CTestSite::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) CTestSite::Release()
{
    ULONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP CTestSite::Receive(LPWSTR* pMessage)
{
    std::string text;
    for (const WCHAR* p = *pMessage; p && *p; ++p)
        text += char(*p);
    if (onReceive)
        onReceive(text);
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_texts.push_back(text);
    }
    SetEvent(m_changed);
    return S_OK;
}

bool CTestSite::WaitFor(size_t count, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount();;) {
        {
            std::lock_guard<std::mutex> hold(m_lock);
            if (m_texts.size() >= count)
                return true;
        }
        DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs)
            return false;
        WaitForSingleObject(m_changed, timeoutMs - waited);
    }
}

std::vector<std::string> CTestSite::Texts()
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_texts;
}

std::u16string Wide(const char* text)
{
    std::u16string out;
    for (const char* p = text; *p; ++p)
        out += char16_t(static_cast<unsigned char>(*p));
    return out;
}

std::string TaskText(LPWSTR text)
{
    std::string out;
    for (const WCHAR* p = text; p && *p; ++p)
        out += char(*p);
    CoTaskMemFree(text);
    return out;
}

std::string Env(const char* name)
{
    const char* value = getenv(name);
    return value ? value : "";
}

void RegisterProxyLibrary()
{
    HMODULE library = LoadLibraryA(WindowsPath(Env("ZYM_TAVLINPS_DLL")).c_str());
    ASSERT_NE(nullptr, library);
    auto reg = reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(library, "DllRegisterServer"));
    ASSERT_NE(nullptr, reg);
    ASSERT_EQ(S_OK, reg());
}
