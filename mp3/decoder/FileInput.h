// The built-in input module that reads a stream from a file or, for the name "-",
// from the standard input.
#pragma once

struct Decoder;

// Returns the module's id or an error.
int RegisterFileInputModule(Decoder* decoder);
