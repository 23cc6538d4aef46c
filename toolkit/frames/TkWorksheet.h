// TkWorksheet: an MDI child of a TkWorkbook, shown as a sheet tab; it adds
// itself to its workbook when loaded and leaves it when destroyed.
#pragma once

#include "toolkit/frames/TkMDIChildWnd.h"

class TkWorkbook;

class TkWorksheet : public TkMDIChildWnd
{
    DECLARE_DYNCREATE(TkWorksheet)
public:
    TkWorksheet();
    ~TkWorksheet() override;

    BOOL LoadFrame(UINT resourceId,
                   DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                   CWnd* parentWnd = NULL, CCreateContext* context = NULL) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;
    void OnUpdateFrameMenu(BOOL active, CWnd* activateWnd, HMENU altMenu) override;
    using TkMDIChildWnd::OnUpdateFrameMenu;
    TkWorkbook* GetWorkbook() const;

    HICON m_hIcon;
    int m_nIndex;
    BOOL m_bPressed;

protected:
    void OnDestroy();
    void OnShowWindow(BOOL show, UINT status);
    DECLARE_MESSAGE_MAP()
};
