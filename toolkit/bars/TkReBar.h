// TkReBar: the toolkit's rebar; its fixed layout lets the toolkit bars in
// its bands lay themselves out first.
#pragma once

#include <afxext.h>

class TkReBar : public CReBar
{
    DECLARE_DYNCREATE(TkReBar)
public:
    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
};
