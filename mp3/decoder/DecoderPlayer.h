// The decoder player: the main loop of a player thread. It owns one decoder object,
// carries out the commands that arrive on the channel in order, decodes while
// playing and tells the client what changed.
#pragma once

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

// Runs until Exit; argument unused.
int RunDecoderPlayer(DecoderChannel* channel, void* argument);
