// The control channel between a client and a decoder's player thread: commands go
// to the player as thread messages 0x9000 + code, notifications come back to the
// client's window (or thread) the same way. Each of the two threads keeps its own
// block, where the texts of the message it read last live until it reads the next.
#pragma once

#include <windows.h>

#include "mp3/decoder/DecoderMessage.h"

struct DecoderChannel;
typedef int (*DecoderPlayerMain)(DecoderChannel* channel, void* argument);

// Bytes of a thread's text area.
const int kChannelTextArea = 4096;

// Starts the player thread running main(channel, argument) and returns once it is
// ready. client: the window that gets the notifications, or null for this thread.
int CreateDecoderChannel(DecoderChannel** channel, HWND client, DecoderPlayerMain main, void* argument);
// Sends Exit and waits up to 10 s for the player thread to end.
int DeleteDecoderChannel(DecoderChannel* channel);

// Sends a message to the peer of the calling thread (the player, or for the player
// its client). Arguments as DecoderMessageFormat gives them.
int SendDecoderCommand(DecoderChannel* channel, int code, ...);
int SendDecoderCommandV(DecoderChannel* channel, int code, va_list arguments);
int SendDecoderCommand0(DecoderChannel* channel, int code);
int SendDecoderCommandValue(DecoderChannel* channel, int code, INT_PTR value);
int SendDecoderCommand2(DecoderChannel* channel, int code, INT_PTR a, INT_PTR b);
int SendDecoderCommand3(DecoderChannel* channel, int code, INT_PTR a, INT_PTR b, INT_PTR c);
int SendDecoderCommand4(DecoderChannel* channel, int code, INT_PTR a, INT_PTR b, INT_PTR c, INT_PTR d);

int ReadDecoderNotification(DecoderChannel* channel, DecoderMessage* message, UINT number, WPARAM wParam,
                            LPARAM lParam);
// 0 when nothing waits, 1 when a message was taken, else an error.
int PeekDecoderMessage(DecoderChannel* channel, DecoderMessage* message);
// timeout in microseconds, -1 for none: 0, kErrTimeout, or -1 on failure or quit.
int WaitDecoderMessage(DecoderChannel* channel, DecoderMessage* message, int timeout);

int CreateDecoderPlayer(DecoderChannel** channel, HWND client);
int DeleteDecoderPlayer(DecoderChannel* channel);
// Levels 0 idle .. 4 time critical, of the peer thread.
int SetDecoderPlayerPriority(DecoderChannel* channel, int level);
int GetDecoderPlayerPriority(DecoderChannel* channel);
const char* GetDecoderVersion(const char** major, const char** minor, const char** release);
