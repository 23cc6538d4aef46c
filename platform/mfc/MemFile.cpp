#include "platform/mfc/MemFile.h"

#include <stdlib.h>
#include <string.h>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT growBytes)
    : m_nGrowBytes(growBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0),
      m_lpBuffer(NULL), m_bAutoDelete(TRUE)
{
}

CMemFile::CMemFile(BYTE* buffer, UINT size, UINT growBytes) : CMemFile(growBytes)
{
    Attach(buffer, size, growBytes);
}

CMemFile::~CMemFile()
{
    Release();
}

void CMemFile::Attach(BYTE* buffer, UINT size, UINT growBytes)
{
    Release();
    m_lpBuffer = buffer;
    m_nBufferSize = size;
    // A fixed buffer holds data already; a growing one is filled by writing.
    m_nFileSize = growBytes == 0 ? size : 0;
    m_nGrowBytes = growBytes;
    m_nPosition = 0;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach()
{
    BYTE* buffer = m_lpBuffer;
    m_lpBuffer = NULL;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    m_bAutoDelete = TRUE;
    return buffer;
}

void CMemFile::Release()
{
    if (m_bAutoDelete)
        free(m_lpBuffer);
    m_lpBuffer = NULL;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
}

void CMemFile::Grow(DWORD newLength)
{
    if (newLength <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException();
    DWORD newSize = (newLength + m_nGrowBytes - 1) / m_nGrowBytes * m_nGrowBytes;
    if (newSize < newLength)
        AfxThrowMemoryException();
    BYTE* grown = static_cast<BYTE*>(realloc(m_lpBuffer, newSize));
    if (!grown)
        AfxThrowMemoryException();
    m_lpBuffer = grown;
    m_nBufferSize = newSize;
}

UINT CMemFile::Read(void* buffer, UINT count)
{
    if (m_nPosition >= m_nFileSize)
        return 0;
    UINT available = m_nFileSize - m_nPosition;
    if (count > available)
        count = available;
    memcpy(buffer, m_lpBuffer + m_nPosition, count);
    m_nPosition += count;
    return count;
}

void CMemFile::Write(const void* buffer, UINT count)
{
    if (count == 0)
        return;
    DWORD end = m_nPosition + count;
    if (end < m_nPosition)
        AfxThrowFileException(CFileException::diskFull);
    Grow(end);
    // A seek past the end left a gap; it reads as zeros.
    if (m_nPosition > m_nFileSize)
        memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    memcpy(m_lpBuffer + m_nPosition, buffer, count);
    m_nPosition = end;
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
}

LONG CMemFile::Seek(LONG offset, UINT from)
{
    LONGLONG base = from == begin ? 0 : from == current ? m_nPosition : m_nFileSize;
    LONGLONG position = base + offset;
    if (position < 0 || position > MAXLONG)
        AfxThrowFileException(CFileException::badSeek);
    m_nPosition = static_cast<DWORD>(position);
    return static_cast<LONG>(position);
}

DWORD CMemFile::GetPosition() const
{
    return m_nPosition;
}

DWORD CMemFile::GetLength() const
{
    return m_nFileSize;
}

void CMemFile::SetLength(DWORD newLength)
{
    Grow(newLength);
    if (newLength > m_nFileSize)
        memset(m_lpBuffer + m_nFileSize, 0, newLength - m_nFileSize);
    m_nFileSize = newLength;
    if (m_nPosition > newLength)
        m_nPosition = newLength;
}

void CMemFile::Flush()
{
}

void CMemFile::Close()
{
    Release();
}

void CMemFile::Abort()
{
    Release();
}
