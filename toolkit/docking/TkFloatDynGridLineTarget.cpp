#include "toolkit/docking/TkFloatDynGridLineTarget.h"

namespace
{
int g_allowDockIntoFloat = 0;
}

void TkFloatDynGridLineTarget::SetAllowDockIntoFloat(int allow)
{
    g_allowDockIntoFloat = allow;
}

int TkFloatDynGridLineTarget::GetAllowDockIntoFloat()
{
    return g_allowDockIntoFloat;
}

BOOL TkFloatDynGridLineTarget::IsInsideDraggedNode()
{
    return !g_allowDockIntoFloat || TkDynGridLineTarget::IsInsideDraggedNode();
}
