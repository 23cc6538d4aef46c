// "Search for Discs and Info": which changer (or all) and which of its slots
// a disc search walks, how thoroughly, and whether found discs wait for a
// later look-up; or one of the two look-ups instead. The document runs it and
// reads its fields.
#pragma once

#include <afxwin.h>

class CSonyControl;

class CSearchDlg : public CDialog
{
public:
    // Search kinds.
    enum { kEmptySlots = 0, kEmptyAndMissing = 1, kEverySlot = 2 };
    // Slot range choices.
    enum { kAllSlots = 0, kSlotRange = 1 };

    // control gives the players of the combo box; null lists "All" only.
    explicit CSearchDlg(CSonyControl* control, CWnd* parent = NULL);

    int m_kind = kEmptySlots;
    // 0 "All", else the player's number (index + 1).
    int m_player = 0;
    BOOL m_playerChosen = TRUE;
    int m_firstSlot = 1;
    int m_lastSlot = 400;
    int m_range = kAllSlots;
    BOOL m_queue = FALSE;
    BOOL m_lookupSelected = FALSE;
    BOOL m_lookupQueued = FALSE;

    static const int kLowestSlot = 1;
    static const int kHighestSlot = 400;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

    void OnPlayerChanged();
    void OnSlotFocus();
    void OnLookupSelected();
    void OnLookupQueued();
    DECLARE_MESSAGE_MAP()

private:
    void EnableSlots(bool enable);
    void CloseForLookup(BOOL& flag);

    CSonyControl* m_control;
};
