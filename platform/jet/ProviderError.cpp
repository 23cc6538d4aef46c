#include "platform/jet/ProviderError.h"

#include <oleauto.h>
#include <stdarg.h>
#include <stdio.h>

#include "JetIds.h"
#include "platform/jet/TextCodec.h"

HRESULT ProviderError(HRESULT hr, const char* description)
{
    ICreateErrorInfo* create = nullptr;
    if (FAILED(CreateErrorInfo(&create)))
        return hr;
    std::u16string text = WideFromUtf8(description);
    std::u16string source = WideFromUtf8(ZYM_JET_PROVIDER_PROGID);
    create->SetDescription(reinterpret_cast<LPOLESTR>(&text[0]));
    create->SetSource(reinterpret_cast<LPOLESTR>(&source[0]));
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
        SetErrorInfo(0, info);
        info->Release();
    }
    create->Release();
    return hr;
}

HRESULT ProviderErrorF(HRESULT hr, const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    return ProviderError(hr, text);
}
