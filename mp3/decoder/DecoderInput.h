// The engine's one way to the bytes of a stream: the decoder object's input.
#pragma once

struct Decoder;

// Delivers up to size bytes of the stream into buffer. Returns the number of bytes
// delivered (1 to size), or a negative code: kErrInputEnd at the end of the input,
// kErrTimeout when a stream input has nothing yet (the engine calls again later and
// goes on where it stopped), or the input's own error code. A short count is not an
// error: the engine asks again for the rest.
int ReadInput(Decoder* decoder, unsigned char* buffer, int size);
