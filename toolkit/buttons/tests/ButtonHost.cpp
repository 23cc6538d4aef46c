#include "toolkit/buttons/tests/ButtonHost.h"

BEGIN_MESSAGE_MAP(CButtonHost, CWnd)
    ON_MESSAGE(WM_TKCOLORWELL_SELECT, OnColor)
    ON_MESSAGE(WM_ENTERIDLE, OnEnterIdle)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void PostClick(CWnd* wnd, CPoint point, CPoint release)
{
    wnd->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
    wnd->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
    PumpUntilIdle(kButtonsQuietMs);
}

void PostKey(CWnd* wnd, UINT key)
{
    wnd->PostMessage(WM_KEYDOWN, key, 1);
    wnd->PostMessage(WM_KEYUP, key, 0xC0000001);
    PumpUntilIdle(kButtonsQuietMs);
}

namespace
{
// The smallest value that maps back onto the pixel, whether the mapping
// truncates or rounds.
LONG Normalized(int pixel, int screen)
{
    return (pixel * 65536 + screen - 1) / screen;
}
}

void SendClickAt(CPoint screenPoint)
{
    INPUT inputs[3] = {};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dx = Normalized(screenPoint.x, GetSystemMetrics(SM_CXSCREEN));
    inputs[0].mi.dy = Normalized(screenPoint.y, GetSystemMetrics(SM_CYSCREEN));
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].type = INPUT_MOUSE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(3u, SendInput(3, inputs, sizeof(INPUT)));
    PumpUntilIdle(kButtonsQuietMs);
}

COLORREF ScreenPixel(CWnd* wnd, CPoint point)
{
    wnd->UpdateWindow();
    wnd->ClientToScreen(&point);
    HDC screen = ::GetDC(NULL);
    const COLORREF color = ::GetPixel(screen, point.x, point.y);
    ::ReleaseDC(NULL, screen);
    return color;
}

std::string ColorText(COLORREF color)
{
    char text[8];
    wsprintfA(text, "%06X", (UINT)color);
    return text;
}

std::vector<COLORREF> StockPaletteColors()
{
    PALETTEENTRY entries[20] = {};
    const UINT count =
        ::GetPaletteEntries((HPALETTE)::GetStockObject(DEFAULT_PALETTE), 0, 20, entries);
    std::vector<COLORREF> colors;
    for (UINT i = 0; i < count; i++)
        colors.push_back(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue));
    return colors;
}

namespace
{
// The fields of the full-open colour dialog.
const int kColorFields[] = {706, 707, 708};

HWND FindProcessColorDialog()
{
    for (int tries = 0; tries < 500; tries++)
    {
        HWND dialog = NULL;
        while ((dialog = FindWindowExA(NULL, dialog, "#32770", NULL)) != NULL)
        {
            DWORD process = 0;
            GetWindowThreadProcessId(dialog, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(dialog))
                return dialog;
        }
        Sleep(10);
    }
    return NULL;
}
}

ColorDialogScript::ColorDialogScript(COLORREF color, bool ok) : m_color(color), m_ok(ok)
{
    m_thread = CreateThread(NULL, 0, Main, this, 0, NULL);
}

ColorDialogScript::~ColorDialogScript()
{
    WaitForSingleObject(m_thread, 10000);
    CloseHandle(m_thread);
}

DWORD WINAPI ColorDialogScript::Main(LPVOID param)
{
    ((ColorDialogScript*)param)->Run();
    return 0;
}

void ColorDialogScript::Run()
{
    HWND dialog = FindProcessColorDialog();
    if (!dialog)
        return;
    const BYTE values[] = {GetRValue(m_color), GetGValue(m_color), GetBValue(m_color)};
    for (int i = 0; i < 3 && m_ok; i++)
        SetDlgItemInt(dialog, kColorFields[i], values[i], FALSE);
    PostMessageA(dialog, WM_COMMAND, m_ok ? IDOK : IDCANCEL, 0);
}
