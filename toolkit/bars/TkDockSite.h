// TkDockSite: the docking of a toolkit frame. Bars dock into TkDockBars and
// float in TkMiniDockFrameWnds, always between their before and after hooks;
// a frame that hosts docking views' frames in bars, or floats bars in MDI
// children, adds those steps. A bar's dock context calls its dock site
// through this when the frame is one, and the class library's frame
// operations otherwise.
#pragma once

#include <afxext.h>

class TkControlBar;
class TkDockBar;

class TkDockSite
{
public:
    struct Side
    {
        UINT id;
        DWORD style;
    };
    // Where a side must be found from a bar's style, in this order.
    static const Side kSides[4];

    virtual ~TkDockSite() {}
    // The site as a frame.
    virtual CFrameWnd* GetSiteFrame() = 0;

    // Without a dock bar, the side that matches the bar's alignment.
    virtual void DockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect);
    // Without a dock bar, the side that keeps the bar's place, else the
    // side that matches its alignment.
    virtual void ReDockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect);
    // A bar alone in its mini frame only moves it.
    virtual void FloatControlBarEx(CControlBar* bar, int x, int y, DWORD style);
    // Floats the bar in a child window of the main window's client area
    // ("Float In Main Window"); nothing where the frame has none.
    virtual void FloatControlBarInMDIChild(CControlBar* bar, int x, int y, DWORD style);
    // The child window of the main window's client area that floats bars
    // there, not yet holding one; NULL where the frame has none.
    virtual CMDIChildWnd* CreateFloatingMDIChild(DWORD style, CControlBar* bar);
    // Always in a new mini frame, shown.
    void FloatControlBar(CControlBar* bar, CPoint point, DWORD style);
    void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);

    // A docking view's frame hosted in the bar, NULL for none.
    virtual CFrameWnd* GetHostedFrame(CControlBar* bar);
    // A floating hosted frame shows its own caption in place of its mini
    // frame's; docked again it takes back the styles it had.
    virtual void SetHostedFrameStyle(CFrameWnd* frame, BOOL floating);
    virtual void FitHostedFrame(CFrameWnd* frame);

    // The frame's dock site; NULL for a frame of the class library.
    static TkDockSite* FromFrame(CFrameWnd* frame) { return dynamic_cast<TkDockSite*>(frame); }

protected:
    // The bar's before-dock hook; a floating hosted frame takes back its
    // docked styles. Returns the bar as a toolkit bar for its after hook.
    TkControlBar* BeginDock(CControlBar* bar);
    // The first side of the side table whose alignment is the bar's.
    CDockBar* SideDockBarFor(CControlBar* bar);
    // A new mini frame holding the bar at (x, y), not yet shown.
    CMiniDockFrameWnd* FloatInNewMiniFrame(CControlBar* bar, int x, int y, DWORD style);
    void ShowFloatingFrameOf(CControlBar* bar, BOOL show, BOOL delay);
    // A dynamic bar floats lying.
    static DWORD FloatingStyle(CControlBar* bar, DWORD style);
    // The bar's dock bar when the bar lies alone in one of the given kind
    // (a mini frame's or an MDI child's) whose side bits meet style's.
    static TkDockBar* LoneFloatingDockBar(CControlBar* bar, BOOL mdiChild, DWORD style);
};
