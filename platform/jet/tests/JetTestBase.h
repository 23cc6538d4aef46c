// Base of the tests that reach the database provider: COM initialised for the
// test's thread, this build's provider registered in the test's Wine prefix
// (as regsvr32 would; the build gives the DLL's Unix path in ZYM_JET_DLL), and
// a temporary folder for database files.
#pragma once

#include "tests/support/TestFramework.h"
#include "tests/support/TempFolder.h"

#include <memory>
#include <string>

class JetTestBase : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    std::string UnixPath(const char* name) const { return m_folder->UnixPath(name); }
    std::string WindowsPath(const char* name) const { return m_folder->WindowsPath(name); }
    bool Exists(const char* name) const { return m_folder->Exists(name); }
    // SQL run on a file of the folder straight through SQLite (the file is made
    // when missing), to prepare what the program reads or to look at what it wrote.
    void Exec(const char* name, const char* sql);
    // The first column of the first row as text, "" without one.
    std::string Query(const char* name, const char* sql);

private:
    std::unique_ptr<CTempFolder> m_folder;
};
