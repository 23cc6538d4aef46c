// TkCustomToolBar: the customisable tool bar. It owns an ordered array of
// button objects, lays them out with TkToolBarLayout, paints them through
// one off-screen button bitmap, routes the mouse to them (press, capture,
// hot tracking) and updates their states through command update.
#pragma once

#include "toolkit/bars/TkControlBar.h"
#include "toolkit/toolbars/TkBarToolTip.h"
#include "toolkit/toolbars/TkBtnMap.h"
#include "toolkit/toolbars/TkToolBarLayout.h"

#include <memory>

class TkBmpMgr;
class TkDrawData;
class TkCustomToolBarInfoEx;
class TkToolBarManager;
class TkReBar;

// Extended bar styles of tool bars (the base's extended style word).
const DWORD TKTBS_CREATED = 0x0004;
const DWORD TKTBS_COOLLOOK = 0x0100;
const DWORD TKTBS_TRANSPARENT = 0x1000;

// Behaviour flags: buttons may not be dragged out to another bar.
const DWORD TKTBB_NODRAGOUT = 0x0001;
// The cursor of a drag that copies.
const UINT IDC_TK_COPYDRAG = 20691;

// Hot tracking's timer and period.
const UINT_PTR kTkHotTrackTimer = 0xE002;
const UINT kTkHotTrackPeriod = 100;
// Bars the user made have control ids from here on.
const UINT kTkFirstUserBarId = 0xE820;
const UINT kTkLastUserBarId = 0xE8FE;

// The record a tool-bar notification carries: the platform's tool-bar
// notification with the button's index and two pointer-sized values.
struct TkTBNotify
{
    NMTOOLBARA hdr;
    int nIndex;
    DWORD_PTR dwValue1;
    DWORD_PTR dwValue2;
    BOOL bHeapCopy;
};

class TkCustomToolBar : public TkControlBar
{
    DECLARE_DYNCREATE(TkCustomToolBar)
public:
    TkCustomToolBar();
    ~TkCustomToolBar() override;

    BOOL Create(CWnd* parent, LPCSTR windowName, DWORD style, DWORD exStyle, UINT id,
                CCreateContext* context = NULL) override;
    virtual BOOL CreateToolBarEx(DWORD exStyle, CWnd* parent, DWORD style, UINT id, LPCSTR title);
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    void DelayShow(BOOL show) override;
    // Every button hears of the new style.
    void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) override;
    void DoPaint(CDC* dc) override;
    void DrawBorders(CDC* dc, CRect& rect) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* info) const override;
    void GetExtraBarInfo(TkControlBarInfo* info) override;
    void SetExtraBarInfo(TkControlBarInfo* info, CFrameWnd* frame) override;
    // The bar's own part of a saved layout: title and buttons.
    void GetBarInfoEx(TkCustomToolBarInfoEx* info);
    void SetBarInfoEx(const TkCustomToolBarInfoEx* info);

    virtual BOOL RemoveButton(int index, BOOL noRecalc);
    virtual void InsertButton(int index, UINT id, BOOL separator, BOOL noRecalc);
    virtual int GetButtonImage(UINT id, HBITMAP* bitmap) const;
    virtual void ResizeButtons();
    virtual BOOL SetButtons(const UINT* ids, int count);
    virtual void RemoveAllButtons();
    virtual BOOL IsCoolLook() const { return (m_dwExStyle & TKTBS_COOLLOOK) != 0; }
    virtual void InvalidateButton(int index);
    virtual int ButtonHitTest(int x, int y, CRect* rect) const;
    virtual void UpdateButton(int index);
    virtual TkStdBtn* CreateButton(UINT id);
    virtual TkStdBtn* CreateSeparator();
    virtual void OpenMenuButton(TkStdBtn* button, DWORD_PTR value1, DWORD_PTR value2);
    // Outside a dock bar: a lying bar takes its parent's width, a standing
    // one its parent's height.
    virtual void SizeToParent();
    // A stretched bar (TKCBRS_EX_STRETCH) in a rebar band keeps the band's
    // minimum child size at its own.
    virtual void UpdateHostBand(TkReBar* rebar, CSize size);
    // A drag copies while Ctrl is held.
    virtual BOOL IsCopyDrag() const { return GetKeyState(VK_CONTROL) < 0; }
    virtual BOOL AcceptsDrop() const { return TRUE; }
    // Customise drag of the button at index, pressed at pt (client coordinates).
    virtual void DragButton(int index, CPoint pt);
    // Puts the dragged button's command where rect (client coordinates)
    // lies; FALSE when the bar it came from was destroyed by the move.
    virtual BOOL DropButton(const CRect& rect, TkStdBtn* button, BOOL copy, BOOL noRecalc);

    // The customise selection: one button on one bar of a manager; the
    // manager holds the bar, the bar the index (m_nPressedIndex).
    void SelectButton(int index, BOOL redraw);
    void SelectButtonObject(TkStdBtn* button, BOOL redraw);
    void ClearSelection(BOOL redraw);
    int GetSelectedIndex() const { return HoldsSelection() ? m_nPressedIndex : -1; }
    BOOL HoldsSelection() const;
    // Drags button (at index in source, or from a window that is no bar, such
    // as a command list) over the desktop and drops it where it is let go.
    // FALSE when the source bar was destroyed on the way.
    static BOOL RunButtonDrag(TkToolBarManager* manager, TkStdBtn* button, int index, CPoint pt,
                              TkCustomToolBar* source, CWnd* window, BOOL copy);

    int GetCount() const { return (int)m_buttons.GetSize(); }
    TkStdBtn* GetButton(int index) const { return static_cast<TkStdBtn*>(m_buttons[index]); }
    int IndexOfButton(const TkStdBtn* button) const;
    UINT GetButtonID(int index) const { return GetButton(index)->m_nID; }
    void GetButtonRect(int index, CRect* rect) const { *rect = GetButton(index)->GetRect(); }
    DWORD GetButtonStyle(int index) const { return GetButton(index)->GetStyle(); }
    void SetButtonStyle(int index, DWORD style);
    void HideButton(int index, BOOL hide);
    void SetBmpMgr(TkBmpMgr* manager);
    TkBmpMgr* GetBmpMgr() const { return m_pBmpMgr; }
    void ReloadSysColorBitmaps() override;
    BOOL LoadToolBar(UINT resourceId);
    // The bitmap's images, in order, become those of the commands (a 0 is a
    // separator and takes none), then the commands become the buttons. The
    // caller keeps the bitmap alive as long as the bar; FALSE without one.
    BOOL SetBitmapAndButtons(HBITMAP bitmap, const UINT* ids, int count);
    void SetButtonMaps(const TkBtnMapEntry* first, const TkBtnMapEntry* second);
    // The bar's own first map (a menu bar's menu-button table).
    const TkBtnMapEntry* GetOwnFirstMap() const { return m_pFirstMap; }
    // The owner given, else the window's owner, else the docking frame or parent.
    CWnd* GetOwnerWindow() const;
    // The window that receives the bar's notifications (not owned).
    void SetOwner(CWnd* owner) { m_pOwnerWnd = owner; }
    // Every button with the command id takes the style change: on every bar
    // of the manager, on this bar alone without one.
    void InformButtons(UINT id, const TkBtnStyleChange& change);
    // Every button of this bar with the command id gets InformBtn.
    void InformBtns(UINT id, int kind, const void* data);
    // The manager is the bar's control-bar manager too (saved type ids).
    void SetToolBarManager(TkToolBarManager* manager);
    TkToolBarManager* GetToolBarManager() const;
    // With a manager, "WM_BARNOTIFY" of this bar's id goes to its listeners.
    void NotifyManager(LPARAM code);
    // Hot tracking now; with update the window repaints at once.
    void UpdateHotTracking(BOOL update);
    int GetHotIndex() const { return m_nHotIndex; }
    int GetPressedIndex() const { return m_nPressedIndex; }
    BOOL IsCustomizing() const { return m_bCustomizing; }
    // Customise mode: buttons draw up and are dragged instead of pressed.
    void SetCustomizeMode(BOOL on);
    CFont* GetFont() const { return m_pFont; }

    // Widest button seen by AdjustSize; the button bitmap is this wide.
    int m_cxWidest;
    int m_cxSeparator;
    DWORD m_dwDrawMode;
    TkToolBarLayout m_layout;

    // Set while a button's action runs (drop-down notification, posted
    // command): the mouse then goes to the bar's own handling.
    static BOOL s_bButtonAction;
    // Set while an Alt-drag runs: no selection survives it.
    static BOOL s_bAltDrag;
    DWORD m_dwBehaviour;
    static UINT s_nNoDelayHideMsg;

protected:
    TkLayoutSite LayoutSite(DWORD mode) const;
    void SyncImageSize();
    TkDrawData* GetDrawData();
    void RecalcParent();
    void RemoveSeparatorsAround(int index, int* removed);
    // The hot index and the customise selection at or after index move.
    void ShiftIndexes(int index, int delta);
    void SetHot(int index);
    int HotCandidate() const;
    void ReleasePressed();
    void FireCommand(int index, UINT id);
    void SetPrompt(UINT id);
    void UpdateButtonFrom(CCmdTarget* target, int index, BOOL disableIfNoHandler);

    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Tool tips and fly-by prompts follow the pointer.
    void ShowPointerHelp(UINT message, WPARAM wParam, LPARAM lParam);
    // The fly-by prompt of the command (0: the idle prompt), once per change.
    void SetFlyByPrompt(UINT id);
    void OnCancelMode();
    void OnTimer(UINT_PTR id);
    void OnDestroy();
    void OnShowWindow(BOOL show, UINT status);
    void TellVisible(BOOL visible);
    void OnSysColorChange();
    void OnWindowPosChanging(WINDOWPOS* pos);
    LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    // The cool look's flat border lines.
    void DrawCoolBorders(CDC* dc, const CRect& rect) const;
    int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
    LRESULT OnNoDelayHide(WPARAM wParam, LPARAM lParam);
    LRESULT OnAddButtons(WPARAM wParam, LPARAM lParam);
    LRESULT OnDeleteButton(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CPtrArray m_buttons;
    TkBmpMgr* m_pBmpMgr;
    std::unique_ptr<TkDrawData> m_pDrawData;
    int m_nPressedIndex;
    int m_nHotIndex;
    BOOL m_bCustomizing;
    BOOL m_bHidePosted;
    // What the manager was last told: -1 nothing yet, else shown or not.
    int m_nToldVisible;
    CWnd* m_pOwnerWnd;
    CFont* m_pFont;
    const TkBtnMapEntry* m_pFirstMap;
    const TkBtnMapEntry* m_pSecondMap;
    TkBarToolTip m_toolTip;
    // The command whose prompt the pointer put in the status bar, 0 for none.
    UINT m_nFlyById;

private:
    BOOL PressButton(CPoint point, BOOL dragAllowed);
    // The bar under a dropped rectangle (screen coordinates), NULL for none.
    static TkCustomToolBar* DropTarget(TkToolBarManager* manager, const CRect& rect);
    // A new user bar holding id, floating at point.
    static void FloatNewBar(TkToolBarManager* manager, UINT id, CPoint point);
    // The row of the drop: first and last index (trailing separators left out).
    void FindDropRow(const CRect& area, const CRect& rect, int* first, int* last) const;
    int DropIndex(const CRect& area, const CRect& rect, int first, int last) const;
    // TRUE when the drop was a nudge of the selected button (handled).
    BOOL Nudge(const CRect& rect, BOOL copy, BOOL noRecalc, int first, int last);
    // InsertButton; answers where the new button went.
    int InsertButtonAt(int index, UINT id, BOOL separator, BOOL noRecalc);
    // Inserts a separator at index and then the command before or after it.
    void DropBesideArea(UINT id, BOOL above, BOOL noRecalc);
};
