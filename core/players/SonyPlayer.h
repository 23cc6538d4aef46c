// One Sony CD changer on a control bus of an interface unit. Requests become
// device command texts handed to the document's device path; the changer's
// answers come back to OnStatusText, the listener of its receive devices, which
// keeps the state below and signals the status event after every text.
//
// Threads: requests run on their callers' threads (playing thread, GUI thread,
// tasks); OnStatusText runs on the thread that delivers device texts and sends
// the commands it decides on from there. The number and flag fields are single
// words written by one side and read by the others without a lock; the status
// event tells readers that a report arrived. The texts (name, status line, memo,
// CD text, group names, artist texts) are reassigned by the parser, so they sit
// behind m_textLock and are handed out as copies.
#pragma once

#include <afxmt.h>
#include <time.h>

#include <vector>

#include "devices/manager/TextCallback.h"

class CPlayerHost;
class CPlayList;
class CTaskSink;

// The model text of a changer from its type code and disc capacity.
CString ModelText(int typeCode, int capacity);

class CSonyPlayer : public CCallbackTarget
{
public:
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

    explicit CSonyPlayer(CPlayerHost* host);
    ~CSonyPlayer();
    CSonyPlayer(const CSonyPlayer&) = delete;
    CSonyPlayer& operator=(const CSonyPlayer&) = delete;

    // Disc and track codes of the bus. Places they cannot carry are refused:
    // nothing is sent and the request gives false.
    bool CanAddress(int disc, int track) const;
    // The device of a disc (the upper send device above 200) and its code.
    void GetDiscAddress(int disc, CString& device, CString& code) const;
    CString EncodeDisc(int disc) const;
    static CString EncodeTrack(int track);
    int DecodeDisc(int code, bool upper) const;
    int DecodeTrack(int code, bool forceBcd);

    // Transport and status words.
    void Play();
    void Pause();
    BOOL PauseToggle();
    BOOL Stop();
    BOOL NextTrack();
    BOOL PreviousTrack();
    void ScanForward();
    void ScanBackward();
    void FastForward();
    void FastBackward();
    void NormalSpeed();
    void NudgeForward();
    BOOL TimecodeOn();
    BOOL TimecodeOff();
    BOOL PowerOn();
    BOOL PowerOff();
    BOOL RemoteOn();
    BOOL RemoteOff();
    BOOL QueryPlayerType();
    BOOL QueryPlayerName();
    BOOL QueryMode();
    BOOL QueryStored();
    BOOL Flush();
    void FadeUp(int rate);
    void FadeDown(int rate);

    // Queries with an argument; false when nothing could be sent.
    BOOL QueryDisc(int disc);
    BOOL QueryTrack(int disc, int track);
    BOOL QueryMemoText(int disc);
    BOOL QueryMemoText2(int disc);
    BOOL QueryDeleteFile(int disc);
    BOOL QueryCdText(int track);
    BOOL QueryGroupText(int group);
    BOOL QueryGroupDiscs(int group);
    BOOL QueryArtistMemo(int artist);
    BOOL QueryArtistData(int packet);

    // Places: disc from 1, track from 0 (-1 the whole disc).
    BOOL PlayOrCue(int disc, int track, BOOL play);
    BOOL Cue(int disc, int track);
    void SetRequest(int disc, int track, BOOL play);
    void SetNextEntry(int disc, int track);

    // Front-panel keys of the Control-A1 device.
    BOOL KeyDisc();
    BOOL KeyEnter();
    BOOL KeyClear();
    BOOL KeyMemoInput();
    BOOL KeyMemoScan();
    BOOL KeyUpArrow();
    BOOL KeyBlock();
    BOOL KeyTrack();
    BOOL KeyDownArrow();
    BOOL KeyLeftArrow();
    BOOL KeyRightArrow();
    BOOL KeyPlayerSelect();
    BOOL KeyProgram();
    BOOL KeyContinue();
    BOOL KeyRepeat();
    BOOL KeyDigit(int digit);
    BOOL KeyDiscNumber(int disc);
    // Raw bus messages around text entry.
    void SendOpeningSequence();
    void SendShortClose();
    // Text entry on the numeric keypad; charMode 0 upper case, 1 lower, 2 digits.
    void KeyCharacter(char ch, int* charMode);
    void KeyTextField(const char* text);
    void KeyText(const char* text, BOOL shortClose);
    void EnterDiscMemoByKeys(int disc, const char* text);

    // State.
    void ClearDiscInfo();
    void SetCurrentTrack(int track);
    void SetPlaying(BOOL flag);
    BOOL IsPlayingAt(int disc, int track) const;
    BOOL IsPausedAt(int disc, int track) const;
    BOOL IsPlaying(int disc, int track);
    int FindGroupOfDisc(int slot) const;
    BOOL HasUnknownSlots() const;

    // Requests of the player control.
    BOOL PlayAt(int disc, int track);
    BOOL PauseAt(int disc, int track);
    BOOL CueAt(int disc, int track);
    BOOL StopIfActive();
    BOOL EnsureContinuousMode();

    // Requests that wait for the changer's answer; cancel may be null.
    BOOL ReadDiscInfo(int disc, const volatile BYTE* cancel);
    BOOL ReadTrackInfo(int disc, int track, const volatile BYTE* cancel);
    // Until the changer reports a place on the disc in the slot: it has read
    // the disc's table of contents.
    BOOL WaitForDiscReady(int slot, int ms, const volatile BYTE* cancel);
    BOOL DetectPlayerType();
    void DownloadGroups();
    // True once a playing, time or information report arrives; the whole wait
    // is bounded by ms, whatever other texts the changer sends meanwhile.
    BOOL WaitForPlaying(int ms);

    // Disc memos, delete marks and the artist tables (SonyPlayerMemos.cpp).
    // cancel is the flag of the task the caller runs; every wait honours it.
    // The memo upload of the entries on this changer, as the task
    // "CD n Download"; allSlots clears the memos of the slots without an entry.
    BOOL DownloadMemos(const CPlayList& entries, BOOL allSlots, CTaskSink* tasks);
    // Acknowledged writes: false when the changer never acknowledged the
    // third attempt; true also after a cancel.
    BOOL WriteMemoText(int slot, const CString& text, const volatile BYTE* cancel);
    // The artist text is kept only once both parts were acknowledged.
    BOOL WriteArtistMemo(int artist, const CString& text, const volatile BYTE* cancel);
    BOOL SetArtist(int slot, int artist, const volatile BYTE* cancel);
    // Ask for the artist texts and slot artists still unknown; false when
    // one stays unanswered after three tries.
    BOOL ReadArtistTexts(const volatile BYTE* cancel, CTaskSink* tasks, int taskId);
    BOOL ReadDiscArtists(const volatile BYTE* cancel, CTaskSink* tasks, int taskId);
    // Types the disc, artist and track memos on the front panel.
    BOOL EnterMemosByKeys(int slot, const CString& discText, const CString& artistText, int trackCount,
                          const CString* trackTexts, BOOL shortClose, const volatile BYTE* cancel);
    // Without waiting: the tables take the new values at once.
    void WriteArtistMemoOnce(int artist, const CString& text);
    void SetArtistOnce(int slot, int artist);
    // The slot's memo and delete-file bits as the changer answers them within
    // 1000 ms; answers about another disc (a late one) do not count.
    BOOL ReadMemo(int slot, CString& memo, const volatile BYTE* cancel);
    BOOL ReadDeleteFile(int slot, BYTE bits[kDeleteFileBytes], const volatile BYTE* cancel);
    // The changer's type code has all these capability bits.
    bool HasAllBits(int bits) const { return m_typeCode >= 0 && (m_typeCode & bits) == bits; }

    CString GetName() const;
    CString GetDescription() const;

    // The status parser: the device listener of both receive devices.
    void OnStatusText(CString text);
    // Splits "device:event[hex]" into the event name, the upper flag and the bytes.
    static CString SplitStatusText(const CString& text, bool& upper, std::vector<BYTE>& bytes);

    // Copies of the texts the parser writes.
    CString GetPlayerName() const;
    CString GetStatusLine() const;
    CString GetMemoText() const;
    CString GetCdText() const;
    CString GetGroupName(int group) const;
    CString GetArtistText(int artist) const;
    void SetArtistText(int artist, const char* text);

    HANDLE GetStatusEvent() const { return m_statusEvent; }

    // Bus address and settings, written by the player control before use.
    int m_busId = 0;
    int m_unit = 0;
    int m_busPort = 0;
    int m_settleTime = 25;
    CString m_sendDevice;
    CString m_upperSendDevice;
    CString m_irDevice;
    CString m_controlDevice;
    CString m_receiveDevice;
    CString m_upperReceiveDevice;
    int m_capacity = 0;
    int m_typeCode = -1;
    int m_playerNumber = -1;
    int m_fadeUpTime = 0;
    int m_fadeDownTime = 0;
    int m_fadeOverlapTime = 0;
    int m_trackFinishTweak = 0;
    BYTE m_preview = 0;

    // Requests.
    int m_requestedDisc = -1;
    int m_requestedTrack = -1;   // from 0; -1 the whole disc
    int m_nextDisc = -1;
    int m_nextTrack = -1;        // from 1
    int m_queuedDisc = -1;
    int m_queuedTrack = -1;      // from 1; -1 the whole disc
    int m_playPending = 0;
    int m_playState = kPlayNone;
    int m_playRequest = 0;
    int m_powerWanted = 1;

    // What the changer reported.
    int m_currentDisc = -1;
    int m_currentTrack = -1;     // from 1; -1 unknown, kTrackUnreadable
    int m_previousDisc = -1;
    int m_previousTrack = -1;
    int m_lengthMinutes = -1;
    int m_lengthSeconds = -1;
    int m_elapsedMinutes = -1;
    int m_elapsedSeconds = -1;
    int m_elapsedTotal = -1;
    int m_previousElapsedTotal = -1;
    int m_lastTrack = -1;
    int m_totalMinutes = -1;
    int m_totalSeconds = -1;
    int m_leadValue = -1;
    int m_totalFrames = -1;
    int m_infoTrack = -1;
    int m_infoMinutes = -1;
    int m_infoSeconds = -1;
    int m_noDisc = kNoDiscNone;
    BYTE m_fadeDownSent = 0;
    BYTE m_nearEnd = 0;
    int m_storedBits = -1;
    int m_error = 0;
    int m_report = 0;
    int m_playing = 0;
    int m_paused = 0;
    int m_changing = 0;
    int m_busy = 0;
    int m_doorOpen = 0;
    int m_powered = 0;
    int m_acknowledge = 0;
    int m_program = 0;
    int m_allDiscs = 0;
    int m_repeatOne = 0;
    int m_repeatAll = 0;
    int m_shuffle = 0;
    time_t m_lastReceived = 0;
    time_t m_lastModePoll = 0;
    time_t m_lastCommand = 0;
    time_t m_playStart = 0;
    int m_scanMode = kScanNone;
    int m_memoComplete = 0;
    int m_memoDisc = -1;
    int m_memoPart = 0;
    int m_groupReply = -1;
    BYTE m_deleteFile[kDeleteFileBytes] = {};
    int m_deleteFileDisc = -1;
    int m_cdTextPart = 0;
    int m_cdTextTrack = -1;
    int m_cdTextComplete = 0;
    DWORD m_slots[kSlots] = {};
    time_t m_changeStamp = 0;
    int m_newDisc = 0;
    BYTE m_groupMaps[kGroups][kGroupMapBytes] = {};
    BYTE m_groupValid[kGroups] = {};
    int m_discArtists[kDiscArtists];
    BYTE m_binaryTracks = 0;
    BYTE m_noDiscSeen = 0;
    BYTE m_model355 = 0;

private:
    typedef void (CSonyPlayer::*EventHandler)(bool upper, const std::vector<BYTE>& b);
    struct EventRule
    {
        const char* name;
        EventHandler handler;
    };
    static const EventRule kEvents[];
    enum KeyFamily { kKeyPauseEF, kKeyEF, kKeyOnly };
    struct KeyRule;
    static const KeyRule kKeys[];

    BOOL Send(const CString& text);
    bool OldFirmware();
    CString Word(const char* word) const;      // S ":" word
    CString Pause45() const;                   // " " S ":ir[-45000] "
    CString Twice(const char* word, const char* between);
    BOOL SendKey(const char* key);
    enum WriteResult { kWritten, kNotAcknowledged, kWriteCancelled };
    WriteResult WriteMemoPart(const CString& text, const volatile BYTE* cancel);
    WriteResult WriteAcknowledged(const CString& text, const volatile int* word, int wanted,
                                  const volatile BYTE* cancel);
    CString MemoPartText(int slot, bool second, const CString& text) const;
    CString ArtistPartText(int artist, int part, const CString& padded) const;
    CString ArtistChoiceText(int slot, int artist) const;
    void SendPause100();
    bool AskAboutDisc(BOOL (CSonyPlayer::*query)(int), int* disc, int slot, const volatile BYTE* cancel);
    bool EnterTextsByKeys(int slot, const CString& discText, const CString& artistText, int trackCount,
                          const CString* trackTexts, BOOL shortClose, const volatile BYTE* cancel);
    void DownloadMemosByKeys(const CPlayList& entries, CTaskSink* tasks, int task, const volatile BYTE* cancel);
    void DownloadDiscMemos(const CPlayList& entries, BOOL allSlots, CTaskSink* tasks, int task,
                           const volatile BYTE* cancel);
    void DownloadArtists(const CPlayList& entries, CTaskSink* tasks, int task, const volatile BYTE* cancel);
    BOOL SendPlaceText(int disc, int track, BOOL play);
    BOOL SendDiscQuery(const char* word, int disc);
    BOOL SendArgumentQuery(const char* format, int value);
    void SetQueued(int disc, int track, bool keepSearch);
    void FadeUpOrPlay();
    void SetSpeed(int scanMode, const char* word);
    BOOL IsAt(int flag, int disc, int track) const;
    BOOL HoldAt(int disc, int track, void (CSonyPlayer::*hold)());
    bool OnParserThread() const { return GetCurrentThreadId() == m_parserThread; }
    void KeyPresses(int key, int times);
    bool IsActive() const { return m_playing || m_paused || m_changing; }
    bool AfterSettle(time_t now) const { return now - m_lastCommand > 5; }
    bool IsSlot(int s) const { return s >= 1 && s <= kSlots; }
    void MarkSlot(int s);
    void CheckLibrary(int track, int minutes, int seconds);
    void NearEndForDisc();
    void SetText(CString& field, const CString& value);
    CString BytesText(const std::vector<BYTE>& b, size_t from, size_t most) const;

    void OnPlay(bool upper, const std::vector<BYTE>& b);
    void OnStop(bool upper, const std::vector<BYTE>& b);
    void OnPause(bool upper, const std::vector<BYTE>& b);
    void OnUnloading(bool upper, const std::vector<BYTE>& b);
    void OnError(bool upper, const std::vector<BYTE>& b);
    void OnNoDisc(bool upper, const std::vector<BYTE>& b);
    void OnIgnored(bool upper, const std::vector<BYTE>& b);
    void OnStored(bool upper, const std::vector<BYTE>& b);
    void OnDoorOpen(bool upper, const std::vector<BYTE>& b);
    void OnDoorClose(bool upper, const std::vector<BYTE>& b);
    void OnPowerOn(bool upper, const std::vector<BYTE>& b);
    void OnPowerOff(bool upper, const std::vector<BYTE>& b);
    void OnPlayingReport(bool upper, const std::vector<BYTE>& b);
    void On30sToEnd(bool upper, const std::vector<BYTE>& b);
    void OnTimeReport(bool upper, const std::vector<BYTE>& b);
    void OnNowAtDisc(bool upper, const std::vector<BYTE>& b);
    void OnGotoDisc(bool upper, const std::vector<BYTE>& b);
    void OnDisplayingDisc(bool upper, const std::vector<BYTE>& b);
    void OnDiscInfo(bool upper, const std::vector<BYTE>& b);
    void OnTrackInfo(bool upper, const std::vector<BYTE>& b);
    void OnPlayerType(bool upper, const std::vector<BYTE>& b);
    void OnPlayerName(bool upper, const std::vector<BYTE>& b);
    void OnMemoWritten(bool upper, const std::vector<BYTE>& b);
    void OnArtistData(bool upper, const std::vector<BYTE>& b);
    void OnArtistText(bool upper, const std::vector<BYTE>& b);
    void OnNoArtist(bool upper, const std::vector<BYTE>& b);
    void OnMemoText(bool upper, const std::vector<BYTE>& b);
    void OnMemoText2(bool upper, const std::vector<BYTE>& b);
    void OnMemoText3(bool upper, const std::vector<BYTE>& b);
    void OnInvalidDisc2(bool upper, const std::vector<BYTE>& b);
    void OnCdText(bool upper, const std::vector<BYTE>& b);
    void OnCdTextExtra(bool upper, const std::vector<BYTE>& b);
    void OnNoCdText(bool upper, const std::vector<BYTE>& b);
    void OnNoGroup(bool upper, const std::vector<BYTE>& b);
    void OnGroupText(bool upper, const std::vector<BYTE>& b);
    void OnGroupDiscsLow(bool upper, const std::vector<BYTE>& b);
    void OnGroupDiscsHigh(bool upper, const std::vector<BYTE>& b);
    void OnGroupDiscsHigher(bool upper, const std::vector<BYTE>& b);
    void OnGroupDiscs(const std::vector<BYTE>& b, int part, bool complete);
    void OnDeleteFile(bool upper, const std::vector<BYTE>& b);
    void OnNoDeleteFile(bool upper, const std::vector<BYTE>& b);
    void OnModeReport(bool upper, const std::vector<BYTE>& b);
    void PlayingByState(const CString& text);
    void PendingPlay(const CString& text);
    void TimeActions(int remaining, const CString& text);
    void DetectSkip();

    CPlayerHost* m_host;
    HANDLE m_statusEvent;
    CString m_statusText;   // the text being parsed, for debug events
    // The thread inside OnStatusText: what it waits for only it could bring.
    volatile DWORD m_parserThread = 0;

    // Guards the texts below.
    mutable CCriticalSection m_textLock;
    CString m_playerName;
    CString m_statusLine;
    CString m_memoText;
    CString m_cdText;
    CString m_groupNames[kGroups];
    CString m_artistTexts[kArtists];
};

// Holds a changer in search mode (play state 3: its reports start no play and
// no library check) for its lifetime, then gives back the state it had.
class CSearchModeHold
{
public:
    explicit CSearchModeHold(CSonyPlayer& player) : m_player(player), m_saved(player.m_playState)
    {
        player.m_playState = CSonyPlayer::kPlaySearching;
    }
    ~CSearchModeHold() { m_player.m_playState = m_saved; }
    CSearchModeHold(const CSearchModeHold&) = delete;
    CSearchModeHold& operator=(const CSearchModeHold&) = delete;

private:
    CSonyPlayer& m_player;
    int m_saved;
};
