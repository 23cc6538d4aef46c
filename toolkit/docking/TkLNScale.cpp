#include "toolkit/docking/TkLNScale.h"

namespace
{
int Scaled(LONG coordinate, float factor)
{
    return (int)(coordinate * factor + 0.5);
}

int Scaled(LONG coordinate, double factor)
{
    return (int)(coordinate * factor + 0.5);
}
}

CRect TkLNScale::ScaleRect(const CRect& from, const CRect& to, const CRect& r)
{
    // The horizontal factor is single precision, the vertical one double.
    float sx = from.Width() > 0 ? (float)to.Width() / (float)from.Width() : 1.0f;
    double sy = from.Height() > 0 ? (double)to.Height() / from.Height() : 1.0;
    return CRect(Scaled(r.left, sx), Scaled(r.top, sy), Scaled(r.right, sx), Scaled(r.bottom, sy));
}

void TkLNScale::CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force)
{
    for (POSITION p = GetFirstChildPosition(); p; p = GetNextChildPosition(p))
    {
        TkLayoutNode* child = GetChildAt(p);
        CRect target = ScaleRect(GetInitialRect(), rect, child->GetInitialRect());
        CRect accepted;
        child->RecalcLayout(accepted, target, constrain, force);
        if (constrain && accepted != target)
            child->RecalcLayout(accepted, accepted, FALSE, force);
    }
    SetCurrentRect(rect);
    result = rect;
}
