#include "tests/support/doc/DocFixture.h"

#include "shell/app/ShellOperations.h"

#include <algorithm>

namespace
{
class TimedActionTest : public DocFixture
{
};
}

TEST_F(TimedActionTest, TheSchedulersEndDisarmsItAndExitsWhenAsked)
{
    Open();
    CShellOperations operations;
    operations.SetDocument(m_doc);
    const struct
    {
        int action;
        bool closes;
    } cases[] = { { 2, true }, { 0, false }, { 7, false } };
    for (const auto& c : cases)
    {
        TimedPlay& timed = m_doc->GetTimedPlay();
        timed.action = c.action;
        timed.enabled = TRUE;
        timed.started = TRUE;
        operations.RunTimedAction();
        EXPECT_FALSE(timed.enabled) << c.action;
        EXPECT_FALSE(timed.started) << c.action;
        Texts trace = m_trace.Take();
        EXPECT_EQ(c.closes, std::find(trace.begin(), trace.end(), "close") != trace.end()) << c.action;
    }
    Close();
}
