// UTF-8 texts of the tags as the ANSI texts of the record.
#pragma once

#include <string>

// Copies text into field (size bytes with the terminating zero) in the process's
// ANSI code page with CR LF line breaks, cut at a whole character.
void CopyAnsiText(const std::string& utf8, char* field, size_t size);
