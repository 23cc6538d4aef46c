// A disc-database gateway for tests: the local HTTP server, reached as the
// program's proxy, answers CDDB commands ("cmd=" of the gateway path) for
// any number of server names, from fixture entries in the public entry format.
#pragma once

#include "tests/support/LocalHttpServer.h"

#include <string>
#include <vector>

struct CddbCommand
{
    std::string host;
    std::string command; // the cmd value as sent, e.g. "cddb+read+rock+a50b4d0c"
    std::string hello;
};

class CCddbTestServer
{
public:
    // Three tracks: "Harbour Lights" by "The Quiet Set", category rock.
    static const char kEntry[];
    // The same disc with one track title spread over two lines and
    // extended data, year and genre lines.
    static const char kEntryWithNotes[];

    int Port() const { return m_http.Port(); }
    CLocalHttpServer& Http() { return m_http; }

    // The reply body to a command (its start, when it ends in "*") on host.
    void Answer(const std::string& host, const std::string& command, const std::string& body);
    void Answer(const std::string& host, const std::string& command, const HttpReply& reply);
    // A "210" entry reply to "cddb+read+category+discId".
    void AnswerRead(const std::string& host, const std::string& category,
                    const std::string& discId, const std::string& entry);
    std::vector<CddbCommand> Commands() const;

private:
    CLocalHttpServer m_http;
};
