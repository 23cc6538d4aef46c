#include "tests/support/KeltoSimulator.h"

#include "tests/support/Waits.h"

#include <poll.h>
#include <unistd.h>

namespace {

const int kPollMs = 5;
// A frame that is followed by this much silence is complete.
const int kQuietPolls = 3;
const char kFrameStart[] = "\xFF\x00\x40";
const size_t kFrameStartBytes = 3;
const BYTE kEscape = 0xFF;
const BYTE kEscapedFF = 0x01;
const BYTE kPing = 37;
const BYTE kInfo = 35;
const BYTE kReset = 128;
const BYTE kBootEnquiry = 0xF5;
const BYTE kBootReady = 0x04;
const BYTE kBootExit = 0xF4;
const BYTE kBootWriteBlock = 0xF0;
const BYTE kBootReadBlock = 0xF1;
const BYTE kBlockWritten = 1;
const BYTE kBlockRefused = 0;
const size_t kBlockHeader = 4;
const size_t kFlashBytes = 0x20000;   // 64K words

std::string Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
        bytes += char(v);
    return bytes;
}

} // namespace

CKeltoSimulator::CKeltoSimulator(CPtySerial& pty, BYTE versionByte)
    : m_pty(pty), m_versionByte(versionByte), m_flash(kFlashBytes, '\xFF')
{
    Start();
}

CKeltoSimulator::~CKeltoSimulator()
{
    Stop();
}

// What came is taken once the line has been quiet for a few polls.
void CKeltoSimulator::Step()
{
    pollfd p = {m_pty.DeviceFd(), POLLIN, 0};
    if (poll(&p, 1, kPollMs) > 0 && (p.revents & POLLIN)) {
        char block[4096];
        ssize_t n = read(m_pty.DeviceFd(), block, sizeof block);
        if (n > 0)
            m_pending.append(block, n);
        m_quiet = 0;
        TakeWholeBootCommand();
        return;
    }
    if (m_pending.empty()) {
        std::lock_guard<std::mutex> hold(m_lock);
        ++m_quietPasses;
        return;
    }
    if (++m_quiet < kQuietPolls)
        return;
    std::lock_guard<std::mutex> hold(m_lock);
    if (m_bootLoader) {
        TakeBootCommand(m_pending);
        m_pending.clear();
    } else {
        m_pending.erase(0, TakeFrames(m_pending));
    }
}

// A boot command whose length is known is taken as soon as it is whole: a
// firmware upgrade is a thousand blocks, each waiting for its answer.
void CKeltoSimulator::TakeWholeBootCommand()
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (!m_bootLoader || m_pending.empty())
        return;
    BYTE command = m_pending[0];
    size_t whole = 0;
    if (command == kBootEnquiry || command == kBootExit)
        whole = 1;
    else if (command == kBootReadBlock)
        whole = kBlockHeader;
    else if (command == kBootWriteBlock && m_pending.size() >= kBlockHeader)
        whole = kBlockHeader + BYTE(m_pending[3]) * 2 + 1;
    if (whole == 0 || m_pending.size() != whole)
        return;
    TakeBootCommand(m_pending);
    m_pending.clear();
}

void CKeltoSimulator::Reply(const std::string& bytes)
{
    if (!m_silent)
        m_pty.Write(bytes);
}

// Returns how many bytes were taken: a reset ends the taking, as what follows
// it (the boot enquiry, on a slow reader) is for the boot loader.
size_t CKeltoSimulator::TakeFrames(const std::string& bytes)
{
    std::string payload;
    bool inFrame = false;
    size_t i = 0;
    while (i < bytes.size()) {
        if (bytes.compare(i, kFrameStartBytes, kFrameStart, kFrameStartBytes) == 0) {
            if (inFrame)
                Answer(payload);
            payload.clear();
            inFrame = true;
            i += kFrameStartBytes;
        } else if (!inFrame) {
            m_unframed += bytes[i++];
        } else if (BYTE(bytes[i]) == kEscape && i + 1 < bytes.size() &&
                   BYTE(bytes[i + 1]) == kEscapedFF) {
            payload += char(kEscape);
            i += 2;
        } else {
            payload += bytes[i++];
            if (payload.size() == 1 && BYTE(payload[0]) == kReset) {
                Answer(payload);
                return i;
            }
        }
    }
    if (inFrame)
        Answer(payload);
    return bytes.size();
}

void CKeltoSimulator::Answer(const std::string& payload)
{
    m_frames.push_back(payload);
    if (payload.empty())
        return;
    BYTE opcode = payload[0];
    auto scripted = m_answers.find(opcode);
    if (scripted != m_answers.end())
        Reply(scripted->second);
    else if (opcode == kPing)
        Reply(payload.size() >= 3 ? payload.substr(0, 3) : Bytes({kPing, 0, 0}));
    else if (opcode == kInfo)
        Reply(Bytes({kInfo, m_versionByte, 0, 0}));
    else if (opcode == kReset)
        m_bootLoader = true;
}

void CKeltoSimulator::TakeBootCommand(const std::string& bytes)
{
    BYTE command = bytes[0];
    if (command == kBootEnquiry) {
        Reply(Bytes({kBootReady, 0}));
    } else if (command == kBootExit) {
        m_bootLoader = false;
    } else if ((command == kBootWriteBlock || command == kBootReadBlock) &&
               bytes.size() >= kBlockHeader) {
        // Addresses and lengths count 16-bit words.
        size_t address = (BYTE(bytes[1]) * 256 + BYTE(bytes[2])) * 2;
        size_t length = BYTE(bytes[3]) * 2;
        if (address + length > kFlashBytes) {
            Reply(std::string(1, char(kBlockRefused)));
        } else if (command == kBootReadBlock) {
            Reply(m_flash.substr(address, length));
        } else if (bytes.size() == kBlockHeader + length + 1) {
            int sum = 0;
            for (size_t i = 0; i < length; ++i)
                sum += BYTE(bytes[kBlockHeader + i]);
            bool right = BYTE(sum) == BYTE(bytes[kBlockHeader + length]);
            if (right)
                m_flash.replace(address, length, bytes, kBlockHeader, length);
            Reply(std::string(1, char(right ? kBlockWritten : kBlockRefused)));
        }
    }
}

void CKeltoSimulator::SetAnswer(BYTE opcode, const std::string& bytes)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_answers[opcode] = bytes;
}

void CKeltoSimulator::SetSilent(bool silent)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_silent = silent;
}

void CKeltoSimulator::Send(const std::string& bytes)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_pty.Write(bytes);
}

std::vector<std::string> CKeltoSimulator::Frames() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_frames;
}

std::string CKeltoSimulator::Unframed() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_unframed;
}

void CKeltoSimulator::Clear()
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_frames.clear();
    m_unframed.clear();
}

bool CKeltoSimulator::WaitForFrames(size_t n, int timeoutMs) const
{
    return WaitUntil([&] { return Frames().size() >= n; }, DWORD(timeoutMs));
}

bool CKeltoSimulator::WaitUntilQuiet(int timeoutMs) const
{
    // The first pass counted after the call may have looked at the line before
    // the last bytes came: the second is the one to go by.
    const unsigned passesNeeded = 2;
    const unsigned start = QuietPasses();
    return WaitUntil([&] { return QuietPasses() - start >= passesNeeded; }, DWORD(timeoutMs));
}

unsigned CKeltoSimulator::QuietPasses() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_quietPasses;
}

bool CKeltoSimulator::InBootLoader() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_bootLoader;
}

std::string CKeltoSimulator::Flash(int wordAddress, int length) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_flash.substr(size_t(wordAddress) * 2, length);
}
