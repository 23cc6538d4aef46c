// The MDI child frame of the document's templates (in practice the frame of
// the play-list view): it opens at the placement its profile section keeps,
// saves it when it goes, and the last one open ignores a close.
#pragma once

#include "toolkit/frames/TkMDIChildWnd.h"

class CChildFrame : public TkMDIChildWnd
{
    DECLARE_DYNCREATE(CChildFrame)
public:
    CChildFrame();

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void ActivateFrame(int cmdShow = -1) override;

    // Child frames open in the process.
    static int GetOpenCount() { return s_openCount; }

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnClose();
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // Restores the saved placement at the first activation; the show state
    // to activate with.
    int RestorePlacement(int cmdShow);

    static int s_openCount;
    BOOL m_bFirstActivation = TRUE;
    // The window text at the first activation.
    CString m_strSection;
};
