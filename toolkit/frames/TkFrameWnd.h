// TkFrameWnd: the toolkit's single-document frame, so far the base that
// docking views' frames build on: it docks bars into TkDockBars and offers
// the operations through which a hosted frame takes part in its main
// frame's menus and caption.
#pragma once

#include <afxext.h>

class TkFrameWnd : public CFrameWnd
{
    DECLARE_DYNCREATE(TkFrameWnd)
public:
    CDockBar* CreateDockBar() override;
    // Shows altMenu, or the frame's own menu, as the class library's frame does.
    virtual void OnUpdateFrameMenu(BOOL activate, CWnd* activateWnd, HMENU altMenu);
    void OnUpdateFrameMenu(HMENU altMenu) override;
    // Whether the frame floats with the bar that holds it.
    virtual BOOL IsFloating();
    // Switches the frame's caption features (filters); none here.
    virtual void SetFeatures(UINT flags);
};
