// Device definition fixtures of this folder, as the program names them, and a
// device that reports into the debugger output instead of message boxes.
#pragma once

#include <string>

#include "devices/manager/Device.h"
#include "tests/support/TestData.h"

inline std::string FixturePath(const char* name)
{
    return WindowsPath(SourcePath(std::string("devices/manager/tests/fixtures/") + name));
}

class CQuietDevice : public CDevice
{
public:
    CQuietDevice() { GetError().m_messageBox = FALSE; }
};
