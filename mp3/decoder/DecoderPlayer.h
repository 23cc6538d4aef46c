// The decoder player: the main loop of a player thread. It owns one decoder object,
// carries out the commands that arrive on the channel in order, decodes while
// playing and tells the client what changed.
#pragma once

struct Decoder;
struct DecoderChannel;

// Player states.
const int kPlayerStopped = 0;
const int kPlayerPlaying = 1;
const int kPlayerPaused = 2;
const int kPlayerInputEnd = 3;

// Player mode flags.
const int kModeCloseOnStop = 1;
const int kModeCloseOnPause = 2;
const int kModeCloseAtEnd = 4;

// Makes the player's decoder, as CreateDecoder does: 0 or an error code.
typedef int (*DecoderFactory)(Decoder** decoder);

// Runs until Exit. argument: a DecoderFactory* that makes the decoder, or null for
// CreateDecoder. Returns 0, or the error that ended the player: a decoder that could
// not be made (reported to the client instead of Ready) or a failed receive.
int RunDecoderPlayer(DecoderChannel* channel, void* argument);
