#include "tests/support/TavlinSimulator.h"
#include "tests/support/Waits.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {

const int kPollMs = 5;
const int kCountMask = 0x1F;
const int kPortCommand = 0x1F;
const int kMaxChunk = 30;
const int kSerialPort = 6;
const int kIllegalCommand = 0xFF;
const int kIRPort = 4;
const int kParallelPort = 5;
const BYTE kMarkBit = 0x80;
const size_t kFlashBytes = 0x20000;   // 64K words

const BYTE kBus = 0x0F;
const BYTE kIR = 0x10;
const BYTE kParallel = 0x20;
const BYTE kSerial = 0x40;
const BYTE kSystem = 0x80;
const BYTE kEveryPort = 0xFF;

// Argument bytes of each port command the unit knows.
struct CommandShape
{
    BYTE ports;
    BYTE code;
    BYTE argBytes;
};

const CommandShape kCommands[] = {
    {kEveryPort, 0x02, 0}, {kEveryPort, 0x03, 0},
    {kBus, 0x04, 2},   // bit count, then the last byte
    {kIR, 0x04, 2}, {kIR, 0x05, 0}, {kIR, 0x06, 2}, {kIR, 0x07, 0}, {kIR, 0x08, 1},
    {kIR, 0x09, 1}, {kIR, 0x0A, 16}, {kIR, 0x0B, 1}, {kIR, 0x0C, 2}, {kIR, 0x0D, 0},
    {kIR, 0x0E, 1}, {kIR, 0x0F, 0}, {kIR, 0x10, 0}, {kIR, 0x11, 0}, {kIR, 0x12, 0},
    {kIR, 0x13, 0},
    {kParallel, 0x10, 1}, {kParallel, 0x11, 0}, {kParallel, 0x12, 1}, {kParallel, 0x13, 0},
    {kParallel, 0x14, 0},
    {kSerial, 0x08, 1}, {kSerial, 0x09, 0},
    {kSystem, 0x0B, 0}, {kSystem, 0x0C, 0}, {kSystem, 0x0D, 12}, {kSystem, 0x0E, 0},
    {kSystem, 0x0F, 0}, {kSystem, 0x10, 0}, {kSystem, 0x11, 0}, {kSystem, 0x12, 0},
    {kSystem, 0x13, 0},
    {kSystem, 0xAA, 0},   // the reset sequence's tail
    {kSystem, 0xFF, 0},   // boot-loader request
};

int RateOf(speed_t speed)
{
    const struct { speed_t speed; int rate; } rates[] = {
        {B1200, 1200}, {B2400, 2400}, {B4800, 4800}, {B9600, 9600}, {B19200, 19200},
        {B38400, 38400}, {B57600, 57600}, {B115200, 115200},
    };
    for (const auto& r : rates) {
        if (r.speed == speed)
            return r.rate;
    }
    return 0;
}

} // namespace

CTavlinSimulator::CTavlinSimulator(CPtySerial& pty, int baudRate, double version)
    : m_pty(pty), m_baudRate(baudRate), m_version(version), m_serialNumber("\x01\x23\x45\x67\x89\xAB\xCD\xEF", 8),
      m_flash(kFlashBytes, '\xFF')
{
    const char* slave = ptsname(pty.DeviceFd());
    if (slave)
        m_slave = open(slave, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    m_thread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
}

CTavlinSimulator::~CTavlinSimulator()
{
    m_stop = true;
    if (m_thread) {
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
    }
    if (m_slave >= 0)
        close(m_slave);
}

DWORD WINAPI CTavlinSimulator::ThreadMain(void* self)
{
    static_cast<CTavlinSimulator*>(self)->Run();
    return 0;
}

void CTavlinSimulator::Run()
{
    while (!m_stop) {
        SendDue();
        pollfd p = {m_pty.DeviceFd(), POLLIN, 0};
        if (poll(&p, 1, kPollMs) <= 0 || !(p.revents & POLLIN))
            continue;
        char block[4096];
        ssize_t n = read(m_pty.DeviceFd(), block, sizeof block);
        if (n > 0)
            Take(std::string(block, n));
    }
}

// The rate the program last set on its side of the line.
int CTavlinSimulator::LineRate() const
{
    termios t;
    if (m_slave < 0 || tcgetattr(m_slave, &t) != 0)
        return m_baudRate;
    return RateOf(cfgetospeed(&t));
}

void CTavlinSimulator::Take(const std::string& bytes)
{
    std::lock_guard<std::mutex> hold(m_lock);
    if (LineRate() != m_baudRate) {
        m_garbled += bytes.size();
        m_input.clear();
        return;
    }
    m_received += bytes;
    m_input += bytes;
    m_input.erase(0, Parse(m_input));
}

// Consumes every complete unit; returns the bytes used.
size_t CTavlinSimulator::Parse(const std::string& bytes)
{
    size_t at = 0;
    while (at < bytes.size()) {
        if (m_bootLoader) {
            size_t used = BootLoaderCommand(bytes.substr(at));
            if (!used)
                break;
            at += used;
            continue;
        }
        BYTE header = bytes[at];
        int port = header >> 5;
        int count = header & kCountMask;
        if (count == 0) {
            EndOfMessage(port);
            ++at;
        } else if (count == kPortCommand) {
            size_t used = Command(port, bytes.substr(at));
            if (!used)
                break;
            at += used;
        } else {
            if (bytes.size() - at < size_t(1 + count))
                break;
            std::string data = bytes.substr(at + 1, count);
            if (port == kSerialPort)
                Reply(data);   // the serial port's data goes back to the host unchanged
            else
                Data(port, data);
            at += 1 + count;
        }
    }
    return at;
}

void CTavlinSimulator::Data(int port, const std::string& data)
{
    m_open[port] += data;
}

void CTavlinSimulator::EndOfMessage(int port)
{
    if (m_open[port].empty())
        return;
    TavlinUnitMessage message = {port, m_open[port], m_openBits[port] ? m_openBits[port] : 8};
    m_messages.push_back(message);
    m_open[port].clear();
    m_openBits[port] = 0;
    Loopback(port, message.data, message.bitCount);
    if (port < 4 && m_busDevices[port] && message.bitCount == 8) {
        for (const std::string& answer : m_busDevices[port]->OnBusMessage(message.data))
            Reply(Message(port, answer));
    }
}

void CTavlinSimulator::AttachBusDevice(int port, CTavlinBusDevice* device)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_busDevices[port] = device;
}

// What the fixture's wiring brings back of a message the unit sent.
void CTavlinSimulator::Loopback(int port, const std::string& data, int bitCount)
{
    if (port < 4 && (m_fixture.busPorts & (1 << port))) {
        std::string bytes = Message(port, data);
        if (bitCount != 8)   // a bit message: its count before the end byte
            bytes.insert(bytes.size() - 1, Answer(port, 0x04, Bytes({bitCount})));
        Reply(bytes);
    } else if (port == kIRPort) {
        IRLoopback(data);
    } else if (port == kParallelPort) {
        m_parallelOutput = BYTE(data.back());
        // With both handshake lines in use every write is answered by a read.
        if (m_fixture.parallel && (m_settings.parallelHandshake & 3) == 3)
            Reply(Message(kParallelPort, Bytes({ParallelInput()})));
    }
}

// The first transmitter in use whose receiver listens sees the code, else
// receiver 0 sees a Varlo output; firmware 2.0 and later name the receiver
// after the message.
void CTavlinSimulator::IRLoopback(const std::string& data)
{
    const TavlinUnitSettings& s = m_settings;
    int channels = s.irTransmitPorts & s.irReceivePorts & m_fixture.irChannels;
    if (!channels && (s.irTransmitPorts & m_fixture.varloOutputs) && (s.irReceivePorts & 1))
        channels = 1;
    if (!(s.enabledPorts & (1 << kIRPort)) || !channels || data.empty())
        return;
    int channel = 0;
    while (!(channels & (1 << channel)))
        ++channel;
    std::string bytes = data;
    BYTE lastMark = BYTE(bytes.back()) & kMarkBit;
    if (m_fixture.irDurationChange < 0) {
        while (!bytes.empty() && (BYTE(bytes.back()) & kMarkBit) == lastMark)
            bytes.pop_back();
    } else if (m_fixture.irDurationChange > 0) {
        bytes += char((lastMark ^ kMarkBit) | 10);
    }
    std::string reply = Message(kIRPort, bytes);
    if (m_version >= 2.0)
        reply += Answer(kIRPort, 0x01, Bytes({channel}));
    Reply(reply);
}

// Outputs read back as written; each wired pair carries an output to the input
// beside it.
BYTE CTavlinSimulator::ParallelInput() const
{
    if (!m_fixture.parallel)
        return m_settings.parallelInput;
    const int kPairs[][2] = {{1, 2}, {3, 4}, {5, 6}};
    BYTE direction = m_settings.parallelDirection;
    BYTE outputs = m_parallelOutput & direction;
    BYTE value = outputs;
    for (const auto& pair : kPairs) {
        for (int side = 0; side < 2; ++side) {
            int from = pair[side];
            int to = pair[1 - side];
            if ((outputs & (1 << from)) && !(direction & (1 << to)))
                value |= BYTE(1 << to);
        }
    }
    return value;
}

// The boot loader's plain bytes; returns the bytes used, 0 when incomplete.
size_t CTavlinSimulator::BootLoaderCommand(const std::string& bytes)
{
    const BYTE* b = reinterpret_cast<const BYTE*>(bytes.data());
    size_t n = bytes.size();
    switch (b[0]) {
    case 0xF5:   // are you there
        Reply(Bytes({0x04, 0x01}));
        return 1;
    case 0xF4:
        m_bootLoader = false;
        return 1;
    case 0xF6:   // a code of four bytes
        return n < 5 ? 0 : 5;
    case 0xF0: {
        if (n < 4 || n < 5 + 2 * size_t(b[3]))
            return 0;
        size_t length = 2 * size_t(b[3]);
        std::string data = bytes.substr(4, length);
        if (m_corruptBlocks > 0 && !data.empty()) {
            --m_corruptBlocks;
            data[0] ^= 0x40;
        }
        BYTE sum = 0;
        for (char c : data)
            sum = BYTE(sum + BYTE(c));
        size_t address = 2 * size_t(b[1] << 8 | b[2]);
        // A damaged block is not answered: the host sends it again.
        if (sum != b[4 + length])
            return 5 + length;
        if (address + length > m_flash.size()) {
            Reply(Bytes({0xF2}));
        } else {
            m_flash.replace(address, length, data);
            Reply(Bytes({0x01}));
        }
        return 5 + length;
    }
    case 0xF1: {
        if (n < 4)
            return 0;
        size_t address = 2 * size_t(b[1] << 8 | b[2]);
        size_t length = 2 * size_t(b[3]);
        if (address + length <= m_flash.size())
            Reply(m_flash.substr(address, length));
        return 4;
    }
    default:
        return 1;
    }
}

// bytes starts with a command header; returns the bytes used, 0 when incomplete.
size_t CTavlinSimulator::Command(int port, const std::string& bytes)
{
    if (bytes.size() < 2)
        return 0;
    BYTE code = bytes[1];
    const CommandShape* shape = nullptr;
    for (const CommandShape& c : kCommands) {
        if ((c.ports & (1 << port)) && c.code == code)
            shape = &c;
    }
    if (!shape) {
        Reply(Answer(port, kIllegalCommand));
        return 2;
    }
    if (bytes.size() < size_t(2 + shape->argBytes))
        return 0;
    m_commands.push_back(port << 8 | code);
    const BYTE* a = reinterpret_cast<const BYTE*>(bytes.data()) + 2;
    TavlinUnitSettings& s = m_settings;
    switch (port << 8 | code) {
    case 0 << 8 | 0x04: case 1 << 8 | 0x04: case 2 << 8 | 0x04: case 3 << 8 | 0x04:
        m_open[port] += char(a[1]);
        m_openBits[port] = a[0];
        break;
    case 4 << 8 | 0x04: s.sampleCount = a[0] << 8 | a[1]; break;
    case 4 << 8 | 0x05: Reply(Answer(4, 0x04, Bytes({s.sampleCount >> 8, s.sampleCount & 0xFF}))); break;
    case 4 << 8 | 0x06: s.carrierExponent = a[0]; s.carrierDivider = a[1]; break;
    case 4 << 8 | 0x07: Reply(Answer(4, 0x06, Bytes({s.carrierExponent, s.carrierDivider}))); break;
    case 4 << 8 | 0x08: s.irTransmitPorts = a[0]; break;
    case 4 << 8 | 0x09: s.irReceivePorts = a[0]; break;
    case 4 << 8 | 0x0A: std::copy(a, a + 16, s.routing); break;
    case 4 << 8 | 0x0B: s.irReceivePolarity = a[0]; break;
    case 4 << 8 | 0x0C: s.timeoutCount = a[0] << 8 | a[1]; break;
    case 4 << 8 | 0x0D: Reply(Answer(4, 0x0C, Bytes({s.timeoutCount >> 8, s.timeoutCount & 0xFF}))); break;
    case 4 << 8 | 0x0E: s.minMessageLength = a[0]; break;
    case 4 << 8 | 0x0F: Reply(Answer(4, 0x0E, Bytes({s.minMessageLength}))); break;
    case 4 << 8 | 0x10: Reply(Answer(4, 0x08, Bytes({s.irTransmitPorts}))); break;
    case 4 << 8 | 0x11: Reply(Answer(4, 0x09, Bytes({s.irReceivePorts}))); break;
    case 4 << 8 | 0x12: Reply(Answer(4, 0x0A, std::string(reinterpret_cast<char*>(s.routing), 16))); break;
    case 4 << 8 | 0x13: Reply(Answer(4, 0x0B, Bytes({s.irReceivePolarity}))); break;
    case 5 << 8 | 0x10: s.parallelHandshake = a[0]; break;
    case 5 << 8 | 0x11: Reply(Answer(5, 0x10, Bytes({s.parallelHandshake}))); break;
    case 5 << 8 | 0x12: s.parallelDirection = a[0]; break;
    case 5 << 8 | 0x13: Reply(Answer(5, 0x12, Bytes({s.parallelDirection}))); break;
    case 5 << 8 | 0x14: Reply(Message(5, Bytes({ParallelInput()}))); break;
    case 6 << 8 | 0x08:
        if (a[0] > 4) {
            Reply(Answer(6, 0x84));
        } else {
            // Answered at the old rate; the unit listens at the new one after.
            Reply(Answer(6, 0x08, Bytes({a[0]})));
            m_baudRate = 2400 << a[0];
        }
        break;
    case 6 << 8 | 0x09: {
        int code = 0;
        while ((2400 << code) < m_baudRate && code < 4)
            ++code;
        Reply(Answer(6, 0x08, Bytes({code})));
        break;
    }
    case 7 << 8 | 0x0B: Reply(Answer(7, 0x0B, Bytes({VersionByte()}))); break;
    case 7 << 8 | 0x0C: Reply(Answer(7, 0x0C, m_serialNumber)); break;
    case 7 << 8 | 0x0D: m_serialNumber.assign(reinterpret_cast<const char*>(a) + 4, 8); break;
    case 7 << 8 | 0xFF: m_bootLoader = true; break;
    default:
        if (code == 0x02 || code == 0x03) {
            if (code == 0x03)
                s.enabledPorts |= 1 << port;
            else
                s.enabledPorts &= ~(1 << port);
            Reply(Answer(port, code));
        }
        break;
    }
    return 2 + shape->argBytes;
}

BYTE CTavlinSimulator::VersionByte() const
{
    int major = int(m_version);
    int minor = int((m_version - major) * 10 + 0.5);
    return BYTE(major << 4 | minor);
}

// Called with the lock held.
void CTavlinSimulator::Reply(const std::string& bytes)
{
    if (!m_silent)
        m_pty.Write(bytes);
}

void CTavlinSimulator::SendDue()
{
    std::unique_lock<std::mutex> hold(m_lock);
    if (m_script.empty() || LONG(GetTickCount() - m_nextSend) < 0)
        return;
    Piece piece = m_script.front();
    m_script.pop_front();
    m_sending = true;
    hold.unlock();
    m_pty.Write(piece.bytes);
    hold.lock();
    m_nextSend = GetTickCount() + piece.pauseAfterMs;
    m_sending = false;
}

void CTavlinSimulator::Send(const std::string& bytes, int pauseAfterMs)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_script.push_back({bytes, pauseAfterMs});
}

void CTavlinSimulator::SendInPieces(const std::string& bytes, size_t pieceSize, int pauseMs)
{
    for (size_t at = 0; at < bytes.size(); at += pieceSize)
        Send(bytes.substr(at, pieceSize), pauseMs);
}

bool CTavlinSimulator::WaitUntilSent(int timeoutMs)
{
    return WaitUntil([this] {
        std::lock_guard<std::mutex> hold(m_lock);
        return m_script.empty() && !m_sending;
    }, DWORD(timeoutMs));
}

std::string CTavlinSimulator::Message(int port, const std::string& data)
{
    std::string bytes;
    for (size_t at = 0; at < data.size(); at += kMaxChunk) {
        std::string chunk = data.substr(at, kMaxChunk);
        bytes += char((port << 5) + chunk.size());
        bytes += chunk;
    }
    bytes += char(port << 5);
    return bytes;
}

std::string CTavlinSimulator::Answer(int port, BYTE code, const std::string& args)
{
    return std::string(1, char((port << 5) + kPortCommand)) + char(code) + args;
}

std::string CTavlinSimulator::Bytes(std::initializer_list<int> values)
{
    std::string bytes;
    for (int v : values)
        bytes += char(v);
    return bytes;
}

std::string CTavlinSimulator::IRMessage(const std::vector<double>& durations, double samplePeriod,
                                        int receiver)
{
    const int kMarkBit = 0x80;
    const int kMostPeriods = 0x7F;
    std::string data;
    for (double d : durations) {
        int periods = int((d < 0 ? -d : d) * 1e-6 / samplePeriod + 0.5);
        for (; periods > 0; periods -= kMostPeriods) {
            int n = periods < kMostPeriods ? periods : kMostPeriods;
            data += char(d > 0 ? kMarkBit | n : n);
        }
    }
    std::string bytes = Message(4, data);
    if (receiver >= 0)
        bytes += Answer(4, 0x01, Bytes({receiver}));
    return bytes;
}

void CTavlinSimulator::SetFixture(const TavlinFixture& fixture)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_fixture = fixture;
}

TavlinFixture CTavlinSimulator::FullyWired()
{
    TavlinFixture fixture;
    fixture.busPorts = 0x0F;
    fixture.irChannels = 0xFF;
    fixture.parallel = true;
    return fixture;
}

bool CTavlinSimulator::InBootLoader() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_bootLoader;
}

std::string CTavlinSimulator::Flash(int wordAddress, int length) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_flash.substr(2 * size_t(wordAddress), length);
}

void CTavlinSimulator::CorruptNextBlocks(int n)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_corruptBlocks = n;
}

void CTavlinSimulator::SetVersion(double version)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_version = version;
}

void CTavlinSimulator::SetBaudRate(int rate)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_baudRate = rate;
}

int CTavlinSimulator::GetBaudRate() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_baudRate;
}

void CTavlinSimulator::SetSerialNumber(const std::string& eightBytes)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_serialNumber = eightBytes;
}

std::string CTavlinSimulator::SerialNumber() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_serialNumber;
}

void CTavlinSimulator::SetSilent(bool silent)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_silent = silent;
}

TavlinUnitSettings CTavlinSimulator::Settings() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_settings;
}

void CTavlinSimulator::SetSettings(const TavlinUnitSettings& settings)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_settings = settings;
}

std::string CTavlinSimulator::Received() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_received;
}

void CTavlinSimulator::ClearReceived()
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_received.clear();
    m_messages.clear();
}

bool CTavlinSimulator::WaitForReceived(const std::string& part, int timeoutMs) const
{
    return WaitUntil([&] { return Received().find(part) != std::string::npos; }, DWORD(timeoutMs));
}

std::vector<TavlinUnitMessage> CTavlinSimulator::Messages() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_messages;
}

std::vector<int> CTavlinSimulator::Commands() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_commands;
}

void CTavlinSimulator::ClearCommands()
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_commands.clear();
}

size_t CTavlinSimulator::Garbled() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_garbled;
}
