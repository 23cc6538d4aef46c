// The dispatcher: cuts a command text into items and hands each to the driver
// of its device's kind.
#include "devices/manager/DeviceManager.h"

#include "devices/port/LowLevelText.h"
#include "devices/util/TextSpan.h"

#include <stdarg.h>

namespace {

const char kItemBreaks[] = " \r\n\t";

CString Trimmed(CString text)
{
    text.TrimLeft();
    text.TrimRight();
    return text;
}

// Formats the reason of a refused item and gives 0.
int Refuse(CString& reason, const char* format, ...) __attribute__((format(printf, 2, 3)));
int Refuse(CString& reason, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    reason.FormatV(format, args);
    va_end(args);
    return 0;
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

int CDeviceManager::SendItems(int userId, const char* text, const std::function<void(const CString&)>& report)
{
    CString rest(text);
    CString name;
    CString command;
    while (NextCommandItem(rest, name, command)) {
        CString reason;
        int sent = SendItem(userId, name, command, reason);
        if (!reason.IsEmpty())
            report(reason);
        if (!sent)
            return 0;
    }
    return 1;
}

// A box must not stop the monitoring thread, so it comes after the item's
// locks are released.
int CDeviceManager::Send(int userId, const char* text)
{
    return SendItems(userId, text, [this](const CString& reason) { Fail("%s", static_cast<const char*>(reason)); });
}

int CDeviceManager::SendQuietly(int userId, const char* text, CString& reason)
{
    reason.Empty();
    return SendItems(userId, text, [&reason](const CString& itemReason) { reason = itemReason; });
}

// 1 when the item was handed on; 0 with the reason. A refused alarm gives 1
// with its reason: like a driver's failure it does not stop the line.
int CDeviceManager::SendItem(int userId, const CString& name, const CString& command, CString& reason)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    CDevice* device = FindDevice(userId, name);
    if (!device)
        return Refuse(reason, "%s is not a known device name", static_cast<const char*>(name));
    if (device->MayTransmit()) {
        return QueueIntercom(name, command, reason);
    }
    if (device->MayReceive())
        return Refuse(reason, "The intercommunication device %s was specified as receive only for this client",
                    static_cast<const char*>(name));
    // The driver calls run without the lock so that the monitoring thread keeps
    // reading; ports change only while that thread is stopped.
    int unit = device->GetUnit();
    if (device->IsCM11a()) {
        if (unit < 0 || unit >= GetNumCM11As())
            return Refuse(reason, "%s refers to a CM11a which doesn't exist", static_cast<const char*>(name));
        lock.Unlock();
        m_cm11aPorts.At(unit)->SendCommand(command);
        return 1;
    }
    if (device->IsKelto()) {
        if (unit < 0 || unit >= GetNumKeltos())
            return Refuse(reason, "%s refers to a Kelto which doesn't exist", static_cast<const char*>(name));
        lock.Unlock();
        m_keltoPorts.At(unit)->SendCommand(command);
        return 1;
    }
    if (device->IsTimer()) {
        // Kept alive while the lock is not held, even if it is deleted meanwhile.
        device->AddUse();
        lock.Unlock();
        device->TimerCommand(command, &reason);
        ReleaseDevice(device);
        return 1;
    }
    CString lowLevel = device->ComposeCommand(command);
    if (lowLevel.IsEmpty())
        return Refuse(reason, "%s is not a recognized command for the device %s", static_cast<const char*>(command),
                    static_cast<const char*>(name));
    if (unit < 0 || unit >= GetNumTavlins())
        return Refuse(reason, "%s refers to a Tavlin which doesn't exist", static_cast<const char*>(name));
    lock.Unlock();
    m_tavlinPorts.At(unit)->ExecuteLowLevel(lowLevel);
    return 1;
}

// Called under lock A. A message for a name that no user receives would never
// be taken: it is not queued. The queue is bounded, since nothing drains it
// while the monitoring thread is stopped.
int CDeviceManager::QueueIntercom(const CString& name, const CString& command, CString& reason)
{
    if (!HasReceiver(name))
        return 1;
    CSingleLock queueLock(&m_queueLock, TRUE);
    if (m_queue.size() >= size_t(kMaxIntercomMessages))
        return Refuse(reason, "The intercommunication queue is full; %s:%s was dropped", static_cast<const char*>(name),
                      static_cast<const char*>(command));
    IntercomMessage message;
    message.device = name;
    message.text = command;
    m_queue.push_back(message);
    return 1;
}

// Called under lock A.
bool CDeviceManager::HasReceiver(const CString& name)
{
    for (const UserRecord& user : m_users) {
        CDevice* device = FindDevice(user.id, name);
        if (device && device->MayReceive())
            return true;
    }
    return false;
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
