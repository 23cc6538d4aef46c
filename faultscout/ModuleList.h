// The modules loaded in a watched process, for its symbols: our programs are
// ELF modules whose PE headers exist only in memory, so their import tables
// cannot be read from the files on disk.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ProcessModule
{
    std::string path; // lower-cased full path
    DWORD64 base;
    DWORD size;
};

// The process's own order, each path once; false with the system error set when
// the process cannot be read.
bool ListProcessModules(HANDLE process, std::vector<ProcessModule>& modules);
