// CLxInPlaceEdit: the text editor a CLxListCtrl opens over a cell of an edit
// column. It grows to the right while the user types, reports a changed text
// to the list's parent as LVN_ENDLABELEDIT from the list, asks the list to
// move to a neighbouring cell (WM_LX_NAVIGATE), and deletes itself once its
// window is gone.
#pragma once

#include "listctrl/LxMenuRichEdit.h"

class CLxListCtrl;

class CLxInPlaceEdit : public CLxMenuRichEdit
{
public:
    // alive, when given, is true from construction to destruction.
    CLxInPlaceEdit(int row, int column, const CString& text, bool clickThrough, bool* alive);
    ~CLxInPlaceEdit() override;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PostNcDestroy() override;
    int OnCreate(LPCREATESTRUCTA cs);
    void OnKillFocus(CWnd* newWnd);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnChar(UINT key, UINT repeat, UINT flags);
    void OnLButtonDblClk(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CLxListCtrl* List() const;
    void Commit();
    // Commit, close, then ask the list for the move; nothing of this object
    // is touched once its window is gone.
    void LeaveCell(int direction);
    void Close();
    void GrowToText();

    bool m_clickThrough;
    bool* m_alive;
    int m_row;
    int m_column;
    CString m_initialText;
    bool m_cancelled;
    // Set once the editor closes: the focus loss its destruction causes
    // must not commit or close again.
    bool m_closing;
};
