// The CM11a driver against a simulated interface on a pty-backed COM port:
// command words as frames with the checksum handshake, uploads as event texts,
// the clock answer after a power failure, and bad lines.
#include "tests/support/TestFramework.h"

#include "devices/x10/CM11aPort.h"
#include "tests/support/CM11aSimulator.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/PtySerial.h"

#include <time.h>

#include <functional>

namespace {

const int kStepMs = 10;
const int kWaitMs = 3000;

time_t g_now;

time_t TestClock()
{
    return g_now;
}

std::string Hex(const std::string& text)
{
    std::string bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        bytes += char(std::stoi(text.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string ToHex(const std::string& bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (char c : bytes) {
        text += kDigits[BYTE(c) >> 4];
        text += kDigits[BYTE(c) & 15];
    }
    return text;
}

class CM11aPortTest : public ::testing::Test
{
protected:
    CM11aPortTest() : m_sim(m_pty), m_port(m_pty.Port())
    {
        g_now = 1000000;
        m_port.SetClock(TestClock);
        m_port.GetError().m_messageBox = FALSE;
    }

    // Plays the monitoring thread until done says so or the wait runs out;
    // returns the event texts.
    CString Monitor(const std::function<bool(const CString&)>& done, int timeoutMs = kWaitMs)
    {
        CString out;
        DWORD start = GetTickCount();
        while (!done(out) && GetTickCount() - start < DWORD(timeoutMs))
            m_port.ReadEvents(out, kStepMs);
        return out;
    }

    // Runs until the interface has received these bytes and the queue is empty.
    bool Transmits(const std::string& bytes)
    {
        Monitor([&](const CString&) {
            return m_sim.Received() == bytes && m_port.GetQueueHead().IsEmpty();
        });
        return m_sim.Received() == bytes;
    }

    CString UploadText(const std::string& buffer)
    {
        m_sim.Upload(buffer);
        CString out = Monitor([&](const CString& text) {
            return !text.IsEmpty() || m_port.GetErrorText() != "No Error";
        }, 1000);
        // Anything more would come within a few steps.
        CString rest = Monitor([](const CString&) { return false; }, 100);
        return out + rest;
    }

    CPtySerial m_pty;
    CCM11aSimulator m_sim;
    CCM11aPort m_port;
};

struct CommandCase
{
    const char* command;
    const char* frames;   // hex, frame after frame, each followed by the confirming 00
};

TEST_F(CM11aPortTest, CommandWordsGoOutAsConfirmedFrames)
{
    const CommandCase cases[] = {
        {"on[a1]", "0466 00 0662 00"},
        {"off[A1]", "0466 00 0663 00"},
        {"dim[b2 b3,10]", "04EE 00 04E2 00 56E4 00"},
        {"bright[c5|c6,3]", "0421 00 0429 00 1E25 00"},
        {"all_units_off[d]", "06A0 00"},
        {"all_lights_on[e1]", "0416 00 0611 00"},
        {"all_lights_off[f]", "0696 00"},
        {"ext_code[a1,5,3]", "0466 00 07670503 00"},
        {"hail_req[g]", "0658 00"},
        {"hail_ack[g]", "0659 00"},
        {"ps_dim1[h2&h4,7]", "04DE 00 04DA 00 06DA 00"},
        {"ps_dim2[h2]", "04DE 00 06DB 00"},
        {"status_on[i16]", "047C 00 067D 00"},
        {"status_off[i16]", "047C 00 067E 00"},
        {"status_req[j9]", "04F7 00 06FF 00"},
        {"addr[k1 k2]", "0436 00 043E 00"},
        {"on[a17]", "0662 00"},
        {"onoff[a1]", "0466 00 0663 00"},
        {"raw[04 66]", "0466 00"},
        {"ext_data[a1,1,2]", ""},
        {"on", ""},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.command);
        std::string expected;
        for (const char* p = c.frames; *p; ++p)
            if (*p != ' ')
                expected += *p;
        m_port.SendCommand(c.command);
        EXPECT_TRUE(Transmits(m_sim.Received() + Hex(expected)));
        EXPECT_EQ(m_port.GetErrorText(), "No Error");
    }
}

TEST_F(CM11aPortTest, WrongChecksumSendsTheFrameAgain)
{
    m_sim.SetWrongChecksums(2);
    m_port.SendCommand("on[a1]");
    EXPECT_TRUE(Transmits(Hex("0466" "0466" "0466" "00" "0662" "00")));
}

TEST_F(CM11aPortTest, FrameIsDroppedAfterSixSends)
{
    m_sim.SetWrongChecksums(6);
    m_port.SendCommand("on[a1]");
    EXPECT_TRUE(Transmits(Hex("046604660466046604660466" "0662" "00")));
}

TEST_F(CM11aPortTest, UnansweredFrameIsDroppedAfterFiveSeconds)
{
    m_sim.SetSilent(true);
    m_port.SendCommand("on[a1]");
    Monitor([&](const CString&) { return m_sim.Received() == Hex("0466"); });
    // Still waiting for the checksum: nothing else goes out.
    Monitor([](const CString&) { return false; }, 100);
    EXPECT_EQ(m_sim.Received(), Hex("0466"));
    m_sim.SetSilent(false);
    g_now += 6;
    EXPECT_TRUE(Transmits(Hex("0466" "0662" "00")));
}

TEST_F(CM11aPortTest, AddressErrorsQueueNothing)
{
    const struct
    {
        const char* command;
        const char* error;
    } cases[] = {
        {"on[a1 b2]", "Multiple housecodes not allowed in an address."},
        {"dim[a1|c1,4]", "Multiple housecodes not allowed in an address."},
        {"on[12]", "Command contains no housecode."},
        {"off[]", "Command contains no housecode."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        m_port.SendCommand(c.command);
        EXPECT_EQ(m_port.GetErrorText(), c.error);
        EXPECT_TRUE(m_port.GetQueueHead().IsEmpty());
    }
}

TEST_F(CM11aPortTest, StatusReplyBecomesTextAndVersion)
{
    m_sim.SetStatus(Hex("0102030405060708090A0B0C0D0E"));
    m_port.SendCommand("status[]");
    CString out = Monitor([](const CString& text) { return !text.IsEmpty(); });
    EXPECT_EQ(out, " status[0102030405060708090A0B0C0D0E]");
    EXPECT_EQ(m_sim.Received(), Hex("8B"));
    EXPECT_EQ(m_port.GetVersion(), 8);
}

struct UploadCase
{
    const char* buffer;   // length, mask, data
    const char* text;
};

TEST_F(CM11aPortTest, UploadsBecomeEventTexts)
{
    const UploadCase cases[] = {
        {"03026662", " on[a1]"},
        {"03026663", " off[a1]"},
        {"0404666E62", " on[a1 a2]"},
        {"0402666420", " dim[a1,32]"},
        {"04026665FF", " bright[a1,255]"},
        {"050266670503", " ext_code[a1,5,3]"},
        {"0502666C0102", " ext_data[a1,1,2]"},
        {"0402666A07", " ps_dim1[a1,7]"},
        {"0402666B1F", " ps_dim2[a1,31]"},
        {"020160", " all_units_off[a]"},
        {"0201E1", " all_lights_on[b]"},
        {"020166", " all_lights_off[a]"},
        {"03026668", " hail_req[a1]"},
        {"03026669", " hail_ack[a1]"},
        {"0404666E6D", " status_on[a2]"},
        {"0404666E6E", " status_off[a2]"},
        {"0302666F", " status_req[a1]"},
        // A function of another house forgets the units.
        {"030266E2", " on[b]"},
        // An address after a function starts a new unit list.
        {"050A66626663", " on[a1] off[a1]"},
        {"050A6662EEE2", " on[a1] on[b2]"},
    };
    for (const UploadCase& c : cases) {
        SCOPED_TRACE(c.buffer);
        EXPECT_EQ(UploadText(Hex(c.buffer)), c.text);
        EXPECT_EQ(m_port.GetErrorText(), "No Error");
    }
}

TEST_F(CM11aPortTest, UploadsLackingDataBytesAreReported)
{
    const UploadCase cases[] = {
        {"03026664", " dim"},
        {"03026665", " bright"},
        {"0402666701", " ext_code"},
        {"0302666C", " ext_data"},
        {"0302666A", " ps_dim1"},
        {"0302666B", " ps_dim2"},
    };
    for (const UploadCase& c : cases) {
        SCOPED_TRACE(c.buffer);
        m_port.GetError().m_text = "No Error";
        EXPECT_EQ(UploadText(Hex(c.buffer)), "");
        EXPECT_EQ(m_port.GetErrorText(),
                  CString("CM11a upload cut short:") + c.text + " lacks its data bytes");
    }
}

TEST_F(CM11aPortTest, CutUploadIsReportedAndTheLineGoesOn)
{
    m_sim.Upload(Hex("0502"));
    CString out = Monitor([](const CString&) { return false; }, 300);
    EXPECT_EQ(out, "");
    EXPECT_EQ(m_port.GetErrorText(), "CM11a upload cut short: 1 of 5 bytes came");
    m_port.SendCommand("on[a1]");
    EXPECT_TRUE(Transmits(m_sim.Received() + Hex("0466" "00" "0662" "00")));
}

TEST_F(CM11aPortTest, PowerFailRequestIsAnsweredWithTheClock)
{
    tm local = {};
    local.tm_year = 2026 - 1900;
    local.tm_mon = 1;
    local.tm_mday = 3;
    local.tm_hour = 13;
    local.tm_min = 25;
    local.tm_sec = 42;
    local.tm_isdst = -1;
    g_now = mktime(&local);
    m_port.SendCommand("on[a1]");
    m_sim.RequestClock();
    // Clock first: the header, the six bytes with their checksum, then the command.
    EXPECT_TRUE(Transmits(Hex("9B" "2A" "55" "06" "22" "00" "60" "00" "0466" "00" "0662" "00")))
        << ToHex(m_sim.Received());
    EXPECT_EQ(ToHex(m_sim.Clock()), "2A5506220060");
}

TEST_F(CM11aPortTest, NoiseNeitherHangsNorBreaksTheLine)
{
    std::string noise;
    for (int i = 0; i < 600; ++i)
        noise += char((i * 37 + 11) & 0xFF);
    m_sim.Send(noise);
    Monitor([](const CString&) { return false; }, 500);
    m_sim.Send(Hex("55"));
    Monitor([](const CString&) { return false; }, 100);
    // Whatever the noise started times out; then commands go out as usual.
    g_now += 10;
    m_port.SendCommand("on[a1]");
    std::string tail = Hex("0466" "00" "0662" "00");
    Monitor([&](const CString&) {
        std::string received = m_sim.Received();
        return received.size() >= tail.size() &&
               received.compare(received.size() - tail.size(), tail.size(), tail) == 0;
    });
    std::string received = m_sim.Received();
    EXPECT_EQ(ToHex(received.substr(received.size() - tail.size())), ToHex(tail));
}

TEST(CM11aPortOpenTest, MissingPortIsReportedAndCommandsDoNoHarm)
{
    const int kMissingPort = 99;
    // A new port reports in message-box mode: the failure shows as one box.
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    CCM11aPort port(kMissingPort);
    EXPECT_TRUE(port.IsOpenFailed());
    EXPECT_EQ(port.GetError().m_reported, 1);
    ASSERT_EQ(boxes.Shown().size(), size_t(1));
    EXPECT_NE(port.GetErrorText(), "No Error");
    port.GetError().m_messageBox = FALSE;
    port.SendCommand("on[a1]");
    CString out;
    port.ReadEvents(out, kStepMs);
    EXPECT_EQ(out, "");
}

} // namespace
