// CLxDropListBox: the choices an in-place cell editor drops below itself.
// A child of the list (a sibling of the editor), sorted, holding the focus
// while open; a pick reaches the editor as WM_LX_SETCHOICE.
#pragma once

#include <afxwin.h>

class CLxInPlaceCell;

// To the cell editor: wParam the choice's index (ignored when negative),
// lParam its text.
const UINT WM_LX_SETCHOICE = WM_USER + 2;

class CLxDropListBox : public CListBox
{
public:
    explicit CLxDropListBox(CLxInPlaceCell* editor);

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void OnKillFocus(CWnd* newWnd);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    // Focus back to the editor (which closes this list), then the choice
    // remembered at the focus loss, when sending.
    void Close(bool sendChoice);

    CLxInPlaceCell* m_editor;
    // Each item's data is the index of its choice in the editor.
    int m_remembered;
    CString m_rememberedText;
};
