// TkLNScale: a grouping node that scales its children's initial rectangles
// with its own size.
#pragma once

#include "toolkit/docking/TkLayoutNode.h"

class TkLNScale : public TkLayoutNode
{
public:
    // The coordinates of r scaled as they stand (not relative to from) by
    // to's size over from's, rounded half up.
    virtual CRect ScaleRect(const CRect& from, const CRect& to, const CRect& r);
    void CalcLayout(CRect& result, const CRect& rect, BOOL constrain, BOOL force) override;
};
