#pragma once

#include <windef.h>

// What a disc search walks: by mode (0 slots believed empty, 1 unknown
// slots, 2 every slot), the changers (0 all, else changer + 1) and an
// optional range of slots.
struct DiscSearchSettings
{
    int mode = 0;
    int playerFilter = 0;
    BOOL useRange = FALSE;
    int firstSlot = 0;
    int lastSlot = 0;
};
