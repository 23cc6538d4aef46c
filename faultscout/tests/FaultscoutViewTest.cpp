// The log view: texts queued from any thread appear in order on the GUI thread;
// with 500 waiting a further one is dropped; the test button numbers its lines.
#include "tests/support/TestFramework.h"

#include "faultscout/FaultscoutView.h"
#include "faultscout/resource.h"

#include <afxwin.h>

#include <string>

namespace {

class FaultscoutViewTest : public ::testing::Test
{
protected:
    FaultscoutViewTest()
    {
        // Both delete themselves when their windows go.
        frame->Create(nullptr, "log host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300));
        view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), frame,
                     AFX_IDW_PANE_FIRST, nullptr);
    }
    ~FaultscoutViewTest() override { frame->DestroyWindow(); }

    void Command(UINT id) { view->SendMessage(WM_COMMAND, id); }

    CFrameWnd* frame = new CFrameWnd;
    CFaultscoutView* view = new CFaultscoutView;
};

TEST_F(FaultscoutViewTest, FullQueueDropsFurtherTexts)
{
    for (int i = 0; i <= 500; ++i)
        view->QueueText(("line " + std::to_string(i) + "\n").c_str());
    Command(ID_FLUSH_TEXTS);
    // The log itself keeps its last lines only.
    std::string text = static_cast<LPCSTR>(view->GetText());
    EXPECT_EQ(text.size() - 10, text.rfind("line 499\r\n"));
    EXPECT_EQ(std::string::npos, text.find("line 500"));

    view->QueueText("after\n");
    Command(ID_FLUSH_TEXTS);
    EXPECT_NE(std::string::npos, std::string(view->GetText()).find("line 499\r\nafter\r\n"));
}

TEST_F(FaultscoutViewTest, TestButtonNumbersItsLinesAndClearEmpties)
{
    Command(ID_TEST_LINE);
    Command(ID_TEST_LINE);
    EXPECT_STREQ("test 0\r\ntest 1\r\n", view->GetText());
    Command(ID_DISPLAY_CLEAR);
    EXPECT_STREQ("", view->GetText());
    Command(ID_TEST_LINE);
    EXPECT_STREQ("test 2\r\n", view->GetText());
}

} // namespace
