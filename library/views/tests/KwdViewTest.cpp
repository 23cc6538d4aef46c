// The keyword view in a frame on a test document: the double-click
// transitions, the states a selection fills in, legend and banner texts,
// changes written into the records, renaming, new and deleted keywords, and
// the read-only view.
#include "tests/support/views/ViewFixture.h"

#include "tests/support/MessageBoxScript.h"

#include "library/views/KwdView.h"
#include "library/views/ViewResources.h"

namespace {

CViewsTestApp g_app;

const char kA[] = "000000000000000A"; // changer 0, three tracks
const char kB[] = "000000000000000B"; // changer 0, two tracks

TEST(KeywordCtrlTest, DoubleClickTransitionsByModeAndState)
{
    // The initial state is used from state 0 unless it is 0 too.
    struct Row
    {
        int mode;
        int fromNone, fromNoneInitial2, from1, from2, from3, from4;
    } rows[] = {
        {kModeOneAlbum, 1, 2, 0, 0, 0, 1},
        {kModeTracksOfOneAlbum, 3, 2, 0, 0, 1, 3},
        {kModeAlbums, 1, 2, 0, 1, 1, 1},
        {kModeTracks, 3, 2, 0, 1, 1, 3},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE("mode " + std::to_string(row.mode));
        EXPECT_EQ(row.fromNone, CKeywordCtrl::NextState(row.mode, 0, 0));
        EXPECT_EQ(row.fromNoneInitial2, CKeywordCtrl::NextState(row.mode, 0, 2));
        EXPECT_EQ(row.from1, CKeywordCtrl::NextState(row.mode, 1, 1));
        EXPECT_EQ(row.from2, CKeywordCtrl::NextState(row.mode, 2, 2));
        EXPECT_EQ(row.from3, CKeywordCtrl::NextState(row.mode, 3, 3));
        EXPECT_EQ(row.from4, CKeywordCtrl::NextState(row.mode, 4, 4));
    }
}

class KwdViewTest : public ::testing::Test
{
protected:
    KwdViewTest()
    {
        m_doc.AddAlbum(kA, 0, 1, true, 3);
        m_doc.AddAlbum(kB, 0, 2, true, 2);
    }

    CKwdView* Open()
    {
        m_frame.reset(new CViewFrame(m_doc, RUNTIME_CLASS(CKwdView)));
        return static_cast<CKwdView*>(m_frame->GetView());
    }
    CMasterKeyword& Master() { return m_doc.m_library.GetMasterKeywords(); }
    void Tag(const char* id, int track, const char* keyword)
    {
        CLibraryLock lock(m_doc.m_library);
        AlbumRecord* album = m_doc.m_library.GetAlbumPtr(lock, m_doc.m_library.FindAlbumIndex(id));
        album->AddKeyword(track, Master().GetOrAddKeyword(keyword));
        m_doc.m_library.UpdateKeywordTexts(*album);
    }
    // The record's keyword text as the next save writes it.
    std::string KeywordText(const char* id, int track)
    {
        CLibraryLock lock(m_doc.m_library);
        AlbumRecord* album = m_doc.m_library.GetAlbumPtr(lock, m_doc.m_library.FindAlbumIndex(id));
        m_doc.m_library.UpdateKeywordTexts(*album);
        return (LPCSTR)album->GetKeywordText(track);
    }
    void Select(const std::vector<std::pair<const char*, int>>& entries)
    {
        m_doc.m_selection.Clear();
        for (const auto& entry : entries)
            m_doc.m_selection.AddItem(CLibItem(entry.first, entry.second));
        m_doc.UpdateAllViews(nullptr, kViewHintSelection);
    }
    int RowOf(CKwdView& view, const char* keyword)
    {
        return view.GetKeywordCtrl().FindRow(Master().FindKeyword(keyword));
    }
    int Image(CKwdView& view, const char* keyword)
    {
        LVITEMA item = {};
        item.mask = LVIF_IMAGE;
        item.iItem = RowOf(view, keyword);
        view.GetKeywordCtrl().GetItem(&item);
        return item.iImage;
    }
    void DoubleClick(CKwdView& view, const char* keyword)
    {
        CRect rect;
        view.GetKeywordCtrl().GetItemRect(RowOf(view, keyword), &rect, LVIR_LABEL);
        view.GetKeywordCtrl().SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON,
                                          MAKELPARAM(rect.left + 2, rect.CenterPoint().y));
    }
    std::vector<std::string> Legend(CKwdView& view)
    {
        std::vector<std::string> lines;
        for (int row = 0; row < view.GetLegend().GetItemCount(); ++row)
        {
            LVITEMA item = {};
            char text[64] = "";
            item.mask = LVIF_TEXT | LVIF_IMAGE;
            item.iItem = row;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            view.GetLegend().GetItem(&item);
            lines.push_back(std::string(text) + " " + std::to_string(item.iImage));
        }
        return lines;
    }
    // An in-place rename as the user types it.
    void Rename(CKwdView& view, int row, const char* text)
    {
        CEdit* edit = view.GetKeywordCtrl().EditLabel(row);
        ASSERT_TRUE(edit != nullptr);
        edit->SetWindowText(text);
        edit->SendMessage(WM_KEYDOWN, VK_RETURN, 0);
        PumpMessages();
    }

    CTestViewsDoc m_doc;
    std::unique_ptr<CViewFrame> m_frame;
};

TEST_F(KwdViewTest, AKeywordOfSomeAlbumsDoubleClickedGoesOnAllOfThem)
{
    Tag(kA, -1, "rock");
    Tag(kA, 0, "live");
    CKwdView* view = Open();
    ASSERT_TRUE(view != nullptr);
    Select({{kA, -1}, {kB, -1}});
    EXPECT_EQ(kModeAlbums, view->GetKeywordCtrl().GetMode());
    EXPECT_EQ(1, Image(*view, "rock")) << "some albums";
    EXPECT_EQ(7, Image(*view, "live")) << "some tracks";
    EXPECT_EQ(I_IMAGENONE, Image(*view, "jazz"));

    DoubleClick(*view, "rock");
    EXPECT_EQ(0, Image(*view, "rock")) << "all albums";
    EXPECT_TRUE(view->GetKeywordCtrl().HasChanges());
    EXPECT_EQ("", KeywordText(kB, -1)) << "written only when the selection changes";

    Select({{kB, 0}});
    EXPECT_EQ("rock", KeywordText(kA, -1));
    EXPECT_EQ("rock", KeywordText(kB, -1));
    EXPECT_TRUE(m_doc.m_library.IsModified());
    EXPECT_EQ(0, Image(*view, "rock")) << "the track's album carries it";
}

TEST_F(KwdViewTest, TracksTakeAndLoseKeywords)
{
    Tag(kA, 1, "female");
    CKwdView* view = Open();
    ASSERT_TRUE(view != nullptr);
    Select({{kA, 0}, {kA, 1}});
    EXPECT_EQ(kModeTracksOfOneAlbum, view->GetKeywordCtrl().GetMode());
    EXPECT_EQ(7, Image(*view, "female"));
    DoubleClick(*view, "female"); // some tracks -> all tracks
    DoubleClick(*view, "acoustic"); // none -> all tracks
    EXPECT_EQ(6, Image(*view, "female"));
    Select({});
    EXPECT_EQ("female acoustic", KeywordText(kA, 0));
    EXPECT_EQ("female acoustic", KeywordText(kA, 1));
    EXPECT_EQ("", KeywordText(kA, 2));

    Select({{kA, 1}});
    DoubleClick(*view, "female"); // all tracks -> album
    DoubleClick(*view, "female"); // album -> none
    Select({});
    EXPECT_EQ("acoustic", KeywordText(kA, 1));
    EXPECT_EQ("female acoustic", KeywordText(kA, 0)) << "other tracks keep theirs";
}

TEST_F(KwdViewTest, LegendAndBannerNameTheSelection)
{
    CKwdView* view = Open();
    ASSERT_TRUE(view != nullptr);
    struct Case
    {
        std::vector<std::pair<const char*, int>> selection;
        std::vector<std::string> legend;
        const char* caption;
    } cases[] = {
        {{}, {"Album 0", "All tracks 6", "Some tracks 7"}, "Keywords"},
        {{{kA, -1}}, {"Album 0", "All tracks 6", "Some tracks 7"}, "Album Keywords for Album A"},
        {{{kA, 2}}, {"Album 0", "Tracks 6"}, "Track Keywords for A track 2"},
        {{{kA, 0}, {kA, 2}}, {"Album 0", "All tracks 6", "Some tracks 7"}, "Keywords for Album A"},
        {{{kA, -1}, {kB, -1}}, {"All albums 0", "Some albums 1"}, "Keywords for Selected Albums"},
        {{{kA, -1}, {kB, 1}}, {"All albums 0", "Some albums 1", "All tracks 6", "Some tracks 7"},
         "Keywords for Selected Items"},
        {{{"00000000000000FF", -1}}, {"Album 0", "All tracks 6", "Some tracks 7"}, "Keywords"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.caption);
        Select(c.selection);
        EXPECT_EQ(c.legend, Legend(*view));
        EXPECT_STREQ(c.caption, view->GetBanner().GetText());
    }
}

TEST_F(KwdViewTest, NewRenamedKeywordsAreStoredNormalised)
{
    Tag(kA, -1, "rock");
    CKwdView* view = Open();
    ASSERT_TRUE(view != nullptr);
    Select({{kA, -1}});
    view->GetKeywordCtrl().SendMessage(WM_COMMAND, ID_KEYWORD_NEW);
    PumpMessages();
    int row = RowOf(*view, "new_keyword");
    ASSERT_GE(row, 0);
    Rename(*view, row, "Hip Hop");
    EXPECT_STREQ("hip_hop", view->GetKeywordCtrl().GetItemText(row, 0));
    Rename(*view, row, "Drum Bass");
    EXPECT_EQ(row, RowOf(*view, "drum_bass"));

    // A comma would split the name when the record's text is read back.
    Rename(*view, RowOf(*view, "rock"), "Rock, Roll");
    EXPECT_EQ("rock__roll", KeywordText(kA, -1));
    CKeywordList reread = Master().ParseKeywordList(KeywordText(kA, -1).c_str());
    EXPECT_EQ(1, reread.GetCount());

    // An empty name changes nothing; a long one is kept whole.
    Rename(*view, row, "");
    EXPECT_EQ(row, RowOf(*view, "drum_bass"));
    std::string longName(2000, 'k');
    Rename(*view, row, longName.c_str());
    EXPECT_GE(RowOf(*view, longName.c_str()), 0);
}

TEST_F(KwdViewTest, DeleteAsksAndRemovesTheKeywordFromTheTexts)
{
    Tag(kA, -1, "rock");
    Tag(kA, -1, "live");
    CKwdView* view = Open();
    ASSERT_TRUE(view != nullptr);
    Select({{kA, -1}});
    CKeywordCtrl& list = view->GetKeywordCtrl();
    int count = list.GetItemCount();
    list.SetItemState(RowOf(*view, "rock"), LVIS_SELECTED, LVIS_SELECTED);
    {
        CMessageBoxScript boxes;
        boxes.Then(IDNO);
        list.SendMessage(WM_COMMAND, ID_KEYWORD_DELETE);
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ("Are you sure you want to lose the keyword rock?", boxes.Shown()[0].text);
        EXPECT_EQ(count, list.GetItemCount());
    }
    CMessageBoxScript boxes;
    boxes.Then(IDYES);
    list.SendMessage(WM_COMMAND, ID_KEYWORD_DELETE);
    EXPECT_EQ(count - 1, list.GetItemCount());
    EXPECT_LT(RowOf(*view, "rock"), 0);
    EXPECT_EQ("live", KeywordText(kA, -1));
}

TEST_F(KwdViewTest, DisabledEditingMakesTheListReadOnly)
{
    m_doc.m_editingDisabled = true;
    CKwdView* view = Open();
    ASSERT_TRUE(view != nullptr);
    Select({{kA, -1}});
    CKeywordCtrl& list = view->GetKeywordCtrl();
    EXPECT_TRUE(list.IsReadOnly());
    int count = list.GetItemCount();
    DoubleClick(*view, "rock");
    list.SendMessage(WM_COMMAND, ID_KEYWORD_NEW);
    EXPECT_EQ(I_IMAGENONE, Image(*view, "rock"));
    EXPECT_EQ(count, list.GetItemCount());
    EXPECT_EQ(nullptr, list.EditLabel(RowOf(*view, "rock")));

    m_doc.UpdateAllViews(nullptr, kViewHintEditingEnabled);
    DoubleClick(*view, "rock");
    EXPECT_EQ(0, Image(*view, "rock"));
}

} // namespace
