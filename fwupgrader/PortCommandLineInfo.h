// fwupgrader's command line: a parameter holding "com" (any case) names the
// port to upgrade, unattended; "com3" gives 3.
#pragma once

#include <afxwin.h>

class CPortCommandLineInfo : public CCommandLineInfo
{
public:
    CPortCommandLineInfo();
    void ParseParam(LPCSTR param, BOOL flag, BOOL last) override;

    bool m_portGiven;
    // The decimal digits after the parameter's first three characters; 0
    // where there are none.
    int m_portNumber;
};
