// Device definition fixtures of this folder, as the program names them, and a
// device that reports into the debugger output instead of message boxes.
#pragma once

#include <stdlib.h>

#include <string>

#include "Device.h"

inline std::string FixturePath(const char* name)
{
    const char* source = getenv("ZYM_SOURCE_DIR");
    std::string path = std::string("Z:") + (source ? source : "") +
                       "/devices/manager/tests/fixtures/" + name;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

class CQuietDevice : public CDevice
{
public:
    CQuietDevice() { GetError().m_messageBox = FALSE; }
};
