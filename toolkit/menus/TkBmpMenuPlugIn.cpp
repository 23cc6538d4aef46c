#include "toolkit/menus/TkBmpMenuPlugIn.h"

#include "toolkit/menus/TkMenuFont.h"
#include "toolkit/toolbars/TkBmpMgr.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace
{
// System commands are never converted.
const UINT kFirstSystemCommand = 0xF000;
const UINT kLastSystemCommand = 0xFEFF;
const int kTextBuffer = 256;
// Room right of the accelerator text, and the gap before the label.
const int kRightMargin = 23;
const int kTextGap = 6;
const DWORD kRopMaskPattern = 0xB8074A;   // PSDPxax: pattern where the mask is 0
const DWORD kRopPatternOnMask = 0xE20746; // DSPDxax: pattern where the mask is 1
const DWORD kRopMergePaint = 0xEE0086;    // SRCPAINT
// The toolkit's check-mark bitmap of the radio-dot option.
const UINT kCheckMarkBitmap = 20525;
// The system's check mark and menu arrow (OBM_CHECK, OBM_MNARROW, declared
// only under OEMRESOURCE).
const UINT kSystemCheckBitmap = 32760;
const UINT kSystemMenuArrowBitmap = 32739;
// The radio items' dot: five rows of a 16 x 15 monochrome bitmap, from row 5.
const BYTE kDotRows[] = {0x1C, 0x3E, 0x3E, 0x3E, 0x1C};
const int kDotWidth = 16;
const int kDotHeight = 15;
const int kDotFirstRow = 5;

char MnemonicOf(const CString& text)
{
    int amp = text.Find('&');
    if (amp < 0 || amp + 1 >= text.GetLength())
        return 0;
    return (char)(UINT_PTR)::CharLowerA((LPSTR)(UINT_PTR)(BYTE)text[amp + 1]);
}

BOOL GetItem(HMENU menu, UINT position, MENUITEMINFOA* info, char* text, int size)
{
    memset(info, 0, sizeof(*info));
    info->cbSize = sizeof(*info);
    info->fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA | MIIM_STRING | MIIM_STATE;
    info->dwTypeData = text;
    info->cch = size;
    text[0] = 0;
    return ::GetMenuItemInfoA(menu, position, TRUE, info);
}

void SetOwnerDraw(HMENU menu, UINT position, UINT type, ULONG_PTR data)
{
    MENUITEMINFOA info = {sizeof(info)};
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    info.fType = type | MFT_OWNERDRAW;
    info.dwItemData = data;
    ::SetMenuItemInfoA(menu, position, TRUE, &info);
}

void SetPlainText(HMENU menu, UINT position, UINT type, const CString& text)
{
    MENUITEMINFOA info = {sizeof(info)};
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
    info.fType = type & ~MFT_OWNERDRAW;
    info.dwItemData = 0;
    info.dwTypeData = const_cast<LPSTR>((LPCSTR)text);
    ::SetMenuItemInfoA(menu, position, TRUE, &info);
}
}  // namespace

TkBmpMenuItemInfo::TkBmpMenuItemInfo(UINT id, const CString& text)
    : m_nID(id), m_strText(text), m_chMnemonic(MnemonicOf(text))
{
}

IMPLEMENT_DYNAMIC(TkBmpMenuPlugIn, TkWndListener)

BEGIN_MESSAGE_MAP(TkBmpMenuPlugIn, TkWndListener)
    ON_MESSAGE(WM_MEASUREITEM, OnMeasureItemMsg)
    ON_MESSAGE(WM_DRAWITEM, OnDrawItemMsg)
    ON_MESSAGE(WM_MENUCHAR, OnMenuCharMsg)
    ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopupMsg)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChangeMsg)
    ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChangeMsg)
END_MESSAGE_MAP()

TkBmpMenuPlugIn::TkBmpMenuPlugIn(BOOL radioDot)
    : m_menus(10), m_excluded(10), m_bRadioDot(radioDot), m_pBmpMgr(new TkBmpMgr)
{
    m_menus.InitHashTable(17);
    m_excluded.InitHashTable(17);
    m_pBmpMgr->SetKeepBoth(TRUE);
    RefreshColors();
    if (m_bRadioDot)
        CreateRadioDot();
}

TkBmpMenuPlugIn::~TkBmpMenuPlugIn()
{
    RestoreMenus();
    m_pBmpMgr->Release();
    if (m_radioDot.GetSafeHandle() && AfxGetMenuRadioBitmap() == m_radioDot.GetSafeHandle())
        AfxSetMenuRadioBitmap(NULL);
}

// Radio items get a dot of their own in place of the framework's mark.
void TkBmpMenuPlugIn::CreateRadioDot()
{
    WORD rows[kDotHeight];
    for (int row = 0; row < kDotHeight; row++)
    {
        int dot = row - kDotFirstRow;
        WORD bits = dot >= 0 && dot < (int)sizeof(kDotRows) ? (WORD)(kDotRows[dot] << 6) : 0;
        bits = (WORD)~bits;
        // Monochrome rows are read byte by byte, the left pixels first.
        rows[row] = (WORD)((bits >> 8) | (bits << 8));
    }
    if (!m_radioDot.CreateBitmap(kDotWidth, kDotHeight, 1, 1, rows))
        m_radioDot.Attach(::LoadBitmapA(NULL, MAKEINTRESOURCEA(kSystemMenuArrowBitmap)));
    AfxSetMenuRadioBitmap((HBITMAP)m_radioDot.GetSafeHandle());
}

void TkBmpMenuPlugIn::RefreshColors()
{
    m_clrFace = ::GetSysColor(COLOR_3DFACE);
    m_clrPatternLight = m_clrEmbossLight = ::GetSysColor(COLOR_3DHIGHLIGHT);
    m_clrShadow = ::GetSysColor(COLOR_3DSHADOW);
    m_clrHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    m_clrMenu = ::GetSysColor(COLOR_MENU);
    m_clrGrayText = ::GetSysColor(COLOR_GRAYTEXT);
    m_clrHighlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    m_clrMenuText = ::GetSysColor(COLOR_MENUTEXT);
}

TkFrameMenuPlugIn* TkBmpMenuPlugIn::PlugInBmpMenus(CFrameWnd* frame)
{
    TkBmpMenuPlugIn* plugIn = new TkBmpMenuPlugIn(TRUE);
    plugIn->PlugInTo(frame);
    return plugIn;
}

BOOL TkBmpMenuPlugIn::PreTranslateFrameMessage(MSG* msg)
{
    return PreTranslateMessage(msg);
}

BOOL TkBmpMenuPlugIn::ActivateMenu(UINT)
{
    return FALSE;
}

void TkBmpMenuPlugIn::SetBmpMgr(TkBmpMgr* manager)
{
    if (!manager || manager == m_pBmpMgr)
        return;
    manager->AddRef();
    manager->SetKeepBoth(TRUE);
    m_pBmpMgr->Release();
    m_pBmpMgr = manager;
}

void TkBmpMenuPlugIn::ExcludeCommand(UINT id)
{
    m_excluded.SetAt(id, id);
}

BOOL TkBmpMenuPlugIn::IsExcluded(UINT id) const
{
    UINT value = 0;
    return m_excluded.Lookup(id, value);
}

CPtrList* TkBmpMenuPlugIn::InfoList(HMENU menu, BOOL create)
{
    void* list = NULL;
    if (m_menus.Lookup(menu, list))
        return static_cast<CPtrList*>(list);
    if (!create)
        return NULL;
    CPtrList* infos = new CPtrList(10);
    m_menus.SetAt(menu, infos);
    return infos;
}

TkBmpMenuItemInfo* TkBmpMenuPlugIn::FindInfo(HMENU menu, ULONG_PTR itemData) const
{
    void* list = NULL;
    if (!itemData || !m_menus.Lookup(menu, list))
        return NULL;
    CPtrList* infos = static_cast<CPtrList*>(list);
    return infos->Find((void*)itemData) ? (TkBmpMenuItemInfo*)itemData : NULL;
}

void TkBmpMenuPlugIn::InitMenuPopup(HMENU menu, LPARAM lParam)
{
    if (HIWORD(lParam) || !::IsMenu(menu))
        return;
    CPtrList* infos = InfoList(menu, TRUE);
    int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; position++)
    {
        MENUITEMINFOA item;
        char text[kTextBuffer];
        if (!GetItem(menu, position, &item, text, kTextBuffer))
            continue;
        if ((item.fType & (MFT_SEPARATOR | MFT_BITMAP)) ||
            (item.wID >= kFirstSystemCommand && item.wID <= kLastSystemCommand) ||
            IsExcluded(item.wID))
            continue;
        if (item.fType & MFT_OWNERDRAW)
        {
            if (!infos->Find((void*)item.dwItemData))
                ExcludeCommand(item.wID);
            continue;
        }
        TkBmpMenuItemInfo* info = new TkBmpMenuItemInfo(item.wID, text);
        SetOwnerDraw(menu, position, item.fType, (ULONG_PTR)info);
        infos->AddTail(info);
    }
}

std::vector<std::pair<HMENU, CPtrList*>> TkBmpMenuPlugIn::Menus() const
{
    std::vector<std::pair<HMENU, CPtrList*>> menus;
    for (POSITION position = m_menus.GetStartPosition(); position;)
    {
        void* key = NULL;
        void* value = NULL;
        m_menus.GetNextAssoc(position, key, value);
        menus.push_back({(HMENU)key, static_cast<CPtrList*>(value)});
    }
    return menus;
}

std::vector<TkBmpMenuPlugIn::Converted> TkBmpMenuPlugIn::ConvertedItems(HMENU menu,
                                                                        const CPtrList* infos)
{
    std::vector<Converted> items;
    int count = ::IsMenu(menu) ? ::GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; i++)
    {
        MENUITEMINFOA item;
        char text[kTextBuffer];
        if (GetItem(menu, i, &item, text, kTextBuffer) && (item.fType & MFT_OWNERDRAW) &&
            infos->Find((void*)item.dwItemData))
            items.push_back({(UINT)i, item.fType, (TkBmpMenuItemInfo*)item.dwItemData});
    }
    return items;
}

void TkBmpMenuPlugIn::PurgeMenus()
{
    for (const auto& entry : Menus())
    {
        HMENU menu = entry.first;
        CPtrList* infos = entry.second;
        BOOL gone = !::IsMenu(menu);
        for (POSITION p = infos->GetHeadPosition(); p;)
        {
            POSITION current = p;
            TkBmpMenuItemInfo* info = static_cast<TkBmpMenuItemInfo*>(infos->GetNext(p));
            MENUITEMINFOA item = {sizeof(item)};
            item.fMask = MIIM_FTYPE | MIIM_DATA;
            BOOL present = !gone && ::GetMenuItemInfoA(menu, info->m_nID, FALSE, &item) &&
                           (item.fType & MFT_OWNERDRAW) && item.dwItemData == (ULONG_PTR)info;
            if (!present)
            {
                infos->RemoveAt(current);
                delete info;
            }
        }
        if (gone)
        {
            m_menus.RemoveKey(menu);
            delete infos;
        }
    }
}

// Every converted item goes back to its text, so menus outlive the plug-in.
void TkBmpMenuPlugIn::RestoreMenus()
{
    for (const auto& entry : Menus())
    {
        for (const Converted& item : ConvertedItems(entry.first, entry.second))
            SetPlainText(entry.first, item.position, item.type, item.info->m_strText);
        for (POSITION p = entry.second->GetHeadPosition(); p;)
            delete static_cast<TkBmpMenuItemInfo*>(entry.second->GetNext(p));
        delete entry.second;
    }
    m_menus.RemoveAll();
}

// Items set back to text and again to owner-draw are measured anew.
void TkBmpMenuPlugIn::RemeasureItems()
{
    for (const auto& entry : Menus())
    {
        for (const Converted& item : ConvertedItems(entry.first, entry.second))
        {
            SetPlainText(entry.first, item.position, item.type, item.info->m_strText);
            SetOwnerDraw(entry.first, item.position, item.type & ~MFT_OWNERDRAW,
                         (ULONG_PTR)item.info);
        }
    }
}

void TkBmpMenuPlugIn::CreateMenuFont()
{
    TkCreateMenuFont(m_menuFont);
}

void TkBmpMenuPlugIn::CreateBoldMenuFont()
{
    TkCreateMenuFont(m_boldFont, FW_BOLD);
}

CFont* TkBmpMenuPlugIn::ItemFont(BOOL bold)
{
    if (bold)
    {
        if (!m_boldFont.GetSafeHandle())
            CreateBoldMenuFont();
        return &m_boldFont;
    }
    if (!m_menuFont.GetSafeHandle())
        CreateMenuFont();
    return &m_menuFont;
}

void TkBmpMenuPlugIn::Handled(LRESULT result)
{
    SetRoutingFlags(kHandled);
    SetListenerResult(result);
}

LRESULT TkBmpMenuPlugIn::OnInitMenuPopupMsg(WPARAM wParam, LPARAM lParam)
{
    InitMenuPopup((HMENU)wParam, lParam);
    return 0;
}

LRESULT TkBmpMenuPlugIn::OnMeasureItemMsg(WPARAM, LPARAM lParam)
{
    MEASUREITEMSTRUCT* measure = (MEASUREITEMSTRUCT*)lParam;
    if (!measure || measure->CtlType != ODT_MENU)
        return 0;
    // WM_MEASUREITEM names no menu: the item data must be one of ours.
    TkBmpMenuItemInfo* info = NULL;
    for (const auto& entry : Menus())
    {
        if (entry.second->Find((void*)measure->itemData))
            info = (TkBmpMenuItemInfo*)measure->itemData;
    }
    if (!info)
        return 0;
    CWindowDC dc(NULL);
    CFont* old = dc.SelectObject(ItemFont(FALSE));
    CRect text(0, 0, 0, 0);
    dc.DrawText(info->m_strText, &text, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
    dc.SelectObject(old);
    CSize image = m_pBmpMgr->GetSmallSize();
    measure->itemWidth = text.Width() + image.cx + 30;
    measure->itemHeight = std::max<int>(text.Height(),
                                        std::max<int>(::GetSystemMetrics(SM_CYMENU), image.cy + 4));
    Handled(TRUE);
    return TRUE;
}

LRESULT TkBmpMenuPlugIn::OnDrawItemMsg(WPARAM, LPARAM lParam)
{
    DRAWITEMSTRUCT* draw = (DRAWITEMSTRUCT*)lParam;
    if (!draw || draw->CtlType != ODT_MENU || !::IsMenu((HMENU)draw->hwndItem))
        return 0;
    TkBmpMenuItemInfo* info = FindInfo((HMENU)draw->hwndItem, draw->itemData);
    if (!info)
        return 0;
    CDC* dc = CDC::FromHandle(draw->hDC);
    HBITMAP image = NULL;
    int index = -1;
    if (!m_pBmpMgr->GetImage(info->m_nID, &image, &index, TRUE))
        index = -1;
    CSize size = m_pBmpMgr->GetSmallSize();
    CRect item(draw->rcItem);
    CRect column(item.left, item.top, item.left + size.cx + 4, item.bottom);
    DrawItemImage(draw, dc, column, image, index, size.cx, size.cy);
    CRect area(column.right, item.top, item.right, item.bottom);
    DrawItemText(draw, dc, area, info);
    Handled(TRUE);
    return TRUE;
}

void TkBmpMenuPlugIn::DrawItemText(const DRAWITEMSTRUCT* draw, CDC* dc, const CRect& area,
                                   const TkBmpMenuItemInfo* info)
{
    BOOL selected = (draw->itemState & ODS_SELECTED) != 0;
    BOOL disabled = (draw->itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
    dc->FillSolidRect(&area, selected ? m_clrHighlight : m_clrMenu);
    CString label = info->m_strText;
    CString accelerator;
    int tab = label.Find('\t');
    if (tab >= 0)
    {
        accelerator = label.Mid(tab + 1);
        label = label.Left(tab);
    }
    CFont* old = dc->SelectObject(ItemFont((draw->itemState & ODS_DEFAULT) != 0));
    int oldMode = dc->SetBkMode(TRANSPARENT);
    CRect text(area.left + kTextGap, area.top, area.right - kRightMargin, area.bottom);
    const UINT labelFormat = DT_SINGLELINE | DT_VCENTER;
    const UINT keyFormat = DT_SINGLELINE | DT_VCENTER | DT_RIGHT;
    if (disabled && !selected)
    {
        CRect shifted(text);
        shifted.OffsetRect(1, 1);
        dc->SetTextColor(m_clrEmbossLight);
        dc->DrawText(label, &shifted, labelFormat);
        dc->DrawText(accelerator, &shifted, keyFormat);
        dc->SetTextColor(m_clrGrayText);
    }
    else if (disabled)
        dc->SetTextColor(m_clrMenu);
    else
        dc->SetTextColor(selected ? m_clrHighlightText : m_clrMenuText);
    dc->DrawText(label, &text, labelFormat);
    dc->DrawText(accelerator, &text, keyFormat);
    dc->SetBkMode(oldMode);
    dc->SelectObject(old);
}

void TkBmpMenuPlugIn::CreateImageMask(CDC* dc, CBitmap* mask, int width, int height, int imageX)
{
    CDC maskDC;
    maskDC.CreateCompatibleDC(dc);
    mask->CreateBitmap(width, height, 1, 1, NULL);
    CBitmap* old = maskDC.SelectObject(mask);
    maskDC.PatBlt(0, 0, width, height, WHITENESS);
    COLORREF oldBack = dc->SetBkColor(m_clrFace);
    maskDC.BitBlt(0, 0, width, height, dc, imageX, 0, SRCCOPY);
    dc->SetBkColor(m_clrPatternLight);
    maskDC.BitBlt(0, 0, width, height, dc, imageX, 0, kRopMergePaint);
    dc->SetBkColor(oldBack);
    maskDC.SelectObject(old);
}

void TkBmpMenuPlugIn::DrawCheckedPattern(CDC* dc, int x, int y, int width, int height,
                                         CDC* maskDC)
{
    if (!m_pattern.GetSafeHandle())
    {
        // A checkerboard of the face and highlight colours.
        CDC patternDC;
        patternDC.CreateCompatibleDC(dc);
        m_pattern.CreateCompatibleBitmap(dc, 8, 8);
        CBitmap* old = patternDC.SelectObject(&m_pattern);
        for (int py = 0; py < 8; py++)
            for (int px = 0; px < 8; px++)
                patternDC.SetPixel(px, py, ((px + py) & 1) ? m_clrPatternLight : m_clrFace);
        patternDC.SelectObject(old);
    }
    CBrush brush;
    brush.CreatePatternBrush(&m_pattern);
    CBrush* oldBrush = dc->SelectObject(&brush);
    COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
    COLORREF oldBack = dc->SetBkColor(RGB(255, 255, 255));
    dc->BitBlt(x, y, width, height, maskDC, 0, 0, kRopPatternOnMask);
    dc->SetTextColor(oldText);
    dc->SetBkColor(oldBack);
    dc->SelectObject(oldBrush);
}

void TkBmpMenuPlugIn::DrawDisabledImage(CDC* dc, int x, int y, int width, int height,
                                        CDC* maskDC)
{
    COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
    COLORREF oldBack = dc->SetBkColor(RGB(255, 255, 255));
    const COLORREF colors[] = {m_clrEmbossLight, m_clrShadow};
    for (int pass = 0; pass < 2; pass++)
    {
        CBrush brush(colors[pass]);
        CBrush* oldBrush = dc->SelectObject(&brush);
        int offset = pass == 0 ? 1 : 0;
        dc->BitBlt(x + offset, y + offset, width, height, maskDC, 0, 0, kRopMaskPattern);
        dc->SelectObject(oldBrush);
    }
    dc->SetTextColor(oldText);
    dc->SetBkColor(oldBack);
}

void TkBmpMenuPlugIn::DrawCheckMark(const DRAWITEMSTRUCT* draw, CDC* dc, const CRect& box)
{
    MENUITEMINFOA item = {sizeof(item)};
    item.fMask = MIIM_CHECKMARKS;
    ::GetMenuItemInfoA((HMENU)draw->hwndItem, draw->itemID, FALSE, &item);
    HBITMAP mark = item.hbmpChecked;
    BOOL own = FALSE;
    if (!mark && m_bRadioDot)
        own = (mark = ::CreateMappedBitmap(AfxGetResourceHandle(), kCheckMarkBitmap, 0, NULL,
                                           0)) != NULL;
    if (!mark)
        mark = ::LoadBitmapA(NULL, MAKEINTRESOURCEA(kSystemCheckBitmap));
    BITMAP info = {};
    if (!mark || !::GetObjectA(mark, sizeof(info), &info))
        return;
    CDC markDC;
    markDC.CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(markDC.m_hDC, mark);
    COLORREF oldText = dc->SetTextColor(m_clrMenuText);
    COLORREF oldBack =
        dc->SetBkColor((draw->itemState & ODS_SELECTED) ? m_clrHighlight : m_clrMenu);
    int x = box.left + (box.Width() - info.bmWidth) / 2;
    int y = box.top + (box.Height() - info.bmHeight) / 2;
    dc->BitBlt(x, y, info.bmWidth, info.bmHeight, &markDC, 0, 0, SRCCOPY);
    dc->SetTextColor(oldText);
    dc->SetBkColor(oldBack);
    ::SelectObject(markDC.m_hDC, old);
    if (own || mark != item.hbmpChecked)
        ::DeleteObject(mark);
}

void TkBmpMenuPlugIn::DrawItemImage(const DRAWITEMSTRUCT* draw, CDC* dc, const CRect& column,
                                    HBITMAP image, int index, int width, int height)
{
    BOOL selected = (draw->itemState & ODS_SELECTED) != 0;
    BOOL checked = (draw->itemState & ODS_CHECKED) != 0;
    BOOL disabled = (draw->itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
    if (index < 0 || !image)
    {
        dc->FillSolidRect(&column, selected ? m_clrHighlight : m_clrMenu);
        if (checked)
            DrawCheckMark(draw, dc, column);
        return;
    }
    dc->FillSolidRect(&column, m_clrMenu);
    CRect box(column);
    int boxHeight = height + 4;
    box.top = column.top + (column.Height() - boxHeight) / 2;
    box.bottom = box.top + boxHeight;
    if (checked)
        dc->DrawEdge(&box, BDR_SUNKENOUTER, BF_RECT);
    else if (selected && !disabled)
        dc->DrawEdge(&box, BDR_RAISEDINNER, BF_RECT);
    int x = box.left + 2;
    int y = box.top + 2;
    CDC imageDC;
    imageDC.CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(imageDC.m_hDC, image);
    if (!disabled)
        dc->BitBlt(x, y, width, height, &imageDC, index * width, 0, SRCCOPY);
    if (disabled || (checked && !selected))
    {
        CBitmap mask;
        CreateImageMask(&imageDC, &mask, width, height, index * width);
        CDC maskDC;
        maskDC.CreateCompatibleDC(dc);
        CBitmap* oldMask = maskDC.SelectObject(&mask);
        if (disabled)
            DrawDisabledImage(dc, x, y, width, height, &maskDC);
        else
            DrawCheckedPattern(dc, x, y, width, height, &maskDC);
        maskDC.SelectObject(oldMask);
    }
    ::SelectObject(imageDC.m_hDC, old);
}

// One match executes, several select in turn after the highlighted item.
LRESULT TkBmpMenuPlugIn::OnMenuCharMsg(WPARAM wParam, LPARAM lParam)
{
    HMENU menu = (HMENU)lParam;
    char ch = (char)(UINT_PTR)::CharLowerA((LPSTR)(UINT_PTR)(BYTE)LOWORD(wParam));
    CPtrList* infos = ::IsMenu(menu) ? InfoList(menu, FALSE) : NULL;
    if (!infos)
        return 0;
    CArray<int, int> matches;
    int highlighted = -1;
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; i++)
    {
        MENUITEMINFOA item;
        char text[kTextBuffer];
        if (!GetItem(menu, i, &item, text, kTextBuffer))
            continue;
        if (item.fState & MFS_HILITE)
            highlighted = i;
        TkBmpMenuItemInfo* info = (item.fType & MFT_OWNERDRAW) ? FindInfo(menu, item.dwItemData)
                                                               : NULL;
        if (info && !IsExcluded(info->m_nID) && info->m_chMnemonic == ch)
            matches.Add(i);
    }
    if (matches.GetSize() == 0)
        return 0;
    LRESULT result;
    if (matches.GetSize() == 1)
        result = MAKELRESULT(matches[0], MNC_EXECUTE);
    else
    {
        int chosen = matches[0];
        for (int i = 0; i < matches.GetSize(); i++)
        {
            if (matches[i] > highlighted)
            {
                chosen = matches[i];
                break;
            }
        }
        result = MAKELRESULT(chosen, MNC_SELECT);
    }
    Handled(result);
    return result;
}

LRESULT TkBmpMenuPlugIn::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    PurgeMenus();
    return 0;
}

LRESULT TkBmpMenuPlugIn::OnSettingChangeMsg(WPARAM, LPARAM)
{
    m_menuFont.DeleteObject();
    m_boldFont.DeleteObject();
    m_pBmpMgr->ReloadBitmaps(TRUE);
    PurgeMenus();
    RemeasureItems();
    return 0;
}

LRESULT TkBmpMenuPlugIn::OnSysColorChangeMsg(WPARAM, LPARAM)
{
    RefreshColors();
    m_pattern.DeleteObject();
    m_pBmpMgr->ReloadBitmaps(TRUE);
    return 0;
}
