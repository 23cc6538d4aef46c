// Docking drags in a docking frame, with real input: the shell's four
// panes are docked around the MDI client; the frame's docking listener runs
// the drags and its drag-drop feature docks, floats or restores.
#include "tests/support/TestFramework.h"
#include "tests/support/HostProgram.h"
#include "tests/support/InputScript.h"
#include "toolkit/docking/tests/NodeProbe.h"

#include "toolkit/docking/TkDragDropDockingFeature.h"
#include "toolkit/docking/TkFloatableDockingNode.h"
#include "toolkit/docking/TkFrameDockingFeature.h"
#include "toolkit/docking/TkLNFloatingHwndContainer.h"
#include "toolkit/docking/TkLayoutNodeGripper.h"

#include <afxext.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace
{
typedef TkFloatableDockingNode_T<TkReparentableGripperEx> FloatableGripper;

// A gripper whose node can be made to refuse to leave its place.
class StuckGripper : public FloatableGripper
{
public:
    TkLayoutNode* DetachForDock(TkLNDockingMgr* manager, BOOL takeRect,
                                TkDockInProgressInfo* info) override
    {
        return m_stuck ? NULL : FloatableGripper::DetachForDock(manager, takeRect, info);
    }
    BOOL m_stuck = FALSE;
};

// The shell's arrangement in a 1000 x 700 frame at the screen's origin:
// "Music Info" at the bottom, "Library" over "Player" on the left,
// "S-Link" on the right. Docked panes belong to the frame's tree.
class GridFrame
{
public:
    explicit GridFrame(FloatableGripper* player = new FloatableGripper)
    {
        m_frame = new CMDIFrameWnd;
        m_frame->Create(NULL, "Zym", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                        CRect(0, 0, 1000, 700));
        m_app.m_pMainWnd = m_frame;
        m_feature.InitDocking(m_frame, CBRS_ALIGN_ANY, FALSE, NULL);
        m_feature.SetDockingOption(1, TRUE);
        Dock("Music Info", new FloatableGripper, CBRS_ALIGN_BOTTOM, 350);
        Dock("Library", new FloatableGripper, CBRS_ALIGN_LEFT, 270);
        AddPane("Player", player);
        m_feature.DockNodeAtSide(player, CBRS_ALIGN_LEFT, 150, FALSE);
        Dock("S-Link", new FloatableGripper, CBRS_ALIGN_RIGHT, 180);
        ::SetForegroundWindow(m_frame->m_hWnd);
        m_frame->RecalcLayout();
        PumpUntilIdle();
    }
    ~GridFrame()
    {
        std::vector<Pane> own;
        for (const Pane& pane : m_panes)
            if (!pane.gripper->GetMemoryManager())
                own.push_back(pane);
        for (const Pane& pane : own)
        {
            if (TkLayoutNode* parent = pane.gripper->GetParentNode())
                parent->RemoveChildNode(pane.gripper);
            delete pane.gripper;
            delete pane.node;
        }
        m_frame->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        PumpUntilIdle();
    }

    TkLNDockingMgr* Manager() { return m_feature.GetLayoutDockingMgr(); }
    TkLayoutNode* Root() { return m_feature.GetLayoutRoot(); }
    HWND Frame() { return m_frame->m_hWnd; }
    FloatableGripper* Gripper(const std::string& caption) { return Find(caption).gripper; }

    // The middle of the pane's gripper strip (above or left of its window).
    CPoint GripPoint(const std::string& caption)
    {
        const Pane& pane = Find(caption);
        CRect strip = pane.gripper->GetCurrentRect();
        CRect content = pane.node->GetCurrentRect();
        if (content.top > strip.top)
            strip.bottom = content.top;
        else
            strip.right = content.left;
        CPoint point = strip.CenterPoint();
        ITkLNContainer* container = Manager()->FindContainer(pane.gripper);
        container->NodePointToScreen(point);
        return point;
    }
    // The pane's gripper in screen coordinates.
    CRect GripperScreenRect(const std::string& caption)
    {
        CRect rect = Gripper(caption)->GetCurrentRect();
        Manager()->FindContainer(Gripper(caption))->NodeRectToScreen(rect);
        return rect;
    }
    TkLNFloatingHwndContainer* FloatContainer(const std::string& caption)
    {
        return dynamic_cast<TkLNFloatingHwndContainer*>(
            Manager()->FindContainer(Gripper(caption)));
    }
    // Every pane window: in the frame where it is docked; else the screen
    // rectangle of the float window that shows it.
    std::map<std::string, std::string> Placed()
    {
        std::map<std::string, std::string> placed;
        for (const Pane& pane : m_panes)
        {
            std::string& text = placed[(LPCSTR)pane.gripper->GetNodeName()];
            TkLNFloatingHwndContainer* floating = FloatContainer((LPCSTR)pane.gripper->GetNodeName());
            if (!floating)
            {
                text = WindowRectText(pane.window, Frame());
                continue;
            }
            text = "float " + WindowRectText(floating->GetContainerWnd(), NULL);
            if (!::IsWindowVisible(floating->GetContainerWnd()))
                text += " hidden";
        }
        placed["MDI client"] = WindowRectText(m_frame->m_hWndMDIClient, Frame());
        return placed;
    }

private:
    struct Pane
    {
        FloatableGripper* gripper;
        TkLayoutNodeWnd* node;
        HWND window;
    };

    void AddPane(const char* caption, FloatableGripper* gripper)
    {
        HWND window = CreateWindowExA(0, "STATIC", caption, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                      m_frame->m_hWnd, NULL, NULL, NULL);
        TkLayoutNodeWnd* node = new TkLayoutNodeWnd;
        node->AttachWnd(window, m_frame);
        gripper->SetNodeWnd(m_frame->m_hWnd);
        gripper->SetNodeName(caption);
        gripper->AddChildNode(node);
        m_panes.push_back({gripper, node, window});
    }
    void Dock(const char* caption, FloatableGripper* gripper, DWORD side, int thickness)
    {
        AddPane(caption, gripper);
        TkDockInsertionConstraints c;
        c.SetDockSide(side);
        c.m_newLine = TRUE;
        c.m_lineThickness = thickness;
        m_feature.DockNode(gripper, &c);
    }
    const Pane& Find(const std::string& caption)
    {
        for (const Pane& pane : m_panes)
            if (caption == (LPCSTR)pane.gripper->GetNodeName())
                return pane;
        static Pane none = {};
        ADD_FAILURE() << "no pane " << caption;
        return none;
    }

    CWinApp m_app{"Zym"};
    CMDIFrameWnd* m_frame;
    TkFrameDockingFeature m_feature;
    std::vector<Pane> m_panes;
};

// The widths of a window's frame on each side.
CRect FrameBorders(HWND window)
{
    CRect outer, client;
    ::GetWindowRect(window, outer);
    ::GetClientRect(window, client);
    ::MapWindowPoints(window, NULL, (LPPOINT)&client, 2);
    return CRect(client.left - outer.left, client.top - outer.top, outer.right - client.right,
                 outer.bottom - client.bottom);
}

// What a drag leaves behind: no suspension, lock, initiator or dragged node.
void ExpectDragOver(GridFrame& frame)
{
    EXPECT_FALSE(TkIsFrameRecalcSuspended());
    EXPECT_EQ(NULL, TkGetCurrentDockInitiator());
    EXPECT_EQ(NULL, TkGetDraggedNode());
    frame.Root()->ForEachInSubtree(
        [](TkLayoutNode* node) { EXPECT_EQ(0, node->GetRealizeLock()) << node->GetNodeName(); },
        FALSE);
    EXPECT_TRUE(::LockWindowUpdate(::GetDesktopWindow()));
    ::LockWindowUpdate(NULL);
    EXPECT_EQ(NULL, ::GetCapture());
}

// What is done before the release: keys held over it, or a cancel.
struct Release
{
    std::vector<WORD> held;
    BOOL escape = FALSE;
    BOOL rightButton = FALSE;
};

// A press at the point, steps to each point, the release: one batch, as
// the drag's loop runs inside the press.
void DragFrom(CPoint press, std::vector<CPoint> points, const Release& release = Release())
{
    InputScript script;
    script.MoveTo(press).Button(MOUSEEVENTF_LEFTDOWN);
    for (CPoint point : points)
        script.Step(point);
    for (WORD key : release.held)
        script.KeyDown(key);
    if (release.escape)
        script.Key(VK_ESCAPE);
    if (release.rightButton)
        script.Button(MOUSEEVENTF_RIGHTDOWN).Button(MOUSEEVENTF_RIGHTUP);
    script.Button(MOUSEEVENTF_LEFTUP);
    for (WORD key : release.held)
        script.KeyUp(key);
    script.Send();
}

void Drag(GridFrame& frame, const std::string& caption, std::vector<CPoint> points,
          const Release& release = Release())
{
    DragFrom(frame.GripPoint(caption), points, release);
}

const std::map<std::string, std::string> kShellLayout = {
    {"Library", "0,20,270,542"},     {"Player", "0,566,270,698"},
    {"Music Info", "294,348,814,698"}, {"S-Link", "820,20,1000,698"},
    {"MDI client", "276,0,814,342"},
};
}  // namespace

TEST(DragDropFeatureTest, APaneDraggedToATargetDocksThere)
{
    const struct
    {
        const char* name;
        const char* pane;
        CPoint release;
        std::map<std::string, std::string> placed;
    } cases[] = {
        // The top side spans between the left and right columns.
        {"top side", "Player", {545, 10},
         {{"Library", "0,20,270,698"},
          {"Player", "294,2,814,146"},
          {"Music Info", "294,348,814,698"},
          {"S-Link", "820,20,1000,698"},
          {"MDI client", "276,152,814,342"}}},
        {"bottom, a new row", "Player", {545, 690},
         {{"Library", "0,20,270,698"},
          {"Player", "294,548,814,698"},
          {"Music Info", "294,198,814,542"},
          {"S-Link", "820,20,1000,698"},
          {"MDI client", "276,0,814,192"}}},
        // A line of its own takes the splitter between the lines.
        {"right, a new line", "Player", {990, 300},
         {{"Library", "0,20,270,698"},
          {"Player", "850,20,1000,698"},
          {"Music Info", "294,348,664,698"},
          {"S-Link", "670,20,844,698"},
          {"MDI client", "276,0,664,342"}}},
        {"left, a new line", "S-Link", {5, 300},
         {{"Library", "186,20,450,542"},
          {"Player", "186,566,450,698"},
          {"Music Info", "474,348,1000,698"},
          {"S-Link", "0,20,180,698"},
          {"MDI client", "456,0,1000,342"}}},
        // Right of the middle of "Music Info": after it in its row.
        {"beside another pane", "Library", {700, 520},
         {{"Library", "563,348,814,698"},
          {"Player", "0,20,270,698"},
          {"Music Info", "294,348,539,698"},
          {"S-Link", "820,20,1000,698"},
          {"MDI client", "276,0,814,342"}}},
    };
    for (const auto& c : cases)
    {
        GridFrame frame;
        ASSERT_EQ(kShellLayout, frame.Placed());
        Drag(frame, c.pane, {CPoint(500, 200), c.release});
        EXPECT_EQ(c.placed, frame.Placed()) << c.name;
        ExpectDragOver(frame);
    }
}

// Player's outline while floating: its gripper's size plus the float
// window's frame, with the cursor where it pressed the gripper.
TEST(DragDropFeatureTest, ADropOnNoTargetOrWithCtrlFloatsAtTheOutline)
{
    const struct
    {
        const char* name;
        CPoint release;
        std::vector<WORD> held;
    } cases[] = {
        {"no target", {545, 200}, {}},
        {"ctrl over a target", {700, 520}, {VK_CONTROL}},
        // The release goes to the desktop, not to the capture.
        {"over the bare desktop", {1150, 850}, {}},
    };
    for (const auto& c : cases)
    {
        GridFrame frame;
        CPoint grip = frame.GripPoint("Player");
        CRect gripper = frame.GripperScreenRect("Player");
        Release release;
        release.held = c.held;
        Drag(frame, "Player", {CPoint(545, 10), c.release}, release);
        TkLNFloatingHwndContainer* floating = frame.FloatContainer("Player");
        ASSERT_TRUE(floating) << c.name;
        CRect borders = FrameBorders(floating->GetContainerWnd());
        CRect outline(c.release - (grip - gripper.TopLeft()),
                      CSize(gripper.Width() + borders.left + borders.right,
                            gripper.Height() + borders.top + borders.bottom));
        std::map<std::string, std::string> expected = kShellLayout;
        expected["Library"] = "0,20,270,698";
        expected["Player"] = "float " + RectText(outline);
        EXPECT_EQ(expected, frame.Placed()) << c.name;
        ExpectDragOver(frame);
    }
}

// Over a target and over none (both outlines drawn), then cancelled.
TEST(DragDropFeatureTest, EscapeOrTheRightButtonChangesNothing)
{
    for (BOOL rightButton : {FALSE, TRUE})
    {
        GridFrame frame;
        Release release;
        release.escape = !rightButton;
        release.rightButton = rightButton;
        Drag(frame, "Player", {CPoint(545, 10), CPoint(545, 200), CPoint(990, 300)}, release);
        EXPECT_EQ(kShellLayout, frame.Placed()) << (rightButton ? "right button" : "escape");
        ExpectDragOver(frame);
    }
}

namespace
{
BOOL CALLBACK CollectShown(HWND window, LPARAM list)
{
    RECT client;
    if (::IsWindowVisible(window) && ::GetClientRect(window, &client) && !::IsRectEmpty(&client))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}
}  // namespace

// While a drag lays the tree out anew the windows stay where they were and
// their parents paint the new layout over them: at the end every window of
// the frame paints again, also when nothing moved.
TEST(DragDropFeatureTest, EveryWindowPaintsAgainAfterADrag)
{
    GridFrame frame;
    std::vector<HWND> shown;
    ::EnumChildWindows(frame.Frame(), CollectShown, (LPARAM)&shown);
    ASSERT_FALSE(shown.empty());
    TkDragDropDockingFeature feature;
    feature.SetDockingMgr(frame.Manager());
    CPoint grip = frame.GripPoint("Player");
    ASSERT_TRUE(feature.OnStartDrag(0, grip));
    PumpUntilIdle();
    feature.OnEndDrag(0, grip, FALSE);
    // Windows gone by then are left out.
    for (HWND window : shown)
        if (::IsWindow(window))
            EXPECT_TRUE(::GetUpdateRect(window, NULL, FALSE)) << WindowRectText(window, frame.Frame());
    PumpUntilIdle();
    EXPECT_EQ(kShellLayout, frame.Placed());
}

// A node that cannot leave its place refuses the start: the press is the
// window's and nothing stays suspended or locked.
TEST(DragDropFeatureTest, ARefusedStartLeavesNothingLocked)
{
    StuckGripper* player = new StuckGripper;
    GridFrame frame(player);
    player->m_stuck = TRUE;
    Drag(frame, "Player", {CPoint(545, 10)});
    EXPECT_EQ(kShellLayout, frame.Placed());
    ExpectDragOver(frame);
}

// A double click on the gripper floats the pane where it is; one on the
// float window's caption docks it back where it was. Dragged by its
// caption, the float window moves with the cursor.
TEST(DragDropFeatureTest, DoubleClicksFloatAndDockBackAndTheCaptionDragsTheFloatWindow)
{
    GridFrame frame;
    CPoint grip = frame.GripPoint("Player");
    ::ScreenToClient(frame.Frame(), &grip);
    ::SendMessageA(frame.Frame(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(grip.x, grip.y));
    std::map<std::string, std::string> floated = kShellLayout;
    floated["Library"] = "0,20,270,698";
    floated["Player"] = "float " + RectText(CRect(0, 548, 270, 698));
    EXPECT_EQ(floated, frame.Placed());
    TkLNFloatingHwndContainer* floating = frame.FloatContainer("Player");
    ASSERT_TRUE(floating);
    HWND window = floating->GetContainerWnd();
    int top = FrameBorders(window).top;
    CPoint caption(60, 548 + top / 2);
    ASSERT_EQ(HTCAPTION, ::SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)));

    DragFrom(caption, {CPoint(400, 200), CPoint(560, 248 + top / 2)});
    floated["Player"] = "float " + RectText(CRect(500, 248, 770, 398));
    EXPECT_EQ(floated, frame.Placed());
    ExpectDragOver(frame);

    caption = CPoint(560, 248 + top / 2);
    ::SendMessageA(window, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(caption.x, caption.y));
    PumpUntilIdle();
    EXPECT_EQ(kShellLayout, frame.Placed());
    EXPECT_FALSE(::IsWindowVisible(window));
    ExpectDragOver(frame);
}

namespace
{
class FeedbackProbe : public TkDragDropDockingFeature
{
public:
    using TkDragDropDockingFeature::GetFeedbackDC;
    using TkDragDropDockingFeature::ReleaseFeedbackDC;
};

// As the X server shows it to a person (Wine's own reading of the screen DC
// gives back what was drawn on the root window, even where windows hide it).
COLORREF ScreenPixel(CPoint point)
{
    ::GdiFlush();
    std::string text;
    std::string crop = "1x1+" + std::to_string(point.x) + "+" + std::to_string(point.y);
    if (!RunHostProgram({ "import", "-window", "root", "-crop", crop, "-depth", "8", "txt:-" }, &text))
        return CLR_INVALID;
    int r = 0, g = 0, b = 0;
    size_t open = text.find("0,0: (");
    if (open == std::string::npos || sscanf(text.c_str() + open, "0,0: (%d,%d,%d", &r, &g, &b) != 3)
        return CLR_INVALID;
    return RGB(r, g, b);
}
}  // namespace

// The outline shows on the screen over the windows under it (on X, as windows
// of its own: drawing on the root window is hidden by every window on it)
// and goes again.
TEST(DragDropFeatureTest, TheOutlineShowsOverWindows)
{
    GridFrame frame;
    FeedbackProbe feature;
    CDC dc;
    ASSERT_TRUE(dc.Attach(feature.GetFeedbackDC()));
    CPoint onEdge(400, 101), inside(400, 150);
    PumpUntilIdle();
    COLORREF before = ScreenPixel(onEdge);
    ASSERT_NE(CLR_INVALID, before);
    ASSERT_EQ(before, ScreenPixel(inside));
    FloatableGripper* player = frame.Gripper("Player");
    player->DrawDragRect(&dc, CRect(300, 100, 600, 300), NULL);
    // The windows under it paint while the mouse moves; the outline stays.
    ::RedrawWindow(frame.Frame(), NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpUntilIdle();
    EXPECT_NE(before, ScreenPixel(onEdge));
    EXPECT_EQ(before, ScreenPixel(inside));
    player->EraseDragRect(&dc);
    // What lay under the outline paints again.
    PumpUntilIdle();
    EXPECT_EQ(before, ScreenPixel(onEdge));
    feature.ReleaseFeedbackDC(dc.Detach());
}
