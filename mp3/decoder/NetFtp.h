// Opens the bytes of an FTP URL as a data connection: logs in, asks for a
// binary transfer and accepts the server's active-mode data connection.
#pragma once

#include "mp3/decoder/NetNotify.h"
#include "mp3/decoder/NetSocket.h"
#include "mp3/decoder/NetUrl.h"

// Returns 0 with *sock the data connection and *length the size the server
// announced (0 when none), or a failure code with nothing left open. The
// control connection stays open until FtpClose. notify may be null.
int FtpOpen(NetSocket** sock, const NetUrl* url, unsigned int* length, const NetNotify* notify);
// Closes the data connection and its control connection.
void FtpClose(NetSocket* sock);
