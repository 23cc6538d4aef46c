// CFileFind: walks the files that match a pattern. FindFile starts the search;
// each FindNextFile makes the next file current and returns FALSE when that
// file is the last one, so the loop is
//     for (BOOL more = find.FindFile(pattern); more;) { more = find.FindNextFile(); ... }
#pragma once

#include "platform/mfc/MfcString.h"
#include "platform/mfc/MfcTime.h"
#include "platform/mfc/Object.h"

class CFileFind : public CObject
{
public:
    CFileFind();
    ~CFileFind() override;

    // NULL looks for every file ("*.*") in the current folder.
    BOOL FindFile(LPCSTR pattern = NULL, DWORD unused = 0);
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const;
    // The folder of the pattern, as a full path, joined with the file name.
    CString GetFilePath() const;
    CString GetFileTitle() const;
    CString GetRoot() const;
    DWORD GetLength() const;
    BOOL GetLastWriteTime(FILETIME* time) const;
    BOOL GetLastWriteTime(CTime& time) const;
    BOOL IsDirectory() const;
    // "." and "..".
    BOOL IsDots() const;

private:
    HANDLE m_hFind;
    BOOL m_bHasCurrent;
    BOOL m_bHasNext;
    WIN32_FIND_DATAA m_current;
    WIN32_FIND_DATAA m_next;
    CString m_strRoot;

    CFileFind(const CFileFind&);
    void operator=(const CFileFind&);
};
