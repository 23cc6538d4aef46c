#include "platform/mfc/File.h"

#include "platform/mfc/PathText.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

const UINT kAccessMask = 0x0003;
const UINT kShareMask = 0x0070;

DWORD AccessOf(UINT flags)
{
    switch (flags & kAccessMask) {
    case CFile::modeWrite:
        return GENERIC_WRITE;
    case CFile::modeReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}

DWORD ShareOf(UINT flags)
{
    switch (flags & kShareMask) {
    case CFile::shareDenyWrite:
        return FILE_SHARE_READ;
    case CFile::shareDenyRead:
        return FILE_SHARE_WRITE;
    case CFile::shareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:
        return 0;
    }
}

DWORD DispositionOf(UINT flags)
{
    if (!(flags & CFile::modeCreate))
        return OPEN_EXISTING;
    return (flags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}

CString FullPathOf(LPCSTR fileName)
{
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(fileName, sizeof(full), full, NULL);
    if (length == 0 || length >= sizeof(full))
        return CString(fileName);
    return CString(full);
}

CTime TimeOf(const FILETIME& fileTime)
{
    if (fileTime.dwLowDateTime == 0 && fileTime.dwHighDateTime == 0)
        return CTime();
    return CTime(fileTime);
}

void FillStatus(CFileStatus& status, LPCSTR fullName, const WIN32_FILE_ATTRIBUTE_DATA& data)
{
    lstrcpynA(status.m_szFullName, fullName, sizeof(status.m_szFullName));
    status.m_ctime = TimeOf(data.ftCreationTime);
    status.m_atime = TimeOf(data.ftLastAccessTime);
    status.m_mtime = TimeOf(data.ftLastWriteTime);
    status.m_size = static_cast<LONG>(data.nFileSizeLow);
    status.m_attribute = static_cast<BYTE>(data.dwFileAttributes);
}

} // namespace

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE)
{
}

CFile::CFile(HANDLE file) : m_hFile(file), m_bCloseOnDelete(FALSE)
{
}

CFile::CFile(LPCSTR fileName, UINT openFlags) : CFile()
{
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        Abort();
}

BOOL CFile::Open(LPCSTR fileName, UINT openFlags, CFileException* error)
{
    m_strFileName = FullPathOf(fileName);
    SECURITY_ATTRIBUTES security = { sizeof(security), NULL, !(openFlags & modeNoInherit) };
    HANDLE file = CreateFileA(fileName, AccessOf(openFlags), ShareOf(openFlags), &security,
                              DispositionOf(openFlags), FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        LONG osError = static_cast<LONG>(GetLastError());
        if (error) {
            error->m_lOsError = osError;
            error->m_cause = CFileException::OsErrorToException(osError);
            error->m_strFileName = fileName;
        }
        return FALSE;
    }
    m_hFile = file;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

void CFile::ThrowLastError() const
{
    CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), m_strFileName);
    // A failure without an error code still must not pass for success.
    AfxThrowFileException(CFileException::generic, -1, m_strFileName);
}

UINT CFile::Read(void* buffer, UINT count)
{
    if (count == 0)
        return 0;
    DWORD read = 0;
    if (!ReadFile(m_hFile, buffer, count, &read, NULL))
        ThrowLastError();
    return read;
}

void CFile::Write(const void* buffer, UINT count)
{
    if (count == 0)
        return;
    DWORD written = 0;
    if (!WriteFile(m_hFile, buffer, count, &written, NULL))
        ThrowLastError();
    if (written != count)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

LONG CFile::Seek(LONG offset, UINT from)
{
    SetLastError(NO_ERROR);
    DWORD position = SetFilePointer(m_hFile, offset, NULL, from);
    if (position == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        ThrowLastError();
    return static_cast<LONG>(position);
}

DWORD CFile::GetPosition() const
{
    SetLastError(NO_ERROR);
    DWORD position = SetFilePointer(m_hFile, 0, NULL, FILE_CURRENT);
    if (position == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        ThrowLastError();
    return position;
}

DWORD CFile::GetLength() const
{
    SetLastError(NO_ERROR);
    DWORD length = GetFileSize(m_hFile, NULL);
    if (length == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        ThrowLastError();
    return length;
}

void CFile::SetLength(DWORD newLength)
{
    Seek(static_cast<LONG>(newLength), begin);
    if (!SetEndOfFile(m_hFile))
        ThrowLastError();
}

void CFile::Flush()
{
    if (m_hFile != hFileNull && !FlushFileBuffers(m_hFile))
        ThrowLastError();
}

void CFile::Close()
{
    BOOL failed = FALSE;
    if (m_hFile != hFileNull)
        failed = !CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    if (failed)
        ThrowLastError();
}

void CFile::Abort()
{
    if (m_hFile != hFileNull)
        CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
}

void CFile::SeekToBegin()
{
    Seek(0, begin);
}

DWORD CFile::SeekToEnd()
{
    return static_cast<DWORD>(Seek(0, end));
}

CString CFile::GetFilePath() const
{
    return m_strFileName;
}

CString CFile::GetFileName() const
{
    return m_strFileName.Mid(PathNameStart(m_strFileName));
}

CString CFile::GetFileTitle() const
{
    return PathTitle(GetFileName());
}

void CFile::SetFilePath(LPCSTR path)
{
    m_strFileName = path;
}

BOOL CFile::GetStatus(CFileStatus& status) const
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(m_hFile, &info))
        return FALSE;
    WIN32_FILE_ATTRIBUTE_DATA data = { info.dwFileAttributes, info.ftCreationTime,
                                       info.ftLastAccessTime, info.ftLastWriteTime,
                                       info.nFileSizeHigh, info.nFileSizeLow };
    FillStatus(status, m_strFileName, data);
    return TRUE;
}

BOOL PASCAL CFile::GetStatus(LPCSTR fileName, CFileStatus& status)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(fileName, GetFileExInfoStandard, &data))
        return FALSE;
    FillStatus(status, FullPathOf(fileName), data);
    return TRUE;
}

void PASCAL CFile::Rename(LPCSTR oldName, LPCSTR newName)
{
    if (!MoveFileA(oldName, newName))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), oldName);
}

void PASCAL CFile::Remove(LPCSTR fileName)
{
    if (!DeleteFileA(fileName))
        CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), fileName);
}
