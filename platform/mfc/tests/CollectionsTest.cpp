#include "tests/support/TestFramework.h"

#include <afxcoll.h>
#include <afxtempl.h>

#include <string>
#include <vector>

namespace {

std::vector<int> Contents(const CArray<int, int>& a)
{
    return std::vector<int>(a.GetData(), a.GetData() + a.GetSize());
}

std::string Joined(const CStringList& list)
{
    std::string text;
    for (POSITION p = list.GetHeadPosition(); p;)
        text += std::string(list.GetNext(p)) + ",";
    return text;
}

std::string JoinedBackwards(const CStringList& list)
{
    std::string text;
    for (POSITION p = list.GetTailPosition(); p;)
        text += std::string(list.GetPrev(p)) + ",";
    return text;
}

TEST(CollectionsTest, ArrayEditsKeepOrderAndClampBadArguments)
{
    struct ArrayCase
    {
        const char* name;
        void (*edit)(CArray<int, int>& a);
        std::vector<int> expected;
    };
    const ArrayCase cases[] = {
        { "InsertAt middle", [](CArray<int, int>& a) { a.InsertAt(1, 9, 2); }, { 1, 9, 9, 2, 3 } },
        { "InsertAt past end grows with zeros", [](CArray<int, int>& a) { a.InsertAt(5, 7); }, { 1, 2, 3, 0, 0, 7 } },
        { "InsertAt array", [](CArray<int, int>& a) { CArray<int, int> b; b.Add(8); b.Add(9); a.InsertAt(0, &b); }, { 8, 9, 1, 2, 3 } },
        { "InsertAt itself", [](CArray<int, int>& a) { a.InsertAt(1, &a); }, { 1, 1, 2, 3, 2, 3 } },
        { "InsertAt own element", [](CArray<int, int>& a) { a.InsertAt(0, a[2], 2); }, { 3, 3, 1, 2, 3 } },
        { "RemoveAt one", [](CArray<int, int>& a) { a.RemoveAt(0); }, { 2, 3 } },
        { "RemoveAt count past end", [](CArray<int, int>& a) { a.RemoveAt(1, 10); }, { 1 } },
        { "RemoveAt bad index", [](CArray<int, int>& a) { a.RemoveAt(3); a.RemoveAt(-1); }, { 1, 2, 3 } },
        { "SetAtGrow past end", [](CArray<int, int>& a) { a.SetAtGrow(4, 5); }, { 1, 2, 3, 0, 5 } },
        { "SetSize shrink then grow shows zeros", [](CArray<int, int>& a) { a.SetSize(1); a.SetSize(3); }, { 1, 0, 0 } },
        { "Append", [](CArray<int, int>& a) { CArray<int, int> b; b.Add(4); EXPECT_EQ(3, a.Append(b)); }, { 1, 2, 3, 4 } },
        { "Append itself", [](CArray<int, int>& a) { a.Append(a); }, { 1, 2, 3, 1, 2, 3 } },
        { "Copy", [](CArray<int, int>& a) { CArray<int, int> b; b.Add(6); a.Copy(b); }, { 6 } },
        { "RemoveAll", [](CArray<int, int>& a) { a.RemoveAll(); }, {} },
        { "ElementAt writes", [](CArray<int, int>& a) { a.ElementAt(1) = 5; a[2] = 6; }, { 1, 5, 6 } },
    };
    for (const ArrayCase& c : cases) {
        CArray<int, int> a;
        a.Add(1);
        a.Add(2);
        a.Add(3);
        c.edit(a);
        EXPECT_EQ(c.expected, Contents(a)) << c.name;
        EXPECT_EQ(static_cast<int>(c.expected.size()) - 1, a.GetUpperBound()) << c.name;
    }
}

TEST(CollectionsTest, ArrayGrowsInStepsAndKeepsElements)
{
    CStringArray texts;
    texts.SetSize(0, 3);
    for (int i = 0; i < 100; i++) {
        CString text;
        text.Format("item %d", i);
        EXPECT_EQ(i, texts.Add(text));
    }
    EXPECT_EQ(100, texts.GetSize());
    EXPECT_STREQ("item 0", texts[0]);
    EXPECT_STREQ("item 99", texts.GetAt(99));
    texts.FreeExtra();
    EXPECT_STREQ("item 57", texts[57]);
    texts.RemoveAt(0, 50);
    EXPECT_STREQ("item 50", texts[0]);
    texts.SetSize(51);
    EXPECT_TRUE(texts[50].IsEmpty());
}

TEST(CollectionsTest, ArrayTakesItsOwnElementsByReferenceWhileGrowing)
{
    CArray<CString, const CString&> texts;
    texts.Add(CString("seed"));
    for (int i = 0; i < 40; i++) {
        texts.Add(texts[0]);
        texts.InsertAt(1, texts[texts.GetUpperBound()]);
        texts.SetAtGrow(texts.GetSize(), texts[1]);
    }
    ASSERT_EQ(121, texts.GetSize());
    for (int i = 0; i < texts.GetSize(); i++)
        EXPECT_STREQ("seed", texts[i]) << i;
}

TEST(CollectionsTest, ListInsertsFindsAndRemovesByPosition)
{
    CStringList list;
    list.AddTail("b");
    list.AddHead("a");
    POSITION d = list.AddTail("d");
    list.InsertBefore(d, "c");
    list.InsertAfter(d, "e");
    list.InsertBefore(NULL, "head");
    list.InsertAfter(NULL, "tail");
    EXPECT_EQ("head,a,b,c,d,e,tail,", Joined(list));
    EXPECT_EQ("tail,e,d,c,b,a,head,", JoinedBackwards(list));
    EXPECT_EQ(7, list.GetCount());

    EXPECT_EQ(d, list.Find("d"));
    EXPECT_EQ(NULL, list.Find("d", d));
    EXPECT_EQ(NULL, list.Find("zzz"));
    EXPECT_EQ(d, list.FindIndex(4));
    EXPECT_EQ(NULL, list.FindIndex(7));
    EXPECT_EQ(NULL, list.FindIndex(-1));

    list.RemoveAt(d);
    list.SetAt(list.FindIndex(1), "A");
    EXPECT_STREQ("head", list.RemoveHead());
    EXPECT_STREQ("tail", list.RemoveTail());
    EXPECT_EQ("A,b,c,e,", Joined(list));
    EXPECT_STREQ("A", list.GetHead());
    EXPECT_STREQ("e", list.GetTail());

    CStringList other;
    other.AddTail("x");
    other.AddTail("y");
    list.AddHead(&other);
    list.AddTail(&other);
    EXPECT_EQ("x,y,A,b,c,e,x,y,", Joined(list));
    other.AddTail(&other);
    other.AddHead(&other);
    EXPECT_EQ("x,y,x,y,x,y,x,y,", Joined(other));
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(NULL, list.GetHeadPosition());
}

TEST(CollectionsTest, ListNodesComeFromReusedBlocks)
{
    CList<int, int> list(2);
    for (int round = 0; round < 3; round++) {
        for (int i = 0; i < 25; i++)
            list.AddTail(i);
        int sum = 0;
        for (POSITION p = list.GetHeadPosition(); p;)
            sum += list.GetNext(p);
        EXPECT_EQ(300, sum);
        while (list.GetCount() > 5)
            list.RemoveHead();
        EXPECT_EQ(20, list.GetHead());
        list.RemoveAll();
    }
}

TEST(CollectionsTest, MapLooksUpReplacesAndRemoves)
{
    CMap<int, int, CString, LPCSTR> map(10);
    map.InitHashTable(17);
    for (int id = 100; id < 140; id++) {
        CString name;
        name.Format("cmd%d", id);
        map.SetAt(id, name);
    }
    EXPECT_EQ(40, map.GetCount());
    CString found;
    EXPECT_TRUE(map.Lookup(117, found));
    EXPECT_STREQ("cmd117", found);
    EXPECT_FALSE(map.Lookup(99, found));
    map[117] = "replaced";
    EXPECT_TRUE(map.Lookup(117, found));
    EXPECT_STREQ("replaced", found);
    EXPECT_EQ(40, map.GetCount());
    EXPECT_TRUE(map[500].IsEmpty());
    EXPECT_EQ(41, map.GetCount());
    EXPECT_TRUE(map.RemoveKey(500));
    EXPECT_FALSE(map.RemoveKey(500));
    EXPECT_FALSE(map.Lookup(500, found));

    int visited = 0;
    int sum = 0;
    for (POSITION p = map.GetStartPosition(); p;) {
        int id = 0;
        CString name;
        map.GetNextAssoc(p, id, name);
        visited++;
        sum += id;
    }
    EXPECT_EQ(40, visited);
    EXPECT_EQ((100 + 139) * 20, sum);
    map.RemoveAll();
    EXPECT_EQ(NULL, map.GetStartPosition());
}

TEST(CollectionsTest, MapHashSizeSetsIterationOrder)
{
    // Keys go to bucket (key >> 4) % size, newest first within a bucket.
    CMap<UINT, UINT, int, int> map;
    map.InitHashTable(3);
    const UINT keys[] = { 0x10, 0x20, 0x00, 0x30, 0x40 };
    for (UINT key : keys)
        map[key] = 1;
    std::vector<UINT> order;
    for (POSITION p = map.GetStartPosition(); p;) {
        UINT key;
        int value;
        map.GetNextAssoc(p, key, value);
        order.push_back(key);
    }
    EXPECT_EQ((std::vector<UINT>{ 0x30, 0x00, 0x40, 0x10, 0x20 }), order);
    EXPECT_EQ(3u, map.GetHashTableSize());
    map.InitHashTable(7);
    EXPECT_EQ(3u, map.GetHashTableSize());
}

TEST(CollectionsTest, MapWithTextKeys)
{
    CMap<CString, LPCSTR, int, int> map;
    map["alpha"] = 1;
    map[CString("beta")] = 2;
    int value = 0;
    EXPECT_TRUE(map.Lookup("beta", value));
    EXPECT_EQ(2, value);
    EXPECT_FALSE(map.Lookup("Beta", value));
}

struct CNode
{
    int id;
};

TEST(CollectionsTest, TypedPointerViews)
{
    CNode one = { 1 }, two = { 2 }, three = { 3 };

    CTypedPtrArray<CPtrArray, CNode*> array;
    array.Add(&one);
    array.InsertAt(0, &two);
    array.SetAtGrow(2, &three);
    EXPECT_EQ(2, array[0]->id);
    EXPECT_EQ(1, array.GetAt(1)->id);
    array.ElementAt(2) = &one;
    EXPECT_EQ(1, array[2]->id);

    CTypedPtrList<CPtrList, CNode*> list;
    list.AddTail(&one);
    list.AddTail(&two);
    list.AddHead(&three);
    int ids = 0;
    for (POSITION p = list.GetHeadPosition(); p;)
        ids = ids * 10 + list.GetNext(p)->id;
    EXPECT_EQ(312, ids);
    EXPECT_EQ(&three, list.RemoveHead());
    EXPECT_EQ(&two, list.GetTail());

    CTypedPtrMap<CMapPtrToPtr, CNode*, CNode*> map;
    map.SetAt(&one, &two);
    map[&two] = &three;
    CNode* value = NULL;
    EXPECT_TRUE(map.Lookup(&one, value));
    EXPECT_EQ(&two, value);
    EXPECT_FALSE(map.Lookup(&three, value));
    int pairs = 0;
    for (POSITION p = map.GetStartPosition(); p;) {
        CNode* key;
        map.GetNextAssoc(p, key, value);
        EXPECT_EQ(key->id + 1, value->id);
        pairs++;
    }
    EXPECT_EQ(2, pairs);
    EXPECT_TRUE(map.RemoveKey(&one));
    EXPECT_EQ(1, map.GetCount());
}

} // namespace
