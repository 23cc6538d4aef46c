// CStdioFile: a file read and written as text lines. In text mode (the default
// unless typeBinary is given) CR LF reads as LF and LF writes as CR LF, as the
// Microsoft runtime's text files do; binary mode passes bytes unchanged.
#pragma once

#include "platform/mfc/File.h"

class CStdioFile : public CFile
{
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile();
    // Throws CFileException when the file cannot be opened.
    CStdioFile(LPCSTR fileName, UINT openFlags);

    BOOL Open(LPCSTR fileName, UINT openFlags, CFileException* error = NULL) override;

    // Up to max - 1 characters of one line, with its "\n"; NULL at the end of the file.
    virtual LPSTR ReadString(LPSTR buffer, UINT max);
    // One line without its line end; FALSE at the end of the file.
    virtual BOOL ReadString(CString& text);
    virtual void WriteString(LPCSTR text);

    UINT Read(void* buffer, UINT count) override;
    void Write(const void* buffer, UINT count) override;
    LONG Seek(LONG offset, UINT from) override;
    DWORD GetPosition() const override;
    void SetLength(DWORD newLength) override;
    void Flush() override;
    void Close() override;
    void Abort() override;

private:
    static const UINT kBufferSize = 4096;

    // The next byte as the program sees it, or -1 at the end of the file.
    int NextChar();
    BOOL FillBuffer();
    // Gives back what was read ahead, so that the file position is the caller's.
    void DropReadAhead();

    BOOL m_bText;
    BYTE m_buffer[kBufferSize];
    UINT m_nBufferPos;
    UINT m_nBufferLength;
};
