// The event map file as the mapper loads it: entries in file order with their
// comments, line ends and capitals dealt with, the loader's result for broken
// files with the entries found before the break, and files refused whole.
#include "tests/support/TestFramework.h"

#include "tests/support/TempFolder.h"
#include "core/automation/tests/TestDocument.h"

#include <utility>

namespace {

typedef std::vector<std::pair<std::string, std::string>> Entries;

Entries EntriesOf(CAutoMapper& mapper)
{
    Entries entries;
    for (const EventMapEntry& entry : mapper.GetMap())
        entries.push_back({static_cast<const char*>(entry.pattern), static_cast<const char*>(entry.action)});
    return entries;
}

struct MapCase
{
    const char* name;
    std::string text;
    BOOL result;
    Entries entries;
};

class EventMapTest : public ::testing::Test
{
protected:
    BOOL Load(const std::string& text)
    {
        WriteUnixFile(folder.UnixPath("map.txt"), text);
        return mapper.LoadMapFile(folder.WindowsPath("map.txt").c_str());
    }

    CTempFolder folder{"automation"};
    CAutoMapper mapper;
};

TEST_F(EventMapTest, FilesGiveTheirEntriesInOrder)
{
    const MapCase cases[] = {
        {"grammar example", "playlist_play\n{ amp:power_on amp:input_cd } # amplifier on\n", TRUE,
         {{"playlist_play", "amp:power_on amp:input_cd"}}},
        {"comments outside and inside braces",
         "# heading { not: this }\nplay { amp:power_on # no: more }\n amp:input_cd }\n", TRUE,
         {{"play", "amp:power_on   amp:input_cd"}}},
        {"# in an action hides its closing brace", "stop { amp:off # }\n}\nnext{x:y}", TRUE,
         {{"stop", "amp:off"}, {"next", "x:y"}}},
        {"parts over several lines", "disc\tchange\r\n{\r\n\tcd:load\r\n\tamp:on\r\n}", TRUE,
         {{"disc change", "cd:load   amp:on"}}},
        {"capitals", "PlayList_Play { AMP:Power_On }", TRUE, {{"playlist_play", "AMP:Power_On"}}},
        {"empty entries dropped", "{ a:b }\nplay { }\n{}\n \t{\r\n}\nstop { c:d }", TRUE, {{"stop", "c:d"}}},
        {"text after the last brace", "play { a:b }\ntrailing words\n", TRUE, {{"play", "a:b"}}},
        {"closing brace outside is text", "a } b { c:d }", TRUE, {{"a } b", "c:d"}}},
        {"unclosed brace", "play { a:b }\nstop { c:d\n", FALSE, {{"play", "a:b"}}},
        {"brace as the last character", "play { a:b }\nstop {", TRUE, {{"play", "a:b"}}},
        {"comment ends the file after a pattern", "play { a:b }\nstop # {no line end", FALSE,
         {{"play", "a:b"}}},
        {"comment without a brace after the last entry", "play { a:b }\nstop # no line end", TRUE,
         {{"play", "a:b"}}},
        {"comment ends the file without a pattern", "play { a:b }\n# last", TRUE, {{"play", "a:b"}}},
        {"empty file", "", TRUE, {}},
        {"binary bytes", std::string("\x01\xff\x7f{\x80\x1b}\xfe{ \x02", 11), FALSE, {{"\x01\xff\x7f", "\x80\x1b"}}},
    };
    for (const MapCase& c : cases) {
        mapper.ClearMap();
        EXPECT_EQ(c.result, Load(c.text)) << c.name;
        EXPECT_EQ(c.entries, EntriesOf(mapper)) << c.name;
    }
}

TEST_F(EventMapTest, RefusedFilesKeepTheCurrentMap)
{
    const struct
    {
        const char* name;
        std::string text;
        bool write;   // false: the file is missing
    } cases[] = {
        {"missing file", "", false},
        {"larger than the bound", std::string(CAutoMapper::kMaxMapFileSize + 1, 'x'), true},
        {"NUL bytes", std::string("play { a:b }\0stop { c:d }", 25), true},
    };
    ASSERT_TRUE(Load("keep { k:v }"));
    for (const auto& c : cases) {
        std::string name = std::string(c.name) + ".txt";
        if (c.write)
            WriteUnixFile(folder.UnixPath(name.c_str()), c.text);
        EXPECT_FALSE(mapper.LoadMapFile(folder.WindowsPath(name.c_str()).c_str())) << c.name;
        EXPECT_EQ((Entries{{"keep", "k:v"}}), EntriesOf(mapper)) << c.name;
    }
}

// Large files parse in one pass: thousands of entries on one line, thousands
// of comment lines before a brace, a very long unclosed action.
TEST_F(EventMapTest, LargeFilesParseWhole)
{
    std::string entries;
    for (int i = 0; i < 20000; i++)
        entries += "p" + std::to_string(i) + "{a:" + std::to_string(i) + "}";
    EXPECT_TRUE(Load(entries));
    Entries loaded = EntriesOf(mapper);
    ASSERT_EQ(20000u, loaded.size());
    EXPECT_EQ((std::pair<std::string, std::string>{"p19999", "a:19999"}), loaded.back());

    std::string comments;
    for (int i = 0; i < 100000; i++)
        comments += "#{\n";
    EXPECT_TRUE(Load(comments + "last { a:b }"));
    EXPECT_EQ((Entries{{"last", "a:b"}}), EntriesOf(mapper));

    EXPECT_FALSE(Load("long {" + std::string(CAutoMapper::kMaxMapFileSize - 6, 'x')));
    EXPECT_TRUE(EntriesOf(mapper).empty());
}

} // namespace
