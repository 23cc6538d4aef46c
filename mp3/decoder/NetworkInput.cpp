#include "mp3/decoder/NetworkInput.h"

#include <new>
#include <string.h>
#include <strings.h>

#include <string>
#include <vector>

#include "mp3/decoder/Decoder.h"
#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/ModuleInfo.h"
#include "mp3/decoder/NetErrors.h"
#include "mp3/decoder/NetFtp.h"
#include "mp3/decoder/NetHttp.h"
#include "mp3/decoder/NetRingBuffer.h"
#include "mp3/decoder/NetSocket.h"
#include "mp3/decoder/NetUrl.h"

namespace {

const char* const kSchemes[] = {"http://", "ftp://", "udp://", "tcp://"};
const int kTcpConnectTimeout = 10000;
const int kDefaultProxyPort = 80;
const int kProxyHostSize = 1024;

const ModuleDevice kDevices[] = {
    {"http://*, ftp://*, udp://*", "streaming url", kDevicePattern},
};

struct NetworkSettings {
    int bufferSize;
    int maxPacket;
    int highMark;
    int readTimeout;
    int maxAccu;
    int forceFillZone;
};

struct NetworkInput {
    DecoderModuleRecord* module;
    Decoder* decoder;
    std::string name;
    NetUrl url;
    NetSocket* sock = nullptr;
    bool opened = false;
    NetworkSettings settings;
    std::vector<unsigned char> memory;
    RingBuffer ring;
    int held = 0;
    int threshold = 0;
    int served = 0;
    bool buffering = false;
    unsigned length = 0;
    bool ended = false;
    NetNotify notify;
};

void ReadSettings(NetworkInput* in)
{
    Decoder* d = in->decoder;
    NetworkSettings& s = in->settings;
    s.bufferSize = GetIntegerSetting(d, "INPUT.STREAM.BUFFER-SIZE", 131072);
    s.maxPacket = GetIntegerSetting(d, "INPUT.STREAM.MAX-PACKET-SIZE", 8192);
    s.highMark = GetIntegerSetting(d, "INPUT.STREAM.HIGH-MARK", 16384);
    s.readTimeout = GetIntegerSetting(d, "INPUT.STREAM.READ-TIMEOUT", 100);
    s.maxAccu = GetIntegerSetting(d, "INPUT.STREAM.MAX-ACCU", 2048);
    s.forceFillZone = GetIntegerSetting(d, "INPUT.STREAM.FORCE-FILL-ZONE", 2048);
    // The ring must hold at least one packet besides the spare tail for another,
    // and a high mark of 0 would report progress against nothing.
    if (s.maxPacket < 1)
        s.maxPacket = 8192;
    if (s.bufferSize < 2 * s.maxPacket)
        s.bufferSize = 2 * s.maxPacket;
    if (s.highMark < 1)
        s.highMark = 1;
}

void Event(NetworkInput* in, int code, int value, const char* text)
{
    ReportEvent(in->decoder, in->module->id, code, value, text);
}

void ClientReport(void* context, int, int level, const char* message, const char* detail)
{
    NetworkInput* in = (NetworkInput*)context;
    ReportDebug(in->decoder, in->module->id, level, message, detail);
}

void TopUp(NetworkInput* in, int timeout)
{
    const int maxPacket = in->settings.maxPacket;
    if (in->ended || (int)RingFree(&in->ring) < maxPacket)
        return;
    int want = (int)RingFreeContiguous(&in->ring);
    if (want < maxPacket)
        want = maxPacket;
    int got = NetSocketReceive(in->sock, in->ring.write, want, timeout);
    if (got > 0) {
        // What went past the ring's end into the spare tail belongs at its start.
        long over = (long)(in->ring.write + got - in->ring.end);
        if (over > 0)
            memcpy(in->ring.start, in->ring.end, over);
        RingAdvanceWrite(&in->ring, got);
        in->held += got;
    } else if (got != kErrTimeout) {
        in->ended = true;
        Event(in, kNetEventEnd, 0, "reached end of stream");
    }
}

int Take(NetworkInput* in, unsigned char* buffer, int size)
{
    RingRead(&in->ring, buffer, size);
    in->held -= size;
    return size;
}

int Probe(const char* name)
{
    for (const char* scheme : kSchemes)
        if (name && strncasecmp(name, scheme, strlen(scheme)) == 0)
            return 0;
    return kErrFailed;
}

int Query(DecoderModuleInfo* info, int flags)
{
    return QueryModuleDevices(info, flags, "Network Streaming Module", "Version 1.4", kDevices, 1);
}

int Create(void** instance, const char* name, DecoderModuleRecord* module, Decoder* decoder)
{
    if (!name || !*name) {
        ReportDebug(decoder, module ? module->id : 0, 0, "internal error",
                    "null params or null/empty output name");
        return kErrInvalidParameters;
    }
    NetworkInput* in = new (std::nothrow) NetworkInput;
    if (!in)
        return kErrOutOfMemory;
    in->module = module;
    in->decoder = decoder;
    in->name = name;
    in->notify.context = in;
    in->notify.report = ClientReport;
    ReadSettings(in);
    in->memory.resize(in->settings.bufferSize);
    *instance = in;
    return 0;
}

int Destroy(void* instance)
{
    delete (NetworkInput*)instance;
    return 0;
}

int Connect(NetworkInput* in)
{
    switch (in->url.scheme) {
    case kSchemeHttp: {
        NetProxy proxy;
        char host[kProxyHostSize];
        bool useProxy = GetStringVariable(in->decoder, "NETWORK.HTTP.PROXY.HOSTNAME", host, sizeof(host)) == 0;
        if (useProxy) {
            proxy.host = host;
            proxy.port = (unsigned short)GetIntegerSetting(in->decoder, "NETWORK.HTTP.PROXY.PORT", kDefaultProxyPort);
        }
        return HttpOpen(&in->sock, &in->url, &in->length, -1, -1, useProxy ? &proxy : nullptr, &in->notify);
    }
    case kSchemeFtp:
        return FtpOpen(&in->sock, &in->url, &in->length, &in->notify);
    case kSchemeUdp:
        return NetSocketBindDatagram(&in->sock, in->url.port, nullptr);
    case kSchemeTcp: {
        int code = NetSocketConnect(&in->sock, in->url.host.c_str(), in->url.port, kTcpConnectTimeout);
        if (code == 0)
            code = NetSocketSendText(in->sock, "\r\n");
        if (code != 0) {
            NetSocketClose(in->sock);
            in->sock = nullptr;
        }
        return code;
    }
    }
    return kErrFailed;
}

int Open(void* instance)
{
    NetworkInput* in = (NetworkInput*)instance;
    RingInit(&in->ring, in->memory.data(), in->settings.bufferSize - in->settings.maxPacket);
    in->sock = nullptr;
    in->length = 0;
    in->ended = false;
    in->held = 0;
    in->served = 0;
    in->threshold = in->settings.highMark;
    in->buffering = true;
    int code = ParseNetUrl(&in->url, in->name.c_str());
    if (code)
        return code;
    Event(in, kNetEventConnecting, 0, "connecting");
    in->opened = false;
    code = Connect(in);
    if (code == 0) {
        Event(in, kNetEventConnected, 0, "connected");
        in->opened = true;
    }
    return code;
}

int Close(void* instance)
{
    NetworkInput* in = (NetworkInput*)instance;
    if (!in)
        return 0;
    if (!in->sock)
        return kErrInternal;
    int scheme = in->url.scheme;
    FreeNetUrl(&in->url);
    in->opened = false;
    NetSocket* sock = in->sock;
    in->sock = nullptr;
    switch (scheme) {
    case kSchemeHttp:
        HttpClose(sock);
        return 0;
    case kSchemeFtp:
        FtpClose(sock);
        return 0;
    case kSchemeUdp:
    case kSchemeTcp:
        NetSocketClose(sock);
        return 0;
    }
    return kErrFailed;
}

int Read(void* instance, unsigned char* buffer, int size)
{
    NetworkInput* in = (NetworkInput*)instance;
    const NetworkSettings& s = in->settings;
    if (in->held >= in->threshold && in->held >= size) {
        if (in->buffering) {
            in->buffering = false;
            in->threshold = 0;
            Event(in, kNetEventRefilled, 0, "buffer refilled");
        }
        Take(in, buffer, size);
        if (in->served <= s.maxAccu && in->held >= s.forceFillZone) {
            in->served += size;
            return size;
        }
        TopUp(in, 0);
        in->served = 0;
        return size;
    }
    if (!in->buffering) {
        in->buffering = true;
        in->threshold = s.highMark;
        Event(in, kNetEventUnderflow, 0, "buffer underflow");
    }
    if (!in->ended) {
        TopUp(in, s.readTimeout);
        // Fewer bytes than asked are never served while the stream goes on.
        if (in->held < in->threshold || in->held < size) {
            Event(in, kNetEventProgress, (int)((long long)in->held * 100 / s.highMark), nullptr);
            return kErrTimeout;
        }
    }
    if (in->ended && size > in->held)
        return kErrInputEnd;
    return Take(in, buffer, size);
}

int Seek(void*, unsigned) { return 0; }

int Capabilities(void*) { return 0; }

unsigned Size(void* instance) { return ((NetworkInput*)instance)->length; }

} // namespace

int RegisterNetworkInputModule(Decoder* decoder)
{
    InputModuleDescriptor d = {Probe, Query, Create, Destroy, Open, Close, Read, Seek, Capabilities, Size, nullptr};
    int id = AddInputModule(decoder, &d);
    if (id < 0)
        return id;
    int code = NetStartup();
    return code < 0 ? code : id;
}
