#include "mp3/analyzer/AnsiText.h"

#include <windows.h>

namespace {

std::u16string Wide(const std::string& utf8)
{
    int count = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), nullptr, 0);
    std::u16string wide(count, u'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), (int)utf8.size(), (WCHAR*)&wide[0], count);
    return wide;
}

std::string Ansi(const std::u16string& wide)
{
    int count = WideCharToMultiByte(CP_ACP, 0, (const WCHAR*)wide.data(), (int)wide.size(), nullptr, 0,
                                    nullptr, nullptr);
    std::string ansi(count, '\0');
    WideCharToMultiByte(CP_ACP, 0, (const WCHAR*)wide.data(), (int)wide.size(), &ansi[0], count, nullptr,
                        nullptr);
    return ansi;
}

// Tags break lines with LF alone; Win32 edit controls want CR LF.
std::string WithCrLf(const std::string& text)
{
    std::string result;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            result += '\r';
        result += text[i];
    }
    return result;
}

// The longest start of text within max bytes that ends at a whole character and
// does not split a CR LF pair.
size_t CutLength(const std::string& text, size_t max)
{
    size_t cut = 0;
    for (size_t i = 0; i < text.size();) {
        size_t n = IsDBCSLeadByte((BYTE)text[i]) && i + 1 < text.size() ? 2 : 1;
        if (i + n > max)
            break;
        i += n;
        cut = i;
    }
    if (cut > 0 && cut < text.size() && text[cut - 1] == '\r')
        cut--;
    return cut;
}

} // namespace

void CopyAnsiText(const std::string& utf8, char* field, size_t size)
{
    std::string text = WithCrLf(Ansi(Wide(utf8)));
    size_t length = CutLength(text, size - 1);
    memcpy(field, text.data(), length);
    field[length] = '\0';
}
