// Functional tests of a unit on the test fixture, whose outputs are wired back
// to its inputs: control-bus ports looped, parallel outputs to the neighbouring
// inputs, IR transmitters facing the receivers. Data written to the unit's
// serial port comes back unchanged, so "ser[" makes the unit send frames that
// are parsed like its own messages. The tests read the responses themselves.
#include "devices/port/TavlinSelfTest.h"

#include <math.h>
#include <stdio.h>

#include "devices/port/LowLevelText.h"
#include "platform/crt/Random.h"

namespace {

const int kDrainMs = 10;
const int kAnswerMs = 250;
const int kSerialAnswerMs = 500;
const int kIRAttempts = 10;
const int kIRChannels = 8;
const int kControlBusPorts = 4;
const int kMaxBusBytes = 127;
const int kSerialTestBytes = 10;
const int kBaudRateSteps = 5;
const double kUnanswered = 9.9;   // a version no unit reports
const double kTestSamplePeriod = 0.0001;
const double kSerialSamplePeriod = 0.0002;
const double kTestCarrier = 40000;
// Ports whose traffic would disturb an IR test.
const int kQuietPorts[] = {0, 1, 2, 3, CTavlinPort::kParallelPort};

enum TestKind
{
    kVersionTest,
    kControlBusTest,
    kIRReceiver0Test,
    kParallelTest,
    kSerialTest,
    kIRChannelsTest,
    kIRReceiver1Test,
    kIRCarrierChannelsTest
};

CString RandomHex(int count)
{
    CString hex;
    for (int i = 0; i < count; ++i) {
        char digits[3];
        snprintf(digits, sizeof digits, "%02X", MsRand() & 0xFF);
        hex += digits;
    }
    return hex;
}

// The argument of the first item of a text: what stands between "[" and "]".
CString FirstArgument(const CString& text)
{
    int open = text.Find('[');
    int close = open < 0 ? -1 : text.Find(']', open);
    return close < 0 ? CString() : text.Mid(open + 1, close - open - 1);
}

} // namespace

void CTavlinSelfTest::Drain()
{
    CString ignored;
    while (m_port.ReadResponses(ignored, kDrainMs)) {
    }
}

CString CTavlinSelfTest::ReadTextFor(int ms)
{
    CString text;
    DWORD start = GetTickCount();
    for (DWORD elapsed = 0; elapsed < DWORD(ms); elapsed = GetTickCount() - start)
        m_port.ReadResponses(text, ms - int(elapsed));
    return text;
}

int CTavlinSelfTest::Run(int kind, int rounds)
{
    m_port.SetKeepAlive(FALSE);
    int failure = 0;
    switch (kind) {
    case kVersionTest:
        for (int round = 0; round < rounds && !failure; ++round) {
            Drain();
            m_port.SetVersion(kUnanswered);
            m_port.RequestVersion();
            ReadTextFor(kAnswerMs);
            if (m_port.GetVersion() == kUnanswered)
                failure = 1;
        }
        break;
    case kControlBusTest:
        for (int round = 0; round < rounds && !failure; ++round) {
            for (int d = 0; d < kControlBusPorts; ++d) {
                Drain();
                CString item;
                item.Format("sl%d[%s]", d, static_cast<const char*>(RandomHex(MsRand() % kMaxBusBytes + 1)));
                m_port.ExecuteLowLevel(item);
                if (ReadTextFor(kAnswerMs).Find(item) < 0)
                    failure |= 1 << d;
            }
        }
        break;
    case kParallelTest:
        failure = ParallelTest();
        break;
    case kSerialTest: {
        int startRate = m_port.GetBaudRate();
        m_port.SetSamplePeriod(kSerialSamplePeriod);
        for (int i = 0; i < kBaudRateSteps; ++i) {
            int rate = 2400 << i;
            m_port.SetBaudRate(rate);
            if (m_port.GetBaudRate() != rate)
                failure |= 1 << i;
            for (int round = 0; round < rounds && !failure; ++round) {
                Drain();
                CString hex = RandomHex(kSerialTestBytes);
                // 0x0A leads ten bytes for control-bus port 0, 0x00 ends them.
                CString item;
                item.Format("ser[%02X%s00]", kSerialTestBytes, static_cast<const char*>(hex));
                m_port.ExecuteLowLevel(item);
                if (ReadTextFor(kSerialAnswerMs).Find(hex) < 0)
                    failure |= 1 << i;
            }
        }
        m_port.SetBaudRate(startRate);
        break;
    }
    case kIRReceiver0Test:
    case kIRReceiver1Test:
    case kIRChannelsTest:
    case kIRCarrierChannelsTest:
        failure = IRChannelTest(kind, rounds);
        break;
    }
    m_port.SetKeepAlive(TRUE);
    return failure;
}

// Kinds 2 and 6 test one receiver (failure 1), kinds 5 and 7 each channel with
// its own transmitter and receiver (failure bit per channel).
int CTavlinSelfTest::IRChannelTest(int kind, int rounds)
{
    bool perChannel = kind == kIRChannelsTest || kind == kIRCarrierChannelsTest;
    IRMasks saved = BeginIRTest(kind == kIRChannelsTest ? 0 : kTestCarrier);
    if (!perChannel) {
        int mask = kind == kIRReceiver0Test ? 1 : 2;
        SetIRMasks(mask, mask);
    }
    int firstChannel = kind == kIRChannelsTest ? 1 : 2;
    int failure = 0;
    for (int round = 0; round < rounds && !failure; ++round) {
        if (!perChannel) {
            if (!IRRoundTrip())
                failure = 1;
            continue;
        }
        for (int i = firstChannel; i < kIRChannels; ++i) {
            SetIRMasks(1 << i, 1 << i);
            if (!IRRoundTrip())
                failure |= 1 << i;
        }
    }
    EndIRTest(saved);
    return failure;
}

// The IR port alone, at the test's sample period and the given carrier.
CTavlinSelfTest::IRMasks CTavlinSelfTest::BeginIRTest(double carrier)
{
    m_port.EnablePort(CTavlinPort::kIRPort);
    for (int p : kQuietPorts)
        m_port.DisablePort(p);
    m_port.SetSamplePeriod(kTestSamplePeriod);
    m_port.SetCarrier(carrier);
    return IRMasks{m_port.GetIRReceivePorts(), m_port.GetIRTransmitPorts()};
}

void CTavlinSelfTest::EndIRTest(const IRMasks& saved)
{
    SetIRMasks(saved.receive, saved.transmit);
    for (int p : kQuietPorts)
        m_port.EnablePort(p);
}

// Units before firmware 2.0 have no masks and refuse them.
void CTavlinSelfTest::SetIRMasks(int receive, int transmit)
{
    if (m_port.GetVersion() < CTavlinPort::kIRPortsVersion)
        return;
    m_port.SetIRReceivePorts(receive);
    m_port.SetIRTransmitPorts(transmit);
}

// A random code sent and received, up to kIRAttempts times; true when an attempt
// came back with at least the durations sent, each but the last within two
// sample periods and 400 us of its own.
bool CTavlinSelfTest::IRRoundTrip()
{
    const double kSlackUs = 400;
    for (int attempt = 0; attempt < kIRAttempts; ++attempt) {
        Drain();
        int count = (MsRand() % 100) * 2 + 17;
        std::vector<double> sent;
        CString text = "ir[";
        for (int i = 0; i < count; ++i) {
            double duration = int(MsRand() / 32768.0 * 15) * 200 + 400;
            sent.push_back(i % 2 ? -duration : duration);
            CString number;
            number.Format("%.0lf ", sent.back());
            text += number;
        }
        m_port.ExecuteLowLevel(text + "]");
        CString answer;
        while (answer.IsEmpty() && m_port.ReadResponses(answer, kAnswerMs)) {
        }
        std::vector<double> received = ParseIRTimings(FirstArgument(answer));
        bool pass = received.size() >= sent.size();
        double allowed = 2 * m_port.GetSamplePeriod() * 1000000 + kSlackUs;
        for (size_t i = 0; pass && i + 1 < sent.size(); ++i)
            pass = fabs(trunc(received[i] - sent[i])) <= allowed;
        if (pass)
            return true;
    }
    return false;
}

bool CTavlinSelfTest::TestIRLoopback(int txPort, int rxPort, double carrier)
{
    IRMasks saved = BeginIRTest(carrier);
    SetIRMasks(1 << rxPort, 1 << txPort);
    bool pass = IRRoundTrip();
    EndIRTest(saved);
    return pass;
}

// Every output line is wired to its neighbouring input: with direction 0xAA the
// outputs 1, 3, 5 drive the inputs above them, with 0x55 the outputs 2, 4, 6
// drive the inputs below them.
int CTavlinSelfTest::ParallelTest()
{
    const BYTE kDirections[] = {0xAA, 0x55};
    const BYTE kSingleOutputs[][3] = {{0x02, 0x08, 0x20}, {0x04, 0x10, 0x40}};
    const BYTE kLowSix = 0x3F;
    int failure = 0;
    m_port.SetParallelHandshake(TRUE, TRUE, FALSE);
    for (int d = 0; d < 2; ++d) {
        m_port.SetParallelDirection(kDirections[d]);
        // Single output bits alternating with 0, each answered by exactly one
        // byte; the answer gets the time of any other so that a busy host does
        // not fail a sound unit.
        for (int i = 0; i < 6 && !failure; ++i) {
            BYTE value = i % 2 ? 0 : kSingleOutputs[d][i / 2];
            Drain();
            CString item;
            item.Format("par[%02X]", value);
            m_port.ExecuteLowLevel(item);
            if (HexTextToBytes(FirstArgument(ReadTextFor(kAnswerMs))).size() != 1)
                failure = 1;
        }
    }
    m_port.SetParallelHandshake(FALSE, FALSE, FALSE);
    for (BYTE direction : kDirections) {
        m_port.SetParallelDirection(direction);
        for (int bit = 0; bit < 8 && !failure; ++bit) {
            BYTE value = BYTE(direction & (1 << bit));
            Drain();
            CString item;
            item.Format("par[%02X]", value);
            m_port.ExecuteLowLevel(item);
            m_port.ReadParallel();
            std::vector<BYTE> read = HexTextToBytes(FirstArgument(ReadTextFor(kAnswerMs)));
            BYTE wired = direction == 0xAA ? BYTE(value * 2) : BYTE(value >> 1);
            if (read.size() != 1 || (read[0] & kLowSix) != ((wired | value) & kLowSix))
                failure = 1;
        }
    }
    m_port.DisablePort(CTavlinPort::kParallelPort);
    m_port.SetParallelHandshake(FALSE, FALSE, FALSE);
    m_port.SetParallelDirection(0xFF);
    return failure;
}
