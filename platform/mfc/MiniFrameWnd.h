// CMiniFrameWnd: a small popup frame with a tool-window caption.
// CMiniDockFrameWnd: the mini frame in which control bars float; it holds
// one floating dock bar and takes its caption from it.
#pragma once

#include "platform/mfc/DockBar.h"

// Mini-frame styles in the frame's class-specific style bits.
const DWORD MFS_SYNCACTIVE = 0x00000100;
const DWORD MFS_4THICKFRAME = 0x00000200;
const DWORD MFS_THICKFRAME = 0x00000400;
const DWORD MFS_MOVEFRAME = 0x00000800;
const DWORD MFS_BLOCKSYSMENU = 0x00010000;

class CMiniFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd();

    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                CWnd* parentWnd = NULL, UINT id = 0);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                  const RECT& rect, CWnd* parentWnd = NULL, UINT id = 0);
    // The window size for a client area of the given size, with this style.
    static void PASCAL CalcBorders(LPRECT clientRect, DWORD style = WS_THICKFRAME | WS_CAPTION);

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // With MFS_SYNCACTIVE the caption follows the owning frame's: active
    // while the frame is marked WF_STAYACTIVE, and as WM_FLOATSTATUS says.
    LRESULT OnNcActivateMini(WPARAM wParam, LPARAM lParam);
    LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

class CMiniDockFrameWnd : public CMiniFrameWnd
{
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd();

    virtual BOOL Create(CWnd* parent, DWORD barStyle);
    void RecalcLayout(BOOL notify = TRUE) override;
    // The dock bar that holds the floating bars; derived frames may hold their own.
    virtual CDockBar* GetDockBar() { return &m_wndDockBar; }
    // The first bar docked in the mini frame, never a placeholder.
    CControlBar* GetFirstBar();

    CDockBar m_wndDockBar;

protected:
    void OnClose();
    void OnNcLButtonDown(UINT hit, CPoint point);
    void OnNcLButtonDblClk(UINT hit, CPoint point);
    DECLARE_MESSAGE_MAP()
};
