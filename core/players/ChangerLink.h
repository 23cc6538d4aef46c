// A changer's place on the control bus: the names of its devices, the codes of
// its discs and tracks, and the command words it is sent through the
// document's device path.
#pragma once

#include <afx.h>

class CChangerStateStore;
class CPlayerHost;

// Written by the player control before the player is used.
struct ChangerAddress
{
    // The devices of changer id (0-2) on a bus port of a unit; the upper
    // devices for a changer with slots above 200.
    static ChangerAddress OnBus(int id, int unit, int port, bool upperSlots);

    int busId = 0;
    int unit = 0;
    int busPort = 0;
    CString sendDevice;
    CString upperSendDevice;   // empty without slots above 200
    CString irDevice;
    CString controlDevice;
    CString receiveDevice;
    CString upperReceiveDevice;
};

class CChangerLink
{
public:
    CChangerLink(CPlayerHost* host, CChangerStateStore& store) : m_host(host), m_store(store) {}

    const ChangerAddress& GetAddress() const { return m_address; }
    void SetAddress(const ChangerAddress& address) { m_address = address; }

    // Disc and track codes of the bus. Places they cannot carry are refused:
    // nothing is sent and the request gives false.
    bool CanAddress(int disc, int track) const;
    // The device of a disc (the upper send device above 200) and its code;
    // capacity tells a 100-disc changer, whose disc 100 is code 00.
    void GetDiscAddress(int disc, int capacity, CString& device, CString& code) const;
    static CString EncodeDisc(int disc, int capacity);
    static CString EncodeTrack(int track);
    static int DecodeDisc(int code, bool upper);

    // From the status parser's thread, sent without the state's lock.
    BOOL Send(const CString& text);
    bool OldFirmware();
    CString Word(const char* word) const;      // S ":" word
    CString Pause45() const;                   // " " S ":ir[-45000] "
    // S ":" word, doubled with old firmware: the first copy ends with a
    // blank, the last with between.
    CString Twice(const char* word, const char* between);

private:
    CPlayerHost* m_host;
    CChangerStateStore& m_store;
    ChangerAddress m_address;
};
