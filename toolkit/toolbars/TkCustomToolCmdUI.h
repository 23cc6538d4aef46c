// TkCustomToolCmdUI: command update of one button of a TkCustomToolBar.
#pragma once

#include <afxwin.h>

class TkCustomToolBar;

class TkCustomToolCmdUI : public CCmdUI
{
public:
    explicit TkCustomToolCmdUI(TkCustomToolBar* bar) : m_pBar(bar) {}

    void Enable(BOOL on = TRUE) override;
    void SetCheck(int check = 1) override;
    void SetText(LPCSTR text) override;

private:
    TkCustomToolBar* m_pBar;
};
