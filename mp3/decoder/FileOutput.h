// The built-in output module that writes the decoded samples to a file or, for the
// name "-", to the standard output: raw PCM, or a RIFF WAVE file ("wav:" prefix).
#pragma once

struct Decoder;

// Returns the module's id or an error.
int RegisterFileOutputModule(Decoder* decoder);
