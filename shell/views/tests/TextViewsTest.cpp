// The lyric, note and rating views on a real document: what the user typed
// or moved is stored for the item it was shown for, and for no other.
#include "shell/views/tests/ShellViewFixture.h"

#include "tests/support/DrivenDialog.h"
#include "shell/views/LyricView.h"
#include "shell/views/LyricsDlg.h"
#include "core/doc/OpenLink.h"
#include "shell/views/RatingView.h"
#include "shell/views/ViewsResources.h"

namespace {

const char kFirst[] = "00000000000000A1";
const char kSecond[] = "00000000000000B1";

class TextViewsTest : public ShellViewFixture
{
protected:
    TextViewsTest()
    {
        AddAlbum(kFirst, "First", 2, true);
        AddAlbum(kSecond, "Second", 2, true);
    }
    void SelectOnly(std::initializer_list<std::pair<const char*, int>> entries)
    {
        m_doc->GetSelectionList().Clear();
        for (const auto& entry : entries)
            m_doc->GetSelectionList().AddItem(CLibItem(entry.first, entry.second));
        m_doc->UpdateAllViews(NULL, kViewHintSelection);
    }
    static void Type(CEdit& edit, const char* text)
    {
        for (const char* c = text; *c; ++c)
            edit.SendMessage(WM_CHAR, static_cast<WPARAM>(*c), 1);
    }
    static std::string Text(CWnd& window)
    {
        CString text;
        window.GetWindowText(text);
        return std::string(text);
    }
    std::string Stored(const char* id, int track, bool lyrics)
    {
        AlbumRecord album;
        CMusicLibrary& library = m_doc->GetMusicLibrary();
        library.GetAlbumAt(library.FindAlbumIndex(id), album);
        return std::string(lyrics ? album.GetLyrics(track) : album.GetNotes(track));
    }
};

TEST_F(TextViewsTest, TypedTextIsStoredForItsItemWhenTheNextIsSelected)
{
    CLyricView* lyrics = Show<CLyricView>(RUNTIME_CLASS(CLyricView));
    CNoteView* notes = Show<CNoteView>(RUNTIME_CLASS(CNoteView));
    ASSERT_TRUE(lyrics && notes);
    SelectOnly({{kFirst, 0}});
    EXPECT_EQ("Track Lyrics for T1", std::string(lyrics->GetBanner().GetText()));
    EXPECT_EQ("Track Notes for T1", std::string(notes->GetBanner().GetText()));

    m_doc->GetMusicLibrary().SetModified(false);
    SelectOnly({{kFirst, 1}});
    EXPECT_FALSE(m_doc->GetMusicLibrary().IsModified()) << "nothing typed, nothing stored";

    Type(lyrics->GetEdit(), "la la");
    Type(notes->GetEdit(), "live");
    SelectOnly({{kSecond, -1}});
    EXPECT_TRUE(m_doc->GetMusicLibrary().IsModified());
    EXPECT_EQ("la la", Stored(kFirst, 1, true));
    EXPECT_EQ("live", Stored(kFirst, 1, false));
    EXPECT_EQ("", Stored(kSecond, -1, true));
    EXPECT_EQ("Album Lyrics for Second", std::string(lyrics->GetBanner().GetText()));
    EXPECT_EQ("Album Notes for Second", std::string(notes->GetBanner().GetText()));

    SelectOnly({{kFirst, 1}});
    EXPECT_EQ("la la", Text(lyrics->GetEdit()));
}

// Typing into the message shown without a single item reaches no item.
TEST_F(TextViewsTest, WithoutOneItemTheTextIsAReadOnlyMessage)
{
    CLyricView* view = Show<CLyricView>(RUNTIME_CLASS(CLyricView));
    struct Case
    {
        std::vector<std::pair<const char*, int>> selection;
        const char* text;
    };
    const Case cases[] = {
        {{}, "(Nothing Selected)"},
        {{{kFirst, 0}, {kFirst, 1}}, "(Multiple Items Selected)"},
        {{{"00000000000000F1", 0}}, "(Error)"},
    };
    for (const Case& c : cases)
    {
        SelectOnly({{kFirst, 0}});
        m_doc->GetSelectionList().Clear();
        for (const auto& entry : c.selection)
            m_doc->GetSelectionList().AddItem(CLibItem(entry.first, entry.second));
        m_doc->UpdateAllViews(NULL, kViewHintSelection);
        EXPECT_EQ(c.text, Text(view->GetEdit()));
        EXPECT_EQ("Lyrics", std::string(view->GetBanner().GetText()));
        EXPECT_TRUE(view->GetEdit().GetStyle() & ES_READONLY) << c.text;
        Type(view->GetEdit(), "x");
        SelectOnly({{kSecond, 0}});
        EXPECT_EQ("", Stored(kFirst, 0, true)) << c.text;
    }
    EXPECT_FALSE(view->GetEdit().GetStyle() & ES_READONLY);
    m_doc->UpdateAllViews(NULL, kViewHintEditingDisabled);
    EXPECT_TRUE(view->GetEdit().GetStyle() & ES_READONLY);
    m_doc->UpdateAllViews(NULL, kViewHintEditingEnabled);
    EXPECT_FALSE(view->GetEdit().GetStyle() & ES_READONLY);
}

namespace {
std::vector<std::string> g_opened;
BOOL RecordLink(const char* file, const char*, const char*)
{
    g_opened.push_back(file);
    return TRUE;
}
} // namespace

TEST_F(TextViewsTest, TheSiteButtonOpensTheLyricsSite)
{
    CLyricView* view = Show<CLyricView>(RUNTIME_CLASS(CLyricView));
    g_opened.clear();
    SetLinkOpener(RecordLink);
    view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_LYRICS_SITE, STN_CLICKED),
                      reinterpret_cast<LPARAM>(view->GetDlgItem(IDC_LYRICS_SITE)->m_hWnd));
    SetLinkOpener(nullptr);
    EXPECT_EQ(std::vector<std::string>{"http://lyrics.example/"}, g_opened);
    EXPECT_FALSE(view->GetDlgItem(IDC_SUBMIT_LYRICS)->IsWindowVisible());
}

TEST_F(TextViewsTest, AMovedSliderIsStoredForTheFirstAlbumOnly)
{
    CRatingView* view = Show<CRatingView>(RUNTIME_CLASS(CRatingView));
    ASSERT_TRUE(view);
    SelectOnly({{kFirst, -1}});
    EXPECT_EQ("Album Ratings for First", std::string(view->GetBanner().GetText()));
    EXPECT_TRUE(view->GetSlider(0).IsWindowEnabled());
    EXPECT_EQ(-20, view->GetSlider(0).GetRangeMin());
    EXPECT_EQ(20, view->GetSlider(0).GetRangeMax());
    m_doc->GetMusicLibrary().SetModified(false);
    view->GetSlider(0).SetPos(5);
    view->GetNeverPlay().SetCheck(BST_CHECKED);
    SelectOnly({{kSecond, 1}});
    EXPECT_TRUE(m_doc->GetMusicLibrary().IsModified());
    EXPECT_EQ("Track Ratings for T2", std::string(view->GetBanner().GetText()));

    CMusicLibrary& library = m_doc->GetMusicLibrary();
    AlbumRecord first, second;
    library.GetAlbumAt(0, first);
    library.GetAlbumAt(1, second);
    EXPECT_EQ((std::vector<int>{5, 0, 0, 0}),
              (std::vector<int>{first.GetRating(-1, 0), first.GetRating(-1, 1), first.GetRating(-1, 2),
                                first.GetRating(-1, 3)}));
    EXPECT_TRUE(first.GetNeverPlay(-1));
    EXPECT_EQ(0, second.GetRating(1, 0));
    EXPECT_FALSE(second.GetNeverPlay(1));
    EXPECT_EQ(0, view->GetSlider(0).GetPos());

    m_doc->GetMusicLibrary().SetModified(false);
    SelectOnly({{kFirst, -1}, {kSecond, -1}});
    EXPECT_FALSE(m_doc->GetMusicLibrary().IsModified()) << "nothing moved";
    EXPECT_EQ("Ratings", std::string(view->GetBanner().GetText()));
    EXPECT_FALSE(view->GetSlider(0).IsWindowEnabled());
    EXPECT_FALSE(view->GetNeverPlay().IsWindowEnabled());
}

TEST_F(TextViewsTest, LyricsDialogStartsAppendingToEmptyEntriesAndKeepsAPresetDisc)
{
    typedef CDriven<CLyricsDlg> CDrivenLyrics;
    const int scopeIds[] = {IDC_LYRICS_SCOPE_TRACK, IDC_LYRICS_SCOPE_DISC, IDC_LYRICS_SCOPE_ALL};
    for (int preset : {-1, 0, 1, 2})
    {
        SCOPED_TRACE(preset);
        CDrivenLyrics dialog;
        dialog.m_deleteOld = TRUE;
        dialog.m_onlyEmpty = FALSE;
        dialog.m_scope = preset;
        std::vector<int> checked;
        bool trackEnabled = false;
        dialog.m_steps = {[&](CDrivenLyrics& d) {
                              checked = {(int)d.IsDlgButtonChecked(IDC_LYRICS_DELETE_OLD),
                                         (int)d.IsDlgButtonChecked(IDC_LYRICS_ONLY_EMPTY)};
                              for (int id : scopeIds)
                                  checked.push_back((int)d.IsDlgButtonChecked(id));
                              trackEnabled = d.IsEnabled(IDC_LYRICS_SCOPE_TRACK);
                              d.Click(IDC_LYRICS_DELETE_OLD);
                              d.Click(IDC_LYRICS_SCOPE_ALL);
                          },
                          [](CDrivenLyrics& d) { d.Click(IDOK); }};
        EXPECT_EQ(IDOK, dialog.DoModal());
        std::vector<int> expected = {BST_UNCHECKED, BST_CHECKED, 0, 0, 0};
        if (preset >= 0)
            expected[2 + preset] = BST_CHECKED;
        EXPECT_EQ(expected, checked);
        EXPECT_EQ(preset != CLyricsDlg::kSelectedDisc, trackEnabled);
        EXPECT_EQ((std::vector<int>{TRUE, TRUE, CLyricsDlg::kAllDiscs}),
                  (std::vector<int>{dialog.m_deleteOld, dialog.m_onlyEmpty, dialog.m_scope}));
    }
}

} // namespace
