// Raw mouse messages handed to the drag starter: a press arms it, a move of
// the threshold or more from the press starts the drag in screen coordinates,
// a release disarms it, and other messages pass.
#include "tests/support/TestFramework.h"

#include "toolkit/docking/TkDragDropTask.h"
#include "toolkit/docking/TkWndPlugIn.h"

#include <string>
#include <vector>

namespace
{

class CRecordingStarter : public TkStartDragCore_T<TkWndListener>
{
public:
    BOOL CanStartDrag(UINT, CPoint) override { return TRUE; }
    BOOL StartDrag(UINT, CPoint press, CPoint point) override
    {
        m_starts.push_back({press, point});
        return TRUE;
    }
    std::vector<std::pair<CPoint, CPoint>> m_starts;
};

TEST(StartDragFilterTest, RawMouseMessagesArmAndStartTheDrag)
{
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "drag", WS_OVERLAPPEDWINDOW, 50, 40, 300, 200,
                                NULL, NULL));
    CPoint origin(0, 0);
    window.ClientToScreen(&origin);
    CRecordingStarter starter;
    const struct
    {
        const char* name;
        UINT message;
        CPoint at;
        BOOL taken;
        size_t starts;
    } cases[] = {
        {"a move before any press", WM_MOUSEMOVE, {30, 30}, FALSE, 0},
        {"the press", WM_LBUTTONDOWN, {10, 10}, FALSE, 0},
        {"a move short of the threshold", WM_MOUSEMOVE, {10, 10}, FALSE, 0},
        {"a move past it starts the drag", WM_MOUSEMOVE, {13, 14}, TRUE, 1},
        {"a later move starts nothing", WM_MOUSEMOVE, {20, 20}, FALSE, 1},
        {"a press again", WM_LBUTTONDOWN, {40, 5}, FALSE, 1},
        {"the release disarms", WM_LBUTTONUP, {40, 5}, FALSE, 1},
        {"so a move starts nothing", WM_MOUSEMOVE, {60, 60}, FALSE, 1},
        {"another button passes", WM_RBUTTONDOWN, {40, 5}, FALSE, 1},
    };
    for (const auto& c : cases) {
        MSG msg = {};
        msg.hwnd = window.m_hWnd;
        msg.message = c.message;
        msg.wParam = c.message == WM_LBUTTONUP ? 0 : MK_LBUTTON;
        msg.lParam = MAKELPARAM(c.at.x, c.at.y);
        EXPECT_EQ(c.taken, starter.FilterMouseMessage(&msg)) << c.name;
        EXPECT_EQ(c.starts, starter.m_starts.size()) << c.name;
    }
    ASSERT_EQ(1u, starter.m_starts.size());
    EXPECT_EQ(origin + CPoint(10, 10), starter.m_starts[0].first);
    EXPECT_EQ(origin + CPoint(13, 14), starter.m_starts[0].second);
    window.DestroyWindow();
}

}  // namespace
