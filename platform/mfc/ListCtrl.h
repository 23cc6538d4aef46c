// CListCtrl: the list-view common control.
#pragma once

#include "platform/mfc/StdControls.h"

#include <commctrl.h>

class CHeaderCtrl;
class CImageList;

class CListCtrl : public CWnd
{
    DECLARE_DYNAMIC(CListCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    int GetItemCount() const;
    BOOL SetItemCount(int count);
    int InsertItem(const LVITEMA* item);
    int InsertItem(int index, LPCSTR text);
    int InsertItem(int index, LPCSTR text, int image);
    BOOL DeleteItem(int index);
    BOOL DeleteAllItems();
    BOOL GetItem(LVITEMA* item) const;
    BOOL SetItem(const LVITEMA* item);
    CString GetItemText(int index, int subItem) const;
    int GetItemText(int index, int subItem, LPSTR text, int maxLength) const;
    BOOL SetItemText(int index, int subItem, LPCSTR text);
    DWORD_PTR GetItemData(int index) const;
    BOOL SetItemData(int index, DWORD_PTR data);
    UINT GetItemState(int index, UINT mask) const;
    BOOL SetItemState(int index, UINT state, UINT mask);
    BOOL GetItemRect(int index, LPRECT rect, UINT code) const;
    BOOL GetSubItemRect(int index, int subItem, int area, RECT& rect) const;
    BOOL GetItemPosition(int index, LPPOINT point) const;

    // -1 when there is none.
    int FindItem(LVFINDINFOA* find, int start = -1) const;
    int GetNextItem(int index, int flags) const;
    int GetSelectedCount() const;
    int GetSelectionMark() const;
    int SetSelectionMark(int index);
    // Selected items: a position to walk with GetNextSelectedItem; NULL when none.
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& position) const;
    int HitTest(LVHITTESTINFO* info) const;
    int HitTest(POINT point, UINT* flags = NULL) const;
    int SubItemHitTest(LVHITTESTINFO* info);
    BOOL EnsureVisible(int index, BOOL partialOK);
    BOOL Scroll(SIZE size);
    BOOL RedrawItems(int first, int last);
    BOOL Update(int index);
    int GetTopIndex() const;
    int GetCountPerPage() const;
    BOOL SortItems(PFNLVCOMPARE compare, DWORD_PTR data);

    int InsertColumn(int index, const LVCOLUMNA* column);
    int InsertColumn(int index, LPCSTR heading, int format = LVCFMT_LEFT, int width = -1,
                     int subItem = -1);
    BOOL DeleteColumn(int index);
    BOOL GetColumn(int index, LVCOLUMNA* column) const;
    BOOL SetColumn(int index, const LVCOLUMNA* column);
    int GetColumnWidth(int index) const;
    BOOL SetColumnWidth(int index, int width);
    BOOL GetColumnOrderArray(LPINT order, int count = -1);
    BOOL SetColumnOrderArray(int count, LPINT order);
    CHeaderCtrl* GetHeaderCtrl();

    DWORD GetExtendedStyle() const;
    DWORD SetExtendedStyle(DWORD exStyle);
    CImageList* GetImageList(int kind) const;
    CImageList* SetImageList(CImageList* imageList, int kind);
    COLORREF GetBkColor() const;
    BOOL SetBkColor(COLORREF color);
    COLORREF GetTextColor() const;
    BOOL SetTextColor(COLORREF color);
    COLORREF GetTextBkColor() const;
    BOOL SetTextBkColor(COLORREF color);
    CEdit* EditLabel(int index);
    CEdit* GetEditControl() const;
    int GetStringWidth(LPCSTR text) const;
};
