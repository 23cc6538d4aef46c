#include "core/players/tests/ChangerTextPath.h"

#include "devices/manager/DeviceManager.h"
#include "devices/util/HexText.h"
#include "core/players/SonyPlayer.h"
#include "tests/support/Waits.h"

namespace {

const int kSendBase = 0x90;
const int kAnswerBase = 0x98;
const int kUpperDevices = 3;

int FindCode(const ChangerWord* words, const char* name)
{
    for (const ChangerWord* w = words; w->name; ++w) {
        if (strcmp(w->name, name) == 0)
            return w->code;
    }
    return -1;
}

const char* FindName(const ChangerWord* words, int code)
{
    for (const ChangerWord* w = words; w->name; ++w) {
        if (w->code == code)
            return w->name;
    }
    return nullptr;
}

} // namespace

CChangerTextPath::CChangerTextPath() : bus([this](const std::string& report) { Queue(report); })
{
    InitializeCriticalSection(&m_lock);
    m_wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, DeliveryThread, this, 0, nullptr);
}

CChangerTextPath::~CChangerTextPath()
{
    InterlockedExchange(&m_stop, 1);
    SetEvent(m_wake);
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    CloseHandle(m_wake);
    DeleteCriticalSection(&m_lock);
}

BOOL CChangerTextPath::SendDeviceCommand(const char* text)
{
    EnterCriticalSection(&m_lock);
    m_sent.push_back(text);
    LeaveCriticalSection(&m_lock);
    CString rest(text);
    CString device;
    CString command;
    while (NextCommandItem(rest, device, command))
        SendItem(device, command);
    return TRUE;
}

// "cdsls00n[a]:word[hex]" to the bus as address 0x90 + n - 1, the word's code
// and the argument bytes.
void CChangerTextPath::SendItem(const CString& device, const CString& command)
{
    if (device.Left(5) != "cdsls" || device.GetLength() < 8)
        return;
    int number = device[7] - '0';
    int open = command.Find('[');
    CString word = open < 0 ? command : command.Left(open);
    int code = FindCode(kChangerCommands, word);
    if (number < 1 || number > 6 || code < 0)
        return;
    std::string message(1, char(kSendBase + number - 1));
    message += char(code);
    if (open >= 0) {
        for (BYTE b : HexTextToBytes(command.Mid(open + 1, command.Find(']') - open - 1)))
            message += char(b);
    }
    for (const std::string& answer : bus.OnBusMessage(message))
        Queue(answer);
}

// An answer's bytes as the event text of its receive device.
void CChangerTextPath::Queue(const std::string& answer)
{
    int k = BYTE(answer[0]) - kAnswerBase;
    const char* name = FindName(kChangerAnswers, BYTE(answer[1]));
    if (k < 0 || k > 5 || !name)
        return;
    char text[256];
    int length = snprintf(text, sizeof text, "cdslr00%d%s:%s", k % kUpperDevices + (k < kUpperDevices ? 1 : 4),
                          k < kUpperDevices ? "" : "a", name);
    if (answer.size() > 2) {
        length += snprintf(text + length, sizeof text - length, "[");
        for (size_t i = 2; i < answer.size() && length < int(sizeof text) - 4; ++i)
            length += snprintf(text + length, sizeof text - length, "%02X", BYTE(answer[i]));
        length += snprintf(text + length, sizeof text - length, "]");
    }
    snprintf(text + length, sizeof text - length, " ");
    EnterCriticalSection(&m_lock);
    m_texts.push_back(text);
    LeaveCriticalSection(&m_lock);
    SetEvent(m_wake);
}

DWORD WINAPI CChangerTextPath::DeliveryThread(void* self)
{
    static_cast<CChangerTextPath*>(self)->Deliver();
    return 0;
}

void CChangerTextPath::Deliver()
{
    while (!m_stop) {
        EnterCriticalSection(&m_lock);
        if (m_texts.empty() || m_held) {
            m_delivering = false;
            LeaveCriticalSection(&m_lock);
            WaitForSingleObject(m_wake, INFINITE);
            continue;
        }
        std::string text = m_texts.front();
        m_texts.pop_front();
        m_delivering = true;
        auto found = m_listeners.find(text.substr(0, text.find(':')));
        TextCallback listener = found == m_listeners.end() ? TextCallback() : found->second;
        LeaveCriticalSection(&m_lock);
        if (listener.object)
            listener.Invoke(text.c_str());
    }
}

void CChangerTextPath::HoldAnswers(bool hold)
{
    EnterCriticalSection(&m_lock);
    m_held = hold;
    LeaveCriticalSection(&m_lock);
    SetEvent(m_wake);
}

BOOL CChangerTextPath::SetDeviceListener(const char* name, const TextCallback& listener)
{
    EnterCriticalSection(&m_lock);
    m_listeners[name] = listener;
    LeaveCriticalSection(&m_lock);
    return TRUE;
}

void CChangerTextPath::ListenFor(CSonyPlayer& player)
{
    TextCallback listener;
    listener.object = &player;
    listener.function = static_cast<TextFunction>(&CSonyPlayer::OnStatusText);
    SetDeviceListener(player.GetAddress().receiveDevice, listener);
    SetDeviceListener(player.GetAddress().upperReceiveDevice, listener);
}

std::vector<std::string> CChangerTextPath::TakeSent()
{
    EnterCriticalSection(&m_lock);
    std::vector<std::string> sent;
    sent.swap(m_sent);
    LeaveCriticalSection(&m_lock);
    return sent;
}

bool CChangerTextPath::WaitUntilDelivered(int timeoutMs)
{
    return WaitUntil(
        [this] {
            EnterCriticalSection(&m_lock);
            bool done = m_texts.empty() && !m_delivering;
            LeaveCriticalSection(&m_lock);
            return done;
        },
        DWORD(timeoutMs));
}
