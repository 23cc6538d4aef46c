#include "core/devpath/InProcessPath.h"

#include "devices/manager/DeviceManager.h"

namespace {
const int kDefaultUser = 0;
}

CInProcessPath::CInProcessPath(CDeviceManager& manager, CDevicePathHost& host)
    : m_manager(manager), m_host(host)
{
}

BOOL CInProcessPath::Checked(BOOL result)
{
    if (!result)
        m_host.FireEvent("error[" + m_manager.GetErrorText() + "]");
    return result;
}

bool CInProcessPath::IsOwnEvent(const char* text)
{
    CString prefix = m_host.GetTransmitDeviceName() + ":";
    return strncmp(text, prefix, prefix.GetLength()) == 0;
}

// A refusal is answered with an error event, never a box: the texts come
// from event-map actions and remote commands as often as from the user, and
// one bad action could otherwise stack a box per event it causes.
BOOL CInProcessPath::SendDeviceCommand(const char* text)
{
    CString reason;
    BOOL sent = m_manager.SendQuietly(kDefaultUser, text, reason);
    if (!reason.IsEmpty() && !IsOwnEvent(text))
        m_host.FireEvent("error[" + reason + "]");
    return sent;
}

BOOL CInProcessPath::AddDevice(const char* file, const char* name, int deviceNumber, int unit, int ports)
{
    return Checked(m_manager.AddDevice(kDefaultUser, file, name, deviceNumber, unit, ports) != 0);
}

BOOL CInProcessPath::AddDeviceText(const char* text, const char* name, int deviceNumber, int unit,
                                   int ports)
{
    return Checked(m_manager.AddDeviceText(kDefaultUser, text, name, deviceNumber, unit, ports) != 0);
}

BOOL CInProcessPath::DeleteDevice(const char* name)
{
    return Checked(m_manager.DeleteDevice(kDefaultUser, name));
}

BOOL CInProcessPath::SetDeviceListener(const char* name, const TextCallback& listener)
{
    return Checked(m_manager.SetDeviceCallback(kDefaultUser, name, listener.object, listener.function) != 0);
}

BOOL CInProcessPath::SetListener(const TextCallback& listener)
{
    return Checked(m_manager.SetUserCallback(kDefaultUser, listener.object, listener.function) != 0);
}

BOOL CInProcessPath::SetReportNoMatch(int flag)
{
    m_manager.SetReportNoMatch(kDefaultUser, flag);
    return TRUE;
}

int CInProcessPath::GetNumTavlins()
{
    return m_manager.GetNumTavlins();
}

int CInProcessPath::GetNumDevices()
{
    return m_manager.GetNumDevices(kDefaultUser);
}

void CInProcessPath::SetMessageBoxes(BOOL on)
{
    m_manager.GetError().m_messageBox = on;
}

BOOL CInProcessPath::GetMessageBoxes()
{
    return m_manager.GetError().m_messageBox;
}
