#include "toolkit/colors/TkSysColors.h"

namespace {

// Borders are two pixels wide from system version 4 on.
const DWORD kVersion4 = 4;

BOOL IsVersion4OrLater()
{
    DWORD version = ::GetVersion();
    return LOBYTE(LOWORD(version)) >= kVersion4;
}

}  // namespace

TkSysColors tkSysColors;

TkSysColors::TkSysColors()
{
    m_bWin4 = IsVersion4OrLater();
    m_cxBorder = m_bWin4 ? 2 : 1;
    m_cyBorder = m_cxBorder;
    m_hcurArrow = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    Refresh();
}

void TkSysColors::Refresh()
{
    m_clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
    m_clrBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    m_clrBtnHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_clrWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    m_clr3DLight = ::GetSysColor(COLOR_3DLIGHT);
    m_clr3DDkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    m_clrWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_clrWindow = ::GetSysColor(COLOR_WINDOW);
    m_clrHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    m_clrHighlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
}
