// Filling module information records from a module's table of devices.
#pragma once

#include "mp3/decoder/DecoderModules.h"

struct ModuleDevice {
    const char* name;
    const char* description;
    int flags;
};

// Answers a query: names (flag 1), device count (flag 2), or, with flag 4 alone, the
// device whose index info->device holds (-101 for an index out of range).
int QueryModuleDevices(DecoderModuleInfo* info, int flags, const char* name, const char* description,
                       const ModuleDevice* devices, int count);
void SetModuleInfoText(char* field, const char* text);
