#include "platform/runtime/SystemErrorText.h"

#include <string.h>

std::string SystemErrorText(DWORD code)
{
    char* message = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<char*>(&message), 0, nullptr);
    while (length > 0 && strchr("\r\n ", message[length - 1]))
        --length;
    std::string text = length ? std::string(message, length) : "Error " + std::to_string(code);
    if (message)
        LocalFree(message);
    return text;
}
