// A client program for the server's tests, to be killed while its texts
// arrive: it adds an intercommunication device, says it is ready through the
// named event given on its command line, then sends to that device without end.
#include <windows.h>
#include <objbase.h>

#include <string>

#include "server/TavlinClient.h"

namespace {

class CQuietSite : public ITavlinSite
{
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** object) override
    {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ITavlinSite)) {
            *object = static_cast<ITavlinSite*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives until the process is killed.
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(Receive)(LPWSTR*) override { return S_OK; }
};

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ITavlin* client = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TavlinClient, nullptr, CLSCTX_LOCAL_SERVER, IID_ITavlin,
                                reinterpret_cast<void**>(&client))))
        return 1;
    static CQuietSite site;
    client->DAdvise(&site);
    std::u16string name = u"gone", text = u"type=devrxtx\n", send = u"gone:text";
    LPWSTR namePointer = &name[0], textPointer = &text[0], sendPointer = &send[0];
    client->AddDeviceText(&namePointer, &textPointer, 0, 0, 0);
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]);
    SetEvent(ready);
    for (;;)
        client->Send(&sendPointer);
}
