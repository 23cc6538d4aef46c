// Message-map entries for window messages. Each names the handler the class
// library calls for its message and checks the handler's type.
#pragma once

#define AFX_WM_ENTRY(message, sig, type, memberFxn) \
    { (UINT)(message), 0, 0, 0, sig, AFX_MSG_HANDLER(type, &ThisClass::memberFxn) },

#define ON_MESSAGE(message, memberFxn) \
    AFX_WM_ENTRY(message, AfxSig_lwl, LRESULT (CWnd::*)(WPARAM, LPARAM), memberFxn)
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    { kRegisteredMessageEntry, 0, 0, 0, (UINT_PTR)(UINT*)(&nMessageVariable), \
      AFX_MSG_HANDLER(LRESULT (CWnd::*)(WPARAM, LPARAM), &ThisClass::memberFxn) },

#define ON_WM_CREATE() AFX_WM_ENTRY(WM_CREATE, AfxSig_is, int (CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, AfxSig_vv, void (CWnd::*)(), OnDestroy)
#define ON_WM_NCDESTROY() AFX_WM_ENTRY(WM_NCDESTROY, AfxSig_vv, void (CWnd::*)(), OnNcDestroy)
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, AfxSig_vv, void (CWnd::*)(), OnClose)
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, AfxSig_vv, void (CWnd::*)(), OnPaint)
#define ON_WM_NCPAINT() AFX_WM_ENTRY(WM_NCPAINT, AfxSig_vv, void (CWnd::*)(), OnNcPaint)
#define ON_WM_SYSCOLORCHANGE() \
    AFX_WM_ENTRY(WM_SYSCOLORCHANGE, AfxSig_vv, void (CWnd::*)(), OnSysColorChange)
#define ON_WM_CANCELMODE() AFX_WM_ENTRY(WM_CANCELMODE, AfxSig_vv, void (CWnd::*)(), OnCancelMode)
#define ON_WM_SIZE() AFX_WM_ENTRY(WM_SIZE, AfxSig_vwii, void (CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_MOVE() AFX_WM_ENTRY(WM_MOVE, AfxSig_vMove, void (CWnd::*)(int, int), OnMove)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, AfxSig_vt, void (CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_SETFOCUS() AFX_WM_ENTRY(WM_SETFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() \
    AFX_WM_ENTRY(WM_KILLFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnKillFocus)
#define ON_WM_KEYDOWN() \
    AFX_WM_ENTRY(WM_KEYDOWN, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() AFX_WM_ENTRY(WM_KEYUP, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() AFX_WM_ENTRY(WM_CHAR, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_SYSKEYDOWN() \
    AFX_WM_ENTRY(WM_SYSKEYDOWN, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_SYSCOMMAND() \
    AFX_WM_ENTRY(WM_SYSCOMMAND, AfxSig_vwl2, void (CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_PARENTNOTIFY() \
    AFX_WM_ENTRY(WM_PARENTNOTIFY, AfxSig_vwl2, void (CWnd::*)(UINT, LPARAM), OnParentNotify)
#define ON_WM_ACTIVATE() \
    AFX_WM_ENTRY(WM_ACTIVATE, AfxSig_vwWb, void (CWnd::*)(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_NCACTIVATE() AFX_WM_ENTRY(WM_NCACTIVATE, AfxSig_bb, BOOL (CWnd::*)(BOOL), OnNcActivate)
#define ON_WM_SETCURSOR() \
    AFX_WM_ENTRY(WM_SETCURSOR, AfxSig_bWww, BOOL (CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_MOUSEACTIVATE() \
    AFX_WM_ENTRY(WM_MOUSEACTIVATE, AfxSig_iWww, int (CWnd::*)(CWnd*, UINT, UINT), OnMouseActivate)
#define ON_WM_SHOWWINDOW() \
    AFX_WM_ENTRY(WM_SHOWWINDOW, AfxSig_vbw, void (CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_GETMINMAXINFO() \
    AFX_WM_ENTRY(WM_GETMINMAXINFO, AfxSig_vs, void (CWnd::*)(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_WINDOWPOSCHANGING() \
    AFX_WM_ENTRY(WM_WINDOWPOSCHANGING, AfxSig_vs, void (CWnd::*)(WINDOWPOS*), \
                 OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() \
    AFX_WM_ENTRY(WM_WINDOWPOSCHANGED, AfxSig_vs, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_DRAWITEM() \
    AFX_WM_ENTRY(WM_DRAWITEM, AfxSig_vis, void (CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM() \
    AFX_WM_ENTRY(WM_MEASUREITEM, AfxSig_vis, void (CWnd::*)(int, LPMEASUREITEMSTRUCT), \
                 OnMeasureItem)
#define ON_WM_MENUSELECT() \
    AFX_WM_ENTRY(WM_MENUSELECT, AfxSig_vwwh, void (CWnd::*)(UINT, UINT, HMENU), OnMenuSelect)
#define ON_WM_DROPFILES() AFX_WM_ENTRY(WM_DROPFILES, AfxSig_vh, void (CWnd::*)(HDROP), OnDropFiles)
#define ON_WM_SETTINGCHANGE() \
    AFX_WM_ENTRY(WM_SETTINGCHANGE, AfxSig_vwSz, void (CWnd::*)(UINT, LPCSTR), OnSettingChange)
#define ON_WM_LBUTTONDOWN() \
    AFX_WM_ENTRY(WM_LBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() \
    AFX_WM_ENTRY(WM_LBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() \
    AFX_WM_ENTRY(WM_LBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() \
    AFX_WM_ENTRY(WM_RBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() \
    AFX_WM_ENTRY(WM_RBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() \
    AFX_WM_ENTRY(WM_RBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() \
    AFX_WM_ENTRY(WM_MBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMButtonDown)
#define ON_WM_MBUTTONUP() \
    AFX_WM_ENTRY(WM_MBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMButtonUp)
#define ON_WM_MOUSEMOVE() \
    AFX_WM_ENTRY(WM_MOUSEMOVE, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMouseMove)
// Non-client mouse messages: the hit-test code and the point in screen coordinates.
#define ON_WM_NCLBUTTONDOWN() \
    AFX_WM_ENTRY(WM_NCLBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() \
    AFX_WM_ENTRY(WM_NCLBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() \
    AFX_WM_ENTRY(WM_NCLBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), \
                 OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() \
    AFX_WM_ENTRY(WM_NCRBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() \
    AFX_WM_ENTRY(WM_NCRBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcRButtonUp)
#define ON_WM_NCRBUTTONDBLCLK() \
    AFX_WM_ENTRY(WM_NCRBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), \
                 OnNcRButtonDblClk)
#define ON_WM_NCMOUSEMOVE() \
    AFX_WM_ENTRY(WM_NCMOUSEMOVE, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnNcMouseMove)
#define ON_WM_NCHITTEST() AFX_WM_ENTRY(WM_NCHITTEST, AfxSig_lp, LRESULT (CWnd::*)(CPoint), OnNcHitTest)
#define ON_WM_CONTEXTMENU() \
    AFX_WM_ENTRY(WM_CONTEXTMENU, AfxSig_vWp, void (CWnd::*)(CWnd*, CPoint), OnContextMenu)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(WM_ERASEBKGND, AfxSig_bD, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_CTLCOLOR() \
    AFX_WM_ENTRY(WM_CTLCOLOR, AfxSig_hDWw, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_INITMENUPOPUP() \
    AFX_WM_ENTRY(WM_INITMENUPOPUP, AfxSig_vMwb, void (CWnd::*)(CMenu*, UINT, BOOL), \
                 OnInitMenuPopup)
#define ON_WM_HSCROLL() \
    AFX_WM_ENTRY(WM_HSCROLL, AfxSig_vwwS, void (CWnd::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() \
    AFX_WM_ENTRY(WM_VSCROLL, AfxSig_vwwS, void (CWnd::*)(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_ENTERIDLE() \
    AFX_WM_ENTRY(WM_ENTERIDLE, AfxSig_vwW, void (CWnd::*)(UINT, CWnd*), OnEnterIdle)

// Reflected messages: the control handles what its parent was sent.
#define ON_WM_CTLCOLOR_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, AfxSig_hDw, HBRUSH (CWnd::*)(CDC*, UINT), \
                 CtlColor)
#define ON_WM_HSCROLL_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_HSCROLL, AfxSig_vww, void (CWnd::*)(UINT, UINT), HScroll)
#define ON_WM_VSCROLL_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_VSCROLL, AfxSig_vww, void (CWnd::*)(UINT, UINT), VScroll)
#define ON_WM_DRAWITEM_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM, AfxSig_vs, void (CWnd::*)(LPDRAWITEMSTRUCT), \
                 DrawItem)
#define ON_WM_MEASUREITEM_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_MEASUREITEM, AfxSig_vs, \
                 void (CWnd::*)(LPMEASUREITEMSTRUCT), MeasureItem)
