// The device server's command line: its own flags and the switches COM puts
// on the command line of a server it starts.
#pragma once

struct CTavlinServCommandLineInfo
{
    bool m_register = false;
    bool m_unregister = false;
    bool m_invisible = false;
    bool m_noTrayIcon = false;
    bool m_runEmbedded = false;
    bool m_runAutomated = false;

    // One parameter without its leading '-' or '/'; flag: it had one.
    void ParseParam(const char* param, bool flag);
    // A whole command line, program name excluded; quotes group words.
    void ParseCommandLine(const char* commandLine);
};
