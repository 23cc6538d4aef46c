// One extra device of the option "Devices", defined by the document at
// start-up, and the list's stored text: one line per entry,
// devname="..." devfile="..." devnum=N tavlin=N ports=N enabled=N.
#pragma once

#include <afx.h>

#include <vector>

struct DeviceEntry
{
    enum Status { kFailed = 0, kDefined = 1, kNotTried = 2 };

    CString name;
    // A *.cde file, absolute or relative to the device-file folder.
    CString file;
    int number = 0;   // from 0
    int unit = 0;     // interface unit, from 0
    // Bits 0-3 control-bus ports sl0-sl3, bits 4-11 IR ports ir0-ir7.
    int ports = 0;
    int status = kNotTried;   // not stored
    int enabled = 1;
};

typedef std::vector<DeviceEntry> DeviceList;

// A field missing from a line, or a text running past the line's end, keeps
// the new entry's value; empty lines give no entry.
DeviceList ParseDeviceList(const char* text);
CString FormatDeviceList(const DeviceList& devices);
