// TkMDIFrameWnd: the toolkit's MDI main frame. A tree of message filters
// sees the frame's non-client messages first; a dockable frame can stand in
// for the active MDI child (it takes commands, help and the title first);
// views docked without a place take the sides of a fixed dock order in turn.
// Bars dock into TkDockBars and float in mini frames or in MDI children of
// the frame ("Float In Main Window"), always between their before and after
// hooks (TkMDIFrameDock.cpp).
#pragma once

#include "bars/TkDockSite.h"
#include "filters/TkMsgFilter.h"

#include <afxext.h>

#include <vector>

class TkControlBar;
class TkControlBarMDIChildWnd;

class TkMDIFrameWnd : public CMDIFrameWnd, public TkDockSite
{
    DECLARE_DYNAMIC(TkMDIFrameWnd)
public:
    // Placement and size records of GetNextDockPosition.
    struct DockPlacement
    {
        int row;
        int column;
        UINT flags;
    };
    struct DockSize
    {
        float proportion;
        int length;
        int reserved;
    };
    // Bits of DockPlacement::flags.
    enum
    {
        placeFirst = 1,
        placeNewRow = 4,
    };

    TkMDIFrameWnd();
    ~TkMDIFrameWnd() override;

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    CFrameWnd* GetActiveFrame() override;
    void RecalcLayout(BOOL notify = TRUE) override;
    void OnSetPreviewMode(BOOL preview, CPrintPreviewState* state) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    void OnUpdateFrameMenu(HMENU altMenu) override;

    // NULL goes back to the MDI children.
    virtual void ActivateDockedFrame(CFrameWnd* frame);
    virtual void DeactivateDockedFrame(BOOL reactivateMDI);
    // Bit 0 switches the system-command extension on; the rest are on.
    virtual void CreateMsgFilters(UINT flags);
    virtual void GetNextDockPosition(UINT& dockBarId, DockPlacement& placement, DockSize& size);

    // Docking (TkMDIFrameDock.cpp).
    CDockBar* CreateDockBar() override;
    void EnableDocking(DWORD dockStyle);
    // Without a dock bar, the side that matches the bar's alignment.
    void DockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect) override;
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0, LPCRECT rect = NULL);
    // Without a dock bar, the side that keeps the bar's place, else the
    // side that matches its alignment.
    void ReDockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect) override;
    // Docks at a saved place with the size record's length and proportion.
    virtual void DockControlBarEx(CControlBar* bar, const DockPlacement& placement, UINT dockBarId,
                                  const DockSize& size);
    // A bar alone in its mini frame only moves it there.
    void FloatControlBarEx(CControlBar* bar, int x, int y, DWORD style) override;
    // Always in a new mini frame, shown.
    void FloatControlBar(CControlBar* bar, CPoint point, DWORD style);
    // A negative coordinate takes the next cascade place.
    void FloatControlBarInMDIChild(CControlBar* bar, int x, int y, DWORD style) override;
    // NULL when the child's window cannot be loaded.
    virtual TkControlBarMDIChildWnd* CreateFloatingMDIChild(DWORD style, CControlBar* bar);
    void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);
    // A docking view's frame hosted in the bar, NULL for none.
    virtual CFrameWnd* GetHostedFrame(CControlBar* bar);
    // A floating hosted frame shows its own caption in place of its mini
    // frame's; docked again it takes back the styles it had.
    virtual void SetHostedFrameStyle(CFrameWnd* frame, BOOL floating);
    virtual void FitHostedFrame(CFrameWnd* frame);
    CFrameWnd* GetSiteFrame() override { return this; }

    // Painted caption (TkMDIFrameCaption.cpp).
    virtual void CreateItalicCaptionFont(CFont& font);
    virtual void CreateCaptionFont(CFont& font);
    virtual void DrawCaption();
    // Only with the new shell (else FALSE, nothing changes); the previous flag.
    BOOL SetPaintedCaption(BOOL painted, BOOL redraw);
    BOOL m_bNewShell;
    // TkCaptionPainter's alignment.
    int m_nCaptionAlignment;
    BOOL m_bCaptionActive;
    BOOL m_bPaintedCaption;

    CRuntimeClass* m_pDockBarClass;
    CRuntimeClass* m_pFloatingMDIChildClass;
    // Where the next bar floated in the main window without a place goes:
    // from here in steps, back here past the client area's far side.
    static constexpr int kCascadeStart = 30;
    int m_nNextCascadeX;
    int m_nNextCascadeY;

    CFrameWnd* GetActiveDockedFrame() const { return m_pActiveDockedFrame; }
    TkMsgFilter* GetFilterRoot() const { return m_pFilterRoot; }
    const CRect& GetLayoutRect() const { return m_rectLayout; }

protected:
    // The active docked frame, else the active child.
    CFrameWnd* GetCommandFrame() override;

    LRESULT OnFilteredNcMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnFilteredAfterDefault(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcActivateMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaintMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetTextMessage(WPARAM wParam, LPARAM lParam);
    // The painted caption's WM_NCACTIVATE.
    LRESULT PaintedNcActivate(WPARAM wParam, LPARAM lParam);
    // The default handling with WS_VISIBLE cleared, so that the system
    // paints no caption of its own.
    LRESULT DefaultUnseen(UINT message, WPARAM wParam, LPARAM lParam);
    void OnWorkspaceCommand(UINT id);
    void OnUpdateWorkspaceCommand(CCmdUI* cmdUI);
    // "Float In Main Window" for bars that offer it; "Allow Docking" greyed
    // while a bar floats in the main window.
    LRESULT OnAddContextMenuItems(WPARAM wParam, LPARAM lParam);
    // The bar's before-dock hook; a floating hosted frame takes back its
    // docked styles. Returns the bar as a toolkit bar for its after hook.
    TkControlBar* BeginDock(CControlBar* bar);
    // The first side of the side table whose alignment is the bar's.
    CDockBar* SideDockBarFor(CControlBar* bar) const;
    // A new mini frame holding the bar at (x, y), not yet shown.
    CMiniDockFrameWnd* FloatInNewMiniFrame(CControlBar* bar, int x, int y, DWORD style);
    void ShowFloatingFrameOf(CControlBar* bar, BOOL show, BOOL delay);
    DECLARE_MESSAGE_MAP()

    CRect m_rectLayout;
    CFrameWnd* m_pActiveDockedFrame;
    TkMsgFilter* m_pFilterRoot;
    TkMsgFilter::DescriptorTable m_descriptors;
    std::vector<UINT> m_dockOrder;
    int m_nDockCursor;
};
