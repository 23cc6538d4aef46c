#include "mp3/decoder/NetUrl.h"

#include "mp3/decoder/NetErrors.h"

#include <string.h>
#include <strings.h>

const char kNetAnonymousPassword[] = "user@zym.org";

namespace {

struct SchemeName
{
    const char* prefix;   // compared without regard to case, colon included
    int scheme;
    int defaultPort;
};

const SchemeName kSchemes[] = {
    {"file:", kSchemeFile, 0},
    {"http:", kSchemeHttp, 80},
    {"ftp:", kSchemeFtp, 21},
    {"udp:", kSchemeUdp, 8888},
    {"tcp:", kSchemeTcp, 23},
};

const int kMaxPort = 65535;
const unsigned char kDelete = 0x7f;
// A colon this close to the start belongs to a drive letter, not a scheme.
const size_t kMinSchemeLength = 2;

const SchemeName* FindScheme(const std::string& text)
{
    for (const SchemeName& s : kSchemes) {
        if (strncasecmp(text.c_str(), s.prefix, strlen(s.prefix)) == 0)
            return &s;
    }
    return nullptr;
}

// Decimal digits only, 1 to 65535.
bool ParsePort(const std::string& text, int* port)
{
    if (text.empty() || text.size() > 5)
        return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (value == 0 || value > kMaxPort)
        return false;
    *port = value;
    return true;
}

// "//[user[:password]@]host[:port][/path]"
// Control characters would end the request or command lines that carry the
// URL's parts and let it add lines of its own.
bool HasControlCharacter(const std::string& text)
{
    for (unsigned char c : text) {
        if (c < ' ' || c == kDelete)
            return true;
    }
    return false;
}

int ParseLocation(NetUrl* url, const std::string& rest)
{
    if (rest.compare(0, 2, "//") != 0 || HasControlCharacter(rest))
        return kNetErrInvalidUrlSyntax;
    std::string authority = rest.substr(2);
    size_t slash = authority.find('/');
    if (slash != std::string::npos) {
        url->path = authority.substr(slash);
        authority.erase(slash);
    } else {
        url->path = "/";
    }

    size_t at = authority.rfind('@');
    if (at != std::string::npos) {
        std::string credentials = authority.substr(0, at);
        authority.erase(0, at + 1);
        size_t colon = credentials.find(':');
        url->user = credentials.substr(0, colon);
        if (colon != std::string::npos)
            url->password = credentials.substr(colon + 1);
    }

    size_t colon = authority.find(':');
    if (colon != std::string::npos) {
        if (!ParsePort(authority.substr(colon + 1), &url->port))
            return kNetErrInvalidUrlSyntax;
        authority.erase(colon);
    }
    if (authority.empty())
        return kNetErrInvalidUrlSyntax;
    url->host = authority;

    if (url->scheme == kSchemeFtp) {
        if (url->user.empty())
            url->user = "anonymous";
        if (url->password.empty())
            url->password = kNetAnonymousPassword;
    }
    return 0;
}

int Parse(NetUrl* url, const std::string& text)
{
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon < kMinSchemeLength) {
        url->scheme = kSchemeFile;
        url->path = text;
        return 0;
    }
    const SchemeName* scheme = FindScheme(text);
    if (!scheme)
        return kNetErrUnsupportedScheme;
    url->scheme = scheme->scheme;
    url->port = scheme->defaultPort;
    std::string rest = text.substr(colon + 1);
    if (url->scheme == kSchemeFile) {
        url->path = rest.compare(0, 2, "//") == 0 ? rest.substr(2) : rest;
        return 0;
    }
    return ParseLocation(url, rest);
}

} // namespace

int ParseNetUrl(NetUrl* url, const char* text)
{
    *url = NetUrl();
    std::string whole = text ? text : "";
    url->url = whole;
    int result = Parse(url, whole);
    if (result != 0)
        *url = NetUrl();
    return result;
}

void FreeNetUrl(NetUrl* url)
{
    url->url.clear();
    url->user.clear();
    url->password.clear();
    url->host.clear();
    url->path.clear();
}
