#include "platform/mfc/FileFind.h"

#include "platform/mfc/PathText.h"

#include <string.h>

namespace {

const char kAllFiles[] = "*.*";

} // namespace

CFileFind::CFileFind() : m_hFind(INVALID_HANDLE_VALUE), m_bHasCurrent(FALSE), m_bHasNext(FALSE)
{
}

CFileFind::~CFileFind()
{
    Close();
}

BOOL CFileFind::FindFile(LPCSTR pattern, DWORD)
{
    Close();
    if (!pattern)
        pattern = kAllFiles;
    m_hFind = FindFirstFileA(pattern, &m_next);
    if (m_hFind == INVALID_HANDLE_VALUE)
        return FALSE;
    m_bHasNext = TRUE;

    char full[MAX_PATH];
    char* name = NULL;
    DWORD length = GetFullPathNameA(pattern, sizeof(full), full, &name);
    if (length > 0 && length < sizeof(full) && name)
        *name = 0;
    m_strRoot = length > 0 && length < sizeof(full) ? full : "";
    m_strRoot.TrimRight('\\');
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_bHasNext)
        return FALSE;
    m_current = m_next;
    m_bHasCurrent = TRUE;
    m_bHasNext = ::FindNextFileA(m_hFind, &m_next);
    return m_bHasNext;
}

void CFileFind::Close()
{
    if (m_hFind != INVALID_HANDLE_VALUE)
        FindClose(m_hFind);
    m_hFind = INVALID_HANDLE_VALUE;
    m_bHasCurrent = m_bHasNext = FALSE;
    m_strRoot.Empty();
}

CString CFileFind::GetFileName() const
{
    return m_bHasCurrent ? CString(m_current.cFileName) : CString();
}

CString CFileFind::GetFilePath() const
{
    if (!m_bHasCurrent)
        return CString();
    return m_strRoot + '\\' + m_current.cFileName;
}

CString CFileFind::GetFileTitle() const
{
    return PathTitle(GetFileName());
}

CString CFileFind::GetRoot() const
{
    return m_strRoot;
}

DWORD CFileFind::GetLength() const
{
    return m_bHasCurrent ? m_current.nFileSizeLow : 0;
}

BOOL CFileFind::GetLastWriteTime(FILETIME* time) const
{
    if (!m_bHasCurrent || !time)
        return FALSE;
    *time = m_current.ftLastWriteTime;
    return TRUE;
}

BOOL CFileFind::GetLastWriteTime(CTime& time) const
{
    FILETIME fileTime;
    if (!GetLastWriteTime(&fileTime))
        return FALSE;
    time = CTime(fileTime);
    return TRUE;
}

BOOL CFileFind::IsDirectory() const
{
    return m_bHasCurrent && (m_current.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL CFileFind::IsDots() const
{
    if (!IsDirectory())
        return FALSE;
    return strcmp(m_current.cFileName, ".") == 0 || strcmp(m_current.cFileName, "..") == 0;
}
