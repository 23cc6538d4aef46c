#include "listctrl/LxPopupMenu.h"

#include "listctrl/LxListResource.h"

#include <algorithm>

namespace
{
// RT_TOOLBAR: a version word, then image width, height and item count, then
// one command id per item (0 a separator), all 16-bit.
const LPCSTR kToolBarType = MAKEINTRESOURCEA(241);
const COLORREF kImageMaskColor = RGB(192, 192, 192);
const int kDefaultImageSize = 20;
// Room an item keeps around its image and beside its text.
const int kImageMargin = 5;
const int kTextExtra = 17;
const int kTextGap = 2;
const int kTextRightMargin = 15;
const int kSeparatorWidth = 10;
const int kSeparatorHeight = 6;
const int kEmptyItemWidth = 100;

HFONT MenuFont(LONG weight)
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    if (weight)
        metrics.lfMenuFont.lfWeight = weight;
    return ::CreateFontIndirectA(&metrics.lfMenuFont);
}
}

CLxPopupMenu::CLxPopupMenu()
    : m_boldFont(MenuFont(FW_BOLD)), m_menuFont(MenuFont(0)),
      m_imageWidth(kDefaultImageSize), m_imageHeight(kDefaultImageSize),
      m_menuTextColor(::GetSysColor(COLOR_MENUTEXT)),
      m_highlightTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT)),
      m_menuColor(::GetSysColor(COLOR_MENU)), m_highlightColor(::GetSysColor(COLOR_HIGHLIGHT)),
      m_hilightColor(::GetSysColor(COLOR_3DHILIGHT)),
      m_shadowColor(::GetSysColor(COLOR_3DSHADOW)),
      m_grayTextColor(::GetSysColor(COLOR_GRAYTEXT)), m_depth(0)
{
}

CLxPopupMenu::~CLxPopupMenu()
{
    ::DeleteObject(m_boldFont);
    ::DeleteObject(m_menuFont);
}

void CLxPopupMenu::Show(const LxMenuEntry* entries, int count, CWnd* owner, POINT screen)
{
    CLxPopupMenu menu;
    if (!menu.CreatePopupMenu())
        return;
    for (int i = 0; i < count; i++)
    {
        if (entries[i].id)
            menu.AppendMenu(MF_STRING, entries[i].id, entries[i].text);
        else
            menu.AppendMenu(MF_SEPARATOR);
    }
    menu.LoadToolBarImages(IDR_LX_MENU_IMAGES);
    menu.MakeOwnerDrawn(&menu);
    menu.UpdateCommandUI(&menu, owner);
    menu.TrackPopupMenu(TPM_RIGHTBUTTON, screen.x, screen.y, owner);
}

BOOL CLxPopupMenu::LoadToolBarImages(UINT resourceId)
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(resourceId), kToolBarType);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : NULL;
    const WORD* data = loaded ? (const WORD*)::LockResource(loaded) : NULL;
    if (!data || ::SizeofResource(module, found) < 4 * sizeof(WORD))
        return FALSE;
    int count = data[3];
    if (::SizeofResource(module, found) < (4 + count) * sizeof(WORD))
        return FALSE;
    m_imageWidth = data[1];
    m_imageHeight = data[2];
    m_images.DeleteImageList();
    if (!m_images.Create(m_imageWidth, m_imageHeight, ILC_COLOR4 | ILC_MASK, count, 0))
        return FALSE;
    m_images.SetBkColor(::GetSysColor(COLOR_3DFACE));
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(resourceId) || m_images.Add(&bitmap, kImageMaskColor) < 0)
        return FALSE;
    m_imageMap.clear();
    const WORD* ids = data + 4;
    for (int i = 0; i < count; i++)
    {
        if (ids[i])
            m_imageMap.push_back(std::make_pair((UINT)ids[i], (int)m_imageMap.size()));
    }
    return TRUE;
}

int CLxPopupMenu::FindImage(UINT commandId) const
{
    for (const auto& entry : m_imageMap)
    {
        if (entry.first == commandId)
            return entry.second;
    }
    return -1;
}

CLxPopupMenu::Record* CLxPopupMenu::AddRecord(int image, UINT command, const CString& text)
{
    m_records.push_back(std::unique_ptr<Record>(new Record()));
    Record* record = m_records.back().get();
    record->image = image;
    record->command = command;
    lstrcpynA(record->text, text, sizeof(record->text));
    return record;
}

const CLxPopupMenu::Record* CLxPopupMenu::FindRecord(ULONG_PTR itemData) const
{
    for (const auto& record : m_records)
    {
        if ((ULONG_PTR)record.get() == itemData)
            return record.get();
    }
    return NULL;
}

void CLxPopupMenu::MakeOwnerDrawn(CMenu* menu)
{
    m_depth++;
    for (int i = menu->GetMenuItemCount() - 1; i >= 0; i--)
    {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        menu->GetMenuItemInfo(i, &info, TRUE);
        CString text;
        menu->GetMenuString(i, text, MF_BYPOSITION);
        UINT state = menu->GetMenuState(i, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
        if (info.hSubMenu)
        {
            MakeOwnerDrawn(CMenu::FromHandle(info.hSubMenu));
            if (text.IsEmpty())
                continue;
            Record* record = AddRecord(m_depth == 1 ? kTitle : kSubmenu, 0, text);
            menu->ModifyMenu(i, MF_BYPOSITION | MF_OWNERDRAW | MF_POPUP | state,
                             (UINT_PTR)info.hSubMenu, (LPCSTR)record);
        }
        else if (info.fType & MFT_SEPARATOR)
        {
            Record* record = AddRecord(kSeparator, 0, "--");
            menu->ModifyMenu(i, MF_BYPOSITION | MF_OWNERDRAW | MF_SEPARATOR, 0, (LPCSTR)record);
        }
        else if (info.wID && !(info.fType & (MFT_OWNERDRAW | MFT_BITMAP)))
        {
            Record* record = AddRecord(FindImage(info.wID), info.wID, text);
            menu->ModifyMenu(i, MF_BYPOSITION | MF_OWNERDRAW | state, info.wID, (LPCSTR)record);
        }
    }
    m_depth--;
}

void CLxPopupMenu::UpdateCommandUI(CMenu* menu, CWnd* owner)
{
    CCmdUI state;
    state.m_pMenu = menu;
    state.m_nIndexMax = menu->GetMenuItemCount();
    for (int i = (int)state.m_nIndexMax - 1; i >= 0; i--)
    {
        CMenu* submenu = menu->GetSubMenu(i);
        if (submenu)
        {
            UpdateCommandUI(submenu, owner);
            continue;
        }
        state.m_nIndex = i;
        state.m_nID = menu->GetMenuItemID(i);
        // Commands without a handler are disabled.
        state.DoUpdate(owner, TRUE);
    }
}

void CLxPopupMenu::MeasureItem(LPMEASUREITEMSTRUCT measure)
{
    const Record* record = FindRecord(measure->itemData);
    if (!record)
        return;
    if (record->image == kSeparator)
    {
        measure->itemWidth = kSeparatorWidth;
        measure->itemHeight = kSeparatorHeight;
        return;
    }
    if (!record->text[0])
    {
        measure->itemWidth = kEmptyItemWidth;
        measure->itemHeight = m_imageHeight + kImageMargin;
        return;
    }
    CWnd* main = AfxGetMainWnd();
    HWND window = main ? main->m_hWnd : NULL;
    HDC dc = ::GetDC(window);
    HGDIOBJ oldFont = ::SelectObject(dc, m_menuFont);
    if (record->image == kTitle)
    {
        RECT rect = {};
        ::DrawTextA(dc, record->text, -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
        measure->itemWidth = rect.right - rect.left;
        measure->itemHeight = rect.bottom - rect.top;
    }
    else
    {
        DWORD extent = ::GetTabbedTextExtentA(dc, record->text, lstrlenA(record->text), 0, NULL);
        int height = std::max((int)HIWORD(extent), m_imageHeight + kImageMargin);
        measure->itemWidth = LOWORD(extent) + kTextExtra + std::max(height, m_imageWidth);
        measure->itemHeight = height;
    }
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(window, dc);
}

void CLxPopupMenu::DrawItem(LPDRAWITEMSTRUCT draw)
{
    const Record* record = FindRecord(draw->itemData);
    if (!record)
        return;
    CDC* dc = CDC::FromHandle(draw->hDC);
    HGDIOBJ oldFont =
        ::SelectObject(draw->hDC, draw->itemState & ODS_DEFAULT ? m_boldFont : m_menuFont);
    int oldMode = dc->SetBkMode(TRANSPARENT);
    CRect rect(draw->rcItem);
    if (record->image == kSeparator)
        DrawSeparator(dc, rect);
    else if (record->image == kTitle)
        DrawTitle(dc, *record, rect, (draw->itemState & ODS_SELECTED) != 0);
    else
        DrawCommand(dc, *record, *draw);
    dc->SetBkMode(oldMode);
    ::SelectObject(draw->hDC, oldFont);
}

void CLxPopupMenu::DrawSeparator(CDC* dc, const CRect& rect)
{
    int y = rect.top + rect.Height() / 2;
    dc->FillSolidRect(rect.left + 2, y - 1, rect.Width() - 4, 1, m_shadowColor);
    dc->FillSolidRect(rect.left + 2, y, rect.Width() - 4, 1, m_hilightColor);
}

void CLxPopupMenu::DrawTitle(CDC* dc, const Record& record, const CRect& rect, bool selected)
{
    dc->FillSolidRect(rect, m_menuColor);
    dc->SetTextColor(m_menuTextColor);
    CRect text = rect;
    dc->DrawText(record.text, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (selected)
        dc->Draw3dRect(rect, m_hilightColor, m_shadowColor);
}

// The image column stays in the menu's colour, also under the highlight, so
// that an image's raised frame goes with the selection.
void CLxPopupMenu::DrawCommand(CDC* dc, const Record& record, const DRAWITEMSTRUCT& draw)
{
    CRect rect(draw.rcItem);
    bool selected = (draw.itemState & ODS_SELECTED) != 0;
    bool grey = (draw.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    bool checked = (draw.itemState & ODS_CHECKED) != 0;
    CRect column(rect.left, rect.top, rect.left + rect.Height() + 1, rect.bottom);
    CRect back = rect;
    if (record.image >= 0 || checked)
    {
        dc->FillSolidRect(column, m_menuColor);
        back.left = column.right;
    }
    dc->FillSolidRect(back, selected ? m_highlightColor : m_menuColor);
    if (record.image >= 0)
        DrawImage(dc, record.image, column, selected, grey);
    else if (checked)
    {
        // A tick, in the colour of the text.
        CPoint mid = column.CenterPoint();
        for (int dy = 0; dy < 2; dy++)
        {
            POINT tick[] = {{mid.x - 3, mid.y - 1 + dy}, {mid.x - 1, mid.y + 1 + dy},
                            {mid.x + 4, mid.y - 4 + dy}};
            CPen pen(PS_SOLID, 1, grey ? m_grayTextColor : m_menuTextColor);
            CPen* old = dc->SelectObject(&pen);
            dc->Polyline(tick, 3);
            dc->SelectObject(old);
        }
    }
    CRect text(column.right + kTextGap, rect.top, rect.right - kTextRightMargin, rect.bottom);
    if (grey && !selected)
    {
        DrawLabel(dc, record.text, text + CPoint(1, 1), m_hilightColor);
        DrawLabel(dc, record.text, text, m_grayTextColor);
    }
    else if (grey)
        DrawLabel(dc, record.text, text, m_menuColor);
    else
        DrawLabel(dc, record.text, text, selected ? m_highlightTextColor : m_menuTextColor);
}

void CLxPopupMenu::DrawImage(CDC* dc, int image, const CRect& column, bool selected, bool grey)
{
    int x = column.left + (column.Width() - m_imageWidth) / 2;
    int y = column.top + (column.Height() - m_imageHeight) / 2;
    if (selected && !grey)
        dc->Draw3dRect(x - 1, y - 1, m_imageWidth + 2, m_imageHeight + 2, m_hilightColor,
                       m_shadowColor);
    if (!grey)
    {
        m_images.Draw(dc, image, CPoint(x, y), ILD_NORMAL);
        return;
    }
    HICON icon = ImageList_GetIcon(m_images, image, ILD_NORMAL);
    ::DrawStateA(dc->m_hDC, NULL, NULL, (LPARAM)icon, 0, x, y, m_imageWidth, m_imageHeight,
                 DST_ICON | DSS_DISABLED);
    ::DestroyIcon(icon);
}

// The text after a tab (a shortcut) goes right-aligned.
void CLxPopupMenu::DrawLabel(CDC* dc, const char* text, CRect rect, COLORREF color)
{
    dc->SetTextColor(color);
    const char* tab = strchr(text, '\t');
    int length = tab ? (int)(tab - text) : -1;
    dc->DrawText(text, length, &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (tab)
        dc->DrawText(tab + 1, -1, &rect, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
}
