// The waveform of one IR signal: its pixels for signals and windows (levels,
// transitions, the time scale's ticks), the zoom ladder with its limits, pans,
// and the scroll bar's page and position after pans and scrolls.
#include "tests/support/TestFramework.h"

#include <afxwin.h>

#include <string>
#include <vector>

#include "irteach/IrWaveform.h"

namespace {

const COLORREF kBackground = RGB(0, 128, 128);
const COLORREF kSignal = RGB(255, 255, 0);
const COLORREF kAxis = RGB(64, 64, 64);
// A pane whose plot is 200 pixels wide.
const int kWidth = 210;
const int kHeight = 90;
const int kHigh = 5;
const int kLevel = kHeight - kHeight / 3 + 5;   // 65
const int kLow = kLevel - 1;

// A 32-bit surface, so that pixels read back exactly as drawn.
class CSurface
{
public:
    CSurface()
    {
        m_dc.Attach(CreateCompatibleDC(nullptr));
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = -kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc.GetSafeHdc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_old = SelectObject(m_dc.GetSafeHdc(), m_bitmap);
    }
    ~CSurface()
    {
        SelectObject(m_dc.GetSafeHdc(), m_old);
        DeleteObject(m_bitmap);
    }
    CDC& Dc() { return m_dc; }
    COLORREF At(int x, int y) { return m_dc.GetPixel(x, y); }

private:
    CDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

// Where a level runs between two transitions.
struct LevelRun
{
    int x0;
    int x1;
    bool high;
};

TEST(IrWaveformTest, SignalsDrawAsSquareWavesAtTheirTimesInTheWindow)
{
    const struct
    {
        const char* name;
        const char* timings;
        int zoomIns;     // from the first window, 0 to 100000 us
        int panRights;
        std::vector<int> transitions;   // x of each level change inside the plot
        std::vector<LevelRun> runs;
    } cases[] = {
        // 500 us a pixel: x = 5 + t / 500.
        {"whole signal", "1000 -2000 3000 -1000", 0, 0, {5, 7, 11, 17},
         {{5, 7, true}, {7, 11, false}, {11, 17, true}, {17, 19, false}}},
        // Neighbours of one sign are one duration.
        {"merged neighbours", "1000 1000 -2000 2000", 0, 0, {5, 9, 13},
         {{5, 9, true}, {9, 13, false}, {13, 17, true}}},
        // Zoomed in three times: 10000 us from 45000, 50 us a pixel.
        {"zoomed window", "-46000 1000 -2000 100000", 3, 0, {25, 45, 85},
         {{5, 25, false}, {25, 45, true}, {45, 85, false}, {85, 205, true}}},
        // Panned once: 20000 to 120000; the long mark runs past the right edge.
        {"panned window", "-30000 4000 -500000", 0, 1, {25, 33}, {{5, 25, false}, {25, 33, true}, {33, 205, false}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CIrWaveform wave;
        ASSERT_TRUE(wave.CreateTools());
        wave.SetCurrentCode(c.timings, nullptr);
        for (int i = 0; i < c.zoomIns; ++i)
            wave.ZoomIn();
        for (int i = 0; i < c.panRights; ++i)
            wave.PanRight();
        CSurface surface;
        wave.Draw(surface.Dc(), kWidth, kHeight, FALSE);
        for (const LevelRun& run : c.runs) {
            int x = (run.x0 + run.x1) / 2;
            EXPECT_EQ(kSignal, surface.At(x, run.high ? kHigh : kLow)) << x;
            EXPECT_EQ(kBackground, surface.At(x, run.high ? kLow : kHigh)) << x;
        }
        for (int x : c.transitions) {
            EXPECT_EQ(kSignal, surface.At(x, (kHigh + kLow) / 2)) << x;
            EXPECT_EQ(kBackground, surface.At(x + 1, (kHigh + kLow) / 2)) << x;
        }
        // Outside the plot nothing of the signal shows.
        EXPECT_EQ(kBackground, surface.At(2, kHigh));
        EXPECT_EQ(kBackground, surface.At(kWidth - 2, kHigh));
        EXPECT_EQ(kBackground, surface.At(kWidth - 2, kLow));
        // The scale: a base line and 11 ticks, 20 pixels apart.
        for (int i = 0; i <= 10; ++i)
            EXPECT_EQ(kAxis, surface.At(5 + i * 20, kLevel + 2)) << i;
        for (int x : {15, 100, 195})
            EXPECT_EQ(kAxis, surface.At(x, kLevel + 5)) << x;
    }
}

TEST(IrWaveformTest, WithoutSamplesOnlyTheBackgroundIsDrawn)
{
    CIrWaveform wave;
    ASSERT_TRUE(wave.CreateTools());
    wave.SetCurrentCode("", nullptr);
    CSurface surface;
    wave.Draw(surface.Dc(), kWidth, kHeight, TRUE);
    for (POINT p : std::vector<POINT>{{0, 0}, {5, kHigh}, {5, kLow}, {5, kLevel + 5}, {105, kLevel + 2}, {209, 89}})
        EXPECT_EQ(kBackground, surface.At(p.x, p.y)) << p.x << "," << p.y;
}

struct Window
{
    double start;
    double end;
};

void ExpectWindow(const CIrWaveform& wave, Window expected, const std::string& step)
{
    EXPECT_DOUBLE_EQ(expected.start, wave.GetStart()) << step;
    EXPECT_DOUBLE_EQ(expected.end, wave.GetEnd()) << step;
}

TEST(IrWaveformTest, ZoomStepsThroughOneTwoFiveAroundTheCentre)
{
    CIrWaveform wave;
    wave.SetCurrentCode("1000 -1000000", nullptr);   // 1001 ms
    ExpectWindow(wave, {0, 100000}, "first");
    const struct
    {
        void (CIrWaveform::*step)();
        const char* name;
        Window window;
    } steps[] = {
        {&CIrWaveform::ZoomIn, "in", {25000, 75000}},   {&CIrWaveform::ZoomIn, "in", {40000, 60000}},
        {&CIrWaveform::ZoomIn, "in", {45000, 55000}},   {&CIrWaveform::ZoomIn, "in", {47500, 52500}},
        {&CIrWaveform::ZoomOut, "out", {45000, 55000}}, {&CIrWaveform::ZoomOut, "out", {40000, 60000}},
        {&CIrWaveform::ZoomOut, "out", {25000, 75000}}, {&CIrWaveform::ZoomOut, "out", {0, 100000}},
        // A window that would begin before 0 begins at 0.
        {&CIrWaveform::ZoomOut, "out", {0, 200000}},    {&CIrWaveform::PanLeft, "left", {0, 200000}},
        {&CIrWaveform::PanRight, "right", {40000, 240000}}, {&CIrWaveform::PanLeft, "left", {0, 200000}},
    };
    for (const auto& s : steps) {
        (wave.*s.step)();
        ExpectWindow(wave, s.window, s.name);
    }
}

TEST(IrWaveformTest, ZoomOutAndPanRightStopAtTheSignalsEnd)
{
    CIrWaveform wave;
    wave.SetCurrentCode("1000 -49000", nullptr);
    wave.ZoomOut();
    ExpectWindow(wave, {0, 100000}, "zoom out past the end");
    wave.PanRight();
    ExpectWindow(wave, {0, 100000}, "pan right past the end");
    wave.ZoomIn();
    wave.ZoomIn();
    ExpectWindow(wave, {40000, 60000}, "zoomed in");
    wave.ZoomOut();
    ExpectWindow(wave, {25000, 75000}, "zoom out within the signal");
    wave.ZoomOut();
    ExpectWindow(wave, {0, 100000}, "zoom out to the whole signal");
    wave.ZoomOut();
    ExpectWindow(wave, {0, 100000}, "zoom out past the whole signal");
}

TEST(IrWaveformTest, ScrollPageAndPositionFollowPansAndScrolls)
{
    CIrWaveform wave;
    wave.SetCurrentCode("1000 -399000", nullptr);   // 400 ms: the page is a quarter
    const struct
    {
        const char* name;
        UINT code;        // scroll code, or (UINT)-1 for a pan right
        int thumb;
        Window window;
        int position;
    } steps[] = {
        {"first", SB_ENDSCROLL, 0, {0, 100000}, 0},
        // 0.2 x 32000 x 100000 / 500000
        {"line right", SB_LINERIGHT, 0, {16000, 116000}, 1280},
        {"page right", SB_PAGERIGHT, 0, {116000, 216000}, 9280},
        {"line left", SB_LINELEFT, 0, {100000, 200000}, 8000},
        {"thumb", SB_THUMBTRACK, 16000, {200000, 300000}, 16000},
        {"thumb position", SB_THUMBPOSITION, 4000, {50000, 150000}, 4000},
        {"pan right", UINT(-1), 0, {70000, 170000}, 5600},
        {"end scroll", SB_ENDSCROLL, 0, {70000, 170000}, 5600},
        {"right end", SB_RIGHT, 0, {400000, 500000}, 32000},
        {"page right at the end", SB_PAGERIGHT, 0, {400000, 500000}, 32000},
        {"left end", SB_LEFT, 0, {0, 100000}, 0},
        {"line left at the start", SB_LINELEFT, 0, {0, 100000}, 0},
    };
    for (const auto& s : steps) {
        if (s.code == UINT(-1))
            wave.PanRight();
        else
            wave.Scroll(s.code, s.thumb);
        ExpectWindow(wave, s.window, s.name);
        EXPECT_EQ(s.position, wave.ScrollPosition()) << s.name;
        EXPECT_EQ(8000, wave.ScrollPage()) << s.name;
    }
}

// The empty code shown at start-up has no length: the page spans the whole
// range and scrolling leaves the window where it is.
TEST(IrWaveformTest, WithoutSamplesThePageSpansTheWholeRange)
{
    CIrWaveform wave;
    wave.SetCurrentCode("", nullptr);
    for (int code : {SB_LINERIGHT, SB_PAGERIGHT, SB_RIGHT, SB_THUMBTRACK}) {
        wave.Scroll(code, 16000);
        ExpectWindow(wave, {0, 100000}, std::to_string(code));
        EXPECT_EQ(CIrWaveform::kScrollRange + 1, wave.ScrollPage());
        EXPECT_EQ(0, wave.ScrollPosition());
    }
}

} // namespace
