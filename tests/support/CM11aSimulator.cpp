#include "tests/support/CM11aSimulator.h"
#include "tests/support/Waits.h"

#include <poll.h>
#include <unistd.h>

namespace {

const int kPollMs = 5;
const BYTE kExtendedHeader = 0x07;
const BYTE kHeaderBit = 0x04;
const BYTE kChecksumRight = 0x00;
const BYTE kPoll = 0x5A;
const BYTE kPollAnswer = 0xC3;
const BYTE kClockRequest = 0xA5;
const BYTE kClockHeader = 0x9B;
const BYTE kReady = 0x55;
const BYTE kStatusRequest = 0x8B;
const size_t kStandardBytes = 2;
const size_t kExtendedBytes = 4;
const size_t kClockBytes = 6;

} // namespace

CCM11aSimulator::CCM11aSimulator(CPtySerial& pty)
    : m_pty(pty), m_status(14, '\0')
{
    Start();
}

CCM11aSimulator::~CCM11aSimulator()
{
    Stop();
}

void CCM11aSimulator::Step()
{
    pollfd p = {m_pty.DeviceFd(), POLLIN, 0};
    if (poll(&p, 1, kPollMs) <= 0 || !(p.revents & POLLIN))
        return;
    char block[256];
    ssize_t n = read(m_pty.DeviceFd(), block, sizeof block);
    std::lock_guard<std::mutex> hold(m_lock);
    for (ssize_t i = 0; i < n; ++i)
        Take(BYTE(block[i]));
}

void CCM11aSimulator::Reply(const std::string& bytes)
{
    if (!m_silent)
        m_pty.Write(bytes);
}

void CCM11aSimulator::Take(BYTE byte)
{
    m_received += char(byte);
    if (m_frameLength) {
        m_frame += char(byte);
        if (m_frame.size() == m_frameLength)
            FrameDone();
        return;
    }
    if (byte == kChecksumRight) {
        Reply(std::string(1, char(kReady)));
    } else if (byte == kPollAnswer) {
        Reply(m_upload);
        m_upload.clear();
    } else if (byte == kStatusRequest) {
        Reply(m_status);
    } else if (byte == kClockHeader) {
        m_clockFrame = true;
        m_frameLength = kClockBytes;
    } else if (byte & kHeaderBit) {
        m_frame = char(byte);
        m_frameLength = (byte & 0x07) == kExtendedHeader ? kExtendedBytes : kStandardBytes;
    }
}

void CCM11aSimulator::FrameDone()
{
    if (m_clockFrame)
        m_clock = m_frame;
    int sum = 0;
    for (char c : m_frame)
        sum += BYTE(c);
    if (m_wrongChecksums > 0) {
        --m_wrongChecksums;
        ++sum;
    }
    Reply(std::string(1, char(sum & 0xFF)));
    m_frame.clear();
    m_frameLength = 0;
    m_clockFrame = false;
}

void CCM11aSimulator::SetWrongChecksums(int n)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_wrongChecksums = n;
}

void CCM11aSimulator::SetSilent(bool silent)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_silent = silent;
}

void CCM11aSimulator::SetStatus(const std::string& reply)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_status = reply;
}

void CCM11aSimulator::Upload(const std::string& buffer)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_upload = buffer;
    m_pty.Write(std::string(1, char(kPoll)));
}

void CCM11aSimulator::RequestClock()
{
    Send(std::string(1, char(kClockRequest)));
}

void CCM11aSimulator::Send(const std::string& bytes)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_pty.Write(bytes);
}

std::string CCM11aSimulator::Received() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_received;
}

bool CCM11aSimulator::WaitForReceived(const std::string& bytes, int timeoutMs) const
{
    return WaitUntil([&] { return Received().find(bytes) != std::string::npos; }, DWORD(timeoutMs));
}

std::string CCM11aSimulator::Clock() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_clock;
}
