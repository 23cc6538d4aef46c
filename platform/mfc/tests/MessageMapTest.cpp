#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"

#include <afxwin.h>

#include <string>
#include <vector>

namespace
{
CCallRecorder g_calls;

const UINT kCustomMessage = WM_APP + 7;
UINT g_registeredMessage = RegisterWindowMessageA("MessageMapTest.Registered");
const UINT kPlainCommand = 100;
const UINT kRangeFirst = 200;
const UINT kRangeLast = 205;
const UINT kExCommand = 300;
const UINT kBaseOnlyCommand = 400;
const UINT kOverriddenCommand = 401;
const UINT kButtonId = 500;
const UINT kNotifierId = 501;
const UINT kReflectingId = 502;
const UINT kPassingId = 503;
const UINT kTestNotifyCode = (UINT)-1234;

class CBaseWnd : public CWnd
{
public:
    void OnBaseOnly() { g_calls.Record("base only"); }
    void OnOverridden() { g_calls.Record("base overridden"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
    ON_COMMAND(kBaseOnlyCommand, OnBaseOnly)
    ON_COMMAND(kOverriddenCommand, OnOverridden)
END_MESSAGE_MAP()

// A control that takes its own notification and one that passes it on.
class CReflectingWnd : public CWnd
{
public:
    explicit CReflectingWnd(BOOL passOn) : m_passOn(passOn) {}

    void OnReflected(NMHDR* header, LRESULT* result)
    {
        g_calls.Record("reflected " + std::to_string(header->idFrom));
        *result = 42;
    }
    BOOL OnReflectedEx(NMHDR* header, LRESULT*)
    {
        g_calls.Record("reflected ex " + std::to_string(header->idFrom));
        return !m_passOn;
    }

    BOOL m_passOn;
    DECLARE_MESSAGE_MAP()
};

class CReflectingOnlyWnd : public CReflectingWnd
{
public:
    CReflectingOnlyWnd() : CReflectingWnd(FALSE) {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingOnlyWnd, CReflectingWnd)
    ON_NOTIFY_REFLECT(kTestNotifyCode, OnReflected)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CReflectingWnd, CWnd)
    ON_NOTIFY_REFLECT_EX(kTestNotifyCode, OnReflectedEx)
END_MESSAGE_MAP()

class CRecordingWnd : public CBaseWnd
{
public:
    int OnCreate(LPCREATESTRUCT cs)
    {
        g_calls.Record(std::string("create ") + cs->lpszName);
        return CWnd::OnCreate(cs);
    }
    void OnSize(UINT type, int cx, int cy)
    {
        g_calls.Record("size " + std::to_string(type) + " " + std::to_string(cx) + "x" +
                       std::to_string(cy));
    }
    void OnTimer(UINT_PTR id) { g_calls.Record("timer " + std::to_string(id)); }
    LRESULT OnCustom(WPARAM wParam, LPARAM lParam)
    {
        g_calls.Record("custom " + std::to_string(wParam) + " " + std::to_string(lParam));
        return 77;
    }
    LRESULT OnRegistered(WPARAM wParam, LPARAM)
    {
        g_calls.Record("registered " + std::to_string(wParam));
        return 78;
    }
    void OnPlain() { g_calls.Record("plain"); }
    void OnRange(UINT id) { g_calls.Record("range " + std::to_string(id)); }
    BOOL OnEx(UINT id)
    {
        g_calls.Record("ex " + std::to_string(id));
        return FALSE;
    }
    void OnOverridden() { g_calls.Record("derived overridden"); }
    void OnButton() { g_calls.Record("button clicked"); }
    void OnNotifier(NMHDR* header, LRESULT* result)
    {
        g_calls.Record("notify " + std::to_string(header->idFrom));
        *result = 9;
    }
    void OnNotifyRange(UINT id, NMHDR*, LRESULT*) { g_calls.Record("notify range " + std::to_string(id)); }
    void OnLButtonDown(UINT flags, CPoint point)
    {
        g_calls.Record("lbutton " + std::to_string(flags) + " " + std::to_string(point.x) + "," +
               std::to_string(point.y));
    }
    void OnContextMenu(CWnd* wnd, CPoint point)
    {
        g_calls.Record(std::string("context ") + (wnd == this ? "self " : "other ") +
               std::to_string(point.x) + "," + std::to_string(point.y));
    }
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL systemMenu)
    {
        g_calls.Record(std::string("popup ") + (popup->GetMenuItemCount() == 2 ? "2 items " : "? ") +
               std::to_string(index) + " " + std::to_string(systemMenu));
    }
    void OnNcDestroy()
    {
        g_calls.Record("ncdestroy");
        CWnd::OnNcDestroy();
    }
    void PostNcDestroy() override { g_calls.Record("post ncdestroy"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingWnd, CBaseWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_NCDESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_CONTEXTMENU()
    ON_WM_INITMENUPOPUP()
    ON_MESSAGE(kCustomMessage, OnCustom)
    ON_REGISTERED_MESSAGE(g_registeredMessage, OnRegistered)
    ON_COMMAND(kPlainCommand, OnPlain)
    ON_COMMAND_RANGE(kRangeFirst, kRangeLast, OnRange)
    ON_COMMAND_EX(kExCommand, OnEx)
    ON_COMMAND(kOverriddenCommand, OnOverridden)
    ON_BN_CLICKED(kButtonId, OnButton)
    ON_NOTIFY(kTestNotifyCode, kNotifierId, OnNotifier)
    ON_NOTIFY_RANGE(kTestNotifyCode, kReflectingId, kPassingId, OnNotifyRange)
END_MESSAGE_MAP()

// Creates the window on the test's thread, so that its messages run at once.
class MessageMapTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_calls.Clear();
        ASSERT_TRUE(m_wnd.CreateEx(0, NULL, "recorder", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200,
                                   NULL, NULL));
        g_calls.Clear();
    }
    void TearDown() override
    {
        if (m_wnd.m_hWnd)
            m_wnd.DestroyWindow();
    }

    NMHDR Header(HWND from, UINT id)
    {
        NMHDR header;
        header.hwndFrom = from;
        header.idFrom = id;
        header.code = kTestNotifyCode;
        return header;
    }

    CRecordingWnd m_wnd;
};

TEST_F(MessageMapTest, CreateGoesThroughTheMapAndBindsTheObject)
{
    CRecordingWnd wnd;
    g_calls.Clear();
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "second", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL));
    EXPECT_EQ(std::vector<std::string>{"create second"}, g_calls.Calls());
    EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
    EXPECT_EQ(&wnd, CWnd::FromHandle(wnd.m_hWnd));
    HWND hWnd = wnd.m_hWnd;
    g_calls.Clear();
    wnd.DestroyWindow();
    EXPECT_EQ((std::vector<std::string>{"ncdestroy", "post ncdestroy"}), g_calls.Calls());
    EXPECT_EQ(NULL, wnd.m_hWnd);
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hWnd));
}

TEST_F(MessageMapTest, WindowMessagesReachTheirHandlersWithTheirParameters)
{
    CMenu popup;
    popup.CreatePopupMenu();
    popup.AppendMenu(MF_STRING, 1, "one");
    popup.AppendMenu(MF_STRING, 2, "two");
    struct Case
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        const char* call;
    };
    const Case cases[] = {
        {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480), 0, "size 2 640x480"},
        {WM_TIMER, 12, 0, 0, "timer 12"},
        {kCustomMessage, 3, 4, 77, "custom 3 4"},
        {g_registeredMessage, 5, 0, 78, "registered 5"},
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, 7), 0, "lbutton 1 -5,7"},
        {WM_CONTEXTMENU, (WPARAM)m_wnd.m_hWnd, MAKELPARAM(300, -2), 0, "context self 300,-2"},
        {WM_INITMENUPOPUP, (WPARAM)popup.m_hMenu, MAKELPARAM(3, TRUE), 0, "popup 2 items 3 1"},
    };
    for (const Case& c : cases)
    {
        g_calls.Clear();
        EXPECT_EQ(c.result, m_wnd.SendMessage(c.message, c.wParam, c.lParam)) << c.call;
        EXPECT_EQ(std::vector<std::string>{c.call}, g_calls.Calls());
    }
}

TEST_F(MessageMapTest, CommandsFindTheirEntryAlongTheClassChain)
{
    struct Case
    {
        UINT id;
        const char* call;
    };
    const Case cases[] = {
        {kPlainCommand, "plain"},
        {kRangeFirst, "range 200"},
        {kRangeLast, "range 205"},
        {kExCommand, "ex 300"},
        {kBaseOnlyCommand, "base only"},
        {kOverriddenCommand, "derived overridden"},
    };
    for (const Case& c : cases)
    {
        g_calls.Clear();
        m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(c.id, 0), 0);
        EXPECT_EQ(std::vector<std::string>{c.call}, g_calls.Calls());
    }
    g_calls.Clear();
    EXPECT_FALSE(m_wnd.OnCmdMsg(kRangeLast + 1, CN_COMMAND, NULL, NULL));
    // ON_COMMAND_EX that answers FALSE leaves the command unhandled.
    EXPECT_FALSE(m_wnd.OnCmdMsg(kExCommand, CN_COMMAND, NULL, NULL));
    AFX_CMDHANDLERINFO info = {NULL, NULL};
    g_calls.Clear();
    EXPECT_TRUE(m_wnd.OnCmdMsg(kPlainCommand, CN_COMMAND, NULL, &info));
    EXPECT_EQ(&m_wnd, info.pTarget);
    EXPECT_TRUE(g_calls.Calls().empty()) << "asking for a handler must not call it";
}

TEST_F(MessageMapTest, ControlNotificationsReachTheParent)
{
    CWnd button;
    ASSERT_TRUE(button.Create("BUTTON", "press", WS_VISIBLE | BS_PUSHBUTTON, RECT{0, 0, 80, 20},
                              &m_wnd, kButtonId));
    g_calls.Clear();
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(std::vector<std::string>{"button clicked"}, g_calls.Calls());
}

TEST_F(MessageMapTest, NotificationsGoToTheControlFirstWhenItReflectsThem)
{
    CWnd plain;
    CReflectingOnlyWnd reflecting;
    CReflectingWnd passing(TRUE);
    ASSERT_TRUE(plain.Create("STATIC", "", 0, RECT{0, 0, 10, 10}, &m_wnd, kNotifierId));
    ASSERT_TRUE(reflecting.Create("STATIC", "", 0, RECT{0, 0, 10, 10}, &m_wnd, kReflectingId));
    ASSERT_TRUE(passing.Create("STATIC", "", 0, RECT{0, 0, 10, 10}, &m_wnd, kPassingId));
    struct Case
    {
        CWnd* from;
        LRESULT result;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {&plain, 9, {"notify 501"}},
        {&reflecting, 42, {"reflected 502"}},
        {&passing, 0, {"reflected ex 503", "notify range 503"}},
    };
    for (const Case& c : cases)
    {
        g_calls.Clear();
        NMHDR header = Header(c.from->m_hWnd, c.from->GetDlgCtrlID());
        EXPECT_EQ(c.result, m_wnd.SendMessage(WM_NOTIFY, header.idFrom, (LPARAM)&header));
        EXPECT_EQ(c.calls, g_calls.Calls());
    }
}

TEST_F(MessageMapTest, TemporaryObjectsStandInForForeignWindowsUntilIdle)
{
    HWND foreign = CreateWindowExA(0, "STATIC", "foreign", 0, 0, 0, 10, 10, NULL, NULL, NULL,
                                   NULL);
    ASSERT_TRUE(foreign != NULL);
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(foreign));
    CWnd* temporary = CWnd::FromHandle(foreign);
    ASSERT_TRUE(temporary != NULL);
    EXPECT_EQ(foreign, temporary->m_hWnd);
    EXPECT_EQ(temporary, CWnd::FromHandle(foreign));
    CWnd::DeleteTempMap();
    // The window outlives its temporary object.
    EXPECT_TRUE(IsWindow(foreign));
    ::DestroyWindow(foreign);
}

TEST_F(MessageMapTest, SubclassedWindowsKeepTheirOwnBehaviourForUnhandledMessages)
{
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 50, 20, m_wnd.m_hWnd,
                                (HMENU)(UINT_PTR)kNotifierId, NULL, NULL);
    CRecordingWnd wrapper;
    ASSERT_TRUE(wrapper.SubclassWindow(edit));
    g_calls.Clear();
    wrapper.SendMessage(kCustomMessage, 1, 2);
    EXPECT_EQ(std::vector<std::string>{"custom 1 2"}, g_calls.Calls());
    wrapper.SetWindowText("typed");
    CString text;
    wrapper.GetWindowText(text);
    EXPECT_STREQ("typed", text);
    EXPECT_EQ(edit, wrapper.UnsubclassWindow());
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(edit));
    g_calls.Clear();
    SendMessageA(edit, kCustomMessage, 1, 2);
    EXPECT_TRUE(g_calls.Calls().empty());
}

// A control that colours itself, and a parent that colours its children.
class CColoredStatic : public CStatic
{
public:
    HBRUSH CtlColor(CDC*, UINT type)
    {
        g_calls.Record("control colour " + std::to_string(type));
        return m_brush;
    }
    HBRUSH m_brush = (HBRUSH)GetStockObject(GRAY_BRUSH);
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColoredStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CColoringWnd : public CWnd
{
public:
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT type)
    {
        g_calls.Record("parent colour " + std::to_string(type) + (dc ? " dc " : " ? ") +
               std::to_string(control->GetDlgCtrlID()));
        return (HBRUSH)GetStockObject(BLACK_BRUSH);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColoringWnd, CWnd)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST_F(MessageMapTest, ColourMessagesGoToTheParentsHandlerElseToTheControl)
{
    CColoringWnd coloring;
    ASSERT_TRUE(coloring.CreateEx(0, NULL, "colours", WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL));
    HDC dc = GetDC(m_wnd.m_hWnd);
    struct Case
    {
        CWnd* parent;
        HBRUSH drawing;
        HBRUSH brush;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {&m_wnd, (HBRUSH)GetStockObject(GRAY_BRUSH), (HBRUSH)GetStockObject(GRAY_BRUSH),
         {"control colour 6"}},
        {&coloring, (HBRUSH)GetStockObject(GRAY_BRUSH), (HBRUSH)GetStockObject(BLACK_BRUSH),
         {"parent colour 6 dc 77"}},
        // A control that gives no brush leaves the colours to the default.
        {&m_wnd, NULL, NULL, {"control colour 6"}},
    };
    for (const Case& c : cases)
    {
        CColoredStatic control;
        control.m_brush = c.drawing;
        ASSERT_TRUE(control.Create("", 0, RECT{0, 0, 10, 10}, c.parent, 77));
        g_calls.Clear();
        LRESULT brush = c.parent->SendMessage(WM_CTLCOLORSTATIC, (WPARAM)dc,
                                              (LPARAM)control.m_hWnd);
        if (c.brush)
        {
            EXPECT_EQ((LRESULT)c.brush, brush);
        }
        EXPECT_EQ(c.calls, g_calls.Calls());
    }
    ReleaseDC(m_wnd.m_hWnd, dc);
    coloring.DestroyWindow();
}

// Routes commands as a frame does: to its document first, then to itself.
class CTestDocument : public CCmdTarget
{
public:
    void OnShared() { g_calls.Record("document shared"); }
    void OnUpdateShared(CCmdUI* cmdUI)
    {
        g_calls.Record("document update");
        cmdUI->ContinueRouting();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestDocument, CCmdTarget)
    ON_COMMAND(kPlainCommand, OnShared)
    ON_UPDATE_COMMAND_UI(kPlainCommand, OnUpdateShared)
END_MESSAGE_MAP()

class CRoutingWnd : public CWnd
{
public:
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override
    {
        if (m_document.OnCmdMsg(id, code, extra, info))
            return TRUE;
        return CWnd::OnCmdMsg(id, code, extra, info);
    }
    void OnShared() { g_calls.Record("window shared"); }
    void OnOwn() { g_calls.Record("window own"); }
    void OnUpdateShared(CCmdUI* cmdUI)
    {
        g_calls.Record("window update");
        cmdUI->Enable(FALSE);
    }

    CTestDocument m_document;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingWnd, CWnd)
    ON_COMMAND(kPlainCommand, OnShared)
    ON_COMMAND(kBaseOnlyCommand, OnOwn)
    ON_UPDATE_COMMAND_UI(kPlainCommand, OnUpdateShared)
END_MESSAGE_MAP()

TEST(CommandRoutingTest, TheFirstTargetOnTheRouteWinsAndUpdatesMayPassOn)
{
    CRoutingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, NULL, "router", WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL));
    struct Case
    {
        UINT id;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {kPlainCommand, {"document shared"}},
        {kBaseOnlyCommand, {"window own"}},
    };
    for (const Case& c : cases)
    {
        g_calls.Clear();
        wnd.SendMessage(WM_COMMAND, MAKEWPARAM(c.id, 0), 0);
        EXPECT_EQ(c.calls, g_calls.Calls());
    }
    CCmdUI cmdUI;
    cmdUI.m_nID = kPlainCommand;
    g_calls.Clear();
    EXPECT_TRUE(cmdUI.DoUpdate(&wnd, TRUE));
    EXPECT_EQ((std::vector<std::string>{"document update", "window update"}), g_calls.Calls());
    EXPECT_TRUE(cmdUI.m_bEnableChanged);
    wnd.DestroyWindow();
}

const UINT kNoHandlerCommand = 600;
const UINT kCheckedCommand = 601;

class CMenuOwnerWnd : public CWnd
{
public:
    void OnCommandOnly() {}
    void OnUpdateChecked(CCmdUI* cmdUI)
    {
        cmdUI->SetCheck(1);
        cmdUI->SetText("&Checked now");
    }
    void OnUpdateDisabled(CCmdUI* cmdUI) { cmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuOwnerWnd, CWnd)
    ON_COMMAND(kPlainCommand, OnCommandOnly)
    ON_COMMAND(kCheckedCommand, OnCommandOnly)
    ON_UPDATE_COMMAND_UI(kCheckedCommand, OnUpdateChecked)
    ON_UPDATE_COMMAND_UI(kBaseOnlyCommand, OnUpdateDisabled)
END_MESSAGE_MAP()

TEST(CommandRoutingTest, MenuItemsTakeTheStateTheirHandlersGive)
{
    CMenuOwnerWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, NULL, "menu owner", WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL));
    CMenu popup;
    popup.CreatePopupMenu();
    struct Case
    {
        UINT id;
        UINT state;
        const char* text;
    };
    const Case cases[] = {
        {kPlainCommand, MF_ENABLED, "plain"},
        {kNoHandlerCommand, MF_GRAYED, "none"},
        {kCheckedCommand, MF_CHECKED, "&Checked now"},
        {kBaseOnlyCommand, MF_GRAYED, "disabled"},
    };
    for (const Case& c : cases)
        popup.AppendMenu(MF_STRING, c.id, c.id == kCheckedCommand ? "checked" : c.text);

    CCmdUI cmdUI;
    cmdUI.m_pMenu = &popup;
    cmdUI.m_nIndexMax = popup.GetMenuItemCount();
    for (cmdUI.m_nIndex = 0; cmdUI.m_nIndex < cmdUI.m_nIndexMax; cmdUI.m_nIndex++)
    {
        cmdUI.m_nID = popup.GetMenuItemID(cmdUI.m_nIndex);
        cmdUI.DoUpdate(&owner, TRUE);
    }
    for (UINT i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
    {
        UINT state = popup.GetMenuState(i, MF_BYPOSITION);
        EXPECT_EQ(cases[i].state, state & (MF_GRAYED | MF_CHECKED)) << cases[i].text;
        CString text;
        popup.GetMenuString(i, text, MF_BYPOSITION);
        EXPECT_STREQ(cases[i].text, text);
    }
    owner.DestroyWindow();
}
}
