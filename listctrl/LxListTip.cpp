#include "listctrl/LxListTip.h"

namespace
{
const char kTipClass[] = "ZLxListTip";
// Room right of the text.
const int kTextMargin = 3;

// The non-client twin of each client button message.
const struct
{
    UINT client;
    UINT nonClient;
} kButtonMessages[] = {
    {WM_LBUTTONDOWN, WM_NCLBUTTONDOWN}, {WM_LBUTTONDBLCLK, WM_NCLBUTTONDBLCLK},
    {WM_RBUTTONDOWN, WM_NCRBUTTONDOWN}, {WM_RBUTTONDBLCLK, WM_NCRBUTTONDBLCLK},
    {WM_MBUTTONDOWN, WM_NCMBUTTONDOWN}, {WM_MBUTTONDBLCLK, WM_NCMBUTTONDBLCLK},
};
}

BEGIN_MESSAGE_MAP(CLxListTip, CWnd)
    ON_WM_MOUSEMOVE()
    ON_WM_PAINT()
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
END_MESSAGE_MAP()

CLxListTip::CLxListTip() : m_pFont(NULL), m_pParent(NULL), m_passedClick(kNoClick), m_passedTime(0)
{
    HINSTANCE instance = AfxGetInstanceHandle();
    WNDCLASSA info = {};
    if (::GetClassInfoA(instance, kTipClass, &info))
        return;
    info.style = CS_SAVEBITS;
    info.lpfnWndProc = ::DefWindowProcA;
    info.hInstance = instance;
    info.hCursor = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    info.hbrBackground = (HBRUSH)(COLOR_INFOBK + 1);
    info.lpszClassName = kTipClass;
    if (!::RegisterClassA(&info))
        AfxThrowResourceException();
}

BOOL CLxListTip::Create(CWnd* parent)
{
    m_pParent = parent;
    return CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kTipClass, "", WS_POPUP | WS_BORDER, 0, 0,
                    0, 0, parent->GetSafeHwnd(), NULL);
}

void CLxListTip::Show(const RECT& cellRect, const CString& text, int offset)
{
    CRect cell = cellRect;
    if (!m_hWnd || cell.IsRectEmpty() || text.IsEmpty() || IsWindowVisible() || !::GetFocus())
        return;
    m_pendingCell = cell;
    m_pendingText = text;
    // A tip closed by a click or a key stays away from its cell.
    if (cell == m_lastCell && text == m_lastText)
        return;
    m_hitRect = CRect(-offset - 1, -1, cell.Width() - offset, cell.Height() + 1);
    m_pParent->ClientToScreen(&cell);
    CClientDC dc(this);
    CFont* old = m_pFont ? dc.SelectObject(m_pFont) : NULL;
    int width = dc.GetTextExtent(text).cx;
    if (old)
        dc.SelectObject(old);
    if (width + cell.left + offset + kTextMargin <= cell.right - offset)
        return;
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, cell.left + offset, cell.top, width + kTextMargin,
                   cell.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    UpdateWindow();
    SetCapture();
}

void CLxListTip::OnPaint()
{
    CPaintDC dc(this);
    CFont* old = m_pFont ? dc.SelectObject(m_pFont) : NULL;
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(::GetSysColor(COLOR_INFOTEXT));
    dc.TextOut(0, 0, m_pendingText);
    if (old)
        dc.SelectObject(old);
}

void CLxListTip::Hide()
{
    ::ReleaseCapture();
    ShowWindow(SW_HIDE);
    m_lastCell = m_pendingCell;
    m_lastText = m_pendingText;
}

// The tip sees the pointer leave its cell only through the capture: a window
// that takes it while the tip shows (a menu opening by click or key, a drag)
// closes the tip as a click or a key does.
LRESULT CLxListTip::OnCaptureChanged(WPARAM, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(lParam) == m_hWnd || !IsWindowVisible())
        return 0;
    ShowWindow(SW_HIDE);
    m_lastCell = m_pendingCell;
    m_lastText = m_pendingText;
    return 0;
}

CWnd* CLxListTip::WindowBeneath(CPoint screen)
{
    CWnd* beneath = WindowFromPoint(screen);
    return !beneath || beneath->m_hWnd == m_hWnd ? m_pParent : beneath;
}

void CLxListTip::OnMouseMove(UINT flags, CPoint point)
{
    if (m_hitRect.PtInRect(point))
        return;
    // Hidden first: leaving the cell is no close, and the tip may come back.
    ShowWindow(SW_HIDE);
    ::ReleaseCapture();
    CPoint screen = point;
    ClientToScreen(&screen);
    CWnd* beneath = WindowBeneath(screen);
    LRESULT hit = beneath->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    if (hit == HTCLIENT)
    {
        CPoint client = screen;
        beneath->ScreenToClient(&client);
        beneath->PostMessage(WM_MOUSEMOVE, flags, MAKELPARAM(client.x, client.y));
    }
    else
        beneath->PostMessage(WM_NCMOUSEMOVE, hit, MAKELPARAM(screen.x, screen.y));
}

void CLxListTip::PassClick(const MSG& msg)
{
    CPoint screen((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
    ClientToScreen(&screen);
    CWnd* beneath = WindowBeneath(screen);
    LRESULT hit = beneath->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    UINT message = msg.message;
    WPARAM wParam = msg.wParam;
    LPARAM lParam;
    if (hit == HTCLIENT)
    {
        CPoint client = screen;
        beneath->ScreenToClient(&client);
        lParam = MAKELPARAM(client.x, client.y);
    }
    else
    {
        for (const auto& twin : kButtonMessages)
            if (twin.client == message)
                message = twin.nonClient;
        wParam = hit;
        lParam = MAKELPARAM(screen.x, screen.y);
    }
    Hide();
    bool leftClick = message == WM_LBUTTONDOWN && beneath == m_pParent;
    m_passedClick = leftClick ? kClickPosted : kNoClick;
    m_passedTime = msg.time;
    m_passedPoint = screen;
    beneath->PostMessage(message, wParam, lParam);
}

bool CLxListTip::CompletesDoubleClick(DWORD time, CPoint screen)
{
    PassedClick passed = m_passedClick;
    // The posted click itself comes first: posted messages go before input.
    m_passedClick = passed == kClickPosted ? kClickReceived : kNoClick;
    if (passed != kClickReceived)
        return false;
    CSize distance = screen - m_passedPoint;
    return time - m_passedTime <= ::GetDoubleClickTime() &&
           abs(distance.cx) <= ::GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
           abs(distance.cy) <= ::GetSystemMetrics(SM_CYDOUBLECLK) / 2;
}

BOOL CLxListTip::PreTranslateMessage(MSG* msg)
{
    for (const auto& twin : kButtonMessages)
    {
        if (msg->message == twin.client && msg->hwnd == m_hWnd)
        {
            PassClick(*msg);
            return TRUE;
        }
    }
    if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN)
    {
        Hide();
        m_pParent->PostMessage(msg->message, msg->wParam, msg->lParam);
        return TRUE;
    }
    if (::GetFocus())
        return CWnd::PreTranslateMessage(msg);
    Hide();
    return TRUE;
}
