// Owner of everything the device library drives: the interface units, CM11a
// interfaces and Kelto switches on their COM ports, the users (one per client) with their device definitions and
// listeners, the command dispatcher, the intercommunication queue and the
// monitoring thread that reads every port, matches what arrives against the
// users' device codes and hands the event texts to the listeners.
#pragma once

#include <afxmt.h>

#include <atomic>
#include <deque>
#include <functional>
#include <vector>

#include "devices/manager/Device.h"
#include "devices/util/Error.h"
#include "devices/manager/PortList.h"
#include "devices/manager/TextCallback.h"

struct UserRecord
{
    int id = 0;
    int reportNoMatch = 0;
    std::vector<CDevice*> devices;   // each holds one use for the list
    TextCallback listener;
};

class CDeviceManager
{
public:
    enum { kMaxDevices = 200 };
    // Intercommunication messages waiting for the monitoring thread; a send
    // beyond them is refused.
    enum { kMaxIntercomMessages = 10000 };

    // Takes ownership of the hook (may be null).
    explicit CDeviceManager(ThreadHook* hook = nullptr);
    ~CDeviceManager();
    CDeviceManager(const CDeviceManager&) = delete;
    CDeviceManager& operator=(const CDeviceManager&) = delete;

    // Users
    int AddUser();
    int RemoveUser(int id);
    int FindUser(int id);
    BOOL HasUser(int id);
    int GetReportNoMatch(int id);
    int SetUserCallback(int id, CCallbackTarget* object, TextFunction function);
    int ClearCallbacks(int id);
    void SetReportNoMatch(int id, int flag);

    // Ports; they change only while the monitoring thread is stopped.
    int AddTavlinPorts(int mask);
    int AddTavlinPortsDefault() { return AddTavlinPorts(0xFF); }
    void AddCM11aPorts(int mask);
    void AddCM11aPortsDefault() { AddCM11aPorts(0xFF); }
    void AddKeltoPorts(int mask);
    void AddKeltoPortsDefault() { AddKeltoPorts(0xFF); }
    int AddTavlinPort(int com);
    int AddCM11aPort(int com);
    int AddKeltoPort(int com);
    CTavlinPort* GetTavlinPort(int n) { return m_tavlinPorts.Get(n); }
    CCM11aPort* GetCM11aPort(int n) { return m_cm11aPorts.Get(n); }
    CKeltoPort* GetKeltoPort(int n) { return m_keltoPorts.Get(n); }
    int RemoveTavlinPort(int n);
    int RemoveCM11aPort(int n);
    int RemoveKeltoPort(int n);
    int RemoveAllTavlinPorts();
    int RemoveAllCM11aPorts();
    int RemoveAllKeltoPorts();
    int GetNumTavlins() const { return m_tavlinPorts.Count(); }
    int GetNumCM11As() const { return m_cm11aPorts.Count(); }
    int GetNumKeltos() const { return m_keltoPorts.Count(); }
    // What the last search found per COM index of each kind.
    const CPortList<CTavlinPort>& GetTavlinPorts() const { return m_tavlinPorts; }
    const CPortList<CCM11aPort>& GetCM11aPorts() const { return m_cm11aPorts; }
    const CPortList<CKeltoPort>& GetKeltoPorts() const { return m_keltoPorts; }
    BOOL HasNewErrors();

    // Devices
    int AddDevice(int userId, const char* file, const char* name, int deviceNumber, int unit, int ports);
    int AddDeviceText(int userId, const char* text, const char* name, int deviceNumber, int unit, int ports);
    int AddDeviceDefault(const char* file, const char* name, int deviceNumber, int unit, int ports)
    {
        return AddDevice(0, file, name, deviceNumber, unit, ports);
    }
    BOOL DeleteDevice(int userId, const char* name);
    BOOL DeleteDeviceDefault(const char* name) { return DeleteDevice(0, name); }
    BOOL DeleteDeviceAt(int userId, int index);
    BOOL DeleteDeviceAtDefault(int index) { return DeleteDeviceAt(0, index); }
    // The pointer is valid while the caller keeps the device alive or holds no
    // lock that a deletion could pass.
    CDevice* FindDevice(int userId, const char* name);
    CDevice* FindDeviceDefault(const char* name) { return FindDevice(0, name); }
    int FindDeviceIndex(int userId, const char* name);
    int FindDeviceIndexDefault(const char* name) { return FindDeviceIndex(0, name); }
    int GetNumDevices(int userId);
    // For views of everything the manager holds: the user records (the
    // default user's included), and every device of every record handed to
    // visit(record index, device) in record order, under the list lock (visit
    // must not call the manager).
    int GetNumUsers();
    void VisitDevices(const std::function<void(int record, const CDevice& device)>& visit);
    BOOL GetDeviceName(int userId, int n, CString& out);
    BOOL GetNumCodes(int userId, const char* name, int& out);
    BOOL GetCodeName(int userId, const char* name, int n, CString& out);
    int SetDeviceCallback(int userId, const char* name, CCallbackTarget* object, TextFunction function);
    int SetDeviceCallbackDefault(const char* name, CCallbackTarget* object, TextFunction function)
    {
        return SetDeviceCallback(0, name, object, function);
    }

    // Dispatcher: 1 when every item was handed on, 0 with the reason reported.
    int Send(int userId, const char* text);
    // As Send, but nothing is reported (no box): the reason of the last
    // refused item, also of a refused alarm that did not stop the line, is
    // left in reason for a caller that answers failures itself.
    int SendQuietly(int userId, const char* text, CString& reason);
    int SendDefault(const char* text) { return Send(0, text); }

    // Monitoring thread
    void StartMessageMonitor();
    int StopMessageMonitor();
    BOOL IsMonitorRunning() const { return m_running; }
    // Runs once on the monitoring thread at the start of its next pass.
    void SetOneShotCallback(CCallbackTarget* object, TextFunction function);
    void SetInitializeCom(BOOL on) { m_initializeCom = on; }
    CString PollMessages();
    CString MatchReceivedCode(int userIndex, const CString& data, const CString& item, int unit, int code);
    void DeliverText(int userIndex, CDevice* device, const CString& text);

    CError& GetError() { return m_error; }
    CString GetErrorText() const { return m_error.m_text; }

private:
    static DWORD WINAPI MessageMonitorThreadProc(void* manager);
    void RunMonitor();
    BOOL MonitorThreadAlive() const;
    BOOL RefusePortChange();
    int Fail(const char* format, ...) __attribute__((format(printf, 2, 3)));
    int AddLoadedDevice(int userId, const char* fileOrText, BOOL fromFile, const char* name,
                        int deviceNumber, int unit, int ports);
    void DeleteUserDevices(UserRecord& user);
    // Lowers the use count; the last use of a device taken off its list frees it.
    static void ReleaseDevice(CDevice* device);
    int SendItem(int userId, const CString& name, const CString& command, CString& reason);
    // Sends the text's items in turn until one is refused; each item's refusal
    // goes to report once that item's locks are released.
    int SendItems(int userId, const char* text, const std::function<void(const CString&)>& report);
    int QueueIntercom(const CString& name, const CString& command, CString& reason);
    bool HasReceiver(const CString& name);
    CString DecodeForGroup(CDevice* device, const CString& data, double& score,
                           std::vector<CString>& groups, std::vector<CString>& symbols,
                           std::vector<double>& scores);
    CString DeliverIntercom();
    CString MatchItems(CString text, int unit, int code);
    CString PollTimers();

    TextCallback m_oneShot;
    // Lock order: m_portsAndUsers (A) before m_queueLock (B); never B then A.
    // A guards the port lists, the user list and every user's device list.
    CCriticalSection m_portsAndUsers;
    // B guards the intercommunication queue and the one-shot callback.
    CCriticalSection m_queueLock;
    CPortList<CTavlinPort> m_tavlinPorts;
    CPortList<CCM11aPort> m_cm11aPorts;
    CPortList<CKeltoPort> m_keltoPorts;
    int m_nextUserId;
    std::vector<UserRecord> m_users;
    int m_maxDevices;
    std::atomic<LONG> m_running;
    std::atomic<LONG> m_initializeCom;
    std::atomic<LONG> m_stop;
    HANDLE m_thread;
    CError m_error;
    LONG m_lastErrorSum;
    std::deque<IntercomMessage> m_queue;
    ThreadHook* m_hook;
};

// The word of an event text device:word[hex] and the bytes of its argument;
// empty without a ":".
CString ParseEventText(const char* text, std::vector<BYTE>& bytes);

// Cuts the next item off a command text: false when the text holds no ":".
BOOL NextCommandItem(CString& text, CString& device, CString& command);
