#include "toolkit/bars/TkFrameBar.h"

IMPLEMENT_DYNCREATE(TkFrameBar, TkControlBar)

BEGIN_MESSAGE_MAP(TkFrameBar, TkControlBar)
    ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

int TkFrameBar::OnMouseActivate(CWnd*, UINT, UINT)
{
    if (!IsFloating())
        return (int)Default();
    CWnd* top = GetTopLevelParent();
    if (top != NULL)
        top->SetActiveWindow();
    return MA_ACTIVATE;
}
