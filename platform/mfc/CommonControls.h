// Thin objects over the smaller common controls: header, tab, progress bar,
// slider, spin button, tool tips, date-time picker and rich edit.
#pragma once

#include "platform/mfc/Wnd.h"

#include <commctrl.h>
#include <richedit.h>

class CImageList;

class CHeaderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    int GetItemCount() const;
    int InsertItem(int index, HDITEMA* item);
    BOOL DeleteItem(int index);
    BOOL GetItem(int index, HDITEMA* item) const;
    BOOL SetItem(int index, HDITEMA* item);
    BOOL GetItemRect(int index, LPRECT rect) const;
    BOOL GetOrderArray(LPINT order, int count) const;
    BOOL SetOrderArray(int count, LPINT order);
    int OrderToIndex(int order) const;
    int HitTest(HDHITTESTINFO* info);
    CImageList* GetImageList() const;
    CImageList* SetImageList(CImageList* imageList);

    // Owner-drawn items, reflected from the parent.
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class CTabCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTabCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    int GetItemCount() const;
    LONG InsertItem(int index, LPCSTR text, int image = -1);
    BOOL DeleteItem(int index);
    BOOL DeleteAllItems();
    BOOL GetItem(int index, TCITEMA* item) const;
    BOOL SetItem(int index, TCITEMA* item);
    int GetCurSel() const;
    int SetCurSel(int index);
    BOOL GetItemRect(int index, LPRECT rect) const;
    void AdjustRect(BOOL larger, LPRECT rect);
    CImageList* SetImageList(CImageList* imageList);
};

class CProgressCtrl : public CWnd
{
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    void SetRange(short lower, short upper);
    void SetRange32(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    int GetPos() const;
    int SetPos(int pos);
    int OffsetPos(int pos);
    int SetStep(int step);
    int StepIt();
};

class CSliderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    void SetRange(int minPos, int maxPos, BOOL redraw = FALSE);
    void GetRange(int& minPos, int& maxPos) const;
    int GetRangeMin() const;
    int GetRangeMax() const;
    int GetPos() const;
    void SetPos(int pos);
    int GetLineSize() const;
    int SetLineSize(int size);
    int GetPageSize() const;
    int SetPageSize(int size);
    void SetTicFreq(int frequency);
    void ClearTics(BOOL redraw = FALSE);
};

class CSpinButtonCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    void SetRange(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    int GetPos() const;
    int SetPos(int pos);
    CWnd* GetBuddy() const;
    CWnd* SetBuddy(CWnd* buddy);
    int SetBase(int base);
};

class CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    BOOL Create(CWnd* parentWnd, DWORD style = 0);

    // A tool: a rectangle of window (id) or, with id 0, the whole window.
    BOOL AddTool(CWnd* wnd, LPCSTR text, LPCRECT toolRect = NULL, UINT_PTR id = 0);
    void DelTool(CWnd* wnd, UINT_PTR id = 0);
    void UpdateTipText(LPCSTR text, CWnd* wnd, UINT_PTR id = 0);
    void SetToolRect(CWnd* wnd, UINT_PTR id, LPCRECT rect);
    int GetToolCount() const;
    void Activate(BOOL activate);
    // Mouse messages the tool tip must see to know when to show itself.
    void RelayEvent(LPMSG msg);
    int SetMaxTipWidth(int width);
    void SetDelayTime(UINT delay);
    void SetDelayTime(DWORD kind, int time);
    void Pop();

private:
    void FillInToolInfo(TTTOOLINFOA& info, CWnd* wnd, UINT_PTR id) const;
};

class CDateTimeCtrl : public CWnd
{
    DECLARE_DYNAMIC(CDateTimeCtrl)
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    // GDT_VALID, or GDT_NONE when a control with a check box is unchecked.
    DWORD GetTime(LPSYSTEMTIME time) const;
    BOOL SetTime(const SYSTEMTIME* time);
    BOOL SetFormat(LPCSTR format);
    BOOL SetRange(const SYSTEMTIME* minTime, const SYSTEMTIME* maxTime);
};

class CRichEditCtrl : public CWnd
{
    DECLARE_DYNAMIC(CRichEditCtrl)
public:
    // Loads the rich edit library the control's class comes from.
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    void GetSel(long& start, long& end) const;
    void SetSel(long start, long end);
    void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE);
    CString GetSelText() const;
    long GetTextLength() const;
    void LimitText(long maxChars = 0);
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    DWORD GetEventMask() const;
    DWORD SetEventMask(DWORD mask);
    COLORREF SetBackgroundColor(BOOL systemColor, COLORREF color);
    BOOL SetDefaultCharFormat(CHARFORMATA& format);
    BOOL SetSelectionCharFormat(CHARFORMATA& format);
    DWORD GetSelectionCharFormat(CHARFORMATA& format) const;
    long LineFromChar(long charIndex) const;
    int LineIndex(int line = -1) const;
    int GetLineCount() const;
    POINT GetCharPos(long charIndex) const;
    BOOL CanUndo() const;
    BOOL Undo();
    void Cut();
    void Copy();
    void Paste();
    void Clear();
    void EmptyUndoBuffer();
    BOOL GetModify() const;
    void SetModify(BOOL modified = TRUE);
};
