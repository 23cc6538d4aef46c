#include "TestFramework.h"
#include "NodeProbe.h"

#include "docking/TkDockProtocol.h"
#include "docking/TkFrameDockingFeature.h"
#include "docking/TkLayoutNodeGripper.h"

#include <afxext.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// A docked window's gripper that docks through the protocol (the floating
// docking nodes will be this with a float window).
class DockGripper : public TkReparentableGripperEx,
                    public TkDefDockNodeInitiatorBase,
                    public TkDefDockNodeBase
{
};

// A window of the frame wrapped in a gripper node.
struct Pane
{
    Pane(CWnd* frame, const char* caption)
    {
        window = CreateWindowExA(0, "STATIC", caption, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                 frame->m_hWnd, NULL, NULL, NULL);
        node.AttachWnd(window, frame);
        gripper.SetNodeWnd(frame->m_hWnd);
        gripper.SetNodeName(caption);
        gripper.AddChildNode(&node);
    }
    ~Pane()
    {
        if (TkLayoutNode* parent = gripper.GetParentNode())
            parent->RemoveChildNode(&gripper);
        gripper.RemoveChildNode(&node);
    }
    HWND window;
    TkLayoutNodeWnd node;
    DockGripper gripper;
};

std::string WindowRectIn(HWND window, HWND parent)
{
    CRect rect;
    ::GetWindowRect(window, rect);
    ::MapWindowPoints(NULL, parent, (LPPOINT)&rect, 2);
    return RectText(rect);
}

class FrameDockingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_frame = new CMDIFrameWnd;
        ASSERT_TRUE(m_frame->Create(NULL, "Zym", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                    CRect(0, 0, 1000, 700)));
        m_app.m_pMainWnd = m_frame;
        m_feature = std::make_unique<TkFrameDockingFeature>();
    }
    void TearDown() override
    {
        m_panes.clear();
        m_feature.reset();
        m_frame->DestroyWindow();
        m_app.m_pMainWnd = NULL;
        Pump();
    }
    Pane* AddPane(const char* caption)
    {
        m_panes.push_back(std::make_unique<Pane>(m_frame, caption));
        return m_panes.back().get();
    }
    // The shell's arrangement: "Music Info" at the bottom, "Library" and
    // "Player" in one left column, "S-Link" on the right.
    void DockShellPanes()
    {
        ASSERT_TRUE(m_feature->InitDocking(m_frame, CBRS_ALIGN_ANY, FALSE, NULL));
        m_feature->SetDockingOption(1, TRUE);
        const struct
        {
            const char* caption;
            DWORD side;
            int size;
        } rows[] = {
            {"Music Info", CBRS_ALIGN_BOTTOM, 350},
            {"Library", CBRS_ALIGN_LEFT, 270},
        };
        for (const auto& row : rows)
        {
            TkDockInsertionConstraints c;
            c.SetDockSide(row.side);
            c.m_newLine = TRUE;
            c.m_lineThickness = row.size;
            ASSERT_TRUE(m_feature->DockNode(&AddPane(row.caption)->gripper, &c)) << row.caption;
        }
        ASSERT_TRUE(m_feature->DockNodeAtSide(&AddPane("Player")->gripper, CBRS_ALIGN_LEFT, 150,
                                              FALSE));
        TkDockInsertionConstraints c;
        c.SetDockSide(CBRS_ALIGN_RIGHT);
        c.m_newLine = TRUE;
        c.m_lineThickness = 180;
        ASSERT_TRUE(m_feature->DockNode(&AddPane("S-Link")->gripper, &c));
    }
    void ResizeFrame(int cx, int cy)
    {
        m_frame->SetWindowPos(NULL, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        m_frame->RecalcLayout();
        Pump();
    }
    // Every window the layout placed, by caption or role.
    std::map<std::string, std::string> Placed()
    {
        std::map<std::string, std::string> placed;
        for (auto& pane : m_panes)
            placed[(LPCSTR)pane->gripper.GetNodeName()] =
                WindowRectIn(pane->window, m_frame->m_hWnd);
        placed["MDI client"] = WindowRectIn(m_frame->m_hWndMDIClient, m_frame->m_hWnd);
        std::vector<std::string> bars;
        for (HWND child = ::GetWindow(m_frame->m_hWnd, GW_CHILD); child;
             child = ::GetWindow(child, GW_HWNDNEXT))
            if (::GetDlgCtrlID(child) == (int)TkLNSizable::kSplitterId && ::IsWindowVisible(child))
                bars.push_back(WindowRectIn(child, m_frame->m_hWnd));
        std::sort(bars.begin(), bars.end());
        for (const std::string& bar : bars)
            placed["sizing bars"] += (placed["sizing bars"].empty() ? "" : " ") + bar;
        return placed;
    }

    CWinApp m_app{"Zym"};
    CMDIFrameWnd* m_frame = NULL;
    std::unique_ptr<TkFrameDockingFeature> m_feature;
    std::vector<std::unique_ptr<Pane>> m_panes;
};
}

TEST_F(FrameDockingTest, TheShellsPanesSitAroundTheMdiClientAtEachSize)
{
    DockShellPanes();
    const struct
    {
        int cx, cy;
        std::map<std::string, std::string> placed;
    } sizes[] = {
        {1000, 700,
         {{"Library", "0,20,270,542"},
          {"Player", "0,566,270,698"},
          {"Music Info", "294,348,814,698"},
          {"S-Link", "820,20,1000,698"},
          {"MDI client", "276,8,814,342"},
          // Between Library and Player; the left, top (empty side), bottom
          // and right sides' edges.
          {"sizing bars", "0,542,270,548 270,2,276,698 276,2,814,8 276,342,814,348 814,2,820,698"}}},
        {800, 560,
         {{"Library", "0,20,270,472"},
          {"Player", "0,496,270,558"},
          {"Music Info", "294,208,614,558"},
          {"S-Link", "620,20,800,558"},
          {"MDI client", "276,8,614,202"},
          {"sizing bars", "0,472,270,478 270,2,276,558 276,2,614,8 276,202,614,208 614,2,620,558"}}},
    };
    for (const auto& size : sizes)
    {
        ResizeFrame(size.cx, size.cy);
        EXPECT_EQ(size.placed, Placed()) << size.cx << " x " << size.cy;
    }
}

TEST_F(FrameDockingTest, OnlyTheAllowedSideGetsBordersAndATarget)
{
    ASSERT_TRUE(m_feature->InitDocking(m_frame, CBRS_ALIGN_LEFT, TRUE, NULL));
    TkLayoutNode* sides[4] = {};
    m_feature->GetSideBorders(&sides[0], &sides[1], &sides[2], &sides[3]);
    for (int side = 0; side < 4; ++side)
    {
        BOOL left = side == TkFrameDockingFeatureBase::kSideLeft;
        EXPECT_EQ(left, sides[side] != NULL) << side;
        EXPECT_EQ(left, m_feature->GetSizableBorder(side) != NULL) << side;
        EXPECT_EQ(left, m_feature->GetDockTarget(side) != NULL) << side;
    }
    Pane* pane = AddPane("Library");
    EXPECT_FALSE(m_feature->AddNode(&pane->gripper, TkFrameDockingFeatureBase::kSideTop));
    EXPECT_FALSE(m_feature->AddNode(&pane->gripper, 7));
    EXPECT_EQ(NULL, pane->gripper.GetParentNode());
    EXPECT_TRUE(m_feature->AddNode(&pane->gripper, TkFrameDockingFeatureBase::kSideLeft));
}

TEST_F(FrameDockingTest, ASizeParentQueryWithoutDeferralChangesNothing)
{
    DockShellPanes();
    ResizeFrame(1000, 700);
    std::map<std::string, std::string> before = Placed();
    CRect root = m_feature->GetLayoutRoot()->GetCurrentRect();
    AFX_SIZEPARENTPARAMS params = {};
    params.rect = CRect(0, 0, 500, 300);
    TkVirtualDockbar* bar = m_feature->GetVirtualDockbar();
    bar->SendMessage(WM_SIZEPARENT, 0, (LPARAM)&params);
    EXPECT_EQ(CRect(276, 8, 814, 342), CRect(params.rect));
    EXPECT_EQ(root, m_feature->GetLayoutRoot()->GetCurrentRect());
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, bar->m_hWnd, TkVirtualDockbar::kRealizeMessage,
                              TkVirtualDockbar::kRealizeMessage, PM_NOREMOVE));
    EXPECT_EQ(before, Placed());
}

TEST_F(FrameDockingTest, DockBarsWithoutAnIdTakeTheNextAutomaticOne)
{
    ASSERT_TRUE(m_feature->InitDocking(m_frame, CBRS_ALIGN_ANY, TRUE, NULL));
    UINT first = m_feature->GetVirtualDockbar()->GetDlgCtrlID();
    EXPECT_GE(first, TkVirtualDockbar::kFirstAutoId);
    TkVirtualDockbar next, chosen;
    ASSERT_TRUE(next.Create(m_frame, m_feature.get(), 0));
    ASSERT_TRUE(chosen.Create(m_frame, m_feature.get(), 0xE805));
    EXPECT_EQ(first + 1, (UINT)next.GetDlgCtrlID());
    EXPECT_EQ(0xE805, chosen.GetDlgCtrlID());
    TkVirtualDockbar orphan;
    EXPECT_FALSE(orphan.Create(NULL, m_feature.get(), 0));
    EXPECT_FALSE(orphan.Create(m_frame, NULL, 0));
    next.DestroyWindow();
    chosen.DestroyWindow();
}

TEST_F(FrameDockingTest, TwoFramesShareOneManagerUntilTheLastFeatureGoes)
{
    CMDIFrameWnd* second = new CMDIFrameWnd;
    ASSERT_TRUE(second->Create(NULL, "Second", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300)));
    auto other = std::make_unique<TkFrameDockingFeature>();
    ASSERT_TRUE(m_feature->InitDocking(m_frame, CBRS_ALIGN_ANY, FALSE, NULL));
    ASSERT_TRUE(other->InitDocking(second, CBRS_ALIGN_ANY, FALSE, NULL));
    TkLNDockingMgr* shared = TkFrameDockingFeatureBase::GetSharedDockingMgr();
    ASSERT_NE(nullptr, shared);
    EXPECT_EQ(shared, m_feature->GetLayoutDockingMgr());
    EXPECT_EQ(shared, other->GetLayoutDockingMgr());
    // Each frame's tree is known to it.
    EXPECT_NE(nullptr, shared->GetContainerOf(m_feature->GetLayoutRoot()));
    EXPECT_NE(nullptr, shared->GetContainerOf(other->GetLayoutRoot()));
    m_feature.reset();
    EXPECT_EQ(shared, TkFrameDockingFeatureBase::GetSharedDockingMgr());
    other.reset();
    EXPECT_EQ(NULL, TkFrameDockingFeatureBase::GetSharedDockingMgr());
    second->DestroyWindow();
}

TEST_F(FrameDockingTest, NullFramesAndNodesAreRefused)
{
    EXPECT_FALSE(m_feature->InitDocking(NULL, CBRS_ALIGN_ANY, TRUE, NULL));
    EXPECT_EQ(NULL, m_feature->GetVirtualDockbar());
    ASSERT_TRUE(m_feature->InitDocking(m_frame, CBRS_ALIGN_ANY, TRUE, NULL));
    EXPECT_FALSE(m_feature->InitDocking(m_frame, CBRS_ALIGN_ANY, TRUE, NULL));
    EXPECT_FALSE(m_feature->DockNode(NULL, &m_feature->GetDefaultConstraints()));
    EXPECT_FALSE(m_feature->ToggleNode(NULL));
    EXPECT_FALSE(m_feature->ShowNode(NULL, TRUE));
    EXPECT_FALSE(m_feature->SetNodeOptions(NULL, TRUE, TRUE, NULL));
    EXPECT_FALSE(m_feature->AttachNode(NULL, NULL));
    Pane* pane = AddPane("Library");
    EXPECT_FALSE(m_feature->DockNode(&pane->gripper, NULL));
    EXPECT_EQ(NULL, pane->gripper.GetParentNode());
}

TEST_F(FrameDockingTest, HidingAPaneGivesItsRoomBackAndShowingReturnsIt)
{
    DockShellPanes();
    ResizeFrame(1000, 700);
    std::map<std::string, std::string> before = Placed();
    TkLayoutNode* player = &m_panes[2]->gripper;
    ASSERT_TRUE(m_feature->ToggleNode(player));
    Pump();
    EXPECT_FALSE(m_feature->IsNodeShown(player, TRUE));
    EXPECT_FALSE(::IsWindowVisible(m_panes[2]->window));
    EXPECT_EQ("0,20,270,698", WindowRectIn(m_panes[1]->window, m_frame->m_hWnd));
    ASSERT_TRUE(m_feature->ToggleNode(player));
    Pump();
    EXPECT_TRUE(m_feature->IsNodeShown(player, TRUE));
    EXPECT_EQ(before, Placed());
}
