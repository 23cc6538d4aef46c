#include "toolkit/frames/TkWorkbook.h"
#include "toolkit/frames/TkControlBarWorksheet.h"
#include "toolkit/frames/TkWorksheet.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace
{
// Margins round the client with tabs: the sunken border, and the tabs below.
const int kMargin = 13;
const int kTabsMargin = 33;
// The border lies this far outside the client window.
const int kBorderOffset = 5;
const int kTabPoints = 7;
// Single line, centred both ways.
const UINT kLabelFormat = DT_SINGLELINE | DT_CENTER | DT_VCENTER;

// Whether tabs are shown, for the whole program.
BOOL s_tabsShown = FALSE;
}

TkWorkbookClient::TkWorkbookClient()
    : m_nLeftMargin(0), m_nTopMargin(0), m_nRightMargin(0), m_nBottomMargin(0)
{
}

BEGIN_MESSAGE_MAP(TkWorkbookClient, CWnd)
    ON_WM_WINDOWPOSCHANGING()
    ON_MESSAGE(WM_MDISETMENU, OnSetMenu)
    ON_MESSAGE(WM_TKWB_SETMENU, OnSetMenu)
END_MESSAGE_MAP()

void TkWorkbookClient::SetMargins(int left, int top, int right, int bottom)
{
    m_nLeftMargin = left;
    m_nTopMargin = top;
    m_nRightMargin = right;
    m_nBottomMargin = bottom;
}

void TkWorkbookClient::CalcWindowRect(CRect& rect) const
{
    rect.DeflateRect(m_nLeftMargin, m_nTopMargin, m_nRightMargin, m_nBottomMargin);
}

void TkWorkbookClient::OnWindowPosChanging(WINDOWPOS* position)
{
    if (!(position->flags & (SWP_NOMOVE | SWP_NOSIZE)))
    {
        CRect rect(position->x, position->y, position->x + position->cx, position->y + position->cy);
        CalcWindowRect(rect);
        position->x = rect.left;
        position->y = rect.top;
        position->cx = std::max(0, (int)rect.Width());
        position->cy = std::max(0, (int)rect.Height());
    }
    Default();
}

LRESULT TkWorkbookClient::OnSetMenu(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (wParam != (WPARAM)-1 && lParam != (LPARAM)-1)
        result = CWnd::DefWindowProc(WM_MDISETMENU, wParam, lParam);
    GetParent()->SendMessage(WM_TKWB_MENUCHANGED);
    return result;
}

IMPLEMENT_DYNAMIC(TkWorkbook, TkMDIFrameWnd)

BEGIN_MESSAGE_MAP(TkWorkbook, TkMDIFrameWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUpMessage)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMoveMessage)
    ON_MESSAGE(WM_TKWB_MENUCHANGED, OnMenuChanged)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

TkWorkbook::TkWorkbook()
    : m_bRepaintOnResize(FALSE), m_bShowTabs(FALSE), m_bShowIcons(TRUE), m_hTabFont(NULL), m_nTabPitch(100),
      m_rectLastLayout(0, 0, 0, 0), m_rectLastClient(0, 0, 0, 0), m_nActiveSheet(0),
      m_nTipTool(0)
{
    m_pFloatingMDIChildClass = RUNTIME_CLASS(TkControlBarWorksheet);
}

BOOL TkWorkbook::CreateClient(LPCREATESTRUCTA cs, CMenu* windowMenu)
{
    BOOL result = TkMDIFrameWnd::CreateClient(cs, windowMenu);
    if (!result)
        return result;
    m_pClient.reset(new TkWorkbookClient);
    if (m_pClient->SubclassWindow(m_hWndMDIClient))
    {
        m_hTabFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
        if (!m_hTabFont)
            m_hTabFont = (HFONT)::GetStockObject(ANSI_VAR_FONT);
        m_penHighlight.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
        m_penBlack.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        m_penShadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
        m_penFace.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE));
    }
    return result;
}

CMDIChildWnd* TkWorkbook::CreateFloatingMDIChild(DWORD style, CControlBar* bar)
{
    CMDIChildWnd* child = TkMDIFrameWnd::CreateFloatingMDIChild(style, bar);
    HICON icon = bar ? (HICON)bar->SendMessage(WM_GETICON, ICON_BIG) : NULL;
    if (icon && child && child->IsKindOf(RUNTIME_CLASS(TkControlBarWorksheet)))
        SetSheetIcon(static_cast<TkWorksheet*>(child), ::CopyIcon(icon), FALSE);
    return child;
}

void TkWorkbook::ShowTabs(BOOL show)
{
    m_bShowTabs = show;
    s_tabsShown = show;
    if (m_pClient)
    {
        if (show)
            m_pClient->SetMargins(kMargin, kMargin, kMargin, kTabsMargin);
        else
            m_pClient->SetMargins(0, 0, 0, 0);
    }
    RecalcLayout();
}

void TkWorkbook::ShowIcons(BOOL show)
{
    m_bShowIcons = show;
    InvalidateStrip();
}

CRect TkWorkbook::ClientWindowRect()
{
    CRect rect;
    ::GetWindowRect(m_hWndMDIClient, &rect);
    ScreenToClient(&rect);
    return rect;
}

void TkWorkbook::GetWorkbookRect(CRect& rect)
{
    rect = ClientWindowRect();
    if (m_pClient)
        rect.InflateRect(m_pClient->m_nLeftMargin, m_pClient->m_nTopMargin, m_pClient->m_nRightMargin,
                         m_pClient->m_nBottomMargin);
}

BOOL TkWorkbook::CanActivateSheet(TkWorksheet*)
{
    return TRUE;
}

BOOL TkWorkbook::RecomputeTabPitch()
{
    int count = GetSheetCount();
    if (count == 0)
        return FALSE;
    int pitch = std::min((ClientWindowRect().Width() + 5) / count, kMaxTabPitch);
    BOOL changed = pitch != m_nTabPitch;
    m_nTabPitch = pitch;
    return changed;
}

void TkWorkbook::AddSheet(TkWorksheet* sheet)
{
    sheet->m_nIndex = (int)m_sheets.Add(sheet);
    if (GetSheetCount() == 1 && !m_pToolTip)
    {
        // Tried again with the next first sheet when it cannot be made.
        m_pToolTip.reset(new CToolTipCtrl);
        if (m_pToolTip->Create(this))
            m_pToolTip->Activate(TRUE);
        else
        {
            m_pToolTip.reset();
        }
    }
    BOOL changed = RecomputeTabPitch();
    if (!m_bShowTabs)
        return;
    if (changed)
        InvalidateStrip();
    else if (GetSheetCount() == 1)
        Invalidate(TRUE);
    else
        InvalidateTab(sheet);
}

void TkWorkbook::RemoveSheet(TkWorksheet* sheet)
{
    int index = sheet->m_nIndex;
    if (index < 0 || index >= GetSheetCount() || GetSheet(index) != sheet)
        return;
    m_sheets.RemoveAt(index);
    for (int i = index; i < GetSheetCount(); i++)
        GetSheet(i)->m_nIndex = i;
    if (GetSheetCount() > 0 && RecomputeTabPitch())
    {
        if (m_bShowTabs)
            InvalidateStrip();
        return;
    }
    if (!m_bShowTabs)
        return;
    if (GetSheetCount() == 0)
        Invalidate(TRUE);
    else if (index < GetSheetCount())
        InvalidateTab(GetSheet(index), TRUE);
}

int TkWorkbook::HiddenBefore(int index) const
{
    int hidden = 0;
    for (int i = 0; i < index && i < GetSheetCount(); i++)
        if (!(GetSheet(i)->GetStyle() & WS_VISIBLE))
            hidden++;
    return hidden;
}

BOOL TkWorkbook::IsRaised(TkWorksheet* sheet)
{
    return sheet->m_bPressed || MDIGetActive() == sheet;
}

BOOL TkWorkbook::TabContains(TkWorksheet* sheet, CPoint point, RECT* box)
{
    POINT p[kTabPoints];
    int count;
    GetTabPolygon(sheet, p, count);
    CRgn region;
    region.CreatePolygonRgn(p, count, ALTERNATE);
    if (box)
        ::GetRgnBox((HRGN)region.m_hObject, box);
    return region.PtInRegion(point);
}

void TkWorkbook::GetTabPolygon(TkWorksheet* sheet, POINT* points, int& count)
{
    CRect client = ClientWindowRect();
    int a = IsRaised(sheet) ? 1 : 0;
    int x0 = (sheet->m_nIndex - HiddenBefore(sheet->m_nIndex)) * m_nTabPitch -
             (kActiveExtraWidth / 2) * a + client.left;
    int y0 = client.bottom + 1;
    points[0] = {x0, y0};
    points[1] = {x0, y0 + kTabHeight - kSlant};
    points[2] = {points[1].x + kSlant, points[1].y + kSlant + kActiveExtraHeight * a};
    points[3] = {points[2].x + m_nTabPitch - 2 * kSlant + kActiveExtraWidth * a, points[2].y};
    points[4] = {points[3].x + kSlant, points[1].y};
    points[5] = {points[4].x, y0};
    points[6] = points[0];
    count = kTabPoints;
}

CString TkWorkbook::GetSheetTitle(TkWorksheet* sheet)
{
    CDocument* doc = sheet->GetActiveDocument();
    if (doc)
        return doc->GetTitle();
    CString title;
    sheet->GetWindowText(title);
    return title;
}

void TkWorkbook::GetTabTextRect(const POINT* points, int iconWidth, CRect& rect)
{
    rect.SetRect(points[2].x + iconWidth + 3, points[0].y, points[4].x - 2, points[3].y);
}

BOOL TkWorkbook::TabTextFits(TkWorksheet* sheet)
{
    POINT points[kTabPoints];
    int count;
    GetTabPolygon(sheet, points, count);
    CRect rect;
    GetTabTextRect(points, kIconSize, rect);
    CClientDC dc(this);
    HGDIOBJ old = ::SelectObject(dc.m_hDC, m_hTabFont);
    int width = dc.GetTextExtent(GetSheetTitle(sheet)).cx;
    ::SelectObject(dc.m_hDC, old);
    return width <= rect.Width();
}

CString TkWorkbook::ShortenTitle(CDC* dc, CString title, int width)
{
    while (dc->GetTextExtent(title).cx > width && title.GetLength() >= 4)
        title = title.Left(title.GetLength() - 4) + "...";
    return title;
}

void TkWorkbook::DrawTab(CDC* dc, TkWorksheet* sheet)
{
    POINT p[kTabPoints];
    int count;
    GetTabPolygon(sheet, p, count);
    CBrush face(::GetSysColor(COLOR_BTNFACE));
    CBrush* oldBrush = dc->SelectObject(&face);
    CPen* oldPen = dc->SelectObject(&m_penFace);
    dc->Polygon(p, count);
    dc->SelectObject(&m_penShadow);
    dc->MoveTo(p[1].x + 1, p[1].y - 1);
    dc->LineTo(p[2].x, p[2].y - 2);
    dc->LineTo(p[3].x, p[3].y - 2);
    dc->LineTo(p[4].x - 2, p[4].y - 1);
    dc->LineTo(p[5].x - 2, p[5].y);
    dc->LineTo(p[5].x, p[5].y);
    dc->SelectObject(&m_penHighlight);
    dc->MoveTo(p[0].x, p[0].y + 1);
    dc->LineTo(p[1].x, p[1].y - 1);
    dc->SelectObject(&m_penBlack);
    dc->MoveTo(p[2].x + 1, p[2].y - 1);
    dc->LineTo(p[3].x, p[3].y - 1);
    dc->LineTo(p[4].x - 1, p[4].y - 1);
    dc->LineTo(p[5].x - 1, p[5].y);
    dc->SelectObject(oldPen);
    dc->SelectObject(oldBrush);
}

void TkWorkbook::DrawTabLabel(CDC* dc, TkWorksheet* sheet)
{
    POINT p[kTabPoints];
    int count;
    GetTabPolygon(sheet, p, count);
    int iconWidth = m_bShowIcons ? kIconSize : 0;
    HICON icon = GetSheetIcon(sheet);
    if (icon)
        ::DrawIconEx(dc->m_hDC, p[2].x + 1, p[0].y + 4, icon, kIconSize, kIconSize, 0, NULL, DI_NORMAL);
    CRect rect;
    GetTabTextRect(p, iconWidth, rect);
    HGDIOBJ old = ::SelectObject(dc->m_hDC, m_hTabFont);
    CString title = ShortenTitle(dc, GetSheetTitle(sheet), rect.Width());
    if (!title.IsEmpty())
        dc->DrawText(title, &rect, kLabelFormat);
    ::SelectObject(dc->m_hDC, old);
}

HICON TkWorkbook::GetSheetIcon(TkWorksheet* sheet)
{
    return m_bShowIcons ? sheet->m_hIcon : NULL;
}

BOOL TkWorkbook::SetSheetIcon(TkWorksheet* sheet, HICON icon, BOOL redraw)
{
    if (!sheet)
        return FALSE;
    // The sheet owns its icon.
    if (sheet->m_hIcon && sheet->m_hIcon != icon)
        ::DestroyIcon(sheet->m_hIcon);
    sheet->m_hIcon = icon;
    if (redraw)
        InvalidateTab(sheet);
    return TRUE;
}

void TkWorkbook::DrawWorkbookBorder(CDC* dc)
{
    CRect o = ClientWindowRect();
    o.InflateRect(kBorderOffset, kBorderOffset);
    CPen* oldPen = dc->SelectObject(&m_penShadow);
    dc->MoveTo(o.left + 1, o.bottom - 1);
    dc->LineTo(o.right - 1, o.bottom - 1);
    dc->LineTo(o.right - 1, o.top + 1);
    dc->SelectObject(&m_penHighlight);
    dc->MoveTo(o.right - 1, o.top);
    dc->LineTo(o.left, o.top);
    dc->LineTo(o.left, o.bottom);
    dc->SelectObject(&m_penBlack);
    dc->LineTo(o.right, o.bottom);
    dc->LineTo(o.right, o.top);
    CRect workbook;
    GetWorkbookRect(workbook);
    dc->SelectObject(&m_penShadow);
    dc->MoveTo(workbook.left, workbook.top);
    dc->LineTo(workbook.right, workbook.top);
    dc->SelectObject(&m_penHighlight);
    dc->MoveTo(workbook.left, workbook.top + 1);
    dc->LineTo(workbook.right, workbook.top + 1);
    dc->SelectObject(oldPen);
}

void TkWorkbook::InvalidateTab(TkWorksheet* sheet, BOOL toEnd)
{
    if (!m_hWnd || !m_hWndMDIClient)
        return;
    CRect client = ClientWindowRect();
    int x = (sheet->m_nIndex - HiddenBefore(sheet->m_nIndex)) * m_nTabPitch + client.left - 2;
    CRect frame;
    GetClientRect(&frame);
    CRect rect(x, client.bottom + 4, toEnd ? frame.right : x + m_nTabPitch + 4, client.bottom + 4 + kTabHeight + 4);
    InvalidateRect(&rect, TRUE);
}

void TkWorkbook::InvalidateStrip()
{
    if (!m_hWnd || !m_hWndMDIClient)
        return;
    CRect client = ClientWindowRect();
    CRect frame;
    GetClientRect(&frame);
    CRect rect(frame.left, client.bottom + 4, frame.right, client.bottom + 4 + kTabHeight + 4);
    InvalidateRect(&rect, TRUE);
}

void TkWorkbook::RecalcLayout(BOOL notify)
{
    TkMDIFrameWnd::RecalcLayout(notify);
    if (m_bShowTabs && GetLayoutRect() != m_rectLastLayout)
    {
        RecomputeTabPitch();
        Invalidate(TRUE);
        m_rectLastLayout = GetLayoutRect();
    }
}

void TkWorkbook::OnPaint()
{
    CPaintDC dc(this);
    CRect client = ClientWindowRect();
    if (!m_bShowTabs || client.IsRectEmpty())
        return;
    dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < GetSheetCount(); i++)
    {
        TkWorksheet* sheet = GetSheet(i);
        if (!(sheet->GetStyle() & WS_VISIBLE))
            continue;
        DrawTab(&dc, sheet);
        DrawTabLabel(&dc, sheet);
    }
    DrawWorkbookBorder(&dc);
    CWnd* active = MDIGetActive();
    if (active && active->IsKindOf(RUNTIME_CLASS(TkWorksheet)) && (active->GetStyle() & WS_VISIBLE))
    {
        DrawTab(&dc, static_cast<TkWorksheet*>(active));
        DrawTabLabel(&dc, static_cast<TkWorksheet*>(active));
    }
    if (m_bRepaintOnResize && client != m_rectLastClient)
    {
        m_rectLastClient = client;
        Invalidate(FALSE);
    }
}

BOOL TkWorkbook::OnEraseBkgnd(CDC* dc)
{
    CRect left;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &left);
    if (left.IsRectEmpty())
        return TRUE;
    dc->ExcludeClipRect(ClientWindowRect());
    CRect area = left;
    if (m_bShowTabs)
    {
        GetWorkbookRect(area);
        Invalidate(FALSE);
    }
    dc->FillSolidRect(&area, ::GetSysColor(COLOR_BTNFACE));
    DrawInnerEdges(dc, left);
    return TRUE;
}

// Where the bars' area ends inside the frame (a status bar below, a bar at
// the right), it gets a raised edge: highlight one pixel inside, shadow two.
void TkWorkbook::DrawInnerEdges(CDC* dc, const CRect& area)
{
    CRect client;
    GetClientRect(&client);
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (area.bottom != client.bottom)
    {
        dc->FillSolidRect(area.left, area.bottom - 1, area.Width(), 1, highlight);
        dc->FillSolidRect(area.left, area.bottom - 2, area.Width(), 1, shadow);
    }
    if (area.right != client.right)
    {
        dc->FillSolidRect(area.right - 1, area.top, 1, area.Height(), highlight);
        dc->FillSolidRect(area.right - 2, area.top, 1, area.Height(), shadow);
    }
}

void TkWorkbook::OnLButtonDown(UINT, CPoint point)
{
    if (m_bShowTabs)
    {
        CWnd* active = MDIGetActive();
        for (int i = 0; i < GetSheetCount(); i++)
        {
            TkWorksheet* sheet = GetSheet(i);
            if (sheet == active || !(sheet->GetStyle() & WS_VISIBLE) || !CanActivateSheet(sheet) ||
                !TabContains(sheet, point))
                continue;
            sheet->m_bPressed = TRUE;
            UpdateWindow();
            sheet->SendMessage(WM_MOUSEACTIVATE, (WPARAM)m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
            break;
        }
    }
    Default();
}

INT_PTR TkWorkbook::OnToolHitTest(CPoint point, TOOLINFOA* info)
{
    for (int i = 0; i < GetSheetCount(); i++)
    {
        TkWorksheet* sheet = GetSheet(i);
        RECT tab;
        if (!(sheet->GetStyle() & WS_VISIBLE) || !TabContains(sheet, point, &tab))
            continue;
        if (TabTextFits(sheet))
            return -1;
        if (info)
        {
            CString title = GetSheetTitle(sheet);
            info->hwnd = m_hWnd;
            info->uId = i + 1;
            info->rect = tab;
            info->lpszText = (LPSTR)malloc(title.GetLength() + 1);
            if (info->lpszText)
                memcpy(info->lpszText, (LPCSTR)title, title.GetLength() + 1);
        }
        return i + 1;
    }
    return -1;
}

void TkWorkbook::RelayToolTip(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_pToolTip || !m_pToolTip->m_hWnd)
        return;
    TOOLINFOA info = {sizeof info};
    INT_PTR tool = OnToolHitTest(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)), &info);
    if (tool != m_nTipTool)
    {
        if (m_nTipTool > 0)
            m_pToolTip->DelTool(this, m_nTipTool);
        m_nTipTool = tool > 0 ? tool : 0;
        if (m_nTipTool)
            m_pToolTip->AddTool(this, info.lpszText, &info.rect, m_nTipTool);
    }
    free(info.lpszText);
    MSG msg = {m_hWnd, message, wParam, lParam};
    m_pToolTip->RelayEvent(&msg);
}

LRESULT TkWorkbook::OnMouseMoveMessage(WPARAM wParam, LPARAM lParam)
{
    if (m_bShowTabs)
        RelayToolTip(WM_MOUSEMOVE, wParam, lParam);
    return OnFilteredNcMessage(wParam, lParam);
}

LRESULT TkWorkbook::OnLButtonUpMessage(WPARAM wParam, LPARAM lParam)
{
    if (m_bShowTabs)
        for (int i = 0; i < GetSheetCount(); i++)
            GetSheet(i)->m_bPressed = FALSE;
    return OnFilteredNcMessage(wParam, lParam);
}

LRESULT TkWorkbook::OnMenuChanged(WPARAM, LPARAM)
{
    if (m_nActiveSheet < GetSheetCount())
        InvalidateTab(GetSheet(m_nActiveSheet));
    CWnd* active = MDIGetActive();
    TkWorksheet* sheet = active && active->IsKindOf(RUNTIME_CLASS(TkWorksheet))
                             ? static_cast<TkWorksheet*>(active)
                             : NULL;
    if (sheet)
        InvalidateTab(sheet);
    m_nActiveSheet = GetSheetCount() == 0 ? 0 : sheet ? sheet->m_nIndex : GetSheetCount();
    if (active && !active->IsZoomed())
        UpdateWindow();
    return 0;
}

void TkWorkbook::OnDestroy()
{
    TkMDIFrameWnd::OnDestroy();
    if (m_pClient && m_pClient->m_hWnd)
        m_pClient->UnsubclassWindow();
}
