// Shared by the decoder object's tests: conformance streams, files and a client that
// drives a player through its channel and records the notifications.
#pragma once

#include <windows.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <stdio.h>
#include <string>
#include <vector>

#include "tests/support/TestData.h"
#include "mp3/decoder/Decoder.h"
#include "mp3/decoder/DecoderChannel.h"
#include "mp3/decoder/DecoderErrors.h"

// A conformance stream of the shared test data; empty where it is missing.
inline std::string TestStreamPath(const std::string& name)
{
    std::string folder = TestDataFolder("mpeg");
    std::string path = folder + "/" + name;
    struct stat st;
    return !folder.empty() && stat(path.c_str(), &st) == 0 ? path : std::string();
}

// Leaves the test where the conformance streams are missing: a skip, or a failure
// under CI.
#define ZYM_NEED_STREAMS() ZYM_NEED_TEST_DATA(TestDataFolder("mpeg"), "mpeg")

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    if (FILE* f = fopen(path.c_str(), "wb")) {
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
}

// Decodes the decoder's open input to its end, as 16-bit PCM bytes; *end gets the
// code that ended the stream.
inline std::string DecodeOpenInput(Decoder* decoder, int* end)
{
    std::string pcm;
    int code = 0;
    while (code == 0 || code == kErrInvalidFrame || code == kErrTimeout) {
        code = DecodeFrame(decoder, nullptr);
        if (code == 0)
            pcm.append((const char*)decoder->pcm, decoder->pcmBytes);
    }
    *end = code;
    return pcm;
}

// Selects, opens and decodes a whole input. module -1 chooses by name.
inline std::string DecodeAll(Decoder* decoder, const std::string& name, int module = -1, int* end = nullptr)
{
    int code = SelectInput(decoder, name.c_str(), module);
    if (code == 0)
        code = OpenInput(decoder);
    std::string pcm;
    if (code == 0)
        pcm = DecodeOpenInput(decoder, &code);
    if (end)
        *end = code;
    return pcm;
}

// The same with a decoder of its own.
inline std::string DecodeWithDecoder(const std::string& name, int module = -1, int* end = nullptr)
{
    Decoder* decoder = nullptr;
    if (CreateDecoder(&decoder) != 0)
        return std::string();
    RegisterBuiltinInputModules(decoder);
    std::string pcm = DecodeAll(decoder, name, module, end);
    DestroyDecoder(decoder);
    return pcm;
}

// A notification as the client read it, with its texts copied.
struct Note {
    int code;
    int values[kMaxMessageFields];
    std::string texts[kMaxMessageFields];
};

// Drives a player from the test's thread; notifications arrive as thread messages.
class CPlayerClient
{
public:
    CPlayerClient() { m_created = CreateDecoderPlayer(&m_channel, nullptr); }
    ~CPlayerClient()
    {
        if (m_channel)
            DeleteDecoderPlayer(m_channel);
        // What the player sent last stays in this thread's queue: drop it, so that
        // the next client starts afresh.
        MSG msg;
        char area[kChannelTextArea];
        DecoderMessage unused;
        while (PeekMessageA(&msg, nullptr, kDecoderMessageBase, kDecoderMessageBase + kLastMessageCode, PM_REMOVE))
            DecodeWindowMessage(&unused, msg.message, msg.wParam, msg.lParam, area, sizeof(area));
    }
    CPlayerClient(const CPlayerClient&) = delete;
    CPlayerClient& operator=(const CPlayerClient&) = delete;

    int Created() const { return m_created; }
    DecoderChannel* Channel() const { return m_channel; }

    // Waits up to timeoutMs for the next notification; code 0 on time-out.
    Note Next(int timeoutMs = 10000)
    {
        Note note = {};
        DecoderMessage m;
        if (WaitDecoderMessage(m_channel, &m, timeoutMs * 1000) != 0)
            return note;
        note.code = m.code;
        for (int i = 0; i < kMaxMessageFields; i++) {
            note.values[i] = m.fields[i].value;
            if (m.fields[i].text)
                note.texts[i] = m.fields[i].text;
        }
        m_seen.push_back(note);
        return note;
    }

    // Reads until a notification with that code (and first value, unless -1000)
    // arrives; false on time-out.
    bool WaitFor(int code, int value = kAnyValue, Note* found = nullptr, int timeoutMs = 20000)
    {
        DWORD start = GetTickCount();
        while ((int)(GetTickCount() - start) < timeoutMs) {
            Note note = Next(timeoutMs);
            if (note.code == 0)
                return false;
            if (note.code == code && (value == kAnyValue || note.values[0] == value)) {
                if (found)
                    *found = note;
                return true;
            }
        }
        return false;
    }

    // Sends a command and reads up to its Ack or Nack; returns 0 for Ack, the error
    // code of a Nack, or 1 when neither came.
    template <class... Args>
    int Command(int code, Args... args)
    {
        if (SendDecoderCommand(m_channel, code, args...) != 0)
            return 1;
        DWORD start = GetTickCount();
        while (GetTickCount() - start < 20000) {
            Note note = Next();
            if (note.code == 0)
                return 1;
            if (note.code == kMsgAck && note.values[0] == code)
                return 0;
            if (note.code == kMsgNack && note.values[0] == code)
                return note.values[1];
        }
        return 1;
    }

    std::vector<Note>& Seen() { return m_seen; }
    std::vector<Note> SeenCodes(int code) const
    {
        std::vector<Note> notes;
        for (const Note& n : m_seen)
            if (n.code == code)
                notes.push_back(n);
        return notes;
    }

    static const int kAnyValue = -1000;

private:
    DecoderChannel* m_channel = nullptr;
    int m_created = 0;
    std::vector<Note> m_seen;
};
