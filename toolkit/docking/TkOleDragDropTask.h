// The OLE drag task: the same drag start as the local task, but the drag
// runs through OLE's DoDragDrop, whose loop polls the drop source. The drag
// carries no data (the feature keeps the state); each poll is a feedback
// step of the feature, and a failed step cancels the drag. It ends as a
// drop only over a window that registered a TkOleDropTarget.
#pragma once

#include "toolkit/docking/TkDragDropTask.h"

#include <afxole.h>

class TkOleDropSource : public COleDropSource
{
public:
    explicit TkOleDropSource(TkDragDropTaskBase* task) : m_task(task) {}
    SCODE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;

private:
    TkDragDropTaskBase* m_task;
};

// Takes every docking drag as a move. The drop is accepted too: the base
// refuses drops on windows that are not views, which would cancel them all.
class TkOleDropTarget : public COleDropTarget
{
public:
    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* dataObject, DWORD keyState,
                           CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* dataObject, DWORD keyState,
                          CPoint point) override;
    BOOL OnDrop(CWnd* wnd, COleDataObject* dataObject, DROPEFFECT dropEffect,
                CPoint point) override;
};

template <class T>
class TkOleDragDropTask_T : public TkStartDragCore_T<T>, public TkDragDropTaskBase
{
public:
    BOOL CanStartDrag(UINT flags, CPoint point) override
    {
        return TkDragDropTaskBase::CanStartDrag(flags, point);
    }
    // The drop point is where the cursor is when DoDragDrop returns.
    BOOL StartDrag(UINT flags, CPoint pressPoint, CPoint) override
    {
        if (!OnStartDrag(flags, pressPoint))
            return FALSE;
        TkOleDropSource source(this);
        COleDataSource data;
        BOOL dropped = data.DoDragDrop(DROPEFFECT_MOVE, NULL, &source) != DROPEFFECT_NONE;
        CPoint cursor;
        ::GetCursorPos(&cursor);
        OnEndDrag(flags, cursor, dropped);
        return TRUE;
    }
    BOOL OnDragDoubleClick(UINT flags, CPoint point) override
    {
        return TkDragDropTaskBase::OnDragDoubleClick(flags, point);
    }
};
