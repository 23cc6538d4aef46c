// What programs link instead of analyze.dll itself: the library is an outside part
// that may be missing, so it is loaded by name (the program's folder comes first)
// on the first call, and its absence is an error code like any other.
#include "analyze.h"

#include <windows.h>

namespace {

struct AnalyzerFunctions {
    int (*create)(ANALYZER**) = nullptr;
    int (*process)(ANALYZER*, const char*, ANALYZER_INFO*, unsigned, unsigned, unsigned) = nullptr;
    void (*destroy)(ANALYZER*) = nullptr;
};

AnalyzerFunctions LoadFunctions()
{
    AnalyzerFunctions functions;
    HMODULE library = LoadLibraryA("analyze.dll");
    if (library) {
        functions.create = (int (*)(ANALYZER**))GetProcAddress(library, "analyzer_new");
        functions.process = (int (*)(ANALYZER*, const char*, ANALYZER_INFO*, unsigned, unsigned,
                                     unsigned))GetProcAddress(library, "analyzer_process_file");
        functions.destroy = (void (*)(ANALYZER*))GetProcAddress(library, "analyzer_delete");
    }
    return functions;
}

// Loaded once and kept for the process's life, like a linked DLL.
const AnalyzerFunctions& Functions()
{
    static const AnalyzerFunctions functions = LoadFunctions();
    return functions;
}

} // namespace

extern "C" int analyzer_new(ANALYZER** analyzer)
{
    if (analyzer)
        *analyzer = nullptr;
    return Functions().create ? Functions().create(analyzer) : ANALYZER_E_NO_LIBRARY;
}

extern "C" int analyzer_process_file(ANALYZER* analyzer, const char* path, ANALYZER_INFO* info,
                                     unsigned flags, unsigned syncWindow, unsigned coverage)
{
    if (!Functions().process)
        return ANALYZER_E_NO_LIBRARY;
    return Functions().process(analyzer, path, info, flags, syncWindow, coverage);
}

extern "C" void analyzer_delete(ANALYZER* analyzer)
{
    if (Functions().destroy)
        Functions().destroy(analyzer);
}
