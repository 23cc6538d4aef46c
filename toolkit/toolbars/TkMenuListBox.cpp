#include "toolkit/toolbars/TkMenuListBox.h"

#include "toolkit/toolbars/TkCustomToolBar.h"
#include "toolkit/toolbars/TkToolBarCmdPage.h"

BEGIN_MESSAGE_MAP(TkMenuListBox, CListBox)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

TkMenuListBox::TkMenuListBox(TkToolBarManager* manager) : m_pManager(manager)
{
}

void TkMenuListBox::OnLButtonDown(UINT, CPoint point)
{
    SetFocus();
    BOOL outside = TRUE;
    int index = GetCount() > 0 ? (int)ItemFromPoint(point, outside) : -1;
    if (index < 0 || outside)
        return;
    SetCurSel(index);
    if (m_pManager == NULL)
        return;
    UINT id = (UINT)GetItemData(index);
    CWnd* parent = GetParent();
    if (parent != NULL && parent->IsKindOf(RUNTIME_CLASS(TkToolBarCmdPage)))
        static_cast<TkToolBarCmdPage*>(parent)->ShowDescription(id);
    // A stand-in button for the drag, where the item was pressed.
    TkStdBtn button;
    button.m_nID = id;
    button.m_x = point.x;
    button.m_y = point.y;
    button.m_cx = kTkMenuDragButtonWidth;
    button.m_cy = kTkMenuDragButtonHeight;
    // The tracker starts moving only after a first move.
    PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(point.x - 1, point.y - 1));
    TkCustomToolBar::RunButtonDrag(m_pManager, &button, -1, point, NULL, this, TRUE);
}
