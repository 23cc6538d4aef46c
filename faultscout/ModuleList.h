// The modules loaded in a watched process, for its symbols: our programs are
// ELF modules whose PE headers exist only in memory, so their import tables
// cannot be read from the files on disk.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Lower-cased full paths in the process's own order, each once; false with the
// system error set when the process cannot be read.
bool ListProcessModules(HANDLE process, std::vector<std::string>& paths);
