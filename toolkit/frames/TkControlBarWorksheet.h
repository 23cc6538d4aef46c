// TkControlBarWorksheet: the worksheet that hosts a control bar floated in
// a workbook ("Float In Main Window"); it behaves as TkControlBarMDIChildWnd
// and shows as a sheet tab.
#pragma once

#include "toolkit/frames/TkFloatingBarHost.h"
#include "toolkit/frames/TkWorksheet.h"

class TkControlBarWorksheet : public TkWorksheet
{
    DECLARE_DYNCREATE(TkControlBarWorksheet)
public:
    TkControlBarWorksheet();

    void RecalcLayout(BOOL notify = TRUE) override;
    // The sheet keeps the bar's title; its tab is drawn again.
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    TkDockBar* GetDockBar() { return m_host.GetDockBar(); }
    CControlBar* GetSingleBar() { return m_host.GetSingleBar(); }

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // No layout runs while the dock bar is made and moved in.
    BOOL OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context) override;

    void OnSize(UINT type, int cx, int cy);
    void OnClose();
    void OnWindowPosChanged(WINDOWPOS* position);
    void OnShowWindow(BOOL show, UINT status);
    DECLARE_MESSAGE_MAP()

    TkFloatingBarHost m_host;
};
