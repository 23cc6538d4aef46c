// The frame most tool-bar tests start from: loaded from the test resources
// (frame 500, tool bar 200), shown with docking on all sides, and given a
// tool-bar manager with the test tool bar's images.
#pragma once

#include <afxext.h>

#include "toolkit/frames/TkFrameBarState.h"
#include "toolkit/toolbars/TkToolBarManager.h"

const UINT kTestFrameResource = 500;
const UINT kTestToolBarResource = 200;

// FALSE when the frame could not be loaded. A template, so that a toolkit
// frame's own EnableDocking (which hides the platform's) is the one called.
template <class Frame>
BOOL ShowTestFrame(CWinApp& app, Frame* frame, const CRect& rect)
{
    if (!frame->LoadFrame(kTestFrameResource))
        return FALSE;
    app.m_pMainWnd = frame;
    frame->SetWindowPos(NULL, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER);
    frame->EnableDocking(CBRS_ALIGN_ANY);
    frame->ShowWindow(SW_SHOW);
    return TRUE;
}

// The manager is the frame's control-bar manager; NULL when the images
// could not be loaded.
inline TkToolBarManager* ManageTestFrame(CFrameWnd* frame)
{
    TkToolBarManager* manager = new TkToolBarManager(frame);
    if (TkFrameBarState* state = dynamic_cast<TkFrameBarState*>(frame))
        state->SetControlBarManager(manager);
    if (!manager->LoadToolBarResource(kTestToolBarResource, 0)) {
        delete manager;
        return NULL;
    }
    return manager;
}
