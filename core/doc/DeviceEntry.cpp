#include "core/doc/DeviceEntry.h"

#include <stdlib.h>

namespace {

// The value of name="..." within the line.
void ReadText(const CString& line, const char* name, CString& value)
{
    CString key = CString(name) + "=\"";
    int start = line.Find(key);
    if (start < 0)
        return;
    start += key.GetLength();
    int end = line.Find('"', start);
    if (end < 0)
        return;
    value = line.Mid(start, end - start);
}

void ReadNumber(const CString& line, const char* name, int& value)
{
    CString key = CString(name) + "=";
    int start = line.Find(key);
    if (start >= 0)
        value = atoi(static_cast<LPCSTR>(line) + start + key.GetLength());
}

DeviceEntry ParseLine(const CString& line)
{
    DeviceEntry entry;
    ReadText(line, "devname", entry.name);
    ReadText(line, "devfile", entry.file);
    ReadNumber(line, "devnum", entry.number);
    ReadNumber(line, "tavlin", entry.unit);
    ReadNumber(line, "ports", entry.ports);
    ReadNumber(line, "enabled", entry.enabled);
    return entry;
}

} // namespace

DeviceList ParseDeviceList(const char* text)
{
    DeviceList devices;
    CString rest(text);
    while (!rest.IsEmpty())
    {
        int end = rest.Find('\n');
        CString line = end < 0 ? rest : rest.Left(end);
        rest = end < 0 ? CString() : rest.Mid(end + 1);
        line.TrimRight("\r");
        if (!line.IsEmpty())
            devices.push_back(ParseLine(line));
    }
    return devices;
}

CString FormatDeviceList(const DeviceList& devices)
{
    CString text;
    for (const DeviceEntry& entry : devices)
    {
        CString line;
        line.Format("devname=\"%s\" devfile=\"%s\" devnum=%d tavlin=%d ports=%d enabled=%d\n",
                    static_cast<LPCSTR>(entry.name), static_cast<LPCSTR>(entry.file), entry.number,
                    entry.unit, entry.ports, entry.enabled);
        text += line;
    }
    return text;
}
