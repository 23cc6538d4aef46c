// TkFloatDynGridLineTarget: the grid inside a float window. Nothing docks
// into it unless docking into float windows is allowed (a process-wide
// setting, off by default); then it is an ordinary grid-line target.
#pragma once

#include "toolkit/docking/TkDynGridLineTarget.h"

class TkFloatDynGridLineTarget : public TkDynGridLineTarget
{
public:
    static void SetAllowDockIntoFloat(int allow);
    static int GetAllowDockIntoFloat();

    // TRUE vetoes the target and its subtree for the hit testers.
    BOOL IsInsideDraggedNode() override;
};
