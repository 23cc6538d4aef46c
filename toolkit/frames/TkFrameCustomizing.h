// TkFrameCustomizing: what a toolkit frame does differently while the user
// customises its tool bars. The customise sheet is modal, yet the frame stays
// enabled so that buttons can be dragged on its bars: the frame itself then
// answers no hit test and no Alt-key menu, keeps no stay-active mark, and
// lays out at once when bars change behind the sheet. Also the bitmap
// manager its bitmap menus share with the tool-bar manager.
#pragma once

#include <afxext.h>

class TkFrameMenuPlugIn;
class TkControlBarManager;

class TkFrameCustomizing
{
public:
    // TRUE while manager is a tool-bar manager in customise mode.
    static BOOL IsCustomizing(TkControlBarManager* manager);
    // TRUE when the message is that system command (an SC_ value), queued or
    // sent, and must be eaten. The Alt key's SC_KEYMENU comes sent by the
    // default key handling, never through the queue.
    static BOOL EatsSysCommand(TkControlBarManager* manager, UINT message, WPARAM wParam,
                               UINT command);
    // The frame's stay-active mark goes while customising.
    static void ClearStayActive(TkControlBarManager* manager, CFrameWnd* frame);
    // WM_NCHITTEST (HTERROR), the Alt key's WM_SYSCOMMAND (eaten) and
    // WM_ENABLE (the stay-active mark goes) while customising: TRUE with
    // *result when the frame must answer so, FALSE for its default handling.
    static BOOL Answer(TkControlBarManager* manager, CFrameWnd* frame, UINT message,
                       WPARAM wParam, LRESULT* result);
    // WM_ENTERIDLE for a dialog box while customising: the pending layout
    // is done and the frame repainted now, not at the next idle time.
    static void EnterIdle(TkControlBarManager* manager, CFrameWnd* frame, UINT reason);
    // With bitmap menus on, the menu plug-in draws the tool-bar manager's
    // bitmaps.
    static void ShareBmpMgr(TkControlBarManager* manager, TkFrameMenuPlugIn* plugIn, BOOL bmpMenus);
};
