// A flood of remote commands: for each count, the time to take that many
// command texts into the automation queue and pop them all, and to send that
// many intercommunication texts through the device manager and deliver them
// all, as the monitoring thread does one a pass. Prints milliseconds and the
// texts that came through (a bounded queue drops the rest).
#include "devices/manager/DeviceManager.h"
#include "core/automation/ZYMAutomation.h"

#include <windows.h>

#include <stdio.h>

namespace {

const int kCounts[] = { 10000, 40000, 80000 };

class CCountingListener : public CCallbackTarget
{
public:
    void OnText(CString) { ++count; }
    long count = 0;
};

double NowMs()
{
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(now.QuadPart) / double(frequency.QuadPart);
}

void AutomationQueue(int count)
{
    CZYMAutomation queue;
    double start = NowMs();
    for (int i = 0; i < count; i++)
        queue.OnReceive("zym:playlist_next");
    int popped = 0;
    while (!queue.IsEmpty()) {
        queue.Pop();
        popped++;
    }
    printf("automation queue  %6d commands: %9.1f ms, %6d popped\n", count, NowMs() - start, popped);
}

void IntercomQueue(int count)
{
    CDeviceManager manager;
    manager.GetError().m_messageBox = FALSE;
    CCountingListener listener;
    manager.AddDeviceText(0, "type=devrxtx\n", "zym", 0, 0, 0);
    manager.SetDeviceCallback(0, "zym", &listener, static_cast<TextFunction>(&CCountingListener::OnText));
    double start = NowMs();
    for (int i = 0; i < count; i++)
        manager.SendDefault("zym:playlist_next");
    while (!manager.PollMessages().IsEmpty()) {
    }
    printf("intercom queue    %6d texts:    %9.1f ms, %6ld delivered\n", count, NowMs() - start, listener.count);
}

} // namespace

int main()
{
    for (int count : kCounts) {
        AutomationQueue(count);
        IntercomQueue(count);
    }
    return 0;
}
