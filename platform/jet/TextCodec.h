// Texts cross the provider in three forms: the consumer's 8-bit ANSI code page
// (DBTYPE_STR), UTF-16 (OLE DB names, BSTRs) and UTF-8 (what SQLite stores).
#pragma once

#include <windows.h>
#include <string>
#include <string.h>

// ASCII reads the same in all three forms.
bool IsPlainAscii(const char* text, size_t length);
std::string Utf8FromAnsi(const char* text, size_t length);
std::string AnsiFromUtf8(const char* text, size_t length);
std::string Utf8FromWide(const WCHAR* text);
std::u16string WideFromUtf8(const char* text);
