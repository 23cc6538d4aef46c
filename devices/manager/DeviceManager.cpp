#include "devices/manager/DeviceManager.h"

#include <stdarg.h>

CDeviceManager::CDeviceManager(ThreadHook* hook)
    : m_tavlinPorts("Tavlin", m_portsAndUsers, m_error), m_cm11aPorts("CM11a", m_portsAndUsers, m_error),
      m_keltoPorts("Kelto", m_portsAndUsers, m_error), m_nextUserId(0), m_maxDevices(kMaxDevices),
      m_running(0), m_initializeCom(0), m_stop(0), m_thread(nullptr), m_lastErrorSum(0), m_hook(hook)
{
    SetReportNoMatch(AddUser(), 1);
}

CDeviceManager::~CDeviceManager()
{
    StopMessageMonitor();
    // Ports and devices are freed only once the thread that reads them has ended.
    if (m_thread) {
        m_stop = 1;
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
    }
    for (UserRecord& user : m_users)
        DeleteUserDevices(user);
    m_users.clear();
    m_queue.clear();
    m_tavlinPorts.RemoveAll();
    m_cm11aPorts.RemoveAll();
    m_keltoPorts.RemoveAll();
    delete m_hook;
}

// Callers on several threads share the error holder: lock A guards its text.
int CDeviceManager::Fail(const char* format, ...)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    va_list args;
    va_start(args, format);
    m_error.ReportV(format, args);
    va_end(args);
    return 0;
}

// Users

int CDeviceManager::AddUser()
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    UserRecord user;
    user.id = m_nextUserId++;
    m_users.push_back(user);
    return user.id;
}

// An unknown id removes nothing (the fallback to the first record would take
// the default user's devices), and the last record stays, emptied, because
// every look-up falls back to it.
int CDeviceManager::RemoveUser(int id)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    int index = FindUser(id);
    if (m_users[index].id != id)
        return 0;
    DeleteUserDevices(m_users[index]);
    if (m_users.size() > 1)
        m_users.erase(m_users.begin() + index);
    else
        m_users[index].listener = TextCallback();
    return 0;
}

int CDeviceManager::FindUser(int id)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    for (size_t i = 0; i < m_users.size(); ++i) {
        if (m_users[i].id == id)
            return int(i);
    }
    return 0;
}

BOOL CDeviceManager::HasUser(int id)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    return m_users[FindUser(id)].id == id;
}

int CDeviceManager::GetReportNoMatch(int id)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    return m_users[FindUser(id)].reportNoMatch;
}

int CDeviceManager::SetUserCallback(int id, CCallbackTarget* object, TextFunction function)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    UserRecord& user = m_users[FindUser(id)];
    user.listener.object = object;
    user.listener.function = function;
    return 1;
}

int CDeviceManager::ClearCallbacks(int id)
{
    // Listeners run under this lock, so none is running once it is ours.
    CSingleLock lock(&m_portsAndUsers, TRUE);
    UserRecord& user = m_users[FindUser(id)];
    user.listener.object = nullptr;
    for (CDevice* device : user.devices)
        device->SetListener(TextCallback());
    return 1;
}

void CDeviceManager::SetReportNoMatch(int id, int flag)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    m_users[FindUser(id)].reportNoMatch = flag;
}

// Ports

BOOL CDeviceManager::MonitorThreadAlive() const
{
    return m_thread && WaitForSingleObject(m_thread, 0) == WAIT_TIMEOUT;
}

// The monitoring thread walks the port lists without the lock.
BOOL CDeviceManager::RefusePortChange()
{
    if (!MonitorThreadAlive())
        return FALSE;
    Fail("Error: Ports cannot be changed while the message monitor runs.");
    return TRUE;
}

int CDeviceManager::AddTavlinPorts(int mask)
{
    if (!RefusePortChange())
        m_tavlinPorts.AddMasked(mask);
    return CPortList<CTavlinPort>::kMaxPorts;
}

void CDeviceManager::AddCM11aPorts(int mask)
{
    if (!RefusePortChange())
        m_cm11aPorts.AddMasked(mask);
}

void CDeviceManager::AddKeltoPorts(int mask)
{
    if (!RefusePortChange())
        m_keltoPorts.AddMasked(mask);
}

int CDeviceManager::AddTavlinPort(int com)
{
    return RefusePortChange() ? 0 : m_tavlinPorts.Add(com);
}

int CDeviceManager::AddCM11aPort(int com)
{
    return RefusePortChange() ? 0 : m_cm11aPorts.Add(com);
}

int CDeviceManager::AddKeltoPort(int com)
{
    return RefusePortChange() ? 0 : m_keltoPorts.Add(com);
}

int CDeviceManager::RemoveTavlinPort(int n)
{
    return RefusePortChange() ? 0 : m_tavlinPorts.Remove(n);
}

int CDeviceManager::RemoveCM11aPort(int n)
{
    return RefusePortChange() ? 0 : m_cm11aPorts.Remove(n);
}

int CDeviceManager::RemoveKeltoPort(int n)
{
    return RefusePortChange() ? 0 : m_keltoPorts.Remove(n);
}

int CDeviceManager::RemoveAllTavlinPorts()
{
    return RefusePortChange() ? 0 : m_tavlinPorts.RemoveAll();
}

int CDeviceManager::RemoveAllCM11aPorts()
{
    return RefusePortChange() ? 0 : m_cm11aPorts.RemoveAll();
}

int CDeviceManager::RemoveAllKeltoPorts()
{
    return RefusePortChange() ? 0 : m_keltoPorts.RemoveAll();
}

BOOL CDeviceManager::HasNewErrors()
{
    LONG sum = m_tavlinPorts.ErrorSum() + m_cm11aPorts.ErrorSum() + m_keltoPorts.ErrorSum();
    BOOL changed = sum != m_lastErrorSum;
    m_lastErrorSum = sum;
    return changed;
}

// Devices

void CDeviceManager::ReleaseDevice(CDevice* device)
{
    if (device->ReleaseUse() == 0)
        delete device;
}

void CDeviceManager::DeleteUserDevices(UserRecord& user)
{
    for (CDevice* device : user.devices)
        ReleaseDevice(device);
    user.devices.clear();
}

int CDeviceManager::AddLoadedDevice(int userId, const char* fileOrText, BOOL fromFile, const char* name,
                                    int deviceNumber, int unit, int ports)
{
    CString lowerName(name);
    lowerName.MakeLower();
    CSingleLock lock(&m_portsAndUsers, TRUE);
    UserRecord& user = m_users[FindUser(userId)];
    if (FindDeviceIndex(userId, lowerName) >= 0)
        return Fail("can't add: device %s already exists", static_cast<const char*>(lowerName));
    if (int(user.devices.size()) >= m_maxDevices)
        return Fail("maximum number of devices exceeded");
    CDevice* device = new CDevice;
    device->GetError().m_messageBox = m_error.m_messageBox;
    if (!device->Load(fileOrText, deviceNumber, fromFile)) {
        CString reason = device->GetErrorText();
        delete device;
        return Fail("%s", static_cast<const char*>(reason));
    }
    device->SetUnit(unit);
    device->SetPortMask(ports);
    device->SetName(lowerName);
    device->AddUse();
    user.devices.push_back(device);
    return 1;
}

int CDeviceManager::AddDevice(int userId, const char* file, const char* name, int deviceNumber, int unit,
                              int ports)
{
    return AddLoadedDevice(userId, file, TRUE, name, deviceNumber, unit, ports);
}

int CDeviceManager::AddDeviceText(int userId, const char* text, const char* name, int deviceNumber, int unit,
                                  int ports)
{
    return AddLoadedDevice(userId, text, FALSE, name, deviceNumber, unit, ports);
}

BOOL CDeviceManager::DeleteDevice(int userId, const char* name)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    int index = FindDeviceIndex(userId, name);
    if (index < 0) {
        Fail("Unable to locate device [%s] for deletion", name);
        return FALSE;
    }
    return DeleteDeviceAt(userId, index);
}

BOOL CDeviceManager::DeleteDeviceAt(int userId, int index)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    UserRecord& user = m_users[FindUser(userId)];
    if (index < 0 || index >= int(user.devices.size()))
        return FALSE;
    CDevice* device = user.devices[index];
    user.devices.erase(user.devices.begin() + index);
    ReleaseDevice(device);
    return TRUE;
}

int CDeviceManager::FindDeviceIndex(int userId, const char* name)
{
    CString lowerName(name);
    lowerName.MakeLower();
    CSingleLock lock(&m_portsAndUsers, TRUE);
    const UserRecord& user = m_users[FindUser(userId)];
    for (size_t i = 0; i < user.devices.size(); ++i) {
        if (user.devices[i]->GetName() == lowerName)
            return int(i);
    }
    return -1;
}

CDevice* CDeviceManager::FindDevice(int userId, const char* name)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    int index = FindDeviceIndex(userId, name);
    return index < 0 ? nullptr : m_users[FindUser(userId)].devices[index];
}

int CDeviceManager::GetNumUsers()
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    return int(m_users.size());
}

void CDeviceManager::VisitDevices(const std::function<void(int record, const CDevice& device)>& visit)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    for (size_t r = 0; r < m_users.size(); ++r)
        for (const CDevice* device : m_users[r].devices)
            visit(int(r), *device);
}

int CDeviceManager::GetNumDevices(int userId)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    return int(m_users[FindUser(userId)].devices.size());
}

BOOL CDeviceManager::GetDeviceName(int userId, int n, CString& out)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    const UserRecord& user = m_users[FindUser(userId)];
    if (n < 1 || n > int(user.devices.size()))
        return Fail("There is no device #%d to get the name of", n);
    out = user.devices[n - 1]->GetName();
    return TRUE;
}

BOOL CDeviceManager::GetNumCodes(int userId, const char* name, int& out)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    out = 0;
    CDevice* device = FindDevice(userId, name);
    if (!device)
        return Fail("Unable to locate device [%s]", name);
    out = device->GetNumCodes();
    return TRUE;
}

BOOL CDeviceManager::GetCodeName(int userId, const char* name, int n, CString& out)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    out.Empty();
    CDevice* device = FindDevice(userId, name);
    if (!device)
        return Fail("Unable to locate device [%s]", name);
    if (n < 1 || n > device->GetNumCodes())
        return Fail("There is no code #%d to get the name of", n);
    out = device->GetCode(n - 1).name;
    return TRUE;
}

int CDeviceManager::SetDeviceCallback(int userId, const char* name, CCallbackTarget* object,
                                      TextFunction function)
{
    CSingleLock lock(&m_portsAndUsers, TRUE);
    CDevice* device = FindDevice(userId, name);
    if (!device)
        return 0;
    TextCallback listener;
    listener.object = object;
    listener.function = function;
    device->SetListener(listener);
    return 1;
}
