// TkSysColors: the toolkit's cache of system colours and metrics, one
// process-wide object read by all toolkit drawing. Refresh re-reads the
// colours after a system colour change.
#pragma once

#include <windows.h>

class TkSysColors
{
public:
    TkSysColors();

    void Refresh();

    int m_cxBorder;
    int m_cyBorder;
    COLORREF m_clrBtnFace;
    COLORREF m_clrBtnShadow;
    COLORREF m_clrBtnHilite;
    COLORREF m_clrWindowFrame;
    COLORREF m_clr3DLight;
    COLORREF m_clr3DDkShadow;
    COLORREF m_clrWindowText;
    COLORREF m_clrWindow;
    COLORREF m_clrHighlight;
    COLORREF m_clrHighlightText;
    HCURSOR m_hcurArrow;
    BOOL m_bWin4;
};

extern TkSysColors tkSysColors;
