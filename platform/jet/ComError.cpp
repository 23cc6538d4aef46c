#include "ComError.h"

#include <stdio.h>

// Codes of the dispatch range have no system message: they are numbered from this base.
static const HRESULT kDispatchCodeFirst = 0x80040200;
static const HRESULT kDispatchCodeLast = 0x8004ffff;

_com_error::_com_error(HRESULT hr, IErrorInfo* errorInfo, bool addRef)
    : m_hr(hr), m_info(errorInfo), m_message(nullptr)
{
    if (m_info && addRef)
        m_info->AddRef();
}

_com_error::_com_error(const _com_error& other)
    : m_hr(other.m_hr), m_info(other.m_info), m_message(nullptr)
{
    if (m_info)
        m_info->AddRef();
}

_com_error& _com_error::operator=(const _com_error& other)
{
    if (this == &other)
        return *this;
    if (other.m_info)
        other.m_info->AddRef();
    if (m_info)
        m_info->Release();
    LocalFree(m_message);
    m_hr = other.m_hr;
    m_info = other.m_info;
    m_message = nullptr;
    return *this;
}

_com_error::~_com_error()
{
    if (m_info)
        m_info->Release();
    LocalFree(m_message);
}

const char* _com_error::ErrorMessage() const
{
    if (m_message)
        return m_message;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                             FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, m_hr,
                             MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                             reinterpret_cast<LPSTR>(&m_message), 0, nullptr);
    if (n > 0) {
        // The system's texts end in a line end that callers do not want.
        while (n > 0 && (m_message[n - 1] == '\n' || m_message[n - 1] == '\r'))
            m_message[--n] = '\0';
        return m_message;
    }
    m_message = static_cast<char*>(LocalAlloc(LMEM_FIXED, 32));
    if (!m_message)
        return "";
    if (m_hr >= kDispatchCodeFirst && m_hr <= kDispatchCodeLast)
        snprintf(m_message, 32, "IDispatch error #%d", static_cast<int>(m_hr - kDispatchCodeFirst));
    else
        snprintf(m_message, 32, "Unknown error 0x%0X", static_cast<unsigned>(m_hr));
    return m_message;
}

static std::string AnsiText(BSTR text)
{
    std::string result;
    if (!text)
        return result;
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n > 1) {
        result.resize(n - 1);
        WideCharToMultiByte(CP_ACP, 0, text, -1, &result[0], n, nullptr, nullptr);
    }
    return result;
}

std::string _com_error::Description() const
{
    BSTR text = nullptr;
    if (!m_info || FAILED(m_info->GetDescription(&text)))
        return std::string();
    std::string result = AnsiText(text);
    SysFreeString(text);
    return result;
}

void _com_issue_errorex(HRESULT hr, IUnknown* object, REFIID riid)
{
    IErrorInfo* info = nullptr;
    ISupportErrorInfo* support = nullptr;
    if (object && SUCCEEDED(object->QueryInterface(IID_ISupportErrorInfo,
                                                    reinterpret_cast<void**>(&support)))) {
        if (support->InterfaceSupportsErrorInfo(riid) == S_OK && GetErrorInfo(0, &info) != S_OK)
            info = nullptr;
        support->Release();
    }
    throw _com_error(hr, info);
}
