#include "mp3/decoder/DecoderChannel.h"

#include <stdlib.h>
#include <string.h>

#include "mp3/decoder/DecoderErrors.h"
#include "mp3/decoder/DecoderPlayer.h"

struct DecoderChannel {
    DWORD slot;
    HANDLE done;
    HANDLE thread;
};

namespace {

const UINT kQueueProbe = 0x400;
const DWORD kExitWait = 10000;

struct ChannelThreadBlock {
    bool peerIsThread;
    DWORD peerThread;
    HWND peerWindow;
    HANDLE peerHandle; // the player thread, on the client's side
    char area[kChannelTextArea];
};

// Freed by the player thread when it ends. It holds its own handle of the "done"
// event, so that a thread that ends after its client gave up waiting still signals
// a live event.
struct ChannelStartRecord {
    bool clientIsThread;
    DWORD clientThread;
    HWND clientWindow;
    HANDLE init;
    HANDLE done;
    DecoderChannel* channel;
    DecoderPlayerMain main;
    void* argument;
};

const int kPriorities[] = {THREAD_PRIORITY_IDLE, THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
                           THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_TIME_CRITICAL};

void EnsureQueue()
{
    MSG msg;
    PeekMessageA(&msg, nullptr, kQueueProbe, kQueueProbe, PM_NOREMOVE);
}

ChannelThreadBlock* Block(DecoderChannel* channel)
{
    return channel ? (ChannelThreadBlock*)TlsGetValue(channel->slot) : nullptr;
}

DWORD WINAPI PlayerThread(void* parameter)
{
    ChannelStartRecord* start = (ChannelStartRecord*)parameter;
    ChannelThreadBlock* block = (ChannelThreadBlock*)calloc(1, sizeof(ChannelThreadBlock));
    if (block) {
        block->peerIsThread = start->clientIsThread;
        block->peerThread = start->clientThread;
        block->peerWindow = start->clientWindow;
        TlsSetValue(start->channel->slot, block);
    }
    EnsureQueue();
    SetEvent(start->init);
    if (block)
        start->main(start->channel, start->argument);
    HANDLE done = start->done;
    free(start);
    free(block);
    SetEvent(done);
    CloseHandle(done);
    return 0;
}

void FreeParams(UINT number, LPARAM lParam)
{
    DecoderMessage unused;
    char area[1];
    // Decoding into no room frees the heap copies.
    DecodeWindowMessage(&unused, number, 0, lParam, area, sizeof(area));
}

} // namespace

int CreateDecoderChannel(DecoderChannel** result, HWND client, DecoderPlayerMain main, void* argument)
{
    *result = nullptr;
    DecoderChannel* channel = (DecoderChannel*)calloc(1, sizeof(DecoderChannel));
    if (!channel)
        return kErrOutOfMemory;
    EnsureQueue();
    channel->slot = TlsAlloc();
    if (channel->slot == TLS_OUT_OF_INDEXES) {
        free(channel);
        return kErrFailed;
    }
    ChannelThreadBlock* block = (ChannelThreadBlock*)calloc(1, sizeof(ChannelThreadBlock));
    ChannelStartRecord* start = (ChannelStartRecord*)calloc(1, sizeof(ChannelStartRecord));
    // The events have no names: each channel's are its own.
    channel->done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE init = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE process = GetCurrentProcess();
    bool ready = block && start && channel->done && init && TlsSetValue(channel->slot, block) &&
                 DuplicateHandle(process, channel->done, process, &start->done, 0, FALSE, DUPLICATE_SAME_ACCESS);
    if (ready) {
        start->clientIsThread = client == nullptr;
        start->clientThread = GetCurrentThreadId();
        start->clientWindow = client;
        start->init = init;
        start->channel = channel;
        start->main = main;
        start->argument = argument;
        block->peerIsThread = true;
        block->peerHandle = CreateThread(nullptr, 0, PlayerThread, start, 0, &block->peerThread);
        ready = block->peerHandle != nullptr;
    }
    if (!ready) {
        if (start && start->done)
            CloseHandle(start->done);
        free(start);
        free(block);
        if (init)
            CloseHandle(init);
        if (channel->done)
            CloseHandle(channel->done);
        TlsFree(channel->slot);
        free(channel);
        return kErrFailed;
    }
    WaitForSingleObject(init, INFINITE);
    CloseHandle(init);
    SetThreadPriority(block->peerHandle, THREAD_PRIORITY_TIME_CRITICAL);
    channel->thread = block->peerHandle;
    *result = channel;
    return 0;
}

int DeleteDecoderChannel(DecoderChannel* channel)
{
    if (!channel)
        return kErrInvalidParameters;
    SendDecoderCommand0(channel, kMsgExit);
    bool ended = WaitForSingleObject(channel->done, kExitWait) == WAIT_OBJECT_0;
    free(Block(channel));
    TlsSetValue(channel->slot, nullptr);
    CloseHandle(channel->done);
    CloseHandle(channel->thread);
    // A player thread that is still running goes on using the channel and its slot:
    // they are left to it rather than freed under it.
    if (ended) {
        TlsFree(channel->slot);
        free(channel);
    }
    return 0;
}

int SendDecoderCommandV(DecoderChannel* channel, int code, va_list arguments)
{
    ChannelThreadBlock* block = Block(channel);
    if (!block)
        return kErrFailed;
    DecoderMessage message;
    BuildDecoderMessage(&message, code, arguments);
    if (message.code == 0)
        return kErrInvalidMessage;
    WPARAM wParam;
    LPARAM lParam;
    int encoded = EncodeWindowMessage(&message, &wParam, &lParam);
    if (encoded < 0)
        return encoded;
    if (encoded > 0)
        return 0;
    UINT number = kDecoderMessageBase + code;
    BOOL posted = block->peerIsThread ? PostThreadMessageA(block->peerThread, number, wParam, lParam)
                                      : PostMessageA(block->peerWindow, number, wParam, lParam);
    if (!posted) {
        FreeParams(number, lParam);
        return kErrPostFailed;
    }
    return 0;
}

int SendDecoderCommand(DecoderChannel* channel, int code, ...)
{
    va_list arguments;
    va_start(arguments, code);
    int result = SendDecoderCommandV(channel, code, arguments);
    va_end(arguments);
    return result;
}

int SendDecoderCommand0(DecoderChannel* channel, int code) { return SendDecoderCommand(channel, code); }

int SendDecoderCommandValue(DecoderChannel* channel, int code, INT_PTR value)
{
    return SendDecoderCommand(channel, code, value);
}

int SendDecoderCommand2(DecoderChannel* channel, int code, INT_PTR a, INT_PTR b)
{
    return SendDecoderCommand(channel, code, a, b);
}

int SendDecoderCommand3(DecoderChannel* channel, int code, INT_PTR a, INT_PTR b, INT_PTR c)
{
    return SendDecoderCommand(channel, code, a, b, c);
}

int SendDecoderCommand4(DecoderChannel* channel, int code, INT_PTR a, INT_PTR b, INT_PTR c, INT_PTR d)
{
    return SendDecoderCommand(channel, code, a, b, c, d);
}

int ReadDecoderNotification(DecoderChannel* channel, DecoderMessage* message, UINT number, WPARAM wParam,
                            LPARAM lParam)
{
    ChannelThreadBlock* block = Block(channel);
    if (!block)
        return kErrFailed;
    DecodeWindowMessage(message, number, wParam, lParam, block->area, sizeof(block->area));
    return 0;
}

int PeekDecoderMessage(DecoderChannel* channel, DecoderMessage* message)
{
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return 0;
    int code = ReadDecoderNotification(channel, message, msg.message, msg.wParam, msg.lParam);
    return code < 0 ? code : 1;
}

int WaitDecoderMessage(DecoderChannel* channel, DecoderMessage* message, int timeout)
{
    if (timeout != -1) {
        // Messages already seen by an earlier peek count as waiting too.
        DWORD waited = MsgWaitForMultipleObjectsEx(0, nullptr, timeout / 1000, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (waited == WAIT_TIMEOUT)
            return kErrTimeout;
        if (waited == WAIT_FAILED)
            return kErrFailed;
    }
    MSG msg;
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0)
        return kErrFailed;
    return ReadDecoderNotification(channel, message, msg.message, msg.wParam, msg.lParam);
}

int CreateDecoderPlayer(DecoderChannel** channel, HWND client)
{
    return CreateDecoderChannel(channel, client, RunDecoderPlayer, nullptr);
}

int DeleteDecoderPlayer(DecoderChannel* channel) { return DeleteDecoderChannel(channel); }

int SetDecoderPlayerPriority(DecoderChannel* channel, int level)
{
    if (!channel || level < 0 || level > 4)
        return kErrInvalidParameters;
    ChannelThreadBlock* block = Block(channel);
    if (!block)
        return kErrFailed;
    return SetThreadPriority(channel->thread, kPriorities[level]) ? 0 : kErrFailed;
}

int GetDecoderPlayerPriority(DecoderChannel* channel)
{
    if (!channel)
        return kErrInvalidParameters;
    switch (GetThreadPriority(channel->thread)) {
    case THREAD_PRIORITY_IDLE:
    case THREAD_PRIORITY_LOWEST:
        return 0;
    case THREAD_PRIORITY_BELOW_NORMAL:
        return 1;
    case THREAD_PRIORITY_NORMAL:
        return 2;
    case THREAD_PRIORITY_ABOVE_NORMAL:
    case THREAD_PRIORITY_HIGHEST:
        return 3;
    case THREAD_PRIORITY_TIME_CRITICAL:
        return 4;
    }
    return kErrFailed;
}

const char* GetDecoderVersion(const char** major, const char** minor, const char** release)
{
    if (major)
        *major = "1";
    if (minor)
        *minor = "3";
    if (release)
        *release = "1";
    return "1.3.1";
}
