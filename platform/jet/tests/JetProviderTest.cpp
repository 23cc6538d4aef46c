// The provider driven through the raw OLE DB interfaces, as the library's
// consumer layer drives it.
#include "platform/jet/tests/JetFixture.h"


namespace {

const char kItemsSchema[] =
    "CREATE TABLE Items (Name TEXT(50) COLLATE NOCASE, Notes LONGTEXT, Big TEXT(1000),"
    " Count INTEGER, Small SMALLINT, Added DATETIME, Flag YESNO);"
    "CREATE INDEX ItemsName ON Items (Name);";

class JetProviderTest : public JetFixture
{
protected:
    void SetUp() override
    {
        JetFixture::SetUp();
        Exec("lib.mdb", kItemsSchema);
    }

    // Counts rows in batches as the consumer does; gives each batch's size.
    std::vector<DBCOUNTITEM> FetchBatches(IRowset* rowset, DBROWCOUNT batch)
    {
        std::vector<DBCOUNTITEM> sizes;
        std::vector<HROW> handles(batch);
        for (;;) {
            HROW* rows = handles.data();
            DBCOUNTITEM obtained = 0;
            HRESULT hr = rowset->GetNextRows(DB_NULL_HCHAPTER, 0, batch, &obtained, &rows);
            EXPECT_TRUE(hr == S_OK || hr == DB_S_ENDOFROWSET);
            sizes.push_back(obtained);
            rowset->ReleaseRows(obtained, rows, nullptr, nullptr, nullptr);
            if (hr != S_OK)
                return sizes;
        }
    }
};

TEST_F(JetProviderTest, InitializeFailsWithADescriptionForMissingAndForeignFiles)
{
    Exec("empty.mdb", "");
    FILE* text = fopen(UnixPath("notes.txt").c_str(), "w");
    ASSERT_TRUE(text != nullptr);
    fputs("These are not the rows you are looking for.\n", text);
    fclose(text);
    struct Case { const char* file; bool opens; };
    const Case cases[] = {
        { "lib.mdb", true },
        { "empty.mdb", true },
        { "missing.mdb", false },
        { "notes.txt", false },
    };
    for (const Case& c : cases) {
        CComRef<IDBInitialize> source;
        HRESULT hr = OpenDataSource(WindowsPath(c.file), source);
        EXPECT_EQ(c.opens, SUCCEEDED(hr)) << c.file;
        if (!c.opens) {
            EXPECT_NE(std::string::npos, ErrorDescription().find(c.file)) << c.file;
        }
    }
}

TEST_F(JetProviderTest, OpeningAMissingTableFailsWithNoTable)
{
    CComRef<IOpenRowset> session;
    OpenSession("lib.mdb", session);
    CComRef<IRowset> rowset;
    EXPECT_EQ(DB_E_NOTABLE, OpenTable(session.Get(), u"Albums", rowset));
    EXPECT_NE(std::string::npos, ErrorDescription().find("Albums"));
    EXPECT_EQ(S_OK, OpenTable(session.Get(), u"Items", rowset));
}

TEST_F(JetProviderTest, ColumnInformationFollowsTheDeclaredTypes)
{
    CComRef<IOpenRowset> session;
    CComRef<IRowset> rowset;
    OpenItems(session, rowset);
    CComRef<IColumnsInfo> columns;
    ASSERT_EQ(S_OK, rowset->QueryInterface(IID_IColumnsInfo, columns.OutVoid()));
    DBORDINAL count = 0;
    DBCOLUMNINFO* info = nullptr;
    OLECHAR* strings = nullptr;
    ASSERT_EQ(S_OK, columns->GetColumnInfo(&count, &info, &strings));
    struct Expected { const char16_t* name; DBTYPE type; DBLENGTH size; };
    const Expected expected[] = {
        { u"Name", DBTYPE_WSTR, 50 },
        { u"Notes", DBTYPE_WSTR, 0x3fffffff },
        { u"Big", DBTYPE_WSTR, 1000 },
        { u"Count", DBTYPE_I4, 4 },
        { u"Small", DBTYPE_I2, 2 },
        { u"Added", DBTYPE_DATE, 8 },
        { u"Flag", DBTYPE_BOOL, 2 },
    };
    ASSERT_EQ(sizeof(expected) / sizeof(expected[0]), count);
    for (DBORDINAL i = 0; i < count; i++) {
        EXPECT_EQ(std::u16string(expected[i].name),
                  std::u16string(reinterpret_cast<const char16_t*>(info[i].pwszName)));
        EXPECT_EQ(i + 1, info[i].iOrdinal);
        EXPECT_EQ(expected[i].type, info[i].wType) << i;
        EXPECT_EQ(expected[i].size, info[i].ulColumnSize) << i;
    }
    CoTaskMemFree(info);
    CoTaskMemFree(strings);
}

TEST_F(JetProviderTest, RowsComeInBatchesAndAgainAfterARestart)
{
    Exec("lib.mdb",
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2500)"
                 " INSERT INTO Items (Count) SELECT i FROM n;");
    CComRef<IOpenRowset> session;
    CComRef<IRowset> rowset;
    OpenItems(session, rowset);
    std::vector<DBCOUNTITEM> expected = { 1000, 1000, 500 };
    EXPECT_EQ(expected, FetchBatches(rowset.Get(), 1000));
    // At the end, fetching again gives nothing rather than starting over.
    DBCOUNTITEM obtained = 1;
    HROW* rows = nullptr;
    EXPECT_EQ(DB_S_ENDOFROWSET, rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 10, &obtained, &rows));
    EXPECT_EQ(0u, obtained);
    ASSERT_EQ(S_OK, rowset->RestartPosition(DB_NULL_HCHAPTER));
    EXPECT_EQ(expected, FetchBatches(rowset.Get(), 1000));
}

TEST_F(JetProviderTest, GetDataConvertsEachColumnToItsBinding)
{
    Exec("lib.mdb",
                 "INSERT INTO Items VALUES ('A name that is far too long for eight', NULL,"
                 " 'Memo text', 42, -3, 36526.5, 1);");
    CComRef<IOpenRowset> session;
    CComRef<IRowset> rowset;
    OpenItems(session, rowset);
    const ColumnBinding columns[] = {
        { 1, DBTYPE_STR, 8 },
        { 2, DBTYPE_STR | DBTYPE_BYREF, sizeof(char*) },
        { 3, DBTYPE_STR | DBTYPE_BYREF, sizeof(char*) },
        { 4, DBTYPE_I4, 4 },
        { 5, DBTYPE_I4, 4 },
        { 6, DBTYPE_DATE, 8 },
        { 7, DBTYPE_BOOL, 4 },
    };
    CRowBuffer buffer(columns, 7);
    ASSERT_EQ(S_OK, buffer.CreateAccessor(rowset.Get()));
    HROW handle;
    HROW* rows = &handle;
    DBCOUNTITEM obtained = 0;
    ASSERT_EQ(S_OK, rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 1, &obtained, &rows));
    ASSERT_EQ(S_OK, rowset->GetData(handle, buffer.Accessor(), buffer.Data()));
    EXPECT_EQ(DBSTATUS_S_TRUNCATED, buffer.Status(0));
    EXPECT_EQ("A name ", buffer.Text(0));
    EXPECT_EQ(37u, buffer.Length(0));
    EXPECT_EQ(DBSTATUS_S_ISNULL, buffer.Status(1));
    EXPECT_EQ("Memo text", buffer.Text(2));
    EXPECT_EQ(42, *reinterpret_cast<LONG*>(buffer.Value(3)));
    EXPECT_EQ(-3, *reinterpret_cast<LONG*>(buffer.Value(4)));
    EXPECT_EQ(36526.5, *reinterpret_cast<DATE*>(buffer.Value(5)));
    EXPECT_NE(0, *reinterpret_cast<VARIANT_BOOL*>(buffer.Value(6)));
    rowset->ReleaseRows(1, &handle, nullptr, nullptr, nullptr);
}

// An accessor lives while it is referenced: each reference added is one more
// release before the handle is gone, and a gone handle is refused.
TEST_F(JetProviderTest, AccessorsLiveUntilTheLastReferenceIsReleased)
{
    Exec("lib.mdb", "INSERT INTO Items VALUES ('one', NULL, NULL, 7, 0, 0, 0);");
    CComRef<IOpenRowset> session;
    CComRef<IRowset> rowset;
    OpenItems(session, rowset);
    const ColumnBinding columns[] = {{4, DBTYPE_I4, 4}};
    CRowBuffer buffer(columns, 1);
    ASSERT_EQ(S_OK, buffer.CreateAccessor(rowset.Get()));
    CComRef<IAccessor> accessor;
    ASSERT_EQ(S_OK, rowset->QueryInterface(IID_IAccessor, accessor.OutVoid()));
    HROW handle;
    HROW* rows = &handle;
    DBCOUNTITEM obtained = 0;
    ASSERT_EQ(S_OK, rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 1, &obtained, &rows));
    enum Step { kAddRef, kRelease };
    const HRESULT gone = DB_E_BADACCESSORHANDLE;
    const struct
    {
        Step step;
        HRESULT result;
        DBREFCOUNT refs;
        HRESULT read;
    } cases[] = {
        {kAddRef, S_OK, 2, S_OK},
        {kAddRef, S_OK, 3, S_OK},
        {kRelease, S_OK, 2, S_OK},
        {kRelease, S_OK, 1, S_OK},
        {kRelease, S_OK, 0, gone},
        {kAddRef, gone, 99, gone},
        {kRelease, gone, 99, gone},
    };
    for (const auto& c : cases) {
        DBREFCOUNT refs = 99;
        HRESULT result = c.step == kAddRef ? accessor->AddRefAccessor(buffer.Accessor(), &refs)
                                           : accessor->ReleaseAccessor(buffer.Accessor(), &refs);
        EXPECT_EQ(c.result, result) << c.step << " to " << c.refs;
        EXPECT_EQ(c.refs, refs) << c.step << " to " << c.refs;
        EXPECT_EQ(c.read, rowset->GetData(handle, buffer.Accessor(), buffer.Data())) << c.step << " to " << c.refs;
    }
    rowset->ReleaseRows(1, &handle, nullptr, nullptr, nullptr);
}

// Provider-owned texts are pointers into the fetched row, handed out without a
// copy and valid until the row is released; the provider can own only what
// it points to.
TEST_F(JetProviderTest, TextsInProviderMemoryPointIntoTheRowUntilItIsReleased)
{
    Exec("lib.mdb",
         "INSERT INTO Items (Name, Notes, Big) VALUES ('Plain', 'Mot\xc3\xb6rhead', NULL);"
         "INSERT INTO Items (Name, Notes, Big) VALUES ('', 'second', 'x');");
    CComRef<IOpenRowset> session;
    CComRef<IRowset> rowset;
    OpenItems(session, rowset);
    const ColumnBinding columns[] = {
        { 1, DBTYPE_STR | DBTYPE_BYREF, sizeof(char*), DBMEMOWNER_PROVIDEROWNED },
        { 2, DBTYPE_STR | DBTYPE_BYREF, sizeof(char*), DBMEMOWNER_PROVIDEROWNED },
        { 3, DBTYPE_STR | DBTYPE_BYREF, sizeof(char*), DBMEMOWNER_PROVIDEROWNED },
    };
    CRowBuffer buffer(columns, 3);
    ASSERT_EQ(S_OK, buffer.CreateAccessor(rowset.Get()));
    struct Expected
    {
        DBSTATUS status[3];
        const char* text[3];
        DBLENGTH length[3];
    };
    const Expected rows[] = {
        { { DBSTATUS_S_OK, DBSTATUS_S_OK, DBSTATUS_S_ISNULL }, { "Plain", "Mot\xf6rhead", "" }, { 5, 9, 0 } },
        { { DBSTATUS_S_OK, DBSTATUS_S_OK, DBSTATUS_S_OK }, { "", "second", "x" }, { 0, 6, 1 } },
    };
    for (const Expected& expected : rows) {
        HROW handle;
        HROW* fetched = &handle;
        DBCOUNTITEM obtained = 0;
        ASSERT_EQ(S_OK, rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 1, &obtained, &fetched));
        ASSERT_EQ(S_OK, rowset->GetData(handle, buffer.Accessor(), buffer.Data()));
        const char* first[3];
        for (size_t c = 0; c < 3; c++) {
            EXPECT_EQ(expected.status[c], buffer.Status(c)) << c;
            EXPECT_EQ(expected.text[c], buffer.Text(c)) << c;
            if (expected.status[c] == DBSTATUS_S_OK)
                EXPECT_EQ(expected.length[c], buffer.Length(c)) << c;
            first[c] = *reinterpret_cast<const char**>(buffer.Value(c));
        }
        // Asked again, the same row answers with the same memory.
        ASSERT_EQ(S_OK, rowset->GetData(handle, buffer.Accessor(), buffer.Data()));
        for (size_t c = 0; c < 3; c++)
            if (expected.status[c] == DBSTATUS_S_OK)
                EXPECT_EQ(first[c], *reinterpret_cast<const char**>(buffer.Value(c))) << c;
        rowset->ReleaseRows(1, &handle, nullptr, nullptr, nullptr);
    }

    const ColumnBinding inlineOwned[] = { { 1, DBTYPE_STR, 51, DBMEMOWNER_PROVIDEROWNED } };
    CRowBuffer refused(inlineOwned, 1);
    EXPECT_EQ(DB_E_ERRORSOCCURRED, refused.CreateAccessor(rowset.Get()));
}

TEST_F(JetProviderTest, InsertedAndChangedRowsReachTheFile)
{
    CComRef<IOpenRowset> session;
    CComRef<IRowset> rowset;
    OpenItems(session, rowset);
    CComRef<IRowsetChange> change;
    ASSERT_EQ(S_OK, rowset->QueryInterface(IID_IRowsetChange, change.OutVoid()));
    const ColumnBinding columns[] = {
        { 1, DBTYPE_STR, 51 },
        { 2, DBTYPE_STR | DBTYPE_BYREF, sizeof(char*) },
        { 4, DBTYPE_I4, 4 },
        { 7, DBTYPE_BOOL, 4 },
    };
    CRowBuffer buffer(columns, 4);
    ASSERT_EQ(S_OK, buffer.CreateAccessor(rowset.Get()));
    CRowBuffer none(nullptr, 0);
    ASSERT_EQ(S_OK, none.CreateAccessor(rowset.Get()));

    HROW row = DB_NULL_HROW;
    ASSERT_EQ(S_OK, change->InsertRow(DB_NULL_HCHAPTER, none.Accessor(), nullptr, &row));
    // The consumer's text is in the ANSI code page: 0xF6 is o with diaeresis.
    buffer.SetText(0, "Mot\xf6rhead");
    buffer.SetText(1, "Line one\r\nLine two");
    buffer.Status(2) = DBSTATUS_S_OK;
    *reinterpret_cast<LONG*>(buffer.Value(2)) = 7;
    buffer.Status(3) = DBSTATUS_S_OK;
    *reinterpret_cast<LONG*>(buffer.Value(3)) = 1;
    ASSERT_EQ(S_OK, change->SetData(row, buffer.Accessor(), buffer.Data())) << ErrorDescription();
    rowset->ReleaseRows(1, &row, nullptr, nullptr, nullptr);

    EXPECT_EQ("Mot\xc3\xb6rhead", Query("lib.mdb", "SELECT Name FROM Items"));
    EXPECT_EQ("Line one\r\nLine two", Query("lib.mdb", "SELECT Notes FROM Items"));
    EXPECT_EQ("7", Query("lib.mdb", "SELECT Count FROM Items"));
    EXPECT_EQ("1", Query("lib.mdb", "SELECT Flag FROM Items"));

    // Reading back through the provider gives the ANSI text again.
    ASSERT_EQ(S_OK, rowset->RestartPosition(DB_NULL_HCHAPTER));
    HROW* rows = &row;
    DBCOUNTITEM obtained = 0;
    ASSERT_EQ(S_OK, rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 1, &obtained, &rows));
    ASSERT_EQ(S_OK, rowset->GetData(row, buffer.Accessor(), buffer.Data()));
    EXPECT_EQ("Mot\xf6rhead", buffer.Text(0));
    // An empty status of NULL clears the column.
    buffer.SetNull(1);
    ASSERT_EQ(S_OK, change->SetData(row, buffer.Accessor(), buffer.Data()));
    rowset->ReleaseRows(1, &row, nullptr, nullptr, nullptr);
    EXPECT_EQ("null", Query("lib.mdb", "SELECT typeof(Notes) FROM Items"));
}

TEST_F(JetProviderTest, AnInsertedRowHoldsTheTableDefaults)
{
    Exec("lib.mdb", "CREATE TABLE Defaults (Name TEXT(20) DEFAULT 'none', Count INTEGER DEFAULT 3);"
                    "CREATE TABLE Plain (Name TEXT(20), Count INTEGER);");
    struct Case { const char16_t* table; const char* tableName; DBSTATUS nameStatus; const char* name; LONG count; };
    const Case cases[] = {
        { u"Defaults", "Defaults", DBSTATUS_S_OK, "none", 3 },
        { u"Plain", "Plain", DBSTATUS_S_ISNULL, "", 0 },
    };
    CComRef<IOpenRowset> session;
    OpenSession("lib.mdb", session);
    for (const Case& c : cases) {
        CComRef<IRowset> rowset;
        ASSERT_EQ(S_OK, OpenTable(session.Get(), c.table, rowset));
        CComRef<IRowsetChange> change;
        ASSERT_EQ(S_OK, rowset->QueryInterface(IID_IRowsetChange, change.OutVoid()));
        const ColumnBinding columns[] = { { 1, DBTYPE_STR, 21 }, { 2, DBTYPE_I4, 4 } };
        CRowBuffer buffer(columns, 2);
        ASSERT_EQ(S_OK, buffer.CreateAccessor(rowset.Get()));
        CRowBuffer none(nullptr, 0);
        ASSERT_EQ(S_OK, none.CreateAccessor(rowset.Get()));
        HROW row = DB_NULL_HROW;
        ASSERT_EQ(S_OK, change->InsertRow(DB_NULL_HCHAPTER, none.Accessor(), nullptr, &row));
        ASSERT_EQ(S_OK, rowset->GetData(row, buffer.Accessor(), buffer.Data()));
        EXPECT_EQ(c.nameStatus, buffer.Status(0));
        EXPECT_EQ(c.name, buffer.Text(0));
        if (c.nameStatus == DBSTATUS_S_OK) {
            EXPECT_EQ(c.count, *reinterpret_cast<LONG*>(buffer.Value(1)));
        }
        rowset->ReleaseRows(1, &row, nullptr, nullptr, nullptr);

        // A row inserted with a value keeps the defaults of the columns left unbound.
        const ColumnBinding countOnly[] = { { 2, DBTYPE_I4, 4 } };
        CRowBuffer count(countOnly, 1);
        ASSERT_EQ(S_OK, count.CreateAccessor(rowset.Get()));
        count.Status(0) = DBSTATUS_S_OK;
        *reinterpret_cast<LONG*>(count.Value(0)) = 9;
        ASSERT_EQ(S_OK, change->InsertRow(DB_NULL_HCHAPTER, count.Accessor(), count.Data(), &row));
        ASSERT_EQ(S_OK, rowset->GetData(row, buffer.Accessor(), buffer.Data()));
        EXPECT_EQ(c.nameStatus, buffer.Status(0));
        EXPECT_EQ(c.name, buffer.Text(0));
        EXPECT_EQ(9, *reinterpret_cast<LONG*>(buffer.Value(1)));
        rowset->ReleaseRows(1, &row, nullptr, nullptr, nullptr);
        std::string sql = std::string("SELECT ifnull(Name, 'null') || ',' || Count FROM ") + c.tableName +
                          " WHERE Count = 9";
        EXPECT_EQ(std::string(c.nameStatus == DBSTATUS_S_OK ? c.name : "null") + ",9", Query("lib.mdb", sql.c_str()));
    }
}

TEST_F(JetProviderTest, InlineTextIsNeverReadPastItsBoundLength)
{
    CComRef<IOpenRowset> session;
    CComRef<IRowset> rowset;
    OpenItems(session, rowset);
    CComRef<IRowsetChange> change;
    ASSERT_EQ(S_OK, rowset->QueryInterface(IID_IRowsetChange, change.OutVoid()));
    const ColumnBinding columns[] = { { 1, DBTYPE_STR, 4 }, { 4, DBTYPE_I4, 4 } };
    CRowBuffer buffer(columns, 2);
    ASSERT_EQ(S_OK, buffer.CreateAccessor(rowset.Get()));
    // Four bytes without a terminator, followed by the next column, and a length
    // that claims more.
    memcpy(buffer.Value(0), "abcd", 4);
    buffer.Status(0) = DBSTATUS_S_OK;
    buffer.Length(0) = 100;
    buffer.Status(1) = DBSTATUS_S_OK;
    *reinterpret_cast<LONG*>(buffer.Value(1)) = 0x41414141;
    HROW row = DB_NULL_HROW;
    ASSERT_EQ(S_OK, change->InsertRow(DB_NULL_HCHAPTER, buffer.Accessor(), buffer.Data(), &row));
    rowset->ReleaseRows(1, &row, nullptr, nullptr, nullptr);
    EXPECT_EQ("abcd", Query("lib.mdb", "SELECT Name FROM Items"));
}

TEST_F(JetProviderTest, CommandsSpeakTheLibrarysDialect)
{
    Exec("lib.mdb",
                 "INSERT INTO Items (Name, Count) VALUES ('00AB12', 1), ('00ab12', 2), ('O''Brien', 3),"
                 " ('Other', 4);");
    CComRef<IOpenRowset> session;
    OpenSession("lib.mdb", session);
    struct Case { const char16_t* select; DBCOUNTITEM rows; };
    const Case cases[] = {
        { u"SELECT * FROM Items WHERE Name='00AB12'", 2 },   // the key compares without case
        { u"SELECT * FROM Items WHERE Name='00ab12'", 2 },
        { u"SELECT * FROM Items WHERE Name='O''Brien'", 1 },
        { u"SELECT * FROM Items WHERE Name='none'", 0 },
        { u"SELECT * FROM [Items]", 4 },
    };
    for (const Case& c : cases) {
        CComRef<IRowset> rowset;
        ASSERT_EQ(S_OK, Execute(session.Get(), c.select, &rowset)) << ErrorDescription();
        std::vector<DBCOUNTITEM> batches = FetchBatches(rowset.Get(), 1000);
        EXPECT_EQ(c.rows, batches[0]);
    }
    DBROWCOUNT affected = 0;
    ASSERT_EQ(S_OK, Execute(session.Get(), u"DELETE * FROM Items WHERE Name='00Ab12'", nullptr, &affected));
    EXPECT_EQ(2, affected);
    EXPECT_EQ("2", Query("lib.mdb", "SELECT count(*) FROM Items"));
    CComRef<IRowset> rowset;
    EXPECT_EQ(DB_E_ERRORSINCOMMAND, Execute(session.Get(), u"SELECT * FROM Nowhere", &rowset));
    EXPECT_FALSE(ErrorDescription().empty());
}

TEST_F(JetProviderTest, RowsOfASelectCanBeChangedAndDeleted)
{
    Exec("lib.mdb", "INSERT INTO Items (Name, Count) VALUES ('a', 1), ('b', 2), ('b', 3);");
    CComRef<IOpenRowset> session;
    OpenSession("lib.mdb", session);
    CComRef<IRowset> rowset;
    ASSERT_EQ(S_OK, Execute(session.Get(), u"SELECT * FROM Items WHERE Name='B'", &rowset));
    CComRef<IRowsetChange> change;
    ASSERT_EQ(S_OK, rowset->QueryInterface(IID_IRowsetChange, change.OutVoid()));
    const ColumnBinding columns[] = { { 1, DBTYPE_STR, 51 } };
    CRowBuffer buffer(columns, 1);
    ASSERT_EQ(S_OK, buffer.CreateAccessor(rowset.Get()));
    HROW rows[2];
    HROW* out = rows;
    DBCOUNTITEM obtained = 0;
    ASSERT_EQ(DB_S_ENDOFROWSET, rowset->GetNextRows(DB_NULL_HCHAPTER, 0, 3, &obtained, &out));
    ASSERT_EQ(2u, obtained);
    buffer.SetText(0, "c");
    ASSERT_EQ(S_OK, change->SetData(rows[0], buffer.Accessor(), buffer.Data()));
    DBROWSTATUS status = 0;
    ASSERT_EQ(S_OK, change->DeleteRows(DB_NULL_HCHAPTER, 1, &rows[1], &status));
    EXPECT_EQ(DB_E_BADROWHANDLE, rowset->GetData(rows[1], buffer.Accessor(), buffer.Data()));
    rowset->ReleaseRows(2, rows, nullptr, nullptr, nullptr);
    EXPECT_EQ("a c", Query("lib.mdb", "SELECT group_concat(Name, ' ') FROM (SELECT Name FROM Items ORDER BY Name)"));
}

TEST_F(JetProviderTest, TransactionsCommitOrDiscardTheirRows)
{
    CComRef<IOpenRowset> session;
    OpenSession("lib.mdb", session);
    CComRef<ITransactionLocal> transaction;
    ASSERT_EQ(S_OK, session->QueryInterface(IID_ITransactionLocal, transaction.OutVoid()));
    struct Case { const char16_t* insert; bool commit; const char* count; };
    const Case cases[] = {
        { u"INSERT INTO Items (Name) VALUES ('kept')", true, "1" },
        { u"INSERT INTO Items (Name) VALUES ('dropped')", false, "1" },
    };
    for (const Case& c : cases) {
        ULONG level = 0;
        ASSERT_EQ(S_OK, transaction->StartTransaction(ISOLATIONLEVEL_READCOMMITTED, 0, nullptr, &level));
        ASSERT_EQ(S_OK, Execute(session.Get(), c.insert, nullptr));
        if (c.commit)
            ASSERT_EQ(S_OK, transaction->Commit(FALSE, XACTTC_SYNC, 0));
        else
            ASSERT_EQ(S_OK, transaction->Abort(nullptr, FALSE, FALSE));
        EXPECT_EQ(c.count, Query("lib.mdb", "SELECT count(*) FROM Items"));
    }
}

}
