// TkTabControlBase: the ordered tabs of a tab window, the active tab and the
// notifications to the parent; drawing and hit testing belong to the derived
// controls. TkTab: one tab, with the pane window it stands for.
#pragma once

#include <afxwin.h>

#include <memory>

// Notifications to the parent window.
// wParam the newly active index; lParam a TkTabSelection, or 0 from SelectTab.
const UINT WM_TKTAB_ACTIVATE = WM_USER + 1000;
// wParam the index of a double-clicked tab.
const UINT WM_TKTAB_DBLCLK = WM_USER + 1001;
// Every selection was cleared.
const UINT WM_TKTAB_CLEARSELECTION = WM_USER + 1002;
// wParam the active index: its pane wants the focus.
const UINT WM_TKTAB_FOCUSPANE = WM_USER + 1003;

struct TkTabSelection
{
    int nCtrlId;
    int nNewIndex;
    // -1 and NULL when no tab was active.
    int nOldIndex;
    CWnd* pNewPane;
    CWnd* pOldPane;
};

class TkTab : public CObject
{
    DECLARE_DYNCREATE(TkTab)
public:
    TkTab();

    CString m_strLabel;
    int m_nWidth;
    int m_nHeight;
    BOOL m_bSelected;
    CWnd* m_pPane;
    DWORD m_dwExtra1;
    DWORD m_dwExtra2;
};

class TkTabControlBase : public CWnd
{
    DECLARE_DYNAMIC(TkTabControlBase)
public:
    TkTabControlBase();
    ~TkTabControlBase() override;

    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    virtual void Initialize(DWORD style);
    virtual TkTab* CreateNewTab();
    virtual void RecalcLayout();
    virtual void ScrollToTab(int index);
    virtual void DestroyGdiObjects();
    virtual TkTab* InsertTab(int index, LPCSTR label, CWnd* pane, DWORD extra1 = 0,
                             DWORD extra2 = 0);
    virtual TkTab* AddTab(LPCSTR label, CWnd* pane, DWORD extra1 = 0, DWORD extra2 = 0);
    virtual void SetTabIcon(int index, LPCSTR resourceName, int cx, int cy);
    virtual void SetTabIcon(int index, UINT resourceId, int cx, int cy);
    virtual void SetTabIcon(int index, HICON icon);
    virtual void DeleteTab(int index);
    virtual void RenameTab(int index, LPCSTR label);
    virtual void ActivateTab(int index);
    virtual void FocusActivePane();
    virtual void SelectTab(int index);
    virtual void ClearSelection();
    virtual void OnTabNotify(int index);
    virtual void InvalidateTab(int index);

    int GetTabCount() const;
    // NULL for an index out of range.
    TkTab* GetTab(int index) const;
    BOOL GetTabInfo(int index, CString& label, BOOL& selected, CWnd*& pane, DWORD& extra1,
                    DWORD& extra2) const;
    // The last tab of pane.
    BOOL FindTab(const CWnd* pane, int& index) const;
    BOOL IsTab(const CWnd* pane) const;
    // Gives the active flag; index is the active index.
    BOOL GetActiveTab(int& index) const;

protected:
    BOOL IsIndex(int index) const;
    // Invalidates the tabs from first to the last.
    void InvalidateFrom(int first);
    void DeleteAllTabs();

    void OnDestroy();
    BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    DECLARE_MESSAGE_MAP()

    // Made by Create: tabs are added only to a created control.
    std::unique_ptr<CObArray> m_pTabs;
    int m_nActiveTab;
    BOOL m_bActive;
    HCURSOR m_hCursor;
};
