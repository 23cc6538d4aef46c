// fwupgrader: flashes the Kelto switch's firmware and tests interface units
// over a COM port of its own. Started with a port on the command line
// ("fwupgrader com3") it upgrades that port's switch unattended and ends.
#pragma once

#include <afxwin.h>

class CFirmwareUpgraderApp : public CWinApp
{
public:
    BOOL InitInstance() override;
};
