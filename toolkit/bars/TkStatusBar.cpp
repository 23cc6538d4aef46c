#include "toolkit/bars/TkStatusBar.h"
#include "toolkit/colors/TkSysColors.h"

namespace
{
// Each pane's text keeps this much room for the pane's own edges.
const int kPaneBorder = 6;
// The pane still has to send its text to the control.
const UINT kPanePending = 0x0001;
// The border bits of the bar style.
const DWORD kBorderBits = 0x0F00;
// Window styles of the control inside a bar: the bar places it.
const DWORD kControlPlacement = CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NORESIZE | CCS_NODIVIDER;
const char kStatusClass[] = "msctls_statusbar32";

// Horizontal border, vertical border and the gap between panes.
struct Borders
{
    int horizontal;
    int vertical;
    int gap;
};

Borders ControlBorders(HWND control)
{
    int values[3] = {0, 0, 0};
    ::SendMessageA(control, SB_GETBORDERS, 0, (LPARAM)values);
    return Borders{values[0], values[1], values[2]};
}
}

IMPLEMENT_DYNAMIC(TkStatusBar, TkControlBar)

BEGIN_MESSAGE_MAP(TkStatusBar, TkControlBar)
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
    ON_WM_NCPAINT()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_MESSAGE(WM_WINDOWPOSCHANGING, OnWindowPosChanging)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_GETTEXT, OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, OnGetTextLength)
    ON_MESSAGE(SB_SETMINHEIGHT, OnSetMinHeight)
END_MESSAGE_MAP()

TkStatusBar::TkStatusBar() : m_nMinHeight(0)
{
    if (tkSysColors.m_bWin4)
        SetBorders(0, 2, 0, 0);
    else
        SetBorders(2, 2, 2, 1);
}

BOOL TkStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    return CreateEx(parent, 0, style, id);
}

BOOL TkStatusBar::CreateEx(CWnd* parent, DWORD controlStyle, DWORD style, UINT id)
{
    // The bar style keeps its own bits; the control's share them (SBARS_SIZEGRIP).
    m_dwStyle = style & CBRS_ALL;
    DWORD windowStyle = (style & ~CBRS_ALL) | kControlPlacement | controlStyle;
    if (parent && (parent->GetStyle() & WS_THICKFRAME))
        windowStyle |= SBARS_SIZEGRIP;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    if (!::InitCommonControlsEx(&controls))
        return FALSE;
    return CWnd::CreateEx(0, kStatusClass, NULL, windowStyle, 0, 0, 0, 0,
                          parent ? parent->m_hWnd : NULL, (HMENU)(UINT_PTR)id);
}

BOOL TkStatusBar::PreCreateWindow(CREATESTRUCTA& cs)
{
    // A bottom bar with a top border looks right without any on Windows 4.
    if (tkSysColors.m_bWin4 && (m_dwStyle & 0xFF00) == (CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP))
        m_dwStyle &= ~(kBorderBits | CBRS_BORDER_3D);
    return TkControlBar::PreCreateWindow(cs);
}

const TkStatusPane* TkStatusBar::Pane(int index) const
{
    return index >= 0 && index < (int)m_panes.size() ? &m_panes[index] : NULL;
}

TkStatusPane* TkStatusBar::Pane(int index)
{
    return index >= 0 && index < (int)m_panes.size() ? &m_panes[index] : NULL;
}

HFONT TkStatusBar::BarFont() const
{
    return m_hWnd ? (HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0) : NULL;
}

BOOL TkStatusBar::SetIndicators(const UINT* ids, int count)
{
    if (count < 0)
        return FALSE;
    m_panes.assign(count, TkStatusPane{0, 0, SBPS_NORMAL, 0, CString()});
    if (ids)
    {
        CClientDC screen(NULL);
        HFONT font = BarFont();
        HGDIOBJ oldFont = font ? ::SelectObject(screen.m_hDC, font) : NULL;
        BOOL ok = TRUE;
        for (int index = 0; index < count && ok; index++)
        {
            TkStatusPane& pane = m_panes[index];
            pane.nFlags |= kPanePending;
            pane.nID = ids[index];
            if (pane.nID)
            {
                CString text;
                text.LoadString(pane.nID);
                pane.cxText = screen.GetTextExtent(text, text.GetLength()).cx;
                ok = SetPaneText(index, text, FALSE);
            }
            else
            {
                pane.cxText = ::GetSystemMetrics(SM_CXSCREEN) / 4;
                if (index == 0)
                    pane.nStyle |= SBPS_NOBORDERS | SBPS_STRETCH;
            }
        }
        if (oldFont)
            ::SelectObject(screen.m_hDC, oldFont);
        if (!ok)
            return FALSE;
    }
    UpdateAllPanes(TRUE, TRUE);
    return TRUE;
}

int TkStatusBar::CommandToIndex(UINT id) const
{
    for (size_t index = 0; index < m_panes.size(); index++)
    {
        if (m_panes[index].nID == id)
            return (int)index;
    }
    return -1;
}

UINT TkStatusBar::GetItemID(int index) const
{
    const TkStatusPane* pane = Pane(index);
    return pane ? pane->nID : 0;
}

CString TkStatusBar::GetPaneText(int index) const
{
    const TkStatusPane* pane = Pane(index);
    return pane ? pane->strText : CString();
}

BOOL TkStatusBar::SetPaneText(int index, LPCSTR text, BOOL update)
{
    TkStatusPane* pane = Pane(index);
    if (!pane)
        return FALSE;
    CString newText = text ? text : "";
    if (!(pane->nFlags & kPanePending) && pane->strText == newText)
        return TRUE;
    pane->strText = newText;
    if (!update)
    {
        pane->nFlags |= kPanePending;
        return TRUE;
    }
    pane->nFlags &= ~kPanePending;
    if (m_hWnd)
    {
        LPCSTR shown = (pane->nStyle & SBPS_DISABLED) ? NULL : (LPCSTR)pane->strText;
        ::SendMessageA(m_hWnd, SB_SETTEXT, LOWORD(pane->nStyle) | index, (LPARAM)shown);
    }
    return TRUE;
}

UINT TkStatusBar::GetPaneStyle(int index) const
{
    const TkStatusPane* pane = Pane(index);
    return pane ? pane->nStyle : 0;
}

void TkStatusBar::SetPaneStyle(int index, UINT style)
{
    TkStatusPane* pane = Pane(index);
    if (!pane || pane->nStyle == style)
        return;
    if ((pane->nStyle ^ style) & SBPS_STRETCH)
    {
        pane->nStyle = style;
        UpdateAllPanes(TRUE, FALSE);
    }
    pane->nFlags |= kPanePending;
    pane->nStyle = style;
    CString text = pane->strText;
    SetPaneText(index, text, TRUE);
}

void TkStatusBar::GetPaneInfo(int index, UINT& id, UINT& style, int& width) const
{
    const TkStatusPane* pane = Pane(index);
    id = pane ? pane->nID : 0;
    style = pane ? pane->nStyle : 0;
    width = pane ? pane->cxText : 0;
}

void TkStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width)
{
    TkStatusPane* pane = Pane(index);
    if (!pane)
        return;
    pane->nID = id;
    BOOL layout = FALSE;
    if (style != pane->nStyle)
    {
        if ((style ^ pane->nStyle) & SBPS_STRETCH)
            layout = TRUE;
        else
        {
            pane->nFlags |= kPanePending;
            pane->nStyle = style;
            CString text = pane->strText;
            SetPaneText(index, text, TRUE);
        }
        pane->nStyle = style;
    }
    if (width != pane->cxText)
    {
        pane->cxText = width;
        layout = TRUE;
    }
    if (layout)
        UpdateAllPanes(TRUE, FALSE);
}

void TkStatusBar::UpdateAllPanes(BOOL updateRects, BOOL updateText)
{
    if (!m_hWnd)
        return;
    if (updateRects && !m_panes.empty())
    {
        CRect inside;
        GetWindowRect(&inside);
        inside.OffsetRect(-inside.left, -inside.top);
        CalcInsideRect(inside, TRUE);
        Borders borders = ControlBorders(m_hWnd);
        int extra = inside.Width() + borders.gap;
        int stretching = 0;
        for (const TkStatusPane& pane : m_panes)
        {
            extra -= pane.cxText + kPaneBorder + borders.gap;
            stretching += (pane.nStyle & SBPS_STRETCH) != 0;
        }
        std::vector<int> edges;
        int right = borders.horizontal;
        for (const TkStatusPane& pane : m_panes)
        {
            right += pane.cxText + kPaneBorder;
            if ((pane.nStyle & SBPS_STRETCH) && stretching > 0)
            {
                if (extra > 0)
                {
                    int share = extra / stretching;
                    right += share;
                    extra -= share;
                }
                stretching--;
            }
            edges.push_back(right);
            right += borders.gap;
        }
        ::SendMessageA(m_hWnd, SB_SETPARTS, edges.size(), (LPARAM)edges.data());
    }
    if (updateText)
    {
        for (size_t index = 0; index < m_panes.size(); index++)
        {
            if (m_panes[index].nFlags & kPanePending)
            {
                CString text = m_panes[index].strText;
                SetPaneText((int)index, text, TRUE);
            }
        }
    }
}

void TkStatusBar::CalcInsideRect(CRect& rect, BOOL horizontal) const
{
    TkControlBar::CalcInsideRect(rect, horizontal);
    // Keep the size grip free while the frame can be sized.
    HWND parent = ::GetParent(m_hWnd);
    if ((GetStyle() & SBARS_SIZEGRIP) && !::IsZoomed(parent))
        rect.right -= 2 * tkSysColors.m_cxBorder + ControlBorders(m_hWnd).horizontal +
                      ::GetSystemMetrics(SM_CXVSCROLL);
}

CSize TkStatusBar::CalcFixedLayout(BOOL, BOOL horizontal)
{
    if (!horizontal)
        return CSize(0, 0);
    CClientDC screen(NULL);
    HFONT font = BarFont();
    HGDIOBJ oldFont = font ? ::SelectObject(screen.m_hDC, font) : NULL;
    TEXTMETRICA metrics = {};
    ::GetTextMetricsA(screen.m_hDC, &metrics);
    if (oldFont)
        ::SelectObject(screen.m_hDC, oldFont);
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, TRUE);
    Borders borders = ControlBorders(m_hWnd);
    int height = 2 * (tkSysColors.m_cyBorder + borders.vertical) - inside.Height() -
                 metrics.tmInternalLeading + metrics.tmHeight - 1;
    return CSize(32767, height > m_nMinHeight ? height : m_nMinHeight);
}

void TkStatusBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler)
{
    TkStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)m_panes.size();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++)
    {
        state.m_nID = m_panes[state.m_nIndex].nID;
        // The bar's own handlers come first, then the frame's route.
        if (CWnd::OnCmdMsg(state.m_nID, CN_UPDATE_COMMAND_UI, &state, NULL))
            continue;
        state.DoUpdate(target, disableIfNoHandler);
    }
}

void TkStatusBar::DrawItem(LPDRAWITEMSTRUCT)
{
}

BOOL TkStatusBar::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_DRAWITEM)
        return TkControlBar::OnChildNotify(message, wParam, lParam, result);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    return TRUE;
}

LRESULT TkStatusBar::OnNcHitTest(WPARAM, LPARAM)
{
    return Default() == HTBOTTOMRIGHT ? HTBOTTOMRIGHT : HTCLIENT;
}

LRESULT TkStatusBar::OnNcCalcSize(WPARAM, LPARAM lParam)
{
    LRESULT result = Default();
    CRect margins(0, 0, 0, 0);
    TkControlBar::CalcInsideRect(margins, TRUE);
    RECT& client = ((NCCALCSIZE_PARAMS*)lParam)->rgrc[0];
    client.left += margins.left;
    client.top += margins.top - 2;
    client.right += margins.right;
    client.bottom += margins.bottom;
    return result;
}

void TkStatusBar::OnNcPaint()
{
    CWindowDC dc(this);
    CRect window;
    GetWindowRect(&window);
    CRect client;
    GetClientRect(&client);
    ClientToScreen(&client);
    client.OffsetRect(-window.left, -window.top);
    window.OffsetRect(-window.left, -window.top);
    dc.ExcludeClipRect(&client);
    DrawBorders(&dc, window);
    SendMessage(WM_ERASEBKGND, (WPARAM)dc.m_hDC);
}

void TkStatusBar::OnPaint()
{
    UpdateAllPanes(FALSE, TRUE);
    Default();
}

void TkStatusBar::OnSize(UINT type, int cx, int cy)
{
    TkControlBar::OnSize(type, cx, cy);
    UpdateAllPanes(TRUE, FALSE);
}

LRESULT TkStatusBar::OnWindowPosChanging(WPARAM, LPARAM)
{
    DWORD style = m_dwStyle;
    m_dwStyle &= ~kBorderBits;
    LRESULT result = Default();
    m_dwStyle = style;
    return result;
}

// The bar's text is the message pane's.
LRESULT TkStatusBar::OnSetText(WPARAM, LPARAM lParam)
{
    int index = CommandToIndex(0);
    return index >= 0 && SetPaneText(index, (LPCSTR)lParam, TRUE);
}

LRESULT TkStatusBar::OnGetText(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 0 || !lParam)
        return 0;
    int index = CommandToIndex(0);
    CString text = index >= 0 ? m_panes[index].strText : CString();
    int count = text.GetLength() < (int)wParam - 1 ? text.GetLength() : (int)wParam - 1;
    memcpy((char*)lParam, (LPCSTR)text, count);
    ((char*)lParam)[count] = 0;
    return count;
}

LRESULT TkStatusBar::OnGetTextLength(WPARAM, LPARAM)
{
    int index = CommandToIndex(0);
    return index >= 0 ? m_panes[index].strText.GetLength() : 0;
}

LRESULT TkStatusBar::OnSetMinHeight(WPARAM wParam, LPARAM)
{
    m_nMinHeight = (int)wParam;
    return Default();
}

void TkStatusCmdUI::Enable(BOOL on)
{
    TkStatusBar* bar = static_cast<TkStatusBar*>(m_pOther);
    UINT style = bar->GetPaneStyle(m_nIndex) & ~SBPS_DISABLED;
    bar->SetPaneStyle(m_nIndex, on ? style : style | SBPS_DISABLED);
    m_bEnableChanged = TRUE;
}

void TkStatusCmdUI::SetCheck(int check)
{
    TkStatusBar* bar = static_cast<TkStatusBar*>(m_pOther);
    UINT style = bar->GetPaneStyle(m_nIndex) & ~SBPS_POPOUT;
    bar->SetPaneStyle(m_nIndex, check ? style | SBPS_POPOUT : style);
}

void TkStatusCmdUI::SetText(LPCSTR text)
{
    static_cast<TkStatusBar*>(m_pOther)->SetPaneText(m_nIndex, text, TRUE);
}
