// A changer's status parser: every answer or report of the changer updates the
// player's state, may send the commands the playing logic needs (time code,
// fades, stops, re-queueing, power, front-panel modes), and ends with the
// status event signalled, after the whole text's changes are in.
//
// It runs on the thread that delivers device texts, holding the state's lock
// for the whole of a text; the commands it sends and the events it fires go
// out without it (CChangerStateStore::COutside).
#pragma once

#include <afx.h>

#include <vector>

#include "core/players/ChangerState.h"

class CChangerStateStore;
class CPlayerHost;
class CSonyPlayer;
struct ChangerTexts;

class CChangerStatusParser : public ChangerConstants
{
public:
    CChangerStatusParser(CSonyPlayer& player, CChangerStateStore& store, CPlayerHost* host);
    CChangerStatusParser(const CChangerStatusParser&) = delete;
    CChangerStatusParser& operator=(const CChangerStatusParser&) = delete;

    void OnStatusText(const CString& text);
    // Splits "device:event[hex]" into the event name, the upper flag and the bytes.
    static CString SplitStatusText(const CString& text, bool& upper, std::vector<BYTE>& bytes);

private:
    typedef void (CChangerStatusParser::*EventHandler)(bool upper, const std::vector<BYTE>& b);
    struct EventRule
    {
        const char* name;
        EventHandler handler;
    };
    static const EventRule kEvents[];

    bool AfterSettle() const;
    void MarkSlot(int s);
    void CheckLibrary(int track, int minutes, int seconds);
    void NearEndForDisc();
    void FadeUpOrPlay();
    CString BytesText(const std::vector<BYTE>& b, size_t from, size_t most) const;
    // Calls out, without the state's lock.
    void Fire(const CString& text);
    void Debug(const CString& text);
    bool DetectSkippingDiscs();

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

    CSonyPlayer& m_player;       // the commands the parser sends
    CChangerStateStore& m_store;
    CPlayerHost* m_host;
    // The store's state and texts in place, touched only between the
    // store's BeginParse and EndParse.
    ChangerState& m_state;
    ChangerTexts& m_texts;
    CString m_statusText;   // the text being parsed, for debug events
};
