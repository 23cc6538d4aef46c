// TkCustomizeToolBar: the bar of one command category on the customise
// sheet's commands page. Its buttons are dragged onto other bars as copies
// and never leave it, nothing can be dropped on it, and its rows are filled
// from the left to the width of the page's area.
#pragma once

#include "toolkit/toolbars/TkCustomToolBar.h"

class TkCustomizeToolBar : public TkCustomToolBar
{
    DECLARE_DYNCREATE(TkCustomizeToolBar)
public:
    TkCustomizeToolBar();

    BOOL IsCopyDrag() const override { return TRUE; }
    BOOL AcceptsDrop() const override { return FALSE; }
    // Lays the buttons out for the rectangle's width.
    virtual void FitToWidth(const CRect& rect);
};
