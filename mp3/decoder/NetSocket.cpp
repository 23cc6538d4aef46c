// Windows sockets first: they replace the C library's select types.
#define NOMINMAX
#include <winsock2.h>

#include "mp3/decoder/NetSocket.h"

#include "mp3/decoder/NetDeadline.h"
#include "mp3/decoder/NetErrors.h"
#include "mp3/decoder/NetWorker.h"
#include "platform/runtime/DebugOutput.h"

#include <stdio.h>
#include <string.h>

#include <string>

struct NetSocket
{
    SOCKET handle = INVALID_SOCKET;
    int localPort = 0;                  // filled after binding or accepting
    unsigned char localAddress[4] = {};
    int kind = kSocketStream;
    sockaddr_in peer = {};              // where a datagram sender's sends go
    void* user = nullptr;               // the FTP client's transfer record
};

namespace {

const int kListenBacklog = 1;
const int kMaxAddressByte = 255;

// Who closes a connecting socket: the worker when the connect fails or its
// caller has stopped waiting, else the caller.
enum ConnectState : LONG
{
    kConnectRunning,
    kConnectFinished,
    kConnectAbandoned,
};

// Shared by the caller and its worker; the last of the two to let go frees it.
// A worker that could not be started leaves its job behind (only when the
// process cannot make threads at all).
struct WorkerJob
{
    virtual ~WorkerJob() {}
    LONG refs = 2;
};

void Release(WorkerJob* job)
{
    if (InterlockedDecrement(&job->refs) == 0)
        delete job;
}

struct ConnectJob : WorkerJob
{
    LONG state = kConnectRunning;
    int result = 0;
    SOCKET handle = INVALID_SOCKET;
    sockaddr_in address = {};
};

struct LookupJob : WorkerJob
{
    std::string host;
};

DWORD WINAPI LookupWorker(void* argument)
{
    LookupJob* job = static_cast<LookupJob*>(argument);
    DWORD address = 0;
    hostent* entry = gethostbyname(job->host.c_str());
    if (entry && entry->h_addrtype == AF_INET && entry->h_addr_list[0])
        memcpy(&address, entry->h_addr_list[0], sizeof(address));
    Release(job);
    return address;
}

int ConnectError(int error)
{
    if (error == WSAETIMEDOUT)
        return kErrTimeout;
    if (error == WSAECONNREFUSED)
        return kNetErrConnectionRefused;
    return kNetFailed;
}

DWORD WINAPI ConnectWorker(void* argument)
{
    ConnectJob* job = static_cast<ConnectJob*>(argument);
    int result = 0;
    if (connect(job->handle, reinterpret_cast<sockaddr*>(&job->address),
                sizeof(job->address)) == SOCKET_ERROR)
        result = ConnectError(WSAGetLastError());
    job->result = result;
    LONG was = InterlockedCompareExchange(&job->state, kConnectFinished, kConnectRunning);
    if (result != 0 || was == kConnectAbandoned)
        closesocket(job->handle);
    Release(job);
    return DWORD(result);
}

// Connects handle on a worker; on failure the socket is closed (or will be).
int ConnectWithTimeout(SOCKET handle, const sockaddr_in& address, int timeout)
{
    ConnectJob* job = new ConnectJob;
    job->handle = handle;
    job->address = address;
    DWORD exitCode = 0;
    int result = RunWithTimeout(ConnectWorker, job, &exitCode, timeout);
    if (result == 0)
        result = int(exitCode);
    else if (InterlockedCompareExchange(&job->state, kConnectAbandoned, kConnectRunning) !=
             kConnectRunning)
        result = job->result;   // it finished just as the wait gave up
    Release(job);
    return result;
}

// "a.b.c.d": four numbers separated by single characters.
bool ParseDottedAddress(const char* host, in_addr* address)
{
    int part[4];
    char separator[3];
    if (sscanf(host, "%d%c%d%c%d%c%d", &part[0], &separator[0], &part[1], &separator[1],
               &part[2], &separator[2], &part[3]) != 7)
        return false;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(&address->s_addr);
    for (int i = 0; i < 4; ++i) {
        if (part[i] < 0 || part[i] > kMaxAddressByte)
            return false;
        bytes[i] = static_cast<unsigned char>(part[i]);
    }
    return true;
}

NetSocket* NewSocket(int kind, int type)
{
    NetSocket* sock = new NetSocket;
    sock->kind = kind;
    sock->handle = socket(AF_INET, type, 0);
    if (sock->handle == INVALID_SOCKET) {
        delete sock;
        return nullptr;
    }
    return sock;
}

int OpenBound(NetSocket** out, int kind, int port, unsigned char* address)
{
    *out = nullptr;
    NetSocket* sock = NewSocket(kind, kind == kSocketStream ? SOCK_STREAM : SOCK_DGRAM);
    if (!sock)
        return kNetErrSocketFailed;
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<u_short>(port));
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    int result = 0;
    if (bind(sock->handle, reinterpret_cast<sockaddr*>(&local), sizeof(local)) == SOCKET_ERROR)
        result = kNetErrBindFailed;
    else if (kind == kSocketStream && listen(sock->handle, kListenBacklog) == SOCKET_ERROR)
        result = kNetErrListenFailed;
    else
        result = NetSocketGetLocalAddress(sock, nullptr, address);
    if (result != 0) {
        NetSocketClose(sock);
        return result;
    }
    *out = sock;
    return 0;
}

// Waits up to timeout ms until handle is readable: 1, 0 on time-out, or
// SOCKET_ERROR.
int WaitReadable(SOCKET handle, int timeout)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(handle, &readable);
    timeval limit;
    limit.tv_sec = timeout / 1000;
    limit.tv_usec = (timeout % 1000) * 1000;
    return select(0, &readable, nullptr, nullptr, timeout < 0 ? nullptr : &limit);
}

int SendSome(NetSocket* sock, const char* bytes, int length)
{
    if (sock->kind == kSocketStream)
        return send(sock->handle, bytes, length, 0);
    return sendto(sock->handle, bytes, length, 0, reinterpret_cast<sockaddr*>(&sock->peer),
                  sizeof(sock->peer));
}

// IPv4 address and port (in network order) of host: 0, kNetErrHostUnknown or a
// RunWithTimeout failure.
int ResolveNetAddress(sockaddr_in* address, const char* host, int port, int timeout)
{
    memset(address, 0, sizeof(*address));
    address->sin_family = AF_INET;
    address->sin_port = htons(static_cast<u_short>(port));
    if (!host || !*host)
        return kNetErrHostUnknown;
    if (host[0] >= '0' && host[0] <= '8')
        return ParseDottedAddress(host, &address->sin_addr) ? 0 : kNetErrHostUnknown;

    LookupJob* job = new LookupJob;
    job->host = host;
    DWORD found = 0;
    int result = RunWithTimeout(LookupWorker, job, &found, timeout);
    Release(job);
    if (result != 0)
        return result;
    if (found == 0)
        return kNetErrHostUnknown;
    address->sin_addr.s_addr = found;
    return 0;
}

} // namespace

int NetStartup()
{
    WSADATA data;
    return WSAStartup(MAKEWORD(1, 1), &data) == 0 ? 0 : kNetFailed;
}

int NetSocketConnect(NetSocket** out, const char* host, int port, int timeout)
{
    *out = nullptr;
    sockaddr_in address;
    int result = ResolveNetAddress(&address, host, port, timeout);
    if (result != 0)
        return result;
    NetSocket* sock = NewSocket(kSocketStream, SOCK_STREAM);
    if (!sock)
        return kNetErrSocketFailed;
    result = ConnectWithTimeout(sock->handle, address, timeout);
    if (result != 0) {
        delete sock;   // the worker closes the handle
        return result;
    }
    *out = sock;
    return 0;
}

int NetSocketOpenDatagramSender(NetSocket** out, const char* host, int port, int timeout)
{
    *out = nullptr;
    sockaddr_in peer;
    int result = ResolveNetAddress(&peer, host, port, timeout);
    if (result != 0)
        return result;
    NetSocket* sock = NewSocket(kSocketDatagram, SOCK_DGRAM);
    if (!sock)
        return kNetErrSocketFailed;
    sock->peer = peer;
    *out = sock;
    return 0;
}

int NetSocketBindDatagram(NetSocket** out, int port, unsigned char* address)
{
    return OpenBound(out, kSocketDatagram, port, address);
}

int NetSocketListen(NetSocket** out, int port, unsigned char* address)
{
    return OpenBound(out, kSocketStream, port, address);
}

int NetSocketAccept(NetSocket** out, NetSocket* listener, int* port, unsigned char* address,
                    int timeout)
{
    *out = nullptr;
    if (!listener)
        return kErrInternal;
    int ready = WaitReadable(listener->handle, timeout);
    if (ready == SOCKET_ERROR) {
        DebugOutputF("error %d\n", WSAGetLastError());
        return kNetErrSelectFailed;
    }
    if (ready == 0)
        return kErrTimeout;
    SOCKET handle = accept(listener->handle, nullptr, nullptr);
    if (handle == INVALID_SOCKET)
        return kNetErrAcceptFailed;
    NetSocket* sock = new NetSocket;
    sock->handle = handle;
    NetSocketGetLocalAddress(sock, port, address);
    *out = sock;
    return 0;
}

int NetSocketSend(NetSocket* sock, const void* bytes, int length)
{
    if (!sock || (sock->kind != kSocketStream && sock->kind != kSocketDatagram))
        return kErrInternal;
    const char* next = static_cast<const char*>(bytes);
    while (length > 0) {
        int sent = SendSome(sock, next, length);
        if (sent == SOCKET_ERROR)
            return kNetFailed;
        next += sent;
        length -= sent;
    }
    return 0;
}

int NetSocketSendText(NetSocket* sock, const char* text)
{
    return NetSocketSend(sock, text, int(strlen(text)));
}

int NetSocketReceive(NetSocket* sock, void* buffer, int length, int timeout)
{
    if (!sock || (sock->kind != kSocketStream && sock->kind != kSocketDatagram))
        return kErrInternal;
    int ready = WaitReadable(sock->handle, timeout);
    if (ready == SOCKET_ERROR)
        return kNetErrSelectFailed;
    if (ready == 0)
        return kErrTimeout;
    char* bytes = static_cast<char*>(buffer);
    int got = sock->kind == kSocketStream ? recv(sock->handle, bytes, length, 0)
                                          : recvfrom(sock->handle, bytes, length, 0, nullptr, nullptr);
    if (got == SOCKET_ERROR)
        return kNetErrReadFailed;
    if (got == 0)
        return kNetErrSocketClosed;
    return got;
}

int NetSocketReadLine(NetSocket* sock, char* buffer, int size, int timeout)
{
    if (size < 1)
        return kErrInvalidParameters;
    CNetDeadline deadline(timeout);
    int length = 0;
    for (;;) {
        char c;
        int got = NetSocketReceive(sock, &c, 1, deadline.Left());
        if (got < 0) {
            buffer[length] = '\0';
            return got;
        }
        if (c == '\r')
            continue;
        if (c == '\n')
            break;
        buffer[length++] = c;
        if (length == size) {
            buffer[size - 1] = '\0';
            return size;
        }
    }
    buffer[length] = '\0';
    return length;
}

int NetSocketGetLocalAddress(NetSocket* sock, int* port, unsigned char* address)
{
    if (!sock)
        return kNetFailed;
    sockaddr_in local = {};
    int length = sizeof(local);
    if (getsockname(sock->handle, reinterpret_cast<sockaddr*>(&local), &length) == SOCKET_ERROR)
        return kNetFailed;
    sock->localPort = ntohs(local.sin_port);
    memcpy(sock->localAddress, &local.sin_addr.s_addr, sizeof(sock->localAddress));
    if (port)
        *port = sock->localPort;
    if (address)
        memcpy(address, sock->localAddress, sizeof(sock->localAddress));
    return 0;
}

int NetSocketSetUser(NetSocket* sock, void* user)
{
    if (!sock)
        return kNetFailed;
    sock->user = user;
    return 0;
}

void* NetSocketGetUser(const NetSocket* sock)
{
    return sock ? sock->user : nullptr;
}

int NetSocketGetHandle(const NetSocket* sock, uintptr_t* handle)
{
    if (!sock)
        return kNetFailed;
    *handle = sock->handle;
    return 0;
}

void NetSocketClose(NetSocket* sock)
{
    if (!sock)
        return;
    if (sock->handle != INVALID_SOCKET)
        closesocket(sock->handle);
    delete sock;
}
