// The dispatcher: cuts a command text into items and hands each to the driver
// of its device's kind.
#include "DeviceManager.h"

#include "LowLevelText.h"
#include "TextSpan.h"

namespace {

const char kItemBreaks[] = " \r\n\t";

CString Trimmed(CString text)
{
    text.TrimLeft();
    text.TrimRight();
    return text;
}

}

BOOL NextCommandItem(CString& text, CString& device, CString& command)
{
    int colon = text.Find(':');
    if (colon < 0)
        return FALSE;
    device = Trimmed(text.Left(colon));
    CString rest = Trimmed(text.Mid(colon + 1));
    int end = rest.FindOneOf(kItemBreaks);
    command = end < 0 ? rest : rest.Left(end);
    int open = command.Find('[');
    if (open >= 0) {
        // Arguments may hold blanks and nested brackets.
        TextSpan span = {open, rest.GetLength() - 1};
        TextSpan inner;
        if (FindBracketed(static_cast<const char*>(rest) + open, '[', ']', span, inner))
            command = rest.Left(span.first);
    }
    text = Trimmed(rest.Mid(command.GetLength() + 1));
    command = Trimmed(command);
    return TRUE;
}

int CDeviceManager::Send(int userId, const char* text)
{
    CString rest(text);
    CString name;
    CString command;
    while (NextCommandItem(rest, name, command)) {
        if (!SendItem(userId, name, command))
            return 0;
    }
    return 1;
}

// 1 when the item was handed on; 0 with the error reported.
int CDeviceManager::SendItem(int userId, const CString& name, const CString& command)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    CDevice* device = FindDevice(userId, name);
    if (!device)
        return Fail("%s is not a known device name", static_cast<const char*>(name));
    if (device->MayTransmit()) {
        CSingleLock queueLock(&m_queueLock, TRUE);
        IntercomMessage message;
        message.device = name;
        message.text = command;
        m_queue.push_back(message);
        return 1;
    }
    if (device->MayReceive())
        return Fail("The intercommunication device %s was specified as receive only for this client",
                    static_cast<const char*>(name));
    // The driver calls run without the lock so that the monitoring thread keeps
    // reading; ports change only while that thread is stopped.
    int unit = device->GetUnit();
    if (device->IsCM11a()) {
        if (unit < 0 || unit >= GetNumCM11As())
            return Fail("%s refers to a CM11a which doesn't exist", static_cast<const char*>(name));
        lock.Unlock();
        m_cm11aPorts.At(unit)->SendCommand(command);
        return 1;
    }
    if (device->IsKelto()) {
        if (unit < 0 || unit >= GetNumKeltos())
            return Fail("%s refers to a Kelto which doesn't exist", static_cast<const char*>(name));
        lock.Unlock();
        m_keltoPorts.At(unit)->SendCommand(command);
        return 1;
    }
    if (device->IsTimer()) {
        // Kept alive while the lock is not held, even if it is deleted meanwhile.
        device->AddUse();
        lock.Unlock();
        // A refused alarm is reported; like a driver's failure it does not stop the line.
        CString reason;
        if (!device->TimerCommand(command, &reason) && !reason.IsEmpty())
            Fail("%s", static_cast<const char*>(reason));
        ReleaseDevice(device);
        return 1;
    }
    CString lowLevel = device->ComposeCommand(command);
    if (lowLevel.IsEmpty())
        return Fail("%s is not a recognized command for the device %s", static_cast<const char*>(command),
                    static_cast<const char*>(name));
    if (unit < 0 || unit >= GetNumTavlins())
        return Fail("%s refers to a Tavlin which doesn't exist", static_cast<const char*>(name));
    lock.Unlock();
    m_tavlinPorts.At(unit)->ExecuteLowLevel(lowLevel);
    return 1;
}

CString ParseEventText(const char* text, std::vector<BYTE>& bytes)
{
    bytes.clear();
    CString event(text);
    int colon = event.Find(':');
    if (colon < 0)
        return CString();
    CString rest = event.Mid(colon + 1);
    int open = rest.Find('[');
    if (open < 0)
        return Trimmed(rest);
    int close = rest.Find(']', open);
    CString hex = close < 0 ? rest.Mid(open + 1) : rest.Mid(open + 1, close - open - 1);
    bytes = HexTextToBytes(hex);
    return rest.Left(open);
}
