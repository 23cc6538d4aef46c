#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "tests/support/Waits.h"

#include "toolkit/frames/TkxFilters.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using namespace nsSysCommandEx;

namespace
{
CCallRecorder g_seen;

// Answers every message with what its id asks: id 100 + n answers n.
class CRecordingFilter : public TkMsgFilter
{
    DECLARE_DYNCREATE(CRecordingFilter)
public:
    LRESULT OnFilter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        g_seen.Record(std::to_string(GetId()));
        return (GetId() % 1000) | FilterChildren(message, wParam, lParam, result);
    }
};
IMPLEMENT_DYNCREATE(CRecordingFilter, TkMsgFilter)

class CFiltersTestApp : public CWinApp
{
public:
    CFiltersTestApp() : CWinApp("MsgFilterTest") {}
};

// The descriptors of an MDI child's tree.
void ChildTable(TkMsgFilter::DescriptorTable& table)
{
    table.Add(257, (UINT)-1, RUNTIME_CLASS(TkxMsgFilter));
    table.Add(256, (UINT)-1, RUNTIME_CLASS(TkCaptionControlListMsgFilter),
              TkMsgFilter::Descriptor::keepEnabled);
    table.Add(258, 256, RUNTIME_CLASS(TkxButtonMDIChildMsgFilter));
    table.Add(259, (UINT)-1, RUNTIME_CLASS(TkxCaptionNCRDBLClkFilter));
    table.Add(262, (UINT)-1, RUNTIME_CLASS(TkxContextMenuFilter));
}

std::vector<std::string> Shape(const TkMsgFilter* filter)
{
    std::vector<std::string> shape;
    for (int index = 0; index < filter->GetChildCount(); index++)
    {
        const TkMsgFilter* child = filter->GetChild(index);
        shape.push_back(std::to_string(child->GetId()) + " " +
                        child->GetRuntimeClass()->m_lpszClassName +
                        (child->IsEnabled() ? "" : " off"));
    }
    return shape;
}
}  // namespace

TEST(MsgFilterTreeTest, TheChildTableBuildsItsTreeOnceAndSwitchesItOff)
{
    CFiltersTestApp app;
    TkMsgFilter root(NULL, (UINT)-1);
    TkMsgFilter::DescriptorTable table;
    ChildTable(table);
    root.ApplyDescriptors(&table, TRUE);
    std::vector<std::string> expected = {"257 TkxMsgFilter", "256 TkCaptionControlListMsgFilter",
                                         "259 TkxCaptionNCRDBLClkFilter",
                                         "262 TkxContextMenuFilter"};
    EXPECT_EQ(expected, Shape(&root));
    TkMsgFilter* list = root.FindOrCreate(256, NULL, 0);
    ASSERT_NE(nullptr, list);
    std::vector<std::string> controls = {
        "0 TkCaptionControlMsgFilter", "2 TkCaptionControlMsgFilter",
        "3 TkCaptionControlMsgFilter", "1 TkCaptionControlMsgFilter",
        "4 TkCaptionControlMsgFilter", "258 TkxButtonMDIChildMsgFilter"};
    EXPECT_EQ(controls, Shape(list));

    root.ApplyDescriptors(&table, TRUE);
    EXPECT_EQ(expected, Shape(&root));
    EXPECT_EQ(6, list->GetChildCount());

    root.ApplyDescriptors(&table, FALSE);
    expected = {"257 TkxMsgFilter off", "256 TkCaptionControlListMsgFilter",
                "259 TkxCaptionNCRDBLClkFilter off", "262 TkxContextMenuFilter off"};
    EXPECT_EQ(expected, Shape(&root));
    EXPECT_FALSE(root.FindOrCreate(258, NULL, -1)->IsEnabled());

    // One switch per descriptor.
    const BOOL switches[] = {TRUE, FALSE, TRUE, FALSE, TRUE};
    root.ApplyDescriptors(&table, switches);
    expected = {"257 TkxMsgFilter", "256 TkCaptionControlListMsgFilter",
                "259 TkxCaptionNCRDBLClkFilter off", "262 TkxContextMenuFilter"};
    EXPECT_EQ(expected, Shape(&root));
    EXPECT_TRUE(root.FindOrCreate(258, NULL, -1)->IsEnabled());
}

TEST(MsgFilterTreeTest, FindingLooksAsDeepAsAskedAndCreatesOnlyWithAClass)
{
    TkMsgFilter root(NULL, (UINT)-1);
    TkMsgFilter* parent = root.FindOrCreate(1, RUNTIME_CLASS(CRecordingFilter), 0);
    TkMsgFilter* grandchild = parent->FindOrCreate(2, RUNTIME_CLASS(CRecordingFilter), 0);
    struct Case
    {
        UINT id;
        int depth;
        TkMsgFilter* found;
    } cases[] = {{1, 0, parent}, {2, 0, NULL}, {2, 1, grandchild}, {2, -1, grandchild}, {3, -1, NULL}};
    for (const Case& c : cases)
        EXPECT_EQ(c.found, root.FindOrCreate(c.id, NULL, c.depth)) << c.id << " " << c.depth;
    EXPECT_EQ(1, root.GetChildCount());

    // Switching off a filter that does not exist makes none; a class that is
    // no filter makes none either.
    TkMsgFilter::Descriptor missing(9, (UINT)-1, RUNTIME_CLASS(CRecordingFilter));
    EXPECT_EQ(nullptr, root.ApplyDescriptor(&missing, FALSE));
    TkMsgFilter::Descriptor notAFilter(9, (UINT)-1, RUNTIME_CLASS(CObject));
    EXPECT_EQ(nullptr, root.ApplyDescriptor(&notAFilter, TRUE));
    TkMsgFilter::Descriptor orphan(9, 77, RUNTIME_CLASS(CRecordingFilter));
    EXPECT_EQ(nullptr, root.ApplyDescriptor(&orphan, TRUE));
    EXPECT_EQ(1, root.GetChildCount());
}

TEST(MsgFilterTreeTest, EnabledChildrenFilterInOrderUntilOneStopsTheRest)
{
    struct Case
    {
        std::vector<UINT> ids;
        std::vector<UINT> disabled;
        std::vector<std::string> seen;
        LRESULT answer;
    } cases[] = {
        {{1001, 1002}, {}, {"1001", "1002"}, 3},
        {{1001, 1004}, {1001}, {"1004"}, 4},
        {{1257, 1002}, {}, {"1257"}, 257},
        {{1002, 1257, 1004}, {}, {"1002", "1257"}, 259},
    };
    for (const Case& c : cases)
    {
        TkMsgFilter root(NULL, (UINT)-1);
        for (UINT id : c.ids)
            root.FindOrCreate(id, RUNTIME_CLASS(CRecordingFilter), 0);
        for (UINT id : c.disabled)
            root.FindOrCreate(id, NULL, 0)->Enable(FALSE);
        g_seen.Clear();
        LRESULT result = 0;
        EXPECT_EQ(c.answer, root.Filter(WM_NCPAINT, 0, 0, &result));
        EXPECT_EQ(c.seen, g_seen.Calls());
        root.Enable(FALSE);
        EXPECT_EQ(0, root.Filter(WM_NCPAINT, 0, 0, &result));
    }
}

TEST(MsgFilterTreeTest, AClonedTreeIsAnIndependentCopyWithTheNewOwner)
{
    CFiltersTestApp app;
    CWnd owner;
    TkMsgFilter root(&owner, (UINT)-1);
    TkMsgFilter::DescriptorTable table;
    ChildTable(table);
    root.ApplyDescriptors(&table, TRUE);
    root.FindOrCreate(262, NULL, 0)->Enable(FALSE);

    std::unique_ptr<TkMsgFilter> copy(root.Clone());
    EXPECT_EQ(Shape(&root), Shape(copy.get()));
    TkMsgFilter* copiedButton = copy->FindOrCreate(258, NULL, -1);
    ASSERT_NE(nullptr, copiedButton);
    EXPECT_NE(root.FindOrCreate(258, NULL, -1), copiedButton);
    EXPECT_TRUE(copiedButton->IsKindOf(RUNTIME_CLASS(TkxButtonMDIChildMsgFilter)));
    EXPECT_EQ(&owner, copiedButton->GetOwner());
    const TkCaptionControlListMsgFilter* list =
        static_cast<const TkCaptionControlListMsgFilter*>(copy->FindOrCreate(256, NULL, 0));
    EXPECT_EQ(5, list->GetControlTable().GetSize());

    CWnd other;
    copy->SetOwner(&other, TRUE);
    EXPECT_EQ(&other, copiedButton->GetOwner());
    EXPECT_EQ(&owner, root.FindOrCreate(258, NULL, -1)->GetOwner());
    copy->FindOrCreate(257, NULL, 0)->Enable(FALSE);
    EXPECT_TRUE(root.FindOrCreate(257, NULL, 0)->IsEnabled());
}

namespace
{
// A top-level window of a style with its caption-control list.
class CaptionControlsTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (m_window.m_hWnd)
            m_window.DestroyWindow();
        PumpMessages();
    }
    void Make(DWORD style, DWORD exStyle, int show)
    {
        ASSERT_TRUE(m_window.CreateEx(exStyle, AfxRegisterWndClass(0), "Caption", style, 50, 50,
                                      400, 200, NULL, NULL));
        m_window.ShowWindow(show);
        PumpMessages();
        m_list.SetOwner(&m_window, TRUE);
        m_list.LayoutControls();
    }
    TkCaptionControlMsgFilter* Control(int id)
    {
        return static_cast<TkCaptionControlMsgFilter*>(m_list.FindOrCreate(id, NULL, 0));
    }
    // The controls shown, right to left, each with "-" when inactive.
    std::string Shown()
    {
        std::vector<std::pair<int, std::string>> shown;
        for (int id = 0; id <= 4; id++)
        {
            TkCaptionControlMsgFilter* control = Control(id);
            if (!control->GetRect().IsRectEmpty())
                shown.push_back({-control->GetRect().left,
                                 std::to_string(id) +
                                     ((control->GetState() & DFCS_INACTIVE) ? "-" : "")});
        }
        std::sort(shown.begin(), shown.end());
        std::string text;
        for (auto& entry : shown)
            text += entry.second + " ";
        return text;
    }

    CFiltersTestApp m_app;
    CWnd m_window;
    TkCaptionControlListMsgFilter m_list;
};
}  // namespace

TEST_F(CaptionControlsTest, EachStyleShowsItsControlsFromTheRight)
{
    struct Case
    {
        const char* name;
        DWORD style;
        DWORD exStyle;
        int show;
        std::string shown;
    } cases[] = {
        {"sizable", WS_OVERLAPPEDWINDOW, 0, SW_SHOW, "0 2 1 "},
        {"minimise box only", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, SW_SHOW,
         "0 2- 1 "},
        {"maximised", WS_OVERLAPPEDWINDOW, 0, SW_MAXIMIZE, "0 3 1 "},
        {"tool window", WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, SW_SHOW, "0 "},
        {"context help", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, WS_EX_CONTEXTHELP, SW_SHOW, "0 4 "},
        {"no system menu", WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME, 0, SW_SHOW, ""},
    };
    for (const Case& c : cases)
    {
        Make(c.style, c.exStyle, c.show);
        EXPECT_EQ(c.shown, Shown()) << c.name;
        m_window.DestroyWindow();
    }
}

TEST_F(CaptionControlsTest, ButtonsStandInARowWithGapsAfterCloseAndMinimise)
{
    Make(WS_OVERLAPPEDWINDOW, 0, SW_SHOW);
    CRect caption = m_list.GetCaptionRect();
    CSize size(::GetSystemMetrics(SM_CXSIZE) - 2, ::GetSystemMetrics(SM_CYSIZE) - 4);
    EXPECT_EQ(CRect(CPoint(caption.right - size.cx - 2, caption.top + 2), size),
              Control(0)->GetRect());
    EXPECT_EQ(Control(0)->GetRect().left - 2, Control(2)->GetRect().right);
    EXPECT_EQ(Control(2)->GetRect().left, Control(1)->GetRect().right);
    CRect window;
    m_window.GetWindowRect(&window);
    EXPECT_EQ(window.Width() - 2 * ::GetSystemMetrics(SM_CXFRAME), caption.Width());
    EXPECT_EQ(::GetSystemMetrics(SM_CYCAPTION) - ::GetSystemMetrics(SM_CYBORDER),
              caption.Height());
}

TEST_F(CaptionControlsTest, AClickSendsItsCommandOnlyWhenReleasedOnTheControl)
{
    Make(WS_OVERLAPPEDWINDOW, 0, SW_SHOW);
    TkCaptionControlMsgFilter* minimise = Control(1);
    CRect window;
    m_window.GetWindowRect(&window);
    CPoint on = minimise->GetRect().CenterPoint() + window.TopLeft();
    CPoint off(window.left + 5, on.y);
    auto clientPoint = [&](CPoint screen) {
        m_window.ScreenToClient(&screen);
        return MAKELPARAM((short)screen.x, (short)screen.y);
    };
    LRESULT result = 0;
    struct Step
    {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT answer;
        BOOL pushed;
        BOOL tracking;
    } steps[] = {
        {"press", WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(on.x, on.y), 7, TRUE, TRUE},
        {"leave", WM_MOUSEMOVE, MK_LBUTTON, clientPoint(off), 7, FALSE, TRUE},
        {"come back", WM_MOUSEMOVE, MK_LBUTTON, clientPoint(on), 7, TRUE, TRUE},
        {"leave again", WM_MOUSEMOVE, MK_LBUTTON, clientPoint(off), 7, FALSE, TRUE},
        {"release outside", WM_LBUTTONUP, 0, clientPoint(off), 7, FALSE, FALSE},
        {"move untracked", WM_MOUSEMOVE, 0, clientPoint(on), 0, FALSE, FALSE},
    };
    for (const Step& step : steps)
    {
        EXPECT_EQ(step.answer, m_list.Filter(step.message, step.wParam, step.lParam, &result))
            << step.name;
        EXPECT_EQ(step.pushed, (minimise->GetState() & DFCS_PUSHED) != 0) << step.name;
        EXPECT_EQ(step.tracking, minimise->IsTracking()) << step.name;
    }
    MSG msg;
    EXPECT_FALSE(::PeekMessageA(&msg, m_window.m_hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));

    m_list.Filter(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(on.x, on.y), &result);
    EXPECT_EQ(m_window.m_hWnd, ::GetCapture());
    m_list.Filter(WM_LBUTTONUP, 0, clientPoint(on), &result);
    EXPECT_EQ(NULL, ::GetCapture());
    ASSERT_TRUE(::PeekMessageA(&msg, m_window.m_hWnd, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE));
    EXPECT_EQ((WPARAM)SC_MINIMIZE, msg.wParam);
    EXPECT_EQ(MAKELPARAM(on.x, on.y), msg.lParam);

    // A press on the caption beside the controls is not theirs.
    EXPECT_EQ(0, m_list.Filter(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(off.x, off.y), &result));
    EXPECT_FALSE(minimise->IsTracking());
}

namespace
{
// Notes the kinds it fires.
class CFiringControl : public TkCaptionControlMsgFilter
{
    DECLARE_DYNCREATE(CFiringControl)
public:
    void Fire(int kind, int, int) override { m_kinds.push_back(kind); }
    std::vector<int> m_kinds;
};
IMPLEMENT_DYNCREATE(CFiringControl, TkCaptionControlMsgFilter)
}  // namespace

// The timer window that repeats a held control goes once its handler has
// returned (it ended the tracking that owns it from inside its own timer).
TEST_F(CaptionControlsTest, AHeldControlRepeatsOnceAndItsTimerGoesAfterwards)
{
    Make(WS_OVERLAPPEDWINDOW, 0, SW_SHOW);
    CFiringControl* held = static_cast<CFiringControl*>(
        m_list.FindOrCreate(1000, RUNTIME_CLASS(CFiringControl), 0));
    held->SetRect(Control(1)->GetRect());
    held->SetRepeatInterval(20);
    CRect window;
    m_window.GetWindowRect(&window);
    CPoint on = held->GetRect().CenterPoint() + window.TopLeft();
    held->OnNcLButtonDown(on.x, on.y);
    EXPECT_TRUE(held->IsTracking());
    WaitUntil([&] { return !held->m_kinds.empty(); }, 2000, WhileWaiting::PumpMessages);
    // More timer periods pass: nothing fires again.
    for (int round = 0; round < 5; round++)
    {
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
        PumpMessages();
    }
    EXPECT_EQ(std::vector<int>({TkCaptionControlMsgFilter::fireRepeat}), held->m_kinds);
    EXPECT_FALSE(held->IsTracking());
    EXPECT_EQ(NULL, ::GetCapture());
}
