#include "platform/tavlinx/TavlinXApi.h"

#include "platform/tavlinx/TavlinXControl.h"
#include "platform/runtime/ComUnknown.h"

const CLSID CLSID_TavlinX = {0x8A0AA45F, 0x12B3, 0x40C0, {0xAA, 0xA3, 0x0B, 0x4D, 0x96, 0x1F, 0x75, 0x1D}};
// {5C1D2E7A-93B4-4F0E-8D21-6A7B3C9E0F14}
const IID DIID_TavlinXEvents = {0x5C1D2E7A, 0x93B4, 0x4F0E, {0x8D, 0x21, 0x6A, 0x7B, 0x3C, 0x9E, 0x0F, 0x14}};

namespace {

class CTavlinXFactory : public IClassFactory
{
public:
    CTavlinXFactory() : m_refs(1) {}

    COM_IUNKNOWN(IClassFactory, IsEqualIID(riid, IID_IClassFactory))

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override
    {
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        CTavlinXControl* control = new CTavlinXControl;
        HRESULT hr = control->QueryInterface(riid, object);
        control->Release();
        return hr;
    }

    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    virtual ~CTavlinXFactory() {}

    LONG m_refs;
};

} // namespace

HRESULT RegisterTavlinXClass(DWORD* cookie)
{
    CTavlinXFactory* factory = new CTavlinXFactory;
    HRESULT hr = CoRegisterClassObject(CLSID_TavlinX, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, cookie);
    factory->Release();
    return hr;
}
