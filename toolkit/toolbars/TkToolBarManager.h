// TkToolBarManager: looks after all customisable tool bars of one frame. It
// keeps the definitions of the built-in bars and makes them when no saved
// layout exists, shares one bitmap manager and one drawing workspace among
// the bars, holds the options (tool tips, cool look, large buttons), makes
// user bars, runs config mode (the rest of the frame disabled while the
// customise dialog is up) and tells listener windows about bar events
// through "WM_BARNOTIFY" (wParam bar id, lParam one of the codes below).
#pragma once

#include "toolkit/bars/TkControlBarManager.h"
#include "toolkit/toolbars/TkBtnMap.h"

#include <afxtempl.h>

#include <memory>
#include <vector>

class TkBmpMgr;
class TkCustomToolBar;
class TkDrawData;
struct TkBtnStyleChange;

// "WM_BARNOTIFY" codes.
const LPARAM kTkBarShown = 0;
const LPARAM kTkBarHidden = 1;
const LPARAM kTkBarCreated = 2;
const LPARAM kTkBarDestroyed = 3;
const LPARAM kTkBarSelectionChanged = 4;

// Saved-bar type ids of the dock state's records.
const DWORD kTkCustomToolBarType = 14946;
const DWORD kTkMenuBarType = 14947;

// Bar styles of the bars the manager makes: child, visible, top, bottom
// border, dynamic size; tool tips and fly-by add their bits.
const DWORD kTkManagedBarStyle = 0x50002804;
// Extended bar styles "CoolLook" sets.
const DWORD kTkCoolLookBits = 0x0300;

const UINT IDS_TK_MENU_BAR_TITLE = 20619;
const UINT IDS_TK_USER_BAR_TITLE = 20674;

// One built-in bar. The ids stay the caller's (0 is a separator).
struct TkDefaultToolBarInfo
{
    UINT nID;
    CString strTitle;
    int nCount;
    const UINT* pIds;
    DWORD dwAlignment;
    UINT nDockBarId;
    UINT nBesideId;
    BOOL bDocked;
    BOOL bVisible;
};

// Where the last button command came from, shared by every bar of a manager
// while its WM_COMMAND is posted. Reference-counted.
class TkLastCommandRecord
{
public:
    TkLastCommandRecord() : m_nRefs(1), m_rect(0, 0, 0, 0), m_bActive(FALSE) {}
    void AddRef() { m_nRefs++; }
    void Release()
    {
        if (--m_nRefs == 0)
            delete this;
    }

    LONG m_nRefs;
    CRect m_rect;
    BOOL m_bActive;
};

class TkToolBarManager : public TkControlBarManager
{
    DECLARE_DYNAMIC(TkToolBarManager)
public:
    // owner's window, when given, owns every bar the manager makes.
    TkToolBarManager(CFrameWnd* frame, CWnd* owner = NULL);
    ~TkToolBarManager() override;

    BOOL LoadStateFromTree(TkPersistentTreeNode* node) override;
    void LoadStateFromProfile(LPCSTR profileName) override;
    BOOL SaveStateToTree(TkPTNFactory* factory, TkPersistentTreeNode* node) override;
    void SaveStateToProfile(LPCSTR profileName) override;
    DWORD GetBarTypeID(CControlBar* bar) override;
    TkControlBarInfoEx* CreateControlBarInfoEx(TkControlBarInfo* info) override;
    CControlBar* DynCreateControlBar(TkControlBarInfo* info) override;
    virtual TkCustomToolBar* FindBarFromRect(const CRect& rect);
    virtual TkCustomToolBar* FindBarById(UINT id);
    virtual void CreateDefaultToolBars();
    virtual void ApplyButtonSize();
    virtual void BindToolBars();

    void DefineDefaultToolBar(UINT id, LPCSTR title, int count, const UINT* ids, DWORD alignment,
                              UINT dockBarId, UINT besideId, BOOL docked, BOOL visible);
    // The ids of a tool-bar resource, separators as 0; FALSE when it cannot be read.
    BOOL DefineDefaultToolBar(UINT id, LPCSTR title, UINT resourceId, DWORD alignment,
                              UINT dockBarId, UINT besideId, BOOL docked, BOOL visible);
    BOOL GetDefaultButtons(UINT id, const UINT** ids, int* count) const;
    // The frame's menu bar shows count menu resources (menuId and count - 1
    // more UINT ids); the manager keeps the menu-button table as its second
    // button map and its commands as the default menu-bar buttons. FALSE when
    // the frame has no menu bar.
    BOOL SetMenuInfo(int count, UINT menuId, ...);
    // The menu bar's menu-id-to-bit map from count (menu id, bit) pairs;
    // FALSE when the frame has no menu bar.
    BOOL SetMenuIdBits(int count, const UINT* pairs);
    void SetDefaultMenuBarButtons(int count, const UINT* ids);
    const CArray<UINT, UINT>& GetDefaultMenuBarButtons() const { return m_menuBarButtons; }

    BOOL LoadToolBarResource(UINT resourceId, UINT largeBitmapId);
    BOOL AddBitmapResource(UINT bitmapId, UINT largeId, const UINT* ids, int count);
    BOOL AddBitmap(HBITMAP bitmap, HBITMAP largeBitmap, const UINT* ids, int count);

    void EnableToolTips(BOOL on);
    void EnableCoolLook(BOOL on, DWORD bits);
    void EnableLargeBtns(BOOL on);
    // The three options through their setters (cool look with kTkCoolLookBits).
    void ApplyOptions(BOOL toolTips, BOOL coolLook, BOOL largeButtons);
    BOOL IsToolTipsEnabled() const { return m_bToolTips; }
    BOOL IsFlyByEnabled() const { return m_bFlyBy; }
    BOOL IsCoolLookEnabled() const { return m_bCoolLook; }
    BOOL IsLargeBtnsEnabled() const { return m_bLargeButtons; }
    DWORD GetBarStyle() const;
    DWORD GetBarExStyle() const { return m_bCoolLook ? kTkCoolLookBits : 0; }

    // NULL when every user id is taken or the class cannot be made.
    TkCustomToolBar* CreateUserToolBar(LPCSTR name);
    // Shown or hidden at once.
    void ShowBar(CControlBar* bar, BOOL show);
    // The frame floats the bar with its top edge at the screen point.
    void FloatBar(CControlBar* bar, CPoint point);
    // Runs the "Toolbars" dialog: IDOK, IDCANCEL or IDC_TK_CUSTOMIZE (open
    // the customise sheet).
    INT_PTR ExecViewToolBarsDlg();

    void EnterConfigMode();
    void ExitConfigMode();
    BOOL InCustomizeMode() const override { return m_bConfigMode; }
    void SetToolBarsCustomizeMode(BOOL on);
    BOOL GetToolBarsCustomizeMode() const { return m_bBarsCustomizing; }
    // A customise dialog or page comes up: the bars enter customise mode,
    // the manager config mode, and dialog becomes the customise dialog.
    void BeginCustomize(CWnd* dialog);
    // Bars and manager leave both modes.
    void EndCustomize();
    void SetCustomizeDialog(CWnd* dialog) { m_pCustomizeDialog = dialog; }
    CWnd* GetCustomizeDialog() const { return m_pCustomizeDialog; }
    void GetCustomizeDialogRect(CRect* rect) const;
    // The bar holding the customise selection (the bar keeps the index);
    // NULL when no button is selected.
    void SetSelectedBar(TkCustomToolBar* bar) { m_pSelectedBar = bar; }
    TkCustomToolBar* GetSelectedBar() const { return m_pSelectedBar; }

    void AddListener(CWnd* wnd);
    void RemoveListener(CWnd* wnd);
    void NotifyBarEvent(UINT barId, LPARAM code);
    // Every button with the id on every custom bar of the frame.
    void InformBtns(UINT id, int kind, const void* data);

    // Adds a reference for the caller.
    TkLastCommandRecord* GetLastCommandRecord();
    TkBmpMgr* GetBmpMgr() const override { return m_pBmpMgr; }
    TkDrawData* GetDrawData() const { return m_pDrawData.get(); }
    const TkBtnMapEntry* GetFirstButtonMap() const { return m_pFirstMap; }
    const TkBtnMapEntry* GetSecondButtonMap() const { return m_pSecondMap; }
    CWnd* GetOwner() const { return m_pOwner; }
    // The frame's menu bar; NULL when it has none.
    TkCustomToolBar* GetFrameMenuBar();

    static UINT s_nBarNotifyMsg;
    CRuntimeClass* m_pBarClass;

protected:
    // The frame's custom tool bars, in its control-bar list's order.
    void GetCustomBars(CArray<TkCustomToolBar*, TkCustomToolBar*>& bars);
    // A bar of the default class bound to this manager, not yet created.
    TkCustomToolBar* NewBar();
    // Binds the bar and makes its window with the manager's styles.
    BOOL CreateBar(TkCustomToolBar* bar, LPCSTR title, UINT id);
    // A new bar of the default class, made and deleting itself; NULL on failure.
    TkCustomToolBar* MakeBar(LPCSTR title, UINT id);
    static BOOL IsMenuBar(CControlBar* bar);
    // The menu bar made under id with the title "Menu bar"; FALSE without one.
    BOOL CreateMenuBar(UINT id);
    // The menu bar with its default buttons, docked at the top.
    void CreateDefaultMenuBar();
    // Copies a menu bar's table into the second map; its command ids to commands.
    void KeepMenuTable(const TkBtnMapEntry* table, CArray<UINT, UINT>& commands);
    void DockBarAt(CControlBar* bar, UINT dockBarId, LPCRECT rect);
    void DockDefaultBar(TkCustomToolBar* bar, const TkDefaultToolBarInfo& info);
    const TkDefaultToolBarInfo* FindDefinition(UINT id) const;
    UINT FreeUserBarId();
    void RestyleBars(DWORD remove, DWORD add, BOOL exStyle, BOOL redraw);
    void RecalcFrameLater();

    CWnd* m_pOwner;
    CList<HWND, HWND> m_disabledWindows;
    std::vector<std::unique_ptr<TkDefaultToolBarInfo>> m_definitions;
    CList<HWND, HWND> m_listeners;
    CWnd* m_pCustomizeDialog;
    TkCustomToolBar* m_pSelectedBar;
    BOOL m_bConfigMode;
    BOOL m_bBarsCustomizing;
    BOOL m_bToolTips;
    BOOL m_bFlyBy;
    BOOL m_bCoolLook;
    BOOL m_bLargeButtons;
    const TkBtnMapEntry* m_pFirstMap;
    TkBtnMapEntry* m_pSecondMap;
    TkLastCommandRecord* m_pLastCommand;
    CArray<UINT, UINT> m_menuBarButtons;
    // The texts the second map's entries point at.
    CStringArray m_menuTitles;
    // Ids of definitions read from tool-bar resources.
    std::vector<std::unique_ptr<CArray<UINT, UINT>>> m_resourceIds;
    TkBmpMgr* m_pBmpMgr;
    std::unique_ptr<TkDrawData> m_pDrawData;

private:
    TkToolBarManager(const TkToolBarManager&);
    void operator=(const TkToolBarManager&);
};
