// TkDockableFrame: the frame of a docking view. It lives in a TkFrameBar
// docked in (or floated from) the main frame, stands in for the active MDI
// child while it is active (the main frame's ActivateDockedFrame), draws its
// caption through its filter tree, and turns caption drags and double
// clicks into docking moves of its bar.
#pragma once

#include "toolkit/filters/TkMsgFilter.h"

#include <memory>
#include "toolkit/frames/TkFrameWnd.h"

class TkMDIFrameWnd;

class TkDockableFrame : public TkFrameWnd
{
    DECLARE_DYNCREATE(TkDockableFrame)
public:
    TkDockableFrame();

    // Destroys the bar that holds the frame, and with it the frame.
    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Takes the document template's menu and accelerators first.
    BOOL LoadFrame(UINT resourceId, DWORD style = WS_CHILD | WS_VISIBLE | FWS_ADDTOTITLE,
                   CWnd* parentWnd = NULL, CCreateContext* context = NULL) override;
    // The document's title, with ":n" when the document shows in several
    // frames.
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    // Puts the frame's menu into the main frame's MDI client.
    void OnUpdateFrameMenu(BOOL activate, CWnd* activateWnd, HMENU altMenu) override;
    using TkFrameWnd::OnUpdateFrameMenu;
    BOOL IsFloating() override;
    // flags: TkCaptionFeatures' feature flags.
    void SetFeatures(UINT flags) override;

    TkMsgFilter* GetFilterRoot() const { return m_pFilterRoot.get(); }
    HMENU m_hOwnMenu;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // The main frame, when it is a toolkit MDI frame.
    TkMDIFrameWnd* GetMDIFrame() const;
    // The bar that holds the frame, NULL before the frame is in one.
    CControlBar* GetFrameBar() const;
    void Activate();
    int WindowNumber(CDocument* doc);

    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
    void OnParentNotify(UINT message, LPARAM lParam);
    LRESULT OnNcLButtonDownMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDblClkMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnFilteredNcMessage(WPARAM wParam, LPARAM lParam);
    LRESULT OnFilteredAfterDefault(WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    TkMsgFilter::DescriptorTable m_descriptors;
    // Last, so that it goes first, before the descriptors it was given.
    std::unique_ptr<TkMsgFilter> m_pFilterRoot;
};
