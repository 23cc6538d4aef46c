// CLxMenuRichEdit: the rich edit of the list's in-place editors, with the
// right-button edit menu (Undo, Cut, Copy, Paste) whose entries the edit's
// own state enables.
#pragma once

#include <afxcmn.h>

class CLxMenuRichEdit : public CRichEditCtrl
{
protected:
    void OnRButtonDown(UINT flags, CPoint point);
    void OnEditUndo();
    void OnEditCut();
    void OnEditCopy();
    void OnEditPaste();
    void OnUpdateEditUndo(CCmdUI* cmdUI);
    // Cut and Copy need a selection.
    void OnUpdateNeedsSelection(CCmdUI* cmdUI);
    void OnUpdateEditPaste(CCmdUI* cmdUI);
    DECLARE_MESSAGE_MAP()
};
