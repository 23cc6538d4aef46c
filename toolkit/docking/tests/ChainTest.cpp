#include "tests/support/TestFramework.h"
#include "tests/support/CallRecorder.h"
#include "toolkit/docking/tests/ChainTest.h"

#include "toolkit/docking/TkWndPlugIn.h"

#include <memory>

namespace
{
CCallRecorder g_calls;
const UINT kProbe = WM_APP + 1;

class RecordingListener : public TkWndListener
{
public:
    RecordingListener(const char* name, DWORD flags = 0, LRESULT answer = 0)
        : m_name(name), m_flags(flags), m_answer(answer)
    {
    }
    void UnPlug() override
    {
        if (IsPlugged())
            g_calls.Record(m_name + " unplug");
        TkWndListener::UnPlug();
    }
    LRESULT OnProbe(WPARAM wParam, LPARAM)
    {
        g_calls.Record(m_name);
        const MSG* current = GetCurrentMessage();
        if (current->message != kProbe || current->hwnd != m_hWnd)
            g_calls.Record(m_name + " sees another current message");
        if (Default() != 0)
            g_calls.Record(m_name + " got default processing");
        SetRoutingFlags(m_flags);
        if (wParam == 1 && m_destroys)
            ::DestroyWindow(m_hWnd);
        return m_answer;
    }

    std::string m_name;
    DWORD m_flags;
    LRESULT m_answer;
    BOOL m_destroys = FALSE;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingListener, TkWndListener)
    ON_MESSAGE(kProbe, OnProbe)
END_MESSAGE_MAP()

WNDPROC g_defaultProc = DefWindowProcA;

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe)
    {
        g_calls.Record("window");
        return 7;
    }
    if (message == WM_NCDESTROY)
    {
        BOOL restored = (WNDPROC)GetWindowLongPtrA(window, GWLP_WNDPROC) == PlainProc;
        g_calls.Record(restored ? "window ncdestroy" : "window ncdestroy, still subclassed");
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK OtherProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProbe)
    {
        g_calls.Record("other");
        return 9;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

INT_PTR CALLBACK ChainDialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message != kProbe)
        return FALSE;
    g_calls.Record("dialog");
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 5);
    return TRUE;
}

class ChainTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_calls.Clear();
        static ATOM atom = 0;
        if (!atom)
        {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = PlainProc;
            wc.hInstance = GetModuleHandleA(NULL);
            wc.lpszClassName = "TkChainTestPlain";
            atom = RegisterClassA(&wc);
        }
        m_window = CreateWindowExA(0, "TkChainTestPlain", "plain", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                   100, NULL, NULL, GetModuleHandleA(NULL), NULL);
        ASSERT_TRUE(m_window != NULL);
        m_object.m_hWnd = m_window;
    }
    void TearDown() override
    {
        if (IsWindow(m_window))
            DestroyWindow(m_window);
        m_object.m_hWnd = NULL;
    }
    std::vector<std::string> Probe(LRESULT* result = NULL, WPARAM wParam = 0)
    {
        g_calls.Clear();
        LRESULT answer = SendMessageA(m_window, kProbe, wParam, 0);
        if (result)
            *result = answer;
        return g_calls.Calls();
    }
    WNDPROC CurrentProc() { return (WNDPROC)GetWindowLongPtrA(m_window, GWLP_WNDPROC); }

    HWND m_window = NULL;
    // Stands for the window in calls that take a window object.
    CWnd m_object;
};

typedef std::vector<std::string> Calls;

TEST_F(ChainTest, ListenersSeeMessagesInAttachOrderAndRouteThem)
{
    const struct
    {
        DWORD first, second;
        Calls calls;
        LRESULT result;
    } cases[] = {
        {0, 0, {"A", "B", "window"}, 7},
        {TkWndListener::kStop, 0, {"A", "window"}, 7},
        {TkWndListener::kHandled, 0, {"A", "B"}, 22},
        {0, TkWndListener::kHandled, {"A", "B"}, 22},
        {TkWndListener::kStop | TkWndListener::kHandled, 0, {"A"}, 11},
        {0xFF, 0xFF, {"A"}, 11},
    };
    for (const auto& c : cases)
    {
        RecordingListener a("A", c.first, 11), b("B", c.second, 22);
        ASSERT_TRUE(a.PlugInTo(&m_object));
        ASSERT_TRUE(b.PlugInTo(&m_object));
        EXPECT_FALSE(b.PlugInTo(&m_object)) << "a listener joins once";
        LRESULT result = 0;
        EXPECT_EQ(c.calls, Probe(&result)) << "flags " << c.first << " " << c.second;
        EXPECT_EQ(c.result, result);
        EXPECT_EQ(c.calls, Probe()) << "the flags are cleared for the next message";
        EXPECT_EQ(CWnd::FromHandlePermanent(m_window), (CWnd*)NULL)
            << "listeners stay out of the handle map";
    }
    EXPECT_EQ(PlainProc, CurrentProc()) << "the last one out restores the procedure";
}

TEST_F(ChainTest, LeavingKeepsTheChainUntilTheLastListener)
{
    RecordingListener a("A"), b("B");
    a.PlugInTo(&m_object);
    b.PlugInTo(&m_object);
    EXPECT_NE(PlainProc, CurrentProc());
    a.UnPlug();
    EXPECT_NE(PlainProc, CurrentProc());
    EXPECT_EQ((Calls{"B", "window"}), Probe());
    b.UnPlug();
    EXPECT_EQ(PlainProc, CurrentProc());
    EXPECT_EQ((Calls{"window"}), Probe());
    EXPECT_FALSE(b.RemoveFromChain()) << "not in a chain";
    EXPECT_FALSE(a.PlugInTo(NULL));
    EXPECT_FALSE(a.IsPlugged());
}

TEST_F(ChainTest, DestroyingTheWindowUnplugsEveryListenerBeforeItsProcedure)
{
    RecordingListener a("A"), b("B");
    a.PlugInTo(&m_object);
    b.PlugInTo(&m_object);
    g_calls.Clear();
    DestroyWindow(m_window);
    Calls calls = g_calls.Calls();
    EXPECT_EQ((Calls{"A unplug", "B unplug", "window ncdestroy"}), calls);
    EXPECT_FALSE(a.IsPlugged());
    EXPECT_FALSE(b.IsPlugged());
}

TEST_F(ChainTest, AHandlerThatDestroysTheWindowEndsTheDispatch)
{
    RecordingListener a("A"), b("B");
    a.m_destroys = TRUE;
    a.PlugInTo(&m_object);
    b.PlugInTo(&m_object);
    EXPECT_EQ((Calls{"A", "A unplug", "B unplug", "window ncdestroy"}), Probe(NULL, 1));
    EXPECT_FALSE(IsWindow(m_window));
}

TEST_F(ChainTest, ADeletedPlugInLeavesItsWindowAlive)
{
    std::unique_ptr<RecordingListener> listener(new RecordingListener("A"));
    listener->PlugInTo(&m_object);
    listener.reset();
    EXPECT_TRUE(IsWindow(m_window));
    EXPECT_EQ(PlainProc, CurrentProc());
    EXPECT_EQ((Calls{"window"}), Probe());

    std::unique_ptr<TkWndPlugIn> plugIn(new TkWndPlugIn);
    EXPECT_TRUE(plugIn->PlugInTo(&m_object));
    EXPECT_EQ(m_window, plugIn->GetSafeHwnd());
    EXPECT_EQ(CWnd::FromHandlePermanent(m_window), (CWnd*)NULL);
    EXPECT_EQ(5, plugIn->GetWindowTextLength()) << "it talks to the window it borrowed";
    plugIn.reset();
    EXPECT_TRUE(IsWindow(m_window));
}

TEST_F(ChainTest, AChainBelowTakesOverTheProcedureOfOneLeavingAbove)
{
    RecordingListener a("A");
    a.PlugInTo(&m_object);
    SendMessageA(m_window, WM_TK_REMOVEFROMCHAIN, (WPARAM)OtherProc, (LPARAM)DefWindowProcA);
    EXPECT_EQ((Calls{"A", "window"}), Probe()) << "not the procedure this chain saved";
    SendMessageA(m_window, WM_TK_REMOVEFROMCHAIN, (WPARAM)PlainProc, (LPARAM)OtherProc);
    LRESULT result = 0;
    EXPECT_EQ((Calls{"A", "other"}), Probe(&result));
    EXPECT_EQ(9, result);
    a.UnPlug();
    EXPECT_EQ(OtherProc, CurrentProc());
}

class RecordingObject : public CWnd
{
public:
    LRESULT OnProbe(WPARAM, LPARAM)
    {
        g_calls.Record("object");
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingObject, CWnd)
    ON_MESSAGE(kProbe, OnProbe)
END_MESSAGE_MAP()

TEST_F(ChainTest, StacksOnTheClassLibrarysSubclassingEitherWay)
{
    RecordingObject object;
    RecordingListener a("A");
    ASSERT_TRUE(object.SubclassWindow(m_window));
    a.PlugInTo(&object);
    EXPECT_EQ((Calls{"A", "object", "window"}), Probe());
    a.UnPlug();
    EXPECT_EQ((Calls{"object", "window"}), Probe());
    object.UnsubclassWindow();
    EXPECT_EQ(PlainProc, CurrentProc());

    // The class library on top: the chain stays under it as a pass-through.
    a.PlugInTo(&m_object);
    ASSERT_TRUE(object.SubclassWindow(m_window));
    EXPECT_EQ((Calls{"object", "A", "window"}), Probe());
    a.UnPlug();
    EXPECT_EQ((Calls{"object", "window"}), Probe());
    g_calls.Clear();
    DestroyWindow(m_window);
    EXPECT_EQ((Calls{"window ncdestroy, still subclassed"}), g_calls.Calls());
}

TEST_F(ChainTest, ADialogIsChainedThroughItsDialogProcedure)
{
    HWND dialog = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_CHAIN), NULL,
                                     ChainDialogProc, 0);
    ASSERT_TRUE(dialog != NULL);
    CWnd object;
    object.m_hWnd = dialog;
    LONG_PTR dialogProc = GetWindowLongPtrA(dialog, DWLP_DLGPROC);
    WNDPROC windowProc = (WNDPROC)GetWindowLongPtrA(dialog, GWLP_WNDPROC);
    RecordingListener a("A"), b("B", TkWndListener::kStop);
    EXPECT_FALSE(a.UsesWindowProc(&object));
    a.PlugInTo(&object);
    b.PlugInTo(&object);
    EXPECT_EQ(windowProc, (WNDPROC)GetWindowLongPtrA(dialog, GWLP_WNDPROC));
    EXPECT_NE(dialogProc, GetWindowLongPtrA(dialog, DWLP_DLGPROC));
    g_calls.Clear();
    EXPECT_EQ(5, SendMessageA(dialog, kProbe, 0, 0));
    EXPECT_EQ((Calls{"A", "B", "dialog"}), g_calls.Calls());
    a.UnPlug();
    b.UnPlug();
    g_calls.Clear();
    EXPECT_EQ(5, SendMessageA(dialog, kProbe, 0, 0));
    EXPECT_EQ((Calls{"dialog"}), g_calls.Calls());
    a.PlugInTo(&object);
    g_calls.Clear();
    DestroyWindow(dialog);
    EXPECT_EQ((Calls{"A unplug"}), g_calls.Calls());
    object.m_hWnd = NULL;
}
}  // namespace
