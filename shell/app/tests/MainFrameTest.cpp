#include "tests/support/TempFolder.h"
#include "tests/support/Waits.h"
#include "tests/support/TestFramework.h"
#include "core/doc/ZymDoc.h"
#include "tests/support/doc/TestProfile.h"

#include "shell/app/ChildFrame.h"
#include "shell/app/MainFrame.h"
#include "shell/app/ZymDocTemplate.h"
#include "shell/app/ZymResources.h"

#include "toolkit/docking/TkDockProtocol.h"
#include "toolkit/menus/TkMenuBar.h"
#include "toolkit/tabs/Tk3DTabControl.h"
#include "toolkit/toolbars/TkBmpMgr.h"
#include "toolkit/toolbars/TkBtnGroup.h"
#include "toolkit/toolbars/TkCustomToolBar.h"
#include "toolkit/toolbars/TkTBMenuBtn.h"
#include "toolkit/toolbars/TkToolBarCmdPage.h"
#include "toolkit/toolbars/TkToolBarManager.h"
#include "toolkit/toolbars/TkToolBarsBase.h"

#include <locale.h>
#include <stdlib.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
std::string RectText(const RECT& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom);
}

std::string WindowRectIn(HWND window, HWND parent)
{
    CRect rect;
    ::GetWindowRect(window, rect);
    ::MapWindowPoints(NULL, parent, (LPPOINT)&rect, 2);
    return RectText(rect);
}

// A document that refuses to close while asked to.
class CRefusingDoc : public CDocument
{
    DECLARE_DYNCREATE(CRefusingDoc)
public:
    BOOL SaveModified() override { return !refuse; }
    static inline BOOL refuse = TRUE;
};
IMPLEMENT_DYNCREATE(CRefusingDoc, CDocument)

// A 24-bit bitmap file of width by height pixels, all of one colour.
std::string BitmapFile(int width, int height, COLORREF colour)
{
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = { sizeof(info), width, height, 1, 24, BI_RGB };
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + stride * height;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    std::string row(stride, 0);
    for (int x = 0; x < width; ++x)
    {
        row[x * 3] = (char)GetBValue(colour);
        row[x * 3 + 1] = (char)GetGValue(colour);
        row[x * 3 + 2] = (char)GetRValue(colour);
    }
    for (int y = 0; y < height; ++y)
        bytes += row;
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written = 0;
    WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(file);
}

std::vector<UINT> ButtonIds(TkCustomToolBar* bar)
{
    std::vector<UINT> ids;
    for (int index = 0; index < bar->GetCount(); ++index)
        ids.push_back(bar->GetButtonID(index));
    return ids;
}

std::vector<std::string> MenuTexts(TkCustomToolBar* bar)
{
    std::vector<std::string> texts;
    for (int index = 0; index < bar->GetCount(); ++index)
        if (bar->GetButton(index)->m_nKind == kTkBtnMenu)
            texts.push_back((LPCSTR) static_cast<TkTBMenuBtn*>(bar->GetButton(index))->m_strText);
    return texts;
}

// What the modal windows of a command showed, seen from a thread timer
// inside their loops: the "Toolbars" dialog is sent its Customize button,
// the customise sheet is read and cancelled.
struct CustomizeSeen
{
    bool toolBarsDialog = false;
    std::string sheetCaption;
    std::vector<std::string> pages;
    std::vector<std::string> groups;
    std::vector<UINT> user3;
};
CustomizeSeen g_seen;

BOOL CALLBACK ReadModalWindow(HWND window, LPARAM)
{
    CString text;
    CWnd::FromHandle(window)->GetWindowText(text);
    CWnd* permanent = CWnd::FromHandlePermanent(window);
    if (text == "Toolbars" && !g_seen.toolBarsDialog)
    {
        g_seen.toolBarsDialog = true;
        ::PostMessageA(window, WM_COMMAND, IDC_TK_CUSTOMIZE, 0);
        return FALSE;
    }
    CPropertySheet* sheet = dynamic_cast<CPropertySheet*>(permanent);
    if (!sheet || !g_seen.sheetCaption.empty())
        return TRUE;
    g_seen.sheetCaption = (LPCSTR)text;
    for (int index = 0; index < sheet->GetPageCount(); ++index)
    {
        sheet->SetActivePage(index);
        CString title;
        sheet->GetActivePage()->GetWindowText(title);
        g_seen.pages.push_back((LPCSTR)title);
        TkToolBarCmdPage* commands = dynamic_cast<TkToolBarCmdPage*>(sheet->GetActivePage());
        for (int group = 0; commands && group < commands->GetGroupCount(); ++group)
        {
            TkBtnGroup* category = commands->GetGroup(group);
            g_seen.groups.push_back((LPCSTR)category->m_strTitle);
            if (category->m_strTitle == "User3")
                g_seen.user3.assign(category->m_pIds, category->m_pIds + category->m_nCount);
        }
    }
    ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return FALSE;
}

void CALLBACK ReadModalWindows(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), ReadModalWindow, 0);
}

// A document that notes what of the frame is already saved when it is asked
// to close.
class CCloseRecorderDoc : public CDocument
{
    DECLARE_DYNCREATE(CCloseRecorderDoc)
public:
    BOOL SaveModified() override
    {
        CWinApp* app = AfxGetApp();
        const struct
        {
            const char* what;
            bool done;
        } steps[] = {
            { "timer stopped", !::KillTimer(AfxGetMainWnd()->m_hWnd, 0) },
            { "bar layout saved", app->GetProfileInt("CustomTB-Summary", "Bars", -1) != -1 },
            { "tool-bar options saved", app->GetProfileInt("CustomTB-ToolBarManager", "CoolLook", -1) != -1 },
            { "docked windows saved", app->GetProfileInt("Music Info", "Visible", -1) != -1 },
            { "placement saved", !app->GetProfileString("Main Frame", "Rect").IsEmpty() },
        };
        for (const auto& step : steps)
            if (step.done)
                seen.push_back(step.what);
        return TRUE;
    }
    static inline std::vector<std::string> seen;
};
IMPLEMENT_DYNCREATE(CCloseRecorderDoc, CDocument)

class MainFrameTest : public ::testing::Test
{
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ZymShellTest"); }
    void Open()
    {
        m_frame = new CMainFrame;
        m_frame->SetProgramFolder(m_folder.WindowsPath("").c_str());
        ASSERT_TRUE(m_frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
        m_app.m_pMainWnd = m_frame;
        m_frame->ShowWindow(SW_SHOW);
        PumpMessages();
    }
    void Close()
    {
        m_frame->SendMessage(WM_CLOSE);
        m_app.m_pMainWnd = NULL;
        m_frame = NULL;
        PumpMessages();
    }
    void TearDown() override
    {
        if (m_frame)
            Close();
    }
    // What a timer tick does, at once.
    void Tick() { m_frame->SendMessage(WM_TIMER, 0); }
    std::map<std::string, std::string> Placed()
    {
        static const char* const names[] = { "Music Info", "Library", "Player" };
        std::map<std::string, std::string> placed;
        for (int window = CMainFrame::kMusicInfo; window <= CMainFrame::kPlayer; ++window)
        {
            CWnd& tabs = m_frame->GetTabWindow(static_cast<CMainFrame::DockWindow>(window));
            placed[names[window]] = ::IsWindowVisible(tabs.m_hWnd) ? WindowRectIn(tabs.m_hWnd, m_frame->m_hWnd)
                                                                  : "hidden";
        }
        return placed;
    }

    // The colour of the first user command's button image.
    COLORREF UserButtonColour()
    {
        TkBmpMgr* images = m_frame->GetToolBarManager()->GetBmpMgr();
        HBITMAP bitmap = NULL;
        int index = -1;
        if (!images->GetImage(32957, &bitmap, &index, FALSE))
            return CLR_INVALID;
        CSize size = images->GetImageSize();
        HDC dc = CreateCompatibleDC(NULL);
        HGDIOBJ old = SelectObject(dc, bitmap);
        COLORREF colour = GetPixel(dc, index * size.cx + size.cx / 2, size.cy / 2);
        SelectObject(dc, old);
        DeleteDC(dc);
        return colour;
    }

    CTempFolder m_folder{ "zymframe" };
    CTestProfileApp m_app{ "ZymShellTest" };
    CMainFrame* m_frame = NULL;
};
}

TEST_F(MainFrameTest, TheFirstTickDocksTheThreeTabWindowsAroundTheClient)
{
    Open();
    EXPECT_FALSE(m_frame->AreDockWindowsCreated());
    Tick();
    EXPECT_TRUE(m_frame->AreDockWindowsCreated());
    PumpMessages();
    // Music Info 350 high at the bottom, Library 270 wide on the left with
    // Player below it, the MDI client in what remains under the menu bar
    // and tool bars.
    std::map<std::string, std::string> expected = {
        { "Music Info", "294,239,792,589" },
        { "Library", "0,69,270,433" },
        { "Player", "0,457,270,589" },
    };
    EXPECT_EQ(expected, Placed());
    EXPECT_EQ("276,49,792,233", WindowRectIn(m_frame->m_hWndMDIClient, m_frame->m_hWnd));
    EXPECT_EQ(NULL, m_frame->GetDockNode(CMainFrame::kTavlin));
}

TEST_F(MainFrameTest, MessagesForTheDocumentWithoutAChildAnswerZero)
{
    Open();
    for (UINT message : { WM_USER + 5, WM_USER + 8, WM_USER + 9 })
        EXPECT_EQ(0, m_frame->SendMessage(message, 1, 2)) << message;
    // The play key, from the keyboard.
    EXPECT_EQ(0, m_frame->SendMessage(WM_APPCOMMAND, (WPARAM)m_frame->m_hWnd, MAKELPARAM(0, 46)));
}

TEST_F(MainFrameTest, ViewCommandsToggleTheirWindowOnceItExists)
{
    Open();
    // Before the first tick there is nothing to toggle.
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_LIBRARY);
    EXPECT_EQ(NULL, m_frame->GetDockNode(CMainFrame::kLibrary));
    Tick();
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_LIBRARY);
    PumpMessages();
    EXPECT_EQ("hidden", Placed()["Library"]);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_LIBRARY);
    PumpMessages();
    EXPECT_NE("hidden", Placed()["Library"]);
}

TEST_F(MainFrameTest, EachDockedTabWindowShowsOnlyItsFirstTabsView)
{
    Open();
    Tick();
    // What the document's start-up does, without a document.
    m_frame->CreateViews();
    PumpMessages();
    // The labels of the tabs whose panes are visible, per docked window.
    auto shownPanes = [this]() {
        static const char* const names[] = { "Music Info", "Library", "Player" };
        std::map<std::string, std::string> shown;
        for (int window = CMainFrame::kMusicInfo; window <= CMainFrame::kPlayer; ++window)
        {
            Tk3DTabWnd& tabs = m_frame->GetTabWindow(static_cast<CMainFrame::DockWindow>(window));
            std::string& labels = shown[names[window]];
            for (int index = 0; index < tabs.GetTabCount(); ++index)
            {
                // The drawn label may be shortened to fit.
                Tk3DTab* tab = static_cast<Tk3DTab*>(tabs.GetTabControl()->GetTab(index));
                if (tab->m_pPane->IsWindowVisible())
                    labels += (labels.empty() ? "" : " ") + std::string(tab->m_strFullLabel);
            }
        }
        return shown;
    };
    const std::map<std::string, std::string> expected = {
        { "Music Info", "Image" },
        { "Library", "Library" },
        { "Player", "Players" },
    };
    EXPECT_EQ(expected, shownPanes());
    // Hidden and shown again by its command, a window still shows one pane.
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_MUSIC_INFO);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_MUSIC_INFO);
    PumpMessages();
    EXPECT_EQ(expected, shownPanes());
}

TEST_F(MainFrameTest, AClosingTheDocumentRefusesKeepsTheTimerRunning)
{
    Open();
    m_app.AddDocTemplate(new CMultiDocTemplate(IDR_ZYMTYPE, RUNTIME_CLASS(CRefusingDoc), NULL, NULL));
    POSITION position = m_app.GetFirstDocTemplatePosition();
    ASSERT_TRUE(m_app.GetNextDocTemplate(position)->CreateNewDocument());
    CRefusingDoc::refuse = TRUE;
    m_frame->SendMessage(WM_CLOSE);
    ASSERT_TRUE(::IsWindow(m_frame->m_hWnd));
    // The timer runs again: it can be stopped, and the next close stops it
    // without a word once it is running once more.
    EXPECT_TRUE(::KillTimer(m_frame->m_hWnd, 0));
    ::SetTimer(m_frame->m_hWnd, 0, 100, NULL);
    CRefusingDoc::refuse = FALSE;
    Close();
}

// The jukebox's documents show their tasks' progress dialogs: the template
// hands each document the dialogs' listener.
TEST_F(MainFrameTest, ADocumentOfTheJukeboxShowsATasksProgressDialog)
{
    Open();
    CZymDocTemplate::SetHost(m_frame, NULL, m_folder.WindowsPath("").c_str());
    CZymDocTemplate documents(IDR_ZYMTYPE, RUNTIME_CLASS(CChildFrame), NULL);
    std::unique_ptr<CZymDoc> doc(static_cast<CZymDoc*>(documents.CreateNewDocument()));
    ASSERT_NE(nullptr, doc);
    int id = doc->GetTaskMgr().CreateTask("Covers Fetch", NULL, CTaskSink::kShowProgressDialog);
    EXPECT_TRUE(WaitUntil([] { return ::FindWindowA(NULL, "Covers Fetch") != NULL; }, 10000));
    doc->GetTaskMgr().EndTask(id);
    documents.RemoveDocument(doc.get());
    m_frame->SetDocument(NULL);
    doc.reset();
    CZymDocTemplate::SetHost(NULL, NULL, "");
    Close();
}

TEST_F(MainFrameTest, TheIconCyclesThroughItsEighteenFrames)
{
    Open();
    CAnimatedIcon& icon = m_frame->GetAnimatedIcon();
    std::string frames;
    HICON shown = NULL;
    int destroyed = 0;
    for (int step = 0; step < 20; ++step)
    {
        ASSERT_TRUE(icon.NextFrame());
        frames += std::to_string(icon.GetFrame()) + " ";
        // The window shows the new frame; the one it replaced is gone.
        HICON previous = shown;
        shown = (HICON)m_frame->SendMessage(WM_GETICON, ICON_BIG);
        ICONINFO info = {};
        if (previous && !GetIconInfo(previous, &info))
            ++destroyed;
        else if (previous)
        {
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
    }
    EXPECT_EQ("0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 0 1 ", frames);
    EXPECT_EQ(19, destroyed);
    CAnimatedIcon unprepared;
    EXPECT_FALSE(unprepared.NextFrame());
    EXPECT_FALSE(unprepared.Prepare(IDB_ANIMATED_ICON, 0, RGB(255, 0, 0)));
}

TEST_F(MainFrameTest, TheSavedRectangleAndMaximisedStateComeBack)
{
    const struct
    {
        const char* rect;
        int max;
        const char* normal; // null: not taken from the profile
        bool zoomed;
    } cases[] = {
        { "0010 0020 0500 0400", 0, "10,20,500,400", false },
        // Narrower and lower than 150: grown from the left and top edges.
        { "0010 0020 0110 0100", 0, "10,20,160,170", false },
        { "0010 0020 0500 0400", 1, "10,20,500,400", true },
        // Reversed, empty or garbage: the system's place, never maximised.
        { "0500 0020 0010 0400", 1, nullptr, false },
        { "0010 0020 0010 0400", 1, nullptr, false },
        { "garbage", 1, nullptr, false },
    };
    for (const auto& c : cases)
    {
        m_app.WriteProfileString("Main Frame", "Rect", c.rect);
        m_app.WriteProfileInt("Main Frame", "max", c.max);
        Open();
        WINDOWPLACEMENT placement = { sizeof(placement) };
        m_frame->GetWindowPlacement(&placement);
        if (c.normal)
            EXPECT_EQ(c.normal, RectText(placement.rcNormalPosition)) << c.rect;
        else
            EXPECT_NE("10,20,500,400", RectText(placement.rcNormalPosition)) << c.rect;
        EXPECT_EQ(c.zoomed, m_frame->IsZoomed() != FALSE) << c.rect << " max " << c.max;
        Close();
    }
}

TEST_F(MainFrameTest, ChildFramesOpenAtTheirSavedPlaceAndTheLastStays)
{
    Open();
    // Named by the text they bear at their first activation.
    m_app.WriteProfileString("Saved", "Rect", "0010 0010 0200 0150");
    const struct
    {
        const char* title;
        const char* normal;
        bool visible;
    } cases[] = {
        { "Fresh", "239,0,562,357", true },
        { "Saved", "10,10,200,150", true },
        { "Bogus", "239,0,562,357", false },
    };
    std::vector<CChildFrame*> children;
    for (const auto& c : cases)
    {
        CChildFrame* child = new CChildFrame;
        ASSERT_TRUE(child->LoadFrame(IDR_ZYMTYPE, WS_CHILD | WS_OVERLAPPEDWINDOW, m_frame));
        child->SetWindowText(c.title);
        child->ActivateFrame(SW_SHOWNORMAL);
        PumpMessages();
        WINDOWPLACEMENT placement = { sizeof(placement) };
        child->GetWindowPlacement(&placement);
        EXPECT_EQ(c.normal, RectText(placement.rcNormalPosition)) << c.title;
        EXPECT_EQ(c.visible, ::IsWindowVisible(child->m_hWnd) != FALSE) << c.title;
        children.push_back(child);
    }
    EXPECT_EQ(3, CChildFrame::GetOpenCount());
    HWND first = children[0]->m_hWnd, last = children[2]->m_hWnd;
    children[0]->SendMessage(WM_CLOSE);
    children[1]->SendMessage(WM_CLOSE);
    EXPECT_FALSE(::IsWindow(first));
    // The last one open ignores a close.
    ::SendMessageA(last, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(last));
    EXPECT_EQ(1, CChildFrame::GetOpenCount());
    EXPECT_EQ("0010 0010 0200 0150", std::string(m_app.GetProfileString("Saved", "Rect")));
}

TEST_F(MainFrameTest, AFirstStartShowsTheMenuBarAndTheDefaultToolBars)
{
    Open();
    TkToolBarManager* manager = m_frame->GetToolBarManager();
    const struct
    {
        UINT id;
        const char* title;
        std::vector<UINT> buttons;
        bool visible;
    } bars[] = {
        { 59392, "Main", { 57667, 115, 0, 32861, 101, 32893, 32784 }, true },
        { 59397, "Library", { 32779, 32852, 32856, 32930, 32931 }, true },
        { 59398,
          "Playlist",
          { 32790, 32792, 0, 32798, 32797, 32820, 32868, 32869, 0, 32885, 32823, 32794, 32795, 33075, 32796, 32801,
            32909, 32793 },
          true },
        { 59399, "Player", { 32786, 32785, 32787, 32846, 32850, 32847, 32848, 32849, 32845 }, false },
        { 59400, "User", { 32957, 32958, 32959, 32960, 32961, 32962, 32963, 32964, 32965, 32966 }, false },
        { 59401, "Sound", { 32832, 32830, 32833 }, false },
    };
    CRect menuRect;
    TkCustomToolBar* menuBar = manager->FindBarById(kTkMenuBarId);
    ASSERT_TRUE(menuBar != NULL);
    menuBar->GetWindowRect(menuRect);
    EXPECT_EQ((std::vector<std::string>{ "&File", "&View", "&Library", "&Playlist", "Pl&ayer", "&Help" }),
              MenuTexts(menuBar));
    EXPECT_EQ(NULL, ::GetMenu(m_frame->m_hWnd)) << "the menu shows in the menu bar only";
    for (const auto& expected : bars)
    {
        SCOPED_TRACE(expected.title);
        TkCustomToolBar* bar = manager->FindBarById(expected.id);
        ASSERT_TRUE(bar != NULL);
        CString title;
        bar->GetWindowText(title);
        EXPECT_EQ(expected.title, std::string(title));
        EXPECT_EQ(expected.buttons, ButtonIds(bar));
        EXPECT_EQ(expected.visible, bar->IsWindowVisible() != FALSE);
        EXPECT_FALSE(bar->IsFloating());
        EXPECT_TRUE(bar->IsCoolLook());
        // Every button has its picture.
        HBITMAP bitmap = NULL;
        int index = -1;
        for (UINT id : expected.buttons)
            EXPECT_TRUE(id == 0 || manager->GetBmpMgr()->GetImage(id, &bitmap, &index, FALSE)) << id;
        if (!expected.visible)
            continue;
        CRect rect;
        bar->GetWindowRect(rect);
        // In the row below the menu bar, whose edge they share.
        EXPECT_EQ(menuRect.bottom - 2, rect.top);
    }
    // "Library" and "Playlist" follow "Main" in its row, side by side.
    CRect main, library, playlist;
    manager->FindBarById(59392)->GetWindowRect(main);
    manager->FindBarById(59397)->GetWindowRect(library);
    manager->FindBarById(59398)->GetWindowRect(playlist);
    EXPECT_GE(library.left, main.right - 2);
    EXPECT_GE(playlist.left, main.right - 2);
    EXPECT_TRUE(playlist.left >= library.right - 2 || library.left >= playlist.right - 2);
}

TEST_F(MainFrameTest, UserButtonsAreDrawnFromUserBmpWhenItCanBeRead)
{
    const COLORREF blue = RGB(0, 0, 255);
    const std::string good = BitmapFile(1600, 15, blue);
    const struct
    {
        const char* name;
        const char* file; // null: none
        std::string bytes;
        bool fromFile;
    } cases[] = {
        { "none", nullptr, "", false },
        { "a bitmap", "user.bmp", good, true },
        { "not a bitmap", "user.bmp", "this is not a picture", false },
        { "cut short", "user.bmp", good.substr(0, 80), false },
        { "empty", "user.bmp", "", false },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        m_folder.Remove("user.bmp");
        if (c.file)
            WriteFileBytes(m_folder.WindowsPath(c.file), c.bytes);
        Open();
        COLORREF colour = UserButtonColour();
        EXPECT_NE(CLR_INVALID, colour) << "the program's own images stand in";
        EXPECT_EQ(c.fromFile, colour == blue);
        Close();
    }
}

TEST_F(MainFrameTest, TheBarLayoutComesBackOnTheNextStart)
{
    Open();
    TkToolBarManager* manager = m_frame->GetToolBarManager();
    m_frame->ShowControlBar(manager->FindBarById(59397), FALSE, FALSE);
    m_frame->ShowControlBar(manager->FindBarById(59401), TRUE, FALSE);
    TkCustomToolBar* user = manager->CreateUserToolBar("Favourites");
    ASSERT_TRUE(user != NULL);
    const UINT ids[] = { 32957, 0, 32797 };
    user->SetButtons(ids, 3);
    user->EnableDocking(CBRS_ALIGN_ANY);
    m_frame->DockControlBar(user, AFX_IDW_DOCKBAR_LEFT);
    manager->EnableToolTips(FALSE);
    Close();

    Open();
    manager = m_frame->GetToolBarManager();
    EXPECT_TRUE(manager->FindBarById(59392)->IsWindowVisible());
    EXPECT_FALSE(manager->FindBarById(59397)->IsWindowVisible());
    EXPECT_TRUE(manager->FindBarById(59401)->IsWindowVisible());
    EXPECT_FALSE(manager->IsToolTipsEnabled());
    user = manager->FindBarById(kTkFirstUserBarId);
    ASSERT_TRUE(user != NULL);
    EXPECT_EQ((std::vector<UINT>{ 32957, 0, 32797 }), ButtonIds(user));
    ASSERT_TRUE(manager->FindBarById(kTkMenuBarId) != NULL);
    EXPECT_EQ(6u, MenuTexts(manager->FindBarById(kTkMenuBarId)).size());
}

// The frame saves its timer, bars and docked windows before the document is
// asked to close (closing it destroys the docked views), its placement as
// the window goes.
TEST_F(MainFrameTest, EverythingIsSavedBeforeTheDocumentClosesAndThePlacementLast)
{
    Open();
    Tick();
    m_app.AddDocTemplate(new CMultiDocTemplate(IDR_ZYMTYPE, RUNTIME_CLASS(CCloseRecorderDoc), NULL, NULL));
    POSITION position = m_app.GetFirstDocTemplatePosition();
    ASSERT_TRUE(m_app.GetNextDocTemplate(position)->CreateNewDocument());
    CCloseRecorderDoc::seen.clear();
    Close();
    EXPECT_EQ((std::vector<std::string>{ "timer stopped", "bar layout saved", "tool-bar options saved",
                                         "docked windows saved" }),
              CCloseRecorderDoc::seen);
    EXPECT_FALSE(m_app.GetProfileString("Main Frame", "Rect").IsEmpty());
}

// "&Toolbar..." runs the tool-bars dialog; its Customize button opens the
// customise sheet with the tool-bars page and the command categories.
TEST_F(MainFrameTest, TheToolBarsDialogOpensTheCustomiseSheet)
{
    Open();
    g_seen = CustomizeSeen();
    UINT_PTR timer = ::SetTimer(NULL, 0, 50, ReadModalWindows);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_TOOLBARS);
    ::KillTimer(NULL, timer);
    EXPECT_TRUE(g_seen.toolBarsDialog);
    EXPECT_EQ("Customize", g_seen.sheetCaption);
    EXPECT_EQ((std::vector<std::string>{ "Toolbars", "Commands" }), g_seen.pages);
    EXPECT_EQ((std::vector<std::string>{ "Main", "Library", "Playlist", "Sound", "Player", "User1", "User2", "User3",
                                         "User4", "User5", "User6", "User7", "User8", "User9", "User10" }),
              g_seen.groups);
    EXPECT_EQ((std::vector<UINT>{ 32977, 32978, 32979, 32980, 32981, 32982, 32983, 32984, 32985, 32986 }),
              g_seen.user3);
}

TEST_F(MainFrameTest, ADockedWindowFloatsByItsGripperAndDocksBackByItsFloatWindow)
{
    Open();
    Tick();
    PumpMessages();
    const std::string docked = Placed()["Library"];
    TkLayoutNode* gripper = m_frame->GetDockNode(CMainFrame::kLibrary);
    TkLNDockingMgr* manager = m_frame->GetDockingFeature().GetLayoutDockingMgr();
    auto* initiator = dynamic_cast<ITkDockInitiator*>(gripper);
    ASSERT_TRUE(initiator && manager);
    HWND tabs = m_frame->GetTabWindow(CMainFrame::kLibrary).m_hWnd;

    EXPECT_TRUE(initiator->OnDoubleClick(manager));
    PumpMessages();
    HWND floatWindow = ::GetAncestor(tabs, GA_ROOT);
    EXPECT_NE(m_frame->m_hWnd, floatWindow);
    EXPECT_TRUE(::IsWindowVisible(floatWindow));
    EXPECT_TRUE(::IsWindowVisible(tabs));

    auto* floating = dynamic_cast<ITkDockInitiator*>(gripper->GetRootNode());
    ASSERT_TRUE(floating);
    EXPECT_TRUE(floating->OnDoubleClick(manager));
    PumpMessages();
    EXPECT_EQ(m_frame->m_hWnd, ::GetAncestor(tabs, GA_ROOT));
    EXPECT_EQ(docked, Placed()["Library"]);
}

// The frame takes the user's locale for texts and keeps numbers in the C form.
TEST(MainFrameLocale, TextsFollowTheUserAndNumbersStayC)
{
    setenv("LC_ALL", "C.UTF-8", 1);
    {
        CMainFrame frame;
        EXPECT_STREQ("C.UTF-8", setlocale(LC_CTYPE, nullptr));
        EXPECT_STREQ("C", setlocale(LC_NUMERIC, nullptr));
    }
    unsetenv("LC_ALL");
    setlocale(LC_ALL, "C");
}
