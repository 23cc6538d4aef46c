// TkMiniDockFrameWnd: the mini frame in which toolkit bars float; it holds a
// TkDockBar of its own instead of the platform's.
#pragma once

#include "toolkit/bars/TkDockBar.h"

class TkMiniDockFrameWnd : public CMiniDockFrameWnd
{
    DECLARE_DYNCREATE(TkMiniDockFrameWnd)
public:
    TkMiniDockFrameWnd();

    void RecalcLayout(BOOL notify = TRUE) override;
    BOOL Create(CWnd* parent, DWORD barStyle) override;
    // Lays the bars out now (a pending delayed layout is dropped); a frame
    // that snaps to its bars takes their size and moves to (x, y) at once.
    virtual void RecalcLayoutAt(int x, int y, BOOL notify = TRUE);

    CDockBar* GetDockBar() override { return &m_tkDockBar; }

    TkDockBar m_tkDockBar;

protected:
    void OnParentNotify(UINT message, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // Set while the frame creates itself or lays itself out: the layouts
    // its own moves and the new dock bar ask for would come back in here.
    BOOL m_bInLayout;
};
