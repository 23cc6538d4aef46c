// The built-in hardware tests of one interface unit on its loopback fixture:
// the chosen tests repeated, pass and fail per port, the device manager's
// monitoring thread stopped around them, and a serial number stamped into a
// unit of firmware 2.0 or later that passed everything.
#pragma once

#include <afxwin.h>

#include "devices/manager/DeviceManager.h"
#include "devices/port/TavlinPort.h"
#include "server/resource.h"


class CFunctionalTestDlg : public CDialog
{
public:
    explicit CFunctionalTestDlg(CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void RunTest();

    CTavlinPort* m_port;
    // Its monitoring thread stops while the tests own the port; may be null.
    CDeviceManager* m_manager;
    BOOL m_sLink;
    BOOL m_irPort0;
    BOOL m_irPorts;
    BOOL m_parallel;
    BOOL m_baud;
    int m_repeat;
    CString m_serialPrefix;

protected:
    DECLARE_MESSAGE_MAP()

private:
    void ShowState(LPCSTR icon);
    void Fail();
    void RunTests();
    void WriteSerialNumber();

    BOOL m_ok;
};
