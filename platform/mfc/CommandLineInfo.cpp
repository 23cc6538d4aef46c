#include "platform/mfc/CommandLineInfo.h"

#include "platform/crt/StringCase.h"

CCommandLineInfo::CCommandLineInfo()
    : m_nShellCommand(FileNew), m_bShowSplash(TRUE), m_bRunEmbedded(FALSE),
      m_bRunAutomated(FALSE)
{
}

void CCommandLineInfo::ParseParam(LPCSTR param, BOOL flag, BOOL)
{
    if (flag)
        ParseFlag(param);
    else
        ParseText(param);
}

void CCommandLineInfo::ParseFlag(LPCSTR param)
{
    struct Switch
    {
        LPCSTR name;
        int command;
    };
    // Switches that choose the shell command.
    static const Switch kCommands[] = {
        {"pt", FilePrintTo},  {"p", FilePrint},           {"dde", FileDDE},
        {"Unregister", AppUnregister}, {"Unregserver", AppUnregister},
    };
    for (const Switch& entry : kCommands)
    {
        if (_stricmp(param, entry.name) == 0)
        {
            m_nShellCommand = (decltype(m_nShellCommand))entry.command;
            return;
        }
    }
    if (_stricmp(param, "Embedding") == 0)
    {
        m_bRunEmbedded = TRUE;
        m_bShowSplash = FALSE;
    }
    else if (_stricmp(param, "Automation") == 0)
    {
        m_bRunAutomated = TRUE;
        m_bShowSplash = FALSE;
    }
}

void CCommandLineInfo::ParseText(LPCSTR param)
{
    // The file comes first; printing to a printer takes printer, driver and port after it.
    if (m_strFileName.IsEmpty())
    {
        m_strFileName = param;
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
    }
    else if (m_nShellCommand == FilePrintTo)
    {
        if (m_strPrinterName.IsEmpty())
            m_strPrinterName = param;
        else if (m_strDriverName.IsEmpty())
            m_strDriverName = param;
        else if (m_strPortName.IsEmpty())
            m_strPortName = param;
    }
    m_bShowSplash = FALSE;
}

std::vector<CString> SplitCommandLine(LPCSTR commandLine)
{
    std::vector<CString> parameters;
    LPCSTR p = commandLine ? commandLine : "";
    for (;;)
    {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (!*p)
            return parameters;
        CString parameter;
        BOOL quoted = FALSE;
        for (; *p && (quoted || (*p != ' ' && *p != '\t')); ++p)
        {
            int backslashes = 0;
            while (p[backslashes] == '\\')
                ++backslashes;
            if (p[backslashes] == '"')
            {
                // 2n backslashes and a quote: n backslashes, the quote toggles;
                // 2n+1: n backslashes and a literal quote.
                for (int i = 0; i < backslashes / 2; ++i)
                    parameter += '\\';
                p += backslashes;
                if (backslashes % 2)
                    parameter += '"';
                else
                    quoted = !quoted;
            }
            else if (backslashes)
            {
                for (int i = 0; i < backslashes; ++i)
                    parameter += '\\';
                p += backslashes - 1;
            }
            else
            {
                parameter += *p;
            }
        }
        parameters.push_back(parameter);
    }
}
