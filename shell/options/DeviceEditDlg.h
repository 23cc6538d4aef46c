// Edits one entry of the device list: its name, device file, number,
// interface unit, ports and whether it is enabled. Control-bus and IR ports
// exclude each other.
#pragma once

#include "core/doc/DeviceEntry.h"

#include <afxwin.h>

class CDeviceEditDlg : public CDialog
{
public:
    enum { kIrPorts = 8, kSlPorts = 4 };

    // units: the interface units known; the list offers at least one.
    CDeviceEditDlg(DeviceEntry& entry, const char* browseFolder, int units, CWnd* parent = NULL);

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSlClicked(UINT id);
    void OnIrClicked(UINT id);
    void OnBrowse();
    DECLARE_MESSAGE_MAP()

private:
    void ShowEntry();
    void TakeEntry();

    DeviceEntry& m_entry;
    CString m_browseFolder;
    int m_units;
    CString m_name;
    CString m_file;
    int m_number = 0;
    int m_unit = 0;
    int m_enabled = 1;
    int m_ir[kIrPorts] = {};
    int m_sl[kSlPorts] = {};
};
