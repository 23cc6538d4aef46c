// TkStdBtn: one item of a customisable tool bar, an image button or a
// separator. It holds its command, image index, style word, place and size;
// the bar lays buttons out and routes the mouse to them.
#pragma once

#include <afxext.h>

class TkCustomToolBar;
class TkDrawData;
class TkStdBtn;
struct TkBtnInitData;

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

// InformBtn kind 1: style = (style & ~dwMask) | dwSet.
struct TkBtnStyleChange
{
    DWORD dwMask;
    DWORD dwSet;
};
const int kTkInformStyle = 1;

// The platform's drop-down notification, sent by a drop-down button's press.
const int kTkNotifyDropDown = -710;

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
    virtual void Invalidate(BOOL erase);
    virtual void Init(TkCustomToolBar* bar, const TkBtnInitData* data);
    virtual BOOL CanDrag() const { return TRUE; }
    virtual void Render(CDC* dc, TkDrawData* drawData);
    // TRUE when the bar must capture the mouse.
    virtual BOOL BtnPressDown(CPoint pt);
    virtual void BtnMouseMove(CPoint pt);
    virtual void BtnCancel();
    // The command to fire, 0 when released outside or nothing fires.
    virtual UINT BtnPressUp(CPoint pt);
    virtual void BarStyleChanged(DWORD style);
    virtual INT_PTR OnToolHitTest(CPoint pt, TOOLINFOA* info) const;
    virtual void InformBtn(int kind, const void* data);
    virtual void AdjustSize();
    // Extra bytes a button keeps in the saved bar layout; none here (size 0).
    virtual void GetBtnData(BYTE* size, const BYTE** data) const;
    virtual void SetBtnData(BYTE size, const BYTE* data);
    virtual LRESULT SendNotification(int code, DWORD_PTR value1, DWORD_PTR value2);
    virtual void DrawButton(TkDrawData* drawData, BOOL forceUp);
    virtual void DrawDisabled(TkDrawData* drawData);
    virtual void DrawChecked(TkDrawData* drawData);
    virtual void DrawIndeterminate(TkDrawData* drawData);
    virtual void DrawSelectionFrame(TkDrawData* drawData);
    virtual void SelectImage(TkDrawData* drawData);
    // Non-zero for a separator, which draws itself (or nothing) here.
    virtual BOOL DrawSeparator(CDC* dc);
    virtual void DrawFace(TkDrawData* drawData);
    virtual void BlitImage(TkDrawData* drawData);
    // With transparent images (cool look and TKTBS_TRANSPARENT), the image is
    // drawn again over the face, its corner colour left out.
    virtual void DrawTransparent(TkDrawData* drawData);
    virtual void DrawSelection(TkDrawData* drawData);
    virtual void BlitToScreen(CDC* dc, TkDrawData* drawData);
    virtual const TkBtnFactory* GetButtonClass() const;

    static const TkBtnFactory classTkStdBtn;

    CRect GetRect() const { return CRect(m_x, m_y, m_x + m_cx, m_y + m_cy); }
    BOOL IsSeparator() const { return HasStyle(TBBS_SEPARATOR); }
    BOOL IsHidden() const { return HasStyle(TBBS_HIDDEN); }
    // The image's monochrome mask over the button bitmap: 0 on image pixels,
    // 1 on the face and highlight pixels and outside the image.
    void MakeMask(TkDrawData* drawData) const;

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
