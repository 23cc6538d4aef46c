// The error holder and the device library's small utilities.
#include "tests/support/TestFramework.h"

#include "devices/util/Bcd.h"
#include "tests/support/DebugCapture.h"
#include "devices/util/Error.h"
#include "tests/support/MessageBoxScript.h"
#include "devices/util/MessageWaits.h"
#include "devices/util/ResourceText.h"
#include "devices/util/SplitPath.h"
#include "devices/util/TextFields.h"
#include "devices/util/TextSpan.h"

#include <string>

namespace {

TEST(Error, StartsQuietWithNoErrorText)
{
    CError error;
    EXPECT_TRUE(error.m_messageBox);
    EXPECT_STREQ("No Error", error.m_text);
    EXPECT_EQ(0, error.m_reported);
}

TEST(Error, ReportShowsBoxInMessageBoxModeAndCounts)
{
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    CDebugCapture debug;
    CError error;
    error.m_text = "to high";
    error.Report();
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("to high", boxes.Shown()[0].text);
    EXPECT_EQ(unsigned(MB_OK), boxes.Shown()[0].type & 0xF);
    EXPECT_FALSE(debug.Contains("to high"));
    EXPECT_EQ(1, error.m_reported);
}

TEST(Error, ReportWritesDebugOutputWithoutMessageBoxes)
{
    CDebugCapture debug;
    CError error;
    error.m_messageBox = FALSE;
    error.m_text = "Unkown Response";
    error.Report();
    error.Report();
    EXPECT_TRUE(debug.Contains("Unkown Response"));
    EXPECT_EQ(2, error.m_reported);
}

TEST(Error, ReportLastErrorTakesSystemTextAndAlwaysWritesIt)
{
    CMessageBoxScript boxes;
    boxes.Then(IDOK);
    CDebugCapture debug;
    CError error;
    SetLastError(ERROR_FILE_NOT_FOUND);
    error.ReportLastError();
    EXPECT_STRNE("No Error", error.m_text);
    EXPECT_FALSE(CString(error.m_text).IsEmpty());
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ(std::string(error.m_text), boxes.Shown()[0].text);
    EXPECT_TRUE(debug.Contains(std::string(error.m_text) + "\n"));
    EXPECT_EQ(1, error.m_reported);
}

struct SplitCase
{
    const char* text;
    const char* delimiter;
    TextSpan span;
    bool found;
    TextSpan spanAfter;
    TextSpan after;
};

TEST(TextSpanTest, SplitTextSpanCutsAtTheDelimiter)
{
    const SplitCase cases[] = {
        {"ab:cd", ":", {0, 4}, true, {0, 1}, {3, 4}},
        {"xx ab:cd", ":", {3, 7}, true, {3, 4}, {6, 7}},
        {":cd", ":", {0, 2}, true, {0, 0}, {1, 2}},           // last stays at least first
        {"ab:", ":", {0, 2}, true, {0, 1}, {2, 2}},           // after starts at most at last
        {"ab:cd", ":", {0, 1}, false, {0, 1}, {1, 1}},        // delimiter beyond the span
        {"ab::cd", "::", {0, 2}, false, {0, 2}, {2, 2}},      // delimiter ends beyond last + 1
        {"ab::cd", "::", {0, 3}, true, {0, 1}, {3, 3}},   // after starts at most at last
        {"abcd", ":", {0, 3}, false, {0, 3}, {3, 3}},
    };
    for (const SplitCase& c : cases) {
        TextSpan span = c.span;
        TextSpan after = {-7, -7};
        EXPECT_EQ(c.found, SplitTextSpan(c.text, c.delimiter, span, after)) << c.text;
        EXPECT_EQ(c.spanAfter.first, span.first) << c.text;
        EXPECT_EQ(c.spanAfter.last, span.last) << c.text;
        EXPECT_EQ(c.after.first, after.first) << c.text;
        EXPECT_EQ(c.after.last, after.last) << c.text;
    }
}

TEST(TextSpanTest, GetTextReturnsTheInclusiveRange)
{
    CString text = "dev:play[1,2]";
    EXPECT_STREQ("play", (TextSpan{4, 7}).GetText(text));
    EXPECT_STREQ("d", (TextSpan{0, 0}).GetText(text));
    EXPECT_STREQ("", (TextSpan{5, 4}).GetText(text));
}

struct BracketCase
{
    const char* text;
    char open;
    char close;
    bool found;
    const char* inner;
    int nextFirst;
};

TEST(TextSpanTest, FindBracketedNestsBracketsAndPairsQuotes)
{
    const BracketCase cases[] = {
        {"ir[100 -200] x", '[', ']', true, "100 -200", 12},
        {"a[b[c]d]e", '[', ']', true, "b[c]d", 8},
        {"]a[b]", '[', ']', true, "b", 5},            // a stray closer is no bracket
        {"a[b[c]", '[', ']', false, "", 0},
        {"say \"hi [x]\" now", '"', '"', true, "hi [x]", 12},
        {"\"open", '"', '"', false, "", 0},
        {"x[]", '[', ']', true, "", 3},
    };
    for (const BracketCase& c : cases) {
        CString text = c.text;
        TextSpan span = {0, text.GetLength() - 1};
        TextSpan inner = {0, -1};
        ASSERT_EQ(c.found, FindBracketed(text, c.open, c.close, span, inner)) << c.text;
        if (c.found) {
            EXPECT_STREQ(c.inner, inner.GetText(text)) << c.text;
            EXPECT_EQ(c.nextFirst, span.first) << c.text;
        }
    }
}

TEST(TextSpanTest, FindBracketedScansOnlyTheSpan)
{
    CString text = "ab[cd] [ef]";
    TextSpan span = {6, text.GetLength() - 1};
    TextSpan inner = {0, -1};
    ASSERT_TRUE(FindBracketed(static_cast<const char*>(text) + 6, '[', ']', span, inner));
    EXPECT_STREQ("ef", inner.GetText(text));

    span = {0, 4};   // ends before the closing bracket
    EXPECT_FALSE(FindBracketed(text, '[', ']', span, inner));
}

TEST(Bcd, ConvertsBothWaysAndValidates)
{
    const struct { DWORD value; DWORD bcd; } pairs[] = {
        {0, 0}, {1234, 0x1234}, {99999999, 0x99999999}, {7, 7}, {200, 0x200},
    };
    for (const auto& p : pairs) {
        EXPECT_EQ(p.bcd, DecimalToBcd8(p.value)) << p.value;
        EXPECT_EQ(p.value, Bcd8ToDecimal(p.bcd)) << p.value;
        EXPECT_TRUE(IsValidBcd(p.bcd)) << p.value;
    }
    EXPECT_EQ(0x23456789u, DecimalToBcd8(123456789));   // only the eight lowest digits
    EXPECT_FALSE(IsValidBcd(0x12A4));
    EXPECT_FALSE(IsValidBcd(0xF0000000));
    EXPECT_EQ(10u, Bcd8ToDecimal(0xA));                    // nibbles above 9 count as they are
}

TEST(TextFieldsTest, CountsAndCutsCommaFields)
{
    EXPECT_EQ(1, CountFields(""));
    EXPECT_EQ(3, CountFields(" a , b ,c"));
    const struct { const char* text; int index; const char* field; } cases[] = {
        {" a , b ,c", 0, "a"},
        {" a , b ,c", 1, "b"},
        {" a , b ,c", 2, "c"},
        {"one,two", 5, ""},
        {"one,", 1, ""},
        {"", 0, ""},
        {"  spaced out  ", 0, "spaced out"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.field, GetField(c.text, c.index)) << c.text << " #" << c.index;
}

TEST(TextFieldsTest, EscapeUrlTextKeepsOnlyLettersAndDigits)
{
    EXPECT_STREQ("a+Z%2F%E9", EscapeUrlText("a Z/\xE9"));
    EXPECT_STREQ("AZaz09%2D%5F%2E%7E%25%2B", EscapeUrlText("AZaz09-_.~%+"));
    EXPECT_STREQ("", EscapeUrlText(""));
}

TEST(SplitPathTest, KeepsTheSplittersSeparators)
{
    CSplitPath path("C:\\Music\\Discs\\album.track.mp3");
    EXPECT_STREQ("C:", path.GetDrive());
    EXPECT_STREQ("\\Music\\Discs\\", path.GetDir());
    EXPECT_STREQ("album.track", path.GetFileName());
    EXPECT_STREQ(".mp3", path.GetExt());

    CSplitPath bare("name");
    EXPECT_STREQ("", bare.GetDrive());
    EXPECT_STREQ("", bare.GetDir());
    EXPECT_STREQ("name", bare.GetFileName());
    EXPECT_STREQ("", bare.GetExt());
}

TEST(ResourceTextTest, LoadsBytesOfBuiltInText)
{
    EXPECT_STREQ("first line\r\nsecond", LoadResourceText("SAMPLE"));
    EXPECT_STREQ("", LoadResourceText("MISSING"));
}

// A message posted to the thread; the wait must dispatch it while it waits.
const UINT kChangeMessage = WM_APP + 1;
char g_changed[8] = "before";

LRESULT CALLBACK ChangeOnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kChangeMessage) {
        strcpy(g_changed, "after!");
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class MessageWaitsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ChangeOnMessage;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "WaitsTestWindow";
        RegisterClassA(&wc);
        m_window = CreateWindowA("WaitsTestWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 wc.hInstance, nullptr);
        ASSERT_TRUE(m_window != nullptr);
        strcpy(g_changed, "before");
    }
    void TearDown() override { DestroyWindow(m_window); }

    HWND m_window = nullptr;
};

TEST_F(MessageWaitsTest, ConditionThatAlreadyHoldsReturnsTrue)
{
    char a[4] = "abc";
    char b[4] = "abc";
    char c[4] = "abd";
    EXPECT_TRUE(WaitForBuffersEqual(1, a, b, 4, nullptr));
    EXPECT_TRUE(WaitForBuffersDiffer(1, a, c, 4, nullptr));
    EXPECT_TRUE(WaitForStringsDiffer(1, a, c, nullptr));
}

TEST_F(MessageWaitsTest, TimeOutBelowOneOrCancelReturnsFalse)
{
    char a[4] = "abc";
    char b[4] = "abc";
    TaskCancelFlag cancel{1};
    EXPECT_FALSE(WaitForBuffersEqual(0, a, b, 4, nullptr));
    EXPECT_FALSE(WaitForBuffersEqual(-5, a, b, 4, nullptr));
    EXPECT_FALSE(WaitForBuffersEqual(1000, a, b, 4, &cancel));
    EXPECT_FALSE(WaitForStringsDiffer(120, a, b, nullptr));
    EXPECT_FALSE(WaitForBufferChange(120, a, 4, nullptr));
    EXPECT_FALSE(WaitForCondition(1000, [] { return true; }, &cancel));
    EXPECT_FALSE(WaitForCondition(120, [] { return false; }, nullptr));
}

TEST_F(MessageWaitsTest, PumpedMessageEndsTheWait)
{
    char start[8] = "before";
    PostMessageA(m_window, kChangeMessage, 0, 0);
    EXPECT_TRUE(WaitForBufferChange(5000, g_changed, 8, nullptr));
    strcpy(g_changed, "before");
    PostMessageA(m_window, kChangeMessage, 0, 0);
    EXPECT_TRUE(WaitForStringsDiffer(5000, g_changed, start, nullptr));
    strcpy(g_changed, "before");
    PostMessageA(m_window, kChangeMessage, 0, 0);
    EXPECT_TRUE(WaitForBuffersEqual(5000, g_changed, "after!", 7, nullptr));
    strcpy(g_changed, "before");
    PostMessageA(m_window, kChangeMessage, 0, 0);
    EXPECT_TRUE(WaitForCondition(5000, [] { return strcmp(g_changed, "after!") == 0; }, nullptr));
}

TEST_F(MessageWaitsTest, AQuitMetByThePumpStaysForTheThreadsLoop)
{
    PostMessageA(m_window, kChangeMessage, 0, 0);
    EXPECT_FALSE(PumpWaitingMessages());
    PostMessageA(m_window, kChangeMessage, 0, 0);
    PostQuitMessage(7);
    EXPECT_TRUE(PumpWaitingMessages());
    EXPECT_STREQ("after!", g_changed);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(UINT(WM_QUIT), msg.message);
    EXPECT_EQ(7, int(msg.wParam));
}

} // namespace
