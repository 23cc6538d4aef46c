// CCommandLineInfo: what the command line asks of the program, filled one
// parameter at a time by CWinApp::ParseCommandLine.
#pragma once

#include <afx.h>

#include <vector>

class CCommandLineInfo : public CObject
{
public:
    CCommandLineInfo();

    // flag: the parameter was a switch (its '-' or '/' already stripped).
    virtual void ParseParam(LPCSTR param, BOOL flag, BOOL last);

    enum
    {
        FileNew,
        FileOpen,
        FilePrint,
        FilePrintTo,
        FileDDE,
        AppUnregister,
        FileNothing = -1
    } m_nShellCommand;

    BOOL m_bShowSplash;
    // COM starts a server with "/Embedding" or "/Automation".
    BOOL m_bRunEmbedded;
    BOOL m_bRunAutomated;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;

private:
    void ParseFlag(LPCSTR param);
    void ParseText(LPCSTR param);
};

// The parameters of a command line as the C runtime splits them: blanks
// separate, quotes group, a backslash escapes only quotes (and the backslashes
// before a quote).
std::vector<CString> SplitCommandLine(LPCSTR commandLine);
