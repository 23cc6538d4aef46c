// The player control: one CSonyPlayer for every changer found on the control
// buses of the interface units, and the MP3 player. It probes every bus
// address, defines each player's devices from the built-in definitions, routes
// the playing thread's requests to the player of an entry's album, answers
// whether an entry still plays, polls status and hands new discs on.
//
// Threads: the playing thread routes, stops and asks; the GUI thread scans,
// polls, powers and stops all; OnScanReply and the players' parsers run on the
// thread that delivers device texts. A rescan (or the control's deletion) may
// come while the other two use a player, so every use holds a CPlayerUse and
// players are freed only once no use of their roster is left. The changers' answers reach
// their parsers through OnPlayerText for the same reason.
// Lock order: m_lock, then the library lock, then whatever the player takes;
// no listener is called with m_lock held.
#pragma once

#include <afxmt.h>

#include <array>
#include <memory>
#include <vector>

#include "core/players/PlayerHost.h"
#include "devices/manager/TextCallback.h"
#include "mp3/player/Mp3Control.h"
#include "library/records/AlbumRecord.h"

class CLibItem;
class CMusicLibrary;
class CSonyPlayer;

// What the control needs of the document besides what its players need.
class CControlHost : public CPlayerHost
{
public:
    virtual void SetFirmwareVersion(double version) = 0;
    virtual CMusicLibrary& GetLibrary() = 0;
    // Null when "Enable MP3" is off.
    virtual CMp3Control* GetMp3Player() = 0;
    virtual BOOL IsDiscSearchRunning() = 0;
    virtual BOOL IsLibraryLoading() = 0;
    virtual void IdentifyDiscs(int player) = 0;
    // Tells the user why the program cannot go on, and ends it.
    virtual void FatalError(const char* text) = 0;
};

class CSonyControl : public CCallbackTarget
{
public:
    enum { kMaxPlayers = 96, kUnits = 8, kBusPorts = 4, kBusIds = 3, kMp3PlayerId = 1001 };

    explicit CSonyControl(CControlHost* host);
    ~CSonyControl();
    CSonyControl(const CSonyControl&) = delete;
    CSonyControl& operator=(const CSonyControl&) = delete;

    void ScanBus(BOOL downloadGroupNames);
    void OnScanReply(CString text);
    // The listener of every player's receive devices.
    void OnPlayerText(CString text);

    BOOL AddPlayer(int id, int unit, int port, BOOL upperSlots);
    // The players after it move up one place.
    BOOL RemovePlayer(int index);
    void RemoveAllPlayers();

    BOOL PlayEntry(const CLibItem* first, const CLibItem* second);
    // PlayEntry for an entry seen playing earlier in the same step: an MP3
    // track that has ended since is not started again.
    BOOL PlayOnEntry(const CLibItem* first, const CLibItem* second);
    BOOL PauseEntry(const CLibItem* first, const CLibItem* second);
    BOOL CueEntry(const CLibItem* first, const CLibItem* second);
    BOOL StopPlayer(int index);
    void SetPlayState(int index, int state);
    void SetAllPlayStates(int state);
    // The play list's preview flag, to every changer and the MP3 player.
    void SetPreview(BOOL preview);
    BOOL IsEntryPlaying(const CLibItem* entry);
    BOOL IsEntryNearEnd(const CLibItem* entry);
    // The entry's disc is in its changer's drive, or the MP3 player holds
    // the entry, playing or paused.
    BOOL IsEntryLoaded(const CLibItem* entry);
    // The flag word its changer keeps for the entry's slot (CSonyPlayer's
    // kSlot bits); a file of the MP3 player counts as known and there; 0
    // for an entry that does not resolve.
    DWORD GetEntryPlayerFlag(const CLibItem* entry);
    void WaitForDevicePath(int ms);

    void PollStatus();
    void PollNewDiscs();
    void PowerOffAll();
    void PowerOnAll();
    void StopAll();

    int GetPlayerCount();
    int GetPlayerSlotCount();
    int GetPlayerId(int index);
    CString GetPlayerName(int index);
    int GetTotalCapacity();
    CString ListPlayers();
    BOOL HasUnknownSlots();
    BOOL IsAnyPlaying();
    WORD GetBusStatus(int address) const;
    // For the GUI thread, which alone rescans: valid until the next scan.
    CSonyPlayer* GetPlayer(int index);

    // Settings handed to every player created later.
    int m_fadeUpTime = 0;
    int m_fadeDownTime = 0;
    int m_fadeOverlapTime = 0;
    int m_trackFinishTweak = 0;

private:
    enum Request { kPlay, kPlayOn, kPause, kCue };
    struct Place
    {
        int player;   // changer index, or kMp3PlayerId
        int slot;
        int track;
        CString albumId;
        AlbumRecord album;   // a copy, for the MP3 player only
    };

    // The players of one scan and the uses that hold them.
    struct Roster
    {
        Roster();
        ~Roster();   // frees the players
        std::vector<std::unique_ptr<CSonyPlayer>> players;
        int users = 0;   // CPlayerUses holding the roster, counted under m_lock
        HANDLE idle;   // set while users is 0
    };

    // Holds the players of the moment; they are not freed while it lives.
    class CPlayerUse
    {
    public:
        explicit CPlayerUse(CSonyControl& control);
        ~CPlayerUse();
        CPlayerUse(const CPlayerUse&) = delete;
        CPlayerUse& operator=(const CPlayerUse&) = delete;
        const std::vector<CSonyPlayer*>& Players() const { return m_players; }
        CSonyPlayer* At(int index) const;

    private:
        CSonyControl& m_control;
        std::shared_ptr<Roster> m_roster;
        std::vector<CSonyPlayer*> m_players;
    };

    bool OldFirmware();
    void PowerAll(BOOL on);
    bool ResolveEntry(const CLibItem* entry, Place& place);
    BOOL Route(Request request, const CLibItem* first, const CLibItem* second);
    BOOL IsMp3Playing(const CLibItem* entry, const Place& place);
    BOOL SameFile(const Place& place, const CString& albumId, int track);
    void ProbeUnit(int unit);
    void AddFoundPlayers();
    // Makes next current; frees the old roster's players once no use holds them.
    void ReplaceRoster(std::shared_ptr<Roster> next);
    void StartPlayers(BOOL downloadGroupNames);
    void WarnControlA1Mode();
    void DefineDevice(const char* resource, const CString& name, int number, int unit, int ports);
    void SetListener(const CString& device, TextFunction function);

    CControlHost* m_host;
    CMp3Control* m_mp3;
    // Guards m_roster, the rosters' player lists and use counts, and the
    // bus status words (written by OnScanReply, read by the scan after its
    // flush).
    mutable CCriticalSection m_lock;
    std::shared_ptr<Roster> m_roster;
    std::array<WORD, kMaxPlayers> m_busStatus = {};
};
