// The playing time of the MPEG audio between a file's tags: from the first frame's
// Xing or VBRI tag, else by walking the frames, past damage.
#pragma once

#include <stddef.h>

struct StreamSearch {
    size_t syncWindow;  // bytes from the audio's start where the first frame may start; 0 all
    unsigned coverage;  // percentage of the audio the walked frames must cover
};

// data[start, end) is the audio. Returns an ANALYZER_ code and sets *milliseconds
// on success.
int MeasureStream(const unsigned char* data, size_t start, size_t end, const StreamSearch& search,
                  unsigned* milliseconds);
