// The symbol engine over one process: loads the symbols of its modules, walks a
// thread's stack and turns addresses into module, symbol and source-line texts.
// Not thread-safe: reports run one at a time under the link lock.
#pragma once

#include <windows.h>
#include <dbghelp.h>

#include <string>
#include <vector>

class CSymbolEngine
{
public:
    CSymbolEngine() = default;
    ~CSymbolEngine() { Release(); }
    CSymbolEngine(const CSymbolEngine&) = delete;
    CSymbolEngine& operator=(const CSymbolEngine&) = delete;

    // Symbols of every module the live process holds, once until Release; false
    // with the system error set when the engine cannot start.
    bool Load(HANDLE process);
    // Symbols of a program file: our ELF programs are read only from a live
    // process, so the program is started held at its first instruction and
    // ended by Release.
    bool LoadProgram(const char* path);
    void Release();
    bool IsLoaded() const { return m_process != nullptr; }

    // One entry per frame walked from the context: the frame line and, when a
    // symbol holds the address, the symbol line.
    std::vector<std::string> WalkStack(HANDLE thread, const CONTEXT& context);

    // "name", "name+disp", then ", file:line" or ", file:line+disp" when the line is
    // known; empty when no symbol holds the address.
    std::string SymbolText(DWORD64 address);
    // The base name of the module holding the address and the address's offset in
    // it, "name+offset" (a saved report is resolved by these, as modules load
    // elsewhere on each run); "<UNKNOWN>" when no module holds it.
    std::string ModuleText(DWORD64 address);

    // The address at offset in the loaded module of that base name; 0 when none.
    DWORD64 AddressInModule(const std::string& baseName, DWORD64 offset);

private:
    bool StopAtFirstBreak();
    void EndProgram();

    std::string FrameText(const STACKFRAME64& frame);
    std::string ModuleBaseName(DWORD64 base);

    HANDLE m_process = nullptr;
    PROCESS_INFORMATION m_program = {};
};
