// The tests' main frame: loaded from IDR_JUKEBOX, the application's main
// window, placed at the origin with the given size.
#pragma once

#include "toolkit/frames/tests/MdiFramesTest.h"

#include <afxext.h>

template <class Frame>
Frame* MakeMainFrame(CWinApp& app, int cx, int cy)
{
    Frame* frame = new Frame;
    if (!frame->LoadFrame(IDR_JUKEBOX))
    {
        delete frame;
        return NULL;
    }
    app.m_pMainWnd = frame;
    frame->SetWindowPos(NULL, 0, 0, cx, cy, SWP_NOZORDER);
    return frame;
}
