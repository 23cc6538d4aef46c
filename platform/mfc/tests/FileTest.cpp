#include "tests/support/TestFramework.h"
#include "tests/support/TempFolder.h"

#include <afx.h>

#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A fresh folder per test; the program sees it through drive Z:.
class FileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.IsValid()); }

    std::string UnixPath(const char* name) const { return m_folder.UnixPath(name); }
    CString WinPath(const char* name) const { return m_folder.WindowsPath(name).c_str(); }
    void Put(const char* name, const std::string& bytes) const
    {
        std::ofstream(UnixPath(name), std::ios::binary) << bytes;
    }
    std::string Get(const char* name) const
    {
        std::ifstream in(UnixPath(name), std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

    CTempFolder m_folder{"mfcfile"};
};

TEST_F(FileTest, OpenFlagsDecideCreationAndTruncation)
{
    struct OpenCase
    {
        const char* name;
        UINT flags;
        bool existing;
        BOOL opened;
        int cause;
        const char* contentAfter; // NULL: no file
    };
    const OpenCase cases[] = {
        { "missing for reading", CFile::modeRead, false, FALSE, CFileException::fileNotFound, NULL },
        { "missing for writing", CFile::modeWrite, false, FALSE, CFileException::fileNotFound, NULL },
        { "created", CFile::modeCreate | CFile::modeWrite, false, TRUE, CFileException::none, "" },
        { "truncated", CFile::modeCreate | CFile::modeWrite, true, TRUE, CFileException::none, "" },
        { "kept", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite, true, TRUE, CFileException::none, "old" },
        { "kept and new", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite, false, TRUE, CFileException::none, "" },
        { "existing read", CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary, true, TRUE, CFileException::none, "old" },
    };
    for (const OpenCase& c : cases) {
        unlink(UnixPath("f.dat").c_str());
        if (c.existing)
            Put("f.dat", "old");
        CFile file;
        CFileException error;
        EXPECT_EQ(c.opened, file.Open(WinPath("f.dat"), c.flags, &error)) << c.name;
        EXPECT_EQ(c.cause, error.m_cause) << c.name;
        if (!c.opened) {
            EXPECT_EQ(ERROR_FILE_NOT_FOUND, error.m_lOsError) << c.name;
            EXPECT_STREQ(WinPath("f.dat"), error.m_strFileName) << c.name;
            EXPECT_EQ(CFile::hFileNull, file.m_hFile) << c.name;
        }
        file.Abort();
        if (c.contentAfter)
            EXPECT_EQ(c.contentAfter, Get("f.dat")) << c.name;
        else
            EXPECT_NE(0, access(UnixPath("f.dat").c_str(), F_OK)) << c.name;
    }
    EXPECT_FALSE(CFile().Open(WinPath("no\\such\\folder\\x"), CFile::modeCreate | CFile::modeWrite));
}

TEST_F(FileTest, ReadsWritesAndSeeks)
{
    CFile file(WinPath("data.bin"), CFile::modeCreate | CFile::modeReadWrite);
    file.Write("0123456789", 10);
    EXPECT_EQ(10u, file.GetLength());
    EXPECT_EQ(10u, file.GetPosition());
    EXPECT_EQ(3, file.Seek(3, CFile::begin));
    char buffer[16] = {};
    EXPECT_EQ(4u, file.Read(buffer, 4));
    EXPECT_STREQ("3456", buffer);
    EXPECT_EQ(5, file.Seek(-2, CFile::current));
    EXPECT_EQ(8, file.Seek(-2, CFile::end));
    EXPECT_EQ(2u, file.Read(buffer, sizeof(buffer)));
    EXPECT_EQ(0u, file.Read(buffer, sizeof(buffer)));
    file.SeekToBegin();
    EXPECT_EQ(0u, file.GetPosition());
    EXPECT_EQ(10u, file.SeekToEnd());
    file.SetLength(4);
    EXPECT_EQ(4u, file.GetLength());
    file.Flush();
    EXPECT_EQ("0123", Get("data.bin"));
    file.Close();
    EXPECT_EQ(CFile::hFileNull, file.m_hFile);
}

TEST_F(FileTest, WrappedHandleOutlivesItsObjectUntilClosed)
{
    HANDLE handle = CreateFileA(WinPath("wrapped.dat"), GENERIC_READ | GENERIC_WRITE, 0, NULL,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, handle);
    {
        CFile wrapper(handle);
        wrapper.Write("abc", 3);
    }
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(handle, "d", 1, &written, NULL));
    CFile closer(handle);
    closer.Close();
    EXPECT_FALSE(WriteFile(handle, "e", 1, &written, NULL));
    EXPECT_EQ("abcd", Get("wrapped.dat"));
}

TEST_F(FileTest, FailuresThrowFileExceptions)
{
    struct ThrowCase
    {
        const char* name;
        void (*action)(const CString& missing);
        int cause;
    };
    const ThrowCase cases[] = {
        { "constructor", [](const CString& m) { CFile file(m, CFile::modeRead); }, CFileException::fileNotFound },
        { "Remove", [](const CString& m) { CFile::Remove(m); }, CFileException::fileNotFound },
        { "Rename", [](const CString& m) { CFile::Rename(m, m + ".new"); }, CFileException::fileNotFound },
    };
    for (const ThrowCase& c : cases) {
        int cause = -1;
        CString fileName;
        TRY {
            c.action(WinPath("missing.dat"));
        }
        CATCH(CFileException, e) {
            cause = e->m_cause;
            fileName = e->m_strFileName;
        }
        END_CATCH
        EXPECT_EQ(c.cause, cause) << c.name;
        EXPECT_STREQ(WinPath("missing.dat"), fileName) << c.name;
    }

    Put("ro.dat", "x");
    CFile readOnly(WinPath("ro.dat"), CFile::modeRead);
    int cause = -1;
    TRY {
        readOnly.Write("y", 1);
    }
    CATCH(CFileException, e) {
        cause = e->m_cause;
    }
    END_CATCH
    EXPECT_EQ(CFileException::accessDenied, cause);
}

TEST_F(FileTest, SharingModesKeepOthersOut)
{
    Put("shared.dat", "x");
    CFile first(WinPath("shared.dat"), CFile::modeRead | CFile::shareDenyWrite);
    CFile second;
    CFileException error;
    EXPECT_FALSE(second.Open(WinPath("shared.dat"), CFile::modeWrite, &error));
    EXPECT_EQ(CFileException::sharingViolation, error.m_cause);
    EXPECT_TRUE(second.Open(WinPath("shared.dat"), CFile::modeRead | CFile::shareDenyWrite));
}

TEST_F(FileTest, NamesStatusRenameAndRemove)
{
    Put("Track 01.mp3", "12345");
    CFile file(WinPath("Track 01.mp3"), CFile::modeRead);
    EXPECT_STREQ(WinPath("Track 01.mp3"), file.GetFilePath());
    EXPECT_STREQ("Track 01.mp3", file.GetFileName());
    EXPECT_STREQ("Track 01", file.GetFileTitle());
    CFileStatus status;
    ASSERT_TRUE(file.GetStatus(status));
    EXPECT_EQ(5, status.m_size);
    EXPECT_GT(status.m_mtime.GetTime(), 0);
    file.Close();

    ASSERT_TRUE(CFile::GetStatus(WinPath("Track 01.mp3"), status));
    EXPECT_EQ(5, status.m_size);
    EXPECT_STREQ(WinPath("Track 01.mp3"), status.m_szFullName);
    EXPECT_LT(labs(static_cast<long>(status.m_mtime.GetTime() - time(NULL))), 60L);
    EXPECT_FALSE(CFile::GetStatus(WinPath("nothing"), status));
    ASSERT_TRUE(CFile::GetStatus(WinPath(""), status));
    EXPECT_TRUE(status.m_attribute & CFile::directory);

    CFile::Rename(WinPath("Track 01.mp3"), WinPath("renamed.mp3"));
    EXPECT_EQ("12345", Get("renamed.mp3"));
    CFile::Remove(WinPath("renamed.mp3"));
    EXPECT_NE(0, access(UnixPath("renamed.mp3").c_str(), F_OK));
}

TEST_F(FileTest, TextModeTranslatesLineEnds)
{
    struct LineCase
    {
        UINT type;
        const char* written;
        const char* onDisk;
    };
    const LineCase cases[] = {
        { 0, "one\ntwo\n", "one\r\ntwo\r\n" },
        { CFile::typeText, "a\n\nb", "a\r\n\r\nb" },
        { CFile::typeBinary, "one\ntwo\n", "one\ntwo\n" },
    };
    for (const LineCase& c : cases) {
        CStdioFile file(WinPath("t.txt"), CFile::modeCreate | CFile::modeWrite | c.type);
        file.WriteString(c.written);
        file.Close();
        EXPECT_EQ(c.onDisk, Get("t.txt")) << c.written;
    }
}

TEST_F(FileTest, ReadStringTakesCrLfAndLfLines)
{
    Put("lines.txt", "first\r\nsecond\nthird\r\n\r\nlast");
    CStdioFile file(WinPath("lines.txt"), CFile::modeRead | CFile::typeText);
    std::vector<std::string> lines;
    CString line;
    while (file.ReadString(line))
        lines.push_back(static_cast<LPCSTR>(line));
    EXPECT_EQ((std::vector<std::string>{ "first", "second", "third", "", "last" }), lines);

    file.SeekToBegin();
    char buffer[5];
    EXPECT_STREQ("firs", file.ReadString(buffer, sizeof(buffer)));
    EXPECT_STREQ("t\n", file.ReadString(buffer, sizeof(buffer)));
    EXPECT_EQ(7u, file.GetPosition());
    file.Seek(-3, CFile::end);
    EXPECT_STREQ("ast", file.ReadString(buffer, sizeof(buffer)));
    EXPECT_EQ(nullptr, file.ReadString(buffer, sizeof(buffer)));

    std::string longLine(1000, 'x');
    Put("long.txt", longLine + "\r\nnext");
    CStdioFile longFile(WinPath("long.txt"), CFile::modeRead);
    ASSERT_TRUE(longFile.ReadString(line));
    EXPECT_EQ(1000, line.GetLength());
    ASSERT_TRUE(longFile.ReadString(line));
    EXPECT_STREQ("next", line);
    EXPECT_FALSE(longFile.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
}

TEST_F(FileTest, ReadingThenWritingContinuesWhereReadingStopped)
{
    Put("mixed.txt", "abc\r\ndef\r\n");
    CStdioFile file(WinPath("mixed.txt"), CFile::modeReadWrite);
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    file.WriteString("X\n");
    file.Close();
    EXPECT_EQ("abc\r\nX\r\n\r\n", Get("mixed.txt"));
}

TEST_F(FileTest, FindWalksMatchesWithPathsAndKinds)
{
    Put("a.txt", "12");
    Put("b.txt", "12345");
    Put("c.dat", "1");
    mkdir(UnixPath("sub.txt").c_str(), 0755);

    CFileFind find;
    std::vector<std::string> names;
    for (BOOL more = find.FindFile(WinPath("*.txt")); more;) {
        more = find.FindNextFile();
        names.push_back(static_cast<LPCSTR>(find.GetFileName()));
        EXPECT_STREQ(WinPath(find.GetFileName()), find.GetFilePath());
        if (find.GetFileName() == "b.txt") {
            EXPECT_EQ(5u, find.GetLength());
            EXPECT_STREQ("b", find.GetFileTitle());
            CTime written;
            EXPECT_TRUE(find.GetLastWriteTime(written));
            EXPECT_LT(labs(static_cast<long>(written.GetTime() - time(NULL))), 60L);
        }
        EXPECT_EQ(find.GetFileName() == "sub.txt", !!find.IsDirectory());
        EXPECT_FALSE(find.IsDots());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{ "a.txt", "b.txt", "sub.txt" }), names);

    int dots = 0;
    for (BOOL more = find.FindFile(WinPath("*")); more;) {
        more = find.FindNextFile();
        dots += find.IsDots() ? 1 : 0;
    }
    EXPECT_EQ(2, dots);
    EXPECT_FALSE(find.FindFile(WinPath("*.none")));
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_TRUE(find.GetFileName().IsEmpty());
}

TEST(MemFileTest, GrowsAndReadsBack)
{
    CMemFile file(4);
    file.Write("abcdef", 6);
    EXPECT_EQ(6u, file.GetLength());
    file.Seek(10, CFile::begin);
    file.Write("z", 1);
    EXPECT_EQ(11u, file.GetLength());
    file.SeekToBegin();
    char buffer[16];
    ASSERT_EQ(11u, file.Read(buffer, sizeof(buffer)));
    EXPECT_EQ(0, memcmp("abcdef\0\0\0\0z", buffer, 11));
    file.SetLength(2);
    EXPECT_EQ(2u, file.GetPosition());
    file.SetLength(4);
    file.SeekToBegin();
    ASSERT_EQ(4u, file.Read(buffer, sizeof(buffer)));
    EXPECT_EQ(0, memcmp("ab\0\0", buffer, 4));

    int cause = -1;
    TRY {
        file.Seek(-1, CFile::begin);
    }
    CATCH(CFileException, e) {
        cause = e->m_cause;
    }
    END_CATCH
    EXPECT_EQ(CFileException::badSeek, cause);

    BYTE* bytes = file.Detach();
    ASSERT_NE(nullptr, bytes);
    EXPECT_EQ('a', bytes[0]);
    free(bytes);
    EXPECT_EQ(0u, file.GetLength());
}

TEST(MemFileTest, FixedBufferReadsItsDataAndDoesNotGrow)
{
    BYTE data[4] = { 1, 2, 3, 4 };
    CMemFile file(data, sizeof(data));
    EXPECT_EQ(4u, file.GetLength());
    BYTE read[8];
    EXPECT_EQ(4u, file.Read(read, sizeof(read)));
    EXPECT_EQ(4, read[3]);
    file.SeekToBegin();
    file.Write("\x09", 1);
    EXPECT_EQ(9, data[0]);
    bool outOfMemory = false;
    TRY {
        file.SeekToEnd();
        file.Write("x", 1);
    }
    CATCH(CMemoryException, e) {
        outOfMemory = true;
    }
    END_CATCH
    EXPECT_TRUE(outOfMemory);
    EXPECT_EQ(data, file.Detach());
}

} // namespace
