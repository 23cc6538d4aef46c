// TkMenuBarMessages: the menu bar's tracking. It owns no window: the frame's
// messages reach it (through TkMenuBarFeature), and it opens, closes and
// switches the bar's popups, runs keyboard menu mode and installs the
// thread's hooks while a menu is worked with the keys or the mouse.
//
// Process-wide (one GUI thread): the hooks, the bar whose popup shows, the
// tracking object and one pending drop-down request. One bar tracks at a time.
#pragma once

#include "toolkit/menus/TkMenuBar.h"

// Registered messages: "WM_TK_MENUPROD" (posted to the frame: a deferred
// move to the next or previous menu; with wParam kTkProdDropHot or
// kTkProdKey a deferred keyboard action of menu mode), and "WM_TKGETMENU"
// (sent to the frame: wParam menu id, lParam popup index; answers the
// popup's HMENU or 0).
extern const UINT WM_TK_MENUPROD;
extern const UINT WM_TKGETMENU;
const WPARAM kTkProdDropHot = 1;
const WPARAM kTkProdKey = 2;

class TkMenuBarMessages
{
public:
    explicit TkMenuBarMessages(TkMenuBar* bar = NULL);
    virtual ~TkMenuBarMessages();

    void SetMenuBar(TkMenuBar* bar) { m_pMenuBar = bar; }
    TkMenuBar* GetMenuBar() const { return m_pMenuBar; }

    virtual void PostMenuProd(BOOL next);
    virtual void CancelMenu();
    virtual void SetActiveMenu(UINT menuId);
    virtual void DropHotMenu();
    virtual void TrackMouse(POINT screenPoint);
    virtual void OnAltKey();
    // A click while the system menu is open; TRUE swallows it.
    virtual BOOL OnSystemMenuClick(const MSG* msg);
    // The frame the messages go to.
    virtual CWnd* GetFrame() = 0;
    virtual void TrackPopup(CWnd* bar, HMENU menu, TkTBNotify* record);
    virtual void TrackSystemMenu(CWnd* bar, HMENU menu, TkTBNotify* record);
    virtual void HookMenuFilter(BOOL on);
    virtual void HookMenuMode(BOOL on);
    // Keyboard access to the bar; TRUE when the message was used.
    virtual BOOL PreTranslateKey(MSG* msg);
    virtual LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnMenuProd(WPARAM wParam, LPARAM lParam);
    // Positive when the notification was one of the bar's.
    virtual LRESULT OnMenuBarNotify(WPARAM wParam, NMHDR* header, LRESULT* result);
    virtual LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnSysCommand(UINT id, LPARAM lParam);
    virtual LRESULT OnNcActivate(BOOL active);
    // The popup window of the menu loop goes off the button it belongs to
    // (Wine's TrackPopupMenuEx ignores the exclusion rectangle).
    void OnEnterIdle(UINT reason, HWND popup);

    // The frame's system menu, the close command its default item.
    static HMENU GetDefaultedSystemMenu(CWnd* window);

protected:
    // The popup a drop-down record names, NULL for none; *owned when the
    // caller must destroy it after tracking.
    HMENU FindMenu(const TkTBNotify* record, BOOL* owned);
    LRESULT ServeRequests(TkTBNotify* record, LRESULT* result);
    void OpenSystemMenu();
    void ClosePopup();
    void PostDefaultSystemCommand();
    void OpenByKey(int index);
    BOOL HandleMenuKey(WPARAM key);

    TkMenuBar* m_pMenuBar;
    BOOL m_bOpenedByKeyboard;
    BOOL m_bMenuSelect;
    BOOL m_bProdNext;
    BOOL m_bAltConsumed;
    // Alt went down and nothing else happened before its release.
    BOOL m_bLoneAlt;
};
