#include "mp3/decoder/ModuleInfo.h"

#include <string.h>

#include "mp3/decoder/DecoderErrors.h"

void SetModuleInfoText(char* field, const char* text)
{
    const size_t kFieldSize = sizeof(DecoderModuleInfo::name);
    strncpy(field, text, kFieldSize - 1);
    field[kFieldSize - 1] = '\0';
}

int QueryModuleDevices(DecoderModuleInfo* info, int flags, const char* name, const char* description,
                       const ModuleDevice* devices, int count)
{
    if (flags & kQueryNames) {
        SetModuleInfoText(info->name, name);
        SetModuleInfoText(info->description, description);
    }
    if (flags & kQueryDeviceCount)
        info->device = count;
    if ((flags & kQueryDevice) && !(flags & (kQueryNames | kQueryDeviceCount))) {
        if (info->device < 0 || info->device >= count)
            return kErrInvalidParameters;
        const ModuleDevice& d = devices[info->device];
        SetModuleInfoText(info->name, d.name);
        SetModuleInfoText(info->description, d.description);
        info->flags = d.flags;
    }
    return 0;
}
