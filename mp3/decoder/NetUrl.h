// URLs of the streams the decoder reads: file names and http, ftp, udp and tcp
// locations.
#pragma once

#include <string>

enum NetUrlScheme
{
    kSchemeNone = 0,
    kSchemeFile = 1,
    kSchemeHttp = 2,
    kSchemeFtp = 3,
    kSchemeUdp = 4,
    kSchemeTcp = 5,
};

// What ftp logs in with when the URL names no password.
extern const char kNetAnonymousPassword[];

// An empty user, password, host or path means none.
struct NetUrl
{
    std::string url;   // the whole text as given
    int scheme = kSchemeNone;
    std::string user;
    std::string password;
    std::string host;
    int port = 0;
    std::string path;
};

// Fills url from text: 0, kNetErrUnsupportedScheme or kNetErrInvalidUrlSyntax.
// On failure the record is emptied.
int ParseNetUrl(NetUrl* url, const char* text);
// Clears the texts; scheme and port stay.
void FreeNetUrl(NetUrl* url);
