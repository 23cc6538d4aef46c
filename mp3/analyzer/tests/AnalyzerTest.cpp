// analyze.dll through the functions programs link: tags and playing times of files
// the test writes, tags from an independent writer, the conformance streams, and
// bad input answered with error codes.
#include "tests/support/TestFramework.h"

#include "tests/support/audio/AudioFiles.h"
#include "analyze.h"
#include "mp3/decoder/tests/support/StreamDecoding.h"
#include "tests/support/HostProgram.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <dirent.h>
#include <algorithm>
#include <stdio.h>
#include <sys/stat.h>

namespace {

// The clean-stream call and the lenient second try programs make.
const unsigned kStrict[] = {0, 0x10000, 100};
const unsigned kLenient[] = {0, 0, 0};

class AnalyzerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.IsValid());
        ASSERT_EQ(analyzer_new(&analyzer), ANALYZER_OK);
        ASSERT_NE(analyzer, nullptr);
    }
    void TearDown() override { analyzer_delete(analyzer); }

    std::string Write(const char* name, const Bytes& bytes)
    {
        FILE* file = fopen(folder.UnixPath(name).c_str(), "wb");
        EXPECT_NE(file, nullptr);
        if (file) {
            fwrite(bytes.data(), 1, bytes.size(), file);
            fclose(file);
        }
        return folder.WindowsPath(name);
    }

    int Process(const std::string& path, const unsigned (&arguments)[3])
    {
        return analyzer_process_file(analyzer, path.c_str(), &info, arguments[0], arguments[1], arguments[2]);
    }

    CTempFolder folder{"analyzer"};
    ANALYZER* analyzer = nullptr;
    ANALYZER_INFO info;
};

struct TagCase {
    const char* name;
    Bytes file;
    const char* title;
    const char* artist;
    const char* album;
    const char* year;
    const char* comment;
};

std::string Repeat(char c, size_t count) { return std::string(count, c); }

// An ID3v2.4 tag whose first frame has size 0, ahead of a title frame: a reader
// that stops at the empty frame loses the whole tag.
Bytes TagWithAnEmptyFirstFrame()
{
    Bytes tag = Id3v2Tag(4, {{"TIT2", 3, "Lost Title"}});
    const Bytes empty{'T', 'X', 'X', 'X', 0, 0, 0, 0, 0, 0};
    tag.insert(tag.begin() + 10, empty.begin(), empty.end());
    size_t size = tag.size() - 10;
    for (int i = 0; i < 4; i++)
        tag[6 + i] = (unsigned char)(size >> (21 - 7 * i) & 0x7F);
    return tag;
}

TEST_F(AnalyzerTest, TagTextsReachTheRecordAsAnsi)
{
    ASSERT_EQ(GetACP(), 1252u) << "the expected texts are in code page 1252";
    Bytes stream = Layer3Frames(20);
    std::string longText = Repeat('x', 300);
    std::string longComment = Repeat('y', 2000);
    const TagCase cases[] = {
        {"id3v1", Concat({stream, Id3v1Tag("Song One", "The Band", "First Album", "99", "nice")}),
         "Song One", "The Band", "First Album", "99", "nice"},
        {"id3v1 two-digit year", Concat({stream, Id3v1Tag("T", "A", "B", "05", "")}), "T", "A", "B", "05", ""},
        {"id3v2.3 latin-1", Concat({Id3v2Tag(3, {{"TIT2", 0, "Caf\xE9"}, {"TPE1", 0, "Artist"},
                                                  {"TALB", 0, "Album"}, {"TYER", 0, "1750"},
                                                  {"COMM", 0, "old"}}), stream}),
         "Caf\xE9", "Artist", "Album", "1750", "old"},
        {"id3v2.3 utf-16", Concat({Id3v2Tag(3, {{"TIT2", 1, Utf16WithBom("Gr\xC3\xBC\xC3\x9F" "e")},
                                                 {"COMM", 1, Utf16WithBom("one\ntwo")}}), stream}),
         "Gr\xFC\xDF" "e", "", "", "", "one\r\ntwo"},
        {"id3v2.4 utf-8", Concat({Id3v2Tag(4, {{"TIT2", 3, "Na\xC3\xAFve"}, {"TDRC", 3, "2001-05-03"},
                                                {"COMM", 3, "a\r\nb\nc"}}), stream}),
         "Na\xEFve", "", "", "2001-05-03", "a\r\nb\r\nc"},
        {"id3v2 before id3v1 per text", Concat({Id3v2Tag(4, {{"TIT2", 3, "New Title"}}), stream,
                                                 Id3v1Tag("Old Title", "Old Artist", "", "2005", "")}),
         "New Title", "Old Artist", "", "2005", ""},
        {"outside the code page", Concat({Id3v2Tag(4, {{"TIT2", 3, "\xE6\x97\xA5\xE6\x9C\xAC"}}), stream}),
         "??", "", "", "", ""},
        {"overlong texts are cut", Concat({Id3v2Tag(4, {{"TIT2", 3, longText}, {"COMM", 3, longComment}}), stream}),
         nullptr, "", "", "", nullptr},
        {"no tags", stream, "", "", "", "", ""},
        {"id3v2.4 with an empty first frame, and id3v1",
         Concat({TagWithAnEmptyFirstFrame(), stream, Id3v1Tag("Old Title", "Old Artist", "Old Album", "1987", "c")}),
         "Old Title", "Old Artist", "Old Album", "1987", "c"},
    };
    for (const TagCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Process(Write("song.mp3", c.file), kStrict), ANALYZER_OK);
        EXPECT_STREQ(info.title, c.title ? c.title : Repeat('x', ANALYZER_TEXT_SIZE - 1).c_str());
        EXPECT_STREQ(info.artist, c.artist);
        EXPECT_STREQ(info.album, c.album);
        EXPECT_STREQ(info.year, c.year);
        EXPECT_STREQ(info.comment, c.comment ? c.comment : Repeat('y', ANALYZER_COMMENT_SIZE - 1).c_str());
        EXPECT_EQ(info.length, Layer3Milliseconds(20));
    }
}

// Tags from mutagen, a writer of its own: ID3v2.3 (its year becomes TYER) and
// ID3v2.4 with an ID3v1 tag beside them.
TEST_F(AnalyzerTest, TagsOfAnIndependentWriter)
{
    const char* script =
        "import sys\n"
        "from mutagen.id3 import ID3, TIT2, TPE1, TALB, TDRC, COMM\n"
        "path, version = sys.argv[1], int(sys.argv[2])\n"
        "enc = 1 if version == 3 else 3\n"
        "t = ID3()\n"
        "t.add(TIT2(encoding=enc, text=sys.argv[3]))\n"
        "t.add(TPE1(encoding=enc, text='Les Artistes'))\n"
        "t.add(TALB(encoding=enc, text='Album \\u00c9t\\u00e9'))\n"
        "t.add(TDRC(encoding=enc, text='1999'))\n"
        "t.add(COMM(encoding=enc, lang='eng', desc='', text='line 1\\nline 2'))\n"
        "t.save(path, v1=2, v2_version=version)\n";
    for (int version : {3, 4}) {
        SCOPED_TRACE(version);
        std::string path = Write("written.mp3", Layer3Frames(50));
        ASSERT_TRUE(RunHostProgram({"/usr/bin/python3", "-c", script, folder.UnixPath("written.mp3"),
                                    std::to_string(version), "\xC3\x80 la claire fontaine"}));
        ASSERT_EQ(Process(path, kStrict), ANALYZER_OK);
        EXPECT_STREQ(info.title, "\xC0 la claire fontaine");
        EXPECT_STREQ(info.artist, "Les Artistes");
        EXPECT_STREQ(info.album, "Album \xC9t\xE9");
        EXPECT_STREQ(info.year, "1999");
        EXPECT_STREQ(info.comment, "line 1\r\nline 2");
        EXPECT_EQ(info.length, Layer3Milliseconds(50));
    }
}

struct LengthCase {
    const char* name;
    Bytes file;
    int strict;       // result of the clean-stream call
    int lenient;      // and of the second try
    unsigned length;  // after the second try
};

TEST_F(AnalyzerTest, PlayingTimeFromXingOrTheFramesWalked)
{
    Bytes stream = Layer3Frames(100);
    Bytes cut(stream.begin(), stream.end() - 100);
    Bytes cutFrame(stream.begin(), stream.begin() + 200);
    // A VBRI tag 36 bytes into the first frame, counting 1000 frames.
    Bytes vbri = Layer3Frames(10);
    std::copy_n("VBRI", 4, vbri.begin() + 36);
    vbri[36 + 14 + 2] = 1000 >> 8;
    vbri[36 + 14 + 3] = 1000 & 0xFF;
    const LengthCase cases[] = {
        {"frames walked", stream, ANALYZER_OK, ANALYZER_OK, Layer3Milliseconds(100)},
        {"between tags", Concat({Id3v2Tag(3, {{"TIT2", 0, "x"}}), stream, Id3v1Tag("x", "", "", "", "")}),
         ANALYZER_OK, ANALYZER_OK, Layer3Milliseconds(100)},
        {"padding after the id3v2 tag", Concat({Id3v2Tag(4, {}), Bytes(500, 0), stream}),
         ANALYZER_OK, ANALYZER_OK, Layer3Milliseconds(100)},
        {"xing frame count", XingStream(1, 1000, 10), ANALYZER_OK, ANALYZER_OK, Layer3Milliseconds(1000)},
        {"xing count 0", XingStream(1, 0, 10), ANALYZER_OK, ANALYZER_OK, 0},
        {"xing count beyond the record", XingStream(1, 0xFFFFFFFF, 10), ANALYZER_OK, ANALYZER_OK, 0xFFFFFFFF},
        {"xing without a count", XingStream(0, 1000, 10), ANALYZER_OK, ANALYZER_OK, Layer3Milliseconds(10)},
        {"junk before the audio", Concat({Bytes(0x10000 + 10, 0x11), stream}),
         ANALYZER_E_NOT_MPEG, ANALYZER_OK, Layer3Milliseconds(100)},
        {"last frame cut", cut, ANALYZER_E_DAMAGED, ANALYZER_OK, Layer3Milliseconds(99)},
        {"vbri frame count", vbri, ANALYZER_OK, ANALYZER_OK, Layer3Milliseconds(1000)},
        // Past damage the walk finds the stream again and counts on.
        {"junk within", Concat({Layer3Frames(10), Bytes(50, 0x22), Layer3Frames(10)}),
         ANALYZER_E_DAMAGED, ANALYZER_OK, Layer3Milliseconds(20)},
        {"5 junk bytes at 1 s of 30 s", Concat({Layer3Frames(38), Bytes(5, 0x22), Layer3Frames(1110)}),
         ANALYZER_E_DAMAGED, ANALYZER_OK, Layer3Milliseconds(1148)},
        {"a cut frame within, an APE tag at the end", Concat({Layer3Frames(40), cutFrame, Layer3Frames(36), ApeTag()}),
         ANALYZER_E_DAMAGED, ANALYZER_OK, Layer3Milliseconds(76)},
    };
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Write("length.mp3", c.file);
        EXPECT_EQ(Process(path, kStrict), c.strict);
        EXPECT_EQ(Process(path, kLenient), c.lenient);
        EXPECT_EQ(info.length, c.length);
    }
}

TEST_F(AnalyzerTest, BadInputGivesAnErrorCode)
{
    Bytes huge = Id3v2Tag(4, {{"TIT2", 3, "past the end"}});
    huge[6] = 0x7F;  // a tag size far beyond the file
    Bytes frameTooLong = Id3v2Tag(3, {{"TIT2", 0, "short"}});
    frameTooLong[14] = 0x7F;  // the frame's size beyond its tag
    Bytes text(5000, 'a');
    Bytes wave{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"empty", {}},
        {"text named .mp3", text},
        {"wave named .mp3", Concat({wave, Bytes(3000, 0)})},
        {"id3v2 size past the end", Concat({huge, Layer3Frames(3)})},
        {"id3v2 frame size past its tag", Concat({frameTooLong, Bytes(20, 0)})},
        {"cut within the id3v2 tag", Bytes(huge.begin(), huge.begin() + 15)},
        {"id3v1 alone", Id3v1Tag("Only", "A Tag", "", "", "")},
        {"one sync word", {0xFF, 0xFB, 0x90, 0x00, 1, 2, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = Write("bad.mp3", c.file);
        EXPECT_EQ(Process(path, kStrict), ANALYZER_E_NOT_MPEG);
        EXPECT_EQ(Process(path, kLenient), ANALYZER_E_NOT_MPEG);
        EXPECT_EQ(info.length, 0u);
    }
    // The tags of a file without audio still reach the record.
    Write("tagonly.mp3", Id3v1Tag("Only", "A Tag", "", "", ""));
    EXPECT_EQ(Process(folder.WindowsPath("tagonly.mp3"), kStrict), ANALYZER_E_NOT_MPEG);
    EXPECT_STREQ(info.title, "Only");
    EXPECT_STREQ(info.artist, "A Tag");
}

TEST_F(AnalyzerTest, BadCallsGiveAnErrorCode)
{
    std::string path = Write("good.mp3", Layer3Frames(5));
    EXPECT_EQ(analyzer_process_file(nullptr, path.c_str(), &info, 0, 0, 0), ANALYZER_E_ARGUMENT);
    EXPECT_EQ(analyzer_process_file(analyzer, nullptr, &info, 0, 0, 0), ANALYZER_E_ARGUMENT);
    EXPECT_EQ(analyzer_process_file(analyzer, path.c_str(), nullptr, 0, 0, 0), ANALYZER_E_ARGUMENT);
    EXPECT_EQ(analyzer_process_file(analyzer, path.c_str(), &info, 1, 0, 0), ANALYZER_E_ARGUMENT);
    EXPECT_EQ(Process(folder.WindowsPath("missing.mp3"), kStrict), ANALYZER_E_OPEN);
    EXPECT_EQ(Process(folder.WindowsPath(""), kStrict), ANALYZER_E_OPEN);
    EXPECT_EQ(analyzer_new(nullptr), ANALYZER_E_ARGUMENT);
    analyzer_delete(nullptr);
    // A record left from an earlier file is cleared by a call that fails.
    ASSERT_EQ(Process(Write("tagged.mp3", Concat({Layer3Frames(5), Id3v1Tag("T", "", "", "", "")})), kStrict),
              ANALYZER_OK);
    EXPECT_EQ(Process(folder.WindowsPath("missing.mp3"), kStrict), ANALYZER_E_OPEN);
    EXPECT_STREQ(info.title, "");
    EXPECT_EQ(info.length, 0u);
}

// Programs hand over lower-cased paths; the file system keeps its own case.
TEST_F(AnalyzerTest, ALowerCasedPathFindsAMixedCaseFile)
{
    ASSERT_EQ(mkdir(folder.UnixPath("My Music").c_str(), 0700), 0);
    Write("My Music/Song.MP3", Concat({Layer3Frames(5), Id3v1Tag("Mixed", "", "", "", "")}));
    std::string path = folder.WindowsPath("My Music/Song.MP3");
    CharLowerA(&path[0]);
    ASSERT_EQ(Process(path, kStrict), ANALYZER_OK);
    EXPECT_STREQ(info.title, "Mixed");
}

// The playing time of each conformance stream is that of the frames the decoder
// decodes from it.
TEST_F(AnalyzerTest, ConformanceStreamsLastAsLongAsTheirDecoding)
{
    std::string data = TestDataFolder("mpeg");
    ZYM_NEED_TEST_DATA(data, "mpeg");
    DIR* dir = opendir(data.c_str());
    ASSERT_NE(dir, nullptr);
    int streams = 0;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".bit") != 0)
            continue;
        SCOPED_TRACE(name);
        MemoryInput input;
        input.bytes = ReadFileBytes(data + "/" + name);
        DecodedStream decoded = DecodeStream(input);
        if (decoded.frames.empty()) {
            // Free format, which neither decodes nor has a frame size to walk by.
            EXPECT_EQ(Process(WindowsPath(data + "/" + name), kLenient), ANALYZER_E_NOT_MPEG);
            continue;
        }
        unsigned long long samples = 0;
        for (const MpegFrameOutput& frame : decoded.frames)
            samples += frame.sampleCount / frame.channels;
        ASSERT_EQ(Process(WindowsPath(data + "/" + name), kLenient), ANALYZER_OK);
        EXPECT_EQ(info.length, (unsigned)(samples * 1000 / decoded.frames[0].frequency));
        streams++;
    }
    closedir(dir);
    EXPECT_GT(streams, 10);
}

} // namespace
