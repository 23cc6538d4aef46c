// Pushes received codes through matching and delivery, and command texts
// through the dispatcher to a simulated interface unit on a pty, and prints
// messages per second; then measures CPU use while the monitor idles.
#include "bench/support/BenchClock.h"
#include "bench/support/CountingListener.h"
#include "devices/manager/BitText.h"
#include "devices/manager/DeviceManager.h"
#include "tests/support/PtySerial.h"
#include "tests/support/TavlinSimulator.h"

#include <windows.h>

#include <stdio.h>

namespace {

const int kMessages = 100000;
const int kDevices = 20;
const int kIdleMs = 3000;

double ProcessCpuSeconds()
{
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
    return double(k.QuadPart + u.QuadPart) / 1e7;
}

// Changers on control-bus port 0, each with its own address in the prefix.
void AddChangers(CDeviceManager& manager, CCountingListener& listener)
{
    for (int i = 0; i < kDevices; ++i) {
        CString name;
        name.Format("cd%d", i + 1);
        CString text;
        text.Format("type=tavlin\nprefix=%s\n00000001:play\n00000010:stop\n00000011:status\n",
                    static_cast<const char*>(ByteToBitText(BYTE(i))));
        manager.AddDeviceText(0, text, name, 0, 0, 0x01);
        manager.SetDeviceCallback(0, name, &listener, static_cast<TextFunction>(&CCountingListener::OnText));
    }
}

void MatchAndDeliver()
{
    CDeviceManager manager;
    manager.GetError().m_messageBox = FALSE;
    CCountingListener listener;
    manager.SetUserCallback(0, &listener, static_cast<TextFunction>(&CCountingListener::OnText));
    AddChangers(manager, listener);
    double start = BenchSeconds();
    for (int i = 0; i < kMessages; ++i) {
        CString data;
        data.Format("%02X%02X", i % kDevices, 1 + i % 3);
        manager.MatchReceivedCode(0, data, "sl0[" + data + "]", 0, 0);
    }
    double seconds = BenchSeconds() - start;
    printf("matching and delivery: %d received codes, %d devices, %ld listener calls: %.0f messages/s\n",
           kMessages, kDevices, listener.count, kMessages / seconds);
}

void Dispatch()
{
    CPtySerial pty;
    CTavlinSimulator unit(pty);
    CDeviceManager manager;
    manager.GetError().m_messageBox = FALSE;
    manager.AddTavlinPort(pty.Port());
    manager.GetTavlinPort(0)->GetError().m_messageBox = FALSE;
    manager.GetTavlinPort(0)->Locate();
    manager.GetTavlinPort(0)->SetKeepAlive(FALSE);
    CCountingListener listener;
    AddChangers(manager, listener);
    manager.StartMessageMonitor();
    const char* const kTexts[] = {"cd1:play", "cd7:stop cd8:status", "CD20:status"};
    int items = 0;
    double start = BenchSeconds();
    for (int i = 0; i < kMessages; ++i) {
        const char* text = kTexts[i % 3];
        manager.SendDefault(text);
        items += i % 3 == 1 ? 2 : 1;
    }
    double seconds = BenchSeconds() - start;
    printf("dispatch to a simulated unit: %d command texts (%d items): %.0f texts/s\n", kMessages, items,
           kMessages / seconds);

    double cpuStart = ProcessCpuSeconds();
    Sleep(kIdleMs);
    printf("idle on one port (monitoring thread and simulated unit): %.1f%% of one CPU\n",
           100 * (ProcessCpuSeconds() - cpuStart) / (kIdleMs / 1000.0));
    manager.StopMessageMonitor();
}

void IdleWithoutPorts()
{
    CDeviceManager manager;
    manager.StartMessageMonitor();
    double cpuStart = ProcessCpuSeconds();
    Sleep(kIdleMs);
    printf("idle monitoring thread without ports: %.1f%% of one CPU\n",
           100 * (ProcessCpuSeconds() - cpuStart) / (kIdleMs / 1000.0));
}

}

int main()
{
    MatchAndDeliver();
    Dispatch();
    IdleWithoutPorts();
    return 0;
}
