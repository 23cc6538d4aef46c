// The device path over the device server: a front end that starts its own
// user-interface thread (CTavlinXThread) whose hidden dialog hosts the
// interface control. Other threads only queue request records under the
// lock, post 0x8400 to the dialog and wait; the dialog runs the records in
// order, and a record leaves the queue only after its call returned, so a
// caller waiting for the queue to drain waits for its own request.
//
// Received texts arrive as the control's events on the thread: the device's
// listeners run in registration order under the lock, then the catch-all
// listener outside it. The control's error event reaches the catch-all as
// "tavlinx:error[...]"; sends, added texts, deletions and the no-match flag
// report success whatever the server answered.
//
// Lock order: the front end's lock is the only one; it is never held during a
// control call, but it is held while the device listeners run.
#pragma once

#include <windows.h>
#include <afxmt.h>

#include <atomic>
#include <memory>
#include <vector>

#include "core/devpath/DevicePath.h"

class CTavlinXThread;
class CTavlinx;

class CTavlinRemote : public CDevicePath
{
public:
    // Request kinds and the waits of their callers.
    enum Kind
    {
        kAddDevice = 0,
        kAddDeviceText = 1,
        kDeleteDevice = 2,
        kSend = 4,
        kGetNumTavlins = 5,
        kGetNumDevices = 6,
        kSetReportNoMatch = 8,
        kLoadServer = 9
    };

    // Starts the thread; WaitUntilReady tells when its control exists. The
    // hook (owned, may be null) hears on the thread itself 1 when it starts
    // and 0 when it ends, for the crash link.
    explicit CTavlinRemote(ThreadHook* hook = nullptr);
    // Ends the thread (at most 20 s), then lets the listeners go.
    ~CTavlinRemote() override;

    BOOL SendDeviceCommand(const char* text) override;
    BOOL AddDevice(const char* file, const char* name, int deviceNumber, int unit, int ports) override;
    BOOL AddDeviceText(const char* text, const char* name, int deviceNumber, int unit,
                       int ports) override;
    BOOL DeleteDevice(const char* name) override;
    BOOL SetDeviceListener(const char* name, const TextCallback& listener) override;
    BOOL SetListener(const TextCallback& listener) override;
    BOOL SetReportNoMatch(int flag) override;
    // Asked of the server once, then cached.
    int GetNumTavlins() override;
    int GetNumDevices() override;
    void WaitForDevicePath(int ms) override { WaitForQueue(ms); }
    void SetMessageBoxes(BOOL on) override { m_messageBoxes = on; }
    BOOL GetMessageBoxes() override { return m_messageBoxes; }

    // Start-up: the thread's control exists (TRUE), or ms passed first.
    BOOL WaitUntilReady(int ms);
    // Connects the control to the server (at most 30 s).
    void LoadServer();

    // On the thread: the dialog's window (null when the control could not be
    // made: every request then fails at once), and the requests run.
    void SetReady(HWND dialog);
    void RunRequests(CTavlinx& control);
    // A received "device:message".
    void Deliver(const CString& text);
    void ThreadStarted(bool started);

private:
    // A result slot shared by the caller and the thread: a caller that gave
    // up leaves the late answer to a slot nobody reads, never to freed memory.
    typedef std::shared_ptr<std::atomic<LONG>> Result;
    static Result NewResult(LONG start) { return std::make_shared<std::atomic<LONG>>(start); }

    struct Request
    {
        int kind;
        CString text1;
        CString text2;
        int number1;
        int number2;
        int number3;
        Result result;
    };

    struct Listener
    {
        CString device;
        TextCallback callback;
    };

    // Queues the record and posts the message; FALSE when there is no dialog.
    BOOL Queue(const Request& request);
    // Queues, then waits for the queue to drain; the result, or failed when
    // the time ran out.
    LONG Ask(const Request& request, int ms, LONG failed);
    // FALSE at once on the front end's own thread (the requests run after
    // the caller returns) or below 1 ms; else waits for the drained event,
    // pumping the caller's messages at least every 10 ms.
    BOOL WaitForQueue(int ms);
    // Kinds 5 and 6: polls the slot every 100 ms, at most 100 times.
    int AskCount(int kind);
    LONG Run(CTavlinx& control, const Request& request);

    std::unique_ptr<ThreadHook> m_hook;
    std::unique_ptr<CTavlinXThread> m_thread;
    std::atomic<HWND> m_dialog;
    // Set once the thread knows whether its control exists (manual reset).
    CEvent m_ready;
    // Set while the queue is empty (manual reset); changes under the lock.
    CEvent m_drained;
    // Guards the queue, the listener list and the catch-all listener.
    CCriticalSection m_lock;
    std::vector<Request> m_queue;
    std::vector<Listener> m_listeners;
    TextCallback m_catchAll;
    int m_units;
    BOOL m_messageBoxes;
};
