// CString: an 8-bit ANSI text that owns its characters.
// The object is exactly one pointer to the characters, so that it can stand
// where a const char* is expected. Passing it through "..." is another matter on
// this ABI (a class with a destructor goes by hidden reference): Format and
// TRACE turn CString arguments into their pointers before the call, and the
// build rejects a CString handed to any other "..." function.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <stdarg.h>

class CString;
LPCSTR AfxVarArg(const CString& s);
template <typename T>
inline const T& AfxVarArg(const T& value) { return value; }

class CString
{
public:
    CString();
    CString(const CString& other);
    // Takes the characters over; the source is left empty.
    CString(CString&& other) noexcept;
    CString(char ch, int repeat = 1);
    CString(LPCSTR text);
    CString(LPCSTR text, int length);
    CString(const unsigned char* text);
    // Wide texts are converted to the ANSI code page.
    CString(LPCWSTR text);
    CString(LPCWSTR text, int length);
    ~CString();

    int GetLength() const;
    BOOL IsEmpty() const;
    void Empty();

    char GetAt(int index) const;
    char operator[](int index) const;
    void SetAt(int index, char ch);
    operator LPCSTR() const { return m_pchData; }

    const CString& operator=(const CString& other);
    const CString& operator=(CString&& other) noexcept;
    const CString& operator=(char ch);
    const CString& operator=(LPCSTR text);
    const CString& operator=(const unsigned char* text);
    const CString& operator=(LPCWSTR text);

    const CString& operator+=(const CString& other);
    const CString& operator+=(char ch);
    const CString& operator+=(LPCSTR text);

    friend CString operator+(const CString& a, const CString& b);
    friend CString operator+(const CString& a, char ch);
    friend CString operator+(char ch, const CString& a);
    friend CString operator+(const CString& a, LPCSTR b);
    friend CString operator+(LPCSTR a, const CString& b);

    int Compare(LPCSTR text) const;
    // Only A-Z fold: the programs run in the C locale.
    int CompareNoCase(LPCSTR text) const;
    // Collation in the C locale is the byte order.
    int Collate(LPCSTR text) const;

    // Counts and starts out of range are clamped to the text.
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString SpanIncluding(LPCSTR set) const;
    CString SpanExcluding(LPCSTR set) const;

    void MakeUpper();
    void MakeLower();
    void MakeReverse();

    // Whitespace, one character or any character of a set.
    void TrimRight();
    void TrimRight(char ch);
    void TrimRight(LPCSTR set);
    void TrimLeft();
    void TrimLeft(char ch);
    void TrimLeft(LPCSTR set);

    // Each returns the number of replacements or removals.
    int Replace(char oldChar, char newChar);
    int Replace(LPCSTR oldText, LPCSTR newText);
    int Remove(char ch);
    // Each returns the new length; an index past the end appends.
    int Insert(int index, char ch);
    int Insert(int index, LPCSTR text);
    int Delete(int index, int count = 1);

    // -1 when not found or when the start is past the end.
    int Find(char ch) const;
    int Find(char ch, int start) const;
    int Find(LPCSTR text) const;
    int Find(LPCSTR text, int start) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR set) const;

    // printf conversions; CString arguments are passed as their characters.
    template <typename... Args>
    void Format(LPCSTR format, const Args&... args)
    {
        FormatArgs(format, AfxVarArg(args)...);
    }
    template <typename... Args>
    void Format(UINT formatId, const Args&... args)
    {
        CString format;
        format.LoadString(formatId);
        FormatArgs(format, AfxVarArg(args)...);
    }
    void FormatV(LPCSTR format, va_list args);

    // From the string table of AfxGetResourceHandle(); FALSE when it has no such string.
    BOOL LoadString(UINT id);
    // A new BSTR the caller frees with SysFreeString.
    BSTR AllocSysString() const;

    // Room for at least minLength characters; ReleaseBuffer(-1) takes the length
    // from the terminating zero.
    LPSTR GetBuffer(int minLength);
    LPSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);
    void FreeExtra();

private:
    void FormatArgs(LPCSTR format, ...);
    void AllocBuffer(int length);
    void Assign(LPCSTR text, int length);
    void Append(LPCSTR text, int length);
    void Swap(CString& other);
    void AssignWide(LPCWSTR text, int length);
    void SetLength(int length);
    int AllocLength() const;
    static CString Concat(LPCSTR a, int lengthA, LPCSTR b, int lengthB);

    LPSTR m_pchData;
};

// What a value becomes when it is handed to a "..." function.
inline LPCSTR AfxVarArg(const CString& s) { return s; }

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCSTR b);
bool operator==(LPCSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCSTR b);
bool operator!=(LPCSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator<(const CString& a, LPCSTR b);
bool operator<(LPCSTR a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator>(const CString& a, LPCSTR b);
bool operator>(LPCSTR a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator<=(const CString& a, LPCSTR b);
bool operator<=(LPCSTR a, const CString& b);
bool operator>=(const CString& a, const CString& b);
bool operator>=(const CString& a, LPCSTR b);
bool operator>=(LPCSTR a, const CString& b);
