// TkToolBarsBase: what the "Toolbars" dialog and the "Toolbars" page of the
// customise sheet share: the list of the frame's tool bars with a check box
// for each bar's visibility, the name of the selected bar, reset or delete,
// new bars, and the options Show Tooltips, Cool Look and Large Buttons.
// The panel is the dialog or page window whose controls these are.
#pragma once

#include <afxwin.h>

class TkCustomToolBar;
class TkToolBarManager;

// Controls of the tool-bars panels.
const UINT IDC_TK_TOOLBARS_LIST = 43094;
const UINT IDC_TK_NAME_LABEL = 43097;
const UINT IDC_TK_NEW_TOOLBAR = 43098;
const UINT IDC_TK_CUSTOMIZE = 43099;
const UINT IDC_TK_RESET = 43100;
const UINT IDC_TK_TOOLTIPS = 43101;
const UINT IDC_TK_NAME = 43102;
const UINT IDC_TK_LARGE_BUTTONS = 43103;
const UINT IDC_TK_COOL_LOOK = 43104;

const UINT IDS_TK_RESET = 20536;
const UINT IDS_TK_DELETE = 20537;

// Longest tool-bar name kept.
const int kTkMaxToolBarName = 128;

class TkToolBarsBase
{
public:
    explicit TkToolBarsBase(CWnd* panel);
    virtual ~TkToolBarsBase() {}

    // Takes the manager's options as the current and the opening values.
    void SetManager(TkToolBarManager* manager);
    TkToolBarManager* GetManager() const { return m_pManager; }
    // The current values to the manager.
    void Apply();
    // The opening values to the manager.
    void Restore();
    void FillList();
    void UpdateControls();
    void OnBarNotify(UINT barId, LPARAM code);
    void OnNameChanged();
    // TRUE when a bar was made.
    BOOL OnNew();
    void OnResetOrDelete();
    void OnCheckChange();
    // The options between the members and the check boxes.
    void ExchangeOptions(CDataExchange* dx);
    // The panel's control commands and "WM_BARNOTIFY"; TRUE when handled.
    BOOL OnPanelMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A check box of the options changed: read and applied.
    virtual void OnOptionChanged(UINT id);

    CCheckListBox m_list;
    BOOL m_bToolTips;
    BOOL m_bCoolLook;
    BOOL m_bLargeButtons;
    BOOL m_bOpenToolTips;
    BOOL m_bOpenCoolLook;
    BOOL m_bOpenLargeButtons;

protected:
    // Subclasses the list; FALSE when the panel has none.
    BOOL AttachList();
    // The bar of the selected item, NULL when none is selected or it is gone.
    TkCustomToolBar* SelectedBar() const;
    int FindItem(UINT barId) const;
    void AddBarItem(int index, TkCustomToolBar* bar);
    void EnablePanelItem(UINT id, BOOL enable);

    TkToolBarManager* m_pManager;
    CWnd* m_pPanel;
};
