#include "mp3/decoder/NetHttp.h"

#include "mp3/decoder/NetDeadline.h"
#include "mp3/decoder/NetErrors.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

namespace {

const int kHttpConnectTimeout = 10000;
// The whole reply head (status line and headers) must come within this, so
// that a server that stalls or trickles cannot hold the player.
const int kHttpReplyTimeout = 10000;
const int kHttpLineSize = 128;
const int kDefaultProxyPort = 80;
// HttpExchange's result when the reply named a new location.
const int kRedirected = 1;

const char kLocationHeader[] = "Location:";
const char kLengthHeader[] = "Content-Length:";

bool StartsWith(const char* text, const char* prefix)
{
    return strncasecmp(text, prefix, strlen(prefix)) == 0;
}

std::string RangeText(int first, int last)
{
    if (first >= 0 && last >= 0)
        return "bytes=" + std::to_string(first) + "-" + std::to_string(last);
    if (first >= 0)
        return "bytes=" + std::to_string(first) + "-";
    return "bytes=-" + std::to_string(last);
}

std::string RequestText(const std::string& target, const NetUrl* url, int first, int last,
                        const NetNotify* notify)
{
    if (first < 0 && last < 0) {
        return "GET " + target + " HTTP/1.0\r\nHost: " + url->host +
               "\r\nUser-Agent: MpegAudio/1.0\r\nAccept: */*\r\n\r\n";
    }
    std::string range = RangeText(first, last);
    NetNotifyReport(notify, kNotifyProgress, "limiting range to ", range.c_str());
    return "GET " + target + " HTTP/1.1\r\nHost: " + url->host +
           "\r\nConnection: close\r\nRange: " + range +
           "\r\nUser-Agent: mpegaudio/1.0\r\nAccept: */*\r\n\r\n";
}

bool HasScheme(const std::string& location)
{
    size_t colon = location.find(':');
    return colon != std::string::npos && colon > 0 &&
           location.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-.") ==
               colon;
}

// A location as a whole URL: one without a scheme is taken against the URL
// that answered with it (its host and port, and for a bare name its folder).
std::string ResolveLocation(const NetUrl& base, const std::string& location)
{
    if (location.compare(0, 2, "//") == 0)
        return "http:" + location;
    if (HasScheme(location))
        return location;
    std::string origin = "http://";
    if (!base.user.empty())
        origin += base.user + (base.password.empty() ? "" : ":" + base.password) + "@";
    origin += base.host + ":" + std::to_string(base.port);
    std::string path = base.path.substr(0, base.path.find('?'));
    if (location.empty() || location[0] == '?')
        return origin + path + location;
    if (location[0] == '/')
        return origin + location;
    return origin + path.substr(0, path.rfind('/') + 1) + location;
}

// 0 to read headers, kRedirected to read them for a location, or a failure.
int CheckStatusLine(const char* line, const NetNotify* notify)
{
    char major, minor, status[3];
    char reason[kHttpLineSize];
    if (sscanf(line, "HTTP/%c.%c %c%c%c %127s", &major, &minor, &status[0], &status[1],
               &status[2], reason) != 6)
        return kNetErrInvalidHttpReply;
    switch (status[0]) {
    case '0':
        return kNetErrInvalidHttpReply;
    case '1':
    case '2':
        return 0;
    case '3':
        return kRedirected;
    case '4':
    case '5':
        NetNotifyReport(notify, kNotifyStatus, "http request failed", line);
        return kNetErrHttpErrorReply;
    default:
        return kNetErrHttp;
    }
}

// Reads the status line and headers. Returns 0 at the body (with *length set
// when a length came), kRedirected with *location, or a failure code.
int ReadReplyHead(NetSocket* sock, unsigned int* length, std::string* location,
                  const NetNotify* notify)
{
    CNetDeadline deadline(kHttpReplyTimeout);
    char line[kHttpLineSize];
    int got = NetSocketReadLine(sock, line, sizeof(line), deadline.Left());
    if (got <= 0)
        return got;   // an empty first line: the body starts at once
    NetNotifyReport(notify, kNotifyProgress, "got http reply", line);
    int mode = CheckStatusLine(line, notify);
    if (mode < 0)
        return mode;

    bool haveLength = false;
    unsigned long long announced = 0;
    for (;;) {
        got = NetSocketReadLine(sock, line, sizeof(line), deadline.Left());
        if (got < 0)
            return got;
        NetNotifyReport(notify, kNotifyProgress, "http header", line);
        if (got == 0)
            break;
        if (mode == kRedirected && StartsWith(line, kLocationHeader)) {
            const char* value = line + strlen(kLocationHeader);
            if (*value == ' ')
                ++value;
            *location = value;
            NetNotifyReport(notify, kNotifyProgress, "http redirect, new location", value);
            return kRedirected;
        }
        if (StartsWith(line, kLengthHeader)) {
            announced = strtoull(line + strlen(kLengthHeader), nullptr, 10);
            haveLength = announced <= UINT_MAX;
        }
    }
    NetNotifyReport(notify, kNotifyStatus, "http request successfull", "");
    if (haveLength)
        *length = static_cast<unsigned int>(announced);
    return 0;
}

// One request and its reply head.
int HttpExchange(NetSocket** out, const NetUrl* url, unsigned int* length, int first, int last,
                 const NetProxy* proxy, const NetNotify* notify, std::string* location)
{
    bool viaProxy = proxy && !proxy->host.empty();
    const std::string& host = viaProxy ? proxy->host : url->host;
    int port = viaProxy ? (proxy->port ? proxy->port : kDefaultProxyPort) : url->port;
    std::string status = NetStatusText(host, port);

    NetNotifyReport(notify, kNotifyStatus, "connecting", status.c_str());
    NetSocket* sock = nullptr;
    int result = NetSocketConnect(&sock, host.c_str(), port, kHttpConnectTimeout);
    if (result != 0) {
        NetNotifyReport(notify, kNotifyStatus, "connection failed", GetDecoderErrorText(result));
        return result;
    }
    NetNotifyReport(notify, kNotifyStatus, "connected", status.c_str());
    NetNotifyReport(notify, kNotifyProgress, "requesting data", url->path.c_str());

    std::string request = RequestText(viaProxy ? url->url : url->path, url, first, last, notify);
    result = NetSocketSendText(sock, request.c_str());
    if (result != 0) {
        NetSocketClose(sock);
        NetNotifyReport(notify, kNotifyStatus, "error while sending request",
                        GetDecoderErrorText(result));
        return result;
    }
    result = ReadReplyHead(sock, length, location, notify);
    if (result != 0) {
        NetSocketClose(sock);
        return result;
    }
    *out = sock;
    return 0;
}

} // namespace

int HttpOpen(NetSocket** sock, NetUrl* url, unsigned int* length, int first, int last,
             const NetProxy* proxy, const NetNotify* notify)
{
    *sock = nullptr;
    for (int redirects = 0;; ++redirects) {
        std::string location;
        int result = HttpExchange(sock, url, length, first, last, proxy, notify, &location);
        if (result != kRedirected)
            return result;
        if (redirects == kHttpMaxRedirects) {
            NetNotifyReport(notify, kNotifyStatus, "too many http redirects", location.c_str());
            return kNetErrHttp;
        }
        std::string resolved = ResolveLocation(*url, location);
        FreeNetUrl(url);
        result = ParseNetUrl(url, resolved.c_str());
        if (result != 0)
            return result;
        // The caller closes by the URL's scheme: an http socket must stay http.
        if (url->scheme != kSchemeHttp)
            return kNetErrUnsupportedScheme;
    }
}

void HttpClose(NetSocket* sock)
{
    NetSocketClose(sock);
}
