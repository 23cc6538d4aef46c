#include "toolkit/toolbars/TkCustomToolCmdUI.h"

#include "toolkit/toolbars/TkCustomToolBar.h"

void TkCustomToolCmdUI::Enable(BOOL on)
{
    m_bEnableChanged = TRUE;
    DWORD style = m_pBar->GetButtonStyle(m_nIndex);
    style = on ? style & ~TBBS_DISABLED : style | TBBS_DISABLED;
    m_pBar->SetButtonStyle(m_nIndex, style);
}

void TkCustomToolCmdUI::SetCheck(int check)
{
    DWORD style = m_pBar->GetButtonStyle(m_nIndex) | TBBS_CHECKBOX;
    style &= ~(TBBS_CHECKED | TBBS_INDETERMINATE);
    if (check == 1)
        style |= TBBS_CHECKED;
    else if (check == 2)
        style |= TBBS_INDETERMINATE;
    m_pBar->SetButtonStyle(m_nIndex, style);
}

void TkCustomToolCmdUI::SetText(LPCSTR)
{
}
