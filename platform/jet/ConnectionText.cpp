#include "platform/jet/ConnectionText.h"

#include <ctype.h>

static std::u16string Trim(const std::u16string& text)
{
    size_t start = text.find_first_not_of(u" \t");
    if (start == std::u16string::npos)
        return std::u16string();
    size_t end = text.find_last_not_of(u" \t");
    return text.substr(start, end - start + 1);
}

static bool SameKey(const std::u16string& name, const char* key)
{
    size_t i = 0;
    for (; key[i]; i++)
        if (i >= name.size() || name[i] > 0x7f ||
            toupper(static_cast<int>(name[i])) != toupper(static_cast<unsigned char>(key[i])))
            return false;
    return i == name.size();
}

std::u16string ConnectionValue(const std::u16string& text, const char* key)
{
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u';', start);
        if (end == std::u16string::npos)
            end = text.size();
        std::u16string pair = text.substr(start, end - start);
        size_t equals = pair.find(u'=');
        if (equals != std::u16string::npos && SameKey(Trim(pair.substr(0, equals)), key))
            return Trim(pair.substr(equals + 1));
        start = end + 1;
    }
    return std::u16string();
}
