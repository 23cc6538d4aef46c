#include "faultscout/SymbolEngine.h"

#include "faultscout/ModuleList.h"
#include "platform/mfc/FormatText.h"

#include <dbghelp.h>
#include <psapi.h>

#include <cstring>

namespace {

// Deferred loading and line numbers on top of the current options.
const DWORD kSymbolOptions = SYMOPT_DEFERRED_LOADS | SYMOPT_LOAD_LINES;
const DWORD kMaxSymbolName = 488;
const DWORD kProgramStartTimeout = 10000;

std::string FileNamePart(const char* path)
{
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/')
            name = p + 1;
    return name;
}

} // namespace

bool CSymbolEngine::Load(HANDLE process)
{
    if (m_process)
        return true;
    SymSetOptions(SymGetOptions() | kSymbolOptions);
    if (!SymInitialize(process, nullptr, FALSE))
        return false;
    m_process = process;
    // The process's own module list replaces a walk of import tables: ours carry
    // their PE headers only in memory. Our ELF modules are found by the engine
    // from these PE names, at bases of their own.
    std::vector<ProcessModule> modules;
    ListProcessModules(process, modules);
    for (const auto& module : modules)
        SymLoadModuleEx(process, nullptr, module.path.c_str(), nullptr, module.base, module.size,
                        nullptr, 0);
    return true;
}

bool CSymbolEngine::LoadProgram(const char* path)
{
    Release();
    STARTUPINFOA startup = {sizeof startup};
    if (!CreateProcessA(path, nullptr, nullptr, nullptr, FALSE,
                        DEBUG_ONLY_THIS_PROCESS | DETACHED_PROCESS, nullptr, nullptr, &startup,
                        &m_program))
        return false;
    if (!StopAtFirstBreak() || !Load(m_program.hProcess)) {
        DWORD error = GetLastError();
        EndProgram();
        SetLastError(error);
        return false;
    }
    return true;
}

// Its modules are loaded by then; none of its own code has run but its
// libraries' initialisation.
bool CSymbolEngine::StopAtFirstBreak()
{
    DEBUG_EVENT event;
    for (;;) {
        if (!WaitForDebugEvent(&event, kProgramStartTimeout))
            return false;
        if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT && event.u.CreateProcessInfo.hFile)
            CloseHandle(event.u.CreateProcessInfo.hFile);
        if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT && event.u.LoadDll.hFile)
            CloseHandle(event.u.LoadDll.hFile);
        if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT)
            return true;
        if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
            SetLastError(ERROR_PROCESS_ABORTED);
            return false;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
    }
}

void CSymbolEngine::EndProgram()
{
    if (!m_program.hProcess)
        return;
    TerminateProcess(m_program.hProcess, 0);
    DebugActiveProcessStop(m_program.dwProcessId);
    WaitForSingleObject(m_program.hProcess, kProgramStartTimeout);
    CloseHandle(m_program.hThread);
    CloseHandle(m_program.hProcess);
    m_program = {};
}

void CSymbolEngine::Release()
{
    if (m_process)
        SymCleanup(m_process);
    m_process = nullptr;
    EndProgram();
}

std::vector<std::string> CSymbolEngine::WalkStack(HANDLE thread, const CONTEXT& context)
{
    std::vector<std::string> entries;
    CONTEXT walked = context;
    STACKFRAME64 frame = {};
    frame.AddrPC.Offset = context.Rip;
    frame.AddrFrame.Offset = context.Rbp;
    frame.AddrStack.Offset = context.Rsp;
    frame.AddrPC.Mode = frame.AddrFrame.Mode = frame.AddrStack.Mode = AddrModeFlat;
    // The frame pointer is a general register on this platform, so it ends no
    // walk; a stack that stops growing toward its base does (a damaged stack
    // would otherwise repeat one frame for ever).
    DWORD64 lastStack = 0;
    while (StackWalk64(IMAGE_FILE_MACHINE_AMD64, m_process, thread, &frame, &walked, nullptr,
                       SymFunctionTableAccess64, SymGetModuleBase64, nullptr)) {
        if (frame.AddrPC.Offset == 0 || (!entries.empty() && frame.AddrStack.Offset <= lastStack))
            break;
        lastStack = frame.AddrStack.Offset;
        entries.push_back(FrameText(frame));
    }
    return entries;
}

std::string CSymbolEngine::FrameText(const STACKFRAME64& frame)
{
    typedef unsigned long long Word;
    DWORD64 pc = frame.AddrPC.Offset;
    std::string text(FormatText("%016llX (0x%016llX 0x%016llX 0x%016llX 0x%016llX) %s\n", Word(pc),
                                Word(frame.Params[0]), Word(frame.Params[1]), Word(frame.Params[2]),
                                Word(frame.Params[3]), ModuleText(pc).c_str()));
    std::string symbol = SymbolText(pc);
    if (!symbol.empty())
        text += symbol + "\n";
    return text;
}

std::string CSymbolEngine::SymbolText(DWORD64 address)
{
    alignas(SYMBOL_INFO) char buffer[sizeof(SYMBOL_INFO) + kMaxSymbolName];
    SYMBOL_INFO* symbol = reinterpret_cast<SYMBOL_INFO*>(buffer);
    symbol->SizeOfStruct = sizeof(SYMBOL_INFO);
    symbol->MaxNameLen = kMaxSymbolName;
    DWORD64 displacement = 0;
    if (!m_process || !SymFromAddr(m_process, address, &displacement, symbol))
        return std::string();
    std::string text = symbol->Name;
    if (displacement)
        text += FormatText("+%llX", static_cast<unsigned long long>(displacement));
    IMAGEHLP_LINE64 line = {sizeof line};
    DWORD lineDisplacement = 0;
    if (SymGetLineFromAddr64(m_process, address, &lineDisplacement, &line)) {
        std::string file = FileNamePart(line.FileName);
        text += FormatText(", %s:%u", file.c_str(), unsigned(line.LineNumber));
        if (lineDisplacement)
            text += FormatText("+%X", unsigned(lineDisplacement));
    }
    return text;
}

std::string CSymbolEngine::ModuleText(DWORD64 address)
{
    DWORD64 base = m_process ? SymGetModuleBase64(m_process, address) : 0;
    if (!base)
        return "<UNKNOWN>";
    return static_cast<LPCSTR>(FormatText("%s+%llX", ModuleBaseName(base).c_str(),
                                          static_cast<unsigned long long>(address - base)));
}

// The watched process names a PE module by its base; our ELF modules sit at
// bases of their own in the engine, named by their image.
std::string CSymbolEngine::ModuleBaseName(DWORD64 base)
{
    char name[1024];
    if (GetModuleBaseNameA(m_process, reinterpret_cast<HMODULE>(base), name, sizeof name))
        return name;
    IMAGEHLP_MODULE64 module = {sizeof module};
    if (!SymGetModuleInfo64(m_process, base, &module))
        return "<UNKNOWN>";
    for (const char* image : {module.ImageName, module.LoadedImageName, module.ModuleName})
        if (*image)
            return FileNamePart(image);
    return "<UNKNOWN>";
}

DWORD64 CSymbolEngine::AddressInModule(const std::string& baseName, DWORD64 offset)
{
    std::vector<ProcessModule> modules;
    if (!m_process || !ListProcessModules(m_process, modules))
        return 0;
    for (const auto& module : modules) {
        DWORD64 base = SymGetModuleBase64(m_process, module.base);
        if (base && lstrcmpiA(ModuleBaseName(base).c_str(), baseName.c_str()) == 0)
            return base + offset;
    }
    return 0;
}
