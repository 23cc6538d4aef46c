// TkMenuListBox: the menu commands of the customise sheet's commands page as
// a list. Pressing an item drags its command, as a copy, onto a tool bar.
#pragma once

#include <afxwin.h>

class TkToolBarManager;

// Size of the button a dragged menu command takes while it is dragged.
const int kTkMenuDragButtonWidth = 23;
const int kTkMenuDragButtonHeight = 22;

class TkMenuListBox : public CListBox
{
public:
    explicit TkMenuListBox(TkToolBarManager* manager);

protected:
    void OnLButtonDown(UINT flags, CPoint point);
    DECLARE_MESSAGE_MAP()

    TkToolBarManager* m_pManager;
};
