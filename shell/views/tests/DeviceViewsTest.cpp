// The device traffic and connection views on a real document (in-process
// road, no unit found).
#include "ShellViewFixture.h"

#include "DevView.h"
#include "TavlinView.h"
#include "ViewsResources.h"

namespace {

class DeviceViewsTest : public ShellViewFixture
{
protected:
    static std::string Text(CWnd& window)
    {
        CString text;
        window.GetWindowText(text);
        return std::string(text);
    }
    static void Click(CWnd& view, UINT id)
    {
        view.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(view.GetDlgItem(id)->m_hWnd));
    }
    // The tree's items, depth first, indented by two blanks a level.
    static Texts Tree(CTreeCtrl& tree, HTREEITEM item = TVI_ROOT, int depth = -1)
    {
        Texts lines;
        if (item != TVI_ROOT)
            lines.push_back(std::string(2 * depth, ' ') + std::string(tree.GetItemText(item)));
        for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetNextSiblingItem(child))
        {
            Texts below = Tree(tree, child, depth + 1);
            lines.insert(lines.end(), below.begin(), below.end());
        }
        return lines;
    }
};

// The texts the document fires wait in its queue while "Freeze" is ticked
// and then come all at once.
TEST_F(DeviceViewsTest, TrafficPilesUpWhileFrozen)
{
    CTavlinView* view = Show<CTavlinView>(RUNTIME_CLASS(CTavlinView));
    ASSERT_TRUE(view);
    view->DrainQueue();
    view->GetLog().SetWindowText("");
    view->CheckDlgButton(IDC_TRAFFIC_FREEZE, BST_CHECKED);
    Click(*view, IDC_TRAFFIC_FREEZE);
    m_doc->GetMapper().DispatchEvent("one");
    m_doc->GetMapper().DispatchEvent("two");
    view->DrainQueue();
    EXPECT_EQ("", Text(view->GetLog()));
    view->CheckDlgButton(IDC_TRAFFIC_FREEZE, BST_UNCHECKED);
    Click(*view, IDC_TRAFFIC_FREEZE);
    view->DrainQueue();
    EXPECT_EQ("one\r\ntwo\r\n", Text(view->GetLog()));
}

TEST_F(DeviceViewsTest, TheLogCheckIsTheActivityLoggingOption)
{
    m_doc->SetActivityLogging(TRUE);
    CTavlinView* view = Show<CTavlinView>(RUNTIME_CLASS(CTavlinView));
    EXPECT_EQ(BST_CHECKED, view->IsDlgButtonChecked(IDC_TRAFFIC_LOG));
    view->CheckDlgButton(IDC_TRAFFIC_LOG, BST_UNCHECKED);
    Click(*view, IDC_TRAFFIC_LOG);
    EXPECT_FALSE(m_doc->IsActivityLoggingOn());
}

TEST_F(DeviceViewsTest, WithoutUnitsTheTreeSaysSoAndListsTheUncheckedPorts)
{
    CDevView* view = Show<CDevView>(RUNTIME_CLASS(CDevView));
    ASSERT_TRUE(view);
    Texts expected = {"Device Connections", "  (No Tavlin-es found)", "  Port Diagnostics"};
    for (int com = 1; com <= 8; ++com)
        expected.push_back("    COM" + std::to_string(com) + ": Not Checked");
    EXPECT_EQ(expected, Tree(view->GetTree()));
    m_doc->UpdateAllViews(NULL, kViewHintDevices);
    EXPECT_EQ(expected, Tree(view->GetTree()));
}

} // namespace
