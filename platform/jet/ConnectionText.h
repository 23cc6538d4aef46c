// Connection texts: "Key=value" pairs separated by semicolons, keys in any case.
#pragma once

#include <string>

// The value of key (trimmed), or empty when the text does not name it.
std::u16string ConnectionValue(const std::u16string& text, const char* key);
