// An event map file's text, whole.
#include "fuzz/FuzzTargets.h"

#include "core/automation/EventMap.h"

int FuzzEventMap(const uint8_t* data, size_t size)
{
    EventMap entries;
    ParseEventMap(CString(reinterpret_cast<const char*>(data), int(size)), entries);
    return 0;
}
