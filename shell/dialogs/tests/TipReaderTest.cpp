// The tips reader over files in a temporary folder: comments and indented
// lines, the wrap to the first line, the place kept in the profile, a newer
// file starting again, and files that hold no tip, lines that are too long or
// a file rewritten while it is open.
#include "tests/support/TestFramework.h"

#include "shell/dialogs/tests/TipFixture.h"

namespace {

using TipReaderTest = TipTest;

const char kCommented[] = "; tips\n"
                          "First tip\r\n"
                          "  indented note\n"
                          "\tTabbed note\n"
                          "\n"
                          ";Second comment\n"
                          "Second tip\n";
const long kSecondTip = 64;  // the byte where "Second tip" starts

enum StampKind { kNoStamp, kSameStamp, kOlderStamp };

struct ReaderCase
{
    const char* name;
    const char* content;  // null: no file
    StampKind stamp;
    long long storedPos;  // -1: none
    std::vector<std::string> tips;
    bool openAfter;
    bool seekFailed;
};

TEST_F(TipReaderTest, ReadsTipsInTurnFromTheStoredPlace)
{
    const std::string longLine(1500, 'A');
    const std::string longText = longLine + "\nShort\n";
    const std::string cut(CTipReader::kMaxLine, 'A');
    const ReaderCase cases[] = {
        {"comments and indents are skipped, the end wraps", kCommented, kNoStamp, -1,
         {"First tip\n", "Second tip\n", "First tip\n"}, true, false},
        {"the same file continues where it stopped", kCommented, kSameStamp, kSecondTip,
         {"Second tip\n", "First tip\n"}, true, false},
        {"a newer file starts at its first tip", kCommented, kOlderStamp, kSecondTip,
         {"First tip\n"}, true, false},
        {"a place beyond the end wraps", kCommented, kSameStamp, 100000, {"First tip\n"}, true, false},
        {"a damaged place is reported and reading starts over", kCommented, kSameStamp, 0xFFFFFFF0,
         {"First tip\n"}, true, true},
        {"a last line without its end", "One\nTwo", kNoStamp, -1, {"One\n", "Two", "One\n"}, true, false},
        {"a long line is cut and its rest is no tip", longText.c_str(), kNoStamp, -1,
         {cut, "Short\n", cut}, true, false},
        {"only comments: as without a file", "; one\n  two\n\n\tthree\n", kNoStamp, -1,
         {kMissing, kMissing}, false, false},
        {"an empty file: as without a file", "", kNoStamp, -1, {kMissing, kMissing}, false, false},
        {"no file", nullptr, kNoStamp, -1, {kMissing, kMissing}, false, false},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        if (c.content)
            WriteTips(c.content);
        if (c.stamp == kSameStamp)
            CTipReader().Open(Path().c_str());
        if (c.stamp == kOlderStamp)
            WriteText("TimeStamp", "Mon Jan  1 00:00:00 2001");
        if (c.storedPos >= 0)
            WriteDword("FilePos", (DWORD)c.storedPos);
        CTipReader reader;
        EXPECT_EQ(c.tips, Tips(reader, (int)c.tips.size() - 1));
        EXPECT_EQ(c.openAfter, (bool)reader.IsOpen());
        EXPECT_EQ(c.seekFailed, (bool)reader.TakeSeekFailure());
        EXPECT_FALSE(reader.TakeSeekFailure()) << "told once";
    }
}

// A NUL in a line ends the tip's text but not the line: the line after it is
// the next tip, also when the NUL follows a line cut at the longest.
TEST_F(TipReaderTest, ANulInALineNeitherHidesNorMovesItsEnd)
{
    const std::string cut(CTipReader::kMaxLine, 'A');
    const struct
    {
        const char* name;
        std::string content;
        std::vector<std::string> tips;
    } cases[] = {
        {"NUL inside a line", std::string("One\0hidden\nTwo\n", 15), {"One", "Two\n", "One"}},
        {"NUL after a cut line", cut + std::string("\0tail\nTwo\n", 10), {cut, "Two\n", cut}},
        {"NUL starting a line", std::string("\0\nTwo\n", 6), {"Two\n", "Two\n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        WriteTips(c.content);
        CTipReader reader;
        EXPECT_EQ(c.tips, Tips(reader, (int)c.tips.size() - 1));
    }
}

TEST_F(TipReaderTest, TheStampIsTheFileTimeAsCtimeWritesIt)
{
    WriteTips(kCommented);
    CTipReader().Open(Path().c_str());
    char stamp[64] = "";
    DWORD size = sizeof stamp;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueA(HKEY_CURRENT_USER, kSectionPath, "TimeStamp", RRF_RT_REG_SZ,
                                          NULL, stamp, &size));
    // "Www Mmm dd hh:mm:ss yyyy", the day padded with a blank.
    ASSERT_EQ(24u, strlen(stamp)) << stamp;
    EXPECT_EQ(' ', stamp[3]);
    EXPECT_EQ(':', stamp[13]);
    EXPECT_EQ(':', stamp[16]);
    EXPECT_NE(' ', stamp[23]);
}

TEST_F(TipReaderTest, ThePlaceIsKeptForTheNextRun)
{
    WriteTips("One\nTwo\nThree\n");
    {
        CTipReader reader;
        EXPECT_EQ((std::vector<std::string>{"One\n", "Two\n"}), Tips(reader, 1));
    }
    EXPECT_EQ(8, ReadDword("FilePos"));
    CTipReader next;
    EXPECT_EQ((std::vector<std::string>{"Three\n", "One\n"}), Tips(next, 1));
    next.Close();
    EXPECT_EQ(4, ReadDword("FilePos"));

    // Without a file the stored place stays for when it is back.
    WriteDword("FilePos", 8);
    m_folder.Remove("Tips.tip");
    CTipReader().Open(Path().c_str());
    EXPECT_EQ(8, ReadDword("FilePos"));
}

TEST_F(TipReaderTest, TheStartUpChoiceRoundTrips)
{
    struct Case
    {
        long long stored;  // -1: none
        bool show;
    } const cases[] = {{-1, true}, {0, true}, {1, false}, {7, false}, {0xFFFFFFFF, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        SetUp();
        if (c.stored >= 0)
            WriteDword("StartUp", (DWORD)c.stored);
        EXPECT_EQ(c.show, (bool)CTipReader().GetShowAtStartUp());
    }
    for (bool show : {false, true}) {
        CTipReader().SetShowAtStartUp(show);
        EXPECT_EQ(show ? 0 : 1, ReadDword("StartUp"));
        EXPECT_EQ(show, (bool)CTipReader().GetShowAtStartUp());
    }
}

// Byte places in a changed file may land inside a line, and what was read
// ahead still comes first: the reader only has to reach the new content soon,
// and a file left without tips ends as a missing one.
TEST_F(TipReaderTest, AFileRewrittenWhileOpenIsReadAsItNowIs)
{
    WriteTips("One\nTwo\nThree\n");
    CTipReader reader;
    EXPECT_EQ((std::vector<std::string>{"One\n", "Two\n"}), Tips(reader, 1));

    WriteTips("Fresh\n");
    std::vector<std::string> seen;
    for (int i = 0; i < 3 && seen.size() < 2; i++)
        if (reader.ReadNext() && std::string(reader.GetTip()) == "Fresh\n")
            seen.push_back("Fresh\n");
    EXPECT_EQ(2u, seen.size()) << "the new tip comes round";

    WriteTips("; nothing left\n");
    int reads = 0;
    while (reader.ReadNext() && reads < 3)
        reads++;
    EXPECT_LT(reads, 3);
    EXPECT_EQ(kMissing, std::string(reader.GetTip()));
    EXPECT_FALSE(reader.IsOpen());
}

// The shipped tips, copied beside the program: none too long, all of them in
// turn before the first comes again.
TEST_F(TipReaderTest, TheShippedTipsComeRoundInTurn)
{
    CTipReader reader;
    ASSERT_TRUE(reader.Open(CTipReader::DefaultPath()));
    std::vector<std::string> tips{(LPCSTR)reader.GetTip()};
    while (reader.ReadNext() && tips.size() < 100 && tips.front() != (LPCSTR)reader.GetTip())
        tips.push_back((LPCSTR)reader.GetTip());
    EXPECT_EQ(37u, tips.size());
    // A line cut at the length limit would lack its end.
    for (const std::string& tip : tips)
        EXPECT_EQ('\n', tip.back()) << tip;
}

} // namespace
