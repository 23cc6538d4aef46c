#include "listctrl/LxMenuRichEdit.h"

#include "listctrl/LxPopupMenu.h"

#include <afxres.h>

BEGIN_MESSAGE_MAP(CLxMenuRichEdit, CRichEditCtrl)
    ON_WM_RBUTTONDOWN()
    ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
    ON_COMMAND(ID_EDIT_CUT, OnEditCut)
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
    ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
    ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
    ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateNeedsSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateNeedsSelection)
    ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateEditPaste)
END_MESSAGE_MAP()

void CLxMenuRichEdit::OnRButtonDown(UINT, CPoint point)
{
    static const LxMenuEntry entries[] = {
        {ID_EDIT_UNDO, "&Undo"},
        {0, NULL},
        {ID_EDIT_CUT, "Cu&t"},
        {ID_EDIT_COPY, "&Copy"},
        {ID_EDIT_PASTE, "&Paste"},
    };
    ClientToScreen(&point);
    CLxPopupMenu::Show(entries, ARRAYSIZE(entries), this, point);
}

void CLxMenuRichEdit::OnEditUndo()
{
    SendMessage(WM_UNDO);
}

void CLxMenuRichEdit::OnEditCut()
{
    SendMessage(WM_CUT);
}

void CLxMenuRichEdit::OnEditCopy()
{
    SendMessage(WM_COPY);
}

void CLxMenuRichEdit::OnEditPaste()
{
    SendMessage(WM_PASTE);
}

void CLxMenuRichEdit::OnUpdateEditUndo(CCmdUI* cmdUI)
{
    cmdUI->Enable(CanUndo());
}

void CLxMenuRichEdit::OnUpdateNeedsSelection(CCmdUI* cmdUI)
{
    long start = 0, end = 0;
    GetSel(start, end);
    cmdUI->Enable(start != end);
}

void CLxMenuRichEdit::OnUpdateEditPaste(CCmdUI* cmdUI)
{
    // Any clipboard format will do.
    cmdUI->Enable(SendMessage(EM_CANPASTE, 0) != 0);
}
