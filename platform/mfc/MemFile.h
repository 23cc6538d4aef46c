// CMemFile: a file in memory that grows in steps of its grow size. The buffer
// is malloc memory: an attached buffer that may grow must come from malloc, and
// the caller frees a detached one with free.
#pragma once

#include "platform/mfc/File.h"

class CMemFile : public CFile
{
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT growBytes = kDefaultGrowBytes);
    CMemFile(BYTE* buffer, UINT size, UINT growBytes = 0);
    ~CMemFile() override;

    // With growBytes 0 the file never grows beyond size; writing past it throws
    // CMemoryException.
    void Attach(BYTE* buffer, UINT size, UINT growBytes = 0);
    // Hands the buffer over; the file is empty after.
    BYTE* Detach();

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    LONG Seek(LONG offset, UINT from) override;
    DWORD GetPosition() const override;
    DWORD GetLength() const override;
    void SetLength(DWORD newLength) override;
    void Flush() override;
    void Close() override;
    void Abort() override;

private:
    static const UINT kDefaultGrowBytes = 1024;

    void Grow(DWORD newLength);
    void Release();

    UINT m_nGrowBytes;
    DWORD m_nPosition;
    DWORD m_nBufferSize;
    DWORD m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete;
};
