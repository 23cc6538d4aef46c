#include "platform/mfc/CommonControls.h"
#include "platform/mfc/ImageList.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)
IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

namespace
{
LPCSTR const kRichEditLibrary = "riched20.dll";
}

BOOL CHeaderCtrl::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    return CWnd::Create(WC_HEADERA, NULL, style, rect, parentWnd, id);
}

int CHeaderCtrl::GetItemCount() const
{
    return (int)SendMessage(HDM_GETITEMCOUNT);
}

int CHeaderCtrl::InsertItem(int index, HDITEMA* item)
{
    return (int)SendMessage(HDM_INSERTITEMA, index, (LPARAM)item);
}

BOOL CHeaderCtrl::DeleteItem(int index)
{
    return (BOOL)SendMessage(HDM_DELETEITEM, index);
}

BOOL CHeaderCtrl::GetItem(int index, HDITEMA* item) const
{
    return (BOOL)SendMessage(HDM_GETITEMA, index, (LPARAM)item);
}

BOOL CHeaderCtrl::SetItem(int index, HDITEMA* item)
{
    return (BOOL)SendMessage(HDM_SETITEMA, index, (LPARAM)item);
}

BOOL CHeaderCtrl::GetItemRect(int index, LPRECT rect) const
{
    return (BOOL)SendMessage(HDM_GETITEMRECT, index, (LPARAM)rect);
}

BOOL CHeaderCtrl::GetOrderArray(LPINT order, int count) const
{
    return (BOOL)SendMessage(HDM_GETORDERARRAY, count, (LPARAM)order);
}

BOOL CHeaderCtrl::SetOrderArray(int count, LPINT order)
{
    return (BOOL)SendMessage(HDM_SETORDERARRAY, count, (LPARAM)order);
}

int CHeaderCtrl::OrderToIndex(int order) const
{
    return (int)SendMessage(HDM_ORDERTOINDEX, order);
}

int CHeaderCtrl::HitTest(HDHITTESTINFO* info)
{
    return (int)SendMessage(HDM_HITTEST, 0, (LPARAM)info);
}

CImageList* CHeaderCtrl::GetImageList() const
{
    return CImageList::FromHandle((HIMAGELIST)SendMessage(HDM_GETIMAGELIST));
}

CImageList* CHeaderCtrl::SetImageList(CImageList* imageList)
{
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(HDM_SETIMAGELIST, 0, (LPARAM)imageList->GetSafeHandle()));
}

void CHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT)
{
}

BOOL CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, result);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (result)
        *result = TRUE;
    return TRUE;
}

BOOL CTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    return CWnd::Create(WC_TABCONTROLA, NULL, style, rect, parentWnd, id);
}

int CTabCtrl::GetItemCount() const
{
    return (int)SendMessage(TCM_GETITEMCOUNT);
}

LONG CTabCtrl::InsertItem(int index, LPCSTR text, int image)
{
    TCITEMA item = {};
    item.mask = TCIF_TEXT | (image >= 0 ? TCIF_IMAGE : 0);
    item.pszText = (LPSTR)text;
    item.iImage = image;
    return (LONG)SendMessage(TCM_INSERTITEMA, index, (LPARAM)&item);
}

BOOL CTabCtrl::DeleteItem(int index)
{
    return (BOOL)SendMessage(TCM_DELETEITEM, index);
}

BOOL CTabCtrl::DeleteAllItems()
{
    return (BOOL)SendMessage(TCM_DELETEALLITEMS);
}

BOOL CTabCtrl::GetItem(int index, TCITEMA* item) const
{
    return (BOOL)SendMessage(TCM_GETITEMA, index, (LPARAM)item);
}

BOOL CTabCtrl::SetItem(int index, TCITEMA* item)
{
    return (BOOL)SendMessage(TCM_SETITEMA, index, (LPARAM)item);
}

int CTabCtrl::GetCurSel() const
{
    return (int)SendMessage(TCM_GETCURSEL);
}

int CTabCtrl::SetCurSel(int index)
{
    return (int)SendMessage(TCM_SETCURSEL, index);
}

BOOL CTabCtrl::GetItemRect(int index, LPRECT rect) const
{
    return (BOOL)SendMessage(TCM_GETITEMRECT, index, (LPARAM)rect);
}

void CTabCtrl::AdjustRect(BOOL larger, LPRECT rect)
{
    SendMessage(TCM_ADJUSTRECT, larger, (LPARAM)rect);
}

CImageList* CTabCtrl::SetImageList(CImageList* imageList)
{
    return CImageList::FromHandle(
        (HIMAGELIST)SendMessage(TCM_SETIMAGELIST, 0, (LPARAM)imageList->GetSafeHandle()));
}

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    return CWnd::Create(PROGRESS_CLASSA, NULL, style, rect, parentWnd, id);
}

void CProgressCtrl::SetRange(short lower, short upper)
{
    SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper));
}

void CProgressCtrl::SetRange32(int lower, int upper)
{
    SendMessage(PBM_SETRANGE32, lower, upper);
}

void CProgressCtrl::GetRange(int& lower, int& upper) const
{
    PBRANGE range = {};
    SendMessage(PBM_GETRANGE, FALSE, (LPARAM)&range);
    lower = range.iLow;
    upper = range.iHigh;
}

int CProgressCtrl::GetPos() const
{
    return (int)SendMessage(PBM_GETPOS);
}

int CProgressCtrl::SetPos(int pos)
{
    return (int)SendMessage(PBM_SETPOS, pos);
}

int CProgressCtrl::OffsetPos(int pos)
{
    return (int)SendMessage(PBM_DELTAPOS, pos);
}

int CProgressCtrl::SetStep(int step)
{
    return (int)SendMessage(PBM_SETSTEP, step);
}

int CProgressCtrl::StepIt()
{
    return (int)SendMessage(PBM_STEPIT);
}

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    return CWnd::Create(TRACKBAR_CLASSA, NULL, style, rect, parentWnd, id);
}

void CSliderCtrl::SetRange(int minPos, int maxPos, BOOL redraw)
{
    SendMessage(TBM_SETRANGEMIN, FALSE, minPos);
    SendMessage(TBM_SETRANGEMAX, redraw, maxPos);
}

void CSliderCtrl::GetRange(int& minPos, int& maxPos) const
{
    minPos = GetRangeMin();
    maxPos = GetRangeMax();
}

int CSliderCtrl::GetRangeMin() const
{
    return (int)SendMessage(TBM_GETRANGEMIN);
}

int CSliderCtrl::GetRangeMax() const
{
    return (int)SendMessage(TBM_GETRANGEMAX);
}

int CSliderCtrl::GetPos() const
{
    return (int)SendMessage(TBM_GETPOS);
}

void CSliderCtrl::SetPos(int pos)
{
    SendMessage(TBM_SETPOS, TRUE, pos);
}

int CSliderCtrl::GetLineSize() const
{
    return (int)SendMessage(TBM_GETLINESIZE);
}

int CSliderCtrl::SetLineSize(int size)
{
    return (int)SendMessage(TBM_SETLINESIZE, 0, size);
}

int CSliderCtrl::GetPageSize() const
{
    return (int)SendMessage(TBM_GETPAGESIZE);
}

int CSliderCtrl::SetPageSize(int size)
{
    return (int)SendMessage(TBM_SETPAGESIZE, 0, size);
}

void CSliderCtrl::SetTicFreq(int frequency)
{
    SendMessage(TBM_SETTICFREQ, frequency);
}

void CSliderCtrl::ClearTics(BOOL redraw)
{
    SendMessage(TBM_CLEARTICS, redraw);
}

BOOL CSpinButtonCtrl::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    return CWnd::Create(UPDOWN_CLASSA, NULL, style, rect, parentWnd, id);
}

void CSpinButtonCtrl::SetRange(int lower, int upper)
{
    SendMessage(UDM_SETRANGE32, lower, upper);
}

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const
{
    SendMessage(UDM_GETRANGE32, (WPARAM)&lower, (LPARAM)&upper);
}

int CSpinButtonCtrl::GetPos() const
{
    return (int)SendMessage(UDM_GETPOS32);
}

int CSpinButtonCtrl::SetPos(int pos)
{
    return (int)SendMessage(UDM_SETPOS32, 0, pos);
}

CWnd* CSpinButtonCtrl::GetBuddy() const
{
    return FromHandle((HWND)SendMessage(UDM_GETBUDDY));
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* buddy)
{
    return FromHandle((HWND)SendMessage(UDM_SETBUDDY, (WPARAM)buddy->GetSafeHwnd()));
}

int CSpinButtonCtrl::SetBase(int base)
{
    return (int)SendMessage(UDM_SETBASE, base);
}

BOOL CToolTipCtrl::Create(CWnd* parentWnd, DWORD style)
{
    return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, NULL, WS_POPUP | style, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parentWnd->GetSafeHwnd(), NULL);
}

void CToolTipCtrl::FillInToolInfo(TTTOOLINFOA& info, CWnd* wnd, UINT_PTR id) const
{
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.hwnd = wnd->GetSafeHwnd();
    if (id)
    {
        info.uId = id;
    }
    else
    {
        // The whole window is the tool.
        info.uFlags = TTF_IDISHWND;
        info.uId = (UINT_PTR)wnd->GetSafeHwnd();
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, LPCSTR text, LPCRECT toolRect, UINT_PTR id)
{
    TTTOOLINFOA info;
    FillInToolInfo(info, wnd, id);
    info.uFlags |= TTF_SUBCLASS;
    info.lpszText = (LPSTR)text;
    if (toolRect)
        info.rect = *toolRect;
    return (BOOL)SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&info);
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR id)
{
    TTTOOLINFOA info;
    FillInToolInfo(info, wnd, id);
    SendMessage(TTM_DELTOOLA, 0, (LPARAM)&info);
}

void CToolTipCtrl::UpdateTipText(LPCSTR text, CWnd* wnd, UINT_PTR id)
{
    TTTOOLINFOA info;
    FillInToolInfo(info, wnd, id);
    info.lpszText = (LPSTR)text;
    SendMessage(TTM_UPDATETIPTEXTA, 0, (LPARAM)&info);
}

void CToolTipCtrl::SetToolRect(CWnd* wnd, UINT_PTR id, LPCRECT rect)
{
    TTTOOLINFOA info;
    FillInToolInfo(info, wnd, id);
    info.rect = *rect;
    SendMessage(TTM_NEWTOOLRECTA, 0, (LPARAM)&info);
}

int CToolTipCtrl::GetToolCount() const
{
    return (int)SendMessage(TTM_GETTOOLCOUNT);
}

void CToolTipCtrl::Activate(BOOL activate)
{
    SendMessage(TTM_ACTIVATE, activate);
}

void CToolTipCtrl::RelayEvent(LPMSG msg)
{
    SendMessage(TTM_RELAYEVENT, 0, (LPARAM)msg);
}

int CToolTipCtrl::SetMaxTipWidth(int width)
{
    return (int)SendMessage(TTM_SETMAXTIPWIDTH, 0, width);
}

void CToolTipCtrl::SetDelayTime(UINT delay)
{
    SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, delay);
}

void CToolTipCtrl::SetDelayTime(DWORD kind, int time)
{
    SendMessage(TTM_SETDELAYTIME, kind, time);
}

void CToolTipCtrl::Pop()
{
    SendMessage(TTM_POP);
}

BOOL CDateTimeCtrl::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    return CWnd::Create(DATETIMEPICK_CLASSA, NULL, style, rect, parentWnd, id);
}

DWORD CDateTimeCtrl::GetTime(LPSYSTEMTIME time) const
{
    return (DWORD)SendMessage(DTM_GETSYSTEMTIME, 0, (LPARAM)time);
}

BOOL CDateTimeCtrl::SetTime(const SYSTEMTIME* time)
{
    if (time)
        return (BOOL)SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)time);
    // Wine's picker ignores GDT_NONE without a time to point at.
    SYSTEMTIME none = {};
    return (BOOL)SendMessage(DTM_SETSYSTEMTIME, GDT_NONE, (LPARAM)&none);
}

BOOL CDateTimeCtrl::SetFormat(LPCSTR format)
{
    return (BOOL)SendMessage(DTM_SETFORMATA, 0, (LPARAM)format);
}

BOOL CDateTimeCtrl::SetRange(const SYSTEMTIME* minTime, const SYSTEMTIME* maxTime)
{
    SYSTEMTIME range[2] = {};
    WPARAM flags = 0;
    if (minTime)
    {
        range[0] = *minTime;
        flags |= GDTR_MIN;
    }
    if (maxTime)
    {
        range[1] = *maxTime;
        flags |= GDTR_MAX;
    }
    return (BOOL)SendMessage(DTM_SETRANGE, flags, (LPARAM)range);
}

BOOL CRichEditCtrl::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id)
{
    // Loaded once for the life of the program: its window class must stay.
    static HMODULE library = LoadLibraryA(kRichEditLibrary);
    if (!library)
        return FALSE;
    return CWnd::Create(RICHEDIT_CLASS20A, NULL, style, rect, parentWnd, id);
}

void CRichEditCtrl::GetSel(long& start, long& end) const
{
    CHARRANGE range = {};
    SendMessage(EM_EXGETSEL, 0, (LPARAM)&range);
    start = range.cpMin;
    end = range.cpMax;
}

void CRichEditCtrl::SetSel(long start, long end)
{
    CHARRANGE range = {(LONG)start, (LONG)end};
    SendMessage(EM_EXSETSEL, 0, (LPARAM)&range);
}

void CRichEditCtrl::ReplaceSel(LPCSTR text, BOOL canUndo)
{
    SendMessage(EM_REPLACESEL, canUndo, (LPARAM)text);
}

CString CRichEditCtrl::GetSelText() const
{
    long start = 0, end = 0;
    GetSel(start, end);
    CString text;
    int length = (int)(end - start);
    if (length <= 0)
        return text;
    int copied = (int)SendMessage(EM_GETSELTEXT, 0, (LPARAM)text.GetBuffer(length + 1));
    text.ReleaseBuffer(copied);
    return text;
}

long CRichEditCtrl::GetTextLength() const
{
    return (long)SendMessage(WM_GETTEXTLENGTH);
}

void CRichEditCtrl::LimitText(long maxChars)
{
    SendMessage(EM_EXLIMITTEXT, 0, maxChars);
}

BOOL CRichEditCtrl::SetReadOnly(BOOL readOnly)
{
    return (BOOL)SendMessage(EM_SETREADONLY, readOnly);
}

DWORD CRichEditCtrl::GetEventMask() const
{
    return (DWORD)SendMessage(EM_GETEVENTMASK);
}

DWORD CRichEditCtrl::SetEventMask(DWORD mask)
{
    return (DWORD)SendMessage(EM_SETEVENTMASK, 0, mask);
}

COLORREF CRichEditCtrl::SetBackgroundColor(BOOL systemColor, COLORREF color)
{
    return (COLORREF)SendMessage(EM_SETBKGNDCOLOR, systemColor, color);
}

BOOL CRichEditCtrl::SetDefaultCharFormat(CHARFORMATA& format)
{
    format.cbSize = sizeof(format);
    return (BOOL)SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, (LPARAM)&format);
}

BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMATA& format)
{
    format.cbSize = sizeof(format);
    return (BOOL)SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&format);
}

DWORD CRichEditCtrl::GetSelectionCharFormat(CHARFORMATA& format) const
{
    format.cbSize = sizeof(format);
    return (DWORD)SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, (LPARAM)&format);
}

long CRichEditCtrl::LineFromChar(long charIndex) const
{
    return (long)SendMessage(EM_EXLINEFROMCHAR, 0, charIndex);
}

int CRichEditCtrl::LineIndex(int line) const
{
    return (int)SendMessage(EM_LINEINDEX, line);
}

int CRichEditCtrl::GetLineCount() const
{
    return (int)SendMessage(EM_GETLINECOUNT);
}

POINT CRichEditCtrl::GetCharPos(long charIndex) const
{
    POINT point = {};
    SendMessage(EM_POSFROMCHAR, (WPARAM)&point, charIndex);
    return point;
}

BOOL CRichEditCtrl::CanUndo() const
{
    return (BOOL)SendMessage(EM_CANUNDO);
}

BOOL CRichEditCtrl::Undo()
{
    return (BOOL)SendMessage(EM_UNDO);
}

void CRichEditCtrl::Cut()
{
    SendMessage(WM_CUT);
}

void CRichEditCtrl::Copy()
{
    SendMessage(WM_COPY);
}

void CRichEditCtrl::Paste()
{
    SendMessage(WM_PASTE);
}

void CRichEditCtrl::Clear()
{
    SendMessage(WM_CLEAR);
}

void CRichEditCtrl::EmptyUndoBuffer()
{
    SendMessage(EM_EMPTYUNDOBUFFER);
}

BOOL CRichEditCtrl::GetModify() const
{
    return (BOOL)SendMessage(EM_GETMODIFY);
}

void CRichEditCtrl::SetModify(BOOL modified)
{
    SendMessage(EM_SETMODIFY, modified);
}
