#include "tests/support/TestFramework.h"

#include <afxwin.h>

#include "tests/support/InputScript.h"
#include "tests/support/Waits.h"

#include <algorithm>
#include <vector>

namespace
{
const UINT kListId = 310;

class CCheckParent : public CWnd
{
public:
    // Keeps the selection the list shows when the change arrives.
    void OnCheckChange()
    {
        ++m_changes;
        m_selectionSeen = (int)GetDlgItem(kListId)->SendMessage(LB_GETCURSEL);
    }
    int m_changes = 0;
    int m_selectionSeen = LB_ERR;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCheckParent, CWnd)
    ON_CONTROL(CLBN_CHKCHANGE, kListId, OnCheckChange)
END_MESSAGE_MAP()

// Records the caller's data that deletions hand over.
class CDeletionList : public CCheckListBox
{
public:
    void DeleteItem(LPDELETEITEMSTRUCT deleted) override { m_deleted.push_back(deleted->itemData); }
    std::vector<DWORD_PTR> m_deleted;
};

class CheckListBoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, NULL, "checks", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                      300, 300, NULL, NULL));
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | LBS_HASSTRINGS | LBS_NOTIFY,
                                  RECT{0, 0, 200, 200}, &m_parent, kListId));
        const char* names[] = {"Tool tips", "Cool look", "Large buttons"};
        for (const char* name : names)
            m_list.AddString(name);
        PumpMessages();
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    // The middle of the item's check box (13 pixels, 2 in from the left).
    CPoint BoxCentre(int index)
    {
        CRect item;
        m_list.GetItemRect(index, &item);
        return CPoint(item.left + 8, item.top + item.Height() / 2);
    }
    void Click(CPoint point)
    {
        m_list.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        m_list.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        PumpMessages();
    }

    CCheckParent m_parent;
    CDeletionList m_list;
};

TEST_F(CheckListBoxTest, ChecksAndUserDataAreKeptApart)
{
    EXPECT_TRUE(m_list.GetStyle() & LBS_OWNERDRAWFIXED);
    m_list.SetItemData(0, 0xC0FFEE);
    m_list.SetCheck(0, 1);
    m_list.SetCheck(1, 2);
    m_list.SetItemData(1, 42);
    m_list.Enable(2, FALSE);

    EXPECT_EQ(0xC0FFEEu, m_list.GetItemData(0));
    EXPECT_EQ(42u, m_list.GetItemData(1));
    EXPECT_EQ(0u, m_list.GetItemData(2));
    EXPECT_EQ(42, m_list.SendMessage(LB_GETITEMDATA, 1));
    EXPECT_EQ(LB_ERR, m_list.SendMessage(LB_GETITEMDATA, 9));
    EXPECT_EQ(LB_ERR, m_list.SetItemData(9, 1));
    EXPECT_EQ(1, m_list.GetCheck(0));
    EXPECT_EQ(2, m_list.GetCheck(1));
    EXPECT_EQ(0, m_list.GetCheck(2));
    EXPECT_TRUE(m_list.IsEnabled(0));
    EXPECT_FALSE(m_list.IsEnabled(2));

    // Removing an item moves the later ones' records with them.
    m_list.DeleteString(0);
    EXPECT_EQ(42u, m_list.GetItemData(0));
    EXPECT_EQ(2, m_list.GetCheck(0));
    EXPECT_FALSE(m_list.IsEnabled(1));
    m_list.ResetContent();
    EXPECT_EQ(0, m_list.GetCount());
    // The list may empty itself in any order.
    std::sort(m_list.m_deleted.begin(), m_list.m_deleted.end());
    EXPECT_EQ((std::vector<DWORD_PTR>{0, 42, 0xC0FFEE}), m_list.m_deleted);
}

TEST_F(CheckListBoxTest, ClickOnTheBoxTogglesByStyle)
{
    struct Case
    {
        UINT style;
        BOOL enabled;
        std::vector<int> checks; // after each of three clicks
        int notices;
    };
    const Case cases[] = {
        {BS_AUTOCHECKBOX, TRUE, {1, 0, 1}, 3},
        {BS_AUTO3STATE, TRUE, {1, 2, 0}, 3},
        {BS_CHECKBOX, TRUE, {0, 0, 0}, 0},
        {BS_3STATE, TRUE, {0, 0, 0}, 0},
        {BS_AUTOCHECKBOX, FALSE, {0, 0, 0}, 0},
    };
    for (const Case& c : cases)
    {
        m_list.SetCheckStyle(c.style);
        m_list.SetCheck(1, 0);
        m_list.Enable(1, c.enabled);
        m_parent.m_changes = 0;
        for (int expected : c.checks)
        {
            Click(BoxCentre(1));
            EXPECT_EQ(expected, m_list.GetCheck(1)) << c.style;
        }
        EXPECT_EQ(c.notices, m_parent.m_changes) << c.style;
        EXPECT_EQ(0, m_list.GetCheck(0));
        EXPECT_EQ(0, m_list.GetCheck(2));
    }
}

// A person's click on another row's box: the parent acts on the selected row,
// so that row must be selected before the change is told.
TEST_F(CheckListBoxTest, RealClickOnTheBoxSelectsTheRowBeforeTheChange)
{
    m_list.SetCurSel(0);
    ::SetForegroundWindow(m_parent.m_hWnd);
    PumpMessages();
    struct Case
    {
        int row;
        bool doubleClick;
        int check; // after the clicks
        int notices;
    };
    const Case cases[] = {{2, false, 1, 1}, {1, true, 0, 2}, {2, false, 0, 1}};
    for (const Case& c : cases)
    {
        m_parent.m_changes = 0;
        m_parent.m_selectionSeen = LB_ERR;
        CPoint box = BoxCentre(c.row);
        m_list.ClientToScreen(&box);
        InputScript script;
        script.MoveTo(box).Button(MOUSEEVENTF_LEFTDOWN).Button(MOUSEEVENTF_LEFTUP);
        if (c.doubleClick)
            script.Button(MOUSEEVENTF_LEFTDOWN).Button(MOUSEEVENTF_LEFTUP);
        script.Send();
        EXPECT_EQ(c.row, m_list.GetCurSel()) << c.row;
        EXPECT_EQ(c.row, m_parent.m_selectionSeen) << c.row;
        EXPECT_EQ(c.check, m_list.GetCheck(c.row)) << c.row;
        EXPECT_EQ(c.notices, m_parent.m_changes) << c.row;
    }
}

TEST_F(CheckListBoxTest, ClickOnTheTextOnlySelects)
{
    CRect item;
    m_list.GetItemRect(2, &item);
    Click(CPoint(item.right - 10, item.top + 2));
    EXPECT_EQ(2, m_list.GetCurSel());
    EXPECT_EQ(0, m_list.GetCheck(2));
    EXPECT_EQ(0, m_parent.m_changes);
}

TEST_F(CheckListBoxTest, SpaceTogglesTheCaretItem)
{
    m_list.SetCurSel(2);
    m_list.SetItemData(2, 7);
    m_list.PostMessage(WM_KEYDOWN, VK_SPACE, 0);
    PumpMessages();
    EXPECT_EQ(1, m_list.GetCheck(2));
    EXPECT_EQ(7u, m_list.GetItemData(2));
    EXPECT_EQ(1, m_parent.m_changes);
}
}
