#include "mp3/decoder/DecoderErrors.h"

namespace {

const int kFamilySize = 100;
const int kFirstFamily = 1;
const int kLastFamily = 8;

// Texts by family and index; a family's list ends with a null.
const char* const kGeneralTexts[] = {"out of memory", "invalid parameters", "internal error",
                                     "timeout", nullptr};
const char* const kNetworkTexts[] = {
    "connect timed out", "connect failed", "connection refused", "accept failed",
    "listen failed", "socket failed", "socket closed", "bind failed", "host unknown",
    "invalid http reply", "http error reply", "http error", "invalid ftp reply",
    "ftp error reply", "ftp error", nullptr};
const char* const kChannelTexts[] = {
    "pipe failed", "fork failed", "select failed", "pipe closed", "pipe read failed",
    "pipe write failed", "invalid message", "circular queue full", "post failed", nullptr};
const char* const kUrlTexts[] = {"unsupported url scheme", "invalid url syntax", nullptr};
const char* const kDeviceTexts[] = {
    "open failed", "close failed", "read failed", "write failed", "permission denied",
    "no such device", "ioctl failed", "plugin module not found", "unsupported input type",
    "unsupported output type", "unsupported format", "device busy", "no such device",
    "no such file", "input end", nullptr};
const char* const kFrameTexts[] = {"invalid frame", nullptr};
const char* const kLibraryTexts[] = {"library not found", "symbol not found", nullptr};
const char* const kEnvironmentTexts[] = {"no such environment variable",
                                         "invalid environment variable type", nullptr};

const char* const* const kFamilies[] = {kGeneralTexts, kNetworkTexts, kChannelTexts, kUrlTexts,
                                        kDeviceTexts,  kFrameTexts,   kLibraryTexts,
                                        kEnvironmentTexts};

} // namespace

const char* GetDecoderErrorText(int code)
{
    if (code >= 0)
        return "";
    int family = -code / kFamilySize;
    int index = -code % kFamilySize;
    if (family < kFirstFamily || family > kLastFamily)
        return "unknown error";
    const char* const* texts = kFamilies[family - kFirstFamily];
    for (int i = 0; texts[i]; i++)
        if (i == index)
            return texts[i];
    return "";
}
