#include "platform/jet/tests/JetTestBase.h"

#include "JetRegistration.h"

#include <sqlite3.h>
#include <stdlib.h>

void JetTestBase::SetUp()
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_TRUE(RegisterJetProvider(getenv("ZYM_JET_DLL")));
    m_folder.reset(new CTempFolder("jettest"));
    ASSERT_TRUE(m_folder->IsValid());
}

void JetTestBase::TearDown()
{
    m_folder.reset();
    CoUninitialize();
}

void JetTestBase::Exec(const char* name, const char* sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(UnixPath(name).c_str(), &db));
    char* error = nullptr;
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(db, sql, nullptr, nullptr, &error)) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

std::string JetTestBase::Query(const char* name, const char* sql)
{
    sqlite3* db = nullptr;
    std::string result;
    if (sqlite3_open_v2(UnixPath(name).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW &&
            sqlite3_column_text(stmt, 0))
            result = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return result;
}
