// TkMDIFrameWnd: the toolkit's MDI main frame. A tree of message filters
// sees the frame's non-client messages first; a dockable frame can stand in
// for the active MDI child (it takes commands, help and the title first);
// views docked without a place take the sides of a fixed dock order in turn.
#pragma once

#include "filters/TkMsgFilter.h"

#include <afxext.h>

#include <vector>

class TkMDIFrameWnd : public CMDIFrameWnd
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

    CFrameWnd* GetActiveDockedFrame() const { return m_pActiveDockedFrame; }
    TkMsgFilter* GetFilterRoot() const { return m_pFilterRoot; }
    const CRect& GetLayoutRect() const { return m_rectLayout; }

protected:
    // The active docked frame, else the active child.
    CFrameWnd* GetCommandFrame() override;

    LRESULT OnFilteredNcMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnFilteredAfterDefault(WPARAM wParam, LPARAM lParam);
    void OnWorkspaceCommand(UINT id);
    void OnUpdateWorkspaceCommand(CCmdUI* cmdUI);
    DECLARE_MESSAGE_MAP()

    CRect m_rectLayout;
    CFrameWnd* m_pActiveDockedFrame;
    TkMsgFilter* m_pFilterRoot;
    TkMsgFilter::DescriptorTable m_descriptors;
    std::vector<UINT> m_dockOrder;
    int m_nDockCursor;
};
