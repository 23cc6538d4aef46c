// The log window: LF conversion, trimming at 500 lines and at 28000 characters
// with the user's selection carried along, and the view of a user who scrolled up
// or follows the end.
#include "tests/support/TestFramework.h"

#include "common/Tty.h"

#include <string>

namespace {

class TtyTest : public ::testing::Test
{
protected:
    TtyTest()
    {
        tty.CreateEx(0, "EDIT", "", WS_POPUP | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0, 0,
                     300, 200, nullptr, nullptr);
        tty.LimitText(0x100000);
    }
    ~TtyTest() override { tty.DestroyWindow(); }

    std::string Text()
    {
        std::string text(tty.GetWindowTextLength() + 1, '\0');
        GetWindowTextA(tty.m_hWnd, &text[0], static_cast<int>(text.size()));
        text.resize(text.size() - 1);
        return text;
    }

    std::string Line(int line)
    {
        char buffer[256] = "";
        int length = tty.GetLine(line, buffer, sizeof buffer - 1);
        return std::string(buffer, length);
    }

    std::string Selected()
    {
        int start = 0, end = 0;
        tty.GetSel(start, end);
        return Text().substr(start, end - start);
    }

    // Lines "line 0" .. "line count-1", each ending in LF.
    void Fill(int count, int from = 0)
    {
        for (int i = from; i < from + count; ++i)
            tty.AppendText(("line " + std::to_string(i) + "\n").c_str());
    }

    int Last() { return tty.GetLineCount() - 1; }

    CTty tty;
};

TEST_F(TtyTest, LineFeedsBecomeCrLf)
{
    ASSERT_NE(nullptr, tty.m_hWnd);
    tty.AppendText("ab\ncd");
    EXPECT_EQ(2, tty.GetLineCount());
    tty.AppendText("\r\nef");
    EXPECT_EQ("ab\r\ncd\r\r\nef", Text());
    tty.Clear();
    EXPECT_EQ("", Text());
}

TEST_F(TtyTest, PassingLineLimitLeaves450LinesAndKeepsSelection)
{
    Fill(499);
    ASSERT_EQ(500, tty.GetLineCount());
    int start = tty.LineIndex(100);
    tty.SetSel(start, start + 8);
    ASSERT_EQ("line 100", Selected());
    Fill(1, 499);
    EXPECT_EQ(450, tty.GetLineCount());
    EXPECT_EQ("line 51", Line(0));
    EXPECT_EQ("line 499", Line(448));
    EXPECT_EQ("line 100", Selected());
}

TEST_F(TtyTest, PassingLengthLimitRemovesWholeLinesFromTop)
{
    std::string longLine(99, 'x');
    for (int i = 0; i < 290; ++i)
        tty.AppendText((longLine + "\n").c_str());
    EXPECT_LE(tty.GetWindowTextLength(), 28000);
    EXPECT_GT(tty.GetWindowTextLength(), 28000 - 101);
    EXPECT_EQ(longLine, Line(0));
    EXPECT_EQ("", Line(Last()));
}

TEST_F(TtyTest, ScrolledUpViewStaysAndFollowingViewShowsEnd)
{
    Fill(100);
    RECT client;
    tty.GetClientRect(&client);
    LPARAM bottom = MAKELPARAM(0, client.bottom - 4);
    EXPECT_EQ(Last(), HIWORD(tty.SendMessage(EM_CHARFROMPOS, 0, bottom)));

    tty.SetSel(0, 0);
    tty.LineScroll(20 - tty.GetFirstVisibleLine());
    ASSERT_EQ(20, tty.GetFirstVisibleLine());
    Fill(5, 100);
    EXPECT_EQ(20, tty.GetFirstVisibleLine());
    EXPECT_EQ("line 20", Line(tty.GetFirstVisibleLine()));

    Fill(394, 105);
    tty.SetSel(0, 0);
    tty.LineScroll(200 - tty.GetFirstVisibleLine());
    Fill(1, 499);
    ASSERT_EQ(450, tty.GetLineCount());
    EXPECT_EQ("line 200", Line(tty.GetFirstVisibleLine()));
}

} // namespace
