// The tab window's notify window, which hears of activated tabs (the parent
// until another is set, the parent again when none is), and the scroll bar
// child it makes on request.
#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "tests/support/Waits.h"

#include "toolkit/tabs/Tk3DTabControl.h"
#include "toolkit/tabs/TkTabWnd.h"

#include <string>

namespace
{
CCallRecorder g_heard;

class CNotifyApp : public CWinApp
{
public:
    CNotifyApp() : CWinApp("TabWndNotifyTest") {}
};

class CNotifyPane : public CWnd
{
    DECLARE_DYNCREATE(CNotifyPane)
};
IMPLEMENT_DYNCREATE(CNotifyPane, CWnd)

// Records the activations it hears of under its name.
class CListener : public CFrameWnd
{
public:
    std::string m_name;
    LRESULT OnTabActivate(WPARAM wParam, LPARAM)
    {
        g_heard.Record(m_name + " " + std::to_string(wParam));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CListener, CFrameWnd)
    ON_MESSAGE(WM_TKTAB_ACTIVATE, OnTabActivate)
END_MESSAGE_MAP()

class TabWndNotifyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_heard.Clear();
        const char* names[] = {"host", "other"};
        for (int i = 0; i < 2; i++) {
            m_listeners[i] = new CListener;
            m_listeners[i]->m_name = names[i];
            ASSERT_TRUE(m_listeners[i]->Create(NULL, names[i], WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300)));
        }
        m_tabs = new Tk3DTabWnd;
        ASSERT_TRUE(m_tabs->Create(m_listeners[0], 0x50000010, 0x6E));
        m_tabs->MoveWindow(0, 0, 300, 200);
        m_tabs->AddTab(RUNTIME_CLASS(CNotifyPane), "One");
        m_tabs->AddTab(RUNTIME_CLASS(CNotifyPane), "Two");
        PumpMessages();
    }
    void TearDown() override
    {
        for (CListener* listener : m_listeners)
            listener->DestroyWindow();
        delete m_tabs;
        PumpMessages();
    }

    CNotifyApp m_app;
    CListener* m_listeners[2] = {};
    Tk3DTabWnd* m_tabs = NULL;
};

TEST_F(TabWndNotifyTest, ActivationsGoToTheNotifyWindow)
{
    const struct
    {
        const char* name;
        int setTo;  // listener index, -1 for none, -2 to leave it
        CWnd* expected;
        int tab;
        const char* heard;
    } cases[] = {
        {"the parent at first", -2, m_listeners[0], 1, "host 1"},
        {"another window set", 1, m_listeners[1], 0, "other 0"},
        {"none set: the parent again", -1, m_listeners[0], 1, "host 1"},
    };
    for (const auto& c : cases) {
        if (c.setTo != -2)
            m_tabs->SetNotifyWnd(c.setTo >= 0 ? m_listeners[c.setTo] : NULL);
        EXPECT_EQ(c.expected, m_tabs->GetNotifyWnd()) << c.name;
        g_heard.Clear();
        m_tabs->GetTabControl()->ActivateTab(c.tab);
        PumpMessages();
        EXPECT_EQ(std::vector<std::string>{c.heard}, g_heard.Calls()) << c.name;
    }
}

TEST_F(TabWndNotifyTest, AScrollBarChildIsMadeOnRequest)
{
    const struct
    {
        DWORD style;
        UINT id;
    } cases[] = {{SBS_HORZ, 0x71}, {SBS_VERT | WS_VISIBLE, 0x72}};
    for (const auto& c : cases) {
        ASSERT_TRUE(m_tabs->CreateScrollBarControl(c.style, c.id)) << c.id;
        CWnd* bar = m_tabs->GetDlgItem(c.id);
        ASSERT_NE(nullptr, bar) << c.id;
        char name[32] = "";
        ::GetClassNameA(bar->m_hWnd, name, sizeof(name));
        EXPECT_STRCASEEQ("ScrollBar", name);
        EXPECT_EQ(c.style | WS_CHILD, bar->GetStyle() & (c.style | WS_CHILD | WS_POPUP));
        CRect rect;
        bar->GetWindowRect(&rect);
        EXPECT_EQ(CSize(1, 1), rect.Size()) << c.id;
    }
}

}  // namespace
