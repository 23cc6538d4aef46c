#include "toolkit/toolbars/TkCustomizeToolBar.h"

IMPLEMENT_DYNCREATE(TkCustomizeToolBar, TkCustomToolBar)

TkCustomizeToolBar::TkCustomizeToolBar()
{
    m_layout.m_bBalanceRows = FALSE;
}

void TkCustomizeToolBar::FitToWidth(const CRect& rect)
{
    m_layout.m_nFloatWidth = rect.Width();
    CalcDynamicLayout(rect.Width(), LM_COMMIT | LM_HORZ | LM_MRUWIDTH);
}
