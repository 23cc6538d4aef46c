// TkDockSite: a frame that docks and floats toolkit bars its own way (around
// the bars' before and after hooks). A bar's dock context calls its dock
// site through this when the frame is one, and the class library's frame
// operations otherwise.
#pragma once

#include <afxext.h>

class TkDockSite
{
public:
    virtual ~TkDockSite() {}
    virtual void DockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect) = 0;
    virtual void ReDockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect) = 0;
    virtual void FloatControlBarEx(CControlBar* bar, int x, int y, DWORD style) = 0;
    // Floats the bar in a child window of the main window's client area
    // ("Float In Main Window"); NULL where the frame has none.
    virtual void FloatControlBarInMDIChild(CControlBar* bar, int x, int y, DWORD style) = 0;
    // The site as a frame.
    virtual CFrameWnd* GetSiteFrame() = 0;

    // The frame's dock site; NULL for a frame of the class library.
    static TkDockSite* FromFrame(CFrameWnd* frame) { return dynamic_cast<TkDockSite*>(frame); }
};
