// The consumer layer against our provider: binding by name, inline and
// by-reference texts, inserts, NULLs and the COM error text.
#include "library/db/tests/LibraryDbFixture.h"

#include <oledberr.h>

#include "JetIds.h"
#include "OleDbConstants.h"
#include "library/db/ODBError.h"

namespace {

const char kSchema[] =
    "CREATE TABLE Items (Name TEXT(255), Memo TEXT(1000), Count INTEGER, Added DATETIME, Flag YESNO);";

enum { kName, kMemo, kCount, kAdded, kFlag, kMissing };

class ODBLayerTest : public LibraryDbFixture
{
protected:
    void SetUp() override
    {
        LibraryDbFixture::SetUp();
        Exec("items.mdb", kSchema);
        m_source.Open(ZYM_JET_PROVIDER_PROGID, WindowsPath("items.mdb").c_str());
        m_session.Open(m_source);
        const char* names[] = { "Name", "Memo", "Count", "Added", "Flag", "NotThere" };
        for (const char* name : names)
            m_columns.AddColumn(name);
    }

    void TearDown() override
    {
        m_session.Close();
        m_source.Close();
        LibraryDbFixture::TearDown();
    }

    void BindTable(ODBRowsetAccessor& rows)
    {
        ODBPropertySet properties(kDbPropSetRowset);
        properties.AddProperty(DBPROP_IRowsetChange, true, DBPROPOPTIONS_OPTIONAL);
        rows.Bind(m_session.OpenTable("Items", &properties), m_columns);
    }

    ODBDataSource m_source;
    ODBSession m_session;
    ODBColumnDescriptors m_columns;
};

TEST_F(ODBLayerTest, BindingsFollowTheProvidersColumns)
{
    ODBRowsetAccessor rows;
    BindTable(rows);
    struct Expected { int column; DBTYPE type; DBLENGTH maxLength; };
    const Expected expected[] = {
        { kName, DBTYPE_STR, 256 },
        { kMemo, DBTYPE_STR | DBTYPE_BYREF, sizeof(char*) },
        { kCount, DBTYPE_I4, 4 },
        { kAdded, DBTYPE_DATE, 8 },
        { kFlag, DBTYPE_BOOL, 4 },
        { kMissing, 0, 0 },
    };
    DBBYTEOFFSET previousEnd = 0;
    for (const Expected& e : expected) {
        const ODBColumnDescriptor& column = rows.GetColumn(e.column);
        EXPECT_EQ(e.type, column.type) << column.name;
        if (!e.type)
            continue;
        EXPECT_EQ(e.maxLength, column.maxLength) << column.name;
        EXPECT_EQ(0u, column.statusOffset % 8) << column.name;
        EXPECT_LE(previousEnd, column.statusOffset) << column.name;
        previousEnd = column.valueOffset + column.maxLength;
    }
    EXPECT_LE(previousEnd, rows.GetRowSize());
}

TEST_F(ODBLayerTest, ValuesRoundTripAndEmptyTextIsNull)
{
    const std::string longMemo(1000, 'm');
    {
        ODBRowsetAccessor rows;
        BindTable(rows);
        struct Row { const char* name; std::string memo; long count; DATE added; bool flag; };
        const Row written[] = {
            { "First", longMemo, 7, 36526.25, true },
            { "", "", 0, 0, false },
        };
        for (const Row& r : written) {
            rows.SetText(kName, r.name);
            rows.SetText(kMemo, r.memo.c_str());
            rows.SetInteger(kCount, r.count);
            rows.SetDate(kAdded, r.added);
            rows.SetBool(kFlag, r.flag);
            rows.SetText(kMissing, "ignored");
            rows.InsertRow();
        }
    }
    EXPECT_EQ("2", Query("items.mdb", "SELECT count(*) FROM Items WHERE Memo IS NULL OR length(Memo) = 1000"));
    EXPECT_EQ("1", Query("items.mdb", "SELECT count(*) FROM Items WHERE Name IS NULL"));

    ODBRowsetAccessor rows;
    BindTable(rows);
    ASSERT_TRUE(rows.MoveNext());
    rows.GetData();
    EXPECT_EQ(CString("First"), rows.GetText(kName));
    EXPECT_EQ(CString(longMemo.c_str()), rows.GetText(kMemo));
    EXPECT_EQ(7, rows.GetInteger(kCount));
    EXPECT_EQ(36526.25, rows.GetDate(kAdded));
    EXPECT_TRUE(rows.GetBool(kFlag));
    EXPECT_EQ(CString(), rows.GetText(kMissing));
    EXPECT_EQ(0, rows.GetInteger(kMissing));
    ASSERT_TRUE(rows.MoveNext());
    rows.GetData();
    EXPECT_EQ(CString(), rows.GetText(kName));
    EXPECT_EQ(CString(), rows.GetText(kMemo));
    EXPECT_FALSE(rows.MoveNext());
}

TEST_F(ODBLayerTest, ANullNumberReadsAsZeroAfterARowThatHadOne)
{
    Exec("items.mdb", "INSERT INTO Items (Count, Added, Flag) VALUES (5, 100.5, 1), (NULL, NULL, NULL);");
    ODBRowsetAccessor rows;
    BindTable(rows);
    ASSERT_TRUE(rows.MoveNext());
    rows.GetData();
    ASSERT_EQ(5, rows.GetInteger(kCount));
    ASSERT_TRUE(rows.MoveNext());
    rows.GetData();
    EXPECT_EQ(0, rows.GetInteger(kCount));
    EXPECT_EQ(0, rows.GetDate(kAdded));
    EXPECT_FALSE(rows.GetBool(kFlag));
}

TEST_F(ODBLayerTest, WrittenTextsStayInsideTheirBuffers)
{
    const std::string tooLong(300, 'x');
    {
        ODBRowsetAccessor rows;
        BindTable(rows);
        rows.SetText(kName, tooLong.c_str());
        rows.SetInteger(kCount, 12);
        {
            // The caller's text is gone before the provider reads it.
            std::string memo = "short-lived memo";
            rows.SetText(kMemo, memo.c_str());
            memo.assign(memo.size(), '#');
        }
        rows.InsertRow();
    }
    EXPECT_EQ(std::string(255, 'x'), Query("items.mdb", "SELECT Name FROM Items"));
    EXPECT_EQ("short-lived memo", Query("items.mdb", "SELECT Memo FROM Items"));
    EXPECT_EQ("12", Query("items.mdb", "SELECT Count FROM Items"));
}

TEST_F(ODBLayerTest, FailuresThrowWithTheProvidersDescription)
{
    ODBRowsetAccessor rows;
    try {
        rows.Bind(m_session.OpenTable("Nowhere", nullptr), m_columns);
        FAIL() << "no error";
    } catch (const _com_error& error) {
        EXPECT_EQ(DB_E_NOTABLE, error.Error());
        CString text = FormatComError("Error reading albums", error);
        EXPECT_EQ(0, text.Find("Error reading albums\nError: 80040E37\nIDispatch error #3127\n")) << text;
        EXPECT_NE(-1, text.Find("Nowhere")) << text;
    }
}

TEST(ComErrorText, FallsBackWhenTheSystemHasNoMessage)
{
    struct Case { HRESULT code; const char* message; };
    const Case cases[] = {
        { static_cast<HRESULT>(0x80040200), "IDispatch error #0" },
        { static_cast<HRESULT>(0x8004FFFF), "IDispatch error #65023" },
        { static_cast<HRESULT>(0x8FFF0001), "Unknown error 0x8FFF0001" },
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.message, _com_error(c.code).ErrorMessage());
}

}
