// A plain window as a container of layout nodes: node and screen coordinates,
// its window rectangle, its client area invalidated, a copy for the same
// window and a new parent; and a window node attached by its dialog id.
#include "tests/support/TestFramework.h"
#include "tests/support/Waits.h"

#include "toolkit/docking/TkLNContainer.h"
#include "toolkit/docking/TkLayoutNodeWnd.h"

#include <memory>

namespace
{
const UINT kChildId = 100;

class WindowContainerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (CWnd* window : {&m_first, &m_second})
            ASSERT_TRUE(window->CreateEx(0, AfxRegisterWndClass(0), "container", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                         40, 30, 300, 200, NULL, NULL));
        m_child = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 20, 60, 30, m_first.m_hWnd,
                                    (HMENU)(UINT_PTR)kChildId, NULL, NULL);
        ASSERT_NE((HWND)NULL, m_child);
        PumpMessages();
    }
    void TearDown() override
    {
        m_first.DestroyWindow();
        m_second.DestroyWindow();
    }
    CPoint ClientOrigin(CWnd& window)
    {
        CPoint origin(0, 0);
        window.ClientToScreen(&origin);
        return origin;
    }

    CWnd m_first;
    CWnd m_second;
    HWND m_child = NULL;
};

TEST_F(WindowContainerTest, NodeCoordinatesAreTheWindowsClientCoordinates)
{
    TkLNHwndContainer container(&m_first);
    const CPoint origin = ClientOrigin(m_first);
    CPoint point(5, 7);
    ASSERT_TRUE(container.NodePointToScreen(point));
    EXPECT_EQ(origin + CPoint(5, 7), point);

    CRect child;
    ::GetWindowRect(m_child, &child);
    ASSERT_TRUE(container.ScreenRectToNode(child));
    EXPECT_EQ(CRect(10, 20, 70, 50), child);

    CRect window, expected;
    ASSERT_TRUE(container.GetContainerWindowRect(window));
    m_first.GetWindowRect(&expected);
    EXPECT_EQ(expected, window);
}

TEST_F(WindowContainerTest, InvalidatingTheContainerMarksItsWholeClientArea)
{
    TkLNHwndContainer container(&m_first);
    for (BOOL erase : {FALSE, TRUE}) {
        m_first.UpdateWindow();
        ASSERT_FALSE(::GetUpdateRect(m_first.m_hWnd, NULL, FALSE));
        EXPECT_TRUE(container.InvalidateContainer(erase));
        CRect update, client;
        ASSERT_TRUE(::GetUpdateRect(m_first.m_hWnd, &update, FALSE)) << erase;
        m_first.GetClientRect(&client);
        EXPECT_EQ(client, update) << erase;
    }
}

TEST_F(WindowContainerTest, ACloneServesTheSameWindow)
{
    TkLNHwndContainer container(&m_first);
    std::unique_ptr<ITkLNContainer> clone(container.CloneContainer());
    ASSERT_NE(nullptr, clone.get());
    EXPECT_NE(static_cast<ITkLNContainer*>(&container), clone.get());
    TkLNHwndContainer* hwndClone = dynamic_cast<TkLNHwndContainer*>(clone.get());
    ASSERT_NE(nullptr, hwndClone);
    EXPECT_EQ(m_first.m_hWnd, hwndClone->GetContainerWnd());
}

TEST_F(WindowContainerTest, SetContainerParentMovesTheWindowUnlessEitherIsMissing)
{
    TkLNHwndContainer child(m_child);
    TkLNHwndContainer none((HWND)NULL);
    const struct
    {
        const char* name;
        TkLNHwndContainer* container;
        HWND parent;
        HWND result;
        HWND parentAfter;
    } cases[] = {
        {"no new parent", &child, NULL, NULL, m_first.m_hWnd},
        {"to the second window", &child, m_second.m_hWnd, m_first.m_hWnd, m_second.m_hWnd},
        {"back to the first", &child, m_first.m_hWnd, m_second.m_hWnd, m_first.m_hWnd},
        {"no window", &none, m_second.m_hWnd, NULL, m_first.m_hWnd},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result, c.container->SetContainerParent(c.parent)) << c.name;
        EXPECT_EQ(c.parentAfter, ::GetParent(m_child)) << c.name;
    }
}

// A node attached by dialog id takes the child's rectangle in the parent's
// client coordinates; a missing id or parent attaches nothing.
TEST_F(WindowContainerTest, AWindowNodeAttachesByDialogId)
{
    const struct
    {
        const char* name;
        int id;
        CWnd* parent;
        BOOL attached;
    } cases[] = {
        {"the child's id", kChildId, &m_first, TRUE},
        {"an id no child has", kChildId + 1, &m_first, FALSE},
        {"no parent", kChildId, NULL, FALSE},
    };
    for (const auto& c : cases) {
        TkLayoutNodeWnd node;
        EXPECT_EQ(c.attached, node.AttachDlgItem(c.id, c.parent)) << c.name;
        EXPECT_EQ(c.attached ? m_child : NULL, node.GetNodeWnd()) << c.name;
        if (c.attached) {
            EXPECT_EQ(CRect(10, 20, 70, 50), node.GetCurrentRect()) << c.name;
            EXPECT_EQ(CRect(10, 20, 70, 50), node.GetInitialRect()) << c.name;
        }
    }
}

}  // namespace
