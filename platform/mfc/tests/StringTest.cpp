#include "tests/support/TestFramework.h"

#include <afx.h>

#include "platform/mfc/FormatText.h"

#include "platform/mfc/tests/StringTest.h"

#include <string>
#include <utility>

namespace {

struct SliceCase
{
    const char* operation;
    int first;
    int count;
    const char* expected;
};

CString Slice(const CString& s, const SliceCase& c)
{
    std::string op = c.operation;
    if (op == "Mid")
        return s.Mid(c.first, c.count);
    if (op == "MidToEnd")
        return s.Mid(c.first);
    if (op == "Left")
        return s.Left(c.count);
    return s.Right(c.count);
}

TEST(StringTest, SlicesClampOutOfRangeArguments)
{
    const SliceCase cases[] = {
        { "Mid", 1, 3, "bcd" },
        { "Mid", 4, 10, "ef" },
        { "Mid", 6, 1, "" },
        { "Mid", 99, 1, "" },
        { "Mid", -3, 2, "ab" },
        { "Mid", 2, -1, "" },
        { "MidToEnd", 2, 0, "cdef" },
        { "MidToEnd", 7, 0, "" },
        { "MidToEnd", -1, 0, "abcdef" },
        { "Left", 0, 2, "ab" },
        { "Left", 0, 99, "abcdef" },
        { "Left", 0, -5, "" },
        { "Right", 0, 2, "ef" },
        { "Right", 0, 99, "abcdef" },
        { "Right", 0, -1, "" },
    };
    const CString s("abcdef");
    for (const SliceCase& c : cases)
        EXPECT_STREQ(c.expected, Slice(s, c)) << c.operation << " " << c.first << " " << c.count;
}

struct FindCase
{
    const char* text;
    const char* needle; // one character means the char overload
    int start;
    int expected;
};

TEST(StringTest, FindHandlesStartsOutsideTheText)
{
    const FindCase cases[] = {
        { "hello world", "o", 0, 4 },
        { "hello world", "o", 5, 7 },
        { "hello world", "o", 8, -1 },
        { "hello world", "o", 11, -1 },
        { "hello world", "o", 50, -1 },
        { "hello world", "o", -4, 4 },
        { "hello world", "wor", 0, 6 },
        { "hello world", "wor", 7, -1 },
        { "hello world", "ld", 9, 9 },
        { "hello world", "xyz", 0, -1 },
        { "hello world", "lo", 100, -1 },
        { "", "a", 0, -1 },
    };
    for (const FindCase& c : cases) {
        CString s(c.text);
        int found = strlen(c.needle) == 1 ? s.Find(c.needle[0], c.start) : s.Find(c.needle, c.start);
        EXPECT_EQ(c.expected, found) << c.text << " / " << c.needle << " from " << c.start;
    }
    CString s("a.b.c");
    EXPECT_EQ(3, s.ReverseFind('.'));
    EXPECT_EQ(-1, s.ReverseFind('x'));
    EXPECT_EQ(1, s.FindOneOf(".,"));
    EXPECT_EQ(-1, s.FindOneOf("xyz"));
    EXPECT_EQ(0, s.Find("a"));
}

TEST(StringTest, ConstructsFromEveryKindOfSource)
{
    EXPECT_STREQ("xxx", CString('x', 3));
    EXPECT_STREQ("", CString('x', 0));
    EXPECT_STREQ("abc", CString("abcdef", 3));
    EXPECT_STREQ("ab", CString("ab", 10));
    EXPECT_STREQ("", CString(static_cast<LPCSTR>(NULL)));
    EXPECT_STREQ("Wide text", CString(u"Wide text"));
    EXPECT_STREQ("Wid", CString(u"Wide text", 3));
    CString assigned;
    assigned = u"from wide";
    EXPECT_STREQ("from wide", assigned);
    EXPECT_EQ(9, assigned.GetLength());
}

TEST(StringTest, ComparesAsBytesAndNoCaseFoldsOnlyAscii)
{
    CString s("Apple");
    EXPECT_EQ(0, s.Compare("Apple"));
    EXPECT_LT(s.Compare("apple"), 0);
    EXPECT_EQ(0, s.CompareNoCase("APPLE"));
    EXPECT_LT(s.CompareNoCase("banana"), 0);
    // Letters fold to lower case, which puts '_' before them.
    EXPECT_GT(CString("ABC").CompareNoCase("_"), 0);
    EXPECT_NE(0, CString("\xC4").CompareNoCase("\xE4"));
    EXPECT_TRUE(s == "Apple");
    EXPECT_TRUE("Apple" == s);
    EXPECT_TRUE(s != "apple");
    EXPECT_TRUE(s < "Banana");
    EXPECT_TRUE("Banana" > s);
    EXPECT_TRUE(s <= CString("Apple"));
    EXPECT_TRUE(s >= "Apple");
    EXPECT_LT(s.Collate("Apples"), 0);
}

TEST(StringTest, ConcatenatesEveryOperandKind)
{
    CString a("ab");
    EXPECT_STREQ("abcd", a + "cd");
    EXPECT_STREQ("cdab", "cd" + a);
    EXPECT_STREQ("abx", a + 'x');
    EXPECT_STREQ("xab", 'x' + a);
    EXPECT_STREQ("abab", a + a);
    a += a;
    a += "!";
    a += '?';
    EXPECT_STREQ("abab!?", a);
    EXPECT_EQ(6, a.GetLength());

    // Sources inside the text itself, with and without room to grow in place.
    CString b;
    b.GetBuffer(64);
    b.ReleaseBuffer(0);
    b += "xyz";
    b += static_cast<LPCSTR>(b) + 1;
    EXPECT_STREQ("xyzyz", b);
    b += b;
    EXPECT_STREQ("xyzyzxyzyz", b);
    b = static_cast<LPCSTR>(b) + 5;
    EXPECT_STREQ("xyzyz", b);
    CString tight("12");
    tight += static_cast<LPCSTR>(tight);
    EXPECT_STREQ("1212", tight);
    CString built;
    for (int i = 0; i < 1000; i++)
        built += 'a' + i % 26;
    EXPECT_EQ(1000, built.GetLength());
    EXPECT_EQ('l', built[999]);
}

TEST(StringTest, FormatsCommonConversions)
{
    struct FormatCase
    {
        const char* expected;
        CString actual;
    };
    CString name("Disc");
    auto format = [](LPCSTR f, auto... args) {
        CString s;
        s.Format(f, args...);
        return s;
    };
    const FormatCase cases[] = {
        { "7 -3", format("%d %d", 7, -3) },
        { "[Disc]", format("[%s]", name) },
        { "Disc Disc", format("%s %s", name, static_cast<LPCSTR>(name)) },
        { "0A ff 0000BEEF", format("%02X %02x %08X", 10, 255, 0xBEEF) },
        { "007 2026", format("%03d %04d", 7, 2026) },
        { "3.1 2 0.250", format("%1.1lf %.0lf %.3lf", 3.14, 2.0, 0.25) },
        { "Z", format("%c", 'Z') },
        { "4294967295", format("%u", 0xFFFFFFFFu) },
        { "  abc", format("%5s", "abc") },
        { "", format("%s", CString()) },
        { "100%", format("%d%%", 100) },
        // Microsoft sizes: 'l' is 32 bits, I64 is 64 bits.
        { "-5 7 0000beef ABC", format("%ld %lu %08lx %lX", static_cast<LONG>(-5), static_cast<DWORD>(7), static_cast<DWORD>(0xBEEF), static_cast<DWORD>(0xABC)) },
        { "-1 ffffffffff", format("%I64d %I64x", -1LL, 0xFFFFFFFFFFLL) },
        { "3 2.500000 x", format("%I32d %lf %s", 3, 2.5, "x") },
    };
    for (const FormatCase& c : cases)
        EXPECT_STREQ(c.expected, c.actual);
    CString longText('y', 5000);
    EXPECT_EQ(5002, format("<%s>", longText).GetLength());
}

// FormatText keeps every character, far past 256 and 4096 bytes.
TEST(StringTest, FormatTextKeepsTextsOfAnyLength)
{
    for (int length : { 0, 1, 254, 255, 4095, 4096, 70000 })
    {
        CString value('v', length);
        CString text = FormatText("<%s>", static_cast<LPCSTR>(value));
        EXPECT_EQ(length + 2, text.GetLength()) << length;
        EXPECT_EQ('>', text[text.GetLength() - 1]) << length;
    }
    CString path('p', 5000);
    EXPECT_STREQ(CString("\"") + path + "\" -x 3 1f", FormatText("\"%s\" -x %d %x", static_cast<LPCSTR>(path), 3, 31));
    EXPECT_STREQ("", FormatText("%s", ""));
}

TEST(StringTest, CaseAndOrderChanges)
{
    CString s("Mixed Case 9\xC4");
    s.MakeUpper();
    EXPECT_STREQ("MIXED CASE 9\xC4", s);
    s.MakeLower();
    EXPECT_STREQ("mixed case 9\xC4", s);
    s = "abc";
    s.MakeReverse();
    EXPECT_STREQ("cba", s);
}

TEST(StringTest, TrimsWhitespaceCharactersAndSets)
{
    struct TrimCase
    {
        const char* text;
        const char* set; // NULL: whitespace
        const char* left;
        const char* right;
    };
    const TrimCase cases[] = {
        { " \t\r\n text \n", NULL, "text \n", " \t\r\n text" },
        { "xxtextxx", "x", "textxx", "xxtext" },
        { "-=text=-", "=-", "text=-", "-=text" },
        { "    ", NULL, "", "" },
        { "", NULL, "", "" },
    };
    for (const TrimCase& c : cases) {
        CString left(c.text), right(c.text);
        if (!c.set) {
            left.TrimLeft();
            right.TrimRight();
        } else if (strlen(c.set) == 1) {
            left.TrimLeft(c.set[0]);
            right.TrimRight(c.set[0]);
        } else {
            left.TrimLeft(c.set);
            right.TrimRight(c.set);
        }
        EXPECT_STREQ(c.left, left) << c.text;
        EXPECT_STREQ(c.right, right) << c.text;
    }
}

TEST(StringTest, ReplaceRemoveInsertDelete)
{
    CString s("a-b-c");
    EXPECT_EQ(2, s.Replace('-', '+'));
    EXPECT_STREQ("a+b+c", s);
    s = "one two one two";
    EXPECT_EQ(2, s.Replace("one", "three"));
    EXPECT_STREQ("three two three two", s);
    EXPECT_EQ(2, s.Replace("two", ""));
    EXPECT_STREQ("three  three ", s);
    EXPECT_EQ(0, s.Replace("", "x"));
    s = "aaa";
    EXPECT_EQ(3, s.Replace("a", "aa"));
    EXPECT_STREQ("aaaaaa", s);
    s = "b.a.n.a.n.a";
    EXPECT_EQ(5, s.Remove('.'));
    EXPECT_STREQ("banana", s);
    EXPECT_EQ(7, s.Insert(0, '>'));
    EXPECT_EQ(9, s.Insert(99, "<<"));
    EXPECT_EQ(10, s.Insert(4, "|"));
    EXPECT_STREQ(">ban|ana<<", s);
    EXPECT_EQ(7, s.Delete(4, 3));
    EXPECT_STREQ(">bana<<", s);
    EXPECT_EQ(5, s.Delete(5, 99));
    EXPECT_EQ(5, s.Delete(50));
    EXPECT_STREQ(">bana", s);
}

TEST(StringTest, Spans)
{
    CString s("123abc456");
    EXPECT_STREQ("123", s.SpanIncluding("0123456789"));
    EXPECT_STREQ("", s.SpanIncluding("abc"));
    EXPECT_STREQ("123", s.SpanExcluding("abc"));
    EXPECT_STREQ("123abc456", s.SpanExcluding("xyz"));
    // A missing set is an empty one.
    EXPECT_STREQ("", s.SpanIncluding(NULL));
    EXPECT_STREQ("123abc456", s.SpanExcluding(NULL));
    EXPECT_EQ(-1, s.FindOneOf(NULL));
    s.TrimLeft(static_cast<LPCSTR>(NULL));
    s.TrimRight(static_cast<LPCSTR>(NULL));
    EXPECT_STREQ("123abc456", s);
    EXPECT_GT(s.Compare(NULL), 0);
}

TEST(StringTest, BufferAccessKeepsTheTextAndLength)
{
    CString s("keep");
    char* buffer = s.GetBuffer(100);
    EXPECT_STREQ("keep", buffer);
    strcpy(buffer, "a longer text");
    s.ReleaseBuffer();
    EXPECT_EQ(13, s.GetLength());
    EXPECT_STREQ("a longer text", s);
    s.GetBuffer(0);
    s.ReleaseBuffer(1);
    EXPECT_STREQ("a", s);
    memcpy(s.GetBufferSetLength(3), "xyz", 3);
    s.ReleaseBuffer(3);
    EXPECT_STREQ("xyz", s);
    s.FreeExtra();
    EXPECT_STREQ("xyz", s);
    CString empty;
    empty.GetBuffer(0);
    empty.ReleaseBuffer();
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(StringTest, CopiesAreIndependent)
{
    CString a("shared");
    CString b = a;
    b.SetAt(0, 'S');
    b.SetAt(50, '!');
    EXPECT_STREQ("shared", a);
    EXPECT_STREQ("Shared", b);
    EXPECT_EQ('S', b[0]);
    EXPECT_EQ('h', b.GetAt(1));
    a = a;
    EXPECT_STREQ("shared", a);
    a = a.Mid(2);
    EXPECT_STREQ("ared", a);
    a.Empty();
    EXPECT_TRUE(a.IsEmpty());

    CString moved(std::move(b));
    EXPECT_STREQ("Shared", moved);
    EXPECT_TRUE(b.IsEmpty());
    b = std::move(moved);
    EXPECT_STREQ("Shared", b);
    EXPECT_TRUE(moved.IsEmpty());
    b = std::move(b);
    EXPECT_STREQ("Shared", b);
}

TEST(StringTest, IsOnePointerToItsCharacters)
{
    static_assert(sizeof(CString) == sizeof(char*), "CString must stand where a char* does");
    CString s("raw");
    EXPECT_STREQ("raw", *reinterpret_cast<const char* const*>(&s));
}

TEST(StringTest, AllocSysStringConvertsToWide)
{
    BSTR text = CString("B\xE9").AllocSysString();
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(2u, SysStringLen(text));
    EXPECT_EQ(u'B', text[0]);
    EXPECT_EQ(u'\u00E9', text[1]);
    SysFreeString(text);
}

TEST(StringTest, LoadsFromTheStringTable)
{
    CString s("unchanged");
    EXPECT_FALSE(s.LoadString(0xFFF0));
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_TRUE(s.LoadString(IDS_SHORT));
    EXPECT_STREQ("Disc %d of %s", s);
    EXPECT_TRUE(s.LoadString(IDS_LONG));
    ASSERT_EQ(480, s.GetLength());
    EXPECT_STREQ("119-", s.Right(4));
    s.Format(IDS_SHORT, 3, CString("Jazz"));
    EXPECT_STREQ("Disc 3 of Jazz", s);
}

} // namespace
