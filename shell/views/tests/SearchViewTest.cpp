// The search view on a real document: its rows are the search list's
// entries, which it deletes, reorders and joins by dropped play lists.
#include "shell/views/tests/ShellViewFixture.h"

#include "shell/views/SearchView.h"
#include "shell/views/ViewsResources.h"

#include <functional>

namespace {

const char kFirst[] = "00000000000000A1";
const char kSecond[] = "00000000000000B1";

class SearchViewTest : public ShellViewFixture
{
protected:
    SearchViewTest()
    {
        AddAlbum(kFirst, "First", 3, true);
        AddAlbum(kSecond, "Second", 2, false);
    }
    // The search list holds "A:0".."A:2", "B:-1".
    CSearchView* ShowResults()
    {
        CPlayList& list = m_doc->GetSearchList();
        for (int track = 0; track < 3; ++track)
            list.AddItem(CLibItem(kFirst, track));
        list.AddItem(CLibItem(kSecond, -1));
        CSearchView* view = Show<CSearchView>(RUNTIME_CLASS(CSearchView));
        m_doc->UpdateAllViews(NULL, kViewHintSearchList);
        return view;
    }
    Texts Entries() { return CTestViewsDoc::Entries(m_doc->GetSearchList()); }
    std::string Caption(CView* view)
    {
        CString text;
        view->GetParentFrame()->GetWindowText(text);
        return std::string(text);
    }
};

TEST_F(SearchViewTest, RowsAreTheEntriesAndTheCaptionCountsThem)
{
    CSearchView* view = Show<CSearchView>(RUNTIME_CLASS(CSearchView));
    ASSERT_TRUE(view);
    EXPECT_EQ(0, view->GetList().GetItemCount());
    EXPECT_EQ("Search", Caption(view));
    m_frames.clear();

    view = ShowResults();
    EXPECT_EQ("Search (4 matches)", Caption(view));
    EXPECT_EQ((Texts{"5", "5", "5", "1"}), Column(view->GetList(), 1));
    EXPECT_EQ((Texts{"T1", "T2", "T3", "Second"}), Column(view->GetList(), 4));
    EXPECT_EQ((Texts{"First", "First", "First", "Second"}), Column(view->GetList(), 3));
}

TEST_F(SearchViewTest, DeleteRemovesExactlyTheSelectedEntries)
{
    CSearchView* view = ShowResults();
    SelectRows(view->GetList(), {0, 2});
    MSG msg = {view->GetList().m_hWnd, WM_KEYDOWN, VK_DELETE, 0};
    EXPECT_TRUE(static_cast<CWnd*>(view)->PreTranslateMessage(&msg));
    EXPECT_EQ((Texts{"1:1", "1:-1"}), Entries());
    EXPECT_EQ(2, view->GetList().GetItemCount());
}

// A move inside the view takes its originals away; a copy keeps them; the
// pointer travels with its entry.
TEST_F(SearchViewTest, DraggingWithinTheViewMovesOrCopies)
{
    CSearchView* view = ShowResults();
    struct Case
    {
        bool move;
        Texts entries;
        int pointer;
    };
    const Case cases[] = {
        {true, {"1:1", "1:2", "1:0", "1:-1"}, 1},
        {false, {"1:1", "1:2", "1:0", "1:1", "1:2", "1:-1"}, 4},
    };
    for (const Case& c : cases)
    {
        CPlayList& list = m_doc->GetSearchList();
        list.Clear();
        for (int track = 0; track < 3; ++track)
            list.AddItem(CLibItem(kFirst, track));
        list.AddItem(CLibItem(kSecond, -1));
        list.SetPointer(2);
        m_doc->UpdateAllViews(NULL, kViewHintSearchList);
        SelectRows(view->GetList(), {1, 2});
        CString text = view->BeginDragOut();
        EXPECT_TRUE(view->DropText(text, 0, c.move));
        EXPECT_EQ(c.entries, Entries()) << c.move;
        EXPECT_EQ(c.pointer, list.GetPointer()) << c.move;
    }
    EXPECT_FALSE(view->DropText("nonsense\n00000000000000F1 0", 0, false));
}

TEST_F(SearchViewTest, DroppedPlayListsJoinInTheirOrder)
{
    CSearchView* view = ShowResults();
    struct File
    {
        const char* name;
        std::vector<std::pair<const char*, int>> entries;
    };
    const File files[] = {{"one.pla", {{kSecond, 1}}}, {"two.pla", {{kFirst, 2}, {kSecond, 0}}}};
    std::vector<std::string> paths;
    for (const File& file : files)
    {
        CPlayList list(m_doc->GetMusicLibrary());
        for (const auto& entry : file.entries)
            list.AddItem(CLibItem(entry.first, entry.second));
        paths.push_back(m_folder.WindowsPath(file.name));
        ASSERT_TRUE(list.SaveToFile(paths.back().c_str()));
    }
    paths.push_back(std::string(300, 'x'));
    HDROP drop = MakeDrop(paths);
    view->DropFiles(drop, m_doc->GetSearchList().GetCount());
    view->DropFiles(drop, 0);
    GlobalFree(drop);
    EXPECT_EQ((Texts{"1:1", "1:2", "1:0", "1:0", "1:1", "1:2", "1:-1", "1:1", "1:2", "1:0"}), Entries());
}

TEST_F(SearchViewTest, TheDocumentsModeSetsPictureAndBannerHoweverItChanges)
{
    CSearchView* view = ShowResults();
    auto picture = [view] { return view->SendDlgItemMessage(IDC_SEARCH_MODE, BM_GETIMAGE, IMAGE_BITMAP); };
    auto click = [view] {
        view->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SEARCH_MODE, BN_CLICKED),
                          reinterpret_cast<LPARAM>(view->GetDlgItem(IDC_SEARCH_MODE)->m_hWnd));
    };
    EXPECT_EQ("Found Tracks", std::string(view->GetBanner().GetText()));
    LRESULT tracks = picture();
    ASSERT_NE(0, tracks);
    LRESULT discs = 0;
    struct Step
    {
        const char* what;
        std::function<void()> change;
        bool discMode;
    } steps[] = {
        {"button", click, true},
        {"button again", click, false},
        {"remote disc", [this] { m_doc->ExecuteCommand("search_mode[disc]"); }, true},
        {"remote track", [this] { m_doc->ExecuteCommand("search_mode[track]"); }, false},
        {"document", [this] { m_doc->ToggleSearchMode(); }, true},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.what);
        step.change();
        EXPECT_EQ(step.discMode, m_doc->IsDiscSearchMode() != FALSE);
        EXPECT_EQ(step.discMode ? "Found Discs" : "Found Tracks", std::string(view->GetBanner().GetText()));
        if (step.discMode && !discs)
            discs = picture();
        EXPECT_EQ(step.discMode ? discs : tracks, picture());
    }
    EXPECT_NE(tracks, discs);
}

// Between the search controls and the list the form shows its own face, not
// what the screen held before (the album list, when the tab changes).
TEST_F(SearchViewTest, TheFormPaintsTheStripBetweenItsControlsAndTheList)
{
    CSearchView* view = ShowResults();
    PumpMessages();
    CRect client, list, run;
    view->GetClientRect(&client);
    view->GetList().GetWindowRect(&list);
    view->ScreenToClient(&list);
    view->GetDlgItem(IDC_SEARCH_RUN)->GetWindowRect(&run);
    view->ScreenToClient(&run);
    ASSERT_GT(list.top, run.bottom) << "no strip to look at";
    const COLORREF stale = RGB(255, 0, 0);
    {
        CClientDC dc(view);
        dc.FillSolidRect(&client, stale);
    }
    view->ValidateRect(NULL);
    view->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages();
    CClientDC dc(view);
    const COLORREF face = dc.GetNearestColor(::GetSysColor(COLOR_BTNFACE));
    int left = view->GetBanner().GetWidth();
    for (int y = run.bottom; y < list.top; ++y)
    {
        for (int x = left; x < client.right; x += 7)
            ASSERT_EQ(face, dc.GetPixel(x, y)) << x << "," << y;
    }
}

} // namespace
