#include "mp3/decoder/NetFtp.h"

#include "mp3/decoder/NetDeadline.h"
#include "mp3/decoder/NetErrors.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

namespace {

const int kFtpConnectTimeout = 10000;
const int kFtpAcceptTimeout = 10000;
// A whole reply, continuation lines included, must come within this.
const int kFtpReplyTimeout = 5000;
const int kFtpLineSize = 256;
const size_t kReplyCodeLength = 3;
const int kPortByte = 256;

// Hung on the data connection as its user pointer.
struct FtpTransfer
{
    NetSocket* control = nullptr;
    NetSocket* listener = nullptr;
    NetSocket* data = nullptr;
};

// Log-in and set-up steps; each is taken on the reply to the one before.
enum FtpState
{
    kFtpGreeting,
    kFtpUserSent,
    kFtpPassSent,
    kFtpTypeSent,
    kFtpPortSent,
    kFtpRetrSent,
    kFtpReceiving,
};

struct FtpReply
{
    std::string code;   // three characters
    std::string text;   // every line, each ended by a line feed
};

int ReadReply(NetSocket* control, FtpReply* reply)
{
    CNetDeadline deadline(kFtpReplyTimeout);
    char line[kFtpLineSize];
    int got = NetSocketReadLine(control, line, sizeof(line), deadline.Left());
    if (got < 0)
        return got;
    if (strlen(line) < kReplyCodeLength)
        return kNetErrInvalidFtpReply;
    reply->code.assign(line, kReplyCodeLength);
    reply->text = std::string(line) + "\n";
    bool more = line[kReplyCodeLength] == '-';
    while (more) {
        got = NetSocketReadLine(control, line, sizeof(line), deadline.Left());
        if (got < 0)
            return got;
        reply->text += std::string(line) + "\n";
        more = strncmp(line, reply->code.c_str(), kReplyCodeLength) != 0 ||
               line[kReplyCodeLength] == '-';
    }
    return 0;
}

// The servers announce the size as "(%d bytes)": the last "(" followed by a
// number gives it.
void ReadAnnouncedLength(const std::string& text, unsigned int* length)
{
    for (size_t open = text.find('('); open != std::string::npos;
         open = text.find('(', open + 1)) {
        const char* digits = text.c_str() + open + 1;
        if (*digits >= '0' && *digits <= '9')
            *length = static_cast<unsigned int>(strtoul(digits, nullptr, 10));
    }
}

int SendLine(FtpTransfer* transfer, const std::string& line)
{
    return NetSocketSendText(transfer->control, (line + "\r\n").c_str());
}

int SendPort(FtpTransfer* transfer, const NetNotify* notify)
{
    unsigned char address[4];
    int port = 0;
    int result = NetSocketListen(&transfer->listener, 0, nullptr);
    if (result == 0)
        result = NetSocketGetLocalAddress(transfer->listener, &port, nullptr);
    if (result == 0)
        result = NetSocketGetLocalAddress(transfer->control, nullptr, address);
    if (result != 0)
        return result;
    char line[64];
    snprintf(line, sizeof(line), "PORT %d,%d,%d,%d,%d,%d", address[0], address[1], address[2],
             address[3], port / kPortByte, port % kPortByte);
    NetNotifyReport(notify, kNotifyProtocol, "sending PORT", std::to_string(port).c_str());
    return SendLine(transfer, line);
}

int AcceptData(FtpTransfer* transfer, const NetNotify* notify)
{
    NetNotifyReport(notify, kNotifyProgress, "accepting data socket", "");
    int result = NetSocketAccept(&transfer->data, transfer->listener, nullptr, nullptr,
                                 kFtpAcceptTimeout);
    if (result == 0)
        NetNotifyReport(notify, kNotifyProgress, "got connection on data socket", "");
    else
        NetNotifyReport(notify, kNotifyProgress, "cannot accept data socket", GetDecoderErrorText(result));
    NetSocketClose(transfer->listener);
    transfer->listener = nullptr;
    return result;
}

// Takes the step that the reply allows in state; gives the next state or a
// failure code.
int Step(FtpTransfer* transfer, int state, const FtpReply& reply, const NetUrl* url,
         unsigned int* length, const NetNotify* notify)
{
    char kind = reply.code[0];
    if (kind != '1' && kind != '2' && kind != '3') {
        NetNotifyReport(notify, kNotifyProtocol, "errror code returned", reply.code.c_str());
        return kNetErrFtpErrorReply;
    }
    int result = kNetErrFtp;
    if (kind == '2' && state == kFtpGreeting) {
        NetNotifyReport(notify, kNotifyProgress, "logging in as", url->user.c_str());
        result = SendLine(transfer, "USER " + url->user);
    } else if (kind == '3' && state == kFtpUserSent) {
        NetNotifyReport(notify, kNotifyProtocol, "sending PASS", url->password.c_str());
        result = SendLine(transfer, "PASS " + url->password);
    } else if (kind == '2' && state == kFtpPassSent) {
        result = SendLine(transfer, "TYPE I");
    } else if (kind == '2' && state == kFtpTypeSent) {
        result = SendPort(transfer, notify);
    } else if (kind == '2' && state == kFtpPortSent) {
        NetNotifyReport(notify, kNotifyProtocol, "sending RETR", url->path.c_str());
        result = SendLine(transfer, "RETR " + url->path);
    } else if (kind == '1' && state == kFtpRetrSent) {
        ReadAnnouncedLength(reply.text, length);
        result = AcceptData(transfer, notify);
    }
    return result == 0 ? state + 1 : result;
}

int RunExchange(FtpTransfer* transfer, const NetUrl* url, unsigned int* length,
                const NetNotify* notify)
{
    int state = kFtpGreeting;
    while (state != kFtpReceiving) {
        FtpReply reply;
        int result = ReadReply(transfer->control, &reply);
        if (result != 0)
            return result;
        state = Step(transfer, state, reply, url, length, notify);
        if (state < 0)
            return state;
    }
    return 0;
}

void CloseTransfer(FtpTransfer* transfer)
{
    NetSocketClose(transfer->data);
    NetSocketClose(transfer->listener);
    NetSocketClose(transfer->control);
    delete transfer;
}

} // namespace

int FtpOpen(NetSocket** sock, const NetUrl* url, unsigned int* length, const NetNotify* notify)
{
    *sock = nullptr;
    FtpTransfer* transfer = new FtpTransfer;
    std::string status = NetStatusText(url->host, url->port);
    NetNotifyReport(notify, kNotifyStatus, "connecting", status.c_str());
    int result = NetSocketConnect(&transfer->control, url->host.c_str(), url->port,
                                  kFtpConnectTimeout);
    if (result != 0) {
        NetNotifyReport(notify, kNotifyStatus, "connection failed", GetDecoderErrorText(result));
        delete transfer;
        return result;
    }
    NetNotifyReport(notify, kNotifyStatus, "connected", status.c_str());
    *length = 0;

    result = RunExchange(transfer, url, length, notify);
    if (result != 0) {
        CloseTransfer(transfer);
        return result;
    }
    NetNotifyReport(notify, kNotifyStatus, "connected and receiving", "");
    NetSocketSetUser(transfer->data, transfer);
    *sock = transfer->data;
    return 0;
}

void FtpClose(NetSocket* sock)
{
    FtpTransfer* transfer = static_cast<FtpTransfer*>(NetSocketGetUser(sock));
    if (!transfer) {
        NetSocketClose(sock);
        return;
    }
    CloseTransfer(transfer);
}
