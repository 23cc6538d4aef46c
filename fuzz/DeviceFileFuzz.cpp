// A device file's text, loaded as a device definition; a loaded device then
// composes the commands named by the input's later parts.
#include "fuzz/FuzzTargets.h"
#include "fuzz/FuzzInput.h"

#include "devices/manager/Device.h"

int FuzzDeviceFile(const uint8_t* data, size_t size)
{
    std::vector<CString> parts = SplitInput(data, size);
    CDevice device;
    device.GetError().m_messageBox = FALSE;
    if (!device.Load(parts[0], 0, FALSE))
        return 0;
    for (size_t i = 1; i < parts.size(); i++)
        device.ComposeCommand(parts[i]);
    return 0;
}
