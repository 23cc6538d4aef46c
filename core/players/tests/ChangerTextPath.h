// A device path at the level of texts, with changers behind it: it records
// every command text, turns the items of the send devices ("cdsls00n",
// "cdsls00na") into bus messages for the changers of its bus, and delivers
// their answers as event texts of the receive devices ("cdslr00n",
// "cdslr00na") to those devices' listeners, in order, on a thread of its own,
// as the device manager's monitoring thread would. It stands for unit 0, bus
// port 0, and knows the words of the changers' bit tables; other items are
// only recorded.
#pragma once

#include "tests/support/ChangerBus.h"
#include "core/devpath/DevicePath.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

class CSonyPlayer;

class CChangerTextPath : public CNoDevicePath
{
public:
    CChangerTextPath();
    ~CChangerTextPath() override;

    BOOL SendDeviceCommand(const char* text) override;
    BOOL AddDeviceText(const char*, const char*, int, int, int) override { return TRUE; }
    BOOL DeleteDevice(const char*) override { return TRUE; }
    BOOL SetDeviceListener(const char* name, const TextCallback& listener) override;

    // The player hears its changer's two receive devices.
    void ListenFor(CSonyPlayer& player);
    std::vector<std::string> TakeSent();
    // True once every answer so far has reached its listener.
    bool WaitUntilDelivered(int timeoutMs);
    // Held, the changers' answers wait (in order) until released: a test
    // acts before the player has heard what the changer did.
    void HoldAnswers(bool hold);

    CChangerBus bus;

private:
    static DWORD WINAPI DeliveryThread(void* self);
    void Deliver();
    void SendItem(const CString& device, const CString& command);
    void Queue(const std::string& answer);

    CRITICAL_SECTION m_lock;   // guards everything below
    std::vector<std::string> m_sent;
    std::deque<std::string> m_texts;
    bool m_delivering = false;
    bool m_held = false;
    std::map<std::string, TextCallback> m_listeners;
    HANDLE m_wake;
    volatile LONG m_stop = 0;
    HANDLE m_thread;
};
