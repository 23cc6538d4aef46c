// TkFrameMenuBar: a frame's menu bar as the frames and the tool-bar manager,
// which lie below the menus, see it. The menu bar implements it; the frame
// holds its bar through it and the tool-bar manager loads its menus through
// it, so neither needs the menu bar's class.
#pragma once

#include <afxwin.h>

class CFrameWnd;
class TkFrameMenuPlugIn;

// The control id of a frame's menu bar.
const UINT kTkMenuBarId = 0xE8FF;

class TkFrameMenuBar
{
public:
    virtual ~TkFrameMenuBar() = default;

    // The plug-in that tracks this bar's menus and draws bitmap menus in
    // frame, plugged into frame.
    virtual TkFrameMenuPlugIn* PlugInMenus(CFrameWnd* frame) = 0;
    // The next hide of the bar is ignored.
    virtual void SetIgnoreNextHide(BOOL ignore) = 0;
    // Shows the caption buttons of a maximised MDI child, else hides them;
    // TRUE when the visible buttons changed.
    virtual BOOL UpdateCaptionButtons(BOOL hide) = 0;
    // The buttons of count menu resources; FALSE when none gave a button.
    virtual BOOL SetMenuList(const UINT* menuIds, int count) = 0;
    // The menu map becomes count (menu id, bit) pairs.
    virtual void SetMenuIdBits(int count, const UINT* pairs) = 0;
    // FALSE when the menu was not loaded.
    virtual BOOL LookupMenuBit(UINT menuId, UINT* bit) const = 0;
    virtual UINT GetActiveMenu() const = 0;
    virtual void ResetButtons(BOOL noLayout) = 0;
};
