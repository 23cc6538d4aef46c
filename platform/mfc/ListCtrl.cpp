#include "platform/mfc/ListCtrl.h"
#include "platform/mfc/CommonControls.h"
#include "platform/mfc/ImageList.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    return CWnd::Create(WC_LISTVIEWA, NULL, style, rect, parentWnd, id);
}

int CListCtrl::GetItemCount() const
{
    return (int)SendMessage(LVM_GETITEMCOUNT);
}

BOOL CListCtrl::SetItemCount(int count)
{
    return (BOOL)SendMessage(LVM_SETITEMCOUNT, count);
}

int CListCtrl::InsertItem(const LVITEMA* item)
{
    return (int)SendMessage(LVM_INSERTITEMA, 0, (LPARAM)item);
}

int CListCtrl::InsertItem(int index, LPCSTR text)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = (LPSTR)text;
    return InsertItem(&item);
}

int CListCtrl::InsertItem(int index, LPCSTR text, int image)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = (LPSTR)text;
    item.iImage = image;
    return InsertItem(&item);
}

BOOL CListCtrl::DeleteItem(int index)
{
    return (BOOL)SendMessage(LVM_DELETEITEM, index);
}

BOOL CListCtrl::DeleteAllItems()
{
    return (BOOL)SendMessage(LVM_DELETEALLITEMS);
}

BOOL CListCtrl::GetItem(LVITEMA* item) const
{
    return (BOOL)SendMessage(LVM_GETITEMA, 0, (LPARAM)item);
}

BOOL CListCtrl::SetItem(const LVITEMA* item)
{
    return (BOOL)SendMessage(LVM_SETITEMA, 0, (LPARAM)item);
}

int CListCtrl::GetItemText(int index, int subItem, LPSTR text, int maxLength) const
{
    LVITEMA item = {};
    item.iSubItem = subItem;
    item.pszText = text;
    item.cchTextMax = maxLength;
    return (int)SendMessage(LVM_GETITEMTEXTA, index, (LPARAM)&item);
}

CString CListCtrl::GetItemText(int index, int subItem) const
{
    // The control does not tell the length: grow until the text fits.
    CString text;
    for (int size = 256;; size *= 2)
    {
        int length = GetItemText(index, subItem, text.GetBuffer(size), size);
        text.ReleaseBuffer(length);
        if (length < size - 1)
            return text;
    }
}

BOOL CListCtrl::SetItemText(int index, int subItem, LPCSTR text)
{
    LVITEMA item = {};
    item.iSubItem = subItem;
    item.pszText = (LPSTR)text;
    return (BOOL)SendMessage(LVM_SETITEMTEXTA, index, (LPARAM)&item);
}

DWORD_PTR CListCtrl::GetItemData(int index) const
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    return GetItem(&item) ? (DWORD_PTR)item.lParam : 0;
}

BOOL CListCtrl::SetItemData(int index, DWORD_PTR data)
{
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = (LPARAM)data;
    return SetItem(&item);
}

UINT CListCtrl::GetItemState(int index, UINT mask) const
{
    return (UINT)SendMessage(LVM_GETITEMSTATE, index, mask);
}

BOOL CListCtrl::SetItemState(int index, UINT state, UINT mask)
{
    LVITEMA item = {};
    item.state = state;
    item.stateMask = mask;
    return (BOOL)SendMessage(LVM_SETITEMSTATE, index, (LPARAM)&item);
}

BOOL CListCtrl::GetItemRect(int index, LPRECT rect, UINT code) const
{
    rect->left = code;
    return (BOOL)SendMessage(LVM_GETITEMRECT, index, (LPARAM)rect);
}

BOOL CListCtrl::GetSubItemRect(int index, int subItem, int area, RECT& rect) const
{
    rect.top = subItem;
    rect.left = area;
    return (BOOL)SendMessage(LVM_GETSUBITEMRECT, index, (LPARAM)&rect);
}

BOOL CListCtrl::GetItemPosition(int index, LPPOINT point) const
{
    return (BOOL)SendMessage(LVM_GETITEMPOSITION, index, (LPARAM)point);
}

int CListCtrl::FindItem(LVFINDINFOA* find, int start) const
{
    return (int)SendMessage(LVM_FINDITEMA, start, (LPARAM)find);
}

int CListCtrl::GetNextItem(int index, int flags) const
{
    return (int)SendMessage(LVM_GETNEXTITEM, index, MAKELPARAM(flags, 0));
}

int CListCtrl::GetSelectedCount() const
{
    return (int)SendMessage(LVM_GETSELECTEDCOUNT);
}

int CListCtrl::GetSelectionMark() const
{
    return (int)SendMessage(LVM_GETSELECTIONMARK);
}

int CListCtrl::SetSelectionMark(int index)
{
    return (int)SendMessage(LVM_SETSELECTIONMARK, 0, index);
}

// A position is the item's index plus one, so that NULL can end the walk.
POSITION CListCtrl::GetFirstSelectedItemPosition() const
{
    return (POSITION)(INT_PTR)(GetNextItem(-1, LVNI_SELECTED) + 1);
}

int CListCtrl::GetNextSelectedItem(POSITION& position) const
{
    int index = (int)(INT_PTR)position - 1;
    position = (POSITION)(INT_PTR)(GetNextItem(index, LVNI_SELECTED) + 1);
    return index;
}

int CListCtrl::HitTest(LVHITTESTINFO* info) const
{
    return (int)SendMessage(LVM_HITTEST, 0, (LPARAM)info);
}

int CListCtrl::HitTest(POINT point, UINT* flags) const
{
    LVHITTESTINFO info = {};
    info.pt = point;
    int index = HitTest(&info);
    if (flags)
        *flags = info.flags;
    return index;
}

int CListCtrl::SubItemHitTest(LVHITTESTINFO* info)
{
    return (int)SendMessage(LVM_SUBITEMHITTEST, 0, (LPARAM)info);
}

BOOL CListCtrl::EnsureVisible(int index, BOOL partialOK)
{
    return (BOOL)SendMessage(LVM_ENSUREVISIBLE, index, partialOK);
}

BOOL CListCtrl::Scroll(SIZE size)
{
    return (BOOL)SendMessage(LVM_SCROLL, size.cx, size.cy);
}

BOOL CListCtrl::RedrawItems(int first, int last)
{
    return (BOOL)SendMessage(LVM_REDRAWITEMS, first, last);
}

BOOL CListCtrl::Update(int index)
{
    return (BOOL)SendMessage(LVM_UPDATE, index);
}

int CListCtrl::GetTopIndex() const
{
    return (int)SendMessage(LVM_GETTOPINDEX);
}

int CListCtrl::GetCountPerPage() const
{
    return (int)SendMessage(LVM_GETCOUNTPERPAGE);
}

BOOL CListCtrl::SortItems(PFNLVCOMPARE compare, DWORD_PTR data)
{
    return (BOOL)SendMessage(LVM_SORTITEMS, (WPARAM)data, (LPARAM)compare);
}

int CListCtrl::InsertColumn(int index, const LVCOLUMNA* column)
{
    return (int)SendMessage(LVM_INSERTCOLUMNA, index, (LPARAM)column);
}

int CListCtrl::InsertColumn(int index, LPCSTR heading, int format, int width, int subItem)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = (LPSTR)heading;
    column.fmt = format;
    if (width != -1)
    {
        column.mask |= LVCF_WIDTH;
        column.cx = width;
    }
    if (subItem != -1)
    {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = subItem;
    }
    return InsertColumn(index, &column);
}

BOOL CListCtrl::DeleteColumn(int index)
{
    return (BOOL)SendMessage(LVM_DELETECOLUMN, index);
}

BOOL CListCtrl::GetColumn(int index, LVCOLUMNA* column) const
{
    return (BOOL)SendMessage(LVM_GETCOLUMNA, index, (LPARAM)column);
}

BOOL CListCtrl::SetColumn(int index, const LVCOLUMNA* column)
{
    return (BOOL)SendMessage(LVM_SETCOLUMNA, index, (LPARAM)column);
}

int CListCtrl::GetColumnWidth(int index) const
{
    return (int)SendMessage(LVM_GETCOLUMNWIDTH, index);
}

BOOL CListCtrl::SetColumnWidth(int index, int width)
{
    return (BOOL)SendMessage(LVM_SETCOLUMNWIDTH, index, MAKELPARAM(width, 0));
}

BOOL CListCtrl::GetColumnOrderArray(LPINT order, int count)
{
    if (count == -1)
        count = GetHeaderCtrl()->GetItemCount();
    return (BOOL)SendMessage(LVM_GETCOLUMNORDERARRAY, count, (LPARAM)order);
}

BOOL CListCtrl::SetColumnOrderArray(int count, LPINT order)
{
    return (BOOL)SendMessage(LVM_SETCOLUMNORDERARRAY, count, (LPARAM)order);
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl()
{
    return (CHeaderCtrl*)FromHandle((HWND)SendMessage(LVM_GETHEADER));
}

DWORD CListCtrl::GetExtendedStyle() const
{
    return (DWORD)SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE);
}

DWORD CListCtrl::SetExtendedStyle(DWORD exStyle)
{
    return (DWORD)SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, exStyle);
}

CImageList* CListCtrl::GetImageList(int kind) const
{
    return CImageList::FromHandle((HIMAGELIST)SendMessage(LVM_GETIMAGELIST, kind));
}

CImageList* CListCtrl::SetImageList(CImageList* imageList, int kind)
{
    return CImageList::FromHandle((HIMAGELIST)SendMessage(
        LVM_SETIMAGELIST, kind, (LPARAM)imageList->GetSafeHandle()));
}

COLORREF CListCtrl::GetBkColor() const
{
    return (COLORREF)SendMessage(LVM_GETBKCOLOR);
}

BOOL CListCtrl::SetBkColor(COLORREF color)
{
    return (BOOL)SendMessage(LVM_SETBKCOLOR, 0, color);
}

COLORREF CListCtrl::GetTextColor() const
{
    return (COLORREF)SendMessage(LVM_GETTEXTCOLOR);
}

BOOL CListCtrl::SetTextColor(COLORREF color)
{
    return (BOOL)SendMessage(LVM_SETTEXTCOLOR, 0, color);
}

COLORREF CListCtrl::GetTextBkColor() const
{
    return (COLORREF)SendMessage(LVM_GETTEXTBKCOLOR);
}

BOOL CListCtrl::SetTextBkColor(COLORREF color)
{
    return (BOOL)SendMessage(LVM_SETTEXTBKCOLOR, 0, color);
}

CEdit* CListCtrl::EditLabel(int index)
{
    return (CEdit*)FromHandle((HWND)SendMessage(LVM_EDITLABELA, index));
}

CEdit* CListCtrl::GetEditControl() const
{
    return (CEdit*)FromHandle((HWND)SendMessage(LVM_GETEDITCONTROL));
}

int CListCtrl::GetStringWidth(LPCSTR text) const
{
    return (int)SendMessage(LVM_GETSTRINGWIDTHA, 0, (LPARAM)text);
}
