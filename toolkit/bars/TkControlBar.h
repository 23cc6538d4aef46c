// TkControlBar: the toolkit's control bar. It docks in a row of a TkDockBar
// with a share of the row's length (its proportion), floats in a mini frame,
// keeps one size per place (docked lying, docked standing, floating), draws
// a gripper with close and expand buttons when docked, and can lay its child
// windows out to fill it or keep their proportions.
// TkGripperInfo: the gripper's geometry and button tips.
#pragma once

#include <afxext.h>

#include <vector>

class TkControlBarManager;
class TkControlBarInfo;
class TkDockBar;

// The toolkit's own bar style word (ExStyle).
const DWORD TKCBRS_CONTEXTMENU = 0x0001;
const DWORD TKCBRS_PROPORTIONAL_CHILDREN = 0x0002;
const DWORD TKCBRS_FIXEDSIZE = 0x0004;
const DWORD TKCBRS_FIXEDROW = 0x0008;
const DWORD TKCBRS_MARGINS = 0x0010;
const DWORD TKCBRS_FLOATINMAIN = 0x0020;
const DWORD TKCBRS_FILLCHILD = 0x0040;
const DWORD TKCBRS_OWNROW = 0x0080;
const DWORD TKCBRS_TOOLKITBORDERS = 0x0100;
const DWORD TKCBRS_GRIPPER = 0x0200;
const DWORD TKCBRS_CLOSEBUTTON = 0x0400;
const DWORD TKCBRS_EXPANDBUTTON = 0x0800;

// Commands of the bar's context menu.
const UINT ID_TKCB_ALLOWDOCKING = 43040;
const UINT ID_TKCB_HIDE = 43041;
const UINT ID_TKCB_FLOATINMAIN = 43042;
// Sent to the dock site so that it adds its items to a bar's context menu:
// wParam the bar, lParam the menu.
const UINT WM_TKADDCONTEXTMENUITEMS = 0x38FF;

// Strings of the toolkit's resource script.
const UINT IDS_TK_NODOCKING_PROMPT = 20535;
const UINT IDS_TK_HIDE_TIP = 20655;
const UINT IDS_TK_EXPAND_TIP = 20657;
const UINT IDS_TK_CONTRACT_TIP = 20658;
// Tool ids of the gripper's buttons.
const UINT ID_TKCB_CLOSETIP = 1024;
const UINT ID_TKCB_EXPANDTIP = 2048;

class TkGripperInfo : public CObject
{
public:
    TkGripperInfo();
    virtual int GetWidth() const;
    virtual int GetHeight() const;

    // Lead-in, first ridge, gap, second ridge, trailer.
    int m_horzParts[5];
    int m_vertParts[5];
    int m_sideMargin;
    CString m_closeTip;
    CString m_expandTip;
    CString m_contractTip;
};

class TkControlBar : public CControlBar
{
    DECLARE_DYNCREATE(TkControlBar)
public:
    TkControlBar();

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    // Beyond the child windows, the gripper's buttons of a docked bar.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* info) const override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    void DoPaint(CDC* dc) override;

    virtual BOOL Create(CWnd* parent, LPCSTR windowName, DWORD style, DWORD exStyle, UINT id,
                        CCreateContext* context = NULL);
    virtual BOOL CreateEx(LPCSTR className, LPCSTR windowName, UINT id, DWORD style,
                          DWORD exStyle, const RECT& rect, CWnd* parent,
                          CCreateContext* context = NULL);
    virtual void GetInsideRect(CRect& rect);
    virtual CDockContext* CreateDockContext();
    virtual void SetExBarStyle(DWORD exStyle, BOOL redraw = TRUE);
    virtual void ModifyExBarStyle(DWORD remove, DWORD add, BOOL redraw = TRUE);
    void DrawBorders(CDC* dc, CRect& rect) override;
    virtual void GetBarInfoEx(TkControlBarInfo* info);
    void CalcInsideRect(CRect& rect, BOOL horizontal) const override;
    virtual void CalcInsideRect(CRect& rect, BOOL horizontal, BOOL gripperAllowed) const;
    virtual void BeforeDock();
    virtual void OnBeforeDock();
    virtual void AfterDock();
    virtual void BeforeFloat();
    virtual void OnBeforeFloat();
    virtual void AfterFloat();
    virtual void BeforeFloatAsMDIChild();
    virtual void OnBeforeFloatAsMDIChild();
    virtual void AfterFloatAsMDIChild();
    virtual void GetExtraBarInfo(TkControlBarInfo* info);
    virtual void SetExtraBarInfo(TkControlBarInfo* info, CFrameWnd* frame);
    virtual void AddContextMenuItems(CMenu* menu);
    virtual BOOL CanHide();
    // The system colours changed: a bar drawing bitmaps in them loads them again.
    virtual void ReloadSysColorBitmaps();
    virtual BOOL CanExpand();
    virtual void AddGripperSize(CSize& size, BOOL horizontal) const;
    virtual void DrawGripper(CDC* dc, CRect rect);
    virtual void DrawCloseButton(CDC* dc, CRect& gripper, BOOL horizontal);
    virtual void DrawCloseButtonPressed(CDC* dc);
    virtual void DrawCloseButtonUp(CDC* dc);
    virtual void DrawExpandButton(CDC* dc, CRect& gripper, BOOL horizontal);
    virtual void DrawExpandButtonPressed(CDC* dc);
    virtual void DrawExpandButtonUp(CDC* dc);
    virtual void UpdateExpandState(BOOL horizontal);

    void EnableDocking(DWORD dockStyle);
    void SetBarInfoEx(TkControlBarInfo* info, CFrameWnd* frame);
    BOOL GetDockPosition(int& row, int& column, UINT& dockBarId, float& proportion);
    static UINT FindFreeBarId(const CPtrList& bars, UINT firstId);
    // The bar as a toolkit bar; NULL for none or another kind.
    static TkControlBar* FromBar(CControlBar* bar);
    BOOL IsInMDIChild() const;
    // Draws the borders outside the client area into the window's DC, then
    // has the rest erased.
    void EraseNonClient();
    TkDockBar* GetTkDockBar() const;
    DWORD GetExBarStyle() const { return m_dwExStyle; }
    BOOL HasGripper() const;
    // The gripper's buttons, in the bar's client coordinates.
    const CRect& GetCloseRect() const { return m_rectClose; }
    const CRect& GetExpandRect() const { return m_rectExpand; }

    static int GetRedrawOnLayout();
    static void SetRedrawOnLayout(int redraw);
    static CSize s_defaultSize;

    CSize m_sizeHorz;
    CSize m_sizeVert;
    CSize m_sizeFloat;
    DWORD m_dwSavedDockStyle;
    float m_fProportion;
    float m_fSavedProportion;
    DWORD m_dwExStyle;
    CRect m_rectMargins;
    TkControlBarManager* m_pManager;
    TkGripperInfo m_gripper;

protected:
    struct ChildRect
    {
        HWND window;
        CRect rect;
    };

    void RecordChildRects();
    void PlaceButton(CRect& button, CRect& gripper, BOOL horizontal);
    // The offset and size that children fill; FALSE when nothing is left.
    void ChildArea(int cx, int cy, CPoint& offset, CSize& size) const;
    void LayoutChildren(int cx, int cy);
    UINT ChildMoveFlags() const;
    void ReleaseButtons();

    void OnSize(UINT type, int cx, int cy);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnContextMenu(CWnd* window, CPoint point);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnDestroy();
    void OnHide();
    void OnAllowDocking();
    void OnFloatInMainWindow();
    DECLARE_MESSAGE_MAP()

    CRect m_rectClose;
    BOOL m_bClosePressed;
    CRect m_rectExpand;
    BOOL m_bExpandPressed;
    BOOL m_bExpandEnabled;
    BOOL m_bExpandArrow;
    BOOL m_bLastHorz;
    // Record 0 holds the client rectangle when the records were taken; empty
    // while none are.
    std::vector<ChildRect> m_childRects;

    static int s_redrawOnLayout;
};
