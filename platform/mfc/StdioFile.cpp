#include "platform/mfc/StdioFile.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

namespace {

const char kLineEnd[] = "\r\n";
const int kReadPiece = 128;

} // namespace

CStdioFile::CStdioFile() : m_bText(TRUE), m_nBufferPos(0), m_nBufferLength(0)
{
}

CStdioFile::CStdioFile(LPCSTR fileName, UINT openFlags) : CStdioFile()
{
    CFileException error;
    if (!Open(fileName, openFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

BOOL CStdioFile::Open(LPCSTR fileName, UINT openFlags, CFileException* error)
{
    m_bText = !(openFlags & typeBinary);
    m_nBufferPos = m_nBufferLength = 0;
    return CFile::Open(fileName, openFlags & ~(typeText | typeBinary), error);
}

BOOL CStdioFile::FillBuffer()
{
    m_nBufferPos = 0;
    m_nBufferLength = CFile::Read(m_buffer, kBufferSize);
    return m_nBufferLength > 0;
}

int CStdioFile::NextChar()
{
    if (m_nBufferPos == m_nBufferLength && !FillBuffer())
        return -1;
    int ch = m_buffer[m_nBufferPos++];
    if (ch != '\r' || !m_bText)
        return ch;
    if (m_nBufferPos == m_nBufferLength && !FillBuffer())
        return ch;
    if (m_buffer[m_nBufferPos] != '\n')
        return ch;
    m_nBufferPos++;
    return '\n';
}

void CStdioFile::DropReadAhead()
{
    LONG unread = static_cast<LONG>(m_nBufferLength - m_nBufferPos);
    m_nBufferPos = m_nBufferLength = 0;
    if (unread > 0)
        CFile::Seek(-unread, current);
}

LPSTR CStdioFile::ReadString(LPSTR buffer, UINT max)
{
    if (!buffer || max == 0)
        return NULL;
    UINT length = 0;
    BOOL any = FALSE;
    while (length + 1 < max) {
        int ch = NextChar();
        if (ch < 0)
            break;
        any = TRUE;
        buffer[length++] = static_cast<char>(ch);
        if (ch == '\n')
            break;
    }
    buffer[length] = 0;
    return any ? buffer : NULL;
}

BOOL CStdioFile::ReadString(CString& text)
{
    char piece[kReadPiece];
    text.Empty();
    BOOL any = FALSE;
    while (ReadString(piece, sizeof(piece))) {
        any = TRUE;
        size_t length = strlen(piece);
        BOOL lineEnd = length > 0 && piece[length - 1] == '\n';
        if (lineEnd)
            piece[length - 1] = 0;
        text += piece;
        if (lineEnd)
            break;
    }
    return any;
}

void CStdioFile::WriteString(LPCSTR text)
{
    if (text)
        Write(text, static_cast<UINT>(strlen(text)));
}

UINT CStdioFile::Read(void* buffer, UINT count)
{
    BYTE* out = static_cast<BYTE*>(buffer);
    UINT done = 0;
    for (; done < count; done++) {
        int ch = NextChar();
        if (ch < 0)
            break;
        out[done] = static_cast<BYTE>(ch);
    }
    return done;
}

void CStdioFile::Write(const void* buffer, UINT count)
{
    DropReadAhead();
    if (!m_bText) {
        CFile::Write(buffer, count);
        return;
    }
    const char* text = static_cast<const char*>(buffer);
    UINT start = 0;
    for (UINT i = 0; i < count; i++) {
        if (text[i] != '\n')
            continue;
        CFile::Write(text + start, i - start);
        CFile::Write(kLineEnd, sizeof(kLineEnd) - 1);
        start = i + 1;
    }
    CFile::Write(text + start, count - start);
}

LONG CStdioFile::Seek(LONG offset, UINT from)
{
    DropReadAhead();
    return CFile::Seek(offset, from);
}

DWORD CStdioFile::GetPosition() const
{
    return CFile::GetPosition() - (m_nBufferLength - m_nBufferPos);
}

void CStdioFile::SetLength(DWORD newLength)
{
    DropReadAhead();
    CFile::SetLength(newLength);
}

void CStdioFile::Flush()
{
    DropReadAhead();
    CFile::Flush();
}

void CStdioFile::Close()
{
    m_nBufferPos = m_nBufferLength = 0;
    CFile::Close();
}

void CStdioFile::Abort()
{
    m_nBufferPos = m_nBufferLength = 0;
    CFile::Abort();
}
