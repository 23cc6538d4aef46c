// TkStdBtn: one item of a customisable tool bar, an image button or a
// separator. It holds its command, image index, style word, place and size;
// the bar lays buttons out and routes the mouse to them.
#pragma once

#include <afxext.h>

class TkCustomToolBar;
class TkStdBtn;

// The class record a button map names: it makes a button of its class.
struct TkBtnFactory
{
    TkStdBtn* (*pfnCreateButton)();
};

// The toolkit's own bits of the style word, above the platform's TBBS_ bits.
const DWORD TKBS_SELECTED = 0x01000000;        // selected while customising
const DWORD TKBS_HOT = 0x02000000;             // under the mouse (hot tracking)
const DWORD TKBS_ALWAYS_ENABLED = 0x10000000;  // stays enabled without a command handler
const DWORD TKBS_CENTERED = 0x20000000;        // centred vertically in its row

// Kinds of button.
enum TkBtnKind
{
    kTkBtnStandard = 0,
    kTkBtnMenu = 3,
    kTkBtnSysMenu = 4,
    // The caption buttons of a maximised MDI child, pinned to the far end of
    // a stretched menu bar.
    kTkBtnCaption = 5,
};

class TkStdBtn
{
public:
    TkStdBtn();
    virtual ~TkStdBtn() {}

    virtual void SetMode(DWORD mode);
    virtual void SetStyle(DWORD style) { m_dwStyle = style; }
    virtual DWORD GetStyle() const { return m_dwStyle; }
    virtual BOOL HasStyle(DWORD bits) const { return (m_dwStyle & bits) == bits; }
    virtual void SetPos(int x, int y);
    virtual const TkBtnFactory* GetButtonClass() const;

    static const TkBtnFactory classTkStdBtn;

    CRect GetRect() const { return CRect(m_x, m_y, m_x + m_cx, m_y + m_cy); }
    BOOL IsSeparator() const { return HasStyle(TBBS_SEPARATOR); }
    BOOL IsHidden() const { return HasStyle(TBBS_HIDDEN); }

    UINT m_nID;
    UINT m_nImage;
    DWORD m_dwStyle;
    int m_x;
    int m_y;
    int m_cx;
    int m_cy;
    int m_nKind;
    TkCustomToolBar* m_pBar;
};
