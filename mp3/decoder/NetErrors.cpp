#include "NetErrors.h"

namespace {

struct NetErrorName
{
    int code;
    const char* text;
};

const NetErrorName kNetErrorTexts[] = {
    {kErrOutOfMemory, "out of memory"},
    {kErrInvalidParameters, "invalid parameters"},
    {kErrInternal, "internal error"},
    {kErrTimeout, "timeout"},
    {kNetErrConnectionRefused, "connection refused"},
    {kNetErrAcceptFailed, "accept failed"},
    {kNetErrListenFailed, "listen failed"},
    {kNetErrSocketFailed, "socket failed"},
    {kNetErrSocketClosed, "socket closed"},
    {kNetErrBindFailed, "bind failed"},
    {kNetErrHostUnknown, "host unknown"},
    {kNetErrInvalidHttpReply, "invalid http reply"},
    {kNetErrHttpErrorReply, "http error reply"},
    {kNetErrHttp, "http error"},
    {kNetErrInvalidFtpReply, "invalid ftp reply"},
    {kNetErrFtpErrorReply, "ftp error reply"},
    {kNetErrFtp, "ftp error"},
    {kNetErrSelectFailed, "select failed"},
    {kNetErrUnsupportedScheme, "unsupported url scheme"},
    {kNetErrInvalidUrlSyntax, "invalid url syntax"},
    {kNetErrReadFailed, "read failed"},
};

} // namespace

const char* NetErrorText(int code)
{
    for (const NetErrorName& e : kNetErrorTexts) {
        if (e.code == code)
            return e.text;
    }
    return "unknown error";
}
