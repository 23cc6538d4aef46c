// Progress and failure reports of the stream clients, passed on to the decoder's
// debug report.
#pragma once

#include <string>

// context, module id (always 0 here), level, message, detail.
typedef void (*NetDebugReport)(void* context, int module, int level, const char* message,
                               const char* detail);

enum NetNotifyLevel
{
    kNotifyStatus = 0,     // status and errors
    kNotifyProgress = 1,
    kNotifyProtocol = 2,   // protocol detail
};

struct NetNotify
{
    void* context = nullptr;
    NetDebugReport report = nullptr;
};

// Absent records and absent operations are skipped.
void NetNotifyReport(const NetNotify* notify, int level, const char* message,
                     const char* detail);
// "host %s, port %d", the host cut after 200 characters.
std::string NetStatusText(const std::string& host, int port);
