#include "mp3/decoder/NetNotify.h"

#include <stdio.h>

namespace {

const size_t kMaxStatusHost = 200;

} // namespace

void NetNotifyReport(const NetNotify* notify, int level, const char* message,
                     const char* detail)
{
    if (notify && notify->report)
        notify->report(notify->context, 0, level, message, detail);
}

std::string NetStatusText(const std::string& host, int port)
{
    if (host.size() >= kMaxStatusHost)
        return "host " + host.substr(0, kMaxStatusHost) + "...";
    char text[kMaxStatusHost + 32];
    snprintf(text, sizeof(text), "host %s, port %d", host.c_str(), port);
    return text;
}
