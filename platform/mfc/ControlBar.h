// CControlBar: a child window of a frame that takes a side of the frame's
// client area in the WM_SIZEPARENT negotiation and can be docked in the
// frame's dock bars or float in a mini frame (see DockBar.h, DockContext.h).
#pragma once

#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/Dc.h"

#include <commctrl.h>

class CDockBar;
class CDockContext;
class CControlBarInfo;
class CCmdUI;

// Bar styles (the bar's own style word, not the window style).
const DWORD CBRS_FLOATING = 0x0001;
const DWORD CBRS_SIZE_FIXED = 0x0002;
const DWORD CBRS_SIZE_DYNAMIC = 0x0004;
const DWORD CBRS_HIDE_INPLACE = 0x0008;
const DWORD CBRS_TOOLTIPS = 0x0010;
const DWORD CBRS_FLYBY = 0x0020;
const DWORD CBRS_FLOAT_MULTI = 0x0040;
const DWORD CBRS_BORDER_3D = 0x0080;
const DWORD CBRS_BORDER_LEFT = 0x0100;
const DWORD CBRS_BORDER_TOP = 0x0200;
const DWORD CBRS_BORDER_RIGHT = 0x0400;
const DWORD CBRS_BORDER_BOTTOM = 0x0800;
const DWORD CBRS_BORDER_ANY = 0x0F00;
const DWORD CBRS_ALIGN_LEFT = 0x1000;
const DWORD CBRS_ALIGN_TOP = 0x2000;
const DWORD CBRS_ALIGN_RIGHT = 0x4000;
const DWORD CBRS_ALIGN_BOTTOM = 0x8000;
const DWORD CBRS_ALIGN_ANY = 0xF000;
const DWORD CBRS_GRIPPER = 0x00400000;
const DWORD CBRS_ALL = 0x0040FFFF;
const DWORD CBRS_ORIENT_HORZ = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
const DWORD CBRS_ORIENT_VERT = CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT;
const DWORD CBRS_NOALIGN = 0;
const DWORD CBRS_LEFT = CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT;
const DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
const DWORD CBRS_RIGHT = CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT;
const DWORD CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;

// Modes of CalcDynamicLayout.
const DWORD LM_STRETCH = 0x01;
const DWORD LM_HORZ = 0x02;
const DWORD LM_MRUWIDTH = 0x04;
const DWORD LM_HORZDOCK = 0x08;
const DWORD LM_VERTDOCK = 0x10;
const DWORD LM_LENGTHY = 0x20;
const DWORD LM_COMMIT = 0x40;

// Tool-bar button styles: the button style in the low byte, its state shifted
// left by 16.
const DWORD TBBS_SEPARATOR = 0x00000001;
const DWORD TBBS_CHECKBOX = 0x00000002;
const DWORD TBBS_CHECKED = 0x00010000;
const DWORD TBBS_PRESSED = 0x00020000;
const DWORD TBBS_DISABLED = 0x00040000;
const DWORD TBBS_HIDDEN = 0x00080000;
const DWORD TBBS_INDETERMINATE = 0x00100000;
const DWORD TBBS_WRAPPED = 0x00200000;

// Ids of the frame's dock bars and of a mini frame's.
const UINT AFX_IDW_DOCKBAR_TOP = 0xE81B;
const UINT AFX_IDW_DOCKBAR_LEFT = 0xE81C;
const UINT AFX_IDW_DOCKBAR_RIGHT = 0xE81D;
const UINT AFX_IDW_DOCKBAR_BOTTOM = 0xE81E;
const UINT AFX_IDW_DOCKBAR_FLOAT = 0xE81F;

// The window class of every bar.
extern const char kControlBarClassName[];
// Registers kControlBarClassName once; FALSE when that fails.
BOOL AfxRegisterControlBarClass();

class CControlBar : public CWnd
{
    DECLARE_DYNAMIC(CControlBar)
public:
    // Bits of m_nStateFlags.
    enum StateFlags
    {
        delayHide = 1,
        delayShow = 2,
        tempHide = 4,
        statusSet = 8,
    };

    CControlBar();
    ~CControlBar() override;

    virtual CSize CalcFixedLayout(BOOL stretch, BOOL horizontal);
    virtual CSize CalcDynamicLayout(int length, DWORD mode);
    virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler);
    virtual void DoPaint(CDC* dc);
    virtual void DrawBorders(CDC* dc, CRect& rect);
    virtual void CalcInsideRect(CRect& rect, BOOL horizontal) const;
    virtual BOOL IsDockBar() const;
    virtual void DelayShow(BOOL show);
    virtual BOOL IsVisible() const;
    virtual DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* layout);
    // After SetBarStyle changed the style.
    virtual void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) {}
    // The tool under point: a child window's id, -1 for none. A text put
    // into info is allocated with malloc for the caller to free.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* info) const;

    void SetBarStyle(DWORD style);
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBorders(int left, int top, int right, int bottom);
    // Takes width pixels off each side that has a CBRS_BORDER_ bit.
    void DeflateBorderedSides(CRect& rect, int width) const;
    // One-pixel lines on the bordered sides of rect.
    void DrawBorderLines(CDC* dc, const CRect& rect, COLORREF leftTop, COLORREF rightBottom) const;
    void EnableDocking(DWORD dockStyle);
    CFrameWnd* GetDockingFrame() const;
    BOOL IsFloating() const;
    int GetCount() const { return 0; }
    void GetBarInfo(CControlBarInfo* info);
    void SetBarInfo(CControlBarInfo* info, CFrameWnd* frame);

    int m_cxLeftBorder;
    int m_cxRightBorder;
    int m_cyTopBorder;
    int m_cyBottomBorder;
    int m_cxDefaultGap;
    UINT m_nMRUWidth;
    BOOL m_bAutoDelete;
    UINT m_nStateFlags;
    DWORD m_dwStyle;
    DWORD m_dwDockStyle;
    CFrameWnd* m_pDockSite;
    CDockBar* m_pDockBar;
    CDockContext* m_pDockContext;

protected:
    // The dock context's last docked and floating places from a saved record.
    void SetDockContextInfo(const CControlBarInfo* info);
    // Shows or hides the bar and moves it to the record's place, once.
    void ApplyPlacement(const CControlBarInfo* info);
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    // Takes the bar's place off a side of the layout's free rectangle into
    // rect; FALSE for a hidden bar or one without an alignment.
    BOOL TakeLayoutPlace(AFX_SIZEPARENTPARAMS* layout, CRect& rect);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    int OnCreate(LPCREATESTRUCTA cs);
    void OnDestroy();
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
