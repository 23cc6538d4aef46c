// TkFrameMenuPlugIn: the menu plug-in a toolkit frame owns, as the frame sees
// it. The menus implement it: bitmap menus, and with a menu bar the bar's
// menu tracking. Bitmap menus without a menu bar come from the factory the
// application hands the frame with EnableBmpMenus.
#pragma once

#include <afxwin.h>

class CFrameWnd;
class TkBmpMgr;
class TkFrameMenuPlugIn;

// Makes the plug-in of bitmap menus, plugged into frame.
typedef TkFrameMenuPlugIn* (*TkMenuPlugInFactory)(CFrameWnd* frame);

class TkFrameMenuPlugIn
{
public:
    virtual ~TkFrameMenuPlugIn() = default;

    // Asked first from the frame's own PreTranslateMessage; TRUE when used.
    virtual BOOL PreTranslateFrameMessage(MSG* msg) = 0;
    // The menus draw the images of that manager (the tool bars').
    virtual void SetBmpMgr(TkBmpMgr* manager) = 0;
    // Shows that menu in the menu bar; FALSE when the plug-in drives none.
    virtual BOOL ActivateMenu(UINT menuId) = 0;
};
