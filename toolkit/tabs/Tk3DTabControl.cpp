#include "toolkit/tabs/Tk3DTabControl.h"

namespace
{
const char kEllipsis[] = "...";
// Room of each tab's edges, of an icon, and the margin a strip keeps.
const int kTabEdges = 6;
const int kIconRoom = 19;
const int kIconSize = 16;
const int kStripMargin = 12;
// How far the active tab grows at both ends and outward.
const int kActiveGrowth = 3;
const int kFontHeight = 15;
const int kNormalWeight = 400;
const int kActiveWeight = 600;
const char kFontFace[] = "Arial Narrow";

// One line of the tab's outline: from the first point through the others.
void Polyline(CDC* dc, CPen* pen, std::initializer_list<POINT> points)
{
    CPen* old = dc->SelectObject(pen);
    const POINT* point = points.begin();
    dc->MoveTo(*point);
    for (++point; point != points.end(); ++point)
        dc->LineTo(*point);
    dc->SelectObject(old);
}
}

IMPLEMENT_DYNCREATE(Tk3DTab, TkTab)

Tk3DTab::Tk3DTab() : m_hIcon(NULL), m_bEnabled(TRUE), m_bTruncated(FALSE)
{
    ::SetRectEmpty(&m_rect);
    m_nWidth = 90;
    m_nHeight = 0;
}

IMPLEMENT_DYNAMIC(Tk3DTabControl, TkTabControlBase)

BEGIN_MESSAGE_MAP(Tk3DTabControl, TkTabControlBase)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

Tk3DTabControl::Tk3DTabControl()
    : m_bAutoFit(TRUE), m_nTabHeight(22), m_nTabWidth(22), m_nHorzOffset(7), m_nVertOffset(7),
      m_bShowLabels(TRUE), m_bShorten(TRUE)
{
}

Tk3DTabControl::~Tk3DTabControl()
{
    DestroyGdiObjects();
}

void Tk3DTabControl::Initialize(DWORD style)
{
    DestroyGdiObjects();
    CreateFonts(style);
    m_penBlack.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    m_penBlack2.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    m_penShadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    m_penHilite.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    m_brushFace.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    m_brushWindow.CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
}

int Tk3DTabControl::Escapement(DWORD style)
{
    if (style & TKTS_RIGHT)
        return 900;
    return (style & TKTS_LEFT) ? -900 : 0;
}

void Tk3DTabControl::ReplaceFont(CFont& font, const LOGFONTA& description)
{
    font.DeleteObject();
    font.CreateFontIndirect(&description);
}

void Tk3DTabControl::CreateFonts(DWORD style)
{
    LOGFONTA description = {};
    description.lfHeight = kFontHeight;
    description.lfEscapement = description.lfOrientation = Escapement(style);
    description.lfPitchAndFamily = FF_SWISS;
    lstrcpynA(description.lfFaceName, kFontFace, LF_FACESIZE);
    description.lfWeight = kNormalWeight;
    ReplaceFont(m_fontNormal, description);
    description.lfWeight = kActiveWeight;
    ReplaceFont(m_fontActive, description);
}

TkTab* Tk3DTabControl::CreateNewTab()
{
    return new Tk3DTab;
}

Tk3DTab* Tk3DTabControl::Get3DTab(int index) const
{
    return static_cast<Tk3DTab*>(GetTab(index));
}

BOOL Tk3DTabControl::IsHorizontal() const
{
    return !(GetStyle() & (TKTS_LEFT | TKTS_RIGHT));
}

int Tk3DTabControl::LabelWidth(const CString& label)
{
    CClientDC dc(this);
    CFont* old = dc.SelectObject(&m_fontActive);
    int width = dc.GetTextExtent(label).cx;
    dc.SelectObject(old);
    return width;
}

int Tk3DTabControl::MeasureTabs(BOOL fullLabels, int* iconRoom)
{
    int length = 0;
    int room = 0;
    for (int index = 0; index < GetTabCount(); index++)
    {
        Tk3DTab* tab = Get3DTab(index);
        length += kTabEdges + (tab->m_hIcon ? kIconRoom : 0) +
                  LabelWidth(fullLabels ? tab->m_strFullLabel : tab->m_strLabel) + kTabEdges;
        room += kIconRoom;
    }
    if (iconRoom)
        *iconRoom = room;
    return length;
}

void Tk3DTabControl::RecalcLayout()
{
    if (!m_hWnd || !m_pTabs)
        return;
    CRect client;
    GetClientRect(&client);
    DWORD style = GetStyle();
    BOOL horizontal = IsHorizontal();
    int iconRoom = 0;
    int fullLength = MeasureTabs(TRUE, &iconRoom);
    int available = horizontal ? client.Width() : client.Height();
    if (m_bAutoFit)
        FitLabels(fullLength, iconRoom, available);
    else
    {
        for (int index = 0; index < GetTabCount(); index++)
            Get3DTab(index)->m_strLabel = Get3DTab(index)->m_strFullLabel;
        m_bShowLabels = available > fullLength + kStripMargin;
    }
    int x;
    int y;
    if (horizontal)
    {
        x = client.left + m_nHorzOffset;
        y = (style & TKTS_BOTTOM) ? client.bottom - m_nTabHeight - 3 : client.top + 2;
    }
    else
    {
        x = (style & TKTS_RIGHT) ? client.right - m_nTabWidth - 3 : client.left + 2;
        y = client.top + m_nVertOffset;
    }
    for (int index = 0; index < GetTabCount(); index++)
    {
        SizeTab(index, x, y, style);
        const RECT& rect = Get3DTab(index)->m_rect;
        (horizontal ? x : y) = horizontal ? rect.right : rect.bottom;
    }
    Tk3DTab* active = m_bActive ? Get3DTab(m_nActiveTab) : NULL;
    if (!active || (style & TKTS_NOACTIVEGROW))
        return;
    RECT& rect = active->m_rect;
    if (horizontal)
        ::InflateRect(&rect, kActiveGrowth, 0);
    else
        ::InflateRect(&rect, 0, kActiveGrowth);
    if (style & TKTS_RIGHT)
        rect.left -= kActiveGrowth;
    else if (style & TKTS_LEFT)
        rect.right += kActiveGrowth;
    else if (style & TKTS_BOTTOM)
        rect.top -= kActiveGrowth;
    else
        rect.bottom += kActiveGrowth;
}

void Tk3DTabControl::SizeTab(int index, int x, int y, DWORD)
{
    Tk3DTab* tab = Get3DTab(index);
    if (!tab)
        return;
    int along = kTabEdges + (tab->m_hIcon ? kIconRoom : 0);
    if (m_bShowLabels)
        along += LabelWidth(tab->m_strLabel) + kTabEdges;
    BOOL horizontal = IsHorizontal();
    tab->m_nWidth = horizontal ? along : m_nTabWidth;
    tab->m_nHeight = horizontal ? m_nTabHeight : along;
    ::SetRect(&tab->m_rect, x, y, x + tab->m_nWidth, y + tab->m_nHeight);
}

int Tk3DTabControl::WidestLabel()
{
    int widest = -1;
    int widestWidth = -1;
    for (int index = 0; index < GetTabCount(); index++)
    {
        const CString& label = Get3DTab(index)->m_strLabel;
        // Labels that cannot be shortened any more are passed over.
        if (label.GetLength() < 3 || label == kEllipsis)
            continue;
        int width = LabelWidth(label);
        if (width > widestWidth)
        {
            widest = index;
            widestWidth = width;
        }
    }
    return widest;
}

void Tk3DTabControl::ShortenWidest()
{
    int widest = WidestLabel();
    if (widest < 0)
    {
        m_bShorten = FALSE;
        return;
    }
    Tk3DTab* tab = Get3DTab(widest);
    CString& label = tab->m_strLabel;
    if (label == tab->m_strFullLabel)
        label = label.Left(label.GetLength() - (label.Find(kEllipsis) == 0 ? 3 : 4));
    else
    {
        int ellipsis = label.Find(kEllipsis, 1);
        if (ellipsis >= 0)
            label = label.Left(ellipsis);
        label = label.Left(label.GetLength() - 1);
    }
    if (tab->m_strFullLabel.GetLength() >= 3)
        label += kEllipsis;
    tab->m_bTruncated = TRUE;
}

void Tk3DTabControl::FitLabels(int fullLength, int iconRoom, int available)
{
    int count = GetTabCount();
    for (int index = 0; index < count; index++)
    {
        Tk3DTab* tab = Get3DTab(index);
        tab->m_strLabel = tab->m_strFullLabel.GetLength() >= 3 ? CString(kEllipsis)
                                                                : tab->m_strFullLabel;
    }
    int length = MeasureTabs(FALSE);
    if (available < length + kStripMargin)
        m_bShorten = FALSE;
    else
    {
        for (int index = 0; index < count; index++)
        {
            Get3DTab(index)->m_strLabel = Get3DTab(index)->m_strFullLabel;
            Get3DTab(index)->m_bTruncated = FALSE;
        }
        m_bShorten = TRUE;
        length = fullLength;
    }
    m_bShowLabels = available > iconRoom;
    if (available <= 0)
        return;
    while (length + kStripMargin > available && m_bShorten)
    {
        for (int index = 0; index < count; index++)
        {
            const CString& label = Get3DTab(index)->m_strLabel;
            m_bShorten = label.GetLength() >= 3 && label != kEllipsis;
        }
        ShortenWidest();
        length = MeasureTabs(FALSE);
    }
    while (length + kStripMargin > available && m_bShowLabels && !m_bShorten)
    {
        int widest = 0;
        for (int index = 0; index < count; index++)
        {
            Tk3DTab* tab = Get3DTab(index);
            tab->m_bTruncated = TRUE;
            m_bShowLabels = !tab->m_strLabel.IsEmpty();
            if (LabelWidth(tab->m_strLabel) > LabelWidth(Get3DTab(widest)->m_strLabel))
                widest = index;
        }
        CString& label = Get3DTab(widest)->m_strLabel;
        label = label.Left(label.GetLength() - 1);
        length = MeasureTabs(FALSE);
    }
}

void Tk3DTabControl::ScrollToTab(int)
{
    RecalcLayout();
}

void Tk3DTabControl::DestroyGdiObjects()
{
    m_fontNormal.DeleteObject();
    m_fontActive.DeleteObject();
    m_brushFace.DeleteObject();
    m_brushWindow.DeleteObject();
    m_penBlack.DeleteObject();
    m_penBlack2.DeleteObject();
    m_penShadow.DeleteObject();
    m_penHilite.DeleteObject();
}

TkTab* Tk3DTabControl::InsertTab(int index, LPCSTR label, CWnd* pane, DWORD extra1,
                                 DWORD extra2)
{
    TkTab* tab = TkTabControlBase::InsertTab(index, label, pane, extra1, extra2);
    if (!tab)
        return NULL;
    static_cast<Tk3DTab*>(tab)->m_strFullLabel = tab->m_strLabel;
    RecalcLayout();
    InvalidateFrom(index);
    return tab;
}

// At the end the tabs from the new one on are the new one alone.
TkTab* Tk3DTabControl::AddTab(LPCSTR label, CWnd* pane, DWORD extra1, DWORD extra2)
{
    return InsertTab(GetTabCount(), label, pane, extra1, extra2);
}

void Tk3DTabControl::SetTabIcon(int index, LPCSTR resourceName, int cx, int cy)
{
    // The icon's group may live in the resources or in the program itself.
    HINSTANCE module = AfxGetResourceHandle();
    if (!::FindResourceA(module, resourceName, (LPCSTR)RT_GROUP_ICON))
        module = AfxGetInstanceHandle();
    HICON icon = (HICON)::LoadImageA(module, resourceName, IMAGE_ICON, cx, cy, 0);
    if (icon)
        SetTabIcon(index, icon);
}

void Tk3DTabControl::SetTabIcon(int index, UINT resourceId, int cx, int cy)
{
    SetTabIcon(index, MAKEINTRESOURCEA(resourceId), cx, cy);
}

void Tk3DTabControl::SetTabIcon(int index, HICON icon)
{
    Tk3DTab* tab = Get3DTab(index);
    if (!tab)
        return;
    tab->m_hIcon = icon;
    RecalcLayout();
    InvalidateFrom(index);
}

void Tk3DTabControl::RenameTab(int index, LPCSTR label)
{
    Tk3DTab* tab = Get3DTab(index);
    if (!tab)
        return;
    tab->m_strFullLabel = label ? label : "";
    TkTabControlBase::RenameTab(index, label);
}

void Tk3DTabControl::InvalidateTab(int index)
{
    Tk3DTab* tab = Get3DTab(index);
    if (!tab || !m_hWnd)
        return;
    CRect rect(tab->m_rect);
    rect.right++;
    rect.bottom++;
    InvalidateRect(&rect, TRUE);
}

void Tk3DTabControl::EnableTab(int index, BOOL enable)
{
    Tk3DTab* tab = Get3DTab(index);
    if (!tab || tab->m_bEnabled == enable)
        return;
    tab->m_bEnabled = enable;
    InvalidateTab(index);
}

BOOL Tk3DTabControl::IsTabEnabled(int index) const
{
    Tk3DTab* tab = Get3DTab(index);
    return tab && tab->m_bEnabled;
}

BOOL Tk3DTabControl::ModifyStyle(DWORD remove, DWORD add, UINT flags)
{
    BOOL changed = CWnd::ModifyStyle(remove, add, flags);
    if (!(add & TKTS_SIDES))
        return changed;
    LOGFONTA description;
    for (CFont* font : {&m_fontNormal, &m_fontActive})
    {
        if (!font->GetSafeHandle() || !font->GetLogFont(&description))
            continue;
        description.lfEscapement = description.lfOrientation = Escapement(add);
        ReplaceFont(*font, description);
    }
    RecalcLayout();
    return changed;
}

BOOL Tk3DTabControl::SetFont(CFont* font, int which, BOOL redraw)
{
    if (which != 0 && which != 1)
        return FALSE;
    CFont& target = which == 0 ? m_fontNormal : m_fontActive;
    LOGFONTA old = {};
    target.GetLogFont(&old);
    LOGFONTA description;
    if (!font || !font->GetLogFont(&description))
        return FALSE;
    description.lfEscapement = description.lfOrientation = Escapement(GetStyle());
    target.DeleteObject();
    if (!target.CreateFontIndirect(&description))
    {
        target.CreateFontIndirect(&old);
        return FALSE;
    }
    RecalcLayout();
    if (redraw)
    {
        if (which == 1 && m_bActive)
            InvalidateTab(m_nActiveTab);
        else
            InvalidateFrom(0);
    }
    return TRUE;
}

BOOL Tk3DTabControl::GetTabRect(int index, CRect& rect) const
{
    Tk3DTab* tab = Get3DTab(index);
    if (!tab)
        return FALSE;
    rect = tab->m_rect;
    return TRUE;
}

int Tk3DTabControl::TabFromPoint(CPoint point) const
{
    // The active tab lies over its neighbours.
    if (m_bActive && Get3DTab(m_nActiveTab) &&
        ::PtInRect(&Get3DTab(m_nActiveTab)->m_rect, point))
        return m_nActiveTab;
    for (int index = 0; index < GetTabCount(); index++)
    {
        if (::PtInRect(&Get3DTab(index)->m_rect, point))
            return index;
    }
    return -1;
}

void Tk3DTabControl::FillSolid(CDC* dc, int x, int y, int cx, int cy, COLORREF color)
{
    dc->FillSolidRect(x, y, cx, cy, color);
}

void Tk3DTabControl::OnPaint()
{
    CPaintDC paint(this);
    CRect client;
    GetClientRect(&client);
    CDC memory;
    CBitmap bitmap;
    if (client.IsRectEmpty() || !memory.CreateCompatibleDC(&paint) ||
        !bitmap.CreateCompatibleBitmap(&paint, client.Width(), client.Height()))
        return;
    CBitmap* oldBitmap = memory.SelectObject(&bitmap);
    DWORD style = GetStyle();
    FillSolid(&memory, 0, 0, client.Width(), client.Height(), ::GetSysColor(COLOR_BTNFACE));
    for (int index = 0; index < GetTabCount(); index++)
    {
        if (!m_bActive || index != m_nActiveTab)
            DrawTab(&memory, index);
    }
    DrawStripEdge(&memory, client, style);
    if (m_bActive && Get3DTab(m_nActiveTab))
        DrawTab(&memory, m_nActiveTab);
    paint.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(oldBitmap);
}

void Tk3DTabControl::DrawStripEdge(CDC* dc, const CRect& client, DWORD style)
{
    const COLORREF colors[4] = {::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNFACE),
                                ::GetSysColor(COLOR_BTNSHADOW), RGB(0, 0, 0)};
    BOOL thin = (style & TKTS_THINEDGE) != 0;
    // The lines of the edge next to the panes, in the order of colors; thin
    // edges keep the two lines on the far side from the tabs.
    for (int line = 0; line < 4; line++)
    {
        if (style & TKTS_TOP)
        {
            if (!thin || line >= 2)
                FillSolid(dc, client.left, client.top + line, client.Width(), 1, colors[line]);
        }
        else if (style & TKTS_RIGHT)
        {
            if (!thin || line < 2)
                FillSolid(dc, client.right - 4 + line, client.top, 1, client.Height(),
                          colors[line]);
        }
        else if (style & TKTS_LEFT)
        {
            if (!thin || line >= 2)
                FillSolid(dc, client.left + line, client.top, 1, client.Height(), colors[line]);
        }
        else if (!thin || line < 2)
            FillSolid(dc, client.left, client.bottom - 4 + line, client.Width(), 1, colors[line]);
    }
}

void Tk3DTabControl::DrawTab(CDC* dc, int index)
{
    Tk3DTab* tab = Get3DTab(index);
    if (!tab)
        return;
    DWORD style = GetStyle();
    CRect rect(tab->m_rect);
    if (style & TKTS_TOP)
        rect.right--;
    else if (style & TKTS_LEFT)
        rect.bottom -= 2;
    FillSolid(dc, rect.left, rect.top, rect.Width(), rect.Height(), ::GetSysColor(COLOR_BTNFACE));
    CFont* oldFont = dc->SelectObject(tab->m_bSelected ? &m_fontActive : &m_fontNormal);
    if (style & TKTS_TOP)
        DrawTabEdgesTop(dc, tab, style);
    else if (style & TKTS_RIGHT)
        DrawTabEdgesRight(dc, tab, style);
    else if (style & TKTS_LEFT)
        DrawTabEdgesLeft(dc, tab, style);
    else
        DrawTabEdgesBottom(dc, tab, style);
    dc->SelectObject(oldFont);
}

void Tk3DTabControl::DrawTabEdgesTop(CDC* dc, Tk3DTab* tab, DWORD style)
{
    const RECT& r = tab->m_rect;
    int d = (style & TKTS_FAREDGEIN) ? 1 : 0;
    Polyline(dc, &m_penHilite, {{r.left, r.top + 1}, {r.left, r.bottom - 2}});
    Polyline(dc, &m_penShadow,
             {{r.left + 1, r.bottom - 2}, {r.left + 1, r.bottom - 1},
              {r.right - d - 2, r.bottom - 1}, {r.right - d - 2, r.bottom - 2},
              {r.right - d - 1, r.bottom - 2}, {r.right - d - 1, r.top}, {r.right - d, r.top}});
    Polyline(dc, &m_penBlack,
             {{r.right - d, r.top + 2}, {r.right - d, r.bottom - 2}, {r.right - d - 2, r.bottom},
              {r.left + 2, r.bottom}});
    DrawTabContent(dc, tab, style);
}

void Tk3DTabControl::DrawTabEdgesBottom(CDC* dc, Tk3DTab* tab, DWORD style)
{
    const RECT& r = tab->m_rect;
    int d = (style & TKTS_FAREDGEIN) ? 1 : 0;
    Polyline(dc, &m_penHilite,
             {{r.left, r.bottom - 1}, {r.left, r.top + 2}, {r.left + 2, r.top},
              {r.right - d - 2, r.top}});
    Polyline(dc, &m_penShadow,
             {{r.right - d - 2, r.top + 1}, {r.right - d - 1, r.top + 2},
              {r.right - d - 1, r.bottom}});
    Polyline(dc, &m_penBlack,
             {{r.right - d - 1, r.top + 1}, {r.right - d, r.top + 2}, {r.right - d, r.bottom}});
    DrawTabContent(dc, tab, style);
}

void Tk3DTabControl::DrawTabEdgesRight(CDC* dc, Tk3DTab* tab, DWORD style)
{
    const RECT& r = tab->m_rect;
    int d = (style & TKTS_FAREDGEIN) ? 1 : 0;
    Polyline(dc, &m_penShadow,
             {{r.left + 1, r.bottom - d - 2}, {r.left + 2, r.bottom - d - 1},
              {r.right, r.bottom - d - 1}});
    Polyline(dc, &m_penHilite,
             {{r.left, r.bottom - d - 2}, {r.left, r.top + 2}, {r.left + 2, r.top},
              {r.right, r.top}});
    Polyline(dc, &m_penBlack,
             {{r.left + 1, r.bottom - d - 1}, {r.left + 2, r.bottom - d}, {r.right, r.bottom - d}});
    DrawTabContent(dc, tab, style);
}

void Tk3DTabControl::DrawTabEdgesLeft(CDC* dc, Tk3DTab* tab, DWORD style)
{
    const RECT& r = tab->m_rect;
    int d = (style & TKTS_FAREDGEIN) ? 1 : 0;
    Polyline(dc, &m_penHilite, {{r.left, r.top}, {r.right - 2, r.top}});
    Polyline(dc, &m_penShadow, {{r.right - 2, r.top}, {r.right - 1, r.top + 1},
                                {r.right - 1, r.bottom - d - 2}});
    Polyline(dc, &m_penBlack, {{r.right, r.top + 2}, {r.right, r.bottom - d - 2}});
    Polyline(dc, &m_penShadow,
             {{r.right - 1, r.bottom - d - 2}, {r.right - 2, r.bottom - d - 1},
              {r.left, r.bottom - d - 1}});
    Polyline(dc, &m_penBlack,
             {{r.right, r.bottom - d - 2}, {r.right - 2, r.bottom - d}, {r.left, r.bottom - d}});
    DrawTabContent(dc, tab, style);
}

void Tk3DTabControl::DrawTabContent(CDC* dc, Tk3DTab* tab, DWORD style)
{
    const RECT& r = tab->m_rect;
    CSize extent = m_bShowLabels ? dc->GetTextExtent(tab->m_strLabel) : CSize(0, 0);
    if (style & (TKTS_LEFT | TKTS_RIGHT))
        extent = CSize(extent.cy, extent.cx);
    CPoint label;
    CPoint icon;
    int iconShift = tab->m_hIcon ? kIconRoom : 0;
    if (style & TKTS_RIGHT)
    {
        label = CPoint(r.left + (r.right - r.left) / 2 - extent.cx / 2, r.bottom - 6 - iconShift);
        icon = CPoint(r.left + (r.right - r.left) / 2 - 8, r.bottom - 22);
    }
    else if (style & TKTS_LEFT)
    {
        label = CPoint(r.left + (r.right - r.left) / 2 + extent.cx / 2, r.top + 6 + iconShift);
        icon = CPoint(r.left + (r.right - r.left) / 2 - 8, r.top + 6);
    }
    else
    {
        label = CPoint(r.left + 6 + iconShift, r.top + (r.bottom - r.top) / 2 - extent.cy / 2);
        icon = CPoint(r.left + 6, r.top + (r.bottom - r.top) / 2 - 8);
    }
    // The inside of the tab, within its edges.
    static const int kInset[4][4] = {{2, 1, 3, 2}, {2, 2, 3, 1}, {2, 2, 1, 3}, {1, 2, 2, 3}};
    int side = (style & TKTS_TOP) ? 0 : (style & TKTS_RIGHT) ? 2 : (style & TKTS_LEFT) ? 3 : 1;
    CRect inside(r.left + kInset[side][0], r.top + kInset[side][1], r.right - kInset[side][2],
                 r.bottom - kInset[side][3]);
    if (!tab->m_bEnabled)
    {
        DrawDisabledContent(dc, tab, label, icon, inside, style);
        return;
    }
    CWnd* parent = GetParent();
    if (parent && (parent->GetStyle() & WS_TABSTOP) && tab->m_bSelected && ::GetFocus() == m_hWnd)
        dc->DrawFocusRect(&inside);
    DrawLabelAndIcon(dc, tab, label, icon, inside, style);
}

void Tk3DTabControl::DrawLabelAndIcon(CDC* dc, Tk3DTab* tab, CPoint label, CPoint icon,
                                      const CRect& clip, DWORD)
{
    if (tab->m_hIcon)
        ::DrawIconEx(dc->m_hDC, icon.x, icon.y, tab->m_hIcon, kIconSize, kIconSize, 0, NULL,
                     DI_NORMAL);
    if (!m_bShowLabels || tab->m_strLabel.IsEmpty())
        return;
    int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF oldColor = dc->SetTextColor(::GetSysColor(COLOR_BTNTEXT));
    dc->ExtTextOut(label.x, label.y, ETO_CLIPPED, &clip, tab->m_strLabel, NULL);
    dc->SetTextColor(oldColor);
    dc->SetBkMode(oldMode);
}

void Tk3DTabControl::DrawDisabledContent(CDC* dc, Tk3DTab* tab, CPoint label, CPoint icon,
                                         const CRect& clip, DWORD style)
{
    const RECT& r = tab->m_rect;
    int cx = r.right - r.left + 5;
    int cy = r.bottom - r.top + 5;
    CDC work;
    CBitmap bitmap;
    if (!work.CreateCompatibleDC(dc) || !bitmap.CreateCompatibleBitmap(dc, cx, cy))
        return;
    CBitmap* oldBitmap = work.SelectObject(&bitmap);
    CFont* oldFont = work.SelectObject(dc->GetCurrentFont());
    FillSolid(&work, 0, 0, cx, cy, ::GetSysColor(COLOR_BTNFACE));
    // The tab's content is drawn at the origin, etched, and copied back.
    CPoint origin(r.left, r.top);
    Tk3DTab shifted;
    shifted.m_hIcon = tab->m_hIcon;
    shifted.m_strLabel = tab->m_strLabel;
    CRect room(clip);
    room.OffsetRect(-origin);
    DrawLabelAndIcon(&work, &shifted, label - origin, icon - origin, room, style);
    DrawDisabledImage(&work, cx, cy);
    dc->BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), &work, room.left, room.top,
               SRCCOPY);
    work.SelectObject(oldFont);
    work.SelectObject(oldBitmap);
}

void Tk3DTabControl::DrawDisabledImage(CDC* dc, int cx, int cy)
{
    // A mask of what differs from the face colour, painted back etched: a
    // highlight copy one pixel down and right under a shadow copy.
    CDC mask;
    CBitmap monochrome;
    if (!mask.CreateCompatibleDC(dc) || !monochrome.CreateBitmap(cx, cy, 1, 1, NULL))
        return;
    CBitmap* oldBitmap = mask.SelectObject(&monochrome);
    COLORREF oldBack = dc->SetBkColor(::GetSysColor(COLOR_BTNFACE));
    mask.BitBlt(0, 0, cx, cy, dc, 0, 0, SRCCOPY);
    dc->SetBkColor(oldBack);
    FillSolid(dc, 0, 0, cx, cy, ::GetSysColor(COLOR_BTNFACE));
    // Where the mask is 0 (drawn), the brush is painted: (mask AND dest) OR
    // (NOT mask AND brush) with the raster operation 0xB8074A.
    const DWORD kPaintWhereDrawn = 0x00B8074A;
    CBrush highlight;
    CBrush shadow;
    highlight.CreateSolidBrush(::GetSysColor(COLOR_BTNHIGHLIGHT));
    shadow.CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
    COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
    oldBack = dc->SetBkColor(RGB(255, 255, 255));
    CBrush* oldBrush = dc->SelectObject(&highlight);
    dc->BitBlt(2, 2, cx - 4, cy - 4, &mask, 1, 1, kPaintWhereDrawn);
    dc->SelectObject(&shadow);
    dc->BitBlt(1, 1, cx - 3, cy - 3, &mask, 1, 1, kPaintWhereDrawn);
    dc->SelectObject(oldBrush);
    dc->SetBkColor(oldBack);
    dc->SetTextColor(oldText);
    mask.SelectObject(oldBitmap);
}

BOOL Tk3DTabControl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void Tk3DTabControl::OnLButtonDown(UINT, CPoint point)
{
    int index = TabFromPoint(point);
    if (index >= 0 && IsTabEnabled(index))
    {
        if (m_bActive && index == m_nActiveTab)
            FocusActivePane();
        else
            ActivateTab(index);
    }
    if (GetStyle() & TKTS_DRAGTABS)
        SetCapture();
    CWnd* parent = GetParent();
    if (parent && (parent->GetStyle() & WS_TABSTOP))
        SetFocus();
}

void Tk3DTabControl::OnLButtonUp(UINT, CPoint)
{
    if ((GetStyle() & TKTS_DRAGTABS) && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void Tk3DTabControl::OnLButtonDblClk(UINT, CPoint point)
{
    CWnd* parent = GetParent();
    for (int index = 0; index < GetTabCount() && parent; index++)
    {
        if (::PtInRect(&Get3DTab(index)->m_rect, point))
            parent->SendMessage(WM_TKTAB_DBLCLK, index);
    }
}

BOOL Tk3DTabControl::WouldLieUnderCursor(const CRect& active, const CRect& target,
                                         CPoint point) const
{
    BOOL horizontal = IsHorizontal();
    int at = horizontal ? point.x : point.y;
    int activeStart = horizontal ? active.left : active.top;
    int activeEnd = horizontal ? active.right : active.bottom;
    int targetStart = horizontal ? target.left : target.top;
    int targetEnd = horizontal ? target.right : target.bottom;
    // The active tab overlaps its neighbours: which side a tab lies on is told by its start.
    if (targetStart > activeStart)
        return at > activeStart + (targetEnd - targetStart) &&
               at < targetEnd + (activeEnd - targetStart);
    return targetStart < at && at < targetStart + (activeEnd - activeStart);
}

void Tk3DTabControl::OnMouseMove(UINT, CPoint point)
{
    Default();
    if (!(GetStyle() & TKTS_DRAGTABS) || ::GetCapture() != m_hWnd || !m_bActive)
        return;
    Tk3DTab* active = Get3DTab(m_nActiveTab);
    if (!active || ::PtInRect(&active->m_rect, point))
        return;
    for (int index = 0; index < GetTabCount(); index++)
    {
        const RECT& rect = Get3DTab(index)->m_rect;
        if (!::PtInRect(&rect, point))
            continue;
        if (index != m_nActiveTab && WouldLieUnderCursor(active->m_rect, rect, point))
            MoveActiveTab(index);
        return;
    }
}

void Tk3DTabControl::MoveActiveTab(int index)
{
    HWND focus = ::GetFocus();
    CObject* tab = m_pTabs->GetAt(m_nActiveTab);
    m_pTabs->RemoveAt(m_nActiveTab);
    m_pTabs->InsertAt(index, tab);
    ActivateTab(index);
    RecalcLayout();
    Invalidate();
    if (focus && ::IsWindow(focus))
        ::SetFocus(focus);
}

int Tk3DTabControl::NextEnabledTab(int step) const
{
    if (!m_bActive)
        return -1;
    for (int index = m_nActiveTab + step; index >= 0 && index < GetTabCount(); index += step)
    {
        if (IsTabEnabled(index))
            return index;
    }
    return -1;
}

void Tk3DTabControl::OnKeyDown(UINT key, UINT, UINT)
{
    int step = 0;
    if (key == VK_LEFT || key == VK_UP)
        step = -1;
    else if (key == VK_RIGHT || key == VK_DOWN)
        step = 1;
    int next = step ? NextEnabledTab(step) : -1;
    if (next >= 0)
        ActivateTab(next);
    if (step)
        SetFocus();
}

void Tk3DTabControl::OnSetFocus(CWnd*)
{
    CWnd* parent = GetParent();
    if (parent && (parent->GetStyle() & WS_TABSTOP))
        Invalidate();
}

void Tk3DTabControl::OnKillFocus(CWnd*)
{
    CWnd* parent = GetParent();
    if (parent && (parent->GetStyle() & WS_TABSTOP))
        Invalidate();
}

void Tk3DTabControl::OnSize(UINT, int, int)
{
    RecalcLayout();
}

void Tk3DTabControl::OnDestroy()
{
    TkTabControlBase::OnDestroy();
    DestroyGdiObjects();
}
