// What a changer player knows and has asked for: one plain record, kept by
// CChangerStateStore under its lock and handed to readers as a copy.
#pragma once

#include <windows.h>
#include <time.h>

// Sizes, flag bits and marker values of the changer's state; CSonyPlayer
// names them for its callers.
struct ChangerConstants
{
    enum
    {
        kSlots = 500,
        kGroups = 10,
        kGroupMapBytes = 52,
        kGroupPartBytes = 13,
        kArtists = 256,
        kDiscArtists = 401,
        kDeleteFileBytes = 13,
        kNameLength = 14,
    };
    // Slot flag word bits.
    enum { kSlotHasDisc = 1, kSlotKnown = 2, kSlotChecked = 4 };
    // No-disc marker values besides a slot number.
    enum { kNoDiscNone = -1, kNoDiscIgnored = -2, kNoDiscPresent = -3 };
    // Track code above 0x99 reported.
    enum { kTrackUnreadable = -2 };
    // Play state word.
    enum { kPlayNone = 0, kPlaySingleTrack = 1, kPlayWholeDisc = 2, kPlaySearching = 3 };
    enum ScanMode { kScanNone, kScanForward, kScanBackward, kFastForward, kFastBackward };
    // Stored-information bits of the "stored" answer.
    enum { kStoredMemo = 0x01, kStoredDeleteFile = 0x02, kStoredCdText = 0x30 };
};

struct ChangerState : ChangerConstants
{
    ChangerState();

    // Settings, written by the player control.
    int settleTime = 25;
    int capacity = 0;
    int typeCode = -1;
    int playerNumber = -1;
    int fadeUpTime = 0;
    int fadeDownTime = 0;
    int fadeOverlapTime = 0;
    int trackFinishTweak = 0;
    BYTE preview = 0;

    // Requests.
    int requestedDisc = -1;
    int requestedTrack = -1;   // from 0; -1 the whole disc
    int nextDisc = -1;
    int nextTrack = -1;        // from 1
    int queuedDisc = -1;
    int queuedTrack = -1;      // from 1; -1 the whole disc
    int playPending = 0;
    int playState = kPlayNone;
    int playRequest = 0;
    int powerWanted = 1;

    // What the changer reported.
    int currentDisc = -1;
    int currentTrack = -1;     // from 1; -1 unknown, kTrackUnreadable
    int previousDisc = -1;
    int previousTrack = -1;
    int lengthMinutes = -1;
    int lengthSeconds = -1;
    int elapsedMinutes = -1;
    int elapsedSeconds = -1;
    int elapsedTotal = -1;
    int previousElapsedTotal = -1;
    int lastTrack = -1;
    int totalMinutes = -1;
    int totalSeconds = -1;
    int leadValue = -1;
    int totalFrames = -1;
    int infoTrack = -1;
    int infoMinutes = -1;
    int infoSeconds = -1;
    int noDisc = kNoDiscNone;
    BYTE fadeDownSent = 0;
    BYTE nearEnd = 0;
    int storedBits = -1;
    int error = 0;
    int report = 0;
    int playing = 0;
    int paused = 0;
    int changing = 0;
    int busy = 0;
    int doorOpen = 0;
    int powered = 0;
    int acknowledge = 0;
    int program = 0;
    int allDiscs = 0;
    int repeatOne = 0;
    int repeatAll = 0;
    int shuffle = 0;
    time_t lastReceived = 0;
    time_t lastModePoll = 0;
    time_t lastCommand = 0;
    time_t playStart = 0;
    int scanMode = kScanNone;
    int memoComplete = 0;
    int memoDisc = -1;
    int memoPart = 0;
    int groupReply = -1;
    BYTE deleteFile[kDeleteFileBytes] = {};
    int deleteFileDisc = -1;
    int cdTextPart = 0;
    int cdTextTrack = -1;
    int cdTextComplete = 0;
    DWORD slots[kSlots] = {};
    time_t changeStamp = 0;
    int newDisc = 0;
    BYTE groupMaps[kGroups][kGroupMapBytes] = {};
    BYTE groupValid[kGroups] = {};
    int discArtists[kDiscArtists];   // -1 until the changer told
    BYTE binaryTracks = 0;
    BYTE noDiscSeen = 0;
    BYTE model355 = 0;

    // A playing, paused or changing changer.
    bool IsActive() const { return playing || paused || changing; }
    // Forgets the disc's table of contents and the track's times.
    void ClearDiscInfo();
    // Another track forgets the length of the one before.
    void SetCurrentTrack(int track);
    // A play that starts is stamped with now.
    void SetPlaying(bool flag, time_t now);
    // A reported track code; some changers count tracks in binary, and once
    // one is seen doing so it counts so for good.
    int DecodeTrack(int code, bool forceBcd);
    static bool IsSlot(int s) { return s >= 1 && s <= kSlots; }
};
