// A flood of remote commands: for each count, the time to take that many
// command texts into the automation queue and pop them all, and to send that
// many intercommunication texts through the device manager and deliver them
// all, as the monitoring thread does one a pass. Prints milliseconds and the
// texts that came through (a bounded queue drops the rest).
#include "bench/support/BenchClock.h"
#include "bench/support/CountingListener.h"
#include "devices/manager/DeviceManager.h"
#include "core/automation/ZYMAutomation.h"

#include <windows.h>

#include <stdio.h>

namespace {

const int kCounts[] = { 10000, 40000, 80000 };

void AutomationQueue(int count)
{
    CZYMAutomation queue;
    double start = BenchSeconds();
    for (int i = 0; i < count; i++)
        queue.OnReceive("zym:playlist_next");
    int popped = 0;
    while (!queue.IsEmpty()) {
        queue.Pop();
        popped++;
    }
    printf("automation queue  %6d commands: %9.1f ms, %6d popped\n", count, 1000 * (BenchSeconds() - start), popped);
}

void IntercomQueue(int count)
{
    CDeviceManager manager;
    manager.GetError().m_messageBox = FALSE;
    CCountingListener listener;
    manager.AddDeviceText(0, "type=devrxtx\n", "zym", 0, 0, 0);
    manager.SetDeviceCallback(0, "zym", &listener, static_cast<TextFunction>(&CCountingListener::OnText));
    double start = BenchSeconds();
    for (int i = 0; i < count; i++)
        manager.SendDefault("zym:playlist_next");
    while (!manager.PollMessages().IsEmpty()) {
    }
    printf("intercom queue    %6d texts:    %9.1f ms, %6ld delivered\n", count, 1000 * (BenchSeconds() - start), listener.count);
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
