// Shared by the network tests: fixture bytes, reading a stream to its end and
// collecting the clients' reports.
#pragma once

#include "mp3/decoder/NetErrors.h"
#include "mp3/decoder/NetNotify.h"
#include "mp3/decoder/NetSocket.h"

#include <string>
#include <vector>

// n bytes that differ from any shifted copy of themselves.
inline std::string NetTestBytes(size_t n)
{
    std::string bytes(n, '\0');
    unsigned int state = 12345;
    for (size_t i = 0; i < n; ++i) {
        state = state * 1103515245 + 12345;
        bytes[i] = char(state >> 16);
    }
    return bytes;
}

// Receives until the stream fails; *end gets the code that ended it.
inline std::string NetReadToEnd(NetSocket* sock, int* end, int timeout = 5000)
{
    std::string bytes;
    char buffer[4096];
    int got;
    while ((got = NetSocketReceive(sock, buffer, sizeof(buffer), timeout)) > 0)
        bytes.append(buffer, got);
    *end = got;
    return bytes;
}

// A port on 127.0.0.1 that was free a moment ago: connections to it are refused.
inline int NetRefusingPort()
{
    NetSocket* listener = nullptr;
    int port = 0;
    if (NetSocketListen(&listener, 0, nullptr) == 0)
        NetSocketGetLocalAddress(listener, &port, nullptr);
    NetSocketClose(listener);
    return port;
}

struct NetReport
{
    int level;
    std::string message;
    std::string detail;
};

// A NetNotify whose reports land in a list.
class CNetReportLog
{
public:
    CNetReportLog()
    {
        m_notify.context = this;
        m_notify.report = &CNetReportLog::Report;
    }
    CNetReportLog(const CNetReportLog&) = delete;
    CNetReportLog& operator=(const CNetReportLog&) = delete;

    const NetNotify* Notify() const { return &m_notify; }
    void Clear() { m_reports.clear(); }
    const std::vector<NetReport>& Reports() const { return m_reports; }
    // The detail of the first report with that message, or "(none)".
    std::string Detail(const std::string& message, int* level = nullptr) const
    {
        for (const NetReport& r : m_reports) {
            if (r.message == message) {
                if (level)
                    *level = r.level;
                return r.detail;
            }
        }
        return "(none)";
    }

private:
    static void Report(void* context, int module, int level, const char* message,
                       const char* detail)
    {
        (void)module;
        static_cast<CNetReportLog*>(context)->m_reports.push_back({level, message, detail});
    }

    NetNotify m_notify;
    std::vector<NetReport> m_reports;
};
