#include "platform/mfc/Exception.h"

#include "platform/mfc/WinApp.h"

#include <stdio.h>
#include <string.h>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {

const char kNoErrorMessage[] = "No error message is available.";
const int kReportTextSize = 512;

struct OsErrorCause
{
    LONG osError;
    int cause;
};

const OsErrorCause kOsErrorCauses[] = {
    { ERROR_FILE_NOT_FOUND, CFileException::fileNotFound },
    { ERROR_PATH_NOT_FOUND, CFileException::badPath },
    { ERROR_INVALID_NAME, CFileException::badPath },
    { ERROR_BAD_PATHNAME, CFileException::badPath },
    { ERROR_INVALID_DRIVE, CFileException::badPath },
    { ERROR_FILENAME_EXCED_RANGE, CFileException::badPath },
    { ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles },
    { ERROR_ACCESS_DENIED, CFileException::accessDenied },
    { ERROR_WRITE_PROTECT, CFileException::accessDenied },
    { ERROR_FILE_EXISTS, CFileException::accessDenied },
    { ERROR_ALREADY_EXISTS, CFileException::accessDenied },
    { ERROR_INVALID_HANDLE, CFileException::invalidFile },
    { ERROR_CURRENT_DIRECTORY, CFileException::removeCurrentDir },
    { ERROR_CANNOT_MAKE, CFileException::directoryFull },
    { ERROR_NEGATIVE_SEEK, CFileException::badSeek },
    { ERROR_SEEK, CFileException::badSeek },
    { ERROR_SEEK_ON_DEVICE, CFileException::badSeek },
    { ERROR_CRC, CFileException::hardIO },
    { ERROR_READ_FAULT, CFileException::hardIO },
    { ERROR_WRITE_FAULT, CFileException::hardIO },
    { ERROR_GEN_FAILURE, CFileException::hardIO },
    { ERROR_NOT_READY, CFileException::hardIO },
    { ERROR_SHARING_VIOLATION, CFileException::sharingViolation },
    { ERROR_LOCK_VIOLATION, CFileException::lockViolation },
    { ERROR_DISK_FULL, CFileException::diskFull },
    { ERROR_HANDLE_DISK_FULL, CFileException::diskFull },
    { ERROR_HANDLE_EOF, CFileException::endOfFile },
};

// Indexed by CFileException cause; %s is the file name.
const char* const kFileCauseTexts[] = {
    "No error occurred while accessing %s.",
    "An unexpected error occurred while accessing %s.",
    "%s was not found.",
    "%s contains an invalid path.",
    "%s could not be opened because there are too many open files.",
    "Access to %s was denied.",
    "An unsupported operation was attempted on %s.",
    "%s is the current working directory and cannot be removed.",
    "%s could not be created because the directory is full.",
    "Seek failed on %s.",
    "A hardware I/O error was reported while accessing %s.",
    "A sharing violation occurred while accessing %s.",
    "A locking violation occurred while accessing %s.",
    "Disk full while accessing %s.",
    "An attempt was made to access %s past its end.",
};

// Indexed by CArchiveException cause; %s is the file name.
const char* const kArchiveCauseTexts[] = {
    "No error occurred while reading or writing %s.",
    "An unexpected error occurred while reading or writing %s.",
    "An attempt was made to write to the archive %s opened for loading.",
    "An attempt was made to read past the end of %s.",
    "An attempt was made to read from the archive %s opened for storing.",
    "%s has a bad format.",
    "%s contains an unexpected object.",
    "%s contains an object of an unsupported version.",
};

BOOL CopyMessage(LPCSTR text, LPSTR error, UINT maxError)
{
    if (!error || maxError == 0)
        return FALSE;
    lstrcpynA(error, text, maxError);
    return TRUE;
}

BOOL CauseMessage(const char* const* texts, int count, int cause, const CString& fileName,
                  LPSTR error, UINT maxError)
{
    if (cause < 0 || cause >= count)
        return FALSE;
    CString text;
    text.Format(texts[cause], fileName.IsEmpty() ? "an unnamed file" : static_cast<LPCSTR>(fileName));
    return CopyMessage(text, error, maxError);
}

// Thrown when memory runs out, so throwing needs none.
CMemoryException g_memoryException(FALSE);

// The innermost CATCH block running on this thread.
thread_local CExceptionLink* t_innermostLink;

} // namespace

CExceptionLink::CExceptionLink(CException* e) : m_exception(e), m_outer(t_innermostLink)
{
    t_innermostLink = this;
}

CExceptionLink::~CExceptionLink()
{
    t_innermostLink = m_outer;
    if (m_exception)
        m_exception->Delete();
}

void CExceptionLink::Forget(CException* e)
{
    for (CExceptionLink* link = t_innermostLink; link; link = link->m_outer) {
        if (link->m_exception == e)
            link->m_exception = NULL;
    }
}

CException::CException() : m_bAutoDelete(TRUE)
{
}

CException::CException(BOOL autoDelete) : m_bAutoDelete(autoDelete)
{
}

void CException::Delete()
{
    CExceptionLink::Forget(this);
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext)
{
    if (helpContext)
        *helpContext = 0;
    if (error && maxError > 0)
        *error = 0;
    return FALSE;
}

int CException::ReportError(UINT type, UINT messageId)
{
    char text[kReportTextSize];
    CString message;
    if (GetErrorMessage(text, sizeof(text)))
        message = text;
    else if (messageId == 0 || !message.LoadString(messageId))
        message = kNoErrorMessage;
    return AfxMessageBox(message, type);
}

CMemoryException::CMemoryException()
{
}

CMemoryException::CMemoryException(BOOL autoDelete) : CException(autoDelete)
{
}

BOOL CMemoryException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext)
{
    CException::GetErrorMessage(error, maxError, helpContext);
    return CopyMessage("Out of memory.", error, maxError);
}

BOOL CNotSupportedException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext)
{
    CException::GetErrorMessage(error, maxError, helpContext);
    return CopyMessage("Unsupported operation was attempted.", error, maxError);
}

BOOL CResourceException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext)
{
    CException::GetErrorMessage(error, maxError, helpContext);
    return CopyMessage("A required resource was unavailable.", error, maxError);
}

CFileException::CFileException(int cause, LONG osError, LPCSTR fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
{
}

int PASCAL CFileException::OsErrorToException(LONG osError)
{
    for (const OsErrorCause& entry : kOsErrorCauses) {
        if (entry.osError == osError)
            return entry.cause;
    }
    return osError == NO_ERROR ? none : generic;
}

void PASCAL CFileException::ThrowOsError(LONG osError, LPCSTR fileName)
{
    if (osError != NO_ERROR)
        AfxThrowFileException(OsErrorToException(osError), osError, fileName);
}

BOOL CFileException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext)
{
    CException::GetErrorMessage(error, maxError, helpContext);
    return CauseMessage(kFileCauseTexts, ARRAYSIZE(kFileCauseTexts), m_cause, m_strFileName,
                        error, maxError);
}

CArchiveException::CArchiveException(int cause, LPCSTR fileName)
    : m_cause(cause), m_strFileName(fileName)
{
}

BOOL CArchiveException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext)
{
    CException::GetErrorMessage(error, maxError, helpContext);
    return CauseMessage(kArchiveCauseTexts, ARRAYSIZE(kArchiveCauseTexts), m_cause, m_strFileName,
                        error, maxError);
}

void AfxThrowMemoryException()
{
    throw &g_memoryException;
}

void AfxThrowNotSupportedException()
{
    throw new CNotSupportedException;
}

void AfxThrowResourceException()
{
    throw new CResourceException;
}

void AfxThrowUserException()
{
    throw new CUserException;
}

void AfxThrowFileException(int cause, LONG osError, LPCSTR fileName)
{
    throw new CFileException(cause, osError, fileName);
}

void AfxThrowArchiveException(int cause, LPCSTR fileName)
{
    throw new CArchiveException(cause, fileName);
}
