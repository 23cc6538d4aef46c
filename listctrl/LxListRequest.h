// CLxListRequest: what the list asks its owner (WM_USER+1 or the request handler).
#pragma once

#include <afxwin.h>

// Request codes.
enum
{
    kLxRequestCell = 0,      // font and colours of one cell
    kLxRequestChoices = 1,   // choices of a drop-down editor
    kLxRequestCommit = 2,    // text committed by an in-place editor
    kLxRequestDrawnRow = 3,  // a row just drawn, offered with its rectangle and DC
};

// Answer flags the owner sets.
enum
{
    kLxAnswerBold = 0x01,
    kLxAnswerItalic = 0x02,
    kLxAnswerUnderline = 0x04,
    kLxAnswerFont = 0x08,
    kLxAnswerTextColor = 0x10,
    kLxAnswerBkColor = 0x20,
};

// The message the list sends when no request handler is set; lParam is the record.
const UINT WM_LX_REQUEST = WM_USER + 1;

class CLxListRequest
{
public:
    CLxListRequest() = default;
    virtual ~CLxListRequest() = default;

    int m_code = kLxRequestCell;
    int m_controlId = 0;
    int m_row = 0;
    int m_columnId = 0;
    DWORD_PTR m_itemData = 0;
    LPARAM m_value = 0;
    DWORD m_answer = 0;
    COLORREF m_textColor = 0;
    COLORREF m_bkColor = 0;
    HFONT m_font = NULL;
    CString m_text;
    CStringArray* m_pChoices = NULL;
    // Request 3 only: the row's bounds and the DC it was drawn into.
    RECT m_rowRect = {};
    CDC* m_pDC = NULL;
};
