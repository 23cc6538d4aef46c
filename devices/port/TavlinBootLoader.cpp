// The unit's boot loader: entered with two system command headers, it then
// talks in plain bytes (no frames) until told to leave.
#include "devices/port/TavlinBootLoader.h"

namespace {

const BYTE kBootLoaderRequest[] = {0xFF, 0xFF};
const BYTE kAreYouThere = 0xF5;
const BYTE kBootLoaderReady = 0x04;
const BYTE kLeave = 0xF4;
const BYTE kWriteBlock = 0xF0;
const BYTE kReadBlock = 0xF1;
const BYTE kBlockWritten = 0x01;
const BYTE kFirstFailure = 0xF0;   // answers from here on are refusals
// Asks the loader to accept the code that follows.
const BYTE kBootLoaderCode[] = {0xF6, 0x5A, 0xA5, 0x3C, 0xC3};
const int kEnterPauseMs = 500;
const int kEnterWaitMs = 2000;
const int kReadyWaitMs = 200;
const int kBlockAnswerMs = 1000;
const int kBlockAttempts = 3;
const int kMaxBlockWords = 255;

} // namespace

BOOL CTavlinBootLoader::SendRequest()
{
    return m_port.Write(kBootLoaderRequest, sizeof kBootLoaderRequest);
}

BOOL CTavlinBootLoader::Enter()
{
    SendRequest();
    Sleep(kEnterPauseMs);
    return WaitUntilReady(kEnterWaitMs);
}

BOOL CTavlinBootLoader::WaitUntilReady(int timeout)
{
    m_port.DrainInput();
    for (int left = timeout; left > 0; left -= kReadyWaitMs) {
        m_port.WriteUnlocked(&kAreYouThere, 1);
        BYTE answer[2];
        if (m_port.ReadExact(answer, sizeof answer, kReadyWaitMs) && answer[0] == kBootLoaderReady) {
            m_port.DrainInput();
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CTavlinBootLoader::Exit()
{
    m_port.WriteUnlocked(&kLeave, 1);
    return TRUE;
}

// The word count goes out as one byte.
bool CTavlinBootLoader::BlockFits(int length)
{
    if (length >= 0 && length / 2 <= kMaxBlockWords)
        return TRUE;
    return m_port.GetError().Fail("%d is to long of a flash block (%d is the longest)", length, kMaxBlockWords * 2);
}

// length bytes (length / 2 words) and their 8-bit sum; a block the loader did
// not take whole is sent again.
BOOL CTavlinBootLoader::WriteFlashBlock(int address, int length, const BYTE* data)
{
    if (!BlockFits(length))
        return FALSE;
    std::vector<BYTE> bytes = {kWriteBlock, BYTE(address >> 8), BYTE(address), BYTE(length / 2)};
    BYTE sum = 0;
    for (int i = 0; i < length; ++i) {
        bytes.push_back(data[i]);
        sum = BYTE(sum + data[i]);
    }
    bytes.push_back(sum);
    for (int attempt = 0; attempt < kBlockAttempts; ++attempt) {
        m_port.WriteUnlocked(bytes.data(), int(bytes.size()));
        BYTE answer;
        if (!m_port.ReadExact(&answer, 1, kBlockAnswerMs))
            continue;
        if (answer == kBlockWritten)
            return TRUE;
        if (answer >= kFirstFailure)
            return FALSE;
    }
    return FALSE;
}

BOOL CTavlinBootLoader::ReadFlashBlock(int address, int length, BYTE* out)
{
    if (!BlockFits(length))
        return FALSE;
    const BYTE request[] = {kReadBlock, BYTE(address >> 8), BYTE(address), BYTE(length / 2)};
    for (int attempt = 0; attempt < kBlockAttempts; ++attempt) {
        m_port.WriteUnlocked(request, sizeof request);
        if (m_port.ReadExact(out, length, kBlockAnswerMs))
            return TRUE;
    }
    return FALSE;
}

BOOL CTavlinBootLoader::SendCode()
{
    return m_port.Write(kBootLoaderCode, sizeof kBootLoaderCode);
}
