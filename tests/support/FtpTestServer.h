// A real FTP server (Debian's pyftpdlib) on 127.0.0.1 and a free port, serving a
// folder read-only while the fixture lives. Plain POSIX process code.
#pragma once

#include <string>

class CFtpTestServer
{
public:
    // folder is a Unix path. Without a user the server takes anonymous log-ins;
    // with one, only that user and password. Throws std::runtime_error when the
    // server does not start listening.
    explicit CFtpTestServer(const std::string& folder, const std::string& user = "",
                            const std::string& password = "");
    ~CFtpTestServer();
    CFtpTestServer(const CFtpTestServer&) = delete;
    CFtpTestServer& operator=(const CFtpTestServer&) = delete;

    int Port() const { return m_port; }
    // "ftp://" + credentials + "127.0.0.1:<port>" + path; credentials may be
    // empty or "user:password@".
    std::string Url(const std::string& path, const std::string& credentials = "") const;

private:
    void WaitUntilListening();
    void Stop();

    int m_pid = -1;
    int m_port = 0;
    std::string m_logPath;
};
