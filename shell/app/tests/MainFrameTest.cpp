#include "TestFramework.h"
#include "TestProfile.h"

#include "ChildFrame.h"
#include "MainFrame.h"
#include "ZymResources.h"

#include <map>
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

TEST_F(MainFrameTest, MessagesForTheDocumentWithoutAChildAnswerZero)
{
    Open();
    for (UINT message : { WM_USER + 5, WM_USER + 8, WM_USER + 9 })
        EXPECT_EQ(0, m_frame->SendMessage(message, 1, 2)) << message;
}

TEST_F(MainFrameTest, ViewCommandsToggleTheirWindowOnceItExists)
{
    Open();
    // Before the first tick there is nothing to toggle.
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_LIBRARY);
    EXPECT_EQ(NULL, m_frame->GetDockNode(CMainFrame::kLibrary));
    Tick();
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_LIBRARY);
    Pump();
    EXPECT_EQ("hidden", Placed()["Library"]);
    m_frame->SendMessage(WM_COMMAND, ID_VIEW_LIBRARY);
    Pump();
    EXPECT_NE("hidden", Placed()["Library"]);
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

TEST_F(MainFrameTest, TheIconCyclesThroughItsEighteenFrames)
{
    Open();
    CAnimatedIcon& icon = m_frame->GetAnimatedIcon();
    std::string frames;
    for (int step = 0; step < 20; ++step)
    {
        ASSERT_TRUE(icon.NextFrame());
        frames += std::to_string(icon.GetFrame()) + " ";
    }
    EXPECT_EQ("0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 0 1 ", frames);
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
        Pump();
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
