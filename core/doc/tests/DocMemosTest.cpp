// Memo transfer between the library and simulated changers: the memos and
// delete marks a changer keeps come down into the library's albums, only
// from changers with memo functions and only for slots they have; uploads go
// to the changers with all memo functions; a cancel ends the download.
#include "core/doc/tests/ChangerDocFixture.h"

#include "core/doc/DocMemos.h"

#include <algorithm>

namespace {

const int kQueryMemoText = 0x40;
const int kQueryDeleteFile = 0x41;
const int kSetMemoText = 0x80;

class DocMemosTest : public ChangerDocFixture
{
protected:
    // Changer 1 (type 11, 20 slots) keeps memos; changer 2 (type 0) has none.
    void StartTwoChangers()
    {
        CChangerModel& memos = AddChanger(11, 20);
        ChangerDisc disc = Disc({ 100, 110, 120 });
        disc.memo = "Kept Memo";
        disc.deleteFile = std::string(1, char(0x05));   // tracks 1 and 3 play
        memos.SetDisc(3, disc);
        disc = Disc({ 130, 140 });
        disc.memo = "Four";
        memos.SetDisc(4, disc);
        AddChanger(0, 5).SetDisc(2, Disc({ 150 }));
        Start();
        AddAlbum({ 100, 110, 120 }, 0, 3, "Three");
        AddAlbum({ 130, 140 }, 0, 4, "Four");
        AddAlbum({ 160 }, 0, 150, "Beyond");
        AddAlbum({ 150 }, 1, 2, "Plain");
        m_unit.ClearReceived();
    }

    std::vector<bool> NeverPlay(const AlbumRecord& album)
    {
        std::vector<bool> marks;
        for (int t = 0; t < album.GetTrackCount(); ++t)
            marks.push_back(album.GetNeverPlay(t));
        return marks;
    }
};

TEST_F(DocMemosTest, MemosAndDeleteMarksComeDownFromChangersThatKeepThem)
{
    StartTwoChangers();
    CDocMemos memos(*m_doc);
    memos.DownloadMemos(*memos.BuildAllAlbumsList());
    AlbumRecord three = AlbumAt(0, 3);
    EXPECT_EQ(CString("Kept Memo"), three.GetMemo(kAlbumIndex));
    EXPECT_EQ(std::vector<bool>({ false, true, false }), NeverPlay(three));
    EXPECT_EQ(CString("Four"), AlbumAt(0, 4).GetMemo(kAlbumIndex));
    // The changer has no delete file for slot 4: its marks stay.
    EXPECT_EQ(std::vector<bool>({ false, false }), NeverPlay(AlbumAt(0, 4)));
    // Slot 150 lies beyond the changer's 20; changer 2 has no memo functions.
    EXPECT_EQ(1u, CountWords(0, kQueryMemoText, { 0x03 }));
    EXPECT_EQ(1u, CountWords(0, kQueryDeleteFile, { 0x03 }));
    EXPECT_EQ(0u, CountWords(0, kQueryMemoText, { 150 + 54 }));
    EXPECT_EQ(0u, CountWords(1, kQueryMemoText, { 0x02 }));
    Texts trace = m_trace.Take();
    EXPECT_NE(trace.end(), std::find(trace.begin(), trace.end(), "task Downloading Player Info to CD Library"));
    EXPECT_NE(trace.end(), std::find(trace.begin(), trace.end(), "status P1 D3 Three / "));
    EXPECT_EQ(1, m_doc->GetPollPlayerStatus());
    Close();
}

TEST_F(DocMemosTest, TheListsOfAlbums)
{
    StartTwoChangers();
    CDocMemos memos(*m_doc);
    auto ids = [](const CPlayList& list) {
        std::vector<std::string> found;
        for (int i = 0; i < list.GetCount(); ++i)
            found.push_back(std::string(list.GetItem(i).GetId()));
        return found;
    };
    std::vector<std::string> present = ids(*memos.BuildPresentAlbumList());
    std::vector<std::string> all = ids(*memos.BuildAllAlbumsList());
    EXPECT_EQ(std::vector<std::string>({ all[0], all[1], all[3] }), present);
    EXPECT_EQ(4u, all.size());
    Close();
}

TEST_F(DocMemosTest, ACancelEndsTheDownloadAfterTheAlbumInHand)
{
    StartTwoChangers();
    CCancelAtStatus cancel(m_doc->GetTaskMgr(), "P1 D3 Three / ");
    m_doc->GetTaskMgr().AddListener(&cancel);
    CDocMemos memos(*m_doc);
    memos.OnDownloadAllMemos();
    EXPECT_EQ(0u, CountWords(0, kQueryMemoText, { 0x04 }));
    EXPECT_EQ(CString(""), AlbumAt(0, 4).GetMemo(kAlbumIndex));
    EXPECT_EQ(1, m_doc->GetPollPlayerStatus());
    Close();
}

TEST_F(DocMemosTest, UploadsGoToChangersWithEveryMemoFunction)
{
    StartTwoChangers();
    CDocMemos memos(*m_doc);
    const std::string setMemo = CTavlinSimulator::Bytes({ 0x90, kSetMemoText });
    memos.OnUploadSelectedMemos();   // nothing selected
    EXPECT_EQ(std::string::npos, m_unit.Received().find(setMemo));
    memos.OnUploadAllMemos();
    m_bus.Inspect(0, [](CChangerModel& changer) {
        EXPECT_EQ("Three        ", changer.Memo(3));
        EXPECT_EQ(std::string(13, ' '), changer.Memo(1));   // cleared: all slots were written
        return 0;
    });
    std::string words = m_unit.Received();
    EXPECT_EQ(std::string::npos, words.find(CTavlinSimulator::Bytes({ 0x91, kSetMemoText })));
    Close();
}

// Type 3 has two of the three memo bits: enough to be asked, not to be written.
TEST_F(DocMemosTest, SomeMemoFunctionsAreEnoughForADownloadButNotForAnUpload)
{
    ChangerDisc disc = Disc({ 100 });
    disc.memo = "Partial";
    AddChanger(3, 5).SetDisc(1, disc);
    Start();
    AddAlbum({ 100 }, 0, 1, "One");
    m_unit.ClearReceived();
    CDocMemos memos(*m_doc);
    memos.OnDownloadAllMemos();
    EXPECT_EQ(CString("Partial"), AlbumAt(0, 1).GetMemo(kAlbumIndex));
    memos.OnUploadAllMemos();
    EXPECT_EQ(std::string::npos, m_unit.Received().find(CTavlinSimulator::Bytes({ 0x90, kSetMemoText })));
    Close();
}

} // namespace
