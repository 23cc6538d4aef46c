// CCheckListBox: an owner-drawn list box with a check box in front of each item.
// Each item's list-box data points at the object's own record of the item
// (check state, enabled, the caller's data); the item-data messages are
// answered from that record, so callers keep seeing their own values.
#pragma once

#include "platform/mfc/StdControls.h"

// Sent to the parent (WM_COMMAND) when the user changed an item's check.
#define CLBN_CHKCHANGE 40

class CCheckListBox : public CListBox
{
    DECLARE_DYNAMIC(CCheckListBox)
public:
    CCheckListBox();
    // Destroys the window here, while the records can still be freed.
    ~CCheckListBox() override;

    // Owner-drawn fixed unless style asks for an owner-drawn variable list.
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    // BS_CHECKBOX, BS_AUTOCHECKBOX, BS_AUTO3STATE or BS_3STATE.
    void SetCheckStyle(UINT style);
    UINT GetCheckStyle() const;
    // 0 unchecked, 1 checked, 2 indeterminate.
    void SetCheck(int index, int check);
    int GetCheck(int index) const;
    // A disabled item's box does not change on clicks or the space bar.
    void Enable(int index, BOOL enabled = TRUE);
    BOOL IsEnabled(int index) const;

    // Where the check box lies within an item; checkBox is the default place.
    virtual CRect OnGetCheckPosition(CRect item, CRect checkBox);

    // Draws the item's text; the box has been drawn and the rectangle starts after it.
    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct ItemState
    {
        int check;
        BOOL enabled;
        DWORD_PTR data;
    };

    ItemState* FindState(int index) const;
    // Makes the record when the item has none yet; NULL for a bad index.
    ItemState* StateOf(int index);
    void InvalidateItem(int index);
    CRect CheckBoxRect(const CRect& item);
    void DrawCheckBox(LPDRAWITEMSTRUCT drawItem, const CRect& box);
    // A click on an item's box, or the space bar on the caret item.
    BOOL ToggleFromUser(int index);
    void FreeAllStates();

    UINT m_checkStyle;
};
