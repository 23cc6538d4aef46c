// The crash link as the reporter reads it: the input is the stream of
// messages from a watched program, read message by message until it fails.
// Only the reading: what the messages ask the reporter to do (wait on
// handles, suspend threads, write a dump file) would act on this process.
#include "fuzz/FuzzTargets.h"

#include "core/crashlink/CrashLinkReader.h"

#include <stdlib.h>
#include <string.h>

int FuzzCrashLink(const uint8_t* data, size_t size)
{
    size_t at = 0;
    CCrashLinkReader reader([&](void* buffer, DWORD count) {
        if (size - at < count)
            return false;
        memcpy(buffer, data + at, count);
        at += count;
        return true;
    });
    CrashLinkMessage message;
    size_t textBytes = 0;
    while (reader.Read(message))
        textBytes += message.path.size() + message.name.size() + message.text.size();
    // The texts come from the input: more of them than it holds is a reader fault.
    if (textBytes > size)
        abort();
    return 0;
}
