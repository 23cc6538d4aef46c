#include "toolkit/menus/tests/MenuHost.h"
#include "tests/support/Waits.h"

#include "toolkit/menus/tests/MenuTest.h"

namespace
{
class CMenuTestApp : public CWinApp
{
public:
    CMenuTestApp() : CWinApp("MenuTests") {}
};
CMenuTestApp s_app;
}  // namespace

CMenuHostFrame::CMenuHostFrame()
{
}

BOOL CMenuHostFrame::Make(const std::vector<UINT>& menus)
{
    if (!LoadFrame(IDR_MENUHOST))
        return FALSE;
    AfxGetApp()->m_pMainWnd = this;
    // Commands need no handlers to stay enabled in the popups.
    m_bAutoMenuEnable = FALSE;
    ::SetMenu(m_hWnd, NULL);
    SetWindowPos(NULL, 40, 40, 640, 400, SWP_NOZORDER);
    EnableDocking(CBRS_ALIGN_ANY);
    if (!m_menuBar.CreateToolBarEx(0, this, WS_CHILD | WS_VISIBLE | CBRS_TOP, kTkMenuBarId,
                                   "Menu Bar") ||
        !m_menuBar.SetMenuList(menus.data(), (int)menus.size()))
        return FALSE;
    m_menuBar.EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_menuBar);
    m_feature.SetMenuBar(&m_menuBar);
    if (!m_feature.PlugInTo(this))
        return FALSE;
    ShowWindow(SW_SHOW);
    RecalcLayout();
    SetForegroundWindow();
    SetFocus();
    PumpIdle();
    return TRUE;
}

BOOL CMenuHostFrame::PreTranslateMessage(MSG* msg)
{
    if (m_feature.PreTranslateMessage(msg))
        return TRUE;
    return TkMDIFrameWnd::PreTranslateMessage(msg);
}

BOOL CMenuHostFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (lParam == 0 && LOWORD(wParam) >= ID_FILE_NEW && LOWORD(wParam) <= ID_PLAY_START)
    {
        m_done.push_back("command " + std::to_string(LOWORD(wParam)));
        return TRUE;
    }
    return TkMDIFrameWnd::OnCommand(wParam, lParam);
}

LRESULT CMenuHostFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) != SC_MOUSEMENU &&
        (wParam & 0xFFF0) != SC_KEYMENU)
    {
        char text[32];
        wsprintfA(text, "syscommand %04X", (UINT)(wParam & 0xFFF0));
        m_done.push_back(text);
        return 0;
    }
    return TkMDIFrameWnd::WindowProc(message, wParam, lParam);
}

namespace
{
std::string FirstItem(HMENU menu)
{
    char text[64] = "";
    ::GetMenuStringA(menu, 0, text, sizeof(text), MF_BYPOSITION);
    return text;
}

LONG Normalized(int pixel, int screen)
{
    return (pixel * 65536 + screen - 1) / screen;
}

void SendMouse(DWORD flags, CPoint screen)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = Normalized(screen.x, ::GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = Normalized(screen.y, ::GetSystemMetrics(SM_CYSCREEN));
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(input));
}

const std::vector<std::function<void()>>* g_steps;
size_t g_next;

void CALLBACK StepTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_steps && g_next < g_steps->size())
        (*g_steps)[g_next++]();
    else
        ::EndMenu();  // a case that left a popup open must not hang the run
}
}  // namespace

std::string MenuState(CMenuHostFrame* frame)
{
    std::string state;
    HMENU system = ::GetSystemMenu(frame->m_hWnd, FALSE);
    HWND popup = NULL;
    std::vector<HWND> popups;
    while ((popup = ::FindWindowExA(NULL, popup, "#32768", NULL)) != NULL)
    {
        if (::IsWindowVisible(popup))
            popups.insert(popups.begin(), popup);
    }
    for (HWND window : popups)
    {
        HMENU menu = (HMENU)::SendMessageA(window, MN_GETHMENU, 0, 0);
        state += state.empty() ? "" : " > ";
        state += menu == system ? "system" : "popup " + FirstItem(menu);
    }
    if (!state.empty())
        return state;
    TkMenuBar& bar = frame->m_menuBar;
    if (bar.IsInMenuMode() && bar.GetMenuIndex() >= 0)
        return "mode " + std::string(static_cast<TkTBMenuBtn*>(bar.GetButton(bar.GetMenuIndex()))
                                         ->m_strText);
    return "idle";
}

void KeyDown(WORD key)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    ::SendInput(1, &input, sizeof(input));
}

void KeyUp(WORD key)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof(input));
}

void Tap(WORD key)
{
    KeyDown(key);
    KeyUp(key);
}

void AltChord(WORD key)
{
    KeyDown(VK_MENU);
    Tap(key);
    KeyUp(VK_MENU);
}

void MoveMouse(CPoint screen)
{
    SendMouse(0, screen);
}

void ClickAt(CPoint screen)
{
    MouseDown(screen);
    MouseUp(screen);
}

void MouseDown(CPoint screen)
{
    SendMouse(0, screen);
    SendMouse(MOUSEEVENTF_LEFTDOWN, screen);
}

void MouseUp(CPoint screen)
{
    SendMouse(0, screen);
    SendMouse(MOUSEEVENTF_LEFTUP, screen);
}

void DoubleClickAt(CPoint screen)
{
    ClickAt(screen);
    ClickAt(screen);
}

void PumpIdle()
{
    // Menus animate and track on timers: quiet is 60 ms, and the rounds are bounded.
    PumpUntilIdle(60, 100);
}

void RunScript(const std::vector<std::function<void()>>& steps)
{
    g_steps = &steps;
    g_next = 0;
    UINT_PTR timer = ::SetTimer(NULL, 0, 80, StepTimer);
    WaitUntil([&] { return g_next >= steps.size(); }, 20000, WhileWaiting::PumpMessages);
    ::KillTimer(NULL, timer);
    ::EndMenu();
    g_steps = NULL;
    PumpIdle();
}

CPoint ButtonCentre(TkCustomToolBar* bar, int index)
{
    CRect rect;
    bar->GetButtonRect(index, &rect);
    bar->ClientToScreen(&rect);
    return rect.CenterPoint();
}
