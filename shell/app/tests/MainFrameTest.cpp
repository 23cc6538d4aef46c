#include "TestFramework.h"
#include "TestProfile.h"

#include "MainFrame.h"
#include "ZymResources.h"

#include <map>
#include <string>

namespace
{
void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

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

class MainFrameTest : public ::testing::Test
{
protected:
    void Open()
    {
        m_frame = new CMainFrame;
        ASSERT_TRUE(m_frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
        m_app.m_pMainWnd = m_frame;
        m_frame->ShowWindow(SW_SHOW);
        Pump();
    }
    void Close()
    {
        m_frame->SendMessage(WM_CLOSE);
        m_app.m_pMainWnd = NULL;
        m_frame = NULL;
        Pump();
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
    Pump();
    // Music Info 350 high at the bottom, Library 270 wide on the left with
    // Player below it, the MDI client in what remains.
    std::map<std::string, std::string> expected = {
        { "Music Info", "294,220,792,570" },
        { "Library", "0,20,270,414" },
        { "Player", "0,438,270,570" },
    };
    EXPECT_EQ(expected, Placed());
    EXPECT_EQ("276,0,792,214", WindowRectIn(m_frame->m_hWndMDIClient, m_frame->m_hWnd));
    EXPECT_EQ(NULL, m_frame->GetDockNode(CMainFrame::kTavlin));
}
