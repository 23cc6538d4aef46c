// One Sony CD changer on a control bus of an interface unit. Requests become
// device command texts handed to the document's device path; the changer's
// answers come back to OnStatusText, the listener of its receive devices.
//
// The player is the face its callers use; the work is done by its parts:
// CChangerLink (bus address, codes, words), CChangerTransport (transport and
// status words), CChangerQueries (questions), CChangerKeypad (front panel),
// CChangerMemos (memo and artist upload), CChangerStatusParser (the answers)
// and CChangerStateStore, the one home of its state, which callers read as a
// copy (GetState) and change under its lock (ChangeState).
//
// Threads: requests run on their callers' threads (playing thread, GUI thread,
// tasks); OnStatusText runs on the thread that delivers device texts and sends
// the commands it decides on from there. Waits block on the store's change
// event.
#pragma once

#include <afxmt.h>
#include <time.h>

#include <functional>
#include <vector>

#include "core/players/ChangerKeypad.h"
#include "core/players/ChangerLink.h"
#include "core/players/ChangerMemos.h"
#include "core/players/ChangerQueries.h"
#include "core/players/ChangerState.h"
#include "core/players/ChangerStateStore.h"
#include "core/players/ChangerStatusParser.h"
#include "core/players/ChangerTransport.h"
#include "devices/manager/TextCallback.h"
#include "devices/util/TaskCancelFlag.h"

class CPlayerHost;
class CPlayList;
class CTaskSink;

// The model text of a changer from its type code and disc capacity.
CString ModelText(int typeCode, int capacity);

class CSonyPlayer : public CCallbackTarget, public ChangerConstants
{
public:
    explicit CSonyPlayer(CPlayerHost* host);
    ~CSonyPlayer();
    CSonyPlayer(const CSonyPlayer&) = delete;
    CSonyPlayer& operator=(const CSonyPlayer&) = delete;

    // Bus address and device names, set by the player control before use.
    const ChangerAddress& GetAddress() const { return m_link.GetAddress(); }
    void SetAddress(const ChangerAddress& address) { m_link.SetAddress(address); }

    // A copy of the state; the change runs under the state's lock and must
    // not call out.
    ChangerState GetState() const { return m_store.Get(); }
    void ChangeState(const std::function<void(ChangerState&)>& change) { m_store.Change(change); }
    // True once holds is true of the state, within ms and until *cancel is
    // set (cancel may be null); blocks on the state's changes meanwhile.
    BOOL WaitForState(int ms, const std::function<bool(const ChangerState&)>& holds, const TaskCancelFlag* cancel) const
    {
        return m_store.WaitFor(ms, holds, cancel);
    }

    // Disc and track codes of the bus. Places they cannot carry are refused:
    // nothing is sent and the request gives false.
    bool CanAddress(int disc, int track) const { return m_link.CanAddress(disc, track); }
    // The device of a disc (the upper send device above 200) and its code.
    void GetDiscAddress(int disc, CString& device, CString& code) const;
    CString EncodeDisc(int disc) const;
    static CString EncodeTrack(int track) { return CChangerLink::EncodeTrack(track); }
    int DecodeDisc(int code, bool upper) const { return CChangerLink::DecodeDisc(code, upper); }
    int DecodeTrack(int code, bool forceBcd);

    // Transport and status words (CChangerTransport).
    void Play() { m_transport.Play(); }
    void Pause() { m_transport.Pause(); }
    BOOL PauseToggle() { return m_transport.PauseToggle(); }
    BOOL Stop() { return m_transport.Stop(); }
    BOOL NextTrack() { return m_transport.NextTrack(); }
    BOOL PreviousTrack() { return m_transport.PreviousTrack(); }
    void ScanForward() { m_transport.ScanForward(); }
    void ScanBackward() { m_transport.ScanBackward(); }
    void FastForward() { m_transport.FastForward(); }
    void FastBackward() { m_transport.FastBackward(); }
    void NormalSpeed() { m_transport.NormalSpeed(); }
    void NudgeForward() { m_transport.NudgeForward(); }
    BOOL TimecodeOn() { return m_transport.TimecodeOn(); }
    BOOL TimecodeOff() { return m_transport.TimecodeOff(); }
    BOOL PowerOn() { return m_transport.PowerOn(); }
    BOOL PowerOff() { return m_transport.PowerOff(); }
    BOOL RemoteOn() { return m_transport.RemoteOn(); }
    BOOL RemoteOff() { return m_transport.RemoteOff(); }
    BOOL QueryPlayerType() { return m_transport.QueryPlayerType(); }
    BOOL QueryPlayerName() { return m_transport.QueryPlayerName(); }
    BOOL QueryMode() { return m_transport.QueryMode(); }
    BOOL QueryStored() { return m_transport.QueryStored(); }
    BOOL Flush() { return m_transport.Flush(); }
    void FadeUp(int rate) { m_transport.FadeUp(rate); }
    void FadeDown(int rate) { m_transport.FadeDown(rate); }

    // Queries with an argument (CChangerQueries); false when nothing could be sent.
    BOOL QueryDisc(int disc) { return m_queries.QueryDisc(disc); }
    BOOL QueryTrack(int disc, int track) { return m_queries.QueryTrack(disc, track); }
    BOOL QueryMemoText(int disc) { return m_queries.QueryMemoText(disc); }
    BOOL QueryMemoText2(int disc) { return m_queries.QueryMemoText2(disc); }
    BOOL QueryDeleteFile(int disc) { return m_queries.QueryDeleteFile(disc); }
    BOOL QueryCdText(int track) { return m_queries.QueryCdText(track); }
    BOOL QueryGroupText(int group) { return m_queries.QueryGroupText(group); }
    BOOL QueryGroupDiscs(int group) { return m_queries.QueryGroupDiscs(group); }
    BOOL QueryArtistMemo(int artist) { return m_queries.QueryArtistMemo(artist); }
    BOOL QueryArtistData(int packet) { return m_queries.QueryArtistData(packet); }

    // Places: disc from 1, track from 0 (-1 the whole disc).
    BOOL PlayOrCue(int disc, int track, BOOL play);
    BOOL Cue(int disc, int track);
    void SetRequest(int disc, int track, BOOL play);
    void SetNextEntry(int disc, int track);

    // Front-panel keys of the Control-A1 device.
    BOOL KeyDisc() { return m_keypad.KeyDisc(); }
    BOOL KeyEnter() { return m_keypad.KeyEnter(); }
    BOOL KeyClear() { return m_keypad.KeyClear(); }
    BOOL KeyMemoInput() { return m_keypad.KeyMemoInput(); }
    BOOL KeyMemoScan() { return m_keypad.KeyMemoScan(); }
    BOOL KeyUpArrow() { return m_keypad.KeyUpArrow(); }
    BOOL KeyBlock() { return m_keypad.KeyBlock(); }
    BOOL KeyTrack() { return m_keypad.KeyTrack(); }
    BOOL KeyDownArrow() { return m_keypad.KeyDownArrow(); }
    BOOL KeyLeftArrow() { return m_keypad.KeyLeftArrow(); }
    BOOL KeyRightArrow() { return m_keypad.KeyRightArrow(); }
    BOOL KeyPlayerSelect() { return m_keypad.KeyPlayerSelect(); }
    BOOL KeyProgram() { return m_keypad.KeyProgram(); }
    BOOL KeyContinue() { return m_keypad.KeyContinue(); }
    BOOL KeyRepeat() { return m_keypad.KeyRepeat(); }
    BOOL KeyDigit(int digit) { return m_keypad.KeyDigit(digit); }
    BOOL KeyDiscNumber(int disc) { return m_keypad.KeyDiscNumber(disc); }
    void SendOpeningSequence() { m_keypad.SendOpeningSequence(); }
    void SendShortClose() { m_keypad.SendShortClose(); }
    void KeyCharacter(char ch, int* charMode) { m_keypad.KeyCharacter(ch, charMode); }
    void KeyTextField(const char* text) { m_keypad.KeyTextField(text); }
    void KeyText(const char* text, BOOL shortClose) { m_keypad.KeyText(text, shortClose); }
    void EnterDiscMemoByKeys(int disc, const char* text) { m_keypad.EnterDiscMemoByKeys(disc, text); }

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
    BOOL ReadDiscInfo(int disc, const TaskCancelFlag* cancel);
    BOOL ReadTrackInfo(int disc, int track, const TaskCancelFlag* cancel);
    // Until the changer reports a place on the disc in the slot: it has read
    // the disc's table of contents.
    BOOL WaitForDiscReady(int slot, int ms, const TaskCancelFlag* cancel);
    BOOL DetectPlayerType();
    void DownloadGroups();
    // True once a playing, time or information report arrives; the whole wait
    // is bounded by ms, whatever other texts the changer sends meanwhile.
    BOOL WaitForPlaying(int ms);

    // Disc memos, delete marks and the artist tables (CChangerMemos).
    BOOL DownloadMemos(const CPlayList& entries, BOOL allSlots, CTaskSink* tasks)
    {
        return m_memos.DownloadMemos(entries, allSlots, tasks);
    }
    BOOL WriteMemoText(int slot, const CString& text, const TaskCancelFlag* cancel)
    {
        return m_memos.WriteMemoText(slot, text, cancel);
    }
    BOOL WriteArtistMemo(int artist, const CString& text, const TaskCancelFlag* cancel)
    {
        return m_memos.WriteArtistMemo(artist, text, cancel);
    }
    BOOL SetArtist(int slot, int artist, const TaskCancelFlag* cancel)
    {
        return m_memos.SetArtist(slot, artist, cancel);
    }
    BOOL ReadArtistTexts(const TaskCancelFlag* cancel, CTaskSink* tasks, int taskId)
    {
        return m_memos.ReadArtistTexts(cancel, tasks, taskId);
    }
    BOOL ReadDiscArtists(const TaskCancelFlag* cancel, CTaskSink* tasks, int taskId)
    {
        return m_memos.ReadDiscArtists(cancel, tasks, taskId);
    }
    BOOL EnterMemosByKeys(int slot, const CString& discText, const CString& artistText, int trackCount,
                          const CString* trackTexts, BOOL shortClose, const TaskCancelFlag* cancel)
    {
        return m_memos.EnterMemosByKeys(slot, discText, artistText, trackCount, trackTexts, shortClose, cancel);
    }
    void WriteArtistMemoOnce(int artist, const CString& text) { m_memos.WriteArtistMemoOnce(artist, text); }
    void SetArtistOnce(int slot, int artist) { m_memos.SetArtistOnce(slot, artist); }
    BOOL ReadMemo(int slot, CString& memo, const TaskCancelFlag* cancel) { return m_memos.ReadMemo(slot, memo, cancel); }
    BOOL ReadDeleteFile(int slot, BYTE bits[kDeleteFileBytes], const TaskCancelFlag* cancel)
    {
        return m_memos.ReadDeleteFile(slot, bits, cancel);
    }
    // The changer's type code has all these capability bits.
    bool HasAllBits(int bits) const;

    CString GetName() const;
    CString GetDescription() const;

    // The status parser: the device listener of both receive devices.
    void OnStatusText(CString text) { m_parser.OnStatusText(text); }
    static CString SplitStatusText(const CString& text, bool& upper, std::vector<BYTE>& bytes)
    {
        return CChangerStatusParser::SplitStatusText(text, upper, bytes);
    }

    // Copies of the texts the parser writes.
    CString GetPlayerName() const;
    CString GetStatusLine() const;
    CString GetMemoText() const;
    CString GetCdText() const;
    CString GetGroupName(int group) const;
    CString GetArtistText(int artist) const;
    void SetArtistText(int artist, const char* text);

    HANDLE GetStatusEvent() const { return m_store.GetStatusEvent(); }

private:
    void SetQueued(ChangerState& s, int disc, int track, bool keepSearch);
    BOOL SendPlaceText(int disc, int track, BOOL play);
    void FadeUpOrPlay();
    BOOL HoldAt(int disc, int track, void (CSonyPlayer::*hold)());
    void DebugEvent(const char* text);
    BOOL Send(const CString& text) { return m_link.Send(text); }

    CPlayerHost* m_host;
    // The parts refer to one another; they are made in this order.
    CChangerStateStore m_store;
    CChangerLink m_link;
    CChangerTransport m_transport;
    CChangerQueries m_queries;
    CChangerKeypad m_keypad;
    CChangerMemos m_memos;
    CChangerStatusParser m_parser;
};

// Holds a changer in search mode (play state 3: its reports start no play and
// no library check) for its lifetime, then gives back the state it had.
class CSearchModeHold
{
public:
    explicit CSearchModeHold(CSonyPlayer& player);
    ~CSearchModeHold();
    CSearchModeHold(const CSearchModeHold&) = delete;
    CSearchModeHold& operator=(const CSearchModeHold&) = delete;

private:
    CSonyPlayer& m_player;
    int m_saved;
};
