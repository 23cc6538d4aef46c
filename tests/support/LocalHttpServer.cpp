// Windows sockets first: they replace the C library's select types.
#define NOMINMAX
#include <winsock2.h>

#include "tests/support/LocalHttpServer.h"

#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <stdexcept>

#include <zlib.h>

namespace {

const int kPollMs = 20;
const int kRequestTimeoutMs = 5000;
const size_t kMaxRequestHead = 64 * 1024;
const int kMaxStallMs = 60000;   // a stall ends by itself at the latest after this
// A client that stops reading (a download cut at its size limit) must not hold the
// server: a send that cannot go on for this long ends the connection.
const DWORD kSendTimeoutMs = 5000;

class CLock
{
public:
    explicit CLock(CRITICAL_SECTION* section) : m_section(section) { EnterCriticalSection(section); }
    ~CLock() { LeaveCriticalSection(m_section); }

private:
    CRITICAL_SECTION* m_section;
};

// 1 readable, 0 not within ms, -1 failed.
int WaitReadable(SOCKET s, int ms)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval limit = {ms / 1000, (ms % 1000) * 1000};
    int n = select(0, &readable, nullptr, nullptr, &limit);
    return n == SOCKET_ERROR ? -1 : n;
}

bool SendAll(SOCKET s, const char* bytes, size_t length)
{
    while (length > 0) {
        int sent = send(s, bytes, int(length), 0);
        if (sent == SOCKET_ERROR)
            return false;
        bytes += sent;
        length -= sent;
    }
    return true;
}

std::vector<std::string> SplitLines(const std::string& head)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = head.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(head.substr(start, end - start));
    return lines;
}

} // namespace

HttpReply HttpReply::Ok(const std::string& body)
{
    HttpReply reply;
    reply.body = body;
    return reply;
}

HttpReply HttpReply::Redirect(const std::string& location, int status)
{
    const struct
    {
        int status;
        const char* line;
    } lines[] = {
        {301, "HTTP/1.1 301 Moved Permanently"}, {302, "HTTP/1.0 302 Found"},
        {303, "HTTP/1.1 303 See Other"}, {307, "HTTP/1.1 307 Temporary Redirect"},
        {308, "HTTP/1.1 308 Permanent Redirect"},
    };
    HttpReply reply;
    for (const auto& l : lines) {
        if (l.status == status)
            reply.statusLine = l.line;
    }
    reply.headers.push_back("Location: " + location);
    return reply;
}

HttpReply HttpReply::Gzipped(const std::string& body)
{
    const int kGzipWindowBits = 15 + 16;   // zlib's way of asking for a gzip wrapper
    z_stream stream = {};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, kGzipWindowBits, 8, Z_DEFAULT_STRATEGY);
    std::string packed(deflateBound(&stream, body.size()) + 32, '\0');
    stream.next_in = (Bytef*)body.data();
    stream.avail_in = (uInt)body.size();
    stream.next_out = (Bytef*)&packed[0];
    stream.avail_out = (uInt)packed.size();
    deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    HttpReply reply = Ok(packed);
    reply.headers.push_back("Content-Encoding: gzip");
    return reply;
}

std::string HttpReply::Head() const
{
    std::string head = statusLine + "\r\n";
    for (const std::string& header : headers)
        head += header + "\r\n";
    if (sendLength)
        head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return head + "\r\n";
}

std::string HttpRequestRecord::Header(const std::string& name) const
{
    for (const std::string& line : headers) {
        if (line.size() > name.size() && line[name.size()] == ':' &&
            strncasecmp(line.c_str(), name.c_str(), name.size()) == 0) {
            size_t value = line.find_first_not_of(' ', name.size() + 1);
            return value == std::string::npos ? "" : line.substr(value);
        }
    }
    return "";
}

CLocalHttpServer::CLocalHttpServer(const std::string& address)
    : m_address(address)
{
    InitializeCriticalSection(&m_lock);
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        throw std::runtime_error("local http server: no sockets");
    SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = inet_addr(address.c_str());
    int length = sizeof(local);
    if (listener == INVALID_SOCKET ||
        bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof(local)) != 0 ||
        listen(listener, SOMAXCONN) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        if (listener != INVALID_SOCKET)
            closesocket(listener);
        WSACleanup();
        throw std::runtime_error("local http server: cannot listen");
    }
    m_listener = listener;
    m_port = ntohs(local.sin_port);
    m_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = CreateThread(nullptr, 0, ServeThread, this, 0, nullptr);
}

CLocalHttpServer::~CLocalHttpServer()
{
    SetEvent(m_stop);
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    CloseHandle(m_stop);
    closesocket(m_listener);
    WSACleanup();
    DeleteCriticalSection(&m_lock);
}

std::string CLocalHttpServer::Url(const std::string& path) const
{
    return "http://" + m_address + ":" + std::to_string(m_port) + path;
}

void CLocalHttpServer::Answer(const std::string& target, const HttpReply& reply)
{
    CLock lock(&m_lock);
    for (auto& entry : m_replies) {
        if (entry.first == target) {
            entry.second = reply;
            return;
        }
    }
    m_replies.emplace_back(target, reply);
}

std::vector<HttpRequestRecord> CLocalHttpServer::Requests() const
{
    CLock lock(&m_lock);
    return m_requests;
}

DWORD WINAPI CLocalHttpServer::ServeThread(void* self)
{
    static_cast<CLocalHttpServer*>(self)->Serve();
    return 0;
}

bool CLocalHttpServer::Stopping(int waitMs) const
{
    return WaitForSingleObject(m_stop, waitMs) == WAIT_OBJECT_0;
}

void CLocalHttpServer::Serve()
{
    while (!Stopping(0)) {
        if (WaitReadable(m_listener, kPollMs) != 1)
            continue;
        SOCKET client = accept(m_listener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            continue;
        setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&kSendTimeoutMs),
                   sizeof kSendTimeoutMs);
        HandleConnection(client);
        closesocket(client);
    }
}

void CLocalHttpServer::HandleConnection(UINT_PTR client)
{
    HttpRequestRecord request;
    if (!ReadRequest(client, &request))
        return;
    {
        CLock lock(&m_lock);
        m_requests.push_back(request);
    }
    SendReply(client, ReplyFor(request.target));
}

// Appends what arrives within one poll; -1 when the client closed or failed.
int CLocalHttpServer::ReceiveSome(UINT_PTR client, std::string& text)
{
    if (WaitReadable(client, kPollMs) != 1)
        return 0;
    char bytes[1024];
    int got = recv(client, bytes, sizeof(bytes), 0);
    if (got <= 0)
        return -1;
    text.append(bytes, got);
    return 1;
}

bool CLocalHttpServer::ReadRequest(UINT_PTR client, HttpRequestRecord* request)
{
    std::string head;
    DWORD started = GetTickCount();
    while (head.find("\r\n\r\n") == std::string::npos) {
        if (head.size() > kMaxRequestHead || GetTickCount() - started > DWORD(kRequestTimeoutMs) ||
            Stopping(0))
            return false;
        if (ReceiveSome(client, head) < 0)
            return false;
    }
    std::vector<std::string> lines = SplitLines(head.substr(0, head.find("\r\n\r\n") + 2));
    const std::string& first = lines.front();
    size_t space1 = first.find(' ');
    size_t space2 = first.rfind(' ');
    if (space1 == std::string::npos || space2 == space1)
        return false;
    request->method = first.substr(0, space1);
    request->target = first.substr(space1 + 1, space2 - space1 - 1);
    request->version = first.substr(space2 + 1);
    request->headers.assign(lines.begin() + 1, lines.end());
    request->body = head.substr(head.find("\r\n\r\n") + 4);
    size_t length = strtoul(request->Header("Content-Length").c_str(), nullptr, 10);
    while (request->body.size() < length && request->body.size() <= kMaxRequestHead &&
           GetTickCount() - started <= DWORD(kRequestTimeoutMs) && !Stopping(0)) {
        if (ReceiveSome(client, request->body) < 0)
            return false;
    }
    return true;
}

HttpReply CLocalHttpServer::ReplyFor(const std::string& target) const
{
    CLock lock(&m_lock);
    for (const auto& entry : m_replies) {
        const std::string& key = entry.first;
        bool prefix = !key.empty() && key.back() == '*';
        if (prefix ? target.compare(0, key.size() - 1, key, 0, key.size() - 1) == 0
                   : key == target)
            return entry.second;
    }
    HttpReply missing = HttpReply::Ok("not found");
    missing.statusLine = "HTTP/1.0 404 Not Found";
    return missing;
}

void CLocalHttpServer::SendReply(UINT_PTR client, const HttpReply& reply)
{
    std::string bytes = reply.Head() + reply.body;
    if (reply.sendBytes >= 0 && size_t(reply.sendBytes) < bytes.size())
        bytes.resize(reply.sendBytes);
    if (reply.trickleMs > 0) {
        for (char c : bytes) {
            if (!SendAll(client, &c, 1) || Stopping(reply.trickleMs))
                return;
        }
    } else if (!SendAll(client, bytes.data(), bytes.size())) {
        return;
    }
    if (reply.ending == HttpReply::kStall)
        Stall(client);
}

// Holds the connection open until the client closes it or the server stops.
void CLocalHttpServer::Stall(UINT_PTR client)
{
    DWORD started = GetTickCount();
    while (!Stopping(0) && GetTickCount() - started < DWORD(kMaxStallMs)) {
        if (WaitReadable(client, kPollMs) == 0)
            continue;
        char byte;
        if (recv(client, &byte, 1, 0) <= 0)
            return;
    }
}
