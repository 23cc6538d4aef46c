#include "toolkit/docking/TkOleDragDropTask.h"

SCODE TkOleDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState)
{
    SCODE answer = COleDropSource::QueryContinueDrag(escapePressed, keyState);
    CPoint cursor;
    if (!::GetCursorPos(&cursor))
        return DRAGDROP_S_CANCEL;
    if (!m_task || !m_task->OnDragMove(keyState, cursor))
        return DRAGDROP_S_CANCEL;
    return answer;
}

DROPEFFECT TkOleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_MOVE;
}

DROPEFFECT TkOleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_MOVE;
}

BOOL TkOleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint)
{
    return TRUE;
}
