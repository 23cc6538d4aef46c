// The switches that the Playlist menu, the command language and the tick
// share through the document. GUI thread only.
#pragma once

#include <windef.h>

struct DocSwitches
{
    BOOL muted = FALSE;
    // The changers play only the start of each track.
    BOOL preview = FALSE;
    // The tick keeps the play list filled with random picks.
    BOOL randomFill = FALSE;
    // "playing[...]" at each new entry, "time[...]" at each new second.
    BOOL notifyPlayingItem = FALSE;
    BOOL notifyPlayingTime = FALSE;
};
