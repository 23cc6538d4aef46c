// fwupgrader's one dialog: the Kelto switch's firmware replaced through its
// boot loader from the image built into the program, over a COM port the
// dialog opens itself, and behind two hidden buttons the factory tests of
// interface units. Everything runs on the GUI thread, which pumps its messages
// after every output line so that the box and the progress bar repaint.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>

#include <memory>

#include "devices/kelto/KeltoFlashWriter.h"
#include "devices/kelto/KeltoPort.h"
#include "common/Tty.h"
#include "fwupgrader/UpgraderOutput.h"

class CFactoryTests;

const UINT IDD_FIRMWARE_UPGRADER = 102;

enum FirmwareUpgraderControl
{
    IDC_OUTPUT = 1000,
    IDC_UPGRADE = 1001,
    IDC_PORT = 1002,
    IDC_PROGRESS = 1003,
    IDC_PORT_LABEL = 1004,
    IDC_TEST = 1005,
    IDC_VARLO = 1006
};

class CFirmwareUpgraderDlg : public CDialog, public CUpgraderOutput, public CKeltoFlashProgress
{
public:
    // A port named on the command line is selected and upgraded at once,
    // unattended: the dialog closes when the upgrade ends.
    CFirmwareUpgraderDlg(bool portGiven, int commandPort, CWnd* parent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    void UpgradeFirmware();
    // With the boot loader running: the image text, checked whole before any
    // block is written, into the switch of m_kelto.
    BOOL WriteFlash(const char* image);

    void Write(const char* text) override;
    void Error(const char* text) override;
    void OnFlashProgress(int nextWord) override;

    // The switch of the running upgrade.
    std::unique_ptr<CKeltoPort> m_kelto;

protected:
    void OnUpgrade();
    void OnTest();
    void OnVarlo();
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    // The chosen port; the command line's where the list holds no such port.
    int SelectedPort();
    // Sets the busy flag and empties the output; false while busy.
    BOOL BeginOperation();
    void UpgradeUnit(int comPort);
    BOOL ConfirmVersion();
    BOOL FlashFailed();
    void RunFactoryTest(void (CFactoryTests::*test)(int comPort));

    CTty m_output;
    CProgressCtrl m_progress;
    CComboBox m_ports;
    HICON m_icon;
    BOOL m_busy;
    BOOL m_unattended;
    int m_commandPort;
    double m_targetVersion;
};
