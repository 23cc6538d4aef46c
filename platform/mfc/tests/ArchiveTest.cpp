#include "tests/support/TestFramework.h"

#include <afxcoll.h>
#include <afxtempl.h>

#include <string.h>

#include <string>
#include <vector>

namespace {

class CTrack : public CObject
{
    DECLARE_SERIAL(CTrack)
public:
    CString m_title;
    LONG m_length = 0;
    CTrack* m_pNext = NULL;

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_title << m_length << m_pNext;
        } else {
            ar >> m_title >> m_length >> m_pNext;
        }
    }
};
IMPLEMENT_SERIAL(CTrack, CObject, 1)

// Loads schema 1 and 2: schema 2 added the rating.
class CRated : public CObject
{
    DECLARE_SERIAL(CRated)
public:
    WORD m_rating = 0;
    UINT m_loadedSchema = 0;

    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_rating;
            return;
        }
        m_loadedSchema = ar.GetObjectSchema();
        if (m_loadedSchema >= 2)
            ar >> m_rating;
    }
};
IMPLEMENT_SERIAL(CRated, CObject, VERSIONABLE_SCHEMA | 2)

class CNotCreatable : public CObject
{
    DECLARE_DYNAMIC(CNotCreatable)
};
IMPLEMENT_DYNAMIC(CNotCreatable, CObject)

std::vector<BYTE> Bytes(CMemFile& file)
{
    std::vector<BYTE> bytes(file.GetLength());
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    file.SeekToBegin();
    return bytes;
}

template <typename Store>
std::vector<BYTE> Stored(Store store)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        store(ar);
    }
    return Bytes(file);
}

// Loads from the bytes; the cause of a CArchiveException, or -1 when none came.
template <typename Load>
int LoadCause(const std::vector<BYTE>& bytes, Load load)
{
    CMemFile file;
    if (!bytes.empty())
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    int cause = -1;
    TRY {
        load(ar);
    }
    CATCH(CArchiveException, e) {
        cause = e->m_cause;
    }
    END_CATCH
    return cause;
}

TEST(ArchiveTest, ValuesRoundTripAsLittleEndianBytes)
{
    std::vector<BYTE> bytes = Stored([](CArchive& ar) {
        ar << static_cast<BYTE>(0xAB) << static_cast<WORD>(0x1234) << static_cast<LONG>(-2)
           << static_cast<DWORD>(0xDEADBEEF) << static_cast<int>(7) << 1.5f << -0.25;
    });
    const BYTE expected[] = { 0xAB, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xBE, 0xAD, 0xDE,
                              7, 0, 0, 0, 0x00, 0x00, 0xC0, 0x3F,
                              0, 0, 0, 0, 0, 0, 0xD0, 0xBF };
    POINT point = { 1, -1 };
    SIZE size = { 640, 480 };
    RECT rect = { 1, 2, 3, 4 };
    std::vector<BYTE> shapes = Stored([&](CArchive& ar) { ar << point << size << rect; });
    const BYTE shapeBytes[] = { 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0x02, 0, 0, 0xE0, 0x01, 0, 0,
                                1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0 };
    EXPECT_EQ(std::vector<BYTE>(shapeBytes, shapeBytes + sizeof(shapeBytes)), shapes);
    POINT point2 = {};
    SIZE size2 = {};
    RECT rect2 = {};
    EXPECT_EQ(-1, LoadCause(shapes, [&](CArchive& ar) { ar >> point2 >> size2 >> rect2; }));
    EXPECT_EQ(-1, point2.y);
    EXPECT_EQ(480, size2.cy);
    EXPECT_EQ(4, rect2.bottom);
    EXPECT_EQ(std::vector<BYTE>(expected, expected + sizeof(expected)), bytes);

    BYTE b;
    WORD w;
    LONG l;
    DWORD d;
    int i;
    float f;
    double x;
    EXPECT_EQ(-1, LoadCause(bytes, [&](CArchive& ar) { ar >> b >> w >> l >> d >> i >> f >> x; }));
    EXPECT_EQ(0xAB, b);
    EXPECT_EQ(0x1234, w);
    EXPECT_EQ(-2, l);
    EXPECT_EQ(0xDEADBEEFu, d);
    EXPECT_EQ(7, i);
    EXPECT_EQ(1.5f, f);
    EXPECT_EQ(-0.25, x);
}

TEST(ArchiveTest, TextLengthPrefixGrowsWithTheText)
{
    struct TextCase
    {
        int length;
        std::vector<BYTE> prefix;
    };
    const TextCase cases[] = {
        { 0, { 0x00 } },
        { 254, { 0xFE } },
        { 255, { 0xFF, 0xFF, 0x00 } },
        { 0xFFFE, { 0xFF, 0xFE, 0xFF } },
        { 0xFFFF, { 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00 } },
        { 70000, { 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00 } },
    };
    for (const TextCase& c : cases) {
        CString text('q', c.length);
        std::vector<BYTE> bytes = Stored([&](CArchive& ar) { ar << text; });
        ASSERT_EQ(c.prefix.size() + c.length, bytes.size()) << c.length;
        EXPECT_EQ(c.prefix, std::vector<BYTE>(bytes.begin(), bytes.begin() + c.prefix.size())) << c.length;
        CString loaded;
        EXPECT_EQ(-1, LoadCause(bytes, [&](CArchive& ar) { ar >> loaded; })) << c.length;
        EXPECT_EQ(c.length, loaded.GetLength());
        EXPECT_TRUE(loaded == text) << c.length;
    }
}

TEST(ArchiveTest, ObjectsKeepTheirClassesAndSharing)
{
    CTrack first, second;
    first.m_title = "One";
    first.m_length = 100;
    first.m_pNext = &second;
    second.m_title = "Two";
    second.m_length = 200;
    second.m_pNext = &first;

    std::vector<BYTE> bytes = Stored([&](CArchive& ar) {
        ar << &first;
        ar << &second;
        ar << static_cast<CObject*>(NULL);
    });
    // New class tag, schema, name, then the object's own data.
    const BYTE head[] = { 0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00, 'C', 'T', 'r', 'a', 'c', 'k',
                          0x03, 'O', 'n', 'e', 100, 0, 0, 0,
                          0x01, 0x80 };
    ASSERT_GE(bytes.size(), sizeof(head));
    EXPECT_EQ(0, memcmp(head, bytes.data(), sizeof(head)));

    CObject* loadedFirst = NULL;
    CObject* loadedSecond = NULL;
    CObject* loadedNull = &first;
    ASSERT_EQ(-1, LoadCause(bytes, [&](CArchive& ar) { ar >> loadedFirst >> loadedSecond >> loadedNull; }));
    ASSERT_NE(nullptr, loadedFirst);
    ASSERT_TRUE(loadedFirst->IsKindOf(RUNTIME_CLASS(CTrack)));
    CTrack* a = static_cast<CTrack*>(loadedFirst);
    CTrack* b = static_cast<CTrack*>(loadedSecond);
    EXPECT_STREQ("One", a->m_title);
    EXPECT_STREQ("Two", b->m_title);
    EXPECT_EQ(200, b->m_length);
    EXPECT_EQ(b, a->m_pNext);
    EXPECT_EQ(a, b->m_pNext);
    EXPECT_EQ(nullptr, loadedNull);
    delete a;
    delete b;
}

TEST(ArchiveTest, ClassTagsNameAClassOnceThenReferToIt)
{
    std::vector<BYTE> bytes = Stored([](CArchive& ar) {
        ar.WriteClass(RUNTIME_CLASS(CTrack));
        ar.WriteClass(RUNTIME_CLASS(CRated));
        ar.WriteClass(RUNTIME_CLASS(CTrack));
    });
    const BYTE expected[] = { 0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00, 'C', 'T', 'r', 'a', 'c', 'k',
                              0xFF, 0xFF, 0x02, 0x00, 0x06, 0x00, 'C', 'R', 'a', 't', 'e', 'd',
                              0x01, 0x80 };
    EXPECT_EQ(std::vector<BYTE>(expected, expected + sizeof(expected)), bytes);
    CRuntimeClass* classes[3] = {};
    UINT schemas[3] = {};
    EXPECT_EQ(-1, LoadCause(bytes, [&](CArchive& ar) {
                  for (int i = 0; i < 3; i++)
                      classes[i] = ar.ReadClass(NULL, &schemas[i]);
              }));
    EXPECT_EQ(RUNTIME_CLASS(CTrack), classes[0]);
    EXPECT_EQ(RUNTIME_CLASS(CRated), classes[1]);
    EXPECT_EQ(RUNTIME_CLASS(CTrack), classes[2]);
    EXPECT_EQ(1u, schemas[2]);
    EXPECT_EQ(CArchiveException::badClass,
              LoadCause(bytes, [](CArchive& ar) { ar.ReadClass(RUNTIME_CLASS(CRated)); }));
}

TEST(ArchiveTest, SchemasAreCheckedUnlessVersionable)
{
    // A CRated stored by an older version, with schema 1 and no rating.
    const BYTE oldRated[] = { 0xFF, 0xFF, 0x01, 0x00, 0x06, 0x00, 'C', 'R', 'a', 't', 'e', 'd' };
    CRated* rated = NULL;
    EXPECT_EQ(-1, LoadCause(std::vector<BYTE>(oldRated, oldRated + sizeof(oldRated)),
                            [&](CArchive& ar) { ar >> rated; }));
    ASSERT_NE(nullptr, rated);
    EXPECT_EQ(1u, rated->m_loadedSchema);
    delete rated;

    CRated current;
    current.m_rating = 5;
    std::vector<BYTE> bytes = Stored([&](CArchive& ar) { ar << &current; });
    EXPECT_EQ(0x02, bytes[2]);
    EXPECT_EQ(-1, LoadCause(bytes, [&](CArchive& ar) { ar >> rated; }));
    ASSERT_NE(nullptr, rated);
    EXPECT_EQ(2u, rated->m_loadedSchema);
    EXPECT_EQ(5, rated->m_rating);
    delete rated;

    const BYTE wrongTrackSchema[] = { 0xFF, 0xFF, 0x07, 0x00, 0x06, 0x00, 'C', 'T', 'r', 'a', 'c', 'k' };
    CTrack* track = NULL;
    EXPECT_EQ(CArchiveException::badSchema,
              LoadCause(std::vector<BYTE>(wrongTrackSchema, wrongTrackSchema + sizeof(wrongTrackSchema)),
                        [&](CArchive& ar) { ar >> track; }));
}

TEST(ArchiveTest, BadDataRaisesArchiveExceptions)
{
    struct BadCase
    {
        const char* name;
        std::vector<BYTE> bytes;
        int cause;
    };
    const BadCase cases[] = {
        { "empty", {}, CArchiveException::endOfFile },
        { "unknown class", { 0xFF, 0xFF, 0x01, 0x00, 0x03, 0x00, 'C', 'N', 'o' }, CArchiveException::badClass },
        { "class name too long", { 0xFF, 0xFF, 0x01, 0x00, 0xFF, 0x7F }, CArchiveException::badClass },
        { "not creatable", { 0xFF, 0xFF, 0xFF, 0xFF, 0x0D, 0x00, 'C', 'N', 'o', 't', 'C', 'r', 'e', 'a', 't', 'a', 'b', 'l', 'e' }, CArchiveException::badClass },
        { "object index never seen", { 0x05, 0x00 }, CArchiveException::badIndex },
        { "class index never seen", { 0x05, 0x80 }, CArchiveException::badIndex },
        { "big object index", { 0xFF, 0x7F, 0x09, 0x00, 0x00, 0x00 }, CArchiveException::badIndex },
        { "other class", { 0xFF, 0xFF, 0x02, 0x00, 0x06, 0x00, 'C', 'R', 'a', 't', 'e', 'd', 0x00, 0x00 }, CArchiveException::badClass },
        { "text longer than data", { 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 'a' }, CArchiveException::endOfFile },
        { "text length too large", { 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF }, CArchiveException::badIndex },
    };
    for (const BadCase& c : cases) {
        int cause;
        if (strncmp(c.name, "text", 4) == 0) {
            CString text;
            cause = LoadCause(c.bytes, [&](CArchive& ar) { ar >> text; });
        } else {
            CTrack* track = NULL;
            cause = LoadCause(c.bytes, [&](CArchive& ar) { ar >> track; });
            EXPECT_EQ(nullptr, track) << c.name;
        }
        EXPECT_EQ(c.cause, cause) << c.name;
    }
}

TEST(ArchiveTest, EveryTruncationOfAnArchiveFailsCleanly)
{
    CTrack first, second;
    first.m_title = "Title";
    first.m_pNext = &second;
    CStringArray names;
    names.Add("a");
    names.Add(CString('n', 300));
    std::vector<BYTE> bytes = Stored([&](CArchive& ar) {
        ar << &first << 3.0;
        names.Serialize(ar);
    });
    for (size_t cut = 0; cut < bytes.size(); cut++) {
        std::vector<BYTE> part(bytes.begin(), bytes.begin() + cut);
        CObject* loaded = NULL;
        CStringArray loadedNames;
        double value;
        EXPECT_EQ(CArchiveException::endOfFile, LoadCause(part, [&](CArchive& ar) {
                      ar >> loaded >> value;
                      loadedNames.Serialize(ar);
                  })) << "cut at " << cut;
    }
}

TEST(ArchiveTest, CollectionsRoundTrip)
{
    CStringArray strings;
    strings.Add("x");
    strings.Add("");
    strings.Add("yz");
    CByteArray bytesArray;
    bytesArray.Add(1);
    bytesArray.Add(255);
    CStringList list;
    list.AddTail("first");
    list.AddTail("second");
    CObArray objects;
    CTrack* track = new CTrack;
    track->m_title = "t";
    objects.Add(track);
    objects.Add(track);
    objects.Add(NULL);
    CMap<int, int, CString, LPCSTR> map;
    map[3] = "three";
    map[40] = "forty";

    std::vector<BYTE> stored = Stored([&](CArchive& ar) {
        strings.Serialize(ar);
        bytesArray.Serialize(ar);
        list.Serialize(ar);
        objects.Serialize(ar);
        map.Serialize(ar);
    });
    // A count is a WORD.
    EXPECT_EQ(3, stored[0]);
    EXPECT_EQ(0, stored[1]);

    CStringArray strings2;
    CByteArray bytes2;
    CStringList list2;
    CObArray objects2;
    CMap<int, int, CString, LPCSTR> map2;
    ASSERT_EQ(-1, LoadCause(stored, [&](CArchive& ar) {
                  strings2.Serialize(ar);
                  bytes2.Serialize(ar);
                  list2.Serialize(ar);
                  objects2.Serialize(ar);
                  map2.Serialize(ar);
              }));
    ASSERT_EQ(3, strings2.GetSize());
    EXPECT_STREQ("yz", strings2[2]);
    ASSERT_EQ(2, bytes2.GetSize());
    EXPECT_EQ(255, bytes2[1]);
    EXPECT_STREQ("second", list2.GetTail());
    ASSERT_EQ(3, objects2.GetSize());
    EXPECT_EQ(objects2[0], objects2[1]);
    EXPECT_EQ(nullptr, objects2[2]);
    EXPECT_STREQ("t", static_cast<CTrack*>(objects2[0])->m_title);
    CString value;
    EXPECT_TRUE(map2.Lookup(40, value));
    EXPECT_STREQ("forty", value);
    delete track;
    delete objects2[0];
}

TEST(ArchiveTest, CountsAndModeErrors)
{
    std::vector<BYTE> bytes = Stored([](CArchive& ar) {
        ar.WriteCount(0xFFFE);
        ar.WriteCount(0x12345);
    });
    const BYTE expected[] = { 0xFE, 0xFF, 0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00 };
    EXPECT_EQ(std::vector<BYTE>(expected, expected + sizeof(expected)), bytes);

    CMemFile file;
    CArchive storing(&file, CArchive::store);
    EXPECT_TRUE(storing.IsStoring());
    EXPECT_EQ(&file, storing.GetFile());
    int cause = -1;
    TRY {
        BYTE b;
        storing >> b;
    }
    CATCH(CArchiveException, e) {
        cause = e->m_cause;
    }
    END_CATCH
    EXPECT_EQ(CArchiveException::writeOnly, cause);
    EXPECT_EQ(CArchiveException::readOnly, LoadCause({ 1 }, [](CArchive& ar) { ar << static_cast<BYTE>(1); }));

    bool notSupported = false;
    CNotCreatable plain;
    TRY {
        storing << &plain;
    }
    CATCH(CNotSupportedException, e) {
        notSupported = true;
    }
    END_CATCH
    EXPECT_TRUE(notSupported);
}

TEST(ArchiveTest, TextLinesAndFlushPosition)
{
    std::vector<BYTE> bytes = Stored([](CArchive& ar) {
        ar.WriteString("first\r\nsecond\nthird");
    });
    EXPECT_EQ(std::string("first\r\nsecond\nthird"), std::string(bytes.begin(), bytes.end()));
    std::vector<std::string> lines;
    LoadCause(bytes, [&](CArchive& ar) {
        CString line;
        while (ar.ReadString(line))
            lines.push_back(static_cast<LPCSTR>(line));
    });
    EXPECT_EQ((std::vector<std::string>{ "first", "second", "third" }), lines);

    char buffer[5];
    LoadCause(bytes, [&](CArchive& ar) {
        EXPECT_STREQ("firs", ar.ReadString(buffer, sizeof(buffer)));
        EXPECT_STREQ("t\n", ar.ReadString(buffer, sizeof(buffer)));
    });

    // Flush while loading leaves the file where the archive stopped reading.
    CMemFile file;
    file.Write("abcdef", 6);
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load);
        BYTE b;
        ar >> b >> b;
        ar.Flush();
    }
    EXPECT_EQ(2u, file.GetPosition());
}

} // namespace
