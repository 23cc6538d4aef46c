// What a plug-in answers for a message: whether its map handled it, or the
// answer its handler set in place of that (the handler's result stays the
// message's result); a listener sets no answer, and a message handed straight
// to a listener tells whether it took it.
#include "tests/support/TestFramework.h"

#include "toolkit/docking/TkWndPlugIn.h"

namespace
{
const UINT kAsked = WM_USER + 40;
const UINT kUnknown = WM_USER + 41;

// Answers 5 and asks to answer wParam instead when wParam is not 0.
LRESULT Answer(TkWndPlugIn& plugIn, int& heard, WPARAM wParam)
{
    heard++;
    if (wParam)
        plugIn.SetMsgAnswer((LRESULT)wParam);
    return 5;
}

class CAnsweringPlugIn : public TkWndPlugIn
{
public:
    LRESULT OnAsked(WPARAM wParam, LPARAM) { return Answer(*this, m_heard, wParam); }
    int m_heard = 0;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CAnsweringPlugIn, TkWndPlugIn)
    ON_MESSAGE(kAsked, OnAsked)
END_MESSAGE_MAP()

class CAnsweringListener : public TkWndListener
{
public:
    LRESULT OnAsked(WPARAM wParam, LPARAM) { return Answer(*this, m_heard, wParam); }
    int m_heard = 0;
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CAnsweringListener, TkWndListener)
    ON_MESSAGE(kAsked, OnAsked)
END_MESSAGE_MAP()

class PlugInAnswersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_window.CreateEx(0, AfxRegisterWndClass(0), "served", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                      NULL, NULL));
    }
    void TearDown() override { m_window.DestroyWindow(); }
    CWnd m_window;
};

TEST_F(PlugInAnswersTest, TheAnswerSetByAHandlerIsThePlugInsAnswer)
{
    CAnsweringPlugIn plugIn;
    const struct
    {
        const char* name;
        bool plugged;
        UINT message;
        WPARAM override;
        BOOL answer;
        LRESULT result;
    } cases[] = {
        {"handled", true, kAsked, 0, TRUE, 5},
        {"the answer set in its place", true, kAsked, 42, 42, 5},
        {"the next message without one", true, kAsked, 0, TRUE, 5},
        {"a message it has no handler for", true, kUnknown, 0, FALSE, -1},
        {"not plugged in", false, kAsked, 42, FALSE, -1},
    };
    for (const auto& c : cases) {
        if (c.plugged && !plugIn.IsPlugged())
            ASSERT_TRUE(plugIn.PlugInTo(&m_window));
        if (!c.plugged)
            plugIn.UnPlug();
        LRESULT result = -1;
        EXPECT_EQ(c.answer, plugIn.OnWndMsg(c.message, c.override, 0, &result)) << c.name;
        EXPECT_EQ(c.result, result) << c.name;
    }
}

TEST_F(PlugInAnswersTest, AListenerSetsNoAnswerAndTellsWhatItTook)
{
    CAnsweringListener listener;
    ASSERT_TRUE(listener.PlugInTo(&m_window));
    LRESULT result = -1;
    // The answer the handler sets is ignored.
    EXPECT_EQ(TRUE, listener.OnListenerMsg(kAsked, 42, 0, &result));
    EXPECT_EQ(5, result);
    const struct
    {
        UINT message;
        BOOL taken;
        int heard;
    } cases[] = {{kAsked, TRUE, 2}, {kUnknown, FALSE, 2}, {kAsked, TRUE, 3}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.taken, listener.SendToListener(c.message, 0, 7)) << c.message;
        EXPECT_EQ(c.heard, listener.m_heard) << c.message;
    }
    listener.UnPlug();
}

}  // namespace
