// TkControlBarMDIChildWnd: the MDI child that hosts a control bar floated in
// the main window. Its own floating dock bar holds the bar; the child takes
// the bar's title, sizes the bar with itself, and closing it only hides the
// bar.
#pragma once

#include "toolkit/frames/TkFloatingBarHost.h"
#include "toolkit/frames/TkMDIChildWnd.h"

class TkControlBarMDIChildWnd : public TkMDIChildWnd
{
    DECLARE_DYNCREATE(TkControlBarMDIChildWnd)
public:
    TkControlBarMDIChildWnd();

    void RecalcLayout(BOOL notify = TRUE) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    TkDockBar* GetDockBar() { return m_host.GetDockBar(); }
    CControlBar* GetSingleBar() { return m_host.GetSingleBar(); }

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context) override;

    void OnSize(UINT type, int cx, int cy);
    void OnClose();
    void OnWindowPosChanged(WINDOWPOS* position);
    void OnShowWindow(BOOL show, UINT status);
    DECLARE_MESSAGE_MAP()

    TkFloatingBarHost m_host;
};
