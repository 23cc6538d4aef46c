// The monitoring thread: reads every port, matches received codes against the
// users' devices and delivers the event texts to their listeners.
#include "devices/manager/DeviceManager.h"

#include "devices/manager/BitText.h"

#include <objbase.h>
#include <stdlib.h>

namespace {

const int kReadTimeoutMs = 10;
const int kIdleSleepMs = 250;
const int kStopFlushMs = 2000;
const int kStopWaitMs = 25;
const int kStopWaits = 41;
const int kIRCodeBase = 4;
const int kBitFormBase = 128;
const int kControlBusPorts = 4;
const int kPortMaskBits = 32;   // a garbled item may name any port number
// Codes of items that carry no code number of their own.
const int kTavlinCode = -1;
const int kCM11aCode = -2;
const int kKeltoCode = -3;

// The code number an item's head names: IR port n is 4 + n, a control-bus port
// in bit form 128 + n, in byte form n; anything else -1.
int CodeOfHead(const CString& head)
{
    struct HeadRule
    {
        const char* word;
        int base;
    };
    static const HeadRule kHeads[] = {{"ir", kIRCodeBase}, {"slb", kBitFormBase}, {"sl", 0}};
    for (const HeadRule& rule : kHeads) {
        int at = head.Find(rule.word);
        if (at >= 0)
            return rule.base + atoi(static_cast<const char*>(head) + at + strlen(rule.word));
    }
    return -1;
}

}

void CDeviceManager::SetOneShotCallback(CCallbackTarget* object, TextFunction function)
{
    CSingleLock lock(&m_queueLock, TRUE);
    m_oneShot.object = object;
    m_oneShot.function = function;
}

void CDeviceManager::StartMessageMonitor()
{
    if (MonitorThreadAlive() && !m_stop)
        return;
    // A thread told to stop ends before its successor starts: two would read
    // the same ports.
    if (m_thread) {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
    }
    m_stop = 0;
    m_thread = CreateThread(nullptr, 0, MessageMonitorThreadProc, this, 0, nullptr);
}

int CDeviceManager::StopMessageMonitor()
{
    BOOL alive = MonitorThreadAlive();
    // Without the thread nobody else reads the echoes of the flush.
    for (int p = 0; p < GetNumTavlins(); ++p)
        m_tavlinPorts.At(p)->Flush(!alive, kStopFlushMs);
    m_stop = 1;
    if (!alive)
        return 1;
    for (int i = 0; i < kStopWaits; ++i) {
        if (WaitForSingleObject(m_thread, kStopWaitMs) == WAIT_OBJECT_0)
            return 1;
    }
    return Fail("Unable to end message monitoring thread.");
}

DWORD WINAPI CDeviceManager::MessageMonitorThreadProc(void* manager)
{
    static_cast<CDeviceManager*>(manager)->RunMonitor();
    return 0;
}

void CDeviceManager::RunMonitor()
{
    if (m_hook)
        m_hook->Invoke(1);
    BOOL com = m_initializeCom;
    if (com)
        CoInitialize(nullptr);
    m_running = 1;
    while (!m_stop) {
        TextCallback oneShot;
        {
            CSingleLock lock(&m_queueLock, TRUE);
            oneShot = m_oneShot;
            m_oneShot = TextCallback();
        }
        if (oneShot.object)
            oneShot.Invoke(CString());
        PollMessages();
    }
    m_running = 0;
    if (com)
        CoUninitialize();
    if (m_hook)
        m_hook->Invoke(0);
}

// Delivers the oldest intercommunication message; empty when none waits.
CString CDeviceManager::DeliverIntercom()
{
    IntercomMessage message;
    {
        CSingleLock queueLock(&m_queueLock, TRUE);
        if (m_queue.empty())
            return CString();
        message = m_queue.front();
        m_queue.pop_front();
    }
    CString text = message.device + ":" + message.text;
    // Listeners run under lock A so that a client clearing them waits for a call
    // in progress.
    CSingleLock lock(&m_portsAndUsers, TRUE);
    for (size_t u = 0; u < m_users.size(); ++u) {
        CDevice* device = FindDevice(m_users[u].id, message.device);
        if (!device || !device->MayReceive())
            continue;
        TextCallback listener = device->GetListener();
        if (listener.object)
            listener.Invoke(text);
    }
    return text;
}

// Cuts a port's text into items ("head[data]") and matches each for every user.
CString CDeviceManager::MatchItems(CString text, int unit, int code)
{
    CString result;
    int open;
    int close;
    while ((open = text.Find('[')) >= 0 && (close = text.Find(']', open)) >= 0) {
        CString head = text.Left(open);
        CString data = text.Mid(open + 1, close - open - 1);
        CString item = text.Left(close + 1);
        item.TrimLeft();
        text = text.Mid(close + 1);
        // CM11a and Kelto items are matched whole.
        int itemCode = code;
        if (code == kTavlinCode)
            itemCode = CodeOfHead(head);
        else
            data = item;
        CSingleLock lock(&m_portsAndUsers, TRUE);
        for (size_t u = 0; u < m_users.size(); ++u)
            result += MatchReceivedCode(int(u), data, item, unit, itemCode);
    }
    return result;
}

// Due alarms of every timer device; each device's texts go to its user's listener.
CString CDeviceManager::PollTimers()
{
    CString result;
    CSingleLock lock(&m_portsAndUsers, TRUE);
    for (size_t u = 0; u < m_users.size(); ++u) {
        std::vector<CDevice*> devices = m_users[u].devices;
        for (CDevice* device : devices)
            device->AddUse();
        for (CDevice* device : devices) {
            CString due = device->PollTimers();
            if (due.IsEmpty())
                continue;
            result += due;
            if (u < m_users.size() && m_users[u].listener.object)
                m_users[u].listener.Invoke(due);
        }
        for (CDevice* device : devices)
            ReleaseDevice(device);
    }
    return result;
}

CString CDeviceManager::PollMessages()
{
    CString result = DeliverIntercom();
    if (!result.IsEmpty())
        return result;
    for (int p = 0; p < GetNumTavlins(); ++p) {
        CString text;
        m_tavlinPorts.At(p)->ReadResponses(text, kReadTimeoutMs);
        result += MatchItems(text, p, kTavlinCode);
    }
    for (int p = 0; p < GetNumCM11As(); ++p) {
        CString text;
        m_cm11aPorts.At(p)->ReadEvents(text, kReadTimeoutMs);
        result += MatchItems(text, p, kCM11aCode);
    }
    for (int p = 0; p < GetNumKeltos(); ++p) {
        CString text;
        m_keltoPorts.At(p)->ReadResponses(text, kReadTimeoutMs);
        result += MatchItems(text, p, kKeltoCode);
    }
    result += PollTimers();
    if (GetNumTavlins() + GetNumCM11As() + GetNumKeltos() == 0)
        Sleep(kIdleSleepMs);
    return result;
}

// One decoding per group and call: the symbols and score found for an earlier
// device of the same non-empty group are reused.
CString CDeviceManager::DecodeForGroup(CDevice* device, const CString& data, double& score,
                                       std::vector<CString>& groups, std::vector<CString>& symbols,
                                       std::vector<double>& scores)
{
    CString group = device->GetGroup();
    if (!group.IsEmpty()) {
        for (size_t i = 0; i < groups.size(); ++i) {
            if (groups[i] == group) {
                score = scores[i];
                return symbols[i];
            }
        }
    }
    score = 0;
    CString decoded = device->MatchPattern(data, &score);
    if (!group.IsEmpty()) {
        groups.push_back(group);
        symbols.push_back(decoded);
        scores.push_back(score);
    }
    return decoded;
}

CString CDeviceManager::MatchReceivedCode(int userIndex, const CString& data, const CString& item, int unit,
                                          int code)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    if (userIndex < 0 || userIndex >= int(m_users.size()))
        return CString();
    bool bitForm = code >= kBitFormBase;
    if (bitForm)
        code -= kBitFormBase;
    CString received;
    if (code >= 0 && code < kControlBusPorts)
        received = bitForm ? data : HexToBitText(data);
    // Listeners may delete devices (the lock is re-entrant): walk a copy whose
    // devices are kept alive until the call ends.
    std::vector<CDevice*> devices = m_users[userIndex].devices;
    for (CDevice* device : devices)
        device->AddUse();
    std::vector<CString> groups;
    std::vector<CString> groupSymbols;
    std::vector<double> groupScores;
    CDevice* best = nullptr;
    double bestScore = 0;
    CString bestSymbols;
    CString bestGroup;
    CString text;
    int matches = 0;
    for (CDevice* device : devices) {
        if (device->GetUnit() != unit)
            continue;
        const CString& type = device->GetType();
        if (type == "lowlevel") {
            text = device->GetName() + ":" + item;
            DeliverText(userIndex, device, text);
            continue;
        }
        if ((code == kCM11aCode && device->IsCM11a()) || (code == kKeltoCode && device->IsKelto())) {
            text = device->GetName() + ":" + item;
            DeliverText(userIndex, device, text);
            ++matches;
            continue;
        }
        if (code < 0 || code >= kPortMaskBits || (type != "ir" && type != "tavlin") ||
            !(device->GetPortMask() & (1 << code)))
            continue;
        CString symbols = received;
        if (code >= kIRCodeBase) {
            double score = 0;
            symbols = DecodeForGroup(device, data, score, groups, groupSymbols, groupScores);
            if (score > bestScore) {
                best = device;
                bestScore = score;
                bestSymbols = symbols;
                bestGroup = device->GetGroup();
            }
        }
        for (int i = 0; i < device->GetNumCodes(); ++i) {
            if (!device->CodeMatches(i, symbols))
                continue;
            // The fields behind the fixed part are the code's data.
            int length = device->LeadLength(i);
            text = device->GetName() + ":" + device->GetCode(i).name;
            if (length < symbols.GetLength())
                text += "[" + BitTextToHex(static_cast<const char*>(symbols) + length) + "]";
            text += " ";
            DeliverText(userIndex, device, text);
            ++matches;
        }
    }
    if (matches == 0) {
        if (code >= kIRCodeBase)
            text.Format("nomatch:ir%d(%s)[%s] ", code - kIRCodeBase, static_cast<const char*>(bestGroup),
                        static_cast<const char*>(bestSymbols));
        else
            text.Format(bitForm ? "nomatch:slb%d[%s] " : "nomatch:sl%d[%s] ", code,
                        static_cast<const char*>(data));
        if (best && userIndex < int(m_users.size()) && m_users[userIndex].reportNoMatch)
            DeliverText(userIndex, best, text);
    }
    for (CDevice* device : devices)
        ReleaseDevice(device);
    return text;
}

void CDeviceManager::DeliverText(int userIndex, CDevice* device, const CString& text)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    TextCallback deviceListener = device->GetListener();
    if (deviceListener.object)
        deviceListener.Invoke(text);
    if (userIndex < int(m_users.size()) && m_users[userIndex].listener.object)
        m_users[userIndex].listener.Invoke(text);
}
