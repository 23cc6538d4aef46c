// The Kelto firmware image and flash writer: HEX texts refused before anything
// is written, and upgrades into a simulated switch on a pty-backed COM port,
// checked word by word against objcopy's reading of the same HEX file and by
// the lane sums of what the flash finally holds.
#include "tests/support/TestFramework.h"

#include "tests/support/DebugCapture.h"
#include "tests/support/HostProgram.h"
#include "devices/kelto/KeltoFlashWriter.h"
#include "devices/kelto/KeltoHexImage.h"
#include "tests/support/KeltoSimulator.h"
#include "tests/support/PtySerial.h"
#include "tests/support/TempFolder.h"

#include <stdio.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const BYTE kTargets[kKeltoLanes] = {0xBC, 0x19, 0x01, 0x62, 0xE5, 0xA4, 0x9D, 0x7E};
const int kCorrectionWord = 0x1CEC;
const int kCorrectionWords = 20;
const int kSerialWord = 0x1E01;

// One HEX record: byte count, byte address, type, data, checksum.
std::string Record(int address, int type, const std::vector<int>& data)
{
    std::vector<int> bytes = {int(data.size()), address >> 8, address & 0xFF, type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    int sum = 0;
    for (int b : bytes)
        sum += b;
    bytes.push_back(-sum & 0xFF);
    std::string line = ":";
    char digits[3];
    for (int b : bytes) {
        snprintf(digits, sizeof digits, "%02X", b);
        line += digits;
    }
    return line + "\r\n";
}

// The 14-bit word a test image holds at a word address.
int WordAt(int word)
{
    return (word * 0x2B5 + 0x11) & 0x3FFF;
}

// Data records of count words from a word address, eight words a record,
// each word low byte first.
std::string Words(int word, int count)
{
    std::string text;
    for (int done = 0; done < count; done += 8) {
        std::vector<int> data;
        for (int i = done; i < count && i < done + 8; ++i)
            data.insert(data.end(), {WordAt(word + i) & 0xFF, WordAt(word + i) >> 8});
        text += Record((word + done) * 2, 0, data);
    }
    return text;
}

const std::string kEnd = ":00000001FF\r\n";

TEST(KeltoHexImageTest, BadTextsAreRefusedWithTheirReason)
{
    const struct
    {
        const char* name;
        std::string text;
        const char* error;
    } cases[] = {
        {"bad checksum", ":020400000102F8\r\n" + kEnd, "line 1: bad checksum"},
        {"not hexadecimal", ":02040000010G00\r\n" + kEnd, "'G' is not a hexadecimal digit"},
        {"cut record", ":0404000001020304\r\n" + kEnd, "does not match its byte count"},
        {"odd digits", ":020400000102F\r\n" + kEnd, "does not match its byte count"},
        {"odd byte count", Record(0x400, 0, {1, 2, 3}) + kEnd, "whole words"},
        {"odd address", Record(0x401, 0, {1, 2}) + kEnd, "whole words"},
        {"over 16 bytes", Record(0x400, 0, std::vector<int>(18, 1)) + kEnd, "18 data bytes"},
        {"overlap", Words(0x200, 8) + Words(0x207, 2) + kEnd, "lines 1 and 2 write the same flash words"},
        {"overlap out of order", Words(0x207, 2) + Words(0x200, 8) + kEnd, "lines 2 and 1"},
        {"into the application", Words(0x1FC, 8) + kEnd, "cross the edge of the application area"},
        {"past the application", Words(0x1EFC, 8) + kEnd, "words 1EFC-1F03 cross"},
        {"linear address", Record(0, 4, {0, 1}) + kEnd, "extended address 0001"},
        {"segment address", Record(0, 2, {0x10, 0}) + kEnd, "extended address 1000"},
        {"unknown type", Record(0, 6, {}) + kEnd, "unknown record type 06"},
        {"no end record", Words(0x200, 8), "no end record"},
        {"end record first", kEnd + "not hex after the end\r\n" + Words(0x200, 8), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CKeltoHexImage image;
        bool accepted = image.Parse(c.text.c_str());
        EXPECT_EQ(accepted, c.error[0] == '\0') << image.GetErrorText().operator LPCSTR();
        EXPECT_NE(std::string(image.GetErrorText()).find(c.error), std::string::npos)
            << image.GetErrorText().operator LPCSTR();
        if (!accepted) {
            EXPECT_TRUE(image.GetRecords().empty());
        }
    }
}

TEST(KeltoHexImageTest, OnlyApplicationRecordsAreKeptInAddressOrder)
{
    std::string text = "; made by hand\r\n" + Record(0, 4, {0, 0}) + Words(0x300, 2) + Words(0, 4) +
                       Words(0x1F00, 4) + Words(0x280, 1) + Record(0, 5, {0, 0, 0, 0}) + kEnd;
    CKeltoHexImage image;
    ASSERT_TRUE(image.Parse(text.c_str())) << image.GetErrorText().operator LPCSTR();
    ASSERT_EQ(image.GetRecords().size(), size_t(2));
    const KeltoHexRecord& first = image.GetRecords()[0];
    EXPECT_EQ(first.wordAddress, 0x280);
    EXPECT_EQ(first.wordCount, 1);
    // High byte first.
    EXPECT_EQ(first.bytes[0], WordAt(0x280) >> 8);
    EXPECT_EQ(first.bytes[1], WordAt(0x280) & 0xFF);
    EXPECT_EQ(image.GetRecords()[1].wordAddress, 0x300);
    EXPECT_EQ(image.GetRecords()[1].wordCount, 2);
}

TEST(KeltoHexImageTest, MissingFileIsRefused)
{
    CKeltoHexImage image;
    EXPECT_FALSE(image.Load("Z:\\no\\such\\folder\\kelto.hex"));
    EXPECT_NE(std::string(image.GetErrorText()).find("Unable to open the HEX file"), std::string::npos);
}

// objcopy reads the HEX file as the independent implementation.
bool RunObjcopy(const std::string& hex, const std::string& bin)
{
    return RunHostProgram({"objcopy", "-I", "ihex", "-O", "binary", hex, bin});
}

class KeltoFlashTest : public ::testing::Test
{
protected:
    KeltoFlashTest() : m_sim(m_pty), m_port(m_pty.Port()), m_folder("keltoflash")
    {
        m_port.GetError().m_messageBox = FALSE;
    }

    void SetUp() override { ASSERT_TRUE(m_port.EnterBootLoader()); }

    // objcopy's binary of the HEX text: byte address 0 at offset 0.
    std::string Objcopy(const std::string& text)
    {
        std::ofstream(m_folder.UnixPath("image.hex"), std::ios::binary) << text;
        if (!RunObjcopy(m_folder.UnixPath("image.hex"), m_folder.UnixPath("image.bin")))
            return std::string();
        std::ifstream in(m_folder.UnixPath("image.bin"), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    // The flash word as the switch holds it, high byte first.
    int FlashWord(int word)
    {
        std::string bytes = m_sim.Flash(word, 2);
        return BYTE(bytes[0]) * 256 + BYTE(bytes[1]);
    }

    void ExpectTargetSums()
    {
        std::string area = m_sim.Flash(kKeltoBootLoaderEnd, (kKeltoApplicationEnd - kKeltoBootLoaderEnd) * 2);
        BYTE sums[kKeltoLanes] = {};
        for (size_t i = 0; i < area.size(); ++i)
            sums[(kKeltoBootLoaderEnd * 2 + i) % kKeltoLanes] += BYTE(area[i]);
        EXPECT_EQ(std::vector<BYTE>(sums, sums + kKeltoLanes), std::vector<BYTE>(kTargets, kTargets + kKeltoLanes));
    }

    CPtySerial m_pty;
    CKeltoSimulator m_sim;
    CKeltoPort m_port;
    CTempFolder m_folder;
};

TEST_F(KeltoFlashTest, UpgradesWriteTheImageGapsSerialAndCorrection)
{
    const struct
    {
        const char* name;
        std::string records;
    } cases[] = {
        {"first record at 0x300", Words(0x300, 0x40)},
        {"ends at 0x1000", Words(0x200, 0xE00)},
        {"records out of order", Words(0x400, 5) + Words(0x300, 3) + Words(0x380, 8)},
        {"words under the correction block and serial table", Words(0x1CE0, 0x30) + Words(0x1E00, 0x20)},
    };
    const char serial[] = "0123456789abcdef";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A boot-loader record (it also puts byte 0 at the start of objcopy's
        // binary), an extended address of 0 and a configuration record, all skipped.
        std::string text = Words(0, 8) + Record(0, 4, {0, 0}) + c.records + Words(0x1F00, 8) + kEnd;
        std::string binary = Objcopy(text);
        ASSERT_FALSE(binary.empty());
        CKeltoHexImage image;
        ASSERT_TRUE(image.Parse(text.c_str())) << image.GetErrorText().operator LPCSTR();
        CDebugCapture debug;
        CKeltoFlashWriter writer(m_port);
        ASSERT_TRUE(writer.Upgrade(image, serial, nullptr)) << writer.GetErrorText().operator LPCSTR();

        EXPECT_EQ(m_sim.Flash(0, kKeltoBootLoaderEnd * 2), std::string(kKeltoBootLoaderEnd * 2, '\xFF'));
        EXPECT_EQ(m_sim.Flash(kKeltoApplicationEnd, 16), std::string(16, '\xFF'));
        std::vector<bool> inImage(kKeltoApplicationEnd, false);
        for (const KeltoHexRecord& record : image.GetRecords())
            for (int i = 0; i < record.wordCount; ++i)
                inImage[record.wordAddress + i] = true;
        int mismatches = 0;
        for (int word = kKeltoBootLoaderEnd; word < kKeltoApplicationEnd; ++word) {
            if (word >= kCorrectionWord && word < kCorrectionWord + kCorrectionWords)
                continue;
            int expected = 0x3FFF;
            if (word >= kSerialWord && word < kSerialWord + kKeltoSerialChars)
                expected = 0x3400 + BYTE(serial[word - kSerialWord]);
            else if (inImage[word])
                expected = BYTE(binary[2 * word + 1]) * 256 + BYTE(binary[2 * word]);
            if (FlashWord(word) != expected && ++mismatches < 5)
                ADD_FAILURE() << std::hex << "word " << word << ": " << FlashWord(word) << " not " << expected;
        }
        EXPECT_EQ(mismatches, 0);
        ExpectTargetSums();
        BYTE sums[kKeltoLanes];
        ASSERT_TRUE(writer.ReadLaneSums(kKeltoBootLoaderEnd, kKeltoApplicationEnd, sums));
        EXPECT_EQ(std::vector<BYTE>(sums, sums + kKeltoLanes), std::vector<BYTE>(kTargets, kTargets + kKeltoLanes));
        for (int lane = 0; lane < kKeltoLanes; ++lane)
            EXPECT_TRUE(debug.Contains("pd " + std::to_string(lane) + " ")) << lane;
    }
}

TEST_F(KeltoFlashTest, WithoutASerialTheUnitsOwnHexadecimalCharactersStay)
{
    std::string table;
    const char kept[] = "12AB\x01z9F\xFF" "CDEFcd0";
    for (int i = 0; i < kKeltoSerialChars; ++i)
        table += std::string("\x34") + kept[i];
    ASSERT_TRUE(m_port.WriteFlashBlock(kSerialWord, 16, reinterpret_cast<const BYTE*>(table.data())));
    ASSERT_TRUE(m_port.WriteFlashBlock(kSerialWord + 8, 16, reinterpret_cast<const BYTE*>(table.data() + 16)));
    CKeltoHexImage image;
    std::string text = Words(0x200, 0x10) + kEnd;
    ASSERT_TRUE(image.Parse(text.c_str()));
    CKeltoFlashWriter writer(m_port);
    ASSERT_TRUE(writer.Upgrade(image, "", nullptr)) << writer.GetErrorText().operator LPCSTR();
    for (int i = 0; i < kKeltoSerialChars; ++i) {
        SCOPED_TRACE(i);
        int word = FlashWord(kSerialWord + i);
        EXPECT_EQ(word >> 8, 0x34);
        char c = char(word & 0xFF);
        // Lower-case digits, as the server's factory flash writes them, stay too.
        if (strchr("0123456789ABCDEFabcdef", kept[i]) && kept[i] != '\0')
            EXPECT_EQ(c, kept[i]);
        else
            EXPECT_TRUE(strchr("0123456789ABCDEF", c) && c != '\0') << int(BYTE(c));
    }
    ExpectTargetSums();
}

TEST_F(KeltoFlashTest, SilentBootLoaderFailsWithTheReason)
{
    const struct
    {
        const char* serial;
        const char* error;
    } cases[] = {
        {"", "Failed to read flash memory"},
        {"0123456789ABCDEF", "Failed to write flash memory"},
        {"0123", "A serial number has 16 characters"},
    };
    CKeltoHexImage image;
    std::string text = Words(0x200, 8) + kEnd;
    ASSERT_TRUE(image.Parse(text.c_str()));
    m_sim.SetSilent(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.error);
        CKeltoFlashWriter writer(m_port);
        EXPECT_FALSE(writer.Upgrade(image, c.serial, nullptr));
        EXPECT_EQ(writer.GetErrorText(), c.error);
    }
}

} // namespace
