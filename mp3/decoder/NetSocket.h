// Stream and datagram sockets over Windows sockets with receive time-outs. The
// host-name look-up and the connect run on worker threads so that they can time
// out too. Time-outs are in milliseconds; a negative one waits without limit.
#pragma once

#include <stdint.h>

enum NetSocketKind
{
    kSocketStream = 0,
    kSocketDatagram = 1,
};

// The record is private to the socket layer, which keeps the Windows sockets
// headers (they must come before the C library's) out of its users.
struct NetSocket;

// Windows sockets 1.1: 0 or kNetFailed.
int NetStartup();

// Host names are looked up on a worker thread within the time-out; a host
// starting with a digit from 0 to 8 is read as four dotted numbers instead.
// Operations that open a socket give it back in *sock (null on failure) and
// return 0 or a negative code.
int NetSocketConnect(NetSocket** sock, const char* host, int port, int timeout);
int NetSocketOpenDatagramSender(NetSocket** sock, const char* host, int port, int timeout);
// Bound to port (0: any free one, which NetSocketGetLocalAddress gives) on every
// local address; address (4 bytes, may be null) gets the local address.
// Listening sockets have a backlog of 1.
int NetSocketBindDatagram(NetSocket** sock, int port, unsigned char* address);
int NetSocketListen(NetSocket** sock, int port, unsigned char* address);
// port and address (either may be null) get the connection's local ones.
int NetSocketAccept(NetSocket** sock, NetSocket* listener, int* port, unsigned char* address,
                    int timeout);

// Sends everything: 0, kNetFailed or kErrInternal.
int NetSocketSend(NetSocket* sock, const void* bytes, int length);
int NetSocketSendText(NetSocket* sock, const char* text);
// Waits until readable, then one receive: the byte count or a negative code
// (kNetErrSocketClosed when the peer has closed).
int NetSocketReceive(NetSocket* sock, void* buffer, int length, int timeout);
// One line without its CR and LF; the time-out bounds the whole line, so a peer
// that trickles bytes cannot hold the caller. Returns the length; a line that
// fills the buffer is cut (its last stored character becomes the terminator)
// and gives size. A receive failure terminates the text and is the result.
int NetSocketReadLine(NetSocket* sock, char* buffer, int size, int timeout);

// Fills the record's local port and address and gives them back (either may be
// null); kNetFailed on failure.
int NetSocketGetLocalAddress(NetSocket* sock, int* port, unsigned char* address);
int NetSocketSetUser(NetSocket* sock, void* user);
void* NetSocketGetUser(const NetSocket* sock);
int NetSocketGetHandle(const NetSocket* sock, uintptr_t* handle);
// Closes the handle and frees the record (null is ignored).
void NetSocketClose(NetSocket* sock);
