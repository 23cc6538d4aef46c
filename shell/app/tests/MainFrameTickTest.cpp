// The main frame's 100 ms timer over a real document, tick by tick: the test
// sends each tick itself, the window's own timer stopped.
#include "tests/support/doc/DocFixture.h"

#include "shell/app/MainFrame.h"
#include "shell/app/ZymResources.h"

#include <algorithm>

namespace
{
const UINT_PTR kFrameTimer = 0;

class MainFrameTickTest : public DocFixture
{
protected:
    void SetUp() override
    {
        Option("Auto Locate Tavlins", 0);
        Open();
        m_main = new CMainFrame;
        m_main->SetProgramFolder(m_folder.WindowsPath("").c_str());
        ASSERT_TRUE(m_main->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW));
        ::KillTimer(m_main->m_hWnd, kFrameTimer);
        m_app.m_pMainWnd = m_main;
        m_main->SetDocument(m_doc);
    }
    void TearDown() override
    {
        m_main->SetDocument(nullptr);
        // Closing stops the timer and says so when it cannot.
        ::SetTimer(m_main->m_hWnd, kFrameTimer, 100, NULL);
        m_main->SendMessage(WM_CLOSE);
        m_app.m_pMainWnd = nullptr;
        Close();
    }

    CMainFrame* m_main = nullptr;
};
}

// Tick 1 lays out the docked windows only; tick 2 starts the document; every
// later tick runs the document's tick (here: a remote command waiting for it)
// and, with "Animate Icon", steps the icon.
TEST_F(MainFrameTickTest, Tick1DocksTick2StartsTheDocumentLaterTicksRunIt)
{
    const struct
    {
        const char* tick;
        int animateIcon;
        bool startsDocument;
        int commandsAnswered;
        int iconSteps;
    } ticks[] = {
        { "1", 1, false, 0, 0 },
        // The command of tick 1 waited for the document.
        { "2", 1, true, 2, 1 },
        { "3", 1, false, 1, 1 },
        { "n, icon still", 0, false, 1, 0 },
    };
    for (const auto& tick : ticks)
    {
        SCOPED_TRACE(tick.tick);
        m_doc->GetOptions().m_page8.m_animateIcon = tick.animateIcon;
        m_doc->GetAutomation().OnReceive("zym:searchlist_size");
        int frame = m_main->GetAnimatedIcon().GetFrame();
        m_main->SendMessage(WM_TIMER, kFrameTimer);
        Texts trace = m_trace.Take();
        EXPECT_TRUE(m_main->AreDockWindowsCreated());
        EXPECT_EQ(tick.startsDocument, std::count(trace.begin(), trace.end(), "views") == 1);
        EXPECT_EQ(tick.commandsAnswered, std::count_if(trace.begin(), trace.end(), [](const std::string& line) {
                      return line.compare(0, 22, "event searchlist_size[") == 0;
                  }));
        EXPECT_EQ(tick.iconSteps, (m_main->GetAnimatedIcon().GetFrame() - frame + 18) % 18);
    }
}
