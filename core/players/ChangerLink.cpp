#include "core/players/ChangerLink.h"

#include "core/players/ChangerStateStore.h"
#include "core/devpath/DevicePath.h"
#include "core/players/OldFirmware.h"
#include "core/players/PlayerHost.h"
#include "devices/util/Bcd.h"

namespace {

const int kDiscsBelowUpper = 200;
const int kLowerCapacityOnly = 100;

} // namespace

ChangerAddress ChangerAddress::OnBus(int id, int unit, int port, bool upperSlots)
{
    ChangerAddress a;
    a.busId = id;
    a.unit = unit;
    a.busPort = port;
    a.sendDevice.Format("cdsls%01d%01d%01d", unit, port, id + 1);
    a.receiveDevice.Format("cdslr%01d%01d%01d", unit, port, id + 1);
    a.controlDevice.Format("cdca%01d%01d%01d", unit, port, id + 1);
    a.irDevice.Format("cdir%01d%01d", unit, id + 1);
    if (upperSlots) {
        a.upperSendDevice.Format("cdsls%01d%01d%01da", unit, port, id + 4);
        a.upperReceiveDevice.Format("cdslr%01d%01d%01da", unit, port, id + 4);
    }
    return a;
}

void CChangerLink::GetDiscAddress(int disc, int capacity, CString& device, CString& code) const
{
    device = disc > kDiscsBelowUpper ? m_address.upperSendDevice : m_address.sendDevice;
    code = EncodeDisc(disc, capacity);
}

// A disc code is one byte (the upper slots count from 201) on a device the
// changer has; a track code is two BCD digits.
bool CChangerLink::CanAddress(int disc, int track) const
{
    const int kLastUpperDisc = kDiscsBelowUpper + 0xFF;
    const int kLastTrackIndex = 98;
    if (disc > kLastUpperDisc || track > kLastTrackIndex)
        return false;
    return disc <= kDiscsBelowUpper || !m_address.upperSendDevice.IsEmpty();
}

CString CChangerLink::EncodeDisc(int disc, int capacity)
{
    CString code;
    if (disc <= 0)
        code = "FF";
    else if (disc <= 99)
        code.Format("%02x", DecimalToBcd8(disc));
    else if (disc == 100 && capacity == kLowerCapacityOnly)
        code = "00";
    else if (disc <= kDiscsBelowUpper)
        code.Format("%02x", disc + 54);
    else
        code.Format("%02x", disc - kDiscsBelowUpper);
    return code;
}

CString CChangerLink::EncodeTrack(int track)
{
    CString code;
    code.Format("%02x", DecimalToBcd8(track < 0 ? 1 : track + 1));
    return code;
}

int CChangerLink::DecodeDisc(int code, bool upper)
{
    if (upper)
        return code + kDiscsBelowUpper;
    if (code == 0)
        return 100;
    if (code > 0x99)
        return code - 54;
    return int(Bcd8ToDecimal(code));
}

BOOL CChangerLink::Send(const CString& text)
{
    CChangerStateStore::COutside outside(m_store);
    return m_host->GetDevicePath().SendDeviceCommand(text);
}

bool CChangerLink::OldFirmware()
{
    return IsOldFirmware(m_host->GetFirmwareVersion());
}

CString CChangerLink::Word(const char* word) const
{
    return m_address.sendDevice + ":" + word;
}

CString CChangerLink::Pause45() const
{
    return " " + m_address.sendDevice + ":ir[-45000] ";
}

CString CChangerLink::Twice(const char* word, const char* between)
{
    CString text = Word(word) + between;
    if (OldFirmware())
        text = Word(word) + " " + text;
    return text;
}
