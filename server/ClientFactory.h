// The class object of "Halvane.TavlinClient": every creation request makes a
// new CTavlinClient over the server's device manager. One running server
// serves every client (multiple use).
#pragma once
#include <windows.h>
#include <objbase.h>

class CTavlinClientFactory : public IClassFactory
{
public:
    CTavlinClientFactory();

    // Registers with COM as the running server's class object; revoked by
    // RevokeAll (or the destructor).
    HRESULT Register();
    void RevokeAll();
    BOOL IsRegistered() const { return m_cookie != 0; }

    STDMETHOD(QueryInterface)(REFIID riid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** object) override;
    STDMETHOD(LockServer)(BOOL lock) override;

private:
    DWORD m_cookie;
};
