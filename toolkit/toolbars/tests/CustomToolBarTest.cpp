// The customisable tool bar on a real MDI frame: clicks and the commands
// and notifications they give, the pixels of each button state, and the
// bar's layout docked and floating.
#include "tests/support/TestFramework.h"
#include "tests/support/InputScript.h"
#include "tests/support/Waits.h"

#include "toolkit/bars/TkReBar.h"
#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/toolbars/TkBmpMgr.h"
#include "toolkit/toolbars/TkCustomToolBar.h"
#include "toolkit/toolbars/TkCustomToolBarInfoEx.h"
#include "toolkit/toolbars/TkTBMenuBtn.h"

#include <string>
#include <vector>

namespace {

const UINT kFrameResource = 500;
const UINT kToolBarResource = 200;
const UINT kBarId = 0xE81B;
// The images of the test strip: button face, button shadow, red.
const UINT kFaceButton = 100;
const UINT kRedButton = 102;

class CToolBarApp : public CWinApp
{
public:
    CToolBarApp() : CWinApp("CustomToolBarTest") {}
};

// Handles the commands of the test tool bar and records them and every
// tool-bar notification.
class CRecordingFrame : public TkMDIFrameWnd
{
public:
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override
    {
        if (id >= kFaceButton && id <= kRedButton && code == CN_COMMAND) {
            if (handlerInfo == NULL)
                m_commands.push_back(id);
            return TRUE;
        }
        return TkMDIFrameWnd::OnCmdMsg(id, code, extra, handlerInfo);
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        const TkTBNotify* notify = (const TkTBNotify*)lParam;
        if (wParam == kBarId) {
            m_notifications.push_back(*notify);
            *result = 0;
            return TRUE;
        }
        return TkMDIFrameWnd::OnNotify(wParam, lParam, result);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETMESSAGESTRING)
            m_prompts.push_back((UINT)wParam);
        return TkMDIFrameWnd::WindowProc(message, wParam, lParam);
    }

    std::vector<UINT> m_commands;
    // The string ids the frame was asked to show in its status bar.
    std::vector<UINT> m_prompts;
    std::vector<TkTBNotify> m_notifications;
};

class CustomToolBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_frame = new CRecordingFrame;
        ASSERT_TRUE(m_frame->LoadFrame(kFrameResource));
        m_app.m_pMainWnd = m_frame;
        m_frame->SetWindowPos(NULL, 0, 0, 600, 400, SWP_NOZORDER);
        m_frame->EnableDocking(CBRS_ALIGN_ANY);
        m_bar = new TkCustomToolBar;
        m_bar->m_bAutoDelete = TRUE;
        ASSERT_TRUE(m_bar->Create(m_frame, "Main", WS_VISIBLE | CBRS_TOP | CBRS_SIZE_DYNAMIC, 0,
                                  kBarId));
        ASSERT_TRUE(m_bar->LoadToolBar(kToolBarResource));
        m_bar->EnableDocking(CBRS_ALIGN_ANY);
        m_frame->DockControlBar(m_bar);
        m_frame->ShowWindow(SW_SHOW);
        m_frame->RecalcLayout();
        PumpMessages();
    }
    void TearDown() override
    {
        if (m_frame != NULL)
            m_frame->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpMessages();
    }
    int IndexOf(UINT id) const
    {
        for (int i = 0; i < m_bar->GetCount(); i++) {
            if (m_bar->GetButtonID(i) == id)
                return i;
        }
        return -1;
    }
    CPoint Centre(UINT id) const
    {
        CRect rect;
        m_bar->GetButtonRect(IndexOf(id), &rect);
        return rect.CenterPoint();
    }
    void Click(CPoint down, CPoint up)
    {
        m_bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
        m_bar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(up.x, up.y));
        m_bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
        PumpMessages();
    }
    // The bar painted into a bitmap; pixels relative to the button's corner.
    std::vector<COLORREF> PaintButton(UINT id, CRect* rect) { return PaintItem(IndexOf(id), rect); }
    std::vector<COLORREF> PaintItem(int index, CRect* rect)
    {
        m_bar->GetButtonRect(index, rect);
        CSize size;
        std::vector<COLORREF> client = PaintClient(&size);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < rect->Height(); y++) {
            for (int x = 0; x < rect->Width(); x++)
                pixels.push_back(client[(rect->top + y) * size.cx + rect->left + x]);
        }
        return pixels;
    }
    // The whole client area painted, row by row.
    std::vector<COLORREF> PaintClient(CSize* size)
    {
        CRect client;
        m_bar->GetClientRect(&client);
        *size = client.Size();
        HDC screen = ::GetDC(NULL);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, client.Width(), client.Height());
        ::ReleaseDC(NULL, screen);
        HGDIOBJ old = SelectObject(memory, bitmap);
        CDC dc;
        dc.Attach(memory);
        m_bar->DoPaint(&dc);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < client.Height(); y++) {
            for (int x = 0; x < client.Width(); x++)
                pixels.push_back(GetPixel(memory, x, y));
        }
        dc.Detach();
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        return pixels;
    }

    CToolBarApp m_app;
    CRecordingFrame* m_frame = nullptr;
    TkCustomToolBar* m_bar = nullptr;
};

std::string ColourName(COLORREF colour)
{
    const struct
    {
        int index;
        const char* name;
    } kNames[] = {
        {COLOR_BTNFACE, "face"},
        {COLOR_BTNSHADOW, "shadow"},
        {COLOR_BTNHIGHLIGHT, "highlight"},
        {COLOR_WINDOWFRAME, "frame"},
    };
    for (const auto& name : kNames) {
        if (GetSysColor(name.index) == colour)
            return name.name;
    }
    if (colour == RGB(255, 0, 0))
        return "red";
    char text[16];
    snprintf(text, sizeof(text), "%06lx", (unsigned long)colour);
    return text;
}

}  // namespace

TEST_F(CustomToolBarTest, LoadsTheResourceButtonsAndLaysThemOutInOneRowDocked)
{
    ASSERT_EQ(4, m_bar->GetCount());
    EXPECT_TRUE(m_bar->GetButton(1)->IsSeparator());
    CRect first, separator, second, third;
    m_bar->GetButtonRect(0, &first);
    m_bar->GetButtonRect(1, &separator);
    m_bar->GetButtonRect(2, &second);
    m_bar->GetButtonRect(3, &third);
    EXPECT_EQ(CSize(23, 22), first.Size());
    EXPECT_EQ(CSize(8, 22), separator.Size());
    EXPECT_EQ(first.right, separator.left);
    EXPECT_EQ(separator.right, second.left);
    EXPECT_EQ(second.right, third.left);
    EXPECT_EQ(first.top, third.top);
    CRect client;
    m_bar->GetClientRect(&client);
    EXPECT_TRUE(client.PtInRect(CPoint(third.right - 1, third.bottom - 1)));
}

// A bitmap handed in with its commands: images go to the commands in order,
// the separator takes none; without a bitmap the bar keeps its buttons.
TEST_F(CustomToolBarTest, BitmapAndButtonsGiveEachCommandItsImage)
{
    const COLORREF kColours[] = {RGB(0, 160, 0), RGB(0, 0, 200)};
    HDC screen = ::GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP strip = CreateCompatibleBitmap(screen, 32, 15);
    ::ReleaseDC(NULL, screen);
    HGDIOBJ old = SelectObject(memory, strip);
    for (int image = 0; image < 2; image++) {
        RECT rect = {image * 16, 0, image * 16 + 16, 15};
        HBRUSH brush = CreateSolidBrush(kColours[image]);
        FillRect(memory, &rect, brush);
        DeleteObject(brush);
    }
    SelectObject(memory, old);
    DeleteDC(memory);

    const UINT kNone[] = {300};
    EXPECT_FALSE(m_bar->SetBitmapAndButtons(NULL, kNone, 1));
    EXPECT_EQ(4, m_bar->GetCount());
    const UINT kIds[] = {300, 0, 301};
    ASSERT_TRUE(m_bar->SetBitmapAndButtons(strip, kIds, 3));
    m_frame->RecalcLayout();
    ASSERT_EQ(3, m_bar->GetCount());
    EXPECT_TRUE(m_bar->GetButton(1)->IsSeparator());
    const struct
    {
        int index;
        UINT id;
        COLORREF colour;
    } kButtons[] = {{0, 300, kColours[0]}, {2, 301, kColours[1]}};
    for (const auto& button : kButtons) {
        EXPECT_EQ(button.id, m_bar->GetButtonID(button.index));
        CRect rect;
        std::vector<COLORREF> pixels = PaintItem(button.index, &rect);
        EXPECT_EQ(button.colour, pixels[3 * rect.Width() + 3]) << button.id;
        EXPECT_EQ(button.colour, pixels[17 * rect.Width() + 18]) << button.id;
    }
    m_frame->DestroyWindow();
    m_frame = NULL;
    DeleteObject(strip);
}

TEST_F(CustomToolBarTest, FloatingBarHoldsItsButtons)
{
    m_frame->FloatControlBar(m_bar, CPoint(200, 200), CBRS_ALIGN_TOP);
    m_frame->RecalcLayout();
    PumpMessages();
    ASSERT_TRUE(m_bar->IsFloating());
    CRect client;
    m_bar->GetClientRect(&client);
    for (int i = 0; i < m_bar->GetCount(); i++) {
        CRect rect;
        m_bar->GetButtonRect(i, &rect);
        EXPECT_TRUE(client.PtInRect(rect.TopLeft())) << i;
        EXPECT_TRUE(client.PtInRect(CPoint(rect.right - 1, rect.bottom - 1))) << i;
    }
}

TEST_F(CustomToolBarTest, ClicksGiveOneCommandEachAndNoneWhenReleasedOutside)
{
    const struct
    {
        const char* name;
        DWORD style;
        BOOL releaseOutside;
        std::vector<UINT> commands;
        std::vector<int> codes;
    } kCases[] = {
        {"click", 0, FALSE, {kRedButton}, {}},
        {"released outside", 0, TRUE, {}, {}},
        {"check box", TBBS_CHECKBOX, FALSE, {kRedButton}, {}},
        {"drop-down", TBSTYLE_DROPDOWN, FALSE, {}, {kTkNotifyDropDown}},
    };
    for (const auto& c : kCases) {
        m_bar->GetButton(IndexOf(kRedButton))->SetStyle(c.style);
        m_frame->m_commands.clear();
        m_frame->m_notifications.clear();
        CPoint centre = Centre(kRedButton);
        Click(centre, c.releaseOutside ? CPoint(centre.x, centre.y + 40) : centre);
        EXPECT_EQ(c.commands, m_frame->m_commands) << c.name;
        std::vector<int> codes;
        for (const TkTBNotify& notify : m_frame->m_notifications)
            codes.push_back((int)notify.hdr.hdr.code);
        EXPECT_EQ(c.codes, codes) << c.name;
        EXPECT_FALSE(m_bar->GetButton(IndexOf(kRedButton))->HasStyle(TBBS_PRESSED)) << c.name;
        EXPECT_EQ(-1, m_bar->GetPressedIndex()) << c.name;
    }
}

TEST_F(CustomToolBarTest, DropDownNotificationNamesTheBarAndTheButton)
{
    int index = IndexOf(kRedButton);
    m_bar->GetButton(index)->SetStyle(TBSTYLE_DROPDOWN);
    Click(Centre(kRedButton), Centre(kRedButton));
    ASSERT_EQ(1u, m_frame->m_notifications.size());
    const TkTBNotify& notify = m_frame->m_notifications[0];
    EXPECT_EQ(m_bar->m_hWnd, notify.hdr.hdr.hwndFrom);
    EXPECT_EQ(kBarId, notify.hdr.hdr.idFrom);
    EXPECT_EQ((int)kRedButton, notify.hdr.iItem);
    EXPECT_EQ(index, notify.nIndex);
    EXPECT_FALSE(notify.bHeapCopy);
}

// A check box toggles on each click, clearing indeterminate, on every button
// of its command.
TEST_F(CustomToolBarTest, CheckBoxTogglesEveryButtonOfItsCommand)
{
    m_bar->InsertButton(m_bar->GetCount(), kRedButton, FALSE, FALSE);
    for (int i = 0; i < m_bar->GetCount(); i++) {
        if (m_bar->GetButtonID(i) == kRedButton)
            m_bar->GetButton(i)->SetStyle(TBBS_CHECKBOX | TBBS_INDETERMINATE);
    }
    const BOOL kExpected[] = {TRUE, FALSE, TRUE};
    for (BOOL checked : kExpected) {
        Click(Centre(kRedButton), Centre(kRedButton));
        for (int i = 0; i < m_bar->GetCount(); i++) {
            if (m_bar->GetButtonID(i) != kRedButton)
                continue;
            EXPECT_EQ(checked, m_bar->GetButton(i)->HasStyle(TBBS_CHECKED)) << i;
            EXPECT_FALSE(m_bar->GetButton(i)->HasStyle(TBBS_INDETERMINATE)) << i;
        }
    }
}

// Pixels of the red image's button, relative to its corner (23 x 22, the
// 16 x 15 image at (3, 3), one pixel further when down).
TEST_F(CustomToolBarTest, ButtonStatesPaintFrameAndImage)
{
    const struct
    {
        const char* name;
        DWORD style;
        DWORD exStyle;
        std::vector<std::pair<CPoint, const char*>> pixels;
    } kCases[] = {
        {"classic", 0, 0,
         {{{0, 0}, "highlight"}, {{22, 0}, "frame"}, {{0, 21}, "frame"}, {{22, 21}, "frame"},
          {{1, 1}, "face"}, {{21, 20}, "shadow"}, {{2, 2}, "face"}, {{3, 3}, "red"},
          {{18, 17}, "red"}, {{19, 18}, "face"}}},
        {"pressed", TBBS_PRESSED, 0,
         {{{0, 0}, "frame"}, {{22, 21}, "highlight"}, {{1, 1}, "shadow"}, {{21, 20}, "face"},
          {{3, 3}, "face"}, {{4, 4}, "red"}, {{19, 18}, "red"}}},
        {"disabled", TBBS_DISABLED, 0,
         {{{0, 0}, "highlight"}, {{22, 21}, "frame"}, {{3, 3}, "shadow"}, {{18, 17}, "shadow"},
          {{19, 3}, "face"}, {{19, 4}, "highlight"}, {{19, 18}, "highlight"}, {{4, 18}, "highlight"},
          {{3, 18}, "face"}, {{2, 2}, "face"}}},
        {"indeterminate", TBBS_INDETERMINATE, 0,
         {{{0, 0}, "highlight"}, {{3, 3}, "shadow"}, {{18, 17}, "shadow"}}},
        {"cool", 0, TKTBS_COOLLOOK,
         {{{0, 0}, "face"}, {{22, 21}, "face"}, {{3, 3}, "red"}}},
        {"cool hot", TKBS_HOT, TKTBS_COOLLOOK,
         {{{0, 0}, "highlight"}, {{22, 21}, "shadow"}, {{1, 1}, "face"}, {{3, 3}, "red"}}},
        {"cool pressed", TBBS_PRESSED, TKTBS_COOLLOOK,
         {{{0, 0}, "shadow"}, {{22, 21}, "highlight"}, {{1, 1}, "face"}, {{4, 4}, "red"}}},
    };
    for (const auto& c : kCases) {
        m_bar->SetExBarStyle(c.exStyle, FALSE);
        m_bar->GetButton(IndexOf(kRedButton))->SetStyle(c.style);
        CRect rect;
        std::vector<COLORREF> pixels = PaintButton(kRedButton, &rect);
        ASSERT_EQ(CSize(23, 22), rect.Size());
        for (const auto& pixel : c.pixels) {
            COLORREF colour = pixels[pixel.first.y * rect.Width() + pixel.first.x];
            EXPECT_EQ(pixel.second, ColourName(colour))
                << c.name << " at " << pixel.first.x << "," << pixel.first.y;
        }
    }
}

// Checked: the image stays, its background inside the frame is dithered in
// face and highlight, alternating pixel by pixel.
TEST_F(CustomToolBarTest, CheckedButtonDithersTheBackgroundOnly)
{
    m_bar->GetButton(IndexOf(kRedButton))->SetStyle(TBBS_CHECKBOX | TBBS_CHECKED);
    CRect rect;
    std::vector<COLORREF> pixels = PaintButton(kRedButton, &rect);
    auto at = [&](int x, int y) { return ColourName(pixels[y * rect.Width() + x]); };
    EXPECT_EQ("frame", at(0, 0));
    EXPECT_EQ("red", at(4, 4));
    EXPECT_EQ("red", at(19, 18));
    for (int x = 2; x < 20; x++) {
        std::string here = at(x, 2);
        EXPECT_TRUE(here == "face" || here == "highlight") << x << ": " << here;
        EXPECT_NE(here, at(x + 1, 2)) << x;
        EXPECT_NE(here, at(x, 3)) << x;
    }
}

// Removing a button tidies the separators around it; the last button of a
// user bar takes the bar with it, a built-in bar stays empty.
TEST_F(CustomToolBarTest, RemovingButtonsTidiesSeparators)
{
    const struct
    {
        const char* name;
        std::vector<UINT> ids;
        int remove;
        std::vector<UINT> left;
    } kCases[] = {
        {"between separators", {100, 0, 101, 0, 102}, 2, {100, 0, 102}},
        {"first before a separator", {100, 0, 101}, 0, {101}},
        {"last after a separator", {100, 0, 101}, 2, {100}},
        {"out of range", {100}, 5, {100}},
    };
    for (const auto& c : kCases) {
        m_bar->SetButtons(c.ids.data(), (int)c.ids.size());
        EXPECT_TRUE(m_bar->RemoveButton(c.remove, TRUE)) << c.name;
        std::vector<UINT> left;
        for (int i = 0; i < m_bar->GetCount(); i++)
            left.push_back(m_bar->GetButtonID(i));
        EXPECT_EQ(c.left, left) << c.name;
    }
    const UINT one = 100;
    m_bar->SetButtons(&one, 1);
    EXPECT_FALSE(m_bar->RemoveButton(0, FALSE));
    EXPECT_TRUE(::IsWindow(m_bar->m_hWnd));
}

TEST_F(CustomToolBarTest, ToolBarMessagesAddAndDeleteButtons)
{
    TBBUTTON records[2] = {};
    records[0].idCommand = 0;
    records[1].idCommand = kFaceButton;
    records[1].fsStyle = TBBS_CHECKBOX;
    records[1].fsState = TBSTATE_CHECKED;
    int before = m_bar->GetCount();
    EXPECT_TRUE(m_bar->SendMessage(TB_ADDBUTTONSA, 2, (LPARAM)records));
    ASSERT_EQ(before + 2, m_bar->GetCount());
    EXPECT_TRUE(m_bar->GetButton(before)->IsSeparator());
    EXPECT_EQ(TBBS_CHECKBOX | TBBS_CHECKED, m_bar->GetButtonStyle(before + 1) & (TBBS_CHECKBOX | TBBS_CHECKED));
    m_bar->SendMessage(TB_DELETEBUTTON, before + 1);
    EXPECT_EQ(before, m_bar->GetCount());
}

TEST_F(CustomToolBarTest, UserBarGoesWithItsLastButton)
{
    TkCustomToolBar* user = new TkCustomToolBar;
    user->m_bAutoDelete = TRUE;
    ASSERT_TRUE(user->Create(m_frame, "ToolBar1", WS_VISIBLE | CBRS_TOP, 0, kTkFirstUserBarId));
    const UINT one = kFaceButton;
    user->SetButtons(&one, 1);
    m_frame->DockControlBar(user);
    HWND window = user->m_hWnd;
    EXPECT_FALSE(user->RemoveButton(0, FALSE));
    PumpMessages();
    EXPECT_FALSE(::IsWindow(window));
}

TEST_F(CustomToolBarTest, SavedStateRebuildsTitleAndButtons)
{
    const UINT ids[] = {kRedButton, 0, kFaceButton};
    m_bar->SetButtons(ids, 3);
    m_bar->SetWindowText("Player");
    TkCustomToolBarInfoEx info;
    m_bar->GetBarInfoEx(&info);
    EXPECT_EQ(CString("Player"), info.m_strTitle);
    const UINT other = 101;
    m_bar->SetButtons(&other, 1);
    m_bar->SetWindowText("Other");
    m_bar->SetBarInfoEx(&info);
    ASSERT_EQ(3, m_bar->GetCount());
    for (int i = 0; i < 3; i++)
        EXPECT_EQ(ids[i], m_bar->GetButtonID(i)) << i;
    EXPECT_TRUE(m_bar->GetButton(1)->IsSeparator());
    CString title;
    m_bar->GetWindowText(title);
    EXPECT_EQ(CString("Player"), title);
}

// Command update disables buttons whose command has no handler, unless the
// button stays enabled on its own.
TEST_F(CustomToolBarTest, CommandUpdateDisablesButtonsWithoutHandler)
{
    const UINT kNoHandler = 103;
    const UINT ids[] = {kFaceButton, kNoHandler, kNoHandler};
    m_bar->SetButtons(ids, 3);
    m_bar->GetButton(2)->SetStyle(TKBS_ALWAYS_ENABLED);
    m_bar->OnUpdateCmdUI(m_frame, TRUE);
    EXPECT_FALSE(m_bar->GetButton(0)->HasStyle(TBBS_DISABLED));
    EXPECT_TRUE(m_bar->GetButton(1)->HasStyle(TBBS_DISABLED));
    EXPECT_FALSE(m_bar->GetButton(2)->HasStyle(TBBS_DISABLED));
}

// In the cool look the button under the cursor turns hot; when the cursor
// leaves, the hot-tracking timer takes the hot state away.
TEST_F(CustomToolBarTest, HotTrackingFollowsTheCursor)
{
    m_bar->SetExBarStyle(m_bar->GetExBarStyle() | TKTBS_COOLLOOK, FALSE);
    m_frame->SetForegroundWindow();
    m_frame->SetActiveWindow();
    PumpMessages();
    CPoint centre = Centre(kRedButton);
    CPoint screen = centre;
    m_bar->ClientToScreen(&screen);
    ASSERT_TRUE(SetCursorPos(screen.x, screen.y));
    m_bar->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
    EXPECT_EQ(IndexOf(kRedButton), m_bar->GetHotIndex());
    EXPECT_TRUE(m_bar->GetButton(IndexOf(kRedButton))->HasStyle(TKBS_HOT));
    ASSERT_TRUE(SetCursorPos(screen.x, screen.y + 200));
    m_bar->SendMessage(WM_TIMER, kTkHotTrackTimer);
    EXPECT_EQ(-1, m_bar->GetHotIndex());
    EXPECT_FALSE(m_bar->GetButton(IndexOf(kRedButton))->HasStyle(TKBS_HOT));
}

// The visible tool tip of this thread's windows, with its text; empty when none shows.
std::string ShownTip()
{
    struct Search
    {
        std::string text;
        static BOOL CALLBACK Visit(HWND wnd, LPARAM param)
        {
            char name[64] = "";
            GetClassNameA(wnd, name, sizeof(name));
            if (strcmp(name, TOOLTIPS_CLASSA) == 0 && IsWindowVisible(wnd)) {
                char text[128] = "";
                GetWindowTextA(wnd, text, sizeof(text));
                reinterpret_cast<Search*>(param)->text = text;
                return FALSE;
            }
            return TRUE;
        }
    } search;
    EnumThreadWindows(GetCurrentThreadId(), Search::Visit, (LPARAM)&search);
    return search.text;
}

// The tip of the button under a resting pointer, as the pointer moves from
// button to button: the tip part of the command's string; the fly-by prompt
// names each command once, and the idle prompt comes back off the bar.
TEST_F(CustomToolBarTest, ARestingPointerShowsTheButtonsTipAndPrompt)
{
    // Commands whose strings share the resource block of the frame's title.
    const UINT kOpen = 497;
    const UINT kClose = 498;
    const UINT kIds[] = {kOpen, 0, kClose};
    m_bar->SetButtons(kIds, 3);
    m_bar->SetBarStyle(m_bar->GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    m_frame->RecalcLayout();
    m_frame->SetForegroundWindow();
    PumpMessages();
    const struct
    {
        UINT id;
        const char* tip;
    } kCases[] = {{kOpen, "Open"}, {kClose, "Close"}, {kOpen, "Open"}};
    for (const auto& c : kCases) {
        CPoint point = Centre(c.id);
        m_bar->ClientToScreen(&point);
        // The shown tip's timers keep the queue busy: pumped for a bounded time.
        InputScript().MoveTo(point).MoveTo(CPoint(point.x + 1, point.y)).SendOnly();
        for (int i = 0; i < 50 && ShownTip() != c.tip; i++) {
            MsgWaitForMultipleObjects(0, NULL, FALSE, 100, QS_ALLINPUT);
            PumpMessages();
        }
        EXPECT_EQ(c.tip, ShownTip()) << c.id;
    }
    CRect client;
    m_frame->GetClientRect(&client);
    CPoint away = client.CenterPoint();
    m_frame->ClientToScreen(&away);
    InputScript().MoveTo(away).SendOnly();
    for (int i = 0; i < 20 && m_frame->m_prompts.size() < 4; i++) {
        MsgWaitForMultipleObjects(0, NULL, FALSE, 100, QS_ALLINPUT);
        PumpMessages();
    }
    EXPECT_EQ((std::vector<UINT>{kOpen, kClose, kOpen, AFX_IDS_IDLEMESSAGE}), m_frame->m_prompts);
}

// A menu button from a button map: sized by its text in the bar's font, and
// a press opens its menu (notification -2120 with the map's two values)
// without capture or command.
TEST_F(CustomToolBarTest, MenuButtonOpensItsMenuWithTheMapsValues)
{
    static const char kText[] = "&File";
    static const TkBtnMapEntry kMap[] = {
        {&TkTBMenuBtn::classTkTBMenuBtn, kFaceButton, 0, {7, 1, kText, 3}},
        {NULL, 0, 0, {}},
    };
    m_bar->SetButtonMaps(kMap, NULL);
    const UINT id = kFaceButton;
    m_bar->SetButtons(&id, 1);
    m_frame->RecalcLayout();
    PumpMessages();
    TkTBMenuBtn* button = dynamic_cast<TkTBMenuBtn*>(m_bar->GetButton(0));
    ASSERT_NE(nullptr, button);
    EXPECT_EQ('f', button->m_chMnemonic);
    HDC dc = ::GetDC(NULL);
    HGDIOBJ old = SelectObject(dc, m_bar->GetFont()->GetSafeHandle());
    CRect text(0, 0, 0, 0);
    DrawTextA(dc, kText, -1, &text, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ::ReleaseDC(NULL, dc);
    EXPECT_EQ(CSize(text.Width() + 10, text.Height() + 6), button->GetRect().Size());
    CPoint centre = button->GetRect().CenterPoint();
    m_bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    EXPECT_NE(m_bar, CWnd::GetCapture());
    m_bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
    PumpMessages();
    ASSERT_EQ(1u, m_frame->m_notifications.size());
    const TkTBNotify& notify = m_frame->m_notifications[0];
    EXPECT_EQ(-2120, (int)notify.hdr.hdr.code);
    EXPECT_EQ(7u, notify.dwValue1);
    EXPECT_EQ(1u, notify.dwValue2);
    EXPECT_TRUE(m_frame->m_commands.empty());
}

// A button kind that keeps a byte in the saved layout and notes the bar
// styles it is told of.
class CDataBtn : public TkStdBtn
{
public:
    static TkStdBtn* Make() { return new CDataBtn; }
    void GetBtnData(BYTE* size, const BYTE** data) const override
    {
        *size = 1;
        *data = &m_value;
    }
    void SetBtnData(BYTE size, const BYTE* data) override { m_value = size == 1 ? *data : 0xEE; }
    void BarStyleChanged(DWORD style) override { m_styles.push_back(style); }
    BYTE m_value = 0;
    std::vector<DWORD> m_styles;
};
const TkBtnFactory kDataBtnClass = {CDataBtn::Make};

TEST_F(CustomToolBarTest, ButtonDataTravelsWithTheSavedButtonsAndStyleChangesReachTheButtons)
{
    static const TkBtnMapEntry kMap[] = {
        {&kDataBtnClass, kRedButton, 0, {}},
        {NULL, 0, 0, {}},
    };
    m_bar->SetButtonMaps(kMap, NULL);
    const UINT ids[] = {kFaceButton, kRedButton};
    m_bar->SetButtons(ids, 2);
    CDataBtn* button = dynamic_cast<CDataBtn*>(m_bar->GetButton(1));
    ASSERT_NE(nullptr, button);
    button->m_value = 42;
    TkCustomToolBarInfoEx info;
    m_bar->GetBarInfoEx(&info);
    ASSERT_EQ(2, info.m_arrButtons.GetSize());
    EXPECT_EQ(0, info.m_arrButtons.GetInfo(0)->m_nDataSize);
    ASSERT_EQ(1, info.m_arrButtons.GetInfo(1)->m_nDataSize);

    m_bar->SetButtons(ids, 0);
    m_bar->SetBarInfoEx(&info);
    button = dynamic_cast<CDataBtn*>(m_bar->GetButton(1));
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(42, button->m_value);

    DWORD style = m_bar->GetBarStyle() | CBRS_FLYBY;
    m_bar->SetBarStyle(style);
    EXPECT_EQ(std::vector<DWORD>{style}, button->m_styles);
}

// While customising, a floating bar asked to hide stays until its own
// "WM_NODELAYHIDE" arrives, then hides at once.
TEST_F(CustomToolBarTest, FloatingBarHidesOnItsOwnMessageWhileCustomising)
{
    m_frame->FloatControlBar(m_bar, CPoint(200, 200), CBRS_ALIGN_TOP);
    m_frame->RecalcLayout();
    PumpMessages();
    ASSERT_TRUE(m_bar->IsWindowVisible());
    m_bar->SetCustomizeMode(TRUE);
    m_bar->DelayShow(FALSE);
    EXPECT_TRUE(m_bar->IsVisible());
    PumpMessages();
    EXPECT_FALSE(m_bar->IsWindowVisible());
    m_bar->SetCustomizeMode(FALSE);
}

TEST_F(CustomToolBarTest, CancelModeReleasesThePressedButton)
{
    CPoint centre = Centre(kRedButton);
    m_bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(centre.x, centre.y));
    ASSERT_EQ(IndexOf(kRedButton), m_bar->GetPressedIndex());
    EXPECT_EQ(m_bar, CWnd::GetCapture());
    m_bar->SendMessage(WM_CANCELMODE);
    EXPECT_EQ(-1, m_bar->GetPressedIndex());
    EXPECT_NE(m_bar, CWnd::GetCapture());
    EXPECT_FALSE(m_bar->GetButton(IndexOf(kRedButton))->HasStyle(TBBS_PRESSED));
    m_bar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(centre.x, centre.y));
    PumpMessages();
    EXPECT_TRUE(m_frame->m_commands.empty());
}

// Separators are gaps in the classic look; in the cool look a shadow line
// and a highlight line down the middle.
TEST_F(CustomToolBarTest, SeparatorPaintsItsLineOnlyInTheCoolLook)
{
    const int kSeparator = 1;
    CRect rect;
    m_bar->SetExBarStyle(TKTBS_COOLLOOK, FALSE);
    std::vector<COLORREF> pixels = PaintItem(kSeparator, &rect);
    ASSERT_EQ(CSize(8, 22), rect.Size());
    const char* kCool[] = {"face", "face", "face", "face", "shadow", "highlight", "face", "face"};
    for (int x = 0; x < 8; x++)
        EXPECT_EQ(kCool[x], ColourName(pixels[10 * rect.Width() + x])) << x;
    m_bar->SetExBarStyle(0, FALSE);
    pixels = PaintItem(kSeparator, &rect);
    for (int x = 0; x < 8; x++)
        EXPECT_NE("shadow", ColourName(pixels[10 * rect.Width() + x])) << x;
}

// A dynamic bar's rows rewrap when its size changes, so every button
// repaints, also when the bar only shrinks.
TEST_F(CustomToolBarTest, ResizedDynamicBarRepaintsEveryButton)
{
    m_bar->UpdateWindow();
    CRect window;
    m_bar->GetWindowRect(&window);
    m_bar->SetWindowPos(NULL, 0, 0, window.Width() - 10, window.Height(),
                        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect update, client;
    ASSERT_TRUE(::GetUpdateRect(m_bar->m_hWnd, &update, FALSE));
    m_bar->GetClientRect(&client);
    for (int i = 0; i < m_bar->GetCount(); i++) {
        CRect rect, shown, repainted;
        m_bar->GetButtonRect(i, &rect);
        shown.IntersectRect(&rect, &client);
        repainted.IntersectRect(&shown, &update);
        EXPECT_TRUE(repainted == shown) << i;
    }
}

// Transparent images (cool look and 0x1000): the image's corner colour gives
// way to the face; the rest of the image stays.
TEST_F(CustomToolBarTest, TransparentImagesLeaveTheirCornerColourOut)
{
    const UINT kFramed = 103;
    const COLORREF kCorner = RGB(0, 128, 0);
    const COLORREF kMiddle = RGB(0, 0, 255);
    HDC screen = ::GetDC(NULL);
    HBITMAP strip = CreateCompatibleBitmap(screen, 16, 15);
    HDC dc = CreateCompatibleDC(screen);
    ::ReleaseDC(NULL, screen);
    HGDIOBJ old = SelectObject(dc, strip);
    CDC::FromHandle(dc)->FillSolidRect(0, 0, 16, 15, kCorner);
    CDC::FromHandle(dc)->FillSolidRect(4, 4, 8, 7, kMiddle);
    SelectObject(dc, old);
    DeleteDC(dc);
    ASSERT_TRUE(m_bar->GetBmpMgr()->AddBitmap(strip, NULL, &kFramed, 1));
    m_bar->InsertButton(m_bar->GetCount(), kFramed, FALSE, FALSE);
    int last = m_bar->GetCount() - 1;
    m_bar->SetButtonStyle(last, (m_bar->GetButtonStyle(last) | TKBS_ALWAYS_ENABLED) & ~TBBS_DISABLED);

    const struct
    {
        DWORD exStyle;
        COLORREF corner;
    } kCases[] = {
        {TKTBS_COOLLOOK | TKTBS_TRANSPARENT, GetSysColor(COLOR_BTNFACE)},
        {TKTBS_COOLLOOK, kCorner},
        {TKTBS_TRANSPARENT, kCorner},
    };
    for (const auto& c : kCases) {
        m_bar->SetExBarStyle(c.exStyle, FALSE);
        CRect rect;
        std::vector<COLORREF> pixels = PaintButton(kFramed, &rect);
        // The image sits at ((23 - 16 - 1) / 2, (22 - 15) / 2).
        auto at = [&](int x, int y) { return pixels[(3 + y) * rect.Width() + 3 + x]; };
        EXPECT_EQ(c.corner, at(0, 0)) << c.exStyle;
        EXPECT_EQ(c.corner, at(15, 14)) << c.exStyle;
        EXPECT_EQ(kMiddle, at(8, 7)) << c.exStyle;
    }
    m_bar->RemoveButton(m_bar->GetCount() - 1, FALSE);
}

// In the cool look the bordered sides get flat lines: highlight on the left
// and top with the 3-D border, shadow otherwise, shadow on the right and
// bottom.
TEST_F(CustomToolBarTest, CoolLookDrawsFlatBorderLines)
{
    m_bar->SetExBarStyle(TKTBS_COOLLOOK, FALSE);
    const struct
    {
        DWORD borders;
        const char* left;
        const char* top;
    } kCases[] = {
        {CBRS_BORDER_ANY | CBRS_BORDER_3D, "highlight", "highlight"},
        {CBRS_BORDER_ANY, "shadow", "shadow"},
    };
    for (const auto& c : kCases) {
        m_bar->SetBarStyle((m_bar->GetBarStyle() & ~(CBRS_BORDER_ANY | CBRS_BORDER_3D)) | c.borders);
        CSize size;
        std::vector<COLORREF> pixels = PaintClient(&size);
        auto at = [&](int x, int y) { return ColourName(pixels[y * size.cx + x]); };
        EXPECT_EQ(c.left, at(0, size.cy / 2)) << c.borders;
        EXPECT_EQ(c.top, at(size.cx / 2, 0)) << c.borders;
        EXPECT_EQ("shadow", at(size.cx - 1, size.cy / 2)) << c.borders;
        EXPECT_EQ("shadow", at(size.cx / 2, size.cy - 1)) << c.borders;
    }
}

// A bar outside any dock bar takes its parent's width when it lies and its
// parent's height when it stands, and keeps its other side.
TEST_F(CustomToolBarTest, BarOutsideADockBarSizesToItsParent)
{
    CRect parent;
    m_frame->GetClientRect(&parent);
    for (DWORD align : {(DWORD)CBRS_ALIGN_TOP, (DWORD)CBRS_ALIGN_LEFT}) {
        TkCustomToolBar* bar = new TkCustomToolBar;
        bar->m_bAutoDelete = TRUE;
        ASSERT_TRUE(bar->Create(m_frame, "Alone", WS_VISIBLE | align, 0, kBarId + 1));
        bar->SetWindowPos(NULL, 0, 0, 40, 30, SWP_NOMOVE | SWP_NOZORDER);
        bar->SizeToParent();
        CRect rect;
        bar->GetWindowRect(&rect);
        if (align == CBRS_ALIGN_TOP)
            EXPECT_EQ(CSize(parent.Width(), 30), rect.Size());
        else
            EXPECT_EQ(CSize(40, parent.Height()), rect.Size());
        bar->DestroyWindow();
    }
    m_bar->SetWindowPos(NULL, 0, 0, 40, 30, SWP_NOMOVE | SWP_NOZORDER);
    CRect before, after;
    m_bar->GetWindowRect(&before);
    m_bar->SizeToParent();
    m_bar->GetWindowRect(&after);
    EXPECT_EQ(before, after) << "a docked bar is left to its dock bar";
}

// A stretched bar in a rebar band keeps the band's minimum child size at its
// own after each layout; a bar that does not stretch leaves the band alone.
TEST_F(CustomToolBarTest, StretchedBarKeepsItsRebarBandAtItsSize)
{
    TkReBar rebar;
    ASSERT_TRUE(rebar.Create(m_frame));
    for (BOOL stretch : {TRUE, FALSE}) {
        TkCustomToolBar* bar = new TkCustomToolBar;
        bar->m_bAutoDelete = TRUE;
        ASSERT_TRUE(bar->Create(&rebar, "Banded", WS_VISIBLE | CBRS_TOP, stretch ? TKCBRS_EX_STRETCH : 0,
                                kBarId + 1));
        ASSERT_TRUE(bar->LoadToolBar(kToolBarResource));
        bar->SetWindowPos(NULL, 0, 0, 10, 5, SWP_NOMOVE | SWP_NOZORDER);
        ASSERT_TRUE(rebar.AddBar(bar));
        CSize size = bar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
        ASSERT_GT(size.cy, 10);
        REBARBANDINFOA band = {};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_CHILDSIZE;
        ASSERT_TRUE(rebar.SendMessage(RB_GETBANDINFOA, rebar.GetBandCount() - 1, (LPARAM)&band));
        if (stretch)
            EXPECT_EQ(size, CSize(band.cxMinChild, band.cyMinChild));
        else
            EXPECT_EQ(CSize(10, 5), CSize(band.cxMinChild, band.cyMinChild));
        rebar.SendMessage(RB_DELETEBAND, rebar.GetBandCount() - 1);
        bar->DestroyWindow();
    }
    rebar.DestroyWindow();
}
