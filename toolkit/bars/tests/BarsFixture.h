// A frame docking toolkit bars: TkDockBars on its four sides, TkMiniDockFrameWnd
// for floating, three TkControlBars docked at the top, and a profile in a
// temporary folder.
#pragma once

#include "tests/support/TestFramework.h"
#include "tests/support/TempFolder.h"
#include "platform/mfc/tests/DockBarEntries.h"

#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkDockBar.h"
#include "toolkit/bars/TkMiniDockFrameWnd.h"

#include <ostream>
#include <string>

inline void PrintTo(const CRect& r, std::ostream* os)
{
    *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}

inline void PrintTo(const CSize& s, std::ostream* os)
{
    *os << s.cx << "x" << s.cy;
}

class CToolkitTestApp : public CWinApp
{
public:
    CToolkitTestApp() : CWinApp("ToolkitBarsTest") {}
};

class CToolkitFrame : public CFrameWnd
{
public:
    CDockBar* CreateDockBar() override { return new TkDockBar; }
};

class BarsFixture : public ::testing::Test
{
protected:
    static const UINT kFirstId = 0xE820;

    void SetUp() override;
    void TearDown() override;
    void Layout();
    TkDockBar* Side(UINT id);
    TkControlBar* MakeBar(UINT id, LPCSTR title, DWORD exStyle);
    // Puts all three bars into the first row of a side, in order.
    void OneRowAt(UINT side);
    static CRect RectIn(CWnd* window, CWnd* reference);

    CTempFolder m_folder{"tkbars"};
    CToolkitTestApp m_app;
    CToolkitFrame* m_frame = NULL;
    TkControlBar* m_bars[3] = {};
};
