// The play-list view in a frame on a test document: playing by double click,
// the editing commands, drops of text and of shell files, the selection
// handed to the document, the frame's title and icon, and printing.
#include "tests/support/views/ViewFixture.h"

#include "tests/support/InputScript.h"
#include "tests/support/MessageBoxScript.h"
#include "tests/support/MetafileText.h"
#include "tests/support/TempFolder.h"

#include "library/views/PlayListView.h"
#include "library/views/ViewResources.h"

#include <afxext.h>
#include <shlobj.h>

#include <stdio.h>

namespace {

CViewsTestApp g_app;

const char kA[] = "000000000000000A"; // changer 0, three tracks
const char kB[] = "000000000000000B"; // changer 0, two tracks
const char kM[] = "000000000000000M"; // MP3 album, two tracks

class CEnableProbe : public CCmdUI
{
public:
    void Enable(BOOL on) override { m_enabled = on != FALSE; }
    bool m_enabled = false;
};

class PlayListViewTest : public ::testing::Test
{
protected:
    PlayListViewTest()
    {
        m_doc.AddAlbum(kA, 0, 1, true, 3);
        m_doc.AddAlbum(kB, 0, 2, true, 2);
        m_doc.AddAlbum(kM, kMp3Player, 0, true, 2);
        m_doc.AddView(&m_hints);
    }
    ~PlayListViewTest() override { m_doc.RemoveView(&m_hints); }

    CPlayListView* Open()
    {
        m_frame.reset(new CViewFrame(m_doc, RUNTIME_CLASS(CPlayListView)));
        return static_cast<CPlayListView*>(m_frame->GetView());
    }
    CPlayList& List() { return *m_doc.m_lists.front(); }
    void Fill(CPlayList& list, const std::vector<std::pair<const char*, int>>& entries)
    {
        list.Clear();
        for (const auto& entry : entries)
            list.AddItem(CLibItem(entry.first, entry.second));
    }
    std::vector<std::string> Entries() { return CTestViewsDoc::Entries(List()); }
    void Select(CPlayListView& view, const std::vector<int>& rows)
    {
        view.GetList().SetItemState(-1, 0, LVIS_SELECTED);
        for (int row : rows)
            view.GetList().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    bool Enabled(CPlayListView& view, UINT command)
    {
        CEnableProbe probe;
        probe.m_nID = command;
        probe.DoUpdate(&view, FALSE);
        return probe.m_enabled;
    }
    CPoint RowCenter(CPlayListView& view, int row)
    {
        CRect rect;
        view.GetList().GetItemRect(row, &rect, LVIR_BOUNDS);
        return CPoint(rect.left + 40, rect.CenterPoint().y);
    }
    void DoubleClickRow(CPlayListView& view, int row)
    {
        CLxListCtrl& list = view.GetList();
        CRect cell;
        ASSERT_TRUE(list.GetItemRect(row, &cell, LVIR_BOUNDS));
        CPoint point(cell.left + 40, cell.CenterPoint().y);
        CPoint screen = point;
        list.ClientToScreen(&screen);
        ::SetCursorPos(screen.x, screen.y);
        list.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        PumpMessages();
    }

    CTestViewsDoc m_doc;
    CHintView m_hints;
    std::unique_ptr<CViewFrame> m_frame;
};

TEST_F(PlayListViewTest, DoubleClickPlaysPausesOrMovesThePointer)
{
    struct Case
    {
        const char* name;
        bool playing;      // the view's list is the playing list
        int pointer;
        PlayState state;
        int row;
        PlayState newState;
        int newPointer;
        int playCommands;
    } cases[] = {
        {"pointer row, playing: pauses", true, 1, kPlaying, 1, kPaused, 1, 0},
        {"pointer row, paused: plays", true, 1, kPaused, 1, kPlaying, 1, 0},
        {"pointer row, stopped: plays it", true, 1, kStopped, 1, kPlaying, 1, 0},
        {"other row: moves and plays", true, 1, kPaused, 2, kPlaying, 2, 0},
        {"not the playing list: becomes it", false, 0, kStopped, 2, kPlaying, 2, 1},
    };
    CPlayListView* view = Open();
    ASSERT_TRUE(view != nullptr);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Fill(List(), {{kA, -1}, {kB, 0}, {kB, 1}});
        view->OnUpdate(nullptr, kViewHintPlaylist, nullptr);
        CPlayList other(m_doc.m_library);
        m_doc.m_playing = c.playing ? &List() : &other;
        m_doc.m_playCommands = 0;
        List().SetPointer(c.pointer);
        if (c.state == kPlaying)
            List().SetPlaying();
        else if (c.state == kPaused)
            List().SetPaused();
        else
            List().SetStopped();
        DoubleClickRow(*view, c.row);
        EXPECT_EQ(c.newState == kPlaying, List().IsPlaying());
        EXPECT_EQ(c.newState == kPaused, List().IsPaused());
        EXPECT_EQ(c.newPointer, List().GetPointer());
        EXPECT_EQ(&List(), m_doc.m_playing);
        EXPECT_EQ(c.playCommands, m_doc.m_playCommands);
    }
}

TEST_F(PlayListViewTest, DeleteExplodeAndCondenseWithTheirEnabling)
{
    CPlayListView* view = Open();
    ASSERT_TRUE(view != nullptr);
    EXPECT_FALSE(Enabled(*view, ID_PLAYLIST_EXPLODE)) << "empty list";
    EXPECT_FALSE(Enabled(*view, ID_PLAYLIST_CONDENSE)) << "empty list";
    EXPECT_FALSE(Enabled(*view, ID_PLAYLIST_DELETE)) << "empty list";

    Fill(List(), {{kA, -1}, {kB, 0}, {kB, 1}, {kM, -1}});
    List().SetPointer(0);
    view->OnUpdate(nullptr, kViewHintPlaylist, nullptr);
    // Nothing selected: the pointer's entry counts.
    EXPECT_TRUE(Enabled(*view, ID_PLAYLIST_EXPLODE));
    EXPECT_FALSE(Enabled(*view, ID_PLAYLIST_CONDENSE));
    EXPECT_FALSE(Enabled(*view, ID_PLAYLIST_DELETE));
    view->OnPlaylistExplode();
    EXPECT_EQ((std::vector<std::string>{"A:0", "A:1", "A:2", "B:0", "B:1", "M:-1"}), Entries());

    Select(*view, {3});
    EXPECT_FALSE(Enabled(*view, ID_PLAYLIST_EXPLODE));
    EXPECT_TRUE(Enabled(*view, ID_PLAYLIST_CONDENSE));
    view->SendMessage(WM_COMMAND, ID_PLAYLIST_CONDENSE);
    EXPECT_EQ((std::vector<std::string>{"A:0", "A:1", "A:2", "B:-1", "M:-1"}), Entries());

    Select(*view, {0, 2, 4});
    EXPECT_TRUE(Enabled(*view, ID_PLAYLIST_DELETE));
    view->GetList().SetFocus();
    view->GetList().PostMessage(WM_KEYDOWN, VK_DELETE, 0);
    PumpMessages();
    EXPECT_EQ((std::vector<std::string>{"A:1", "B:-1"}), Entries());
    EXPECT_EQ(2, view->GetList().GetItemCount());
}

TEST_F(PlayListViewTest, DroppedTextGoesWhereItFallsAndAMoveKeepsThePlayingEntry)
{
    CPlayListView* view = Open();
    ASSERT_TRUE(view != nullptr);
    Fill(List(), {{kA, 0}, {kA, 1}, {kA, 2}, {kB, 0}, {kB, 1}});
    List().SetPointer(1);
    view->OnUpdate(nullptr, kViewHintPlaylist, nullptr);

    CLxListCtrl& list = view->GetList();
    CRect row1, last;
    list.GetItemRect(1, &row1, LVIR_BOUNDS);
    list.GetItemRect(4, &last, LVIR_BOUNDS);
    EXPECT_EQ(1, view->DropPosition(row1.CenterPoint()));
    EXPECT_EQ(5, view->DropPosition(CPoint(40, last.bottom + 30))) << "below the last row";

    // Rows 0 and 1 (the pointer's) moved before row 4.
    Select(*view, {0, 1});
    CString text = view->BeginDragOut();
    EXPECT_STREQ("000000000000000A 0\n000000000000000A 1", text);
    EXPECT_TRUE(view->DropText(text, 4, true));
    EXPECT_EQ((std::vector<std::string>{"A:2", "B:0", "A:0", "A:1", "B:1"}), Entries());
    EXPECT_EQ(3, List().GetPointer()) << "the same entry stays the current one";

    // A copy inside the list: the dragged rows stay, and no mark is left for
    // the next drag.
    Select(*view, {0});
    text = view->BeginDragOut();
    EXPECT_TRUE(view->DropText(text, 5, false));
    EXPECT_EQ((std::vector<std::string>{"A:2", "B:0", "A:0", "A:1", "B:1", "A:2"}), Entries());
    EXPECT_TRUE(view->DropText("000000000000000B 1\n", 0, true)) << "text from elsewhere";
    EXPECT_EQ((std::vector<std::string>{"B:1", "A:2", "B:0", "A:0", "A:1", "B:1", "A:2"}), Entries());

    // A cancelled drag leaves no mark either.
    Select(*view, {1});
    view->BeginDragOut();
    view->EndDragOut();
    EXPECT_TRUE(view->DropText("000000000000000M -1", 7, true));
    EXPECT_EQ(8, List().GetCount());

    // Junk from any program: lines that name no entry are skipped.
    EXPECT_FALSE(view->DropText("", 0, true));
    EXPECT_FALSE(view->DropText("hello world\r\nnot an id\n\n", 0, true));
    EXPECT_TRUE(view->DropText("garbage\n000000000000000A -1\r\nFFFFFFFFFFFFFFFF 2\n", 0, false));
    EXPECT_EQ(9, List().GetCount());
    EXPECT_EQ("A:-1", Entries().front());
}

TEST_F(PlayListViewTest, AMoveIntoAnotherViewCopiesThere)
{
    CPlayListView* source = Open();
    ASSERT_TRUE(source != nullptr);
    Fill(List(), {{kA, 0}, {kA, 1}});
    List().SetPointer(0);
    source->OnUpdate(nullptr, kViewHintPlaylist, nullptr);
    m_doc.m_lists.emplace_back(new CPlayList(m_doc.m_library));
    CViewFrame second(m_doc, RUNTIME_CLASS(CPlayListView));
    CPlayListView* target = static_cast<CPlayListView*>(second.GetView());
    ASSERT_EQ(m_doc.m_lists.back().get(), target->GetPlayList());

    Select(*source, {0, 1});
    EXPECT_TRUE(target->DropText(source->BeginDragOut(), 0, true));
    source->EndDragOut();
    EXPECT_EQ((std::vector<std::string>{"A:0", "A:1"}), CTestViewsDoc::Entries(*target->GetPlayList()));
    EXPECT_EQ((std::vector<std::string>{"A:0", "A:1"}), Entries()) << "the source keeps its entries";
    EXPECT_EQ(0, List().GetPointer());
}

// A drop as the shell makes it: DROPFILES followed by the names.
HGLOBAL MakeDrop(const std::vector<std::string>& paths, POINT point)
{
    std::string names;
    for (const std::string& path : paths)
        names += path + '\0';
    names += '\0';
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
    DROPFILES* drop = (DROPFILES*)GlobalLock(memory);
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = point;
    memcpy(drop + 1, names.data(), names.size());
    GlobalUnlock(memory);
    return memory;
}

TEST_F(PlayListViewTest, ShellFilesLoadAtTheRowUnderTheDrop)
{
    CTempFolder folder("zym-plview");
    FILE* file = fopen(folder.UnixPath("two.pla").c_str(), "wb");
    fputs("ZYM Playlist V1.1\r\n000000000000000B 0\r\n000000000000000B 1\r\n", file);
    fclose(file);
    file = fopen(folder.UnixPath("notes.txt").c_str(), "wb");
    fputs("just some notes\r\n", file);
    fclose(file);

    CPlayListView* view = Open();
    ASSERT_TRUE(view != nullptr);
    Fill(List(), {{kA, 0}, {kA, 1}});
    view->OnUpdate(nullptr, kViewHintPlaylist, nullptr);
    CPoint row1 = RowCenter(*view, 1);
    view->GetList().MapWindowPoints(view, &row1, 1);

    // As WM_DROPFILES brings it, the point in the view's coordinates; the
    // view frees the drop.
    CMessageBoxScript boxes;
    std::string tooLong = "Z:\\" + std::string(300, 'x') + ".pla";
    HGLOBAL drop = MakeDrop({folder.WindowsPath("notes.txt"), tooLong, folder.WindowsPath("two.pla")}, row1);
    view->SendMessage(WM_DROPFILES, (WPARAM)drop);
    EXPECT_EQ((std::vector<std::string>{"A:0", "B:0", "B:1", "A:1"}), Entries());
    EXPECT_EQ(1u, boxes.Shown().size()) << "the file that is no play list is reported";

    // Wine offers the shell's files to an OLE target as CF_HDROP, points in
    // the view's coordinates; the list starts right of the banner.
    COleDataSource source;
    CPoint row0 = RowCenter(*view, 0);
    view->GetList().MapWindowPoints(view, &row0, 1);
    source.CacheGlobalData(CF_HDROP, MakeDrop({folder.WindowsPath("two.pla")}, CPoint()));
    COleDataObject data;
    data.Attach(source.GetInterface(), FALSE);
    EXPECT_EQ(DROPEFFECT_COPY, view->OnDragOver(&data, 0, row0));
    EXPECT_TRUE(view->OnDrop(&data, DROPEFFECT_COPY, row0));
    EXPECT_EQ((std::vector<std::string>{"B:0", "B:1", "A:0", "B:0", "B:1", "A:1"}), Entries());
}

TEST_F(PlayListViewTest, TheFrameShowsTitleAndPlayState)
{
    CPlayListView* view = Open();
    ASSERT_TRUE(view != nullptr);
    CFrameWnd* frame = m_frame->GetFrame();
    struct Case
    {
        int entries;
        const char* file;
        PlayState state;
        const char* title;
        UINT icon;
    } cases[] = {
        {0, "", kStopped, "Play List", IDI_STOPPED},
        {2, "", kPlaying, "Play List [8:20]", IDI_PLAYING},
        {1, "Z:\\lists\\party.pla", kPaused, "Play List - party.pla [1:40]", IDI_PAUSED},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.title);
        List().Clear();
        if (c.entries > 0)
            List().AddItem(CLibItem(kA, c.entries == 1 ? 0 : -1));
        if (c.entries > 1)
            List().AddItem(CLibItem(kB, -1));
        if (*c.file)
        {
            CTempFolder folder("zym-plview");
            ASSERT_TRUE(List().SaveToFile(folder.WindowsPath("party.pla").c_str()));
            EXPECT_TRUE(List().GetFileName().Right(9) == "party.pla");
        }
        if (c.state == kPlaying)
            List().SetPlaying();
        else if (c.state == kPaused)
            List().SetPaused();
        else
            List().SetStopped();
        view->OnUpdate(nullptr, kViewHintPlaylist, nullptr);
        CString title;
        frame->GetWindowText(title);
        EXPECT_STREQ(c.title, title);
        EXPECT_EQ((LRESULT)AfxGetApp()->LoadIcon(c.icon), frame->SendMessage(WM_GETICON, ICON_SMALL));
        EXPECT_EQ(c.entries, view->GetList().GetItemCount());
    }
}

TEST_F(PlayListViewTest, SelectingRowsHandsTheEntriesToTheDocumentOnce)
{
    CPlayListView* view = Open();
    ASSERT_TRUE(view != nullptr);
    Fill(List(), {{kA, 0}, {kA, 1}, {kB, -1}, {kM, 1}});
    view->OnUpdate(nullptr, kViewHintPlaylist, nullptr);
    m_hints.m_hints.clear();
    // A range at once, as a virtual list reports it, then one row more.
    view->GetList().SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    view->GetList().SetItemState(0, 0, LVIS_SELECTED);
    view->GetList().SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    PumpMessages();
    EXPECT_EQ(std::vector<int>{kViewHintSelection}, m_hints.m_hints);
    EXPECT_EQ((std::vector<std::string>{"A:1", "B:-1", "M:1"}), CTestViewsDoc::Entries(m_doc.m_selection));
}


TEST_F(PlayListViewTest, PrintingHandsTheRowsToTheListWithTheListsHeading)
{
    CPlayListView* view = Open();
    ASSERT_TRUE(view != nullptr);
    Fill(List(), {{kA, 0}, {kB, -1}});
    view->OnUpdate(nullptr, kViewHintPlaylist, nullptr);

    HDC screen = ::GetDC(NULL);
    RECT frame = {0, 0, ::GetDeviceCaps(screen, HORZSIZE) * 100, ::GetDeviceCaps(screen, VERTSIZE) * 100};
    HDC page = ::CreateEnhMetaFileA(screen, NULL, &frame, NULL);
    CDC dc;
    dc.Attach(page);
    CPrintInfo info;
    view->OnBeginPrinting(&dc, &info);
    info.m_nCurPage = 1;
    view->OnPrint(&dc, &info);
    view->OnEndPrinting(&dc, &info);
    dc.Detach();
    HENHMETAFILE done = ::CloseEnhMetaFile(page);
    ::ReleaseDC(NULL, screen);
    std::vector<std::string> texts = ReadMetafileStrings(done);
    ::DeleteEnhMetaFile(done);
    EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), "Playlist - "));
    EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), "A track 0"));
    EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), "Album B"));
}

} // namespace

namespace {

TEST_F(PlayListViewTest, PrintCommandsReachTheViewAndWithoutAPrinterOnlySaySo)
{
    CPlayListView* view = Open();
    ASSERT_TRUE(view != nullptr);
    for (UINT command : {ID_PLAYLIST_PRINT, ID_PLAYLIST_PRINT_PREVIEW})
    {
        CMessageBoxScript boxes;
        boxes.Then(IDOK);
        view->SendMessage(WM_COMMAND, command);
        ASSERT_EQ(1u, boxes.Shown().size());
        EXPECT_EQ("No printer is installed. Install a printer to print or preview.", boxes.Shown()[0].text);
    }
}

// The menus a test sees: where each opened; each is closed once its loop idles.
std::vector<CRect> g_menusSeen;

LRESULT CALLBACK NoteAndCloseMenus(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_ENTERIDLE && sent->wParam == MSGF_MENU)
    {
        CRect rect;
        ::GetWindowRect(reinterpret_cast<HWND>(sent->lParam), &rect);
        g_menusSeen.push_back(rect);
        ::EndMenu();
    }
    return ::CallNextHookEx(NULL, code, wParam, lParam);
}

// The play list's menu by right click (on a row or beside the rows) opens once
// with its corner at the pointer; by the menu key or Shift+F10 over the
// selected row.
TEST_F(PlayListViewTest, TheMenuOpensOnceAtThePointerOrTheSelectedRow)
{
    CPlayListView* view = Open();
    Fill(List(), {{kA, 0}, {kA, 1}, {kB, 0}});
    view->OnUpdate(nullptr, kViewHintPlaylist, nullptr);
    m_frame->GetFrame()->SetForegroundWindow();
    view->GetList().SetFocus();
    PumpUntilIdle();
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, NoteAndCloseMenus, NULL, ::GetCurrentThreadId());
    CRect client;
    view->GetList().GetClientRect(&client);
    const CPoint clicks[] = {RowCenter(*view, 1), CPoint(client.CenterPoint().x, client.bottom - 10)};
    for (CPoint point : clicks)
    {
        g_menusSeen.clear();
        view->GetList().ClientToScreen(&point);
        InputScript().MoveTo(point).Button(MOUSEEVENTF_RIGHTDOWN).Button(MOUSEEVENTF_RIGHTUP).Send();
        PumpMessages();
        ASSERT_EQ(1u, g_menusSeen.size()) << point.x << "," << point.y;
        EXPECT_EQ(point, g_menusSeen[0].TopLeft());
    }
    Select(*view, {2});
    view->GetList().SetItemState(2, LVIS_FOCUSED, LVIS_FOCUSED);
    CRect row;
    view->GetList().GetItemRect(2, &row, LVIR_BOUNDS);
    view->GetList().ClientToScreen(&row);
    const std::vector<WORD> keys[] = {{VK_APPS}, {VK_SHIFT, VK_F10}};
    for (const std::vector<WORD>& key : keys)
    {
        g_menusSeen.clear();
        InputScript script;
        for (WORD vk : key)
            script.KeyDown(vk);
        for (auto vk = key.rbegin(); vk != key.rend(); ++vk)
            script.KeyUp(*vk);
        script.Send();
        PumpMessages();
        ASSERT_EQ(1u, g_menusSeen.size()) << key.back();
        EXPECT_TRUE(row.PtInRect(g_menusSeen[0].TopLeft())) << key.back();
    }
    ::UnhookWindowsHookEx(hook);
}

} // namespace
