// TkFloatingBarHost: what an MDI child that hosts a control bar floated in
// the main window ("Float In Main Window") does, for both such children
// (TkControlBarMDIChildWnd, and the workbook's TkControlBarWorksheet). Its
// own floating dock bar holds the bar; the child takes the bar's title,
// sizes the bar with itself, remembers its place as the bar's floating
// place, and closing it only hides the bar.
#pragma once

#include "toolkit/bars/TkDockBar.h"

class TkFloatingBarHost
{
public:
    explicit TkFloatingBarHost(CMDIChildWnd* child);
    ~TkFloatingBarHost();

    TkDockBar* GetDockBar() { return &m_wndDockBar; }
    // The bar when the child holds one alone (no CBRS_FLOAT_MULTI).
    CControlBar* GetSingleBar();
    // Creates the dock bar (the float dock bar's id) and moves it into the child.
    BOOL CreateDockBar();
    // TRUE while a layout runs: the child's layout must not start another.
    BOOL m_bInLayout;
    // The child's text becomes the dock bar's.
    void TakeTitle();
    // The bar is laid out to the child's client size, its borders included.
    void SizeBar(int cx, int cy);
    // With a single bar: the child is restored and the bar hidden; TRUE.
    // FALSE when the child closes as any other.
    BOOL HideBarOnClose();
    // The child's place becomes the bar's floating place (screen coordinates).
    void RememberPlace();
    // The MDI client's window menu follows the child's visibility.
    void RefreshWindowMenu();

private:
    CMDIChildWnd* m_pChild;
    TkDockBar m_wndDockBar;
};
