// The standard controls of USER: thin objects over their windows that send
// the controls' own messages. Create makes a child window of the control's class.
#pragma once

#include "platform/mfc/Wnd.h"

class CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int GetCheck() const;
    void SetCheck(int check);
    UINT GetState() const;
    void SetState(BOOL highlight);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const;
    HICON SetIcon(HICON icon);
    HICON GetIcon() const;

    // Owner-drawn buttons draw themselves when their parent reflects WM_DRAWITEM.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parentWnd,
                UINT id = 0xFFFF);
    HICON SetIcon(HICON icon);
    HICON GetIcon() const;
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const;
};

class CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    BOOL CanUndo() const;
    BOOL Undo();
    void Cut();
    void Copy();
    void Paste();
    void Clear();
    int GetLineCount() const;
    int LineIndex(int line = -1) const;
    int LineLength(int charIndex = -1) const;
    int LineFromChar(int charIndex = -1) const;
    int GetFirstVisibleLine() const;
    void LineScroll(int lines, int chars = 0);
    int GetLine(int line, LPSTR buffer, int maxLength) const;
    void GetSel(int& start, int& end) const;
    DWORD GetSel() const;
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void SetSel(DWORD selection, BOOL noScroll = FALSE);
    void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE);
    void LimitText(int maxChars = 0);
    UINT GetLimitText() const;
    BOOL GetModify() const;
    void SetModify(BOOL modified = TRUE);
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    void SetPasswordChar(char ch);
    void GetRect(LPRECT rect) const;
    void SetRect(LPCRECT rect);
    void SetMargins(UINT left, UINT right);
    POINT PosFromChar(UINT charIndex) const;
    int CharFromPos(POINT point) const;
};

class CListBox : public CWnd
{
    DECLARE_DYNAMIC(CListBox)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    int GetCount() const;
    int AddString(LPCSTR text);
    int InsertString(int index, LPCSTR text);
    int DeleteString(UINT index);
    void ResetContent();
    int GetText(int index, LPSTR buffer) const;
    void GetText(int index, CString& text) const;
    int GetTextLen(int index) const;
    int FindString(int startAfter, LPCSTR text) const;
    int FindStringExact(int startAfter, LPCSTR text) const;
    int SelectString(int startAfter, LPCSTR text);
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetSel(int index) const;
    int SetSel(int index, BOOL select = TRUE);
    int GetSelCount() const;
    int GetSelItems(int maxItems, LPINT items) const;
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    void* GetItemDataPtr(int index) const;
    int SetItemDataPtr(int index, void* data);
    int GetItemRect(int index, LPRECT rect) const;
    int GetItemHeight(int index) const;
    int SetItemHeight(int index, UINT height);
    int GetTopIndex() const;
    int SetTopIndex(int index);
    int GetCaretIndex() const;
    int SetCaretIndex(int index, BOOL scroll = TRUE);
    void SetHorizontalExtent(int extent);
    // The nearest item; outside is TRUE when the point lies outside every item.
    UINT ItemFromPoint(POINT point, BOOL& outside) const;

    // Owner-drawn list boxes, reflected from the parent.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT measureItem);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT compareItem);
    virtual void DeleteItem(LPDELETEITEMSTRUCT deleteItem);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CComboBox : public CWnd
{
    DECLARE_DYNAMIC(CComboBox)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    int GetCount() const;
    int AddString(LPCSTR text);
    int InsertString(int index, LPCSTR text);
    int DeleteString(UINT index);
    void ResetContent();
    int GetLBText(int index, LPSTR buffer) const;
    void GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const;
    int FindString(int startAfter, LPCSTR text) const;
    int FindStringExact(int startAfter, LPCSTR text) const;
    int SelectString(int startAfter, LPCSTR text);
    int GetCurSel() const;
    int SetCurSel(int index);
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    void* GetItemDataPtr(int index) const;
    int SetItemDataPtr(int index, void* data);
    void ShowDropDown(BOOL show = TRUE);
    BOOL GetDroppedState() const;
    int SetDroppedWidth(UINT width);
    BOOL LimitText(int maxChars);
    DWORD GetEditSel() const;
    BOOL SetEditSel(int start, int end);
    int GetItemHeight(int index) const;
    int SetItemHeight(int index, UINT height);

    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT measureItem);
    virtual int CompareItem(LPCOMPAREITEMSTRUCT compareItem);
    virtual void DeleteItem(LPDELETEITEMSTRUCT deleteItem);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CScrollBar : public CWnd
{
    DECLARE_DYNAMIC(CScrollBar)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    int GetScrollPos() const;
    int SetScrollPos(int pos, BOOL redraw = TRUE);
    void GetScrollRange(LPINT minPos, LPINT maxPos) const;
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE);
    BOOL GetScrollInfo(LPSCROLLINFO info, UINT mask = SIF_ALL);
    BOOL SetScrollInfo(LPSCROLLINFO info, BOOL redraw = TRUE);
    void ShowScrollBar(BOOL show = TRUE);
};
