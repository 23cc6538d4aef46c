// Opens the body of an HTTP URL as a connected socket.
#pragma once

#include "mp3/decoder/NetNotify.h"
#include "mp3/decoder/NetSocket.h"
#include "mp3/decoder/NetUrl.h"

#include <string>

struct NetProxy
{
    std::string host;            // empty: no proxy
    unsigned short port = 0;     // 0: 80
};

// Redirects followed before the open fails with kNetErrHttp.
const int kHttpMaxRedirects = 5;

// Connects (through proxy when it has a host), requests url (bytes first..last
// when either is not negative) and reads the reply head, following redirects:
// url then describes the location reached. Returns 0 with *sock positioned at
// the body and *length set when the reply gives a content length, or a failure
// code with nothing left open. notify and proxy may be null.
int HttpOpen(NetSocket** sock, NetUrl* url, unsigned int* length, int first, int last,
             const NetProxy* proxy, const NetNotify* notify);
void HttpClose(NetSocket* sock);
