#include "tests/support/TestFramework.h"

#include "tests/support/MessageBoxScript.h"

#include <afx.h>

namespace {

// Counts its deletions so that a test sees who freed it.
class CCountedException : public CUserException
{
public:
    explicit CCountedException(int* deleted) : m_deleted(deleted) {}
    ~CCountedException() override { ++*m_deleted; }

private:
    int* m_deleted;
};

TEST(ExceptionTest, CatchBlockDeletesTheException)
{
    int deleted = 0;
    int caught = 0;
    TRY {
        THROW(new CCountedException(&deleted));
    }
    CATCH(CFileException, e) {
        ADD_FAILURE() << "wrong handler";
    }
    AND_CATCH(CUserException, e) {
        caught++;
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CException)));
        EXPECT_EQ(0, deleted);
    }
    END_CATCH
    EXPECT_EQ(1, caught);
    EXPECT_EQ(1, deleted);
}

TEST(ExceptionTest, HandlerThatDeletesItselfIsNoDoubleFree)
{
    int deleted = 0;
    TRY {
        TRY {
            THROW(new CCountedException(&deleted));
        }
        CATCH(CUserException, inner) {
            TRY {
                THROW(new CCountedException(&deleted));
            }
            CATCH(CUserException, nested) {
                nested->Delete();
                inner->Delete();
            }
            END_CATCH
            EXPECT_EQ(2, deleted);
        }
        END_CATCH
    }
    CATCH(CException, e) {
        ADD_FAILURE() << "nothing should reach here";
    }
    END_CATCH
    EXPECT_EQ(2, deleted);
}

TEST(ExceptionTest, ThrowLastPassesTheSameObjectOn)
{
    int deleted = 0;
    CException* outer = NULL;
    try {
        TRY {
            THROW(new CCountedException(&deleted));
        }
        CATCH(CException, e) {
            THROW_LAST();
        }
        END_CATCH
    } catch (CException* e) {
        outer = e;
    }
    ASSERT_NE(nullptr, outer);
    EXPECT_EQ(0, deleted);
    outer->Delete();
    EXPECT_EQ(1, deleted);
}

TEST(ExceptionTest, ThrowFunctionsRaiseTheirClasses)
{
    struct ThrowCase
    {
        void (*raise)();
        CRuntimeClass* expected;
    };
    const ThrowCase cases[] = {
        { [] { AfxThrowMemoryException(); }, RUNTIME_CLASS(CMemoryException) },
        { [] { AfxThrowNotSupportedException(); }, RUNTIME_CLASS(CNotSupportedException) },
        { [] { AfxThrowResourceException(); }, RUNTIME_CLASS(CResourceException) },
        { [] { AfxThrowUserException(); }, RUNTIME_CLASS(CUserException) },
        { [] { AfxThrowFileException(CFileException::diskFull); }, RUNTIME_CLASS(CFileException) },
        { [] { AfxThrowArchiveException(CArchiveException::badSchema); }, RUNTIME_CLASS(CArchiveException) },
    };
    for (const ThrowCase& c : cases) {
        CRuntimeClass* thrown = NULL;
        TRY {
            c.raise();
        }
        CATCH(CException, e) {
            thrown = e->GetRuntimeClass();
        }
        END_CATCH
        EXPECT_EQ(c.expected, thrown) << c.expected->m_lpszClassName;
    }
    // The memory exception is static and survives its handlers.
    for (int i = 0; i < 2; i++) {
        TRY {
            AfxThrowMemoryException();
        }
        CATCH(CMemoryException, e) {
            char text[64];
            EXPECT_TRUE(e->GetErrorMessage(text, sizeof(text)));
        }
        END_CATCH
    }
}

TEST(ExceptionTest, OsErrorsMapToFileCauses)
{
    const struct
    {
        LONG osError;
        int cause;
    } cases[] = {
        { NO_ERROR, CFileException::none },
        { ERROR_FILE_NOT_FOUND, CFileException::fileNotFound },
        { ERROR_PATH_NOT_FOUND, CFileException::badPath },
        { ERROR_ACCESS_DENIED, CFileException::accessDenied },
        { ERROR_SHARING_VIOLATION, CFileException::sharingViolation },
        { ERROR_DISK_FULL, CFileException::diskFull },
        { ERROR_HANDLE_EOF, CFileException::endOfFile },
        { ERROR_NOT_ENOUGH_MEMORY, CFileException::generic },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.cause, CFileException::OsErrorToException(c.osError)) << c.osError;

    CFileException* thrown = NULL;
    try {
        CFileException::ThrowOsError(ERROR_FILE_NOT_FOUND, "C:\\x.dat");
    } catch (CFileException* e) {
        thrown = e;
    }
    ASSERT_NE(nullptr, thrown);
    EXPECT_EQ(CFileException::fileNotFound, thrown->m_cause);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, thrown->m_lOsError);
    EXPECT_STREQ("C:\\x.dat", thrown->m_strFileName);
    thrown->Delete();
}

TEST(ExceptionTest, ErrorMessagesNameTheFileAndFitTheBuffer)
{
    CFileException e(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "C:\\songs\\a.mp3");
    char text[256];
    UINT help = 99;
    ASSERT_TRUE(e.GetErrorMessage(text, sizeof(text), &help));
    EXPECT_NE(nullptr, strstr(text, "C:\\songs\\a.mp3"));
    EXPECT_EQ(0u, help);
    char tiny[8];
    ASSERT_TRUE(e.GetErrorMessage(tiny, sizeof(tiny)));
    EXPECT_EQ(7u, strlen(tiny));
    CFileException odd(1234);
    EXPECT_FALSE(odd.GetErrorMessage(text, sizeof(text)));
    EXPECT_FALSE(CUserException().GetErrorMessage(text, sizeof(text)));
}

TEST(ExceptionTest, ReportErrorShowsTheMessage)
{
    CMessageBoxScript script;
    script.Then(IDOK).Then(IDOK);
    CArchiveException(CArchiveException::endOfFile, "state.dat").ReportError();
    CUserException().ReportError(MB_ICONSTOP);
    std::vector<ShownMessageBox> shown = script.Shown();
    ASSERT_EQ(2u, shown.size());
    EXPECT_NE(std::string::npos, shown[0].text.find("state.dat"));
    EXPECT_EQ("No error message is available.", shown[1].text);
    EXPECT_EQ(static_cast<unsigned>(MB_ICONSTOP), shown[1].type);
    EXPECT_EQ(0, script.Unscripted());
}

} // namespace
