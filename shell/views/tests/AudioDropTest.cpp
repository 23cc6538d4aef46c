// Audio files dropped from the shell on the album and track lists become
// tracks of the audio-file album, in the order they were dropped.
#include "shell/views/tests/ShellViewFixture.h"

#include "shell/views/AlbumListView.h"
#include "tests/support/audio/AudioFiles.h"
#include "tests/support/MessageBoxScript.h"
#include "shell/views/TrackListView.h"

#include <stdio.h>

namespace {

const char kAlbum[] = "00000000000000A1";
const char kDisc[] = "00000000000000C1";

class AudioDropTest : public ShellViewFixture
{
protected:
    void SetUp() override
    {
        CMessageBoxScript boxes;
        m_doc->RunStartup();
        ASSERT_TRUE(m_doc->GetAnalyzer() != nullptr);
        AddAlbum(kAlbum, "Files", 2, true);
        AddAlbum(kDisc, "Disc", 2, false);
        for (const char* title : {"one", "two", "three"})
            m_files.push_back(Write(title));
        // A name too long to take is passed over.
        m_files.push_back("Z:\\" + std::string(300, 'x') + ".mp3");
    }
    // A short MP3 file whose tag names its title.
    std::string Write(const char* title)
    {
        Bytes bytes = Concat({Layer3Frames(4), Id3v1Tag(title, "Band", "Files", "2001", "")});
        std::string name = std::string(title) + ".mp3";
        FILE* file = fopen(m_folder.UnixPath(name.c_str()).c_str(), "wb");
        EXPECT_TRUE(file != nullptr);
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
        return m_folder.WindowsPath(name.c_str());
    }

    std::vector<std::string> m_files;
};

TEST_F(AudioDropTest, FilesDroppedOnTheTrackListKeepTheirOrder)
{
    CTrackListView* view = Show<CTrackListView>(RUNTIME_CLASS(CTrackListView));
    m_doc->GetSelectionList().AddItem(CLibItem(kAlbum, kWholeAlbum));
    m_doc->UpdateAllViews(NULL, kViewHintSelection);
    struct Case
    {
        int position;
        Texts titles;
    };
    const Case cases[] = {
        {CTrackListView::kAtEnd, {"T1", "T2", "one", "two", "three"}},
        {1, {"T1", "one", "two", "three", "T2", "one", "two", "three"}},
        {0, {"one", "two", "three", "T1", "one", "two", "three", "T2", "one", "two", "three"}},
    };
    HDROP drop = MakeDrop(m_files);
    for (const Case& c : cases)
    {
        CMessageBoxScript boxes;
        view->DropFiles(drop, c.position);
        EXPECT_EQ(c.titles, TrackTitles(kAlbum)) << c.position;
        EXPECT_EQ(0, boxes.Unscripted()) << c.position;
    }
    GlobalFree(drop);
}

TEST_F(AudioDropTest, FilesDroppedOnAnAlbumRowGoToItsEnd)
{
    CAlbumListView* view = Show<CAlbumListView>(RUNTIME_CLASS(CAlbumListView));
    HDROP drop = MakeDrop(m_files);
    {
        CMessageBoxScript boxes;
        view->DropFiles(drop, 0);
        EXPECT_EQ((Texts{"T1", "T2", "one", "two", "three"}), TrackTitles(kAlbum));
    }
    {
        CMessageBoxScript boxes;
        boxes.Then(IDOK).Then(IDOK).Then(IDOK);
        view->DropFiles(drop, 1);
        EXPECT_EQ((Texts{"T1", "T2"}), TrackTitles(kDisc)) << "a CD album takes no files";
        ASSERT_FALSE(boxes.Shown().empty());
        EXPECT_EQ("You can only drop audio files into an audio file album, not a CD", boxes.Shown()[0].text);
    }
    view->DropFiles(drop, -1);
    GlobalFree(drop);
}

} // namespace
