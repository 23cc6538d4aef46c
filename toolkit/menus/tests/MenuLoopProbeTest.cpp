// What the menu bar's tracking relies on in the platform's menu loop: a
// thread's WH_MSGFILTER hook sees the loop's keys and mouse messages (and may
// swallow them), a message it posts on Right arrives after the WM_MENUSELECT
// of the submenu that key opened, WH_KEYBOARD and WH_MOUSE see injected input
// (the keyboard hook may swallow it). (Wine's TrackPopupMenuEx ignores the
// exclusion rectangle: the menu bar places its popups itself.)
#include "tests/support/TestFramework.h"

#include <string>
#include <vector>

namespace
{
const UINT WM_PROBE_POSTED = WM_APP + 1;
const UINT kLeaf = 101;
const UINT kSubItem = 102;

std::vector<std::string> g_events;
HWND g_owner;

void Record(const std::string& event)
{
    g_events.push_back(event);
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_MENUSELECT:
        if (HIWORD(wParam) & MF_POPUP)
            Record("select popup " + std::to_string(LOWORD(wParam)));
        else if (HIWORD(wParam) != 0xFFFF)
            Record("select " + std::to_string(LOWORD(wParam)));
        return 0;
    case WM_PROBE_POSTED:
        Record("posted");
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeOwner()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "MenuLoopProbeOwner";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "MenuLoopProbeOwner", "Probe", WS_OVERLAPPEDWINDOW, 50,
                                  50, 300, 200, NULL, NULL, wc.hInstance, NULL);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
    return window;
}

void Key(WORD key, bool up = false)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof(input));
}

void Tap(WORD key)
{
    Key(key);
    Key(key, true);
}

void MoveMouse(int x, int y)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy = (y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof(input));
}

// A popup: a leaf, then an item with a submenu of one item.
HMENU MakeMenu()
{
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, kSubItem, "Sub");
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, kLeaf, "Leaf");
    AppendMenuA(menu, MF_POPUP, (UINT_PTR)sub, "Nested");
    return menu;
}

// Steps run one per timer tick inside the menu loop.
std::vector<void (*)()> g_steps;
size_t g_step;

void CALLBACK StepTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_step < g_steps.size())
        g_steps[g_step++]();
}

UINT Track(HMENU menu)
{
    g_step = 0;
    UINT_PTR timer = SetTimer(NULL, 0, 60, StepTimer);
    UINT chosen = TrackPopupMenuEx(menu, TPM_RETURNCMD, 100, 100, g_owner, NULL);
    KillTimer(NULL, timer);
    return chosen;
}

// The message-filter hook of the probes: records what it sees in the loop,
// posts on Right, and swallows the mouse moves while swallowing is on.
HHOOK g_filterHook;
bool g_swallowMoves;
int g_filterKeys, g_filterMoves;

LRESULT CALLBACK FilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_MENU)
    {
        if (msg->message == WM_KEYDOWN)
        {
            g_filterKeys++;
            if (msg->wParam == VK_RIGHT)
            {
                Record("right");
                PostMessageA(g_owner, WM_PROBE_POSTED, 0, 0);
            }
        }
        if (msg->message == WM_MOUSEMOVE)
        {
            g_filterMoves++;
            if (g_swallowMoves)
                return TRUE;
        }
    }
    return CallNextHookEx(g_filterHook, code, wParam, lParam);
}

class MenuLoopProbe : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_events.clear();
        g_owner = MakeOwner();
        g_filterHook = SetWindowsHookExA(WH_MSGFILTER, FilterHook, NULL, GetCurrentThreadId());
        g_swallowMoves = false;
        g_filterKeys = g_filterMoves = 0;
    }
    void TearDown() override
    {
        UnhookWindowsHookEx(g_filterHook);
        DestroyWindow(g_owner);
    }
};

TEST_F(MenuLoopProbe, FilterHookSeesKeysAndPostsAfterTheSubmenuSelection)
{
    HMENU menu = MakeMenu();
    g_steps = {[] { Tap(VK_DOWN); }, [] { Tap(VK_DOWN); }, [] { Record("mark"); },
               [] { Tap(VK_RIGHT); }, [] { Tap(VK_RETURN); }};
    UINT chosen = Track(menu);
    DestroyMenu(menu);
    EXPECT_EQ(kSubItem, chosen);
    EXPECT_GE(g_filterKeys, 4);
    // After the mark: Right, the submenu's first item selected, then the post.
    std::vector<std::string> after;
    bool marked = false;
    for (const std::string& event : g_events)
    {
        if (marked && after.size() < 3)
            after.push_back(event);
        marked = marked || event == "mark";
    }
    const std::vector<std::string> expected = {"right", "select " + std::to_string(kSubItem),
                                               "posted"};
    EXPECT_EQ(expected, after);
}

TEST_F(MenuLoopProbe, FilterHookSeesAndSwallowsMouseMoves)
{
    HMENU menu = MakeMenu();
    g_swallowMoves = true;
    // Over the first item: a swallowed move selects nothing.
    g_steps = {[] { MoveMouse(110, 108); }, [] { MoveMouse(112, 110); },
               [] { Tap(VK_ESCAPE); }};
    UINT chosen = Track(menu);
    DestroyMenu(menu);
    EXPECT_EQ(0u, chosen);
    EXPECT_GE(g_filterMoves, 1);
    for (const std::string& event : g_events)
        EXPECT_NE("select " + std::to_string(kLeaf), event);
}

HHOOK g_keyboardHook, g_mouseHook;
int g_keyboardActions, g_mouseMoves;

LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION)
    {
        g_keyboardActions++;
        // Swallows the letter x, down and up.
        if (wParam == 'X')
            return 1;
    }
    return CallNextHookEx(g_keyboardHook, code, wParam, lParam);
}

LRESULT CALLBACK MouseHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && wParam == WM_MOUSEMOVE)
        g_mouseMoves++;
    return CallNextHookEx(g_mouseHook, code, wParam, lParam);
}

TEST_F(MenuLoopProbe, KeyboardAndMouseHooksSeeInjectedInput)
{
    g_keyboardHook = SetWindowsHookExA(WH_KEYBOARD, KeyboardHook, NULL, GetCurrentThreadId());
    g_mouseHook = SetWindowsHookExA(WH_MOUSE, MouseHook, NULL, GetCurrentThreadId());
    g_keyboardActions = g_mouseMoves = 0;
    SetForegroundWindow(g_owner);
    SetFocus(g_owner);
    Tap('X');
    Tap('Y');
    RECT rect;
    GetWindowRect(g_owner, &rect);
    MoveMouse(rect.left + 40, rect.top + 60);
    MoveMouse(rect.left + 50, rect.top + 70);
    int keysDown = 0, xSeen = 0;
    MSG msg;
    DWORD end = GetTickCount() + 2000;
    while (GetTickCount() < end && (keysDown < 1 || g_mouseMoves < 1))
    {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_KEYDOWN)
            {
                keysDown++;
                xSeen += msg.wParam == 'X';
            }
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
    }
    UnhookWindowsHookEx(g_keyboardHook);
    UnhookWindowsHookEx(g_mouseHook);
    EXPECT_GE(g_keyboardActions, 4);
    EXPECT_EQ(1, keysDown);
    EXPECT_EQ(0, xSeen);
    EXPECT_GE(g_mouseMoves, 1);
}

}  // namespace
