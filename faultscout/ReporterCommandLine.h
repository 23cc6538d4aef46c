// The reporter's command line: attached to a program through two inherited pipe
// handles, a saved report to show, or a one-letter request to the running
// reporter, which a later start passes on through the id file and ends.
#pragma once

#include "core/crashlink/CrashLinkProtocol.h"

#include <afx.h>

#include <vector>

enum class ReporterStart
{
    Usage,     // the usage box, then the end
    Refused,   // the message box of `message`, then the end
    SavedDump, // the window with the saved report `dumpPath`
    Attach,    // the window, attached through `writeHandle` and `readHandle`
    Request,   // `request` posted to the running reporter, then the end
};

struct ReporterCommand
{
    ReporterStart start = ReporterStart::Usage;
    CString message;
    CString dumpPath;
    HANDLE writeHandle = nullptr;
    HANDLE readHandle = nullptr;
    CrashLinkHeader request = {};
};

extern const char kReporterUsage[];

// The words after the program name.
ReporterCommand ParseReporterCommandLine(const std::vector<CString>& words);

// Posts the request to the reporter whose request thread the id file
// (ReporterIdFilePath) names; the text of the failure box, empty on success.
CString SendReporterRequest(const CrashLinkHeader& request);
