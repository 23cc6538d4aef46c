// The tests' dialog stand-in: a top-level window that records the clicks and
// colour choices its controls report, with helpers to drive and read them.
#pragma once

#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"
#include "tests/support/CallRecorder.h"

#include "toolkit/buttons/TkColorWell.h"

#include <functional>
#include <string>
#include <vector>

class CButtonHost : public CWnd
{
public:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (HIWORD(wParam) == BN_CLICKED)
            m_notes.Record("clicked " + std::to_string(LOWORD(wParam)));
        return CWnd::OnCommand(wParam, lParam);
    }
    LRESULT OnColor(WPARAM id, LPARAM color)
    {
        char text[40];
        wsprintfA(text, "color %u %06X", (UINT)id, (UINT)color);
        m_notes.Record(text);
        return 0;
    }
    void OnLButtonDown(UINT, CPoint point)
    {
        m_notes.Record("press " + std::to_string(point.x) + "," + std::to_string(point.y));
    }
    // Runs while a menu the host owns waits for input.
    LRESULT OnEnterIdle(WPARAM reason, LPARAM)
    {
        if (reason == MSGF_MENU && m_onMenuIdle)
            m_onMenuIdle();
        return 0;
    }
    std::string Notes() const
    {
        std::string text;
        for (const std::string& call : m_notes.Calls())
            text += (text.empty() ? "" : ", ") + call;
        return text;
    }
    CCallRecorder m_notes;
    std::function<void()> m_onMenuIdle;
    DECLARE_MESSAGE_MAP()
};

// How long the queue stays empty before the buttons count as idle.
const DWORD kButtonsQuietMs = 50;

class CButtonsTestApp : public CWinApp
{
public:
    CButtonsTestApp() : CWinApp("ButtonsTest") {}
};

// The fixture's base: the application and the host window.
class ButtonHostTest : public ::testing::Test
{
protected:
    void MakeHost(DWORD style, const CRect& rect)
    {
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "Buttons", style | WS_VISIBLE,
                                    rect, NULL, 0));
        PumpUntilIdle(kButtonsQuietMs);
    }
    void TearDown() override
    {
        m_host.DestroyWindow();
        PumpUntilIdle(kButtonsQuietMs);
    }

    CButtonsTestApp m_app;
    CButtonHost m_host;
};
// Posts a press and a release at the client point of the window.
void PostClick(CWnd* wnd, CPoint point, CPoint release);
// Posts a key's down and up.
void PostKey(CWnd* wnd, UINT key);
// A mouse click at a screen point through real input (the capture applies).
void SendClickAt(CPoint screenPoint);
// The pixel as it shows on the screen, at a client point of the window.
COLORREF ScreenPixel(CWnd* wnd, CPoint point);
// "RRGGBB" as the host records colours.
std::string ColorText(COLORREF color);
// The system's default palette: the cell colours of a 4 x 5 well.
std::vector<COLORREF> StockPaletteColors();

// Answers the process's colour dialog from a second thread: types the colour
// into its red, green and blue fields and presses OK, or presses Cancel.
class ColorDialogScript
{
public:
    explicit ColorDialogScript(COLORREF color, bool ok = true);
    // Waits for the answer.
    ~ColorDialogScript();

private:
    static DWORD WINAPI Main(LPVOID param);
    void Run();

    COLORREF m_color;
    bool m_ok;
    HANDLE m_thread;
};
