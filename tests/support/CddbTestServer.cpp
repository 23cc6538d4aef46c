#include "tests/support/CddbTestServer.h"

namespace {

const char kGateway[] = "/~cddb/cddb.cgi?cmd=";

// The port is named in the request line a proxy gets.
std::string GatewayUrl(const std::string& host)
{
    return "http://" + host + ":80" + kGateway;
}

std::string ValueOf(const std::string& target, const std::string& key)
{
    size_t at = target.find(key + "=");
    if (at == std::string::npos)
        return "";
    at += key.size() + 1;
    return target.substr(at, target.find('&', at) - at);
}

} // namespace

const char CCddbTestServer::kEntry[] =
    "# xmcd\r\n"
    "#\r\n"
    "# Track frame offsets:\r\n"
    "#\t150\r\n"
    "#\t15150\r\n"
    "#\t37650\r\n"
    "#\r\n"
    "# Disc length: 602 seconds\r\n"
    "#\r\n"
    "DISCID=a50b4d03\r\n"
    "DTITLE=The Quiet Set / Harbour Lights\r\n"
    "DYEAR=1998\r\n"
    "DGENRE=Rock\r\n"
    "TTITLE0=Opening\r\n"
    "TTITLE1=Guest Singer / Duet\r\n"
    "TTITLE2=Closing\r\n"
    "EXTD=\r\n"
    "EXTT0=\r\n"
    "EXTT1=\r\n"
    "EXTT2=\r\n"
    "PLAYLIST=\r\n";

const char CCddbTestServer::kEntryWithNotes[] =
    "# xmcd\r\n"
    "DISCID=a50b4d03\r\n"
    "DTITLE=The Quiet Set / Harbour Lights\r\n"
    "DYEAR=1998\r\n"
    "DGENRE=Progressive Rock\r\n"
    "TTITLE0=Opening\r\n"
    "TTITLE1=Guest Singer / Du\r\n"
    "TTITLE1=et\r\n"
    "TTITLE2=Closing\r\n"
    "EXTD=Recorded live\\nin one take\r\n"
    "EXTT1=Two \\\\ voices\r\n"
    "PLAYLIST=\r\n";

void CCddbTestServer::Answer(const std::string& host, const std::string& command,
                             const std::string& body)
{
    Answer(host, command, HttpReply::Ok(body));
}

void CCddbTestServer::Answer(const std::string& host, const std::string& command,
                             const HttpReply& reply)
{
    bool prefix = !command.empty() && command.back() == '*';
    m_http.Answer(GatewayUrl(host) + command + (prefix ? "" : "&*"), reply);
}

void CCddbTestServer::AnswerRead(const std::string& host, const std::string& category,
                                 const std::string& discId, const std::string& entry)
{
    Answer(host, "cddb+read+" + category + "+" + discId,
           "210 " + category + " " + discId + " CD database entry follows (until terminating `.')\r\n" +
               entry + ".\r\n");
}

std::vector<CddbCommand> CCddbTestServer::Commands() const
{
    std::vector<CddbCommand> commands;
    for (const HttpRequestRecord& request : m_http.Requests()) {
        CddbCommand command;
        size_t start = request.target.find("://");
        if (start != std::string::npos) {
            start += 3;
            command.host = request.target.substr(start, request.target.find(':', start) - start);
        }
        command.command = ValueOf(request.target, "cmd");
        command.hello = ValueOf(request.target, "hello");
        commands.push_back(command);
    }
    return commands;
}
