// An event map file's text, whole.
#include "FuzzTargets.h"

#include "EventMap.h"

int FuzzEventMap(const uint8_t* data, size_t size)
{
    EventMap entries;
    ParseEventMap(CString(reinterpret_cast<const char*>(data), int(size)), entries);
    return 0;
}
