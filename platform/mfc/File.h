// CFile: a binary file on a Win32 handle. Failures throw CFileException;
// Open reports them through its exception argument instead.
#pragma once

#include "platform/mfc/Exception.h"
#include "platform/mfc/MfcTime.h"
#include "platform/mfc/Object.h"

struct CFileStatus
{
    CTime m_ctime;
    CTime m_mtime;
    CTime m_atime;
    LONG m_size;
    BYTE m_attribute;
    char m_szFullName[MAX_PATH];
};

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };

    enum Attribute {
        normal = 0x00,
        readOnly = 0x01,
        hidden = 0x02,
        system = 0x04,
        volume = 0x08,
        directory = 0x10,
        archive = 0x20
    };

    enum SeekPosition { begin = 0, current = 1, end = 2 };

    static const HANDLE hFileNull;

    CFile();
    // Wraps a handle the caller keeps: destroying the CFile does not close it,
    // Close and Abort do.
    explicit CFile(HANDLE file);
    // Throws CFileException when the file cannot be opened.
    CFile(LPCSTR fileName, UINT openFlags);
    ~CFile() override;

    virtual BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = NULL);
    virtual UINT Read(void* buffer, UINT count);
    virtual void Write(const void* buffer, UINT count);
    virtual LONG Seek(LONG offset, UINT from);
    virtual DWORD GetPosition() const;
    virtual DWORD GetLength() const;
    virtual void SetLength(DWORD newLength);
    virtual void Flush();
    virtual void Close();
    // Closes without throwing, whatever state the file is in.
    virtual void Abort();

    void SeekToBegin();
    DWORD SeekToEnd();

    CString GetFilePath() const;
    CString GetFileName() const;
    CString GetFileTitle() const;
    void SetFilePath(LPCSTR path);

    BOOL GetStatus(CFileStatus& status) const;
    static BOOL PASCAL GetStatus(LPCSTR fileName, CFileStatus& status);
    static void PASCAL Rename(LPCSTR oldName, LPCSTR newName);
    static void PASCAL Remove(LPCSTR fileName);

    HANDLE m_hFile;

protected:
    void ThrowLastError() const;

    BOOL m_bCloseOnDelete;
    CString m_strFileName;
};
