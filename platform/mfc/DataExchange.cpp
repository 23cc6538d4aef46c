#include "platform/mfc/DataExchange.h"
#include "platform/mfc/OleDateTime.h"
#include "platform/mfc/WinApp.h"

#include "platform/runtime/DebugOutput.h"

#include <commctrl.h>
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>

namespace
{
LPCSTR const kEnterInteger = "Please enter an integer.";
LPCSTR const kEnterNumber = "Please enter a number.";
LPCSTR const kEnterUnsigned = "Please enter a positive integer.";

BOOL IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The whole text, blanks around it aside, must be one number of the range.
BOOL ParseInteger(LPCSTR text, BOOL isSigned, long long minValue, long long maxValue,
                  long long& value)
{
    while (IsBlank(*text))
        ++text;
    if (!isSigned && *text == '-')
        return FALSE;
    char* end = NULL;
    errno = 0;
    long long parsed = strtoll(text, &end, 10);
    if (end == text || errno == ERANGE)
        return FALSE;
    while (IsBlank(*end))
        ++end;
    if (*end || parsed < minValue || parsed > maxValue)
        return FALSE;
    value = parsed;
    return TRUE;
}

CString ControlText(HWND control)
{
    CString text;
    CWnd::FromHandle(control)->GetWindowText(text);
    return text;
}

template <typename T>
void ExchangeInteger(CDataExchange* pDX, int id, T& value, BOOL isSigned, long long minValue,
                     long long maxValue, LPCSTR format)
{
    HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate)
    {
        long long parsed = 0;
        if (!ParseInteger(ControlText(control), isSigned, minValue, maxValue, parsed))
        {
            AfxMessageBox(isSigned ? kEnterInteger : kEnterUnsigned, MB_ICONEXCLAMATION);
            pDX->Fail();
        }
        value = (T)parsed;
        return;
    }
    char text[32];
    snprintf(text, sizeof(text), format, (long long)value);
    SetWindowTextA(control, text);
}

void FailRange(CDataExchange* pDX, LPCSTR text)
{
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    pDX->Fail();
}

// The range test of the DDV_MinMax functions; only when saving.
void CheckIntegerRange(CDataExchange* pDX, long long value, long long minValue,
                       long long maxValue)
{
    if (!pDX->m_bSaveAndValidate || (value >= minValue && value <= maxValue))
        return;
    char text[128];
    snprintf(text, sizeof(text), "Please enter an integer between %lld and %lld.", minValue,
             maxValue);
    FailRange(pDX, text);
}

int FindComboString(HWND combo, UINT message, LPCSTR text)
{
    return (int)SendMessageA(combo, message, (WPARAM)-1, (LPARAM)text);
}
}

CDataExchange::CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlgWnd), m_hWndLastControl(NULL),
      m_bEditLastControl(FALSE)
{
}

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (!control)
    {
        // A program fault: the exchange fails rather than touching no window.
        DebugOutputF("Data exchange: no control %d in the dialog.\n", id);
        AfxThrowUserException();
    }
    m_hWndLastControl = control;
    m_bEditLastControl = FALSE;
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int id)
{
    HWND control = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl)
    {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

void DDX_Text(CDataExchange* pDX, int id, CString& value)
{
    HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = ControlText(control);
    else
        SetWindowTextA(control, value);
}

void DDX_Text(CDataExchange* pDX, int id, int& value)
{
    ExchangeInteger(pDX, id, value, TRUE, INT_MIN, INT_MAX, "%lld");
}

void DDX_Text(CDataExchange* pDX, int id, UINT& value)
{
    ExchangeInteger(pDX, id, value, FALSE, 0, UINT_MAX, "%lld");
}

void DDX_Text(CDataExchange* pDX, int id, long& value)
{
    ExchangeInteger(pDX, id, value, TRUE, LONG_MIN, LONG_MAX, "%lld");
}

void DDX_Text(CDataExchange* pDX, int id, double& value)
{
    HWND control = pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate)
    {
        char text[64];
        snprintf(text, sizeof(text), "%.15g", value);
        SetWindowTextA(control, text);
        return;
    }
    CString text = ControlText(control);
    LPCSTR start = text;
    while (IsBlank(*start))
        ++start;
    char* end = NULL;
    double parsed = strtod(start, &end);
    while (end && IsBlank(*end))
        ++end;
    if (end == start || *end)
    {
        AfxMessageBox(kEnterNumber, MB_ICONEXCLAMATION);
        pDX->Fail();
    }
    value = parsed;
}

void DDX_Check(CDataExchange* pDX, int id, int& value)
{
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = (int)SendMessageA(control, BM_GETCHECK, 0, 0);
    else
        SendMessageA(control, BM_SETCHECK, (WPARAM)value, 0);
}

void DDX_Radio(CDataExchange* pDX, int id, int& value)
{
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    // The group runs from the first button to the next control with WS_GROUP.
    int index = 0;
    do
    {
        if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
        {
            if (pDX->m_bSaveAndValidate)
            {
                if (SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = index;
            }
            else
            {
                SendMessageA(control, BM_SETCHECK, index == value, 0);
            }
            ++index;
        }
        control = ::GetWindow(control, GW_HWNDNEXT);
    } while (control && !(GetWindowLongA(control, GWL_STYLE) & WS_GROUP));
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    HWND hWnd = pDX->PrepareCtrl(id);
    if (!control.SubclassWindow(hWnd))
    {
        DebugOutputF("Data exchange: control %d is bound to another object.\n", id);
        AfxThrowUserException();
    }
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index)
{
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        index = (int)SendMessageA(control, CB_GETCURSEL, 0, 0);
    else
        SendMessageA(control, CB_SETCURSEL, (WPARAM)index, 0);
}

namespace
{
void ExchangeComboString(CDataExchange* pDX, int id, CString& value, UINT findMessage)
{
    HWND control = pDX->PrepareCtrl(id);
    BOOL dropList = (GetWindowLongA(control, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST;
    if (pDX->m_bSaveAndValidate)
    {
        if (!dropList)
        {
            value = ControlText(control);
            return;
        }
        int selected = (int)SendMessageA(control, CB_GETCURSEL, 0, 0);
        value.Empty();
        if (selected == CB_ERR)
            return;
        int length = (int)SendMessageA(control, CB_GETLBTEXTLEN, selected, 0);
        SendMessageA(control, CB_GETLBTEXT, selected, (LPARAM)value.GetBuffer(length + 1));
        value.ReleaseBuffer(length);
        return;
    }
    int found = FindComboString(control, findMessage, value);
    SendMessageA(control, CB_SETCURSEL, found == CB_ERR ? (WPARAM)-1 : (WPARAM)found, 0);
    // An edit field keeps a text that is not in the list.
    if (found == CB_ERR && !dropList)
        SetWindowTextA(control, value);
}
}

void DDX_CBString(CDataExchange* pDX, int id, CString& value)
{
    ExchangeComboString(pDX, id, value, CB_FINDSTRING);
}

void DDX_CBStringExact(CDataExchange* pDX, int id, CString& value)
{
    ExchangeComboString(pDX, id, value, CB_FINDSTRINGEXACT);
}

void DDX_LBIndex(CDataExchange* pDX, int id, int& index)
{
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        index = (int)SendMessageA(control, LB_GETCURSEL, 0, 0);
    else
        SendMessageA(control, LB_SETCURSEL, (WPARAM)index, 0);
}

void DDX_LBString(CDataExchange* pDX, int id, CString& value)
{
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
    {
        int selected = (int)SendMessageA(control, LB_GETCURSEL, 0, 0);
        value.Empty();
        if (selected == LB_ERR)
            return;
        int length = (int)SendMessageA(control, LB_GETTEXTLEN, selected, 0);
        SendMessageA(control, LB_GETTEXT, selected, (LPARAM)value.GetBuffer(length + 1));
        value.ReleaseBuffer(length);
        return;
    }
    int found = (int)SendMessageA(control, LB_FINDSTRING, (WPARAM)-1, (LPARAM)(LPCSTR)value);
    SendMessageA(control, LB_SETCURSEL, found == LB_ERR ? (WPARAM)-1 : (WPARAM)found, 0);
}

void DDX_Slider(CDataExchange* pDX, int id, int& value)
{
    HWND control = pDX->PrepareCtrl(id);
    if (pDX->m_bSaveAndValidate)
        value = (int)SendMessageA(control, TBM_GETPOS, 0, 0);
    else
        SendMessageA(control, TBM_SETPOS, TRUE, value);
}

void DDX_DateTimeCtrl(CDataExchange* pDX, int id, COleDateTime& value)
{
    HWND control = pDX->PrepareCtrl(id);
    SYSTEMTIME parts = {};
    if (pDX->m_bSaveAndValidate)
    {
        if (SendMessageA(control, DTM_GETSYSTEMTIME, 0, (LPARAM)&parts) == GDT_VALID)
            value = parts;
        else
            value.SetStatus(COleDateTime::null);
        return;
    }
    if (value.GetStatus() != COleDateTime::valid)
    {
        // Wine's picker ignores GDT_NONE without a time to point at.
        SendMessageA(control, DTM_SETSYSTEMTIME, GDT_NONE, (LPARAM)&parts);
        return;
    }
    parts.wYear = (WORD)value.GetYear();
    parts.wMonth = (WORD)value.GetMonth();
    parts.wDayOfWeek = (WORD)(value.GetDayOfWeek() - 1);
    parts.wDay = (WORD)value.GetDay();
    parts.wHour = (WORD)value.GetHour();
    parts.wMinute = (WORD)value.GetMinute();
    parts.wSecond = (WORD)value.GetSecond();
    SendMessageA(control, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)&parts);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue)
{
    CheckIntegerRange(pDX, value, minValue, maxValue);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minValue, UINT maxValue)
{
    CheckIntegerRange(pDX, value, minValue, maxValue);
}

void DDV_MinMaxLong(CDataExchange* pDX, long value, long minValue, long maxValue)
{
    CheckIntegerRange(pDX, value, minValue, maxValue);
}

void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minValue, DWORD maxValue)
{
    CheckIntegerRange(pDX, value, minValue, maxValue);
}

void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minValue,
                      double maxValue)
{
    if (!pDX->m_bSaveAndValidate || (value >= minValue && value <= maxValue))
        return;
    char text[128];
    snprintf(text, sizeof(text), "Please enter a number between %.15g and %.15g.", minValue,
             maxValue);
    FailRange(pDX, text);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int maxChars)
{
    if (!pDX->m_bSaveAndValidate)
    {
        if (pDX->m_hWndLastControl && pDX->m_bEditLastControl)
            SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, maxChars, 0);
        return;
    }
    if (value.GetLength() <= maxChars)
        return;
    char text[128];
    snprintf(text, sizeof(text), "Please enter no more than %d characters.", maxChars);
    FailRange(pDX, text);
}
