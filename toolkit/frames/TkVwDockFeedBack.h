// ITkVwDockFeedBack: a view that wants to hear when the docking template
// moves it between an MDI child and a docking frame derives from this too.
// TkVwDockFeedBackOleImp is the mix-in for views of OLE container documents:
// before a move it closes the document's active item, after it activates the
// item again in the view.
#pragma once

#include <afxwin.h>

class ITkVwDockFeedBack
{
public:
    virtual ~ITkVwDockFeedBack() {}
    virtual void OnPreDock(CFrameWnd* oldFrame, CFrameWnd* newFrame) = 0;
    virtual void OnPostDock(CFrameWnd* newFrame) = 0;
    virtual void OnPreUndock(CFrameWnd* oldFrame, CFrameWnd* newFrame) = 0;
    virtual void OnPostUndock(CFrameWnd* newFrame) = 0;
};

class TkVwDockFeedBackOleImp : public ITkVwDockFeedBack
{
public:
    void OnPreDock(CFrameWnd* oldFrame, CFrameWnd* newFrame) override;
    void OnPostDock(CFrameWnd* newFrame) override;
    void OnPreUndock(CFrameWnd* oldFrame, CFrameWnd* newFrame) override;
    void OnPostUndock(CFrameWnd* newFrame) override;
    // The class library has no OLE container documents, so there is never
    // an item to close or to activate again: both do nothing here.
    virtual void CloseActiveItem(CFrameWnd* oldFrame, CFrameWnd* newFrame);
    virtual void ReactivateItem(CFrameWnd* newFrame);
};
