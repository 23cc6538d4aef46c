// The extended system commands on real docking views: execute toggles and
// moves a view between docked sides, MDI child states and floating; the
// state menu checks the current state and is opened by the caption's right
// click and by the extra caption button below itself; windows of other
// templates and records naming no window are ignored.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include "toolkit/frames/tests/SysCommandExTest.h"

#include "toolkit/frames/TkCaptionFeatures.h"
#include "toolkit/frames/TkxFilters.h"
#include "toolkit/frames/TkDockableFrame.h"
#include "toolkit/frames/TkMDIChildWnd.h"
#include "toolkit/frames/TkMDIFrameWnd.h"
#include "toolkit/frames/TkMultiDocTemplate.h"

#include <string>
#include <vector>

using namespace nsSysCommandEx;

namespace
{
class CSysCmdExApp : public CWinApp
{
public:
    CSysCmdExApp() : CWinApp("SysCommandExTest") {}
};
CSysCmdExApp g_app;

class CNotesDoc : public CDocument
{
    DECLARE_DYNCREATE(CNotesDoc)
};
IMPLEMENT_DYNCREATE(CNotesDoc, CDocument)

class CNotesView : public CView
{
    DECLARE_DYNCREATE(CNotesView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CNotesView, CView)

// Texts of the checked items, submenus after their item, as "a/b".
std::string Checked(HMENU menu)
{
    std::string checked;
    for (int i = 0; i < ::GetMenuItemCount(menu); i++)
    {
        char text[64] = "";
        ::GetMenuStringA(menu, i, text, sizeof(text), MF_BYPOSITION);
        HMENU sub = ::GetSubMenu(menu, i);
        if (sub)
        {
            std::string inner = Checked(sub);
            if (!inner.empty())
                checked += (checked.empty() ? "" : " ") + std::string(text) + "/" + inner;
        }
        else if (::GetMenuState(menu, i, MF_BYPOSITION) & MF_CHECKED)
            checked += (checked.empty() ? "" : " ") + std::string(text);
    }
    return checked;
}

// What a menu loop showed, read by a timer inside it, and the characters the
// timer then types into it (none: the menu is closed).
struct MenuWatch
{
    CRect rect;
    std::string checked;
    std::vector<char> keys;
    size_t next = 0;
};
MenuWatch g_watch;

void CALLBACK WatchTimer(HWND, UINT, UINT_PTR, DWORD)
{
    HWND popup = ::FindWindowExA(NULL, NULL, "#32768", NULL);
    if (!popup || !::IsWindowVisible(popup))
        return;
    if (g_watch.next == 0 && g_watch.checked.empty())
    {
        ::GetWindowRect(popup, &g_watch.rect);
        g_watch.checked = Checked((HMENU)::SendMessageA(popup, MN_GETHMENU, 0, 0));
    }
    if (g_watch.next < g_watch.keys.size())
        ::PostMessageA(popup, WM_CHAR, (BYTE)g_watch.keys[g_watch.next++], 0);
    else
        ::EndMenu();
}

class SysCommandExTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!m_notes)
        {
            m_notes = new TkMultiDocTemplate(IDR_SYSCMDEX_NOTES, RUNTIME_CLASS(CNotesDoc), NULL,
                                             RUNTIME_CLASS(CNotesView));
            // The caption's extra button and right double-click are off by
            // default.
            m_notes->ModifyFeatures(TkMultiDocTemplate::featureNoCaptionButtons |
                                        TkMultiDocTemplate::featureNoCaptionDoubleClick,
                                    0, FALSE);
            g_app.AddDocTemplate(m_notes);
            m_plain =
                new CMultiDocTemplate(IDR_SYSCMDEX_PLAIN, RUNTIME_CLASS(CNotesDoc),
                                      RUNTIME_CLASS(TkMDIChildWnd), RUNTIME_CLASS(CNotesView));
            g_app.AddDocTemplate(m_plain);
        }
        g_watch = MenuWatch();
        m_main = new TkMDIFrameWnd;
        ASSERT_TRUE(m_main->LoadFrame(IDR_SYSCMDEX_MAIN));
        g_app.m_pMainWnd = m_main;
        m_main->SetWindowPos(NULL, 0, 0, 800, 600, SWP_NOZORDER);
        m_main->EnableDocking(CBRS_ALIGN_ANY);
        m_main->ShowWindow(SW_SHOW);
        PumpMessages();
    }
    void TearDown() override
    {
        m_main->DestroyWindow();
        g_app.m_pMainWnd = NULL;
        PumpMessages();
    }
    CFrameWnd* FrameOf(CDocument* doc)
    {
        POSITION position = doc->GetFirstViewPosition();
        return position ? doc->GetNextView(position)->GetParentFrame() : NULL;
    }
    // A notes document, docked or in an MDI child.
    CDocument* Open(BOOL dock)
    {
        CDocument* doc = dock ? m_notes->OpenDocumentFileEx(NULL, TRUE, TRUE, 0)
                              : m_notes->OpenDocumentFile(NULL);
        PumpMessages();
        return doc;
    }
    // "docked N" (the side), "floating", "child" with its state, or "none".
    std::string Where(CDocument* doc)
    {
        CFrameWnd* frame = FrameOf(doc);
        if (!frame)
            return "none";
        if (frame->IsKindOf(RUNTIME_CLASS(TkDockableFrame)))
        {
            int side = m_notes->GetDockSide(frame);
            return side == 4 ? "floating" : "docked " + std::to_string(side);
        }
        if (frame->IsZoomed())
            return "child maximised";
        return frame->IsIconic() ? "child minimised" : "child";
    }
    LRESULT Execute(CDocument* doc, LONG_PTR command)
    {
        Record record = {};
        record.hWnd = FrameOf(doc)->GetSafeHwnd();
        record.command = command;
        LRESULT result = SendSysCommandEx(record.hWnd, kExecute, record);
        PumpMessages();
        return result;
    }
    // Runs a menu loop that action starts, watched by the timer.
    void Watched(const std::function<void()>& action)
    {
        UINT_PTR timer = ::SetTimer(NULL, 0, 60, WatchTimer);
        action();
        ::KillTimer(NULL, timer);
        PumpMessages();
    }

    static TkMultiDocTemplate* m_notes;
    static CMultiDocTemplate* m_plain;
    TkMDIFrameWnd* m_main = NULL;
};
TkMultiDocTemplate* SysCommandExTest::m_notes = NULL;
CMultiDocTemplate* SysCommandExTest::m_plain = NULL;

TEST_F(SysCommandExTest, ExecuteMovesTheViewBetweenItsStates)
{
    CDocument* doc = Open(TRUE);
    ASSERT_NE(nullptr, doc);
    EXPECT_EQ("docked 2", Where(doc));
    struct Step
    {
        LONG_PTR command;
        const char* where;
    } steps[] = {
        // Docked without a side, a view takes the frame's next dock place
        // (bottom, left, right, top in turn).
        {kToggle, "child"},
        {kToggle, "docked 1"},
        {stateDockedLeft, "docked 1"},
        {stateDockedTop, "docked 0"},
        {stateMaximized, "child maximised"},
        {stateDockedRight, "docked 3"},
        {stateMinimized, "child minimised"},
        {stateRestored, "child"},
        {stateDockedBottom, "docked 2"},
        {stateFloating, "floating"},
        // Floating, docking goes back where it was.
        {stateDocked, "docked 2"},
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE(step.where);
        EXPECT_EQ(TRUE, Execute(doc, step.command));
        EXPECT_EQ(step.where, Where(doc));
    }
}

TEST_F(SysCommandExTest, TheStateMenuChecksTheCurrentState)
{
    CDocument* doc = Open(TRUE);
    struct Case
    {
        LONG_PTR command;
        const char* checked;
    } cases[] = {
        {stateDocked, "&Docked D&ocked to/&Bottom"},
        {stateDockedLeft, "&Docked D&ocked to/&Left"},
        {stateMaximized, "&MDI Child MD&I Child as/Ma&ximized"},
        {stateRestored, "&MDI Child MD&I Child as/&Restored"},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.checked);
        Execute(doc, test.command);
        Record record = {};
        record.hWnd = FrameOf(doc)->GetSafeHwnd();
        Record query = record;
        ASSERT_TRUE(::SendMessageA(record.hWnd, GetSysCommandExMessage(), kQueryMenu,
                                   (LPARAM)&query));
        ASSERT_NE(nullptr, query.hMenu);
        EXPECT_EQ(test.checked, Checked(query.hMenu));
        ::DestroyMenu(query.hMenu);
    }
}

TEST_F(SysCommandExTest, RightClickOnTheCaptionOpensTheMenuAndLeftDocksLeft)
{
    CDocument* doc = Open(FALSE);
    EXPECT_EQ("child", Where(doc));
    CFrameWnd* child = FrameOf(doc);
    CRect window;
    child->GetWindowRect(&window);
    CPoint point(window.left + 30, window.top + 8);
    g_watch.keys = {'o', 'l'};
    Watched([&] { child->SendMessage(WM_NCRBUTTONUP, HTCAPTION, MAKELPARAM(point.x, point.y)); });
    EXPECT_EQ("&MDI Child MD&I Child as/&Restored", g_watch.checked);
    EXPECT_EQ(point, g_watch.rect.TopLeft());
    EXPECT_EQ("docked 1", Where(doc));
}

TEST_F(SysCommandExTest, RightDoubleClickOnTheCaptionToggles)
{
    CDocument* doc = Open(FALSE);
    FrameOf(doc)->SendMessage(WM_NCRBUTTONDBLCLK, HTCAPTION, 0);
    PumpMessages();
    EXPECT_EQ("docked 2", Where(doc));
}

TEST_F(SysCommandExTest, TheExtraButtonTogglesOrOpensTheMenuBelowItself)
{
    CDocument* doc = Open(FALSE);
    TkMDIChildWnd* child = dynamic_cast<TkMDIChildWnd*>(FrameOf(doc));
    ASSERT_NE(nullptr, child);
    TkCaptionControlListMsgFilter* list =
        TkCaptionFeatures::FindControlList(child->GetFilterRoot());
    ASSERT_NE(nullptr, list);
    // Five standard controls, then the extra button.
    ASSERT_EQ(6, list->GetChildCount());
    TkxButtonMsgFilter* button = dynamic_cast<TkxButtonMsgFilter*>(list->GetChild(5));
    ASSERT_NE(nullptr, button);
    list->LayoutControls();
    CRect rect = button->GetRect();
    ASSERT_FALSE(rect.IsRectEmpty());
    CRect window;
    child->GetWindowRect(&window);
    rect.OffsetRect(window.TopLeft());
    // Held: the menu opens at the button's lower-left corner.
    Watched([&] { button->OnRepeat(rect.left + 2, rect.top + 2); });
    EXPECT_EQ(CPoint(rect.left, rect.bottom), g_watch.rect.TopLeft());
    EXPECT_EQ("child", Where(doc));
    // A click toggles.
    button->Fire(TkCaptionControlMsgFilter::fireClick, rect.left + 2, rect.top + 2);
    PumpMessages();
    EXPECT_EQ("docked 2", Where(doc));
}

TEST_F(SysCommandExTest, OtherTemplatesAndRecordsWithoutAWindowAreIgnored)
{
    CDocument* doc = m_plain->OpenDocumentFile(NULL);
    ASSERT_NE(nullptr, doc);
    PumpMessages();
    CFrameWnd* frame = FrameOf(doc);
    EXPECT_EQ(0, Execute(doc, kToggle));
    EXPECT_EQ(frame, FrameOf(doc));
    Record record = {};
    record.command = kToggle;
    EXPECT_EQ(0, SendSysCommandEx(frame->GetSafeHwnd(), kExecute, record));
    record.hWnd = (HWND)0x12345;
    EXPECT_EQ(0, SendSysCommandEx(frame->GetSafeHwnd(), kExecute, record));
    EXPECT_EQ(frame, FrameOf(doc));
}
}  // namespace

namespace
{
TEST_F(SysCommandExTest, AMaximisedChildsExtraButtonStandsInTheFramesMenuLine)
{
    CDocument* doc = Open(FALSE);
    TkMDIChildWnd* child = dynamic_cast<TkMDIChildWnd*>(FrameOf(doc));
    ASSERT_NE(nullptr, child);
    TkxButtonMsgFilter* own = dynamic_cast<TkxButtonMsgFilter*>(
        child->GetFilterRoot()->FindOrCreate(258, NULL, -1));
    TkxButtonMsgFilter* frames = dynamic_cast<TkxButtonMsgFilter*>(
        m_main->GetFilterRoot()->FindOrCreate(260, NULL, -1));
    ASSERT_NE(nullptr, own);
    ASSERT_NE(nullptr, frames);
    EXPECT_TRUE(own->IsShown(NULL));
    EXPECT_FALSE(frames->IsShown(NULL));
    m_main->MDIMaximize(child);
    PumpMessages();
    EXPECT_FALSE(own->IsShown(NULL));
    EXPECT_TRUE(frames->IsShown(NULL));
    // A click on the frame's button acts on the child.
    frames->Fire(TkCaptionControlMsgFilter::fireClick, 0, 0);
    PumpMessages();
    EXPECT_EQ("docked 2", Where(doc));
    EXPECT_FALSE(frames->IsShown(NULL));
}
}  // namespace
