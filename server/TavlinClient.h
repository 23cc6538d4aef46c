// One client program's object in the device server: its user in the device
// manager. The devices it adds, the texts it sends and the texts received for
// its devices are kept apart from other clients' by that user id. Received
// texts reach the client's ITavlinSite through a CSiteDelivery.
#pragma once
#include <windows.h>
#include <afx.h>
#include "Tavlin.h"
#include "devices/manager/TextCallback.h"
#include <atomic>
#include <vector>

class CDeviceManager;
class CSiteDelivery;

// {A02C76B3-BE7D-411B-A6D9-76880ED8F217}
extern const CLSID CLSID_TavlinClient;
extern const char kTavlinClientProgId[];   // "Halvane.TavlinClient"

class CTavlinClient : public ITavlin, public CCallbackTarget
{
public:
    explicit CTavlinClient(CDeviceManager* manager);

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;

    // ITavlin: S_OK, a count as the result itself, or -1 with the reason kept
    // for GetTavlinError. Out-strings come from CoTaskMemAlloc.
    STDMETHOD(DAdvise)(ITavlinSite* lpas) override;
    STDMETHOD(DUnadvise)() override;
    STDMETHOD(AddDevice)(LPWSTR* pName, LPWSTR* pFile, LONG nDevID, LONG nTavlin, LONG Ports) override;
    STDMETHOD(DeleteDevice)(LPWSTR* pName) override;
    STDMETHOD(Send)(LPWSTR* pMessage) override;
    STDMETHOD(GetNumTavlins)() override;
    STDMETHOD(GetReportNoMatch)() override;
    STDMETHOD(SetReportNoMatch)(short val) override;
    STDMETHOD(AddDeviceText)(LPWSTR* pName, LPWSTR* pText, LONG nDevID, LONG nTavlin, LONG Ports) override;
    STDMETHOD(GetTavlinError)(LPWSTR* pError) override;
    STDMETHOD(GetNumDevices)() override;
    STDMETHOD(GetDeviceName)(LPWSTR* pDevName, LONG nDevice) override;
    STDMETHOD(GetNumCodes)(LPWSTR* pDevName) override;
    STDMETHOD(GetCodeName)(LPWSTR* pCodeName, LPWSTR* pDevName, LONG nCode) override;
    STDMETHOD(GetNumCM11As)() override;
    STDMETHOD(GetNumKeltos)() override;
    STDMETHOD(GetUserID)() override;
    STDMETHOD(SwitchToUserID)(LONG UserID) override;
    STDMETHOD(ChangeToUserID)(LONG UserID) override;
    STDMETHOD(MakePersistent)(short val) override;

    // The listener of the client's devices, on the monitoring thread under the
    // manager's lock: it only queues the text.
    void DeliverMessage(CString text);

    // GUI thread: the objects of clients whose process ended while texts were
    // on their way are cut from COM, which lets them go as a release would
    // (COM itself may never notice a client that died).
    static void DisconnectDeadClients();

private:
    virtual ~CTavlinClient();
    HRESULT AddLoaded(LPWSTR* pName, LPWSTR* pSource, BOOL fromFile, LONG nDevID, LONG nTavlin,
                      LONG Ports);
    HRESULT Fail();
    HRESULT Fail(const char* text);
    void DeviceListChanged();

    LONG m_refs;
    CDeviceManager* m_manager;
    ITavlinSite* m_site;
    // Written once on the GUI thread, read by the monitoring thread.
    std::atomic<CSiteDelivery*> m_delivery;
    int m_userId;
    BOOL m_persistent;
    CString m_error;
    // Every live object; GUI thread only.
    static std::vector<CTavlinClient*> s_live;
};

// Helpers shared with the server's other COM code: UTF-16 in, ANSI out, and
// back into a block the caller frees with CoTaskMemFree (never null while
// memory lasts; empty for an empty text).
CString AnsiFromWide(const LPWSTR* text);
LPWSTR TaskStringFromAnsi(const char* text);
