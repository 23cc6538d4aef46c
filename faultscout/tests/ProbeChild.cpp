// The child of the start-up probe: it gets two inherited pipe ends on its command
// line ("-x READ WRITE", hexadecimal), reads a process handle that its parent
// duplicated into it, and answers with that process's id.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc != 4 || std::strcmp(argv[1], "-x") != 0)
        return 2;
    HANDLE in = reinterpret_cast<HANDLE>(std::strtoull(argv[2], nullptr, 16));
    HANDLE out = reinterpret_cast<HANDLE>(std::strtoull(argv[3], nullptr, 16));
    DWORD handle = 0;
    DWORD count = 0;
    if (!ReadFile(in, &handle, sizeof handle, &count, nullptr) || count != sizeof handle)
        return 3;
    DWORD id = GetProcessId(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(handle)));
    if (!WriteFile(out, &id, sizeof id, &count, nullptr) || count != sizeof id)
        return 4;
    return 0;
}
