// CTreeCtrl: the tree-view common control.
#pragma once

#include "platform/mfc/StdControls.h"

#include <commctrl.h>

class CImageList;

class CTreeCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    HTREEITEM InsertItem(LPTVINSERTSTRUCTA insert);
    HTREEITEM InsertItem(LPCSTR text, HTREEITEM parent = TVI_ROOT,
                         HTREEITEM after = TVI_LAST);
    HTREEITEM InsertItem(LPCSTR text, int image, int selectedImage,
                         HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    BOOL DeleteItem(HTREEITEM item);
    BOOL DeleteAllItems();
    UINT GetCount() const;
    BOOL GetItem(TVITEMA* item) const;
    BOOL SetItem(TVITEMA* item);
    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, LPCSTR text);
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    BOOL SetItemImage(HTREEITEM item, int image, int selectedImage);
    UINT GetItemState(HTREEITEM item, UINT mask) const;
    BOOL SetItemState(HTREEITEM item, UINT state, UINT mask);
    BOOL GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const;
    BOOL ItemHasChildren(HTREEITEM item) const;

    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
    HTREEITEM GetRootItem() const;
    HTREEITEM GetChildItem(HTREEITEM item) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const;
    HTREEITEM GetParentItem(HTREEITEM item) const;
    HTREEITEM GetSelectedItem() const;
    HTREEITEM GetDropHilightItem() const;
    HTREEITEM GetFirstVisibleItem() const;
    BOOL SelectItem(HTREEITEM item);
    BOOL SelectDropTarget(HTREEITEM item);
    BOOL Expand(HTREEITEM item, UINT code);
    BOOL EnsureVisible(HTREEITEM item);
    BOOL SortChildren(HTREEITEM item);
    HTREEITEM HitTest(POINT point, UINT* flags = NULL) const;
    HTREEITEM HitTest(TVHITTESTINFO* info) const;

    CImageList* GetImageList(int kind) const;
    CImageList* SetImageList(CImageList* imageList, int kind);
    UINT GetIndent() const;
    void SetIndent(UINT indent);
    CEdit* EditLabel(HTREEITEM item);
    CEdit* GetEditControl() const;
};
