#include "mp3/decoder/tests/support/MemoryStream.h"

#include <algorithm>
#include <string.h>

#include "mp3/decoder/DecoderErrors.h"

int MemoryStream::Read(unsigned char* buffer, int size)
{
    auto pending = std::find(timeouts.begin(), timeouts.end(), position);
    if (pending != timeouts.end()) {
        timeouts.erase(pending);
        return kErrTimeout;
    }
    size_t left = bytes.size() - position;
    if (left == 0)
        return 0;
    size_t n = std::min(left, (size_t)size);
    if (chunk > 0)
        n = std::min(n, (size_t)chunk);
    // A time-out due inside this read cuts it short there.
    for (size_t at : timeouts)
        if (at > position && at < position + n)
            n = at - position;
    memcpy(buffer, bytes.data() + position, n);
    position += n;
    return (int)n;
}
