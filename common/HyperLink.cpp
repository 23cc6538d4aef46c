#include "common/HyperLink.h"

#include <shellapi.h>

namespace {

const COLORREF kLinkColour = RGB(0, 0, 238);
const COLORREF kVisitedColour = RGB(85, 26, 139);
const UINT_PTR kToolId = 1;
const WORD kHelpLinkCursor = 106;

const struct
{
    int result;
    const char* text;
} kResultTexts[] = {
    {0, "The operating system is out\nof memory or resources."},
    {2, "The specified file was not found."},
    {3, "The specified path was not found."},
    {5, "The operating system denied\naccess to the specified file."},
    {8, "There was not enough memory to complete the operation."},
    {11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, "A sharing violation occurred. "},
    {27, "The filename association is\nincomplete or invalid."},
    {28, "The DDE transaction could not\nbe completed because the request timed out."},
    {29, "The DDE transaction failed."},
    {30, "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed."},
    {31, "There is no application associated\nwith the given filename extension."},
    {32, "The specified dynamic-link library was not found."},
};

// The default value of a key under HKEY_CLASSES_ROOT; false when unreadable.
bool ReadClassValue(const CString& subKey, CString& value)
{
    char data[MAX_PATH * 2] = "";
    LONG size = sizeof(data);
    if (RegQueryValueA(HKEY_CLASSES_ROOT, subKey, data, &size) != ERROR_SUCCESS)
        return false;
    value = data;
    return true;
}

// The command before its "%1" placeholder (and before the quotation mark that
// opens it), then the URL.
CString BrowserCommand(CString command, LPCSTR url)
{
    int placeholder = command.Find("%1");
    if (placeholder >= 0) {
        if (placeholder > 0 && command[placeholder - 1] == '"')
            --placeholder;
        command = command.Left(placeholder);
    }
    return command + " " + url;
}

} // namespace

BEGIN_MESSAGE_MAP(CHyperLink, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_CONTROL_REFLECT(STN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CHyperLink::CHyperLink()
    : m_linkColour(kLinkColour), m_visitedColour(kVisitedColour), m_hoverColour(GetSysColor(COLOR_HIGHLIGHT)),
      m_overControl(FALSE), m_visited(FALSE), m_underline(TRUE), m_adjustToFit(TRUE), m_linkCursor(nullptr),
      m_ownCursor(nullptr)
{
}

CHyperLink::~CHyperLink()
{
    if (m_ownCursor)
        DestroyCursor(m_ownCursor);
}

void CHyperLink::SetURL(LPCSTR url)
{
    m_url = url;
    if (m_toolTip.m_hWnd)
        m_toolTip.UpdateTipText(m_url, this, kToolId);
    if (m_hWnd)
        PositionWindow();
}

void CHyperLink::SetColours(COLORREF link, COLORREF visited, COLORREF hover)
{
    m_linkColour = link;
    m_visitedColour = visited;
    m_hoverColour = hover == COLORREF(-1) ? GetSysColor(COLOR_HIGHLIGHT) : hover;
    if (m_hWnd)
        Invalidate();
}

void CHyperLink::SetVisited(BOOL visited)
{
    m_visited = visited;
    if (m_hWnd)
        Invalidate();
}

void CHyperLink::SetUnderline(BOOL underline)
{
    m_underline = underline;
    if (m_hWnd) {
        MakeFont();
        Invalidate();
    }
}

void CHyperLink::SetAutoSize(BOOL autoSize)
{
    m_adjustToFit = autoSize;
    if (m_hWnd)
        PositionWindow();
}

BOOL CHyperLink::PreTranslateMessage(MSG* msg)
{
    if (m_toolTip.m_hWnd)
        m_toolTip.RelayEvent(msg);
    return CStatic::PreTranslateMessage(msg);
}

void CHyperLink::PreSubclassWindow()
{
    // Without SS_NOTIFY a static sends no clicks.
    ::SetWindowLongA(m_hWnd, GWL_STYLE, GetStyle() | SS_NOTIFY);
    CString text;
    GetWindowText(text);
    if (m_url.IsEmpty())
        m_url = text;
    if (text.IsEmpty())
        SetWindowText(m_url);
    MakeFont();
    PositionWindow();
    if (!m_linkCursor)
        SetDefaultCursor();
    CRect client;
    GetClientRect(&client);
    m_toolTip.Create(this);
    m_toolTip.AddTool(this, m_url, &client, kToolId);
    CStatic::PreSubclassWindow();
}

void CHyperLink::MakeFont()
{
    LOGFONTA logFont = {};
    HFONT current = HFONT(SendMessage(WM_GETFONT));
    GetObjectA(current ? HGDIOBJ(current) : GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    logFont.lfUnderline = BYTE(m_underline);
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&logFont);
    SetFont(&m_font);
}

// The control shrinks or grows to its text, keeping the edge (or the centre)
// its alignment fixes.
void CHyperLink::PositionWindow()
{
    if (!m_hWnd || !m_adjustToFit)
        return;
    CRect window;
    GetWindowRect(&window);
    CWnd* parent = GetParent();
    if (parent)
        parent->ScreenToClient(&window);
    CString text;
    GetWindowText(text);
    HDC dc = ::GetDC(m_hWnd);
    HGDIOBJ old = SelectObject(dc, m_font.GetSafeHandle());
    SIZE extent = {};
    GetTextExtentPoint32A(dc, text, text.GetLength(), &extent);
    SelectObject(dc, old);
    ::ReleaseDC(m_hWnd, dc);

    DWORD style = GetStyle();
    int top = window.top;
    if (style & SS_CENTERIMAGE)
        top = window.top + (window.Height() - extent.cy) / 2;
    int left = window.left;
    switch (style & SS_TYPEMASK) {
    case SS_RIGHT:
        left = window.right - extent.cx;
        break;
    case SS_CENTER:
        left = window.left + (window.Width() - extent.cx) / 2;
        break;
    }
    SetWindowPos(nullptr, left, top, extent.cx, extent.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_toolTip.m_hWnd) {
        CRect client(0, 0, extent.cx, extent.cy);
        m_toolTip.SetToolRect(this, kToolId, &client);
    }
}

// The help viewer's hand; none where it is missing.
void CHyperLink::SetDefaultCursor()
{
    char path[MAX_PATH];
    UINT length = GetWindowsDirectoryA(path, MAX_PATH);
    if (!length || length >= MAX_PATH)
        return;
    CString file = CString(path) + "\\winhlp32.exe";
    HMODULE module = LoadLibraryExA(file, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return;
    HCURSOR cursor = LoadCursorA(module, MAKEINTRESOURCEA(kHelpLinkCursor));
    if (cursor)
        m_ownCursor = m_linkCursor = CopyCursor(cursor);
    FreeLibrary(module);
}

HBRUSH CHyperLink::CtlColor(CDC* dc, UINT)
{
    if (m_overControl)
        dc->SetTextColor(m_hoverColour);
    else
        dc->SetTextColor(m_visited ? m_visitedColour : m_linkColour);
    dc->SetBkMode(TRANSPARENT);
    return HBRUSH(GetStockObject(NULL_BRUSH));
}

void CHyperLink::OnMouseMove(UINT, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (!m_overControl) {
        m_overControl = TRUE;
        Invalidate();
        SetCapture();
    } else if (!client.PtInRect(point)) {
        m_overControl = FALSE;
        ReleaseCapture();
        RedrawWindow();
    }
}

BOOL CHyperLink::OnSetCursor(CWnd*, UINT, UINT)
{
    if (!m_linkCursor)
        return FALSE;
    ::SetCursor(m_linkCursor);
    return TRUE;
}

void CHyperLink::OnClicked()
{
    int result = int(INT_PTR(GotoURL(m_url, SW_SHOWNORMAL)));
    if (result <= 32) {
        ReportError(result);
        return;
    }
    SetVisited();
}

void CHyperLink::ReportError(int result)
{
    MessageBeep(MB_ICONEXCLAMATION);
    AfxMessageBox("Unable to open hyperlink:\n\n" + ResultText(result), MB_ICONEXCLAMATION | MB_OK);
}

CString CHyperLink::ResultText(int result)
{
    for (const auto& entry : kResultTexts)
        if (entry.result == result)
            return entry.text;
    CString text;
    text.Format("Unknown Error (%d) occurred.", result);
    return text;
}

HINSTANCE CHyperLink::GotoURL(LPCSTR url, int showCommand)
{
    HINSTANCE result = ShellExecuteA(nullptr, "open", url, nullptr, nullptr, showCommand);
    if (INT_PTR(result) > 32)
        return result;
    CString htmlClass, command;
    if (!ReadClassValue(".htm", htmlClass) || !ReadClassValue(htmlClass + "\\shell\\open\\command", command))
        return result;
    return HINSTANCE(INT_PTR(WinExec(BrowserCommand(command, url), showCommand)));
}
