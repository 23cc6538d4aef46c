// CArchive: typed values, texts and objects to and from a CFile, buffered.
// Objects carry class tags (a new class: 0xFFFF, schema, name; a class seen
// before: 0x8000 | index; an object seen before: its index), so one object
// stored twice loads as one object. End of data and bad data throw
// CArchiveException.
#pragma once

#include "platform/mfc/File.h"

#include <map>
#include <vector>

class CArchive
{
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };

    CArchive(CFile* file, UINT mode, int bufferSize = kDefaultBufferSize, void* buffer = NULL);
    // Closes the archive unless it was made with bNoFlushOnDelete.
    ~CArchive();

    BOOL IsLoading() const;
    BOOL IsStoring() const;
    CFile* GetFile() const;

    // The schema of the object being loaded; (UINT)-1 after the first call.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT schema);

    // Read returns what there was; the typed operators throw at the end.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);
    // Writes what is buffered; when loading, moves the file back to what was read.
    void Flush();
    void Close();
    void Abort();

    // Text lines: WriteString writes the characters only; ReadString ends a line
    // at LF, dropping a CR before it. The buffer form keeps the line end as "\n"
    // and returns NULL at the end of the data; the CString form drops it.
    void WriteString(LPCSTR text);
    LPSTR ReadString(LPSTR buffer, UINT max);
    BOOL ReadString(CString& text);

    void WriteObject(const CObject* object);
    CObject* ReadObject(const CRuntimeClass* requested);
    void WriteClass(const CRuntimeClass* runtimeClass);
    // NULL and the tag in *objectTag when the next tag is no class.
    CRuntimeClass* ReadClass(const CRuntimeClass* requested = NULL, UINT* schema = NULL,
                             DWORD* objectTag = NULL);

    // Element counts of collections: a WORD, or 0xFFFF and a DWORD.
    void WriteCount(DWORD count);
    DWORD ReadCount();

    CArchive& operator<<(BYTE value);
    CArchive& operator<<(WORD value);
    CArchive& operator<<(LONG value);
    CArchive& operator<<(DWORD value);
    CArchive& operator<<(float value);
    CArchive& operator<<(double value);
    CArchive& operator<<(const CObject* object);
    CArchive& operator<<(const CString& text);
    // Points, sizes and rectangles as their 32-bit fields.
    CArchive& operator<<(POINT point);
    CArchive& operator<<(SIZE size);
    CArchive& operator<<(const RECT& rect);

    CArchive& operator>>(BYTE& value);
    CArchive& operator>>(WORD& value);
    CArchive& operator>>(LONG& value);
    CArchive& operator>>(DWORD& value);
    CArchive& operator>>(float& value);
    CArchive& operator>>(double& value);
    CArchive& operator>>(CObject*& object);
    CArchive& operator>>(CString& text);
    CArchive& operator>>(POINT& point);
    CArchive& operator>>(SIZE& size);
    CArchive& operator>>(RECT& rect);

private:
    static const int kDefaultBufferSize = 4096;

    // One entry of what a load has seen, by tag index.
    struct CLoaded
    {
        void* pointer;
        BOOL isClass;
        UINT schema;
    };

    void StoreValue(const void* value, UINT size);
    void LoadValue(void* value, UINT size);
    BOOL FillBuffer();
    void FlushBuffer();
    void WriteIndex(DWORD index, WORD smallTag, DWORD bigTag);
    DWORD NextIndex();
    void CheckLoading() const;
    void CheckStoring() const;
    void ThrowArchive(int cause) const;

    CFile* m_pFile;
    UINT m_nMode;
    BOOL m_bUserBuf;
    BYTE* m_lpBufStart;
    BYTE* m_lpBufCur;
    BYTE* m_lpBufMax;
    UINT m_nBufSize;
    UINT m_nObjectSchema;
    std::map<const void*, DWORD> m_stored;
    std::vector<CLoaded> m_loaded;

    CArchive(const CArchive&);
    void operator=(const CArchive&);
};
