// TkMenuBar: a dockable tool bar that stands in for a frame's menu. Its
// buttons are the top-level items of one or more menu resources; each menu
// loaded gets a bit, and only the buttons of the active menus' bits show, so
// one bar serves the main menu and the document types' menus. The bar also
// keeps the state of keyboard menu mode (a hot menu button without a popup)
// and of the menu button whose popup is open; TkMenuBarMessages drives it.
#pragma once

#include "toolkit/frames/TkFrameMenuBar.h"
#include "toolkit/toolbars/TkCustomToolBar.h"

// Menu-bar notifications (WM_NOTIFY with a TkTBNotify record).
const int kTkNotifyMenuDropDown = -2120;
const int kTkNotifyMenuClose = -2121;
const int kTkNotifyMenuModeOn = -2122;
const int kTkNotifyMenuModeOff = -2123;

// Command ids of the menu buttons of one load start here.
const UINT kTkFirstMenuCommand = 0x80000001;
// Style of the menu buttons and of the caption buttons.
const DWORD kTkMenuButtonStyle = 0x30000000;

class TkMenuBar : public TkCustomToolBar, public TkFrameMenuBar
{
    DECLARE_DYNCREATE(TkMenuBar)
public:
    TkMenuBar();
    ~TkMenuBar() override;

    void DelayShow(BOOL show) override;
    DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* layout) override;
    void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) override;
    BOOL CreateToolBarEx(DWORD exStyle, CWnd* parent, DWORD style, UINT id,
                         LPCSTR title) override;
    void InsertButton(int index, UINT id, BOOL separator, BOOL noRecalc) override;
    BOOL IsCoolLook() const override { return TRUE; }
    // Docked, the bar spans its frame (its caption group at the far end).
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OpenMenuButton(TkStdBtn* button, DWORD_PTR value1, DWORD_PTR value2) override;

    virtual CFont* GetMenuFont();
    // Index of the first visible menu button with that mnemonic, -1 if none.
    virtual int FindMnemonic(char c) const;
    virtual void SetActiveMask(UINT mask, BOOL redraw);
    void ResetButtons(BOOL noLayout) override;
    // The buttons of count menu resources (UINT ids); FALSE when none of
    // them gave a button.
    virtual BOOL SetMenus(int count, UINT menuId, ...);
    BOOL SetMenuList(const UINT* menuIds, int count) override;
    // The next DelayShow(FALSE) is ignored.
    void SetIgnoreNextHide(BOOL ignore) override { m_bKeepShown = ignore; }
    // The menu-bar feature driving this bar.
    TkFrameMenuPlugIn* PlugInMenus(CFrameWnd* frame) override;
    // A plain menu bar carries no caption buttons.
    BOOL UpdateCaptionButtons(BOOL hide) override;

    BOOL LookupMenuBit(UINT menuId, UINT* bit) const override;
    void SetMenuIdBits(int count, const UINT* pairs) override;
    UINT GetActiveMask() const { return m_nActiveMask; }
    UINT GetActiveMenu() const override { return m_nActiveMenu; }
    void SetActiveMenuId(UINT menuId) { m_nActiveMenu = menuId; }
    const CStringArray& GetTitles() const { return m_titles; }

    // Menu tracking: keyboard menu mode and the menu button being tracked.
    virtual void PressMenuButton(int index);
    virtual void EnterMenuMode(int index);
    virtual void EnterMenuModeAt(CPoint point);
    virtual void ExitMenuMode();
    BOOL IsInMenuMode() const { return m_bMenuMode; }
    int GetMenuIndex() const { return m_nMenuIndex; }
    virtual int FirstMenuButton() const;
    virtual int LastMenuButton() const;
    virtual int FirstTopMenuButton() const;
    virtual int NextMenuButton(BOOL forward) const;
    // Mouse messages of the menu loop while a popup of this bar is open
    // (msg->pt in screen coordinates); TRUE when used.
    virtual BOOL FilterMenuMouse(const MSG* msg);
    virtual void RefreshMenuTracking();
    // Sends a notification of the bar itself (command id 0).
    LRESULT SendBarNotify(int code, int index, DWORD_PTR menu, DWORD_PTR popup);
    // A visible button of kind 3 or 4.
    BOOL IsMenuButton(int index) const;

protected:
    void CreateMenuFont();
    void ApplyActiveMask();
    void FreeTable();
    void RelayoutFrame();
    // A floating bar's mini frame loses its close box.
    void ApplyFloatFix();
    // The docking frame's client width (horizontal) or height; 0 when the
    // bar floats or has no frame.
    int HostLength(BOOL horizontal) const;
    // The tracked button lets go of its pressed look.
    void CancelTrackedButton();
    void SetMenuIndexHot(BOOL hot);

    LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CMap<UINT, UINT, UINT, UINT> m_menuBits;
    CStringArray m_titles;
    BOOL m_bFloatFix;
    CFont m_menuFont;
    UINT m_nActiveMask;
    UINT m_nActiveMenu;
    BOOL m_bKeepShown;
    TkBtnMapEntry* m_pTable;
    int m_nMenuIndex;
    BOOL m_bMenuMode;
};
