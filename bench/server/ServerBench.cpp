// One client of the real device server, started by COM: sends command texts to
// an intercommunication device of its own and counts the texts that come back
// to its site. Prints sends per second and delivered texts per second.
#include <windows.h>
#include <objbase.h>

#include <stdio.h>

#include <string>

#include "bench/support/BenchClock.h"
#include "server/PortOptions.h"
#include "server/ServerRegistration.h"
#include "server/TavlinClient.h"
#include "tests/support/TestData.h"

namespace {

const int kSends = 5000;
const DWORD kDeliveryWaitMs = 60000;

// Counts what arrives; signals when the expected number came.
class CCountingSite : public ITavlinSite
{
public:
    explicit CCountingSite(LONG expected) : m_expected(expected), m_done(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~CCountingSite() { CloseHandle(m_done); }

    STDMETHOD(QueryInterface)(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ITavlinSite)) {
            *object = static_cast<ITavlinSite*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the stack for the whole run.
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(Receive)(LPWSTR*) override
    {
        if (InterlockedIncrement(&m_count) == m_expected)
            SetEvent(m_done);
        return S_OK;
    }

    bool Wait(DWORD ms) { return WaitForSingleObject(m_done, ms) == WAIT_OBJECT_0; }
    LONG Count() const { return m_count; }

private:
    volatile LONG m_count = 0;
    LONG m_expected;
    HANDLE m_done;
};

HRESULT CallWith(ITavlin* client, HRESULT (STDMETHODCALLTYPE ITavlin::*method)(LPWSTR*), const char* text)
{
    std::u16string wide(text, text + strlen(text));
    LPWSTR pointer = reinterpret_cast<LPWSTR>(&wide[0]);
    return (client->*method)(&pointer);
}

bool RegisterEverything()
{
    HMODULE proxies = LoadLibraryA(WindowsPath(TAVLINPS_DLL).c_str());
    auto reg = proxies ? reinterpret_cast<HRESULT(WINAPI*)()>(GetProcAddress(proxies, "DllRegisterServer")) : nullptr;
    if (!reg || FAILED(reg())) {
        printf("cannot register the proxy/stub library %s\n", TAVLINPS_DLL);
        return false;
    }
    // No ports to probe: the texts go through the server's intercommunication queue.
    PortOptions options;
    options.tavlinMask = 0;
    options.Save();
    return RegisterServer(WindowsPath(TAVLINSERV_PROGRAM).c_str()) != FALSE;
}

int Run()
{
    ITavlin* client = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_TavlinClient, nullptr, CLSCTX_LOCAL_SERVER, IID_ITavlin,
                                  reinterpret_cast<void**>(&client));
    if (FAILED(hr)) {
        printf("no server: %08x\n", unsigned(hr));
        return 1;
    }
    CCountingSite site(kSends);
    client->DAdvise(&site);
    std::u16string name = u"bench", text = u"type=devrxtx\n";
    LPWSTR namePointer = &name[0], textPointer = &text[0];
    client->AddDeviceText(&namePointer, &textPointer, 0, 0, 0);

    double start = BenchSeconds();
    int failed = 0;
    for (int i = 0; i < kSends; ++i)
        failed += CallWith(client, &ITavlin::Send, "bench:text") != S_OK;
    double sent = BenchSeconds();
    bool all = site.Wait(kDeliveryWaitMs);
    double delivered = BenchSeconds();
    printf("sends: %d in %.3f s, %.0f per second (%d refused)\n", kSends, sent - start, kSends / (sent - start),
           failed);
    printf("delivered: %ld in %.3f s, %.0f per second%s\n", long(site.Count()), delivered - start,
           site.Count() / (delivered - start), all ? "" : " (not all came)");
    client->Release();
    return all && !failed ? 0 : 1;
}

} // namespace

int main()
{
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    int result = RegisterEverything() ? Run() : 1;
    CoUninitialize();
    return result;
}
