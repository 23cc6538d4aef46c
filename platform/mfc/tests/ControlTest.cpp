#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"

#include <afxcmn.h>

#include <string>
#include <vector>

namespace
{
CCallRecorder g_calls;

const UINT kListId = 300;
const UINT kTreeId = 301;

// A list that handles its own deletions and leaves the rest to its parent.
class CSelfDeletingList : public CListCtrl
{
public:
    void OnDeleteItem(NMHDR* header, LRESULT*)
    {
        g_calls.Record("list deletes " + std::to_string(((NMLISTVIEW*)header)->iItem));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfDeletingList, CListCtrl)
    ON_NOTIFY_REFLECT(LVN_DELETEITEM, OnDeleteItem)
END_MESSAGE_MAP()

// A tree that looks at expansions first and lets its parent see them too.
class CWatchingTree : public CTreeCtrl
{
public:
    BOOL OnExpanding(NMHDR* header, LRESULT*)
    {
        g_calls.Record("tree sees " + std::string(GetItemText(((NMTREEVIEWA*)header)->itemNew.hItem)));
        return FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CWatchingTree, CTreeCtrl)
    ON_NOTIFY_REFLECT_EX(TVN_ITEMEXPANDINGA, OnExpanding)
END_MESSAGE_MAP()

class CControlParent : public CWnd
{
public:
    void OnItemChanged(NMHDR* header, LRESULT*)
    {
        NMLISTVIEW* change = (NMLISTVIEW*)header;
        if (change->uChanged & LVIF_STATE && change->uNewState & LVIS_SELECTED)
            g_calls.Record("parent: item " + std::to_string(change->iItem) + " selected");
    }
    void OnListDelete(NMHDR*, LRESULT*) { g_calls.Record("parent deletes"); }
    void OnExpanding(NMHDR* header, LRESULT* result)
    {
        g_calls.Record("parent: expanding " +
                          std::to_string(((NMTREEVIEWA*)header)->itemNew.lParam));
        *result = FALSE;
    }
    void OnSelChanged(NMHDR* header, LRESULT*)
    {
        g_calls.Record("parent: selected " +
                          std::to_string(((NMTREEVIEWA*)header)->itemNew.lParam));
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CControlParent, CWnd)
    ON_NOTIFY(LVN_ITEMCHANGED, kListId, OnItemChanged)
    ON_NOTIFY(LVN_DELETEITEM, kListId, OnListDelete)
    ON_NOTIFY(TVN_ITEMEXPANDINGA, kTreeId, OnExpanding)
    ON_NOTIFY(TVN_SELCHANGEDA, kTreeId, OnSelChanged)
END_MESSAGE_MAP()

class ControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_calls.Clear();
        ASSERT_TRUE(m_parent.CreateEx(0, NULL, "controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                      400, 300, NULL, NULL));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    CControlParent m_parent;
};

TEST_F(ControlTest, ListKeepsTextsAndDataAndFindsItems)
{
    CSelfDeletingList list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, RECT{0, 0, 300, 200}, &m_parent,
                            kListId));
    EXPECT_EQ(0, list.InsertColumn(0, "Title", LVCFMT_LEFT, 120));
    EXPECT_EQ(1, list.InsertColumn(1, "Artist", LVCFMT_LEFT, 120));
    const char* titles[] = {"Blue", "Green", "Red"};
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ(i, list.InsertItem(i, titles[i]));
        EXPECT_TRUE(list.SetItemText(i, 1, (std::string("artist ") + titles[i]).c_str()));
        EXPECT_TRUE(list.SetItemData(i, 100 + i));
    }
    EXPECT_EQ(3, list.GetItemCount());
    EXPECT_STREQ("artist Green", list.GetItemText(1, 1));
    EXPECT_EQ(102u, list.GetItemData(2));

    struct Case
    {
        UINT flags;
        const char* text;
        LPARAM data;
        int found;
    };
    const Case cases[] = {
        {LVFI_STRING, "Red", 0, 2},
        {LVFI_STRING, "red", 0, 2},
        {LVFI_PARTIAL | LVFI_STRING, "Gr", 0, 1},
        {LVFI_PARAM, NULL, 100, 0},
        {LVFI_STRING, "Black", 0, -1},
        {LVFI_PARAM, NULL, 7, -1},
    };
    for (const Case& c : cases)
    {
        LVFINDINFOA find = {};
        find.flags = c.flags;
        find.psz = c.text;
        find.lParam = c.data;
        EXPECT_EQ(c.found, list.FindItem(&find)) << (c.text ? c.text : "data");
    }

    g_calls.Clear();
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ((std::vector<std::string>{"parent: item 0 selected", "parent: item 2 selected"}),
              g_calls.Calls());
    std::vector<int> selected;
    for (POSITION position = list.GetFirstSelectedItemPosition(); position;)
        selected.push_back(list.GetNextSelectedItem(position));
    EXPECT_EQ((std::vector<int>{0, 2}), selected);
    EXPECT_EQ(2, list.GetSelectedCount());

    // The list takes its own deletion notice; the parent never hears of it.
    g_calls.Clear();
    EXPECT_TRUE(list.DeleteItem(1));
    EXPECT_EQ(std::vector<std::string>{"list deletes 1"}, g_calls.Calls());
    EXPECT_EQ(2, list.GetItemCount());
    EXPECT_EQ(2, list.GetHeaderCtrl()->GetItemCount());
}

TEST_F(ControlTest, TreeWalksItsItemsAndSharesItsNotifications)
{
    CWatchingTree tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES,
                            RECT{0, 0, 300, 200}, &m_parent, kTreeId));
    HTREEITEM root = tree.InsertItem("Players");
    HTREEITEM first = tree.InsertItem("Changer 1", root);
    HTREEITEM second = tree.InsertItem("Changer 2", root);
    tree.SetItemData(root, 10);
    tree.SetItemData(first, 11);
    tree.SetItemData(second, 12);
    EXPECT_EQ(3u, tree.GetCount());
    EXPECT_EQ(root, tree.GetRootItem());

    std::vector<std::string> children;
    for (HTREEITEM item = tree.GetChildItem(root); item; item = tree.GetNextSiblingItem(item))
        children.push_back((LPCSTR)tree.GetItemText(item));
    EXPECT_EQ((std::vector<std::string>{"Changer 1", "Changer 2"}), children);
    EXPECT_EQ(root, tree.GetParentItem(second));
    EXPECT_EQ(12u, tree.GetItemData(second));

    g_calls.Clear();
    tree.Expand(root, TVE_EXPAND);
    EXPECT_EQ((std::vector<std::string>{"tree sees Players", "parent: expanding 10"}), g_calls.Calls());

    g_calls.Clear();
    EXPECT_TRUE(tree.SelectItem(second));
    EXPECT_EQ(std::vector<std::string>{"parent: selected 12"}, g_calls.Calls());
    EXPECT_EQ(second, tree.GetSelectedItem());
}

TEST_F(ControlTest, ListBoxAndComboBoxKeepTheirItems)
{
    CListBox listBox;
    CComboBox combo;
    ASSERT_TRUE(listBox.Create(WS_CHILD | LBS_SORT | LBS_HASSTRINGS, RECT{0, 0, 100, 100},
                               &m_parent, 400));
    ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWNLIST, RECT{0, 0, 100, 100}, &m_parent, 401));
    for (const char* text : {"delta", "alpha", "charlie"})
    {
        listBox.SetItemData(listBox.AddString(text), text[0]);
        combo.SetItemData(combo.AddString(text), text[0]);
    }
    CString text;
    listBox.GetText(0, text);
    EXPECT_STREQ("alpha", text);
    combo.GetLBText(0, text);
    EXPECT_STREQ("delta", text);
    EXPECT_EQ(1, listBox.FindStringExact(-1, "charlie"));
    EXPECT_EQ((DWORD_PTR)'c', listBox.GetItemData(1));
    EXPECT_EQ(LB_ERR, listBox.FindStringExact(-1, "zulu"));
    EXPECT_EQ(2, combo.SelectString(-1, "char"));
    EXPECT_EQ(2, combo.GetCurSel());
    EXPECT_EQ((DWORD_PTR)'c', combo.GetItemData(combo.GetCurSel()));
    listBox.GetText(7, text);
    EXPECT_STREQ("", text);
}

TEST(ImageListTest, OwnsItsListUnlessDetached)
{
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 2));
    HICON icon = LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
    EXPECT_EQ(0, images.Add(icon));
    EXPECT_EQ(1, images.Add(icon));
    EXPECT_EQ(2, images.GetImageCount());
    EXPECT_EQ(&images, CImageList::FromHandle(images.m_hImageList));
    HIMAGELIST kept = images.Detach();
    EXPECT_EQ(NULL, images.m_hImageList);
    EXPECT_EQ(2, ImageList_GetImageCount(kept));
    EXPECT_TRUE(ImageList_Destroy(kept));
}
}
