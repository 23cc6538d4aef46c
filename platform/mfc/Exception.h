// The exception family. Exceptions are thrown as pointers to heap objects;
// the TRY/CATCH macros delete the caught object when its block ends, unless
// THROW_LAST passes it on. A plain C++ catch must call Delete itself.
#pragma once

#include "platform/mfc/MfcString.h"
#include "platform/mfc/Object.h"

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    CException();
    explicit CException(BOOL autoDelete);

    // Frees a heap exception; a static one stays.
    void Delete();
    // FALSE when the exception has no text of its own.
    virtual BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL);
    // Shows the error text, or the string messageId, or a generic text, in a message box.
    virtual int ReportError(UINT type = MB_OK, UINT messageId = 0);

protected:
    BOOL m_bAutoDelete;
};

class CMemoryException : public CException
{
    DECLARE_DYNAMIC(CMemoryException)
public:
    CMemoryException();
    explicit CMemoryException(BOOL autoDelete);
    BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;
};

class CNotSupportedException : public CException
{
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;
};

class CResourceException : public CException
{
    DECLARE_DYNAMIC(CResourceException)
public:
    BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;
};

class CUserException : public CException
{
    DECLARE_DYNAMIC(CUserException)
};

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum {
        none,
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG osError = -1, LPCSTR fileName = NULL);

    static int PASCAL OsErrorToException(LONG osError);
    static void PASCAL ThrowOsError(LONG osError, LPCSTR fileName = NULL);

    BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum {
        none,
        generic,
        readOnly,
        endOfFile,
        writeOnly,
        badIndex,
        badClass,
        badSchema
    };

    explicit CArchiveException(int cause = none, LPCSTR fileName = NULL);
    BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;

    int m_cause;
    CString m_strFileName;
};

void AfxThrowMemoryException();
void AfxThrowNotSupportedException();
void AfxThrowResourceException();
void AfxThrowUserException();
void AfxThrowFileException(int cause, LONG osError = -1, LPCSTR fileName = NULL);
void AfxThrowArchiveException(int cause, LPCSTR fileName = NULL);

// Deletes the exception a CATCH block holds when the block ends. A handler
// that calls Delete itself, as plain C++ handlers must, is no double free:
// Delete takes the exception out of the links of its thread first.
class CExceptionLink
{
public:
    explicit CExceptionLink(CException* e);
    ~CExceptionLink();
    // The exception travels on (THROW_LAST).
    void Release() { m_exception = NULL; }

    static void Forget(CException* e);

private:
    CException* m_exception;
    CExceptionLink* m_outer;
};

#define TRY try {
#define CATCH(class_name, e) } catch (class_name* e) { CExceptionLink afxExceptionLink(e);
#define AND_CATCH(class_name, e) CATCH(class_name, e)
#define END_CATCH }
#define THROW(e) throw e
#define THROW_LAST() do { afxExceptionLink.Release(); throw; } while (0)
