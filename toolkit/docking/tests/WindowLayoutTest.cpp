#include "tests/support/TestFramework.h"
#include "toolkit/docking/tests/NodeProbe.h"

#include "toolkit/docking/TkLNBorderClient.h"
#include "toolkit/docking/TkLNScale.h"
#include "toolkit/docking/TkLayoutFactory.h"

#include <functional>
#include <memory>

namespace
{
const UINT kFirstChild = 100;

// A window node that counts the live instances.
class CountedWndNode : public TkLayoutNodeWnd
{
public:
    CountedWndNode() { ++s_live; }
    ~CountedWndNode() override { --s_live; }
    static int s_live;
};
int CountedWndNode::s_live = 0;

class CountedListener : public TkLayoutWndListener
{
public:
    CountedListener() { ++s_live; }
    ~CountedListener() override { --s_live; }
    static int s_live;
};
int CountedListener::s_live = 0;

class FailingFactory : public TkClassFactory<TkLayoutNodeWnd>
{
public:
    TkLayoutNodeWnd* CreateObject() override { return NULL; }
};

// A top-level parent with three static children: ids 100, 101 and 103.
class WindowLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, AfxRegisterWndClass(0), "layout",
                                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 400, 300,
                                      NULL, NULL));
        SetClientSize(200, 100);
        const struct
        {
            UINT id;
            CRect rect;
        } children[] = {
            {kFirstChild, {10, 10, 50, 30}},
            {kFirstChild + 1, {100, 10, 190, 90}},
            {kFirstChild + 3, {0, 50, 100, 100}},
        };
        for (const auto& c : children)
            m_children.push_back(CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE,
                                                 c.rect.left, c.rect.top, c.rect.Width(),
                                                 c.rect.Height(), m_parent.m_hWnd,
                                                 (HMENU)(UINT_PTR)c.id, NULL, NULL));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    void SetClientSize(int cx, int cy)
    {
        CRect window, client;
        m_parent.GetWindowRect(window);
        m_parent.GetClientRect(client);
        m_parent.SetWindowPos(NULL, 0, 0, cx + window.Width() - client.Width(),
                              cy + window.Height() - client.Height(),
                              SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    std::string ChildRect(int index)
    {
        CRect rect;
        ::GetWindowRect(m_children[index], &rect);
        ::MapWindowPoints(NULL, m_parent.m_hWnd, (LPPOINT)&rect, 2);
        return RectText(rect);
    }

    CWnd m_parent;
    std::vector<HWND> m_children;
};

TEST_F(WindowLayoutTest, AListenerLaysTheChildrenOutOnEverySize)
{
    TkLayoutDockFactory factory;
    ASSERT_TRUE(factory.AttachLayout(&m_parent));
    EXPECT_EQ(4, factory.NodeOwner()->GetCount()) << "the scaling root and three window nodes";
    const struct
    {
        int cx, cy;
        const char* rects[3];
    } cases[] = {
        {400, 200, {"20,20,100,60", "200,20,380,180", "0,100,200,200"}},
        {100, 50, {"5,5,25,15", "50,5,95,45", "0,25,50,50"}},
        {200, 100, {"10,10,50,30", "100,10,190,90", "0,50,100,100"}},
    };
    for (const auto& c : cases)
    {
        SetClientSize(c.cx, c.cy);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(c.rects[i], ChildRect(i)) << c.cx << "x" << c.cy << " child " << i;
    }
}

TEST_F(WindowLayoutTest, LayOutOnSizeOffFreezesTheTree)
{
    TkLayoutFactory factory;
    TkLNScale root;
    TkLayoutWndListener* listener = factory.CreateListener(factory.ListenerFactory());
    ASSERT_TRUE(listener->AutoInitLayout(&root, &m_parent, 0, TRUE, FALSE));
    ASSERT_TRUE(factory.CreateChildWndNodes(&root, &m_parent, NULL));
    listener->SetAutoLayout(FALSE);
    SetClientSize(400, 200);
    EXPECT_EQ("10,10,50,30", ChildRect(0));
    EXPECT_EQ("0,0,200,100", RectText(root.GetCurrentRect()));
    listener->SetAutoLayout(TRUE);
    SetClientSize(400, 201);
    EXPECT_EQ("20,20,100,60", ChildRect(0));
    factory.FreeAllListeners();
}

TEST_F(WindowLayoutTest, TrackingLimitsIncludeTheFrame)
{
    CRect window, client;
    m_parent.GetWindowRect(window);
    m_parent.GetClientRect(client);
    CSize frame(window.Width() - client.Width(), window.Height() - client.Height());
    const struct
    {
        DWORD flags;
        CPoint minTrack, maxTrack;
    } cases[] = {
        {TkLayoutNode::kNoMaximum, {150 + frame.cx, 60 + frame.cy}, {-1, -1}},
        {0, {150 + frame.cx, 60 + frame.cy}, {300 + frame.cx, 250 + frame.cy}},
        {TkLayoutNode::kNoMinimum, {-1, -1}, {300 + frame.cx, 250 + frame.cy}},
    };
    for (const auto& c : cases)
    {
        TkLayoutNode root;
        TkLayoutWndListener listener;
        ASSERT_TRUE(listener.InitLayout(&root, &m_parent, CRect(0, 0, 10, 10), 0, FALSE));
        root.SetSizeLimits(CSize(150, 60), CSize(300, 250), c.flags);
        MINMAXINFO info = {};
        info.ptMinTrackSize = CPoint(-1, -1);
        info.ptMaxTrackSize = CPoint(-1, -1);
        m_parent.SendMessage(WM_GETMINMAXINFO, 0, (LPARAM)&info);
        EXPECT_EQ(c.minTrack, CPoint(info.ptMinTrackSize)) << "flags " << c.flags;
        EXPECT_EQ(c.maxTrack, CPoint(info.ptMaxTrackSize)) << "flags " << c.flags;
    }
}

TEST_F(WindowLayoutTest, WindowRectangleLayoutCoversTheNonClientArea)
{
    TkLayoutNode root;
    TkLayoutWndListener listener;
    ASSERT_TRUE(listener.AutoInitLayout(&root, &m_parent, 0, TRUE, TRUE));
    CRect window;
    m_parent.GetWindowRect(window);
    EXPECT_EQ(RectText(CRect(0, 0, window.Width(), window.Height())),
              RectText(root.GetCurrentRect()));
    SetClientSize(300, 150);
    m_parent.GetWindowRect(window);
    EXPECT_EQ(RectText(CRect(0, 0, window.Width(), window.Height())),
              RectText(root.GetCurrentRect()));
    EXPECT_FALSE(listener.AutoInitLayout(&root, NULL, 0, TRUE, TRUE));
    EXPECT_FALSE(listener.InitLayout(NULL, &m_parent, CRect(), 0, TRUE));
}

TEST_F(WindowLayoutTest, RealisationSkipsADeadWindowAndMovesTheRest)
{
    TkLayoutFactory factory;
    TkLayoutNode root;
    root.InitRects(CRect(0, 0, 200, 100));
    ASSERT_EQ(3, factory.CreateDlgItemNodes(kFirstChild, kFirstChild + 3, &m_parent, &root, NULL));
    CRect result;
    root.RecalcLayout(result, CRect(30, 40, 230, 140), FALSE, TRUE);
    ::DestroyWindow(m_children[1]);
    EXPECT_FALSE(root.RealizeNodes(0)) << "one window could not be moved";
    EXPECT_EQ("40,50,80,70", ChildRect(0));
    EXPECT_EQ("30,90,130,140", ChildRect(2));
    std::vector<std::string> realized;
    root.ForEachInSubtree([&realized](TkLayoutNode* node) {
        realized.push_back(RectText(node->GetRealizedRect()));
    });
    EXPECT_EQ((std::vector<std::string>{"40,50,80,70", "0,0,0,0", "30,90,130,140",
                                        "30,40,230,140"}),
              realized);
}

TEST_F(WindowLayoutTest, DeferredEraseMovesWithoutRedrawAndRepaintsTheUncoveredStrip)
{
    TkLayoutFactory factory;
    TkLayoutNode root;
    root.InitRects(CRect(0, 0, 200, 100));
    TkLayoutNodeWnd* node = factory.CreateWndNodeForHandle(m_children[2], &m_parent, &root,
                                                           factory.WndNodeFactory(), "bottom");
    ASSERT_TRUE(node != NULL);
    EXPECT_EQ("bottom", std::string(node->GetNodeName()));
    root.RealizeNodes(0);
    node->SetNodeStyle(TkLayoutNode::kDeferErase, FALSE);
    m_parent.ShowWindow(SW_SHOWNA);
    m_parent.UpdateWindow();
    m_parent.ValidateRect(NULL);
    CRect result;
    node->RecalcLayout(result, CRect(30, 50, 100, 100), FALSE, TRUE);
    EXPECT_TRUE(root.RealizeNodes(0));
    EXPECT_EQ("30,50,100,100", ChildRect(2));
    CRect update;
    EXPECT_TRUE(::GetUpdateRect(m_parent.m_hWnd, &update, FALSE));
    EXPECT_EQ("0,50,30,100", RectText(update));
    EXPECT_FALSE(node->IsRealizePending());
}

TEST_F(WindowLayoutTest, DialogItemNodes)
{
    const UINT listed[] = {kFirstChild + 1, 999, kFirstChild};
    const struct
    {
        const char* name;
        std::function<int(TkLayoutFactory&, TkLayoutNode*, std::vector<TkLayoutNodeWnd*>*)> make;
        int answer;
        std::vector<UINT> ids;
    } cases[] = {
        {"range", [this](TkLayoutFactory& f, TkLayoutNode* p, std::vector<TkLayoutNodeWnd*>* out)
         { return f.CreateDlgItemNodes(kFirstChild, kFirstChild + 3, &m_parent, p, out); },
         3, {kFirstChild, kFirstChild + 1, kFirstChild + 3}},
        {"inverted range", [this](TkLayoutFactory& f, TkLayoutNode* p, std::vector<TkLayoutNodeWnd*>* out)
         { return f.CreateDlgItemNodes(kFirstChild + 3, kFirstChild, &m_parent, p, out); },
         0, {}},
        {"whole id space", [this](TkLayoutFactory& f, TkLayoutNode* p, std::vector<TkLayoutNodeWnd*>* out)
         { return f.CreateDlgItemNodes(0, 0xFFFFFFFF, &m_parent, p, out); },
         3, {kFirstChild, kFirstChild + 1, kFirstChild + 3}},
        {"list, missing ids skipped", [this, &listed](TkLayoutFactory& f, TkLayoutNode* p, std::vector<TkLayoutNodeWnd*>* out)
         { return f.CreateDlgItemNodes(listed, 3, &m_parent, p, out); },
         2, {kFirstChild + 1, kFirstChild}},
        {"no list", [this](TkLayoutFactory& f, TkLayoutNode* p, std::vector<TkLayoutNodeWnd*>* out)
         { return f.CreateDlgItemNodes(NULL, 3, &m_parent, p, out); },
         -1, {}},
    };
    for (const auto& c : cases)
    {
        TkLayoutFactory factory;
        TkLayoutNode root;
        std::vector<TkLayoutNodeWnd*> nodes;
        EXPECT_EQ(c.answer, c.make(factory, &root, &nodes)) << c.name;
        std::vector<UINT> ids;
        for (TkLayoutNodeWnd* node : nodes)
            ids.push_back(::GetDlgCtrlID(node->GetNodeWnd()));
        EXPECT_EQ(c.ids, ids) << c.name;
        EXPECT_EQ((int)c.ids.size(), root.GetChildCount(FALSE)) << c.name;
    }
}

TEST_F(WindowLayoutTest, FailedCreationsLeaveNothingBehind)
{
    TkClassFactory_T<CountedWndNode, TkLayoutNodeWnd> counted;
    FailingFactory failing;
    TkLayoutFactory factory;
    TkLNBorderClient full;
    TkLayoutNode spare[5];
    for (TkLayoutNode& node : spare)
        full.AddChildNode(&node);
    HWND dead = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 5, 5, m_parent.m_hWnd, NULL,
                                NULL, NULL);
    ::DestroyWindow(dead);
    const struct
    {
        const char* name;
        HWND window;
        CWnd* parent;
        TkLayoutNode* parentNode;
        TkClassFactory<TkLayoutNodeWnd>* factory;
    } cases[] = {
        {"the class factory fails", m_children[0], &m_parent, NULL, &failing},
        {"no class factory", m_children[0], &m_parent, NULL, NULL},
        {"a dead window", dead, &m_parent, NULL, &counted},
        {"no window", NULL, &m_parent, NULL, &counted},
        {"no parent window", m_children[0], NULL, NULL, &counted},
        {"the parent node refuses it", m_children[0], &m_parent, &full, &counted},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(NULL, factory.CreateWndNodeForHandle(c.window, c.parent, c.parentNode,
                                                       c.factory, c.name))
            << c.name;
        EXPECT_EQ(0, CountedWndNode::s_live) << c.name;
        EXPECT_EQ(0, factory.NodeOwner()->GetCount()) << c.name;
    }
    EXPECT_EQ(5, full.GetChildCount(FALSE));
    TkLayoutNode foreign;
    EXPECT_FALSE(factory.DestroyNode(&foreign)) << "not the factory's to delete";
    EXPECT_FALSE(factory.DestroyNode(NULL));
    EXPECT_EQ(NULL, factory.CreateNode(NULL, "x"));
}

TEST_F(WindowLayoutTest, DestroyingTheFactoryFreesEverything)
{
    TkClassFactory_T<CountedWndNode, TkLayoutNodeWnd> counted;
    TkClassFactory_T<CountedListener, TkLayoutWndListener> countedListeners;
    std::unique_ptr<TkLayoutFactory> factory(new TkLayoutFactory);
    factory->SetDefaultSizeLimits(5, 6, 70, 80, 0, TRUE);
    TkLayoutNode* root = factory->CreateNode(factory->NodeFactory(), "root");
    for (HWND child : m_children)
        ASSERT_TRUE(factory->CreateWndNodeForHandle(child, &m_parent, root, &counted, NULL));
    CSize minimum, maximum;
    root->GetSizeLimits(&minimum, &maximum, NULL);
    EXPECT_EQ(CSize(5, 6), minimum) << "the factory's defaults";
    EXPECT_EQ(CSize(70, 80), maximum);
    TkLayoutWndListener* listener = factory->CreateListener(&countedListeners);
    ASSERT_TRUE(listener->AutoInitLayout(root, &m_parent, 0, FALSE, FALSE));
    EXPECT_EQ(3, CountedWndNode::s_live);
    EXPECT_EQ(1, CountedListener::s_live);
    TkLayoutNode* spare = factory->CreateNode(factory->NodeFactory(), NULL);
    EXPECT_TRUE(factory->DestroyNode(spare));
    EXPECT_EQ(NULL, factory->NodeOwner()->IsManaged(spare));
    factory.reset();
    EXPECT_EQ(0, CountedWndNode::s_live);
    EXPECT_EQ(0, CountedListener::s_live);
    SetClientSize(300, 300);
    EXPECT_EQ("10,10,50,30", ChildRect(0)) << "no listener is left on the window";
}
}  // namespace
