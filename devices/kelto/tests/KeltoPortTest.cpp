// The Kelto driver against a simulated switch on a pty-backed COM port: command
// words as frames, responses as texts, the flush that waits for its echo,
// locating, the boot loader, and bad lines.
#include "tests/support/TestFramework.h"

#include "devices/kelto/KeltoPort.h"
#include "tests/support/KeltoSimulator.h"
#include "tests/support/PtySerial.h"

#include <mutex>
#include <string>
#include <vector>

namespace {

const int kStepMs = 10;
const int kWaitMs = 3000;

std::string Hex(const std::string& text)
{
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ')
            continue;
        bytes += char(std::stoi(text.substr(i, 2), nullptr, 16));
        ++i;
    }
    return bytes;
}

class KeltoPortTest : public ::testing::Test
{
protected:
    KeltoPortTest() : m_sim(m_pty), m_port(m_pty.Port())
    {
        m_port.GetError().m_messageBox = FALSE;
    }

    ~KeltoPortTest() override { StopMonitor(); }

    // Reads responses for a while, as the monitoring thread would.
    CString Responses(int ms)
    {
        CString out;
        DWORD start = GetTickCount();
        while (GetTickCount() - start < DWORD(ms))
            m_port.ReadResponses(out, kStepMs);
        return out;
    }

    void StartMonitor()
    {
        m_thread = CreateThread(nullptr, 0, MonitorMain, this, 0, nullptr);
    }

    void StopMonitor()
    {
        if (!m_thread)
            return;
        m_stop = true;
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }

    static DWORD WINAPI MonitorMain(void* self)
    {
        KeltoPortTest* test = static_cast<KeltoPortTest*>(self);
        while (!test->m_stop) {
            CString out;
            test->m_port.ReadResponses(out, kStepMs);
        }
        return 0;
    }

    CPtySerial m_pty;
    CKeltoSimulator m_sim;
    CKeltoPort m_port;
    HANDLE m_thread = nullptr;
    volatile bool m_stop = false;
};

TEST_F(KeltoPortTest, CommandWordsGoOutAsFrames)
{
    const struct
    {
        const char* command;
        std::vector<std::string> payloads;   // hex
    } cases[] = {
        {"set_port[0102]", {"00 01 02"}},
        {"set_idnum[FF]", {"15 FF"}},
        {"get_port[03]", {"01 03"}},
        {"get_allports", {"02"}},
        {"set_allports[01020304]", {"2A 01 02 03 04"}},
        {"get_statusquick", {"2B"}},
        {"get_statusall", {"03"}},
        {"get_status[1]", {"04 10"}},
        {"get_chstatusall", {"06"}},
        {"get_chstatus[02]", {"05 02"}},
        {"set_lcdbright[80]", {"07 80"}},
        {"set_alloutvisible[ff]", {"21 FF"}},
        {"get_versionstring", {"24"}},
        {"ping", {"25"}},
        {"save_defaults", {"29"}},
        {"save", {"28"}},
        {"csreset", {"58"}},
        {"recall[01] monitor[01]", {"27 01", "17 01"}},
        {"GET_IDNUM", {"16"}},
        {"no_such_word get_serialno", {"26"}},
        // Last: its byte stays among the unframed ones.
        {"raw[ff]", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        m_sim.Clear();
        m_port.SendCommand(c.command);
        ASSERT_TRUE(m_sim.WaitForFrames(c.payloads.size(), kWaitMs));
        Sleep(50);
        std::vector<std::string> expected;
        for (const std::string& payload : c.payloads)
            expected.push_back(Hex(payload));
        EXPECT_EQ(m_sim.Frames(), expected);
    }
    EXPECT_EQ(m_sim.Unframed(), Hex("FF"));
}

TEST_F(KeltoPortTest, PayloadFFIsEscapedOnTheWire)
{
    CPtySerial pty;
    CKeltoPort port(pty.Port());
    BYTE payload[] = {0x15, 0xFF, 0x40, 0xFF};
    port.WriteFrame(payload, sizeof payload);
    EXPECT_EQ(pty.ReadExact(9, kWaitMs), Hex("FF 00 40 15 FF 01 40 FF 01"));
    port.SendCommand("set_port[0102]");
    EXPECT_EQ(pty.ReadExact(6, kWaitMs), Hex("FF 00 40 00 01 02"));
}

TEST_F(KeltoPortTest, ResponsesBecomeTexts)
{
    const struct
    {
        const char* bytes;
        const char* text;
    } cases[] = {
        {"25 12 34", "pong[1234] "},
        {"01 01 02", "port[0102] "},
        {"02 01 02 03 04", "allports[01020304] "},
        {"03 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F",
         "statusall[000102030405060708090A0B0C0D0E0F] "},
        {"2B 01 02 03 04", "statusallquick[01020304] "},
        {"1E 01 02 03", "outmask[010203] "},
        {"54 0A 0B 0C", "peek[0A0B0C] "},
        {"57 FF 00", "csreg[FF00] "},
        {"16 07", "idnum[07] "},
        // Unknown codes are skipped; what follows is read as codes again.
        {"99 63 16 05", "idnum[05] "},
        {"16 01 16 02", "idnum[01] idnum[02] "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        m_sim.Send(Hex(c.bytes));
        EXPECT_EQ(Responses(150), c.text);
    }
    EXPECT_EQ(m_port.GetLastEcho(), 0x1234);
    EXPECT_EQ(m_port.GetErrorText(), "No Error");
}

TEST_F(KeltoPortTest, CutResponseIsReportedWithoutHanging)
{
    m_sim.Send(Hex("03 00 01 02"));
    EXPECT_EQ(Responses(200), "");
    EXPECT_EQ(m_port.GetErrorText(), "Kelto response statusall cut short: 3 of 16 bytes came");
    m_sim.Send(Hex("16 09"));
    EXPECT_EQ(Responses(150), "idnum[09] ");
}

TEST_F(KeltoPortTest, NoiseNeverHangsTheReader)
{
    std::string noise;
    for (int i = 0; i < 4000; ++i)
        noise += char((i * 53 + 7) & 0xFF);
    m_sim.Send(noise);
    // Each call returns after a bounded number of bytes.
    for (int i = 0; i < 100; ++i) {
        CString out;
        m_port.ReadResponses(out, kStepMs);
    }
    m_sim.Send(Hex("16 09"));
    CString out = Responses(300);
    EXPECT_EQ(out.Right(10), "idnum[09] ");
}

TEST_F(KeltoPortTest, InfoAnswerLocatesTheSwitch)
{
    EXPECT_TRUE(m_port.Locate());
    EXPECT_DOUBLE_EQ(m_port.GetVersion(), 1.2);
    EXPECT_EQ(m_sim.Frames(), std::vector<std::string>{Hex("23")});
    EXPECT_TRUE(m_port.IsLocated());
    EXPECT_TRUE(m_port.Locate());
}

TEST_F(KeltoPortTest, SilentSwitchIsNotLocated)
{
    m_sim.SetSilent(true);
    EXPECT_FALSE(m_port.Locate());
    EXPECT_EQ(m_port.GetVersion(), 0);
    // Located once, it is not asked again.
    m_sim.SetSilent(false);
    EXPECT_FALSE(m_port.Locate());
}

// Every flush sends a framed ping with its own mark and returns once that
// very mark has come back, through 16-bit marks well beyond any small cycle.
TEST_F(KeltoPortTest, FlushWaitsForTheEchoOfItsOwnMark)
{
    StartMonitor();
    const int kFlushes = 70;
    for (int mark = 0; mark < kFlushes; ++mark) {
        SCOPED_TRACE(mark);
        ASSERT_TRUE(m_port.Flush(kWaitMs));
        EXPECT_EQ(m_port.GetLastEcho(), mark);
    }
    std::vector<std::string> frames = m_sim.Frames();
    ASSERT_EQ(frames.size(), size_t(kFlushes));
    EXPECT_EQ(frames[0], Hex("25 00 00"));
    EXPECT_EQ(frames[kFlushes - 1], Hex("25 00 45"));
    EXPECT_EQ(m_sim.Unframed(), "");
}

TEST_F(KeltoPortTest, FlushIgnoresAnOldEchoAndTimesOutWithoutAnswer)
{
    StartMonitor();
    m_sim.SetAnswer(37, Hex("25 00 00"));
    ASSERT_TRUE(m_port.Flush(kWaitMs));
    // The switch keeps echoing mark 0: the flush for mark 1 never sees its own.
    EXPECT_FALSE(m_port.Flush(300));
    m_sim.SetSilent(true);
    EXPECT_FALSE(m_port.Flush(300));
}

TEST_F(KeltoPortTest, FlushWordWaitsForTheMonitoringThread)
{
    StartMonitor();
    m_port.SendCommand("get_info flush get_idnum");
    std::vector<std::string> frames = m_sim.Frames();
    ASSERT_GE(frames.size(), size_t(2));
    EXPECT_EQ(frames[0], Hex("23"));
    EXPECT_EQ(frames[1], Hex("25 00 00"));
}

TEST_F(KeltoPortTest, BootLoaderWritesAndReadsFlashBlocks)
{
    ASSERT_TRUE(m_port.EnterBootLoader());
    EXPECT_TRUE(m_sim.InBootLoader());
    EXPECT_TRUE(m_port.IsInBootMode());
    EXPECT_EQ(m_sim.Frames(), std::vector<std::string>{Hex("80")});
    // Responses are not read meanwhile.
    EXPECT_EQ(Responses(50), "");

    std::string block = Hex("01 02 03 04 05 06 07 FF");
    EXPECT_TRUE(m_port.WriteFlashBlock(0x0120, int(block.size()),
                                       reinterpret_cast<const BYTE*>(block.data())));
    EXPECT_EQ(m_sim.Flash(0x0120, int(block.size())), block);
    BYTE back[8] = {};
    EXPECT_TRUE(m_port.ReadFlashBlock(0x0120, sizeof back, back));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(back), sizeof back), block);

    EXPECT_TRUE(m_port.ExitBootLoader());
    Sleep(100);
    EXPECT_FALSE(m_sim.InBootLoader());
    EXPECT_FALSE(m_port.IsInBootMode());
}

TEST_F(KeltoPortTest, SilentBootLoaderFails)
{
    m_sim.SetSilent(true);
    EXPECT_FALSE(m_port.EnterBootLoader());
    BYTE data[2] = {1, 2};
    EXPECT_FALSE(m_port.WriteFlashBlock(0, 2, data));
    EXPECT_FALSE(m_port.ReadFlashBlock(0, 2, data));
}

} // namespace
