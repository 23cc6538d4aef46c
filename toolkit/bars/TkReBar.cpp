#include "toolkit/bars/TkReBar.h"
#include "toolkit/bars/TkControlBar.h"

IMPLEMENT_DYNCREATE(TkReBar, CReBar)

CSize TkReBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    CSize size = CReBar::CalcFixedLayout(stretch, horizontal);
    for (int band = GetBandCount() - 1; band >= 0; band--) {
        CWnd* child = CWnd::FromHandlePermanent(GetBandChild(band));
        if (child != NULL && child->IsKindOf(RUNTIME_CLASS(TkControlBar)))
            static_cast<TkControlBar*>(child)->CalcFixedLayout(FALSE, horizontal);
    }
    return size;
}
