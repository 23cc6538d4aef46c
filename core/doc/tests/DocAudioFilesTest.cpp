// Audio files added to an album of the MP3 player: tags and lengths through the
// real analyser from files the test writes (and from mutagen, a writer of its
// own), the year and length rules, names without tags, bad files, albums that
// are not audio-file albums or are gone, and the add-file dialog.
#include "tests/support/doc/DocFixture.h"
#include "tests/support/MessageBoxScript.h"

#include "tests/support/audio/AudioFiles.h"
#include "tests/support/HostProgram.h"

#include "core/doc/AddMP3Dlg.h"
#include "core/doc/DocAudioFiles.h"
#include "core/doc/DocCommandTargets.h"
#include "core/doc/DocResource.h"

#include <stdio.h>
#include <sys/stat.h>

namespace {

const char kAlbum[] = "00000000000000A1";

class DocAudioFilesTest : public DocFixture
{
protected:
    void SetUp() override
    {
        Open();
        CMessageBoxScript boxes;
        m_doc->RunStartup();
        ASSERT_TRUE(m_doc->GetAnalyzer() != nullptr);
        AddMp3Album(kAlbum, 2);
        m_trace.Take();
    }

    std::string Write(const char* name, const Bytes& bytes)
    {
        FILE* file = fopen(m_folder.UnixPath(name).c_str(), "wb");
        EXPECT_TRUE(file != nullptr);
        if (file)
        {
            fwrite(bytes.data(), 1, bytes.size(), file);
            fclose(file);
        }
        return m_folder.WindowsPath(name);
    }

    BOOL Add(const std::string& path, int position)
    {
        return Files().AddAudioFiles(CLibItem(kAlbum, kWholeAlbum), path.c_str(), position);
    }

    CDocAudioFiles& Files() { return m_doc->GetCommandTargets().library.GetAudioFiles(); }

    AlbumRecord Album(const char* id = kAlbum)
    {
        AlbumRecord album;
        EXPECT_TRUE(m_doc->GetMusicLibrary().GetAlbumAt(m_doc->GetMusicLibrary().FindAlbumIndex(id), album));
        return album;
    }

    const TrackRecord& Track(const AlbumRecord& album, int track) { return *album.GetRecord(track); }
};

struct TagCase
{
    const char* name;
    Bytes file;
    const char* title;
    const char* artist;
    const char* notes;
    int releaseYear; // 0: none
    int minutes, seconds, frames;
};

TEST_F(DocAudioFilesTest, TagsAndLengthsBecomeTheTracksTexts)
{
    const int kFrames = 200;
    unsigned ms = Layer3Milliseconds(kFrames);
    int sec = static_cast<int>(ms / 1000), fr = static_cast<int>(ms * 75ull / 1000 % 75);
    int xingMs = static_cast<int>(Layer3Milliseconds(23000));
    ASSERT_EQ(10, xingMs / 60000);
    const TagCase cases[] = {
        { "v1.mp3", Concat({ Layer3Frames(kFrames), Id3v1Tag("Song", "Singer", "Record", "99", "nice") }),
          "Song", "Singer", "Album: Record\r\nYear: 99\r\nnice\r\n", 1999, 0, sec, fr },
        { "v23.mp3",
          Concat({ Id3v2Tag(3, { { "TIT2", 0, "Title 3" }, { "TYER", 0, "05" }, { "COMM", 0, "a\nb" } }),
                   Layer3Frames(kFrames) }),
          "Title 3", "", "Year: 05\r\na\r\nb\r\n", 2005, 0, sec, fr },
        { "v24.mp3",
          Concat({ Id3v2Tag(4, { { "TIT2", 3, "\xC3\x89t\xC3\xA9" }, { "TPE1", 3, "Band" }, { "TDRC", 3, "2001-05-03" } }),
                   Layer3Frames(kFrames) }),
          "\xC9t\xE9", "Band", "Year: 2001-05-03\r\n", 2001, 0, sec, fr },
        { "old_year.mp3", Concat({ Layer3Frames(kFrames), Id3v1Tag("Old", "", "", "1750", "") }), "Old", "",
          "Year: 1750\r\n", 0, 0, sec, fr },
        // A Xing frame that counts 23,000 frames: ten minutes and a bit.
        { "vbr.mp3", XingStream(1, 23000, 10), "vbr", "", "", 0, xingMs / 60000, xingMs / 1000 % 60,
          static_cast<int>(xingMs * 75ull / 1000 % 75) },
        { "my_song.wav", Layer3Frames(kFrames), "my song", "", "", 0, 0, 0, 1 },
    };
    for (const TagCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        CMessageBoxScript boxes;
        std::string path = Write(c.name, c.file);
        ASSERT_TRUE(Add(path, 99));
        AlbumRecord album = Album();
        const TrackRecord& track = Track(album, album.GetTrackCount() - 1);
        EXPECT_EQ(c.title, std::string(track.m_title));
        EXPECT_EQ(c.artist, std::string(track.m_artist));
        EXPECT_EQ(c.notes, std::string(track.m_notes));
        CString lower(path.c_str());
        lower.MakeLower();
        EXPECT_EQ(std::string(lower), std::string(track.m_soundFile));
        EXPECT_EQ(c.releaseYear != 0, IsDateSet(track.m_released));
        if (c.releaseYear)
            EXPECT_EQ(c.releaseYear, track.m_released.GetYear());
        EXPECT_TRUE(IsDateSet(track.m_added));
        EXPECT_EQ(c.minutes, track.m_minutes);
        EXPECT_EQ(c.seconds, track.m_seconds);
        EXPECT_EQ(c.frames, track.m_frames);
        EXPECT_TRUE(boxes.Shown().empty());
    }
    EXPECT_TRUE(m_doc->GetMusicLibrary().IsModified());
}

TEST(TagYearTest, ShortYearsAreCenturiesAndEarlyYearsNone)
{
    const struct
    {
        const char* text;
        int year;
    } cases[] = { { "99", 1999 }, { "15", 1915 }, { "14", 2014 }, { "05", 2005 }, { "1", 2001 },
                  { "0", 0 },     { "", 0 },      { "1750", 0 },  { "1800", 0 }, { "1801", 1801 },
                  { "2001-05-03", 2001 }, { "abc", 0 }, { "100", 0 }, { "-5", 0 } };
    for (const auto& c : cases)
        EXPECT_EQ(c.year, TagYear(c.text)) << c.text;
}

TEST(TrackLengthTest, MillisecondsBecomeMinutesSecondsAndFrames)
{
    const struct
    {
        unsigned ms;
        int minutes, seconds, frames;
    } cases[] = { { 0, 0, 0, 1 }, { 1, 0, 0, 0 }, { 999, 0, 0, 74 }, { 61013, 1, 1, 0 },
                  { 300000, 5, 0, 0 }, { 4294967295u, 71582, 47, 22 } };
    for (const auto& c : cases)
    {
        TrackRecord track;
        SetTrackLength(track, c.ms);
        EXPECT_EQ(c.minutes, track.m_minutes) << c.ms;
        EXPECT_EQ(c.seconds, track.m_seconds) << c.ms;
        EXPECT_EQ(c.frames, track.m_frames) << c.ms;
    }
}

// Tags from mutagen, which writes ID3v2.3 and ID3v2.4 in its own way.
TEST_F(DocAudioFilesTest, TagsOfAnIndependentWriter)
{
    const char* script = "import sys\n"
                         "from mutagen.id3 import ID3, TIT2, TPE1, TALB, TDRC, COMM\n"
                         "path, version = sys.argv[1], int(sys.argv[2])\n"
                         "t = ID3()\n"
                         "t.add(TIT2(encoding=3, text='Mutated'))\n"
                         "t.add(TPE1(encoding=3, text='Writer'))\n"
                         "t.add(TALB(encoding=3, text='Set'))\n"
                         "t.add(TDRC(encoding=3, text='1999'))\n"
                         "t.add(COMM(encoding=3, lang='eng', desc='', text='one\\ntwo'))\n"
                         "t.save(path, v2_version=version)\n";
    for (int version : { 3, 4 })
    {
        SCOPED_TRACE(version);
        std::string path = Write("mutagen.mp3", Layer3Frames(40));
        ASSERT_TRUE(RunHostProgram({ "/usr/bin/python3", "-c", script, m_folder.UnixPath("mutagen.mp3"),
                                     std::to_string(version) }));
        ASSERT_TRUE(Add(path, 0));
        AlbumRecord album = Album();
        const TrackRecord& track = Track(album, 0);
        EXPECT_EQ("Mutated", std::string(track.m_title));
        EXPECT_EQ("Writer", std::string(track.m_artist));
        EXPECT_EQ("Album: Set\r\nYear: 1999\r\none\r\ntwo\r\n", std::string(track.m_notes));
        EXPECT_EQ(1999, track.m_released.GetYear());
    }
}

// Files the analyser cannot read are added all the same, named after the
// file, after a message that says why.
TEST_F(DocAudioFilesTest, BadFilesAreAddedAfterTheirMessage)
{
    Bytes cutTag = Id3v2Tag(3, { { "TIT2", 0, "Cut" } });
    cutTag.resize(cutTag.size() / 2);
    Bytes hugeTag = Id3v2Tag(3, { { "TIT2", 0, "Huge" } });
    hugeTag[6] = hugeTag[7] = hugeTag[8] = hugeTag[9] = 0x7F; // size past the end
    Bytes overlong = Concat({ Id3v2Tag(3, { { "TIT2", 0, std::string(5000, 'x') } }), Layer3Frames(20) });
    const struct
    {
        const char* name;
        Bytes file;
        const char* box;
        const char* title;
    } cases[] = {
        { "empty.mp3", Bytes(), "XA Error -", "empty" },
        { "text_file.mp3", Bytes(3000, 'a'), "XA Error -", "text file" },
        { "cut_tag.mp3", cutTag, "XA Error -", nullptr },
        { "huge_tag.mp3", Concat({ hugeTag, Layer3Frames(5) }), "XA Error -", nullptr },
        { "overlong.mp3", overlong, nullptr, nullptr },
        { "missing.mp3", Bytes(), "XA Error -2", "missing" },
    };
    int expectedTracks = Album().GetTrackCount();
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::string path = std::string(c.name) == "missing.mp3" ? m_folder.WindowsPath(c.name) : Write(c.name, c.file);
        CMessageBoxScript boxes;
        ASSERT_TRUE(Add(path, 0));
        ++expectedTracks;
        AlbumRecord album = Album();
        EXPECT_EQ(expectedTracks, album.GetTrackCount());
        if (c.box)
        {
            ASSERT_EQ(1u, boxes.Shown().size());
            EXPECT_EQ(0u, boxes.Shown()[0].text.find(c.box)) << boxes.Shown()[0].text;
            if (c.title)
                EXPECT_EQ(c.title, std::string(Track(album, 0).m_title));
        }
        else
        {
            EXPECT_TRUE(boxes.Shown().empty());
            EXPECT_EQ(255u, std::string(Track(album, 0).m_title).size());
        }
    }
}

TEST_F(DocAudioFilesTest, OnlyAudioFileAlbumsThatExistTakeFiles)
{
    AddChangerAlbum("00000000000000C1", 0, 3);
    std::string path = Write("song.mp3", Layer3Frames(10));
    CMessageBoxScript boxes;
    EXPECT_FALSE(Files().AddAudioFiles(CLibItem("00000000000000C1", kWholeAlbum), path.c_str(), 0));
    EXPECT_FALSE(Files().AddAudioFiles(CLibItem("00000000000000FF", kWholeAlbum), path.c_str(), 0));
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("You can only drop audio files into an audio file album, not a CD", boxes.Shown()[0].text);
    EXPECT_EQ(2, Album("00000000000000C1").GetTrackCount());
}

// The position is clamped to the album; a URL is added by its name, unread.
TEST_F(DocAudioFilesTest, PositionsAreClampedAndAddressesKeptAsNamed)
{
    CMessageBoxScript boxes;
    std::string first = Write("first.mp3", Layer3Frames(5));
    std::string last = Write("last.mp3", Layer3Frames(5));
    ASSERT_TRUE(Add(first, -7));
    ASSERT_TRUE(Add(last, 1000));
    ASSERT_TRUE(Add("http://radio.example/Live_Show.mp3", 1));
    AlbumRecord album = Album();
    ASSERT_EQ(5, album.GetTrackCount());
    EXPECT_EQ("first", std::string(album.GetTitle(0)));
    EXPECT_EQ("live show", std::string(album.GetTitle(1)));
    EXPECT_EQ("http://radio.example/live_show.mp3", std::string(album.GetFileLocation(1)));
    EXPECT_EQ("last", std::string(album.GetTitle(4)));
    EXPECT_TRUE(boxes.Shown().empty());
}

// The path is lower-cased before it is read: Wine finds the file in a folder
// of mixed case all the same.
TEST_F(DocAudioFilesTest, ALowerCasedPathIntoAMixedCaseFolder)
{
    ASSERT_EQ(0, mkdir(m_folder.UnixPath("Mixed Case").c_str(), 0700));
    std::string path = Write("Mixed Case/Tagged.MP3", Concat({ Layer3Frames(10), Id3v1Tag("Found", "", "", "", "") }));
    CMessageBoxScript boxes;
    ASSERT_TRUE(Add(path, 0));
    EXPECT_EQ("Found", std::string(Album().GetTitle(0)));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(DocAudioFilesTest, ANewAudioFileAlbumIsSelectedAlone)
{
    CPlayList& selection = m_doc->GetSelectionList();
    selection.AddItem(CLibItem(kAlbum, 0));
    int albums = m_doc->GetMusicLibrary().GetAlbumCount();
    m_doc->OnCmdMsg(ID_LIBRARY_CREATE_AUDIO_ALBUM, CN_COMMAND, nullptr, nullptr);
    ASSERT_EQ(albums + 1, m_doc->GetMusicLibrary().GetAlbumCount());
    ASSERT_EQ(1, selection.GetCount());
    CLibItem item = selection.GetItem(0);
    EXPECT_TRUE(item.IsWholeAlbum());
    AlbumRecord album = Album(item.GetId());
    EXPECT_EQ("Audio File Album", std::string(album.GetTitle(kAlbumIndex)));
    EXPECT_EQ(16, album.GetIdText().GetLength());
    EXPECT_EQ(kMp3Player, album.GetPlayer());
    EXPECT_EQ(0, album.GetSlot());
    EXPECT_EQ(0, album.GetTrackCount());
    EXPECT_EQ(kAlbumChanged, album.GetState());
    EXPECT_TRUE(IsDateSet(album.GetAdded(kAlbumIndex)));
    EXPECT_EQ(Texts({ "hint 12" }), m_trace.Take());
}

// A file of the analyser's library missing: files are added without tags.
TEST_F(DocAudioFilesTest, WithoutTheAnalyserFilesComeWithoutTags)
{
    Close();
    Open();
    AddMp3Album(kAlbum, 0);
    ASSERT_TRUE(m_doc->GetAnalyzer() == nullptr);
    std::string path = Write("plain_name.mp3", Concat({ Layer3Frames(10), Id3v1Tag("Tagged", "", "", "", "") }));
    CMessageBoxScript boxes;
    ASSERT_TRUE(Add(path, 0));
    EXPECT_EQ("plain name", std::string(Album().GetTitle(0)));
    EXPECT_TRUE(boxes.Shown().empty());
}

} // namespace
