// TkFrameBar: the control bar that hosts a docking view's frame. A floating
// one brings its mini frame forward when clicked.
#pragma once

#include "toolkit/bars/TkControlBar.h"

class TkFrameBar : public TkControlBar
{
    DECLARE_DYNCREATE(TkFrameBar)
protected:
    int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};
