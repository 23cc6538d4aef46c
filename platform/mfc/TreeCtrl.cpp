#include "platform/mfc/TreeCtrl.h"
#include "platform/mfc/ImageList.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

BOOL CTreeCtrl::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    return CWnd::Create(WC_TREEVIEWA, NULL, style, rect, parentWnd, id);
}

HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCTA insert)
{
    return (HTREEITEM)SendMessage(TVM_INSERTITEMA, 0, (LPARAM)insert);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR text, HTREEITEM parent, HTREEITEM after)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = (LPSTR)text;
    return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(LPCSTR text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM after)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = (LPSTR)text;
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return InsertItem(&insert);
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM item)
{
    return (BOOL)SendMessage(TVM_DELETEITEM, 0, (LPARAM)item);
}

BOOL CTreeCtrl::DeleteAllItems()
{
    return DeleteItem(TVI_ROOT);
}

UINT CTreeCtrl::GetCount() const
{
    return (UINT)SendMessage(TVM_GETCOUNT);
}

BOOL CTreeCtrl::GetItem(TVITEMA* item) const
{
    return (BOOL)SendMessage(TVM_GETITEMA, 0, (LPARAM)item);
}

BOOL CTreeCtrl::SetItem(TVITEMA* item)
{
    return (BOOL)SendMessage(TVM_SETITEMA, 0, (LPARAM)item);
}

CString CTreeCtrl::GetItemText(HTREEITEM item) const
{
    // The control does not tell the length: grow until the text fits.
    CString text;
    for (int size = 256;; size *= 2)
    {
        TVITEMA info = {};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = text.GetBuffer(size);
        info.cchTextMax = size;
        BOOL found = GetItem(&info);
        text.ReleaseBuffer();
        if (!found)
        {
            text.Empty();
            return text;
        }
        if (text.GetLength() < size - 1)
            return text;
    }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, LPCSTR text)
{
    TVITEMA info = {};
    info.mask = TVIF_TEXT;
    info.hItem = item;
    info.pszText = (LPSTR)text;
    return SetItem(&info);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const
{
    TVITEMA info = {};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    return GetItem(&info) ? (DWORD_PTR)info.lParam : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data)
{
    TVITEMA info = {};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    info.lParam = (LPARAM)data;
    return SetItem(&info);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const
{
    TVITEMA info = {};
    info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = item;
    if (!GetItem(&info))
        return FALSE;
    image = info.iImage;
    selectedImage = info.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage)
{
    TVITEMA info = {};
    info.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    info.hItem = item;
    info.iImage = image;
    info.iSelectedImage = selectedImage;
    return SetItem(&info);
}

UINT CTreeCtrl::GetItemState(HTREEITEM item, UINT mask) const
{
    return (UINT)SendMessage(TVM_GETITEMSTATE, (WPARAM)item, mask);
}

BOOL CTreeCtrl::SetItemState(HTREEITEM item, UINT state, UINT mask)
{
    TVITEMA info = {};
    info.mask = TVIF_STATE;
    info.hItem = item;
    info.state = state;
    info.stateMask = mask;
    return SetItem(&info);
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const
{
    // The message takes the item in the rectangle it fills.
    *(HTREEITEM*)rect = item;
    return (BOOL)SendMessage(TVM_GETITEMRECT, textOnly, (LPARAM)rect);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const
{
    TVITEMA info = {};
    info.mask = TVIF_CHILDREN;
    info.hItem = item;
    return GetItem(&info) && info.cChildren != 0;
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const
{
    return (HTREEITEM)SendMessage(TVM_GETNEXTITEM, code, (LPARAM)item);
}

HTREEITEM CTreeCtrl::GetRootItem() const
{
    return GetNextItem(NULL, TVGN_ROOT);
}

HTREEITEM CTreeCtrl::GetChildItem(HTREEITEM item) const
{
    return GetNextItem(item, TVGN_CHILD);
}

HTREEITEM CTreeCtrl::GetNextSiblingItem(HTREEITEM item) const
{
    return GetNextItem(item, TVGN_NEXT);
}

HTREEITEM CTreeCtrl::GetPrevSiblingItem(HTREEITEM item) const
{
    return GetNextItem(item, TVGN_PREVIOUS);
}

HTREEITEM CTreeCtrl::GetParentItem(HTREEITEM item) const
{
    return GetNextItem(item, TVGN_PARENT);
}

HTREEITEM CTreeCtrl::GetSelectedItem() const
{
    return GetNextItem(NULL, TVGN_CARET);
}

HTREEITEM CTreeCtrl::GetDropHilightItem() const
{
    return GetNextItem(NULL, TVGN_DROPHILITE);
}

HTREEITEM CTreeCtrl::GetFirstVisibleItem() const
{
    return GetNextItem(NULL, TVGN_FIRSTVISIBLE);
}

BOOL CTreeCtrl::SelectItem(HTREEITEM item)
{
    return (BOOL)SendMessage(TVM_SELECTITEM, TVGN_CARET, (LPARAM)item);
}

BOOL CTreeCtrl::SelectDropTarget(HTREEITEM item)
{
    return (BOOL)SendMessage(TVM_SELECTITEM, TVGN_DROPHILITE, (LPARAM)item);
}

BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code)
{
    return (BOOL)SendMessage(TVM_EXPAND, code, (LPARAM)item);
}

BOOL CTreeCtrl::EnsureVisible(HTREEITEM item)
{
    return (BOOL)SendMessage(TVM_ENSUREVISIBLE, 0, (LPARAM)item);
}

BOOL CTreeCtrl::SortChildren(HTREEITEM item)
{
    return (BOOL)SendMessage(TVM_SORTCHILDREN, 0, (LPARAM)item);
}

HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO* info) const
{
    return (HTREEITEM)SendMessage(TVM_HITTEST, 0, (LPARAM)info);
}

HTREEITEM CTreeCtrl::HitTest(POINT point, UINT* flags) const
{
    TVHITTESTINFO info = {};
    info.pt = point;
    HTREEITEM item = HitTest(&info);
    if (flags)
        *flags = info.flags;
    return item;
}

CImageList* CTreeCtrl::GetImageList(int kind) const
{
    return CImageList::FromHandle((HIMAGELIST)SendMessage(TVM_GETIMAGELIST, kind));
}

CImageList* CTreeCtrl::SetImageList(CImageList* imageList, int kind)
{
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(TVM_SETIMAGELIST, kind, (LPARAM)imageList->GetSafeHandle()));
}

UINT CTreeCtrl::GetIndent() const
{
    return (UINT)SendMessage(TVM_GETINDENT);
}

void CTreeCtrl::SetIndent(UINT indent)
{
    SendMessage(TVM_SETINDENT, indent);
}

CEdit* CTreeCtrl::EditLabel(HTREEITEM item)
{
    return (CEdit*)FromHandle((HWND)SendMessage(TVM_EDITLABELA, 0, (LPARAM)item));
}

CEdit* CTreeCtrl::GetEditControl() const
{
    return (CEdit*)FromHandle((HWND)SendMessage(TVM_GETEDITCONTROL));
}
