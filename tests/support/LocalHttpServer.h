// A small HTTP server on 127.0.0.1 for tests: answers from a table of request
// targets, records the requests it got (request line, headers, and a body of
// the length its Content-Length gives), and can misbehave (stall, trickle, close early). It serves one
// connection at a time on a Win32 thread of its own and closes each after its
// reply.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct HttpReply
{
    std::string statusLine = "HTTP/1.0 200 OK";
    std::vector<std::string> headers;   // "Name: value", sent in this order
    std::string body;
    bool sendLength = true;             // adds "Content-Length: <body size>"

    // How much of the reply goes out (head and body together; -1: all), and
    // what the server does then.
    enum Ending
    {
        kClose,   // closes the connection
        kStall,   // holds it open, sending nothing, until the client or the server ends
    };
    int sendBytes = -1;
    Ending ending = kClose;
    int trickleMs = 0;                  // > 0: one byte at a time with this pause

    static HttpReply Ok(const std::string& body);
    // A redirect with status 301, 302, 303, 307 or 308; the location is sent
    // as given, relative ones too.
    static HttpReply Redirect(const std::string& location, int status = 302);
    // The body gzip-compressed, with "Content-Encoding: gzip", whether the
    // request asked for it or not (as some servers do).
    static HttpReply Gzipped(const std::string& body);
    // Status line, headers and blank line as sent.
    std::string Head() const;
};

struct HttpRequestRecord
{
    std::string method;
    std::string target;
    std::string version;                // "HTTP/1.0"
    std::vector<std::string> headers;   // as received, without CR LF
    std::string body;

    // Value of the first header of that name (case ignored), "" when none.
    std::string Header(const std::string& name) const;
};

class CLocalHttpServer
{
public:
    // Listens on a free port of address (any of the loopback range 127.0.0.0/8,
    // so that a test can stand up a second host); throws std::runtime_error when
    // it cannot.
    explicit CLocalHttpServer(const std::string& address = "127.0.0.1");
    ~CLocalHttpServer();
    CLocalHttpServer(const CLocalHttpServer&) = delete;
    CLocalHttpServer& operator=(const CLocalHttpServer&) = delete;

    int Port() const { return m_port; }
    // "http://<address>:<port>" + path
    std::string Url(const std::string& path) const;
    // The reply to requests whose target (as in the request line: a path, or a
    // whole URL when the server plays a proxy) is target; a target ending in "*"
    // answers every request target that starts with the text before it. The
    // first matching entry answers. Others get 404.
    void Answer(const std::string& target, const HttpReply& reply);
    std::vector<HttpRequestRecord> Requests() const;

private:
    static DWORD WINAPI ServeThread(void* self);
    void Serve();
    void HandleConnection(UINT_PTR client);
    bool ReadRequest(UINT_PTR client, HttpRequestRecord* request);
    static int ReceiveSome(UINT_PTR client, std::string& text);
    HttpReply ReplyFor(const std::string& target) const;
    void SendReply(UINT_PTR client, const HttpReply& reply);
    void Stall(UINT_PTR client);
    bool Stopping(int waitMs) const;

    UINT_PTR m_listener;
    std::string m_address;
    int m_port = 0;
    HANDLE m_stop = nullptr;
    HANDLE m_thread = nullptr;
    mutable CRITICAL_SECTION m_lock;   // guards the two tables below
    std::vector<std::pair<std::string, HttpReply>> m_replies;
    std::vector<HttpRequestRecord> m_requests;
};
