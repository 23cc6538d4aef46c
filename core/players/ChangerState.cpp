#include "core/players/ChangerState.h"

#include "devices/util/Bcd.h"

namespace {

// A changer type whose track codes above 9 may be binary.
const int kBinaryTracksType = 27;

} // namespace

ChangerState::ChangerState()
{
    for (int& artist : discArtists)
        artist = -1;
}

void ChangerState::ClearDiscInfo()
{
    lengthMinutes = lengthSeconds = -1;
    elapsedMinutes = elapsedSeconds = -1;
    lastTrack = totalMinutes = totalSeconds = leadValue = totalFrames = -1;
    infoTrack = infoMinutes = infoSeconds = -1;
}

void ChangerState::SetCurrentTrack(int track)
{
    if (track == currentTrack)
        return;
    currentTrack = track;
    lengthMinutes = lengthSeconds = -1;
}

void ChangerState::SetPlaying(bool flag, time_t now)
{
    if (flag && !playing)
        playStart = now;
    playing = flag ? 1 : 0;
}

int ChangerState::DecodeTrack(int code, bool forceBcd)
{
    if (code > 0x99)
        return kTrackUnreadable;
    if (code < 1)
        return -1;
    if (binaryTracks && !forceBcd)
        return code;
    if (!IsValidBcd(code) || (typeCode == kBinaryTracksType && code > 9 && code == currentTrack)) {
        binaryTracks = 1;
        return code;
    }
    return int(Bcd8ToDecimal(code));
}
