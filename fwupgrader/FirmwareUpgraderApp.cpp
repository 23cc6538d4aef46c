#include "fwupgrader/FirmwareUpgraderApp.h"

#include "fwupgrader/FirmwareUpgraderDlg.h"
#include "fwupgrader/PortCommandLineInfo.h"

namespace {

CFirmwareUpgraderApp theApp;

} // namespace

// The program is its dialog: when the dialog ends, so does the program.
BOOL CFirmwareUpgraderApp::InitInstance()
{
    CPortCommandLineInfo info;
    ParseCommandLine(info);
    CFirmwareUpgraderDlg dialog(info.m_portGiven, info.m_portNumber);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
