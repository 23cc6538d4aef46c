#include "toolkit/bars/tests/BarsFixture.h"
#include "platform/mfc/tests/PostDrag.h"
#include "tests/support/Waits.h"

#include "toolkit/bars/TkToolBarRectTracker.h"

#include <functional>
#include <vector>

namespace {

class RectTrackerTest : public BarsFixture
{
};

// The rectangle follows queued mouse moves (in the frame's client
// coordinates) until the left button comes up; Escape and the right button
// give it back. The result says whether it moved.
TEST_F(RectTrackerTest, TrackersFollowTheMouseUntilReleased)
{
    const CRect start(100, 100, 160, 130);
    const CPoint grab(110, 110);
    using TrackCall = std::function<BOOL(CRectTracker&, CWnd*)>;
    const TrackCall track = [&](CRectTracker& tracker, CWnd* window) { return tracker.Track(window, grab); };
    const TrackCall handle = [&](CRectTracker& tracker, CWnd* window) {
        return static_cast<TkToolBarRectTracker&>(tracker).TrackHandle(window, grab);
    };
    const TrackCall rightEdge = [&](CRectTracker& tracker, CWnd* window) {
        return static_cast<TkToolBarRectTracker&>(tracker).TrackRightEdge(window, grab);
    };
    struct Case
    {
        const char* name;
        bool toolkit;
        TrackCall call;
        std::vector<CPoint> moves;
        UINT last;
        BOOL result;
        CRect rect;
    } cases[] = {
        {"moved whole", false, track, {CPoint(5, 5), CPoint(20, -10)}, WM_LBUTTONUP, TRUE, CRect(120, 90, 180, 120)},
        {"released where it began", false, track, {CPoint(0, 0)}, WM_LBUTTONUP, FALSE, start},
        {"Escape", false, track, {CPoint(20, 20), CPoint(20, 20)}, WM_KEYDOWN, FALSE, start},
        {"right button", false, track, {CPoint(20, 20), CPoint(20, 20)}, WM_RBUTTONDOWN, FALSE, start},
        {"tool bar tracker moved whole", true, handle, {CPoint(-30, 40)}, WM_LBUTTONUP, TRUE, CRect(70, 140, 130, 170)},
        {"tool bar tracker, Escape", true, handle, {CPoint(-30, 40), CPoint(0, 0)}, WM_KEYDOWN, FALSE, start},
        {"right edge only", true, rightEdge, {CPoint(25, 30)}, WM_LBUTTONUP, TRUE, CRect(100, 100, 185, 130)},
        {"right edge never before the left", true, rightEdge, {CPoint(-500, 0)}, WM_LBUTTONUP, TRUE,
         CRect(100, 100, 100, 130)},
    };
    for (const Case& c : cases) {
        CRectTracker plain(&start, CRectTracker::solidLine);
        TkToolBarRectTracker toolBar(&start);
        CRectTracker& tracker = c.toolkit ? toolBar : plain;
        std::vector<POINT> points;
        for (CPoint move : c.moves)
            points.push_back(grab + move);
        PostDrag(m_frame->m_hWnd, points, c.last);
        EXPECT_EQ(c.result, c.call(tracker, m_frame)) << c.name;
        EXPECT_EQ(c.rect, tracker.m_rect) << c.name;
        EXPECT_EQ(nullptr, ::GetCapture()) << c.name;
        PumpMessages();
    }
}

TEST_F(RectTrackerTest, TrackingStartsOnlyInsideTheRectangleAndWithoutCapture)
{
    const CRect start(100, 100, 160, 130);
    CRectTracker tracker(&start, CRectTracker::solidLine);
    EXPECT_EQ(CRectTracker::hitMiddle, tracker.HitTest(CPoint(120, 120)));
    EXPECT_EQ(CRectTracker::hitNothing, tracker.HitTest(CPoint(99, 120)));
    EXPECT_FALSE(tracker.Track(m_frame, CPoint(20, 20)));

    TkToolBarRectTracker toolBar(&start);
    EXPECT_EQ((UINT)CRectTracker::hatchedBorder, toolBar.m_nStyle);
    m_bars[0]->SetCapture();
    EXPECT_FALSE(toolBar.TrackHandle(m_frame, CPoint(120, 120)));
    EXPECT_EQ(start, toolBar.m_rect);
    ::ReleaseCapture();
}

}  // namespace
