// TkMiniDockFrameWnd: the mini frame in which toolkit bars float; it holds a
// TkDockBar of its own instead of the platform's.
#pragma once

#include "bars/TkDockBar.h"

class TkMiniDockFrameWnd : public CMiniDockFrameWnd
{
    DECLARE_DYNCREATE(TkMiniDockFrameWnd)
public:
    TkMiniDockFrameWnd();

    CDockBar* GetDockBar() override { return &m_tkDockBar; }

    TkDockBar m_tkDockBar;

protected:
    void OnParentNotify(UINT message, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
