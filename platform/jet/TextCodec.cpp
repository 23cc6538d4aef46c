#include "platform/jet/TextCodec.h"

bool IsPlainAscii(const char* text, size_t length)
{
    for (size_t i = 0; i < length; i++)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    return true;
}

namespace {

std::u16string Widen(UINT codePage, const char* text, size_t length)
{
    int n = MultiByteToWideChar(codePage, 0, text, static_cast<int>(length), nullptr, 0);
    std::u16string wide(n, u'\0');
    if (n > 0)
        MultiByteToWideChar(codePage, 0, text, static_cast<int>(length),
                            reinterpret_cast<WCHAR*>(&wide[0]), n);
    return wide;
}

std::string Narrow(UINT codePage, const std::u16string& wide)
{
    const WCHAR* w = reinterpret_cast<const WCHAR*>(wide.c_str());
    int size = static_cast<int>(wide.size());
    int n = WideCharToMultiByte(codePage, 0, w, size, nullptr, 0, nullptr, nullptr);
    std::string text(n, '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, w, size, &text[0], n, nullptr, nullptr);
    return text;
}

}

// ASCII is the same in all three forms: the common case skips the conversions.
std::string Utf8FromAnsi(const char* text, size_t length)
{
    if (IsPlainAscii(text, length))
        return std::string(text, length);
    return Narrow(CP_UTF8, Widen(CP_ACP, text, length));
}

std::string AnsiFromUtf8(const char* text, size_t length)
{
    if (IsPlainAscii(text, length))
        return std::string(text, length);
    return Narrow(CP_ACP, Widen(CP_UTF8, text, length));
}

std::string Utf8FromWide(const WCHAR* text)
{
    if (!text)
        return std::string();
    return Narrow(CP_UTF8, std::u16string(reinterpret_cast<const char16_t*>(text)));
}

std::u16string WideFromUtf8(const char* text)
{
    return Widen(CP_UTF8, text, strlen(text));
}
