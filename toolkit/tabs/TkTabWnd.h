// TkTabWndBase: a window that shows one of several panes at a time, with a
// tab control that has one tab per pane; it creates panes from run-time
// classes, keeps the active pane and passes the tab control's notifications
// on to its notify window.
// Tk3DTabWnd: the tab window with the 3-D tab control on one of its four
// sides and a 3-D frame round the pane area.
#pragma once

#include "toolkit/tabs/TkTabControlBase.h"

class TkTabWndBase : public CWnd
{
    DECLARE_DYNAMIC(TkTabWndBase)
public:
    // The tab control's id; panes made without an id get kFirstPaneId + n.
    static const UINT kTabControlId = 0xEA30;
    static const UINT kFirstPaneId = 0xEB00;

    TkTabWndBase();

    virtual BOOL Create(CWnd* parent, DWORD style, UINT id);
    // A 1 x 1 "SCROLLBAR" child with the style; TRUE when made.
    virtual BOOL CreateScrollBarControl(DWORD style, UINT id);
    virtual BOOL CreateTabControl(DWORD style, UINT id);
    // id (UINT)-1 names the pane by its place.
    virtual TkTab* InsertTab(CRuntimeClass* paneClass, int index, LPCSTR label,
                             CCreateContext* context = NULL, UINT id = (UINT)-1);
    virtual TkTab* InsertTab(CWnd* pane, int index, LPCSTR label);
    virtual TkTab* AddTab(CRuntimeClass* paneClass, LPCSTR label, CCreateContext* context = NULL,
                          UINT id = (UINT)-1);
    virtual TkTab* AddTab(CWnd* pane, LPCSTR label);
    virtual void OnTabAdded(int index, int reserved);
    // The tab control's icon of a tab.
    virtual void SetTabIcon(int index, LPCSTR resourceName, int cx, int cy);
    virtual void SetTabIcon(int index, UINT resourceId, int cx, int cy);
    virtual void SetTabIcon(int index, HICON icon);
    virtual void RemoveTab(int index);
    virtual void RemoveTab(CWnd* pane);
    virtual void RenameTab(int index, LPCSTR label);
    virtual void RenameTab(CWnd* pane, LPCSTR label);
    virtual void ActivateTab(int index);
    virtual void ActivateTab(CWnd* pane);
    virtual void ActivateTab(CWnd* pane, int index);
    virtual void ClearSelection();
    // Hands a tab to the tab control's notification hook.
    virtual void NotifyTab(int index);
    virtual void NotifyTab(CWnd* pane);
    // A view pane becomes its frame's active view; another takes the focus.
    virtual void SetActiveFocus();
    // NULL: the parent window.
    virtual void SetNotifyWnd(CWnd* window);
    virtual CWnd* GetNotifyWnd() const;
    virtual void GetInsideRect(CRect& rect);
    virtual void RecalcLayout();

    int GetTabCount() const;
    BOOL FindTab(const CWnd* pane, int& index) const;
    BOOL GetActiveTab(int& index) const;
    CWnd* GetActivePane() const { return m_pActivePane; }
    TkTabControlBase* GetTabControl() const { return m_pTabControl; }

protected:
    CWnd* CreatePane(CRuntimeClass* paneClass, CCreateContext* context, UINT id);
    void FocusPane(CWnd* pane);
    // Panes are made visible; only the active one may stay so, or the hidden
    // tabs' panes would paint, take the focus and be hit under the active one.
    void HideUnlessActive(CWnd* pane);
    void HideInactivePanes();

    void OnDestroy();
    LRESULT OnChildActivateMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnTabActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnFocusPane(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    TkTabControlBase* m_pTabControl;
    CWnd* m_pActivePane;
    CWnd* m_pNotifyWnd;
};

class Tk3DTabWnd : public TkTabWndBase
{
    DECLARE_DYNCREATE(Tk3DTabWnd)
public:
    // Tab style bits (from the window style).
    enum
    {
        tabsBottom = 0x10,
        tabsTop = 0x20,
        tabsLeft = 0x40,
        noEnlargedTab = 0x100,
        thinFrame = 0x400,
    };
    static const int kTabSize = 30;

    Tk3DTabWnd();

    BOOL Create(CWnd* parent, DWORD style, UINT id) override;
    BOOL CreateTabControl(DWORD style, UINT id) override;
    // With WS_TABSTOP the keys move between the tabs, the pane and the
    // window's tab-stop siblings.
    BOOL PreTranslateMessage(MSG* msg) override;
    void GetInsideRect(CRect& rect) override;
    void RecalcLayout() override;

    DWORD GetTabStyle() const { return m_dwTabStyle; }

protected:
    BOOL Lying() const { return (m_dwTabStyle & (tabsBottom | tabsTop)) != 0; }
    CRect TabControlRect(const CRect& inside, const CRect& client) const;
    void DrawFrame(CDC* dc, const CRect& inside);
    BOOL TranslateKey(MSG* msg);
    // Tab from inside the pane: to a later control of the pane, else to the
    // next tab-stop sibling of this window.
    BOOL TabForward(MSG* msg, HWND focus);
    // The focus window's dialog navigation.
    BOOL NavigateInPane(MSG* msg, HWND focus);

    LRESULT OnNcCreateMessage(WPARAM wParam, LPARAM lParam);
    // The focus goes to the tab control, or back into the pane when it came
    // back by Shift+Tab from the sibling after this window.
    void OnSetFocus(CWnd* oldWnd);
    void OnSize(UINT type, int cx, int cy);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    LRESULT On3DTabActivate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    int m_nTabHeight;
    int m_nTabWidth;
    DWORD m_dwTabStyle;
};
