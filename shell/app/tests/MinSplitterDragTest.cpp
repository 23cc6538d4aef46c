// The library tab's splitter dragged with the mouse as a person does it
// (SendInput): the bar stops where either row would go below its minimum.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include "shell/app/MinSplitterWnd.h"
#include "tests/support/RealInput.h"

#include <afxext.h>

#include <string>

namespace
{
const int kMinRow = 100;

class CPaneView : public CView
{
    DECLARE_DYNCREATE(CPaneView)
protected:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CPaneView, CView)

void SendMouse(DWORD flags, CPoint screen)
{
    SendMouseAt(flags, screen);
    PumpUntilIdle(30, 20);
}

class MinSplitterDragTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "splitter", WS_POPUP | WS_VISIBLE, 100, 100, 300,
                                    412, NULL, 0));
        ASSERT_TRUE(m_splitter.CreateStatic(&m_host, 2, 1));
        for (int row = 0; row < 2; ++row)
        {
            ASSERT_TRUE(m_splitter.CreateView(row, 0, RUNTIME_CLASS(CPaneView), CSize(20, 200), NULL));
            m_splitter.SetRowInfo(row, 200, kMinRow);
        }
        m_splitter.MoveWindow(0, 0, 300, 412);
        m_splitter.RecalcLayout();
        m_host.SetForegroundWindow();
        PumpUntilIdle(30, 20);
    }
    void TearDown() override { m_host.DestroyWindow(); }

    // The first row's height after its bar is dragged by dy pixels.
    int DragBar(int dy)
    {
        int height = 0, minimum = 0;
        m_splitter.GetRowInfo(0, height, minimum);
        CPoint bar(150, height + 3);
        m_splitter.ClientToScreen(&bar);
        SendMouse(0, bar);
        SendMouse(MOUSEEVENTF_LEFTDOWN, bar);
        SendMouse(0, bar + CSize(0, dy / 2));
        SendMouse(0, bar + CSize(0, dy));
        SendMouse(MOUSEEVENTF_LEFTUP, bar + CSize(0, dy));
        m_splitter.GetRowInfo(0, height, minimum);
        return height;
    }

    CWnd m_host;
    CMinSplitterWnd m_splitter;
};
}

TEST_F(MinSplitterDragTest, TheBarStopsWhereARowWouldGoBelowItsMinimum)
{
    // 412 high: two rows and a bar of 6.
    const struct
    {
        int dy;
        int firstRow;
    } drags[] = {
        { -50, 150 },
        // Far up: the first row keeps its minimum.
        { -300, kMinRow },
        { 150, 250 },
        // Far down: the second row keeps its minimum.
        { 300, 412 - 6 - kMinRow },
    };
    for (const auto& drag : drags)
        EXPECT_EQ(drag.firstRow, DragBar(drag.dy)) << drag.dy;
}
