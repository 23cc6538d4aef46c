// TkFrameWnd: the toolkit's single-document frame, and the base of docking
// views' frames: it docks bars into TkDockBars and floats them in
// TkMiniDockFrameWnds between their hooks (TkDockSite), and offers the
// operations through which a hosted frame takes part in its main frame's
// menus and caption.
#pragma once

#include "bars/TkDockSite.h"

#include <afxext.h>

class TkFrameWnd : public CFrameWnd, public TkDockSite
{
    DECLARE_DYNCREATE(TkFrameWnd)
public:
    TkFrameWnd();

    CDockBar* CreateDockBar() override;
    CFrameWnd* GetSiteFrame() override { return this; }
    using TkDockSite::DockControlBar;
    using TkDockSite::ReDockControlBar;
    using TkDockSite::FloatControlBar;
    using TkDockSite::ShowControlBar;
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0, LPCRECT rect = NULL);
    // Docks the bar at (column, row) of the dock bar of that id (else the
    // side of its alignment), its proportion and length committed first.
    virtual void DockControlBarEx(CControlBar* bar, UINT dockBarId, int column, int row,
                                  float proportion, int length);
    // Shows altMenu, or the frame's own menu, as the class library's frame does.
    virtual void OnUpdateFrameMenu(BOOL activate, CWnd* activateWnd, HMENU altMenu);
    void OnUpdateFrameMenu(HMENU altMenu) override;
    // Whether the frame floats with the bar that holds it.
    virtual BOOL IsFloating();
    // Switches the frame's caption features (filters); none here.
    virtual void SetFeatures(UINT flags);
};
