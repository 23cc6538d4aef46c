// TkFrameBarState: the bar layout of a toolkit frame (MDI or SDI), saved and
// loaded under a profile name through a TkDockState bound to the frame's
// control-bar manager; the bars the layout makes belong to the frame. Also
// what both frames do alike for their bars after a layout and when the
// system colours change, and for their menu plug-in.
#pragma once

#include <afxext.h>

#include "toolkit/frames/TkFrameMenuPlugIn.h"

class TkControlBarManager;
class TkDockState;
class TkFrameMenuBar;

class TkFrameBarState
{
public:
    TkFrameBarState();
    virtual ~TkFrameBarState();

    // The frame becomes the thread's main window when it has none.
    virtual void LoadBarState(LPCSTR profileName);
    // FALSE when the layout could not be taken or a bar's own part (a tool
    // bar's title and buttons) could not be stored.
    virtual BOOL SaveBarState(LPCSTR profileName);
    virtual void SetDockState(TkDockState& state);
    virtual void GetDockState(TkDockState& state);
    virtual TkControlBarManager* GetControlBarManager();
    virtual void SetControlBarManager(TkControlBarManager* manager);
    // The frame whose bars these are.
    virtual CFrameWnd* GetBarStateFrame() = 0;

    // Handed to the dock state; deleted with the frame.
    CPtrList m_ownedObjects;

    // After the frame's layout: a frame that had no room is redrawn whole,
    // else its dock bars repaint; layoutRect becomes what the bars leave.
    static void AfterLayout(CFrameWnd* frame, CRect& layoutRect);
    // The frame's menu plug-in, plugged in: menuBar's when there is one,
    // else bitmap menus from bmpMenusFactory when they are on; NULL for
    // neither.
    static TkFrameMenuPlugIn* PlugInMenus(CFrameWnd* frame, TkFrameMenuBar* menuBar, BOOL bmpMenus,
                                          TkMenuPlugInFactory bmpMenusFactory);
    // The toolkit's colours are read again, the frame handles the change,
    // and every custom tool bar of the frame reloads its bitmaps.
    static void ChangeSysColors(CFrameWnd* frame);

protected:
    TkControlBarManager* m_pControlBarManager;
};
