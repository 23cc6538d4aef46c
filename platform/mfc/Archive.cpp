#include "platform/mfc/Archive.h"

#include <string.h>

#include <utility>

namespace {

const WORD kNullTag = 0;
const WORD kNewClassTag = 0xFFFF;
const WORD kClassTag = 0x8000;
const DWORD kBigClassTag = 0x80000000;
const WORD kBigObjectTag = 0x7FFF;
const DWORD kMaxMapCount = 0x3FFFFFFE;

// Text lengths: a byte below 0xFF, else 0xFF and a WORD below 0xFFFF, else 0xFFFF and a DWORD.
const BYTE kByteLengthMark = 0xFF;
const WORD kWordLengthMark = 0xFFFF;
const DWORD kMaxTextLength = 0x7FFFFFFF;
// A long text is read in pieces so that a bad length cannot claim memory the data lacks.
const DWORD kTextPiece = 0x10000;
// Class names that can be told apart are short.
const WORD kMaxClassName = 64;

const UINT kNoObjectSchema = static_cast<UINT>(-1);

} // namespace

CArchive::CArchive(CFile* file, UINT mode, int bufferSize, void* buffer)
    : m_pFile(file), m_nMode(mode), m_bUserBuf(buffer != NULL),
      m_nBufSize(bufferSize > 0 ? bufferSize : kDefaultBufferSize),
      m_nObjectSchema(kNoObjectSchema)
{
    m_lpBufStart = m_bUserBuf ? static_cast<BYTE*>(buffer) : new BYTE[m_nBufSize];
    m_lpBufCur = m_lpBufStart;
    // Loading starts with an empty buffer; storing with an empty one to fill.
    m_lpBufMax = IsLoading() ? m_lpBufStart : m_lpBufStart + m_nBufSize;
    // Index 0 stands for NULL.
    m_loaded.push_back(CLoaded{ NULL, FALSE, 0 });
}

CArchive::~CArchive()
{
    if (m_pFile && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (CException* e) {
            e->Delete();
            Abort();
        }
    }
    if (!m_bUserBuf)
        delete[] m_lpBufStart;
}

BOOL CArchive::IsLoading() const
{
    return (m_nMode & load) != 0;
}

BOOL CArchive::IsStoring() const
{
    return !IsLoading();
}

CFile* CArchive::GetFile() const
{
    return m_pFile;
}

UINT CArchive::GetObjectSchema()
{
    UINT schema = m_nObjectSchema;
    m_nObjectSchema = kNoObjectSchema;
    return schema;
}

void CArchive::SetObjectSchema(UINT schema)
{
    m_nObjectSchema = schema;
}

void CArchive::ThrowArchive(int cause) const
{
    AfxThrowArchiveException(cause, m_pFile ? static_cast<LPCSTR>(m_pFile->GetFilePath()) : NULL);
}

void CArchive::CheckLoading() const
{
    if (!IsLoading())
        ThrowArchive(CArchiveException::writeOnly);
}

void CArchive::CheckStoring() const
{
    if (!IsStoring())
        ThrowArchive(CArchiveException::readOnly);
}

BOOL CArchive::FillBuffer()
{
    UINT read = m_pFile ? m_pFile->Read(m_lpBufStart, m_nBufSize) : 0;
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + read;
    return read > 0;
}

void CArchive::FlushBuffer()
{
    UINT count = static_cast<UINT>(m_lpBufCur - m_lpBufStart);
    m_lpBufCur = m_lpBufStart;
    if (count > 0 && m_pFile)
        m_pFile->Write(m_lpBufStart, count);
}

UINT CArchive::Read(void* buffer, UINT count)
{
    CheckLoading();
    BYTE* out = static_cast<BYTE*>(buffer);
    UINT done = 0;
    while (done < count) {
        if (m_lpBufCur == m_lpBufMax && !FillBuffer())
            break;
        UINT piece = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
        if (piece > count - done)
            piece = count - done;
        memcpy(out + done, m_lpBufCur, piece);
        m_lpBufCur += piece;
        done += piece;
    }
    return done;
}

void CArchive::Write(const void* buffer, UINT count)
{
    CheckStoring();
    const BYTE* in = static_cast<const BYTE*>(buffer);
    while (count > 0) {
        if (m_lpBufCur == m_lpBufMax)
            FlushBuffer();
        UINT piece = static_cast<UINT>(m_lpBufMax - m_lpBufCur);
        if (piece > count)
            piece = count;
        memcpy(m_lpBufCur, in, piece);
        m_lpBufCur += piece;
        in += piece;
        count -= piece;
    }
}

void CArchive::Flush()
{
    if (IsStoring()) {
        FlushBuffer();
        if (m_pFile)
            m_pFile->Flush();
        return;
    }
    LONG unread = static_cast<LONG>(m_lpBufMax - m_lpBufCur);
    if (unread > 0 && m_pFile)
        m_pFile->Seek(-unread, CFile::current);
    m_lpBufCur = m_lpBufMax = m_lpBufStart;
}

void CArchive::Close()
{
    Flush();
    m_pFile = NULL;
}

void CArchive::Abort()
{
    m_pFile = NULL;
    m_lpBufCur = m_lpBufStart;
}

void CArchive::StoreValue(const void* value, UINT size)
{
    Write(value, size);
}

void CArchive::LoadValue(void* value, UINT size)
{
    if (Read(value, size) != size)
        ThrowArchive(CArchiveException::endOfFile);
}

void CArchive::WriteString(LPCSTR text)
{
    if (text)
        Write(text, static_cast<UINT>(strlen(text)));
}

LPSTR CArchive::ReadString(LPSTR buffer, UINT max)
{
    CheckLoading();
    if (!buffer || max == 0)
        return NULL;
    UINT length = 0;
    BOOL sawAny = FALSE;
    while (length + 1 < max) {
        if (m_lpBufCur == m_lpBufMax && !FillBuffer())
            break;
        sawAny = TRUE;
        char ch = static_cast<char>(*m_lpBufCur++);
        if (ch == '\r') {
            if ((m_lpBufCur < m_lpBufMax || FillBuffer()) && *m_lpBufCur == '\n')
                continue;
        }
        buffer[length++] = ch;
        if (ch == '\n')
            break;
    }
    buffer[length] = 0;
    return sawAny ? buffer : NULL;
}

BOOL CArchive::ReadString(CString& text)
{
    const UINT kPiece = 128;
    char piece[kPiece];
    text.Empty();
    BOOL any = FALSE;
    while (ReadString(piece, kPiece)) {
        any = TRUE;
        size_t length = strlen(piece);
        if (length > 0 && piece[length - 1] == '\n') {
            piece[length - 1] = 0;
            text += piece;
            break;
        }
        text += piece;
    }
    return any;
}

void CArchive::WriteCount(DWORD count)
{
    if (count < kWordLengthMark) {
        *this << static_cast<WORD>(count);
        return;
    }
    *this << kWordLengthMark << count;
}

DWORD CArchive::ReadCount()
{
    WORD shortCount;
    *this >> shortCount;
    if (shortCount != kWordLengthMark)
        return shortCount;
    DWORD count;
    *this >> count;
    return count;
}

DWORD CArchive::NextIndex()
{
    DWORD index = static_cast<DWORD>(IsStoring() ? m_stored.size() + 1 : m_loaded.size());
    if (index > kMaxMapCount)
        ThrowArchive(CArchiveException::badIndex);
    return index;
}

void CArchive::WriteIndex(DWORD index, WORD smallTag, DWORD bigTag)
{
    if (index < kBigObjectTag) {
        *this << static_cast<WORD>(smallTag | index);
        return;
    }
    *this << kBigObjectTag << (bigTag | index);
}

void CArchive::WriteClass(const CRuntimeClass* runtimeClass)
{
    CheckStoring();
    auto seen = m_stored.find(runtimeClass);
    if (seen != m_stored.end()) {
        WriteIndex(seen->second, kClassTag, kBigClassTag);
        return;
    }
    if (runtimeClass->m_wSchema == kNoSchema)
        AfxThrowNotSupportedException();
    WORD nameLength = static_cast<WORD>(strlen(runtimeClass->m_lpszClassName));
    *this << kNewClassTag << static_cast<WORD>(runtimeClass->m_wSchema & ~VERSIONABLE_SCHEMA)
          << nameLength;
    Write(runtimeClass->m_lpszClassName, nameLength);
    m_stored[runtimeClass] = NextIndex();
}

void CArchive::WriteObject(const CObject* object)
{
    CheckStoring();
    if (!object) {
        *this << kNullTag;
        return;
    }
    auto seen = m_stored.find(object);
    if (seen != m_stored.end()) {
        WriteIndex(seen->second, 0, 0);
        return;
    }
    WriteClass(object->GetRuntimeClass());
    m_stored[object] = NextIndex();
    const_cast<CObject*>(object)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* requested, UINT* schema, DWORD* objectTag)
{
    CheckLoading();
    WORD tag;
    *this >> tag;
    DWORD fullTag;
    if (tag == kBigObjectTag)
        *this >> fullTag;
    else
        fullTag = (static_cast<DWORD>(tag & kClassTag) << 16) | (tag & ~kClassTag);

    CRuntimeClass* runtimeClass;
    UINT loadedSchema;
    if (tag == kNewClassTag) {
        WORD storedSchema, nameLength;
        *this >> storedSchema >> nameLength;
        if (nameLength > kMaxClassName)
            ThrowArchive(CArchiveException::badClass);
        char name[kMaxClassName + 1];
        LoadValue(name, nameLength);
        name[nameLength] = 0;
        runtimeClass = CRuntimeClass::FromName(name);
        if (!runtimeClass)
            ThrowArchive(CArchiveException::badClass);
        loadedSchema = storedSchema;
        if (!(runtimeClass->m_wSchema & VERSIONABLE_SCHEMA) && loadedSchema != runtimeClass->m_wSchema)
            ThrowArchive(CArchiveException::badSchema);
        NextIndex();
        m_loaded.push_back(CLoaded{ runtimeClass, TRUE, loadedSchema });
    } else if (!(fullTag & kBigClassTag)) {
        // An object tag (or NULL): ReadObject takes it from here.
        if (!objectTag)
            ThrowArchive(CArchiveException::badIndex);
        *objectTag = fullTag;
        return NULL;
    } else {
        DWORD index = fullTag & ~kBigClassTag;
        if (index == 0 || index >= m_loaded.size() || !m_loaded[index].isClass)
            ThrowArchive(CArchiveException::badIndex);
        runtimeClass = static_cast<CRuntimeClass*>(m_loaded[index].pointer);
        loadedSchema = m_loaded[index].schema;
    }
    if (requested && !runtimeClass->IsDerivedFrom(requested))
        ThrowArchive(CArchiveException::badClass);
    if (schema)
        *schema = loadedSchema;
    if (objectTag)
        *objectTag = fullTag;
    return runtimeClass;
}

CObject* CArchive::ReadObject(const CRuntimeClass* requested)
{
    UINT schema = 0;
    DWORD tag = 0;
    CRuntimeClass* runtimeClass = ReadClass(requested, &schema, &tag);
    if (!runtimeClass) {
        if (tag == 0)
            return NULL;
        if (tag >= m_loaded.size() || m_loaded[tag].isClass)
            ThrowArchive(CArchiveException::badIndex);
        CObject* object = static_cast<CObject*>(m_loaded[tag].pointer);
        if (requested && !object->IsKindOf(requested))
            ThrowArchive(CArchiveException::badClass);
        return object;
    }
    CObject* object = runtimeClass->CreateObject();
    if (!object)
        ThrowArchive(CArchiveException::badClass);
    // Entered before it loads, so that its parts can refer back to it.
    NextIndex();
    m_loaded.push_back(CLoaded{ object, FALSE, 0 });
    UINT outerSchema = m_nObjectSchema;
    m_nObjectSchema = schema;
    object->Serialize(*this);
    m_nObjectSchema = outerSchema;
    return object;
}

CArchive& CArchive::operator<<(BYTE value) { StoreValue(&value, sizeof(value)); return *this; }
CArchive& CArchive::operator<<(WORD value) { StoreValue(&value, sizeof(value)); return *this; }
CArchive& CArchive::operator<<(LONG value) { StoreValue(&value, sizeof(value)); return *this; }
CArchive& CArchive::operator<<(DWORD value) { StoreValue(&value, sizeof(value)); return *this; }
CArchive& CArchive::operator<<(float value) { StoreValue(&value, sizeof(value)); return *this; }
CArchive& CArchive::operator<<(double value) { StoreValue(&value, sizeof(value)); return *this; }
CArchive& CArchive::operator>>(BYTE& value) { LoadValue(&value, sizeof(value)); return *this; }
CArchive& CArchive::operator>>(WORD& value) { LoadValue(&value, sizeof(value)); return *this; }
CArchive& CArchive::operator>>(LONG& value) { LoadValue(&value, sizeof(value)); return *this; }
CArchive& CArchive::operator>>(DWORD& value) { LoadValue(&value, sizeof(value)); return *this; }
CArchive& CArchive::operator>>(float& value) { LoadValue(&value, sizeof(value)); return *this; }
CArchive& CArchive::operator>>(double& value) { LoadValue(&value, sizeof(value)); return *this; }

CArchive& CArchive::operator<<(POINT point) { StoreValue(&point, sizeof(point)); return *this; }
CArchive& CArchive::operator<<(SIZE size) { StoreValue(&size, sizeof(size)); return *this; }
CArchive& CArchive::operator<<(const RECT& rect) { StoreValue(&rect, sizeof(rect)); return *this; }
CArchive& CArchive::operator>>(POINT& point) { LoadValue(&point, sizeof(point)); return *this; }
CArchive& CArchive::operator>>(SIZE& size) { LoadValue(&size, sizeof(size)); return *this; }
CArchive& CArchive::operator>>(RECT& rect) { LoadValue(&rect, sizeof(rect)); return *this; }

CArchive& CArchive::operator<<(const CObject* object)
{
    WriteObject(object);
    return *this;
}

CArchive& CArchive::operator>>(CObject*& object)
{
    object = ReadObject(NULL);
    return *this;
}

CArchive& CArchive::operator<<(const CString& text)
{
    DWORD length = static_cast<DWORD>(text.GetLength());
    if (length < kByteLengthMark) {
        *this << static_cast<BYTE>(length);
    } else if (length < kWordLengthMark) {
        *this << kByteLengthMark << static_cast<WORD>(length);
    } else {
        *this << kByteLengthMark << kWordLengthMark << length;
    }
    Write(static_cast<LPCSTR>(text), length);
    return *this;
}

CArchive& CArchive::operator>>(CString& text)
{
    BYTE byteLength;
    *this >> byteLength;
    DWORD length = byteLength;
    if (byteLength == kByteLengthMark) {
        WORD wordLength;
        *this >> wordLength;
        length = wordLength;
        if (wordLength == kWordLengthMark)
            *this >> length;
    }
    if (length > kMaxTextLength)
        ThrowArchive(CArchiveException::badIndex);
    CString result;
    for (DWORD done = 0; done < length;) {
        DWORD piece = length - done < kTextPiece ? length - done : kTextPiece;
        char* chars = result.GetBuffer(static_cast<int>(done + piece));
        LoadValue(chars + done, piece);
        done += piece;
        result.ReleaseBuffer(static_cast<int>(done));
    }
    text = std::move(result);
    return *this;
}
