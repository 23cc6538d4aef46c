// CDataExchange and the DDX_/DDV_ functions: dialog data exchange moves
// member values into a window's controls (load) or back with validation
// (save). A value that does not pass shows its message box, puts the focus
// back on the control and fails the whole exchange.
#pragma once

#include "platform/mfc/Wnd.h"

class COleDateTime;

class CDataExchange
{
public:
    CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate);

    // The control's window, remembered as the one a failure goes back to.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Gives the focus back to the last control and throws a CUserException.
    void Fail();

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    HWND m_hWndLastControl;
    BOOL m_bEditLastControl;
};

void DDX_Text(CDataExchange* pDX, int id, CString& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
// Also for DWORD, which is the same type on this build.
void DDX_Text(CDataExchange* pDX, int id, UINT& value);
void DDX_Text(CDataExchange* pDX, int id, long& value);
void DDX_Text(CDataExchange* pDX, int id, double& value);
// Check boxes: 0, 1 or 2 (indeterminate).
void DDX_Check(CDataExchange* pDX, int id, int& value);
// The group of radio buttons that begins with id: the index of the checked
// one, -1 for none.
void DDX_Radio(CDataExchange* pDX, int id, int& value);
// Subclasses the control into the object the first time.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
// Saving takes the edit text (or the selected item of a drop list); loading
// selects the first item that begins with the text.
void DDX_CBString(CDataExchange* pDX, int id, CString& value);
void DDX_CBStringExact(CDataExchange* pDX, int id, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int id, int& index);
void DDX_LBString(CDataExchange* pDX, int id, CString& value);
void DDX_Slider(CDataExchange* pDX, int id, int& value);
// Date and time pickers: the whole date-time; null for a picker showing none.
void DDX_DateTimeCtrl(CDataExchange* pDX, int id, COleDateTime& value);

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minValue, UINT maxValue);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minValue, long maxValue);
void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minValue, DWORD maxValue);
void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minValue,
                      double maxValue);
// Loading limits the edit control to maxChars; saving checks the length.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int maxChars);
