// _com_error as the compiler's COM support defines it: an HRESULT with the
// error object that came with it, thrown by code that turns failures into
// exceptions. Wine's headers have no comdef.h.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <string>

class _com_error
{
public:
    // Takes over the caller's reference to errorInfo unless addRef is true.
    explicit _com_error(HRESULT hr, IErrorInfo* errorInfo = nullptr, bool addRef = false);
    _com_error(const _com_error& other);
    _com_error& operator=(const _com_error& other);
    virtual ~_com_error();

    HRESULT Error() const { return m_hr; }
    // The system's message for the code, or "IDispatch error #n" for codes of
    // the dispatch range, or "Unknown error 0x..." otherwise.
    const char* ErrorMessage() const;
    // The error object's description in the ANSI code page; empty without one.
    std::string Description() const;

private:
    HRESULT m_hr;
    IErrorInfo* m_info;
    mutable char* m_message;    // made at the first ErrorMessage
};

// Throws _com_error with the thread's error object for a failed call.
void _com_issue_errorex(HRESULT hr, IUnknown* object, REFIID riid);
