#include "toolkit/frames/TkVwDockFeedBack.h"

void TkVwDockFeedBackOleImp::OnPreDock(CFrameWnd* oldFrame, CFrameWnd* newFrame)
{
    CloseActiveItem(oldFrame, newFrame);
}

void TkVwDockFeedBackOleImp::OnPostDock(CFrameWnd* newFrame)
{
    ReactivateItem(newFrame);
}

void TkVwDockFeedBackOleImp::OnPreUndock(CFrameWnd* oldFrame, CFrameWnd* newFrame)
{
    CloseActiveItem(oldFrame, newFrame);
}

void TkVwDockFeedBackOleImp::OnPostUndock(CFrameWnd* newFrame)
{
    ReactivateItem(newFrame);
}

void TkVwDockFeedBackOleImp::CloseActiveItem(CFrameWnd*, CFrameWnd*)
{
}

void TkVwDockFeedBackOleImp::ReactivateItem(CFrameWnd*)
{
}
