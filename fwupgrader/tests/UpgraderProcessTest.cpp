// fwupgrader in a process of its own, started as "fwupgrader com5" against a
// simulated switch on COM5: the unattended upgrade leaves the built-in image in
// the flash (compared with objcopy's reading of the same HEX file), the switch's
// own serial characters and the lane sums at their targets; a switch that runs
// the target version already is asked about first, and No writes nothing; a run
// killed halfway leaves the switch in its boot loader, where the next run finds
// it and writes the whole image.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include <ctype.h>
#include <string.h>

#include <string>
#include <vector>

#include "tests/support/HostProgram.h"
#include "devices/kelto/KeltoFlashWriter.h"
#include "devices/kelto/KeltoHexImage.h"
#include "tests/support/KeltoSimulator.h"
#include "tests/support/PtySerial.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"
#include "tests/support/WindowDriver.h"

namespace {

const int kPort = 5;
const DWORD kWait = 60000;
const BYTE kTargets[kKeltoLanes] = {0xBC, 0x19, 0x01, 0x62, 0xE5, 0xA4, 0x9D, 0x7E};
const int kCorrectionWord = 7404;
const int kCorrectionWords = 20;
const int kSerialWord = 7681;
// Words past the application area that the test looks at, the image's
// configuration word (8199) among them.
const int kCheckedEnd = 0x2100;
const char kTitle[] = "Kelto Firmware Upgrader";
// The switch's serial characters before the upgrade: the hexadecimal ones, of
// either case, stay.
const char kOwnSerial[] = "0123abcdEF45xyz9";

class UpgraderProcessTest : public ::testing::Test
{
protected:
    UpgraderProcessTest() : m_pty(kPort), m_folder("fwupgrader")
    {
        m_program = m_folder.WindowsPath("fwupgrader.exe");
        CopyFileA(WindowsPath(FWUPGRADER_MODULE).c_str(), m_program.c_str(), FALSE);
    }

    ~UpgraderProcessTest() override
    {
        if (m_process) {
            if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT)
                TerminateProcess(m_process, 1);
            CloseHandle(m_process);
        }
    }

    void Start(const char* args)
    {
        std::string command = "\"" + m_program + "\" " + args;
        STARTUPINFOA startup = {sizeof startup};
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   WindowsPath(m_folder.Path()).c_str(), &startup, &process));
        CloseHandle(process.hThread);
        m_process = process.hProcess;
        m_processId = process.dwProcessId;
    }

    // Waits for the end, keeping the output box's last text.
    bool WaitForEnd()
    {
        DWORD start = GetTickCount();
        while (WaitForSingleObject(m_process, 50) == WAIT_TIMEOUT) {
            if (GetTickCount() - start > kWait)
                return false;
            HWND window = FindProcessWindow(m_processId, kTitle, 0);
            HWND output = window ? GetDlgItem(window, 1000) : nullptr;
            std::string text = output ? WindowText(output) : std::string();
            if (text.size() > m_output.size())
                m_output = text;
        }
        return true;
    }

    // A message box of the program (its caption is the program's name), once
    // its text is in place.
    std::string BoxText(HWND& box)
    {
        std::string text;
        WaitUntil([&] {
            box = FindProcessWindow(m_processId, "fwupgrader", 0);
            text = box && IsWindowVisible(box) ? MessageBoxText(box) : std::string();
            return !text.empty();
        }, kWait);
        return text;
    }

    void WriteSerial(CKeltoSimulator& kelto)
    {
        CKeltoPort port(kPort);
        port.GetError().m_messageBox = FALSE;
        ASSERT_TRUE(port.EnterBootLoader());
        BYTE table[2 * kKeltoSerialChars];
        for (int i = 0; i < kKeltoSerialChars; ++i) {
            table[2 * i] = 0x34;
            table[2 * i + 1] = BYTE(kOwnSerial[i]);
        }
        ASSERT_TRUE(port.WriteFlashBlock(kSerialWord, 16, table));
        ASSERT_TRUE(port.WriteFlashBlock(kSerialWord + 8, 16, table + 16));
        port.ExitBootLoader();
        ASSERT_TRUE(WaitUntil([&] { return !kelto.InBootLoader(); }, kWait));
    }

    static int Word(const std::string& flash, int word)
    {
        return BYTE(flash[2 * word]) * 256 + BYTE(flash[2 * word + 1]);
    }

    // The flash as the built-in image leaves it.
    void ExpectImage(const CKeltoSimulator& kelto)
    {
        ASSERT_TRUE(RunHostProgram({"objcopy", "-I", "ihex", "-O", "binary", KELTO_IMAGE,
                                    m_folder.UnixPath("kelto.bin")}));
        std::string binary = ReadBytes(m_folder.UnixPath("kelto.bin"));
        CKeltoHexImage image;
        ASSERT_TRUE(image.Load(WindowsPath(KELTO_IMAGE).c_str())) << image.GetErrorText().operator LPCSTR();
        std::vector<bool> inImage(kKeltoApplicationEnd, false);
        for (const KeltoHexRecord& record : image.GetRecords())
            for (int i = 0; i < record.wordCount; ++i)
                inImage[record.wordAddress + i] = true;

        std::string flash = kelto.Flash(0, kCheckedEnd * 2);
        EXPECT_EQ(std::string(kKeltoBootLoaderEnd * 2, '\xFF'), flash.substr(0, kKeltoBootLoaderEnd * 2));
        EXPECT_EQ(std::string((kCheckedEnd - kKeltoApplicationEnd) * 2, '\xFF'),
                  flash.substr(kKeltoApplicationEnd * 2));
        int mismatches = 0;
        for (int word = kKeltoBootLoaderEnd; word < kKeltoApplicationEnd; ++word) {
            if ((word >= kCorrectionWord && word < kCorrectionWord + kCorrectionWords) ||
                (word >= kSerialWord && word < kSerialWord + kKeltoSerialChars))
                continue;
            int expected = inImage[word] ? BYTE(binary[2 * word + 1]) * 256 + BYTE(binary[2 * word]) : 0x3FFF;
            if (Word(flash, word) != expected && ++mismatches < 5)
                ADD_FAILURE() << std::hex << "word " << word << ": " << Word(flash, word) << " not " << expected;
        }
        EXPECT_EQ(0, mismatches);
        for (int i = 0; i < kKeltoSerialChars; ++i) {
            SCOPED_TRACE(i);
            int word = Word(flash, kSerialWord + i);
            EXPECT_EQ(0x34, word >> 8);
            if (isxdigit(BYTE(kOwnSerial[i])))
                EXPECT_EQ(kOwnSerial[i], char(word & 0xFF));
            else
                EXPECT_TRUE(strchr("0123456789ABCDEF", word & 0xFF) && (word & 0xFF)) << (word & 0xFF);
        }
        BYTE sums[kKeltoLanes] = {};
        for (int i = kKeltoBootLoaderEnd * 2; i < kKeltoApplicationEnd * 2; ++i)
            sums[i % kKeltoLanes] += BYTE(flash[i]);
        EXPECT_EQ(std::vector<BYTE>(kTargets, kTargets + kKeltoLanes), std::vector<BYTE>(sums, sums + kKeltoLanes));
    }

    CPtySerial m_pty;
    CTempFolder m_folder;
    std::string m_program;
    HANDLE m_process = nullptr;
    DWORD m_processId = 0;
    std::string m_output;
};

TEST_F(UpgraderProcessTest, UnattendedUpgradeWritesTheImageAndCloses)
{
    CKeltoSimulator kelto(m_pty);
    WriteSerial(kelto);
    Start("com5");
    ASSERT_TRUE(WaitForEnd());
    EXPECT_FALSE(kelto.InBootLoader());
    ExpectImage(kelto);
    EXPECT_NE(std::string::npos, m_output.find("Kelto V1.2 found\r\nEntered boot mode\r\n"
                                                "Upgrading Kelto - Please Wait\r\n"))
        << m_output;
}

TEST_F(UpgraderProcessTest, TheVersionWarningAnsweredNoWritesNothing)
{
    CKeltoSimulator kelto(m_pty, 0x13);
    Start("COM5");
    HWND box = nullptr;
    EXPECT_EQ("Warning - your Kelto firmware is already V1.3 and you are trying to change to V1.2. \n\n"
              "Do you wish to continue?",
              BoxText(box));
    ASSERT_TRUE(PressButton(box, IDNO));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(std::string(kCheckedEnd * 2, '\xFF'), kelto.Flash(0, kCheckedEnd * 2));
    for (const std::string& frame : kelto.Frames())
        EXPECT_NE("\x80", frame);
    EXPECT_FALSE(kelto.InBootLoader());
}

// The port's own open failure stays out of sight: the program says it once.
TEST_F(UpgraderProcessTest, AMissingPortIsToldInOneBoxOfTheProgramsOwn)
{
    Start("COM12");
    HWND box = nullptr;
    EXPECT_EQ("Unable to access port COM12", BoxText(box));
    ASSERT_TRUE(PressButton(box, IDOK));
    ASSERT_TRUE(WaitForVisibility(box, false, kWait));
    HWND next = FindProcessWindow(m_processId, "fwupgrader", 500);
    EXPECT_FALSE(next && IsWindowVisible(next)) << MessageBoxText(next);
}

TEST_F(UpgraderProcessTest, ARunKilledHalfwayIsFinishedByTheNext)
{
    CKeltoSimulator kelto(m_pty);
    WriteSerial(kelto);
    Start("com5");
    const int kHalfway = 0x1000;
    ASSERT_TRUE(WaitUntil([&] { return kelto.Flash(kHalfway, 2) != "\xFF\xFF"; }, kWait));
    TerminateProcess(m_process, 1);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(m_process, kWait));
    CloseHandle(m_process);
    ASSERT_TRUE(kelto.InBootLoader());
    EXPECT_EQ("\xFF\xFF", kelto.Flash(kKeltoApplicationEnd - 1, 2));

    Start("com5");
    ASSERT_TRUE(WaitForEnd());
    EXPECT_NE(std::string::npos, m_output.find("Aquired COM5\r\nChecking for boot loader\r\nEntered boot mode\r\n"))
        << m_output;
    ExpectImage(kelto);
}

} // namespace
