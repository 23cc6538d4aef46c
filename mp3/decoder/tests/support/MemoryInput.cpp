#include "mp3/decoder/tests/support/MemoryInput.h"

#include <algorithm>
#include <string.h>

#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/DecoderInput.h"

int ReadInput(Decoder* decoder, unsigned char* buffer, int size)
{
    auto pending = std::find(decoder->timeouts.begin(), decoder->timeouts.end(), decoder->position);
    if (pending != decoder->timeouts.end()) {
        decoder->timeouts.erase(pending);
        return kErrTimeout;
    }
    size_t left = decoder->bytes.size() - decoder->position;
    if (left == 0)
        return kErrInputEnd;
    size_t n = std::min(left, (size_t)size);
    if (decoder->chunk > 0)
        n = std::min(n, (size_t)decoder->chunk);
    // A time-out due inside this read cuts it short there.
    for (size_t at : decoder->timeouts)
        if (at > decoder->position && at < decoder->position + n)
            n = at - decoder->position;
    memcpy(buffer, decoder->bytes.data() + decoder->position, n);
    decoder->position += n;
    return (int)n;
}
