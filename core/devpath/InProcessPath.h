// The device path inside this process: the document's own device manager,
// called on the caller's thread as the manager's default user (user 0). A
// failure fires "error[" + the manager's error text + "]", except for texts
// sent to the program's own event device: a failing event must not fire
// another one for ever.
#pragma once

#include "core/devpath/DevicePath.h"

class CDeviceManager;

class CInProcessPath : public CDevicePath
{
public:
    // Neither is owned; both outlive the path.
    CInProcessPath(CDeviceManager& manager, CDevicePathHost& host);

    BOOL SendDeviceCommand(const char* text) override;
    BOOL AddDevice(const char* file, const char* name, int deviceNumber, int unit, int ports) override;
    BOOL AddDeviceText(const char* text, const char* name, int deviceNumber, int unit,
                       int ports) override;
    BOOL DeleteDevice(const char* name) override;
    BOOL SetDeviceListener(const char* name, const TextCallback& listener) override;
    BOOL SetListener(const TextCallback& listener) override;
    BOOL SetReportNoMatch(int flag) override;
    int GetNumTavlins() override;
    int GetNumDevices() override;
    void WaitForDevicePath(int) override {}
    void SetMessageBoxes(BOOL on) override;
    BOOL GetMessageBoxes() override;

private:
    // Passes the result on; a failure becomes an error event first.
    BOOL Checked(BOOL result);
    bool IsOwnEvent(const char* text);

    CDeviceManager& m_manager;
    CDevicePathHost& m_host;
};
