// Customising tool bars by dragging their buttons with real input: the
// mouse and keys go through SendInput, so the capture, the tracker's loop,
// WindowFromPoint and the key state are those a user gives. Two bars of a
// tool-bar manager sit side by side on a real MDI frame.
#include "tests/support/TestFramework.h"
#include "tests/support/InputScript.h"
#include "tests/support/Waits.h"

#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/menus/TkMDIMenuBar.h"
#include "toolkit/toolbars/TkCustomToolBar.h"
#include "toolkit/toolbars/TkToolBarManager.h"

#include <string>
#include <vector>

namespace {

const UINT kFrameResource = 500;
const UINT kToolBarResource = 200;
const UINT kMainBar = 0xE800;
const UINT kSecondBar = 0xE801;
const UINT kMainIds[] = {100, 0, 101, 102};
const UINT kSecondIds[] = {103, 104};
// Where a drop lands that is no bar: the frame's client area, or the
// customise dialog.
const UINT kEmptySpace = 0;
const UINT kDialog = 1;

class CDragApp : public CWinApp
{
public:
    CDragApp() : CWinApp("ButtonDragTest") {}
};

// Handles the bars' commands (so they stay enabled) and records them.
class CDragFrame : public TkMDIFrameWnd
{
public:
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override
    {
        if (id >= 100 && id <= 104 && code == CN_COMMAND) {
            if (handlerInfo == NULL)
                m_commands.push_back(id);
            return TRUE;
        }
        return TkMDIFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
    }
    std::vector<UINT> m_commands;
};

// Records "WM_BARNOTIFY" as "bar:code" words.
class CNotifyRecorder : public CWnd
{
public:
    BOOL Make() { return CreateEx(0, "STATIC", "recorder", WS_POPUP, 0, 0, 1, 1, NULL, 0); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == TkToolBarManager::s_nBarNotifyMsg) {
            char word[32];
            sprintf(word, "%s%X:%d", m_events.empty() ? "" : " ", (UINT)wParam, (int)lParam);
            m_events += word;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::string m_events;
};

struct Drag
{
    const char* name;
    UINT fromBar;
    int fromIndex;
    // Where the dragged button's top-left corner is let go: at this bar's
    // button plus (dx, dy), or in empty space or over the dialog.
    UINT toBar;
    int toIndex;
    int dx;
    int dy;
    WORD key;
    std::vector<UINT> main;
    std::vector<UINT> second;
    const char* events;
};

class ButtonDragTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_recorder.Make());
        Build();
    }
    void TearDown() override
    {
        Destroy();
        m_recorder.DestroyWindow();
    }
    void Build()
    {
        m_frame = new CDragFrame;
        ASSERT_TRUE(m_frame->LoadFrame(kFrameResource));
        m_app.m_pMainWnd = m_frame;
        m_frame->SetWindowPos(NULL, 50, 50, 700, 400, SWP_NOZORDER);
        m_frame->EnableDocking(CBRS_ALIGN_ANY);
        m_frame->ShowWindow(SW_SHOW);
        m_manager = new TkToolBarManager(m_frame);
        m_frame->SetControlBarManager(m_manager);
        ASSERT_TRUE(m_manager->LoadToolBarResource(kToolBarResource, 0));
        m_manager->DefineDefaultToolBar(kMainBar, "Main", 4, kMainIds, CBRS_ALIGN_ANY,
                                        AFX_IDW_DOCKBAR_TOP, 0, TRUE, TRUE);
        m_manager->DefineDefaultToolBar(kSecondBar, "Second", 2, kSecondIds, CBRS_ALIGN_ANY,
                                        AFX_IDW_DOCKBAR_TOP, kMainBar, TRUE, TRUE);
        m_manager->BindToolBars();
        m_manager->AddListener(&m_recorder);
        ::SetForegroundWindow(m_frame->m_hWnd);
        m_frame->SetFocus();
        PumpUntilIdle();
        m_recorder.m_events.clear();
    }
    void Destroy()
    {
        m_frame->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
        delete m_manager;
        m_frame = NULL;
        m_manager = NULL;
    }
    TkCustomToolBar* Bar(UINT id) const { return m_manager->FindBarById(id); }
    static std::vector<UINT> Ids(TkCustomToolBar* bar)
    {
        std::vector<UINT> ids;
        for (int i = 0; bar != NULL && i < bar->GetCount(); i++)
            ids.push_back(bar->GetButtonID(i));
        return ids;
    }
    // A button's rectangle on the screen.
    CRect ScreenRect(UINT barId, int index) const
    {
        CRect rect;
        Bar(barId)->GetButtonRect(index, &rect);
        Bar(barId)->ClientToScreen(&rect);
        return rect;
    }
    CPoint EmptySpace() const
    {
        CRect client;
        m_frame->GetWindowRect(&client);
        return CPoint(client.CenterPoint().x, client.bottom - 80);
    }
    // Where the dragged button's corner goes.
    CPoint DropCorner(const Drag& drag) const
    {
        if (drag.toBar == kEmptySpace)
            return EmptySpace();
        if (drag.toBar == kDialog) {
            CRect dialog;
            m_dialog.GetWindowRect(&dialog);
            return dialog.TopLeft() + CPoint(10, 10);
        }
        return ScreenRect(drag.toBar, drag.toIndex).TopLeft() + CPoint(drag.dx, drag.dy);
    }
    // Presses the button's middle with key held, moves in two steps so that
    // its corner lands at corner, and lets go (or cancels with cancel).
    static void DragButton(CRect button, CPoint corner, WORD key, DWORD cancel = 0)
    {
        CPoint from = button.CenterPoint();
        CPoint to = from + (corner - button.TopLeft());
        InputScript script;
        script.MoveTo(from);
        if (key != 0)
            script.KeyDown(key);
        script.Button(MOUSEEVENTF_LEFTDOWN).Step(from + CPoint(3, 3)).Step(to);
        if (cancel == VK_ESCAPE)
            script.Key(VK_ESCAPE);
        else if (cancel != 0)
            script.Button(MOUSEEVENTF_RIGHTDOWN).Button(MOUSEEVENTF_RIGHTUP);
        script.Button(MOUSEEVENTF_LEFTUP);
        // Another key before Alt comes up, so that Alt's release opens no menu.
        if (key == VK_MENU)
            script.Key(VK_SHIFT);
        if (key != 0)
            script.KeyUp(key);
        script.MoveTo(CPoint(5, 5)).Send();
    }
    void Run(const Drag& drag)
    {
        SCOPED_TRACE(drag.name);
        if (drag.key != VK_MENU)
            m_manager->SetToolBarsCustomizeMode(TRUE);
        m_recorder.m_events.clear();
        DragButton(ScreenRect(drag.fromBar, drag.fromIndex), DropCorner(drag), drag.key);
        EXPECT_EQ(drag.main, Ids(Bar(kMainBar)));
        EXPECT_EQ(drag.second, Ids(Bar(kSecondBar)));
        EXPECT_EQ(drag.events, m_recorder.m_events);
        EXPECT_EQ(NULL, ::GetCapture());
        EXPECT_TRUE(m_frame->m_commands.empty()) << "customising fires no command";
    }

    CDragApp m_app;
    CDragFrame* m_frame = nullptr;
    TkToolBarManager* m_manager = nullptr;
    CNotifyRecorder m_recorder;
    CWnd m_dialog;
};

// The row's insertion point is after the button under the dragged
// rectangle's left edge; a separator the rectangle covers goes.
TEST_F(ButtonDragTest, DragsMoveCopyAndNudgeButtons)
{
    const std::vector<UINT> main = {100, 0, 101, 102};
    const std::vector<UINT> second = {103, 104};
    const Drag drags[] = {
        {"within the bar, over the first button and the separator", kMainBar, 3, kMainBar, 0, 12, 0,
         0, {100, 102, 101}, second, "E800:4 E800:4 E800:4"},
        {"within the bar, left of every button", kMainBar, 3, kMainBar, 0, -8, 0, 0,
         {102, 100, 0, 101}, second, "E800:4 E800:4 E800:4"},
        {"to the other bar", kMainBar, 0, kSecondBar, 0, 12, 0, 0, {101, 102}, {103, 100, 104},
         "E800:4 E800:4 E801:4"},
        {"Ctrl copies to the other bar", kMainBar, 0, kSecondBar, 0, 12, 0, VK_CONTROL, main,
         {103, 100, 104}, "E800:4 E800:4 E801:4"},
        {"off every bar removes it", kMainBar, 2, kEmptySpace, 0, 0, 0, 0, {100, 0, 102}, second,
         "E800:4 E800:4"},
        {"slightly right adds a separator before it", kMainBar, 3, kMainBar, 3, 6, 0, 0,
         {100, 0, 101, 0, 102}, second, "E800:4"},
        {"slightly left takes the separator before it away", kMainBar, 2, kMainBar, 2, -6, 0, 0,
         {100, 101, 102}, second, "E800:4"},
        {"one pixel changes nothing", kMainBar, 3, kMainBar, 3, 1, 0, 0, main, second, "E800:4"},
        {"down onto its own place changes nothing", kMainBar, 3, kMainBar, 3, 0, 3, 0, main, second,
         "E800:4"},
        {"Alt moves without customise mode and leaves nothing selected", kMainBar, 0, kSecondBar, 0,
         12, 0, VK_MENU, {101, 102}, {103, 100, 104}, "E800:4 E800:4"},
    };
    for (const Drag& drag : drags) {
        Run(drag);
        EXPECT_TRUE(m_manager->GetSelectedBar() == NULL || drag.key != VK_MENU);
        Destroy();
        Build();
    }
}

TEST_F(ButtonDragTest, EscapeAndTheRightButtonCancel)
{
    m_manager->SetToolBarsCustomizeMode(TRUE);
    for (DWORD cancel : {(DWORD)VK_ESCAPE, (DWORD)MOUSEEVENTF_RIGHTDOWN}) {
        DragButton(ScreenRect(kMainBar, 0), ScreenRect(kSecondBar, 0).TopLeft(), 0, cancel);
        EXPECT_EQ((std::vector<UINT>{100, 0, 101, 102}), Ids(Bar(kMainBar))) << cancel;
        EXPECT_EQ((std::vector<UINT>{103, 104}), Ids(Bar(kSecondBar))) << cancel;
        EXPECT_EQ(NULL, ::GetCapture());
    }
    // The press alone selected the button, which the cancel leaves selected.
    EXPECT_EQ(Bar(kMainBar), m_manager->GetSelectedBar());
    EXPECT_EQ(0, Bar(kMainBar)->GetSelectedIndex());
    EXPECT_TRUE(Bar(kMainBar)->GetButtonStyle(0) & TKBS_SELECTED);
    m_manager->SetToolBarsCustomizeMode(FALSE);
    EXPECT_TRUE(m_manager->GetSelectedBar() == NULL);
    EXPECT_FALSE(Bar(kMainBar)->GetButtonStyle(0) & TKBS_SELECTED);
}

// A copy into empty space makes "ToolBar1", floating where it was let go;
// dragging its only button out again destroys it inside its own mouse
// handler. A built-in bar emptied the same way stays.
TEST_F(ButtonDragTest, EmptySpaceMakesAUserBarThatItsLastButtonTakesAway)
{
    EXPECT_TRUE(::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_TK_COPYDRAG)) != NULL)
        << "the copy drag's cursor";
    m_manager->SetToolBarsCustomizeMode(TRUE);
    DragButton(ScreenRect(kMainBar, 2), EmptySpace(), VK_CONTROL);
    TkCustomToolBar* made = Bar(kTkFirstUserBarId);
    ASSERT_TRUE(made != NULL);
    CString title;
    made->GetWindowText(title);
    EXPECT_STREQ("ToolBar1", title);
    EXPECT_EQ((std::vector<UINT>{101}), Ids(made));
    EXPECT_TRUE(made->IsFloating());
    EXPECT_EQ(made, m_manager->GetSelectedBar()) << "the new button is selected";
    CRect placed = ScreenRect(kTkFirstUserBarId, 0);
    EXPECT_LE(abs(placed.left - EmptySpace().x), 2) << placed.left;
    EXPECT_LE(abs(placed.top - EmptySpace().y), 2) << placed.top;
    EXPECT_EQ((std::vector<UINT>{100, 0, 101, 102}), Ids(Bar(kMainBar)));

    m_recorder.m_events.clear();
    DragButton(ScreenRect(kTkFirstUserBarId, 0), EmptySpace() + CPoint(0, -60), 0);
    EXPECT_TRUE(Bar(kTkFirstUserBarId) == NULL);
    EXPECT_EQ("E820:4 E820:1 E820:3", m_recorder.m_events);
    EXPECT_TRUE(m_manager->GetSelectedBar() == NULL);

    for (int i = 0; i < 2; i++)
        DragButton(ScreenRect(kSecondBar, 0), EmptySpace(), 0);
    ASSERT_TRUE(Bar(kSecondBar) != NULL);
    EXPECT_TRUE(Ids(Bar(kSecondBar)).empty());
}

// Over the customise dialog a drop changes nothing.
TEST_F(ButtonDragTest, DropOverTheCustomiseDialogKeepsTheButton)
{
    ASSERT_TRUE(m_dialog.CreateEx(WS_EX_TOOLWINDOW, "STATIC", "customise", WS_POPUP | WS_VISIBLE,
                                  300, 250, 200, 150, NULL, 0));
    m_manager->SetCustomizeDialog(&m_dialog);
    Run({"over the dialog", kMainBar, 0, kDialog, 0, 0, 0, 0, {100, 0, 101, 102}, {103, 104},
         "E800:4"});
    m_manager->SetCustomizeDialog(NULL);
    m_dialog.DestroyWindow();
}

// In customise mode a click selects and fires nothing; the selection moves
// with the buttons inserted before it.
TEST_F(ButtonDragTest, ClickSelectsAndTheSelectionFollowsItsButton)
{
    m_manager->SetToolBarsCustomizeMode(TRUE);
    CPoint centre = ScreenRect(kMainBar, 2).CenterPoint();
    InputScript().MoveTo(centre).Button(MOUSEEVENTF_LEFTDOWN).Button(MOUSEEVENTF_LEFTUP).Send();
    TkCustomToolBar* main = Bar(kMainBar);
    EXPECT_EQ(2, main->GetSelectedIndex());
    EXPECT_EQ("E800:4", m_recorder.m_events);
    EXPECT_TRUE(m_frame->m_commands.empty());

    main->InsertButton(0, 104, FALSE, FALSE);
    EXPECT_EQ(3, main->GetSelectedIndex());
    EXPECT_EQ(101u, main->GetButtonID(main->GetSelectedIndex()));
    Bar(kSecondBar)->SelectButton(1, TRUE);
    EXPECT_EQ(-1, main->GetSelectedIndex());
    EXPECT_FALSE(main->GetButtonStyle(3) & TKBS_SELECTED);
    EXPECT_EQ(Bar(kSecondBar), m_manager->GetSelectedBar());
}

// A button named by its object is selected when the bar holds it; a button
// of another bar, or none, clears the bar's selection.
TEST_F(ButtonDragTest, SelectingAButtonByItsObject)
{
    m_manager->SetToolBarsCustomizeMode(TRUE);
    TkCustomToolBar* main = Bar(kMainBar);
    const struct
    {
        const char* name;
        TkStdBtn* button;
        int selected;
    } cases[] = {
        {"a button of the bar", main->GetButton(1), 1},
        {"another of the bar", main->GetButton(2), 2},
        {"a button of another bar", Bar(kSecondBar)->GetButton(0), -1},
        {"the bar's again", main->GetButton(1), 1},
        {"none", NULL, -1},
    };
    for (const auto& c : cases) {
        main->SelectButtonObject(c.button, TRUE);
        EXPECT_EQ(c.selected, main->GetSelectedIndex()) << c.name;
        for (int i = 0; i < main->GetCount(); i++)
            EXPECT_EQ(i == c.selected, (main->GetButtonStyle(i) & TKBS_SELECTED) != 0) << c.name << " " << i;
    }
}

// Every click takes a reference to the manager's last-command record and
// gives it back, leaving it inactive.
TEST_F(ButtonDragTest, ClicksLeaveTheLastCommandRecordAsTheyFoundIt)
{
    TkLastCommandRecord* record = m_manager->GetLastCommandRecord();
    LONG refs = record->m_nRefs;
    for (int i = 0; i < 3; i++) {
        CPoint centre = ScreenRect(kMainBar, 3).CenterPoint();
        InputScript().MoveTo(centre).Button(MOUSEEVENTF_LEFTDOWN).Button(MOUSEEVENTF_LEFTUP).Send();
    }
    EXPECT_EQ((std::vector<UINT>{102, 102, 102}), m_frame->m_commands);
    EXPECT_EQ(refs, record->m_nRefs);
    EXPECT_FALSE(record->m_bActive);
    EXPECT_TRUE(record->m_rect.IsRectEmpty());
    record->Release();
}

}  // namespace

// A drop before the MDI menu bar's first menu leaves the icon button first,
// and the selection on the dropped button.
TEST_F(ButtonDragTest, MenuBarKeepsItsIconFirstAndCaptionGroupLast)
{
    TkMDIMenuBar menuBar;
    m_frame->m_pMenuBar = &menuBar;
    ASSERT_TRUE(m_manager->SetMenuInfo(1, kFrameResource));
    menuBar.SetToolBarManager(m_manager);
    ASSERT_TRUE(menuBar.Create(m_frame, "Menu bar", WS_VISIBLE | CBRS_TOP, 0, kTkMenuBarId));
    menuBar.EnableDocking(CBRS_ALIGN_ANY);
    m_frame->DockControlBar(&menuBar);
    const CArray<UINT, UINT>& menus = m_manager->GetDefaultMenuBarButtons();
    menuBar.SetButtons(menus.GetData(), (int)menus.GetSize());
    ASSERT_EQ((std::vector<UINT>{kTkCaptionButtonId, kTkFirstMenuCommand, kTkCaptionButtonId}),
              Ids(&menuBar));
    m_frame->RecalcLayout();

    CRect first;
    menuBar.GetButtonRect(1, &first);
    Bar(kMainBar)->SelectButton(0, FALSE);
    EXPECT_TRUE(menuBar.DropButton(first - CPoint(40, 0), Bar(kMainBar)->GetButton(0), TRUE, FALSE));
    EXPECT_EQ((std::vector<UINT>{kTkCaptionButtonId, 100, kTkFirstMenuCommand, kTkCaptionButtonId}),
              Ids(&menuBar));
    EXPECT_EQ(menuBar.GetIconButton(), menuBar.GetButton(0));
    EXPECT_EQ(menuBar.GetCaptionGroup(), menuBar.GetButton(3));
    EXPECT_EQ(1, menuBar.GetSelectedIndex());

    // Dropped below the bar's buttons: separator and command, still before
    // the caption group.
    EXPECT_TRUE(menuBar.DropButton(first + CPoint(0, 40), Bar(kMainBar)->GetButton(2), TRUE, FALSE));
    EXPECT_EQ((std::vector<UINT>{kTkCaptionButtonId, 100, kTkFirstMenuCommand, 0, 101,
                                 kTkCaptionButtonId}),
              Ids(&menuBar));
    EXPECT_EQ(4, menuBar.GetSelectedIndex());
    menuBar.DestroyWindow();
    m_frame->m_pMenuBar = NULL;
}

// A bar that takes no drops (like the customise dialog's) is found under the
// rectangle's corner although no frame holds it: a move there takes the
// button off its bar, a copy leaves everything. A bar that keeps its
// buttons gives none to another bar.
TEST_F(ButtonDragTest, BarsThatTakeNoDropsAndBarsThatKeepTheirButtons)
{
    class CNoDropBar : public TkCustomToolBar
    {
    public:
        BOOL AcceptsDrop() const override { return FALSE; }
    };
    CWnd host;
    ASSERT_TRUE(host.CreateEx(WS_EX_TOOLWINDOW, "STATIC", "host", WS_POPUP | WS_VISIBLE, 300, 250,
                              200, 100, NULL, 0));
    CNoDropBar* list = new CNoDropBar;
    list->m_bAutoDelete = TRUE;
    ASSERT_TRUE(list->Create(&host, "List", WS_VISIBLE | CBRS_TOP, 0, 0xE810));
    list->SetWindowPos(NULL, 0, 0, 200, 100, SWP_NOZORDER);
    m_manager->SetToolBarsCustomizeMode(TRUE);
    CPoint inList(320, 270);

    DragButton(ScreenRect(kMainBar, 0), inList, VK_CONTROL);
    EXPECT_EQ((std::vector<UINT>{100, 0, 101, 102}), Ids(Bar(kMainBar)));
    EXPECT_EQ(0, list->GetCount());
    DragButton(ScreenRect(kMainBar, 0), inList, 0);
    EXPECT_EQ((std::vector<UINT>{101, 102}), Ids(Bar(kMainBar)));
    EXPECT_EQ(0, list->GetCount());

    Bar(kMainBar)->m_dwBehaviour = TKTBB_NODRAGOUT;
    DragButton(ScreenRect(kMainBar, 0), ScreenRect(kSecondBar, 0).TopLeft() + CPoint(12, 0), 0);
    EXPECT_EQ((std::vector<UINT>{101, 102}), Ids(Bar(kMainBar)));
    EXPECT_EQ((std::vector<UINT>{103, 104}), Ids(Bar(kSecondBar)));
    DragButton(ScreenRect(kMainBar, 1), ScreenRect(kMainBar, 0).TopLeft() - CPoint(8, 0), 0);
    EXPECT_EQ((std::vector<UINT>{102, 101}), Ids(Bar(kMainBar))) << "within the bar it still moves";

    // Dragged out of the list, a bar of no manager that cannot hold the
    // selection: the selection elsewhere goes, so the drop takes no button
    // away from the bar that held it.
    const UINT listIds[] = {104};
    list->SetButtons(listIds, 1);
    CRect listButton;
    list->GetButtonRect(0, &listButton);
    CPoint press = listButton.CenterPoint();
    CPoint to = ScreenRect(kSecondBar, 0).TopLeft() + CPoint(12, 0) + (press - listButton.TopLeft());
    ASSERT_EQ(Bar(kMainBar), m_manager->GetSelectedBar());
    InputScript().Step(to - CSize(5, 5)).Step(to).Button(MOUSEEVENTF_LEFTUP).SendOnly();
    list->ClientToScreen(&press);
    ::SetCursorPos(press.x, press.y);
    list->ScreenToClient(&press);
    EXPECT_TRUE(TkCustomToolBar::RunButtonDrag(m_manager, list->GetButton(0), 0, press, list, list, FALSE));
    EXPECT_EQ((std::vector<UINT>{102, 101}), Ids(Bar(kMainBar)));
    EXPECT_EQ((std::vector<UINT>{103, 104, 104}), Ids(Bar(kSecondBar)));
    EXPECT_EQ(Bar(kSecondBar), m_manager->GetSelectedBar());
    host.DestroyWindow();
}

// The selected button is framed three pixels deep; its middle is untouched.
TEST_F(ButtonDragTest, SelectedButtonIsFramed)
{
    m_manager->SetToolBarsCustomizeMode(TRUE);
    TkCustomToolBar* main = Bar(kMainBar);
    CRect rect;
    main->GetButtonRect(3, &rect);
    auto paint = [&]() {
        main->RedrawWindow();
        std::vector<COLORREF> pixels;
        HDC dc = ::GetDC(main->m_hWnd);
        for (int y = rect.top; y < rect.bottom; y++) {
            for (int x = rect.left; x < rect.right; x++)
                pixels.push_back(GetPixel(dc, x, y));
        }
        ::ReleaseDC(main->m_hWnd, dc);
        return pixels;
    };
    std::vector<COLORREF> plain = paint();
    main->SelectButton(3, TRUE);
    std::vector<COLORREF> framed = paint();
    int width = rect.Width();
    for (int ring = 0; ring < 3; ring++) {
        int changed = 0;
        for (int y = ring; y < rect.Height() - ring; y++)
            changed += plain[y * width + ring] != framed[y * width + ring];
        EXPECT_GT(changed, 0) << "ring " << ring;
    }
    for (int y = 3; y < rect.Height() - 3; y++) {
        for (int x = 3; x < width - 3; x++)
            ASSERT_EQ(plain[y * width + x], framed[y * width + x]) << x << "," << y;
    }
}
