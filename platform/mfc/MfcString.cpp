#include "platform/mfc/MfcString.h"

#include "platform/mfc/Exception.h"
#include "platform/mfc/Module.h"
#include "platform/crt/StringCase.h"

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

// Lives just before the characters a CString points at.
struct CStringData
{
    int length;
    int allocLength;
    char* Chars() { return reinterpret_cast<char*>(this + 1); }
};

// The empty text every fresh CString shares; it is never written beyond its zero.
struct CEmptyString
{
    CStringData header;
    char zero;
} g_emptyString = { { 0, 0 }, 0 };

const char kWhitespace[] = " \t\n\v\f\r";
const char kFormatFlagsAndWidth[] = "-+ #0123456789.*";
const char kIntegerConversions[] = "diouxX";
const int kFirstLoadStringSize = 256;

CStringData* DataOf(LPCSTR chars)
{
    return reinterpret_cast<CStringData*>(const_cast<char*>(chars)) - 1;
}

// A NULL text reads as empty.
LPCSTR SafeText(LPCSTR text)
{
    return text ? text : "";
}

int SafeLength(LPCSTR text)
{
    return static_cast<int>(strlen(SafeText(text)));
}

int Clamp(int value, int low, int high)
{
    if (value < low)
        return low;
    return value > high ? high : value;
}

char AsciiUpper(char ch)
{
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch;
}

char AsciiLower(char ch)
{
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// Microsoft's printf sizes in glibc's terms: 'l' on an integer conversion is
// 32 bits there (LONG, DWORD), "I64" is 64 bits, "I32" 32 bits.
CString GlibcFormat(LPCSTR format)
{
    CString result;
    const char* p = format;
    while (*p) {
        if (*p != '%') {
            result += *p++;
            continue;
        }
        result += *p++;
        while (*p && strchr(kFormatFlagsAndWidth, *p))
            result += *p++;
        if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
            result += "ll";
            p += 3;
        } else if (p[0] == 'I' && p[1] == '3' && p[2] == '2') {
            p += 3;
        } else if (p[0] == 'l' && p[1] && strchr(kIntegerConversions, p[1])) {
            p++;
        }
        if (*p)
            result += *p++;
    }
    return result;
}

} // namespace

CString::CString() : m_pchData(g_emptyString.header.Chars())
{
}

CString::CString(const CString& other) : CString()
{
    Assign(other.m_pchData, other.GetLength());
}

CString::CString(CString&& other) noexcept : CString()
{
    Swap(other);
}

CString::CString(char ch, int repeat) : CString()
{
    if (repeat <= 0)
        return;
    AllocBuffer(repeat);
    memset(m_pchData, ch, repeat);
}

CString::CString(LPCSTR text) : CString()
{
    Assign(text, SafeLength(text));
}

CString::CString(LPCSTR text, int length) : CString()
{
    if (text)
        Assign(text, static_cast<int>(strnlen(text, length > 0 ? length : 0)));
}

CString::CString(const unsigned char* text) : CString(reinterpret_cast<LPCSTR>(text))
{
}

CString::CString(LPCWSTR text) : CString()
{
    AssignWide(text, -1);
}

CString::CString(LPCWSTR text, int length) : CString()
{
    if (length > 0)
        AssignWide(text, length);
}

CString::~CString()
{
    if (AllocLength() != 0)
        free(DataOf(m_pchData));
}

int CString::AllocLength() const
{
    return DataOf(m_pchData)->allocLength;
}

int CString::GetLength() const
{
    return DataOf(m_pchData)->length;
}

BOOL CString::IsEmpty() const
{
    return GetLength() == 0;
}

void CString::Empty()
{
    if (AllocLength() != 0)
        free(DataOf(m_pchData));
    m_pchData = g_emptyString.header.Chars();
}

// Makes room for length characters and a zero, discarding the old text.
void CString::AllocBuffer(int length)
{
    if (length <= AllocLength()) {
        SetLength(length);
        return;
    }
    Empty();
    CStringData* data = static_cast<CStringData*>(malloc(sizeof(CStringData) + length + 1));
    if (!data)
        AfxThrowMemoryException();
    data->allocLength = length;
    m_pchData = data->Chars();
    SetLength(length);
}

void CString::SetLength(int length)
{
    if (AllocLength() == 0)
        return;
    DataOf(m_pchData)->length = length;
    m_pchData[length] = 0;
}

void CString::Assign(LPCSTR text, int length)
{
    if (length == 0) {
        Empty();
        return;
    }
    // memmove: the source may lie inside this text.
    if (length <= AllocLength()) {
        memmove(m_pchData, text, length);
        SetLength(length);
        return;
    }
    CString copy;
    copy.AllocBuffer(length);
    memcpy(copy.m_pchData, text, length);
    Swap(copy);
}

void CString::Swap(CString& other)
{
    char* chars = m_pchData;
    m_pchData = other.m_pchData;
    other.m_pchData = chars;
}

void CString::Append(LPCSTR text, int length)
{
    if (length <= 0)
        return;
    int oldLength = GetLength();
    if (length > INT_MAX - oldLength)
        AfxThrowMemoryException();
    int newLength = oldLength + length;
    if (newLength <= AllocLength()) {
        memmove(m_pchData + oldLength, text, length);
        SetLength(newLength);
        return;
    }
    // Room to spare, so that a text built by repeated appends is copied
    // a logarithmic number of times. The source may lie in the old buffer,
    // which lives until the swap.
    int room = oldLength <= INT_MAX / 2 && newLength < 2 * oldLength ? 2 * oldLength : newLength;
    CString grown;
    grown.AllocBuffer(room);
    memcpy(grown.m_pchData, m_pchData, oldLength);
    memcpy(grown.m_pchData + oldLength, text, length);
    grown.SetLength(newLength);
    Swap(grown);
}

CString CString::Concat(LPCSTR a, int lengthA, LPCSTR b, int lengthB)
{
    CString result;
    if (lengthA + lengthB == 0)
        return result;
    result.AllocBuffer(lengthA + lengthB);
    memcpy(result.m_pchData, a, lengthA);
    memcpy(result.m_pchData + lengthA, b, lengthB);
    return result;
}

void CString::AssignWide(LPCWSTR text, int length)
{
    Empty();
    if (!text)
        return;
    int bytes = WideCharToMultiByte(CP_ACP, 0, text, length, NULL, 0, NULL, NULL);
    if (bytes <= 0)
        return;
    CString converted;
    converted.AllocBuffer(bytes);
    WideCharToMultiByte(CP_ACP, 0, text, length, converted.m_pchData, bytes, NULL, NULL);
    // A length of -1 converted the terminating zero as well.
    converted.ReleaseBuffer(length < 0 ? -1 : bytes);
    Swap(converted);
}

char CString::GetAt(int index) const
{
    return m_pchData[index];
}

char CString::operator[](int index) const
{
    return m_pchData[index];
}

void CString::SetAt(int index, char ch)
{
    if (index >= 0 && index < GetLength())
        m_pchData[index] = ch;
}

const CString& CString::operator=(const CString& other)
{
    if (this != &other)
        Assign(other.m_pchData, other.GetLength());
    return *this;
}

const CString& CString::operator=(CString&& other) noexcept
{
    if (this != &other) {
        Empty();
        Swap(other);
    }
    return *this;
}

const CString& CString::operator=(char ch)
{
    Assign(&ch, 1);
    return *this;
}

const CString& CString::operator=(LPCSTR text)
{
    Assign(text, SafeLength(text));
    return *this;
}

const CString& CString::operator=(const unsigned char* text)
{
    return *this = reinterpret_cast<LPCSTR>(text);
}

const CString& CString::operator=(LPCWSTR text)
{
    AssignWide(text, -1);
    return *this;
}

const CString& CString::operator+=(const CString& other)
{
    Append(other.m_pchData, other.GetLength());
    return *this;
}

const CString& CString::operator+=(char ch)
{
    Append(&ch, 1);
    return *this;
}

const CString& CString::operator+=(LPCSTR text)
{
    Append(text, SafeLength(text));
    return *this;
}

CString operator+(const CString& a, const CString& b)
{
    return CString::Concat(a.m_pchData, a.GetLength(), b.m_pchData, b.GetLength());
}

CString operator+(const CString& a, char ch)
{
    return CString::Concat(a.m_pchData, a.GetLength(), &ch, 1);
}

CString operator+(char ch, const CString& a)
{
    return CString::Concat(&ch, 1, a.m_pchData, a.GetLength());
}

CString operator+(const CString& a, LPCSTR b)
{
    return CString::Concat(a.m_pchData, a.GetLength(), b, SafeLength(b));
}

CString operator+(LPCSTR a, const CString& b)
{
    return CString::Concat(a, SafeLength(a), b.m_pchData, b.GetLength());
}

int CString::Compare(LPCSTR text) const
{
    return strcmp(m_pchData, SafeText(text));
}

int CString::CompareNoCase(LPCSTR text) const
{
    return _stricmp(m_pchData, SafeText(text));
}

int CString::Collate(LPCSTR text) const
{
    return Compare(text);
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    first = Clamp(first, 0, GetLength());
    count = Clamp(count, 0, GetLength() - first);
    return CString(m_pchData + first, count);
}

CString CString::Left(int count) const
{
    return Mid(0, count);
}

CString CString::Right(int count) const
{
    count = Clamp(count, 0, GetLength());
    return CString(m_pchData + GetLength() - count, count);
}

CString CString::SpanIncluding(LPCSTR set) const
{
    return Left(static_cast<int>(strspn(m_pchData, SafeText(set))));
}

CString CString::SpanExcluding(LPCSTR set) const
{
    return Left(static_cast<int>(strcspn(m_pchData, SafeText(set))));
}

void CString::MakeUpper()
{
    for (int i = 0; i < GetLength(); i++)
        m_pchData[i] = AsciiUpper(m_pchData[i]);
}

void CString::MakeLower()
{
    for (int i = 0; i < GetLength(); i++)
        m_pchData[i] = AsciiLower(m_pchData[i]);
}

void CString::MakeReverse()
{
    for (int i = 0, j = GetLength() - 1; i < j; i++, j--) {
        char ch = m_pchData[i];
        m_pchData[i] = m_pchData[j];
        m_pchData[j] = ch;
    }
}

void CString::TrimRight()
{
    TrimRight(kWhitespace);
}

void CString::TrimRight(char ch)
{
    const char set[2] = { ch, 0 };
    TrimRight(set);
}

void CString::TrimRight(LPCSTR set)
{
    int length = GetLength();
    set = SafeText(set);
    while (length > 0 && strchr(set, m_pchData[length - 1]))
        length--;
    SetLength(length);
}

void CString::TrimLeft()
{
    TrimLeft(kWhitespace);
}

void CString::TrimLeft(char ch)
{
    const char set[2] = { ch, 0 };
    TrimLeft(set);
}

void CString::TrimLeft(LPCSTR set)
{
    int first = 0;
    set = SafeText(set);
    while (first < GetLength() && strchr(set, m_pchData[first]))
        first++;
    if (first > 0)
        *this = Mid(first);
}

int CString::Replace(char oldChar, char newChar)
{
    int count = 0;
    for (int i = 0; i < GetLength(); i++) {
        if (m_pchData[i] == oldChar) {
            m_pchData[i] = newChar;
            count++;
        }
    }
    return count;
}

int CString::Replace(LPCSTR oldText, LPCSTR newText)
{
    int oldLength = SafeLength(oldText);
    if (oldLength == 0)
        return 0;
    int newLength = SafeLength(newText);
    CString result;
    int count = 0;
    int start = 0;
    for (int found = Find(oldText); found >= 0; found = Find(oldText, start)) {
        result.Append(m_pchData + start, found - start);
        result.Append(newText, newLength);
        start = found + oldLength;
        count++;
    }
    if (count > 0) {
        result.Append(m_pchData + start, GetLength() - start);
        Swap(result);
    }
    return count;
}

int CString::Remove(char ch)
{
    int kept = 0;
    for (int i = 0; i < GetLength(); i++) {
        if (m_pchData[i] != ch)
            m_pchData[kept++] = m_pchData[i];
    }
    int removed = GetLength() - kept;
    SetLength(kept);
    return removed;
}

int CString::Insert(int index, char ch)
{
    const char text[2] = { ch, 0 };
    return Insert(index, text);
}

int CString::Insert(int index, LPCSTR text)
{
    index = Clamp(index, 0, GetLength());
    *this = Left(index) + text + Mid(index);
    return GetLength();
}

int CString::Delete(int index, int count)
{
    if (index < 0)
        index = 0;
    if (count > 0 && index < GetLength())
        *this = Left(index) + Mid(index + count);
    return GetLength();
}

int CString::Find(char ch) const
{
    return Find(ch, 0);
}

int CString::Find(char ch, int start) const
{
    if (start < 0)
        start = 0;
    if (start >= GetLength())
        return -1;
    const char* found = static_cast<const char*>(memchr(m_pchData + start, ch, GetLength() - start));
    return found ? static_cast<int>(found - m_pchData) : -1;
}

int CString::Find(LPCSTR text) const
{
    return Find(text, 0);
}

int CString::Find(LPCSTR text, int start) const
{
    if (start < 0)
        start = 0;
    if (start > GetLength() || !text)
        return -1;
    const char* found = strstr(m_pchData + start, text);
    return found ? static_cast<int>(found - m_pchData) : -1;
}

int CString::ReverseFind(char ch) const
{
    for (int i = GetLength() - 1; i >= 0; i--) {
        if (m_pchData[i] == ch)
            return i;
    }
    return -1;
}

int CString::FindOneOf(LPCSTR set) const
{
    int index = static_cast<int>(strcspn(m_pchData, SafeText(set)));
    return index < GetLength() ? index : -1;
}

void CString::FormatArgs(LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(LPCSTR format, va_list args)
{
    if (!format) {
        Empty();
        return;
    }
    CString glibcFormat = GlibcFormat(format);
    format = glibcFormat;
    va_list measure;
    va_copy(measure, args);
    int length = vsnprintf(NULL, 0, format, measure);
    va_end(measure);
    if (length <= 0) {
        Empty();
        return;
    }
    CString result;
    result.AllocBuffer(length);
    vsnprintf(result.m_pchData, length + 1, format, args);
    Swap(result);
}

BOOL CString::LoadString(UINT id)
{
    // LoadStringA fills the buffer up to its size less one when the text is longer.
    for (int size = kFirstLoadStringSize;; size *= 2) {
        CString text;
        int length = ::LoadStringA(AfxGetResourceHandle(), id, text.GetBuffer(size), size + 1);
        text.ReleaseBuffer(length);
        if (length < size) {
            Swap(text);
            return length > 0;
        }
    }
}

BSTR CString::AllocSysString() const
{
    int wideLength = MultiByteToWideChar(CP_ACP, 0, m_pchData, GetLength(), NULL, 0);
    BSTR result = SysAllocStringLen(NULL, wideLength);
    if (!result)
        AfxThrowMemoryException();
    MultiByteToWideChar(CP_ACP, 0, m_pchData, GetLength(), result, wideLength);
    return result;
}

LPSTR CString::GetBuffer(int minLength)
{
    if (minLength > AllocLength()) {
        int length = GetLength();
        CString grown;
        grown.AllocBuffer(minLength);
        memcpy(grown.m_pchData, m_pchData, length + 1);
        DataOf(grown.m_pchData)->length = length;
        Swap(grown);
    }
    return m_pchData;
}

LPSTR CString::GetBufferSetLength(int length)
{
    if (length < 0)
        length = 0;
    GetBuffer(length);
    SetLength(length);
    return m_pchData;
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = static_cast<int>(strnlen(m_pchData, AllocLength()));
    SetLength(Clamp(newLength, 0, AllocLength()));
}

void CString::FreeExtra()
{
    if (AllocLength() > GetLength()) {
        CString tight(m_pchData, GetLength());
        Swap(tight);
    }
}

bool operator==(const CString& a, const CString& b) { return a.Compare(b) == 0; }
bool operator==(const CString& a, LPCSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return a.Compare(b) != 0; }
bool operator!=(const CString& a, LPCSTR b) { return a.Compare(b) != 0; }
bool operator!=(LPCSTR a, const CString& b) { return b.Compare(a) != 0; }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator<(const CString& a, LPCSTR b) { return a.Compare(b) < 0; }
bool operator<(LPCSTR a, const CString& b) { return b.Compare(a) > 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator>(const CString& a, LPCSTR b) { return a.Compare(b) > 0; }
bool operator>(LPCSTR a, const CString& b) { return b.Compare(a) < 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator<=(const CString& a, LPCSTR b) { return a.Compare(b) <= 0; }
bool operator<=(LPCSTR a, const CString& b) { return b.Compare(a) >= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
bool operator>=(const CString& a, LPCSTR b) { return a.Compare(b) >= 0; }
bool operator>=(LPCSTR a, const CString& b) { return b.Compare(a) <= 0; }
