#include "core/players/SonyControl.h"

#include "devices/util/Bcd.h"
#include "core/devpath/DevicePath.h"
#include "devices/util/ResourceText.h"
#include "core/players/OldFirmware.h"
#include "core/players/SonyPlayer.h"
#include "library/playlist/LibItem.h"

#include <stdio.h>
#include <stdlib.h>

namespace {

const int kScanDevicePorts = 0;
const int kInfraredPorts = 0xff0;
const int kFirstAnswer = 0x98;
const int kFirstUpperAnswer = 0x9B;
const int kLastUpperAnswer = 0x9D;
const BYTE kPlayerTypeAnswer = 0x61;
const int kScanAnswerBytes = 4;
const int kStatusSilence = 3;   // seconds without a report before a poll
const int kPollInterval = 6;    // seconds between polls of a quiet changer

// Disc capacity of a changer from the model byte of its answer.
int CapacityOfModel(int model)
{
    if (model == 0)
        return 100;
    if (model == 0x64)
        return 300;
    if (model == 0xC8)
        return 400;
    if (model > 153)
        return model - 54;
    return static_cast<int>(Bcd8ToDecimal(model));
}

} // namespace

CSonyControl::Roster::Roster() : idle(CreateEventA(nullptr, TRUE, TRUE, nullptr))
{
    players.reserve(kMaxPlayers);
}

CSonyControl::Roster::~Roster()
{
    CloseHandle(idle);
}

CSonyControl::CPlayerUse::CPlayerUse(CSonyControl& control) : m_control(control)
{
    CSingleLock hold(&control.m_lock, TRUE);
    m_roster = control.m_roster;
    for (const std::unique_ptr<CSonyPlayer>& player : m_roster->players)
        m_players.push_back(player.get());
    if (m_roster->users++ == 0)
        ResetEvent(m_roster->idle);
}

CSonyControl::CPlayerUse::~CPlayerUse()
{
    CSingleLock hold(&m_control.m_lock, TRUE);
    if (--m_roster->users == 0)
        SetEvent(m_roster->idle);
}

CSonyPlayer* CSonyControl::CPlayerUse::At(int index) const
{
    return index >= 0 && index < static_cast<int>(m_players.size()) ? m_players[index] : nullptr;
}

CSonyControl::CSonyControl(CControlHost* host) : m_host(host), m_mp3(host->GetMp3Player())
{
    try {
        m_roster = std::make_shared<Roster>();
    } catch (const std::bad_alloc&) {
        host->FatalError("CSonyControl: Unable to allocate CDP pointers");
    }
}

CSonyControl::~CSonyControl()
{
    RemoveAllPlayers();
}

bool CSonyControl::OldFirmware()
{
    return IsOldFirmware(m_host->GetFirmwareVersion());
}

// ---- The bus scan ----

void CSonyControl::ScanBus(BOOL downloadGroupNames)
{
    CDevicePath& path = m_host->GetDevicePath();
    int units = path.GetNumTavlins();
    if (units < 1)
        return;
    RemoveAllPlayers();
    {
        CSingleLock hold(&m_lock, TRUE);
        m_busStatus.fill(0);
    }
    for (int u = 0; u < units && u < kUnits; ++u)
        ProbeUnit(u);
    CString last;
    last.Format("sfpll%d", (units < kUnits ? units : kUnits) - 1);
    path.SendDeviceCommand(last + ":ir[-200000] " + last + ":flush[2000]");
    AddFoundPlayers();
    for (int u = 0; u < units && u < kUnits; ++u) {
        CString name;
        name.Format("sfpll%d", u);
        path.DeleteDevice(name);
    }
    StartPlayers(downloadGroupNames);
    WarnControlA1Mode();
}

void CSonyControl::ProbeUnit(int unit)
{
    CDevicePath& path = m_host->GetDevicePath();
    CString name;
    name.Format("sfpll%d", unit);
    path.AddDeviceText("type=LOWLEVEL", name, 0, unit, kScanDevicePorts);
    SetListener(name, static_cast<TextFunction>(&CSonyControl::OnScanReply));
    path.SendDeviceCommand(name + ":getversion " + name + ":flush[2000]");
    for (int d = 0; d < kBusIds; ++d) {
        for (int p = 0; p < kBusPorts; ++p) {
            CString probe;
            probe.Format("%s:sl%d[9%d22]", static_cast<const char*>(name), p, d);
            // Older units lose a message now and then: the probe goes out twice.
            if (OldFirmware())
                path.SendDeviceCommand(probe + " " + name + ":ir[-50000]");
            path.SendDeviceCommand(probe + " " + name + ":ir[-50000] " + name + ":flush[2000]");
        }
    }
}

void CSonyControl::SetListener(const CString& device, TextFunction function)
{
    TextCallback listener;
    listener.object = this;
    listener.function = function;
    m_host->GetDevicePath().SetDeviceListener(device, listener);
}

// "sfpll<u>:sl<p>[98 61 model type]" or "...:version[x.y]"; anything else,
// or an answer of another shape, changes nothing.
void CSonyControl::OnScanReply(CString text)
{
    text.TrimRight();
    int colon = text.Find(':');
    int at = text.Find("sfpll");
    if (colon < 0 || at < 0 || at > colon || at + 5 >= colon)
        return;
    int unit = text[at + 5] - '0';
    bool upper = false;
    std::vector<BYTE> b;
    CString name = CSonyPlayer::SplitStatusText(text, upper, b);
    CString command = text.Mid(colon + 1);
    if (name == "version" && command.Left(8) == "version[") {
        double version = 0;
        if (sscanf(static_cast<const char*>(command) + 8, "%lf", &version) == 1 && version >= 1.0)
            m_host->SetFirmwareVersion(version);
        return;
    }
    if (name.GetLength() != 3 || name.Left(2) != "sl" || b.size() != kScanAnswerBytes ||
        b[1] != kPlayerTypeAnswer || b[0] < kFirstAnswer || b[0] > kLastUpperAnswer)
        return;
    int port = name[2] - '0';
    if (unit < 0 || unit >= kUnits || port < 0 || port >= kBusPorts)
        return;
    int id = b[0] < kFirstUpperAnswer ? b[0] - kFirstAnswer : b[0] - kFirstUpperAnswer;
    CSingleLock hold(&m_lock, TRUE);
    m_busStatus[unit * 12 + port * 3 + id] = static_cast<WORD>(b[2] * 256 + b[3]);
}

void CSonyControl::AddFoundPlayers()
{
    for (int a = 0; a < kMaxPlayers; ++a) {
        WORD word = GetBusStatus(a);
        if (!word)
            continue;
        int model = word >> 8;
        if (!AddPlayer(a % 3, a / 12, (a % 12) / 3, model == 0x64 || model == 0xC8))
            continue;
        CSingleLock hold(&m_lock, TRUE);
        int number = static_cast<int>(m_roster->players.size()) - 1;
        m_roster->players.back()->ChangeState([model, word, number](ChangerState& s) {
            s.capacity = CapacityOfModel(model);
            s.typeCode = word & 0xFF;
            s.playerNumber = number;
        });
    }
}

// Each step over all changers before the next, so that every changer has
// its time to act on a word before the next one reaches the bus.
void CSonyControl::StartPlayers(BOOL downloadGroupNames)
{
    CPlayerUse use(*this);
    bool old = OldFirmware();
    for (CSonyPlayer* p : use.Players()) {
        p->PowerOn();
        if (old)
            p->PowerOn();
    }
    for (CSonyPlayer* p : use.Players())
        p->TimecodeOn();
    for (CSonyPlayer* p : use.Players()) {
        if ((p->GetState().typeCode & 0x0B) && downloadGroupNames)
            p->DownloadGroups();
    }
    for (CSonyPlayer* p : use.Players()) {
        p->RemoteOn();
        if (old)
            p->RemoteOn();
    }
    for (CSonyPlayer* p : use.Players()) {
        p->QueryPlayerName();
        p->Flush();
    }
    for (CSonyPlayer* p : use.Players())
        p->KeyBlock();
    for (CSonyPlayer* p : use.Players())
        p->KeyProgram();
    for (CSonyPlayer* p : use.Players())
        p->KeyContinue();
}

void CSonyControl::WarnControlA1Mode()
{
    CPlayerUse use(*this);
    for (size_t i = 0; i < use.Players().size(); ++i) {
        CSonyPlayer* p = use.Players()[i];
        CString description = p->GetDescription();
        const ChangerState s = p->GetState();
        if (s.capacity != 200 || (description.Find("CX3") < 1 && description.Find("CX4") < 1))
            continue;
        CString text;
        text.Format("It appears that your ZYM player CD%d (a %s on port S-Link %d, set to ID%d) is in "
                    "\"Control-A1\" mode instead of \"Control-A II\" mode.\nZYM will not be able to access "
                    "slots beyond 200 on this player until you set the player to \"Control-A1 II\" mode from "
                    "its front panel.\nYou will need to restart ZYM after this change to access the higher "
                    "slots.",
                    static_cast<int>(i) + 1, static_cast<const char*>(ModelText(s.typeCode, s.capacity)),
                    p->GetAddress().busPort, p->GetAddress().busId);
        AfxMessageBox(text);
    }
}

// ---- Players ----

void CSonyControl::DefineDevice(const char* resource, const CString& name, int number, int unit, int ports)
{
    m_host->GetDevicePath().AddDeviceText(LoadResourceText(resource), name, number, unit, ports);
}

BOOL CSonyControl::AddPlayer(int id, int unit, int port, BOOL upperSlots)
{
    {
        CSingleLock hold(&m_lock, TRUE);
        if (static_cast<int>(m_roster->players.size()) >= kMaxPlayers || port >= kBusPorts)
            return FALSE;
    }
    std::unique_ptr<CSonyPlayer> p(new CSonyPlayer(m_host));
    const ChangerAddress a = ChangerAddress::OnBus(id, unit, port, upperSlots != FALSE);
    p->SetAddress(a);
    p->ChangeState([this](ChangerState& s) {
        s.fadeUpTime = m_fadeUpTime;
        s.fadeDownTime = m_fadeDownTime;
        s.fadeOverlapTime = m_fadeOverlapTime;
        s.trackFinishTweak = m_trackFinishTweak;
    });
    int ports = 1 << port;
    DefineDevice("CDSLS.CDE", a.sendDevice, id, unit, ports);
    if (upperSlots)
        DefineDevice("CDSLS.CDE", a.upperSendDevice, id + 3, unit, ports);
    DefineDevice("CDSLR.CDE", a.receiveDevice, id, unit, ports);
    SetListener(a.receiveDevice, static_cast<TextFunction>(&CSonyControl::OnPlayerText));
    if (upperSlots) {
        DefineDevice("CDSLR.CDE", a.upperReceiveDevice, id + 3, unit, ports);
        SetListener(a.upperReceiveDevice, static_cast<TextFunction>(&CSonyControl::OnPlayerText));
    }
    DefineDevice("CDCA.CDE", a.controlDevice, id, unit, ports);
    // Without a transmitter on that unit the infrared device fails on every
    // use; that must not bring up a box each time.
    CDevicePath& path = m_host->GetDevicePath();
    BOOL boxes = path.GetMessageBoxes();
    path.SetMessageBoxes(FALSE);
    DefineDevice("CDIR.CDE", a.irDevice, id, unit, kInfraredPorts);
    path.SetMessageBoxes(boxes);
    CSingleLock hold(&m_lock, TRUE);
    m_roster->players.push_back(std::move(p));
    return TRUE;
}

// The roster is replaced at once, so that no new use finds its players, and
// they are freed once the uses that hold them have ended. New uses take the
// new roster and do not hold this wait up. Only the GUI thread replaces rosters.
void CSonyControl::RemoveAllPlayers()
{
    ReplaceRoster(std::make_shared<Roster>());
}

// The old roster's players are freed here, on the replacing thread, once
// no use holds them.
void CSonyControl::ReplaceRoster(std::shared_ptr<Roster> next)
{
    {
        CSingleLock hold(&m_lock, TRUE);
        next.swap(m_roster);
    }
    WaitForSingleObject(next->idle, INFINITE);
    next->players.clear();
}

// The other players move to a new roster; the removed one is freed once
// the uses of the old roster have ended.
BOOL CSonyControl::RemovePlayer(int index)
{
    std::shared_ptr<Roster> next = std::make_shared<Roster>();
    std::shared_ptr<Roster> old;
    std::unique_ptr<CSonyPlayer> removed;
    {
        CSingleLock hold(&m_lock, TRUE);
        std::vector<std::unique_ptr<CSonyPlayer>>& players = m_roster->players;
        if (index < 0 || index >= static_cast<int>(players.size()))
            return FALSE;
        removed = std::move(players[index]);
        players.erase(players.begin() + index);
        // The old roster's uses walk copies of its list, not the list itself.
        next->players = std::move(players);
        old = m_roster;
        m_roster = next;
    }
    for (size_t i = index; i < next->players.size(); ++i) {
        int number = static_cast<int>(i);
        next->players[i]->ChangeState([number](ChangerState& s) { s.playerNumber = number; });
    }
    WaitForSingleObject(old->idle, INFINITE);
    return TRUE;
}

WORD CSonyControl::GetBusStatus(int address) const
{
    CSingleLock hold(&m_lock, TRUE);
    return m_busStatus[address];
}

void CSonyControl::OnPlayerText(CString text)
{
    CString device = text.Left(text.Find(':'));
    CPlayerUse use(*this);
    for (CSonyPlayer* p : use.Players()) {
        const ChangerAddress& a = p->GetAddress();
        if (device == a.receiveDevice || (!a.upperReceiveDevice.IsEmpty() && device == a.upperReceiveDevice)) {
            p->OnStatusText(text);
            return;
        }
    }
}

// ---- Entries ----

bool CSonyControl::ResolveEntry(const CLibItem* entry, Place& place)
{
    if (!entry)
        return false;
    CMusicLibrary& library = m_host->GetLibrary();
    CLibraryLock lock(library);
    AlbumRecord* album = const_cast<CLibItem*>(entry)->GetAlbum(lock, library);
    if (!album)
        return false;
    place.player = album->GetTrackPlayer(entry->GetTrack());
    place.slot = album->GetSlot();
    place.track = entry->GetTrack();
    place.albumId = album->GetIdText();
    if (place.player == kMp3PlayerId) {
        place.slot = 0;
        place.album = *album;
        return true;
    }
    CPlayerUse use(*this);
    CSonyPlayer* p = use.At(place.player);
    return p && place.slot >= 1 && place.slot <= p->GetState().capacity;
}

BOOL CSonyControl::PlayEntry(const CLibItem* first, const CLibItem* second)
{
    return Route(kPlay, first, second);
}

BOOL CSonyControl::PlayOnEntry(const CLibItem* first, const CLibItem* second)
{
    return Route(kPlayOn, first, second);
}

BOOL CSonyControl::PauseEntry(const CLibItem* first, const CLibItem* second)
{
    return Route(kPause, first, second);
}

BOOL CSonyControl::CueEntry(const CLibItem* first, const CLibItem* second)
{
    return Route(kCue, first, second);
}

BOOL CSonyControl::Route(Request request, const CLibItem* first, const CLibItem* second)
{
    Place place;
    if (!ResolveEntry(first, place))
        return FALSE;
    if (place.player == kMp3PlayerId) {
        bool play = request == kPlay || request == kPlayOn;
        if (!m_mp3) {
            if (play)
                AfxMessageBox("You are trying to play an MP3 file, but the MP3 player is no longer enabled. "
                              "Please enable it under View | Options | Players and restart ZYM.");
            return !play;
        }
        if (request == kPlay)
            m_mp3->Play(place.album, place.track);
        else if (request == kPlayOn)
            m_mp3->PlayOn(place.album, place.track);
        else if (request == kPause)
            m_mp3->Pause(place.album, place.track);
        else
            m_mp3->Cue(place.album, place.track);
        return TRUE;
    }
    CPlayerUse use(*this);
    CSonyPlayer* p = use.At(place.player);
    if (!p)
        return FALSE;
    if (request == kPlay || request == kPlayOn)
        p->PlayAt(place.slot, place.track);
    else if (request == kPause)
        p->PauseAt(place.slot, place.track);
    else
        p->CueAt(place.slot, place.track);
    if (!second) {
        p->SetNextEntry(-1, -1);
        return TRUE;
    }
    Place next;
    if (!ResolveEntry(second, next))
        return FALSE;
    p->SetNextEntry(next.slot, next.track);
    return TRUE;
}

// The MP3 player's file for its album and track against the entry's.
BOOL CSonyControl::SameFile(const Place& place, const CString& albumId, int track)
{
    CMusicLibrary& library = m_host->GetLibrary();
    CLibraryLock lock(library);
    CLibItem playing(albumId, track);
    CLibItem entry(place.albumId, place.track);
    AlbumRecord* mine = playing.GetAlbum(lock, library);
    AlbumRecord* theirs = entry.GetAlbum(lock, library);
    return mine && theirs && mine->GetFileLocation(track) == theirs->GetFileLocation(place.track);
}

BOOL CSonyControl::IsMp3Playing(const CLibItem* entry, const Place& place)
{
    if (!m_mp3)
        return FALSE;
    CString albumId = m_mp3->GetAlbumId();
    int track = m_mp3->GetTrack();
    if (!m_mp3->IsPlaying() && !m_mp3->IsPaused()) {
        if (m_mp3->InStartGrace() && (entry->IsWholeAlbum() || SameFile(place, albumId, track)))
            return TRUE;
        m_host->DebugEvent("mp3isplaying flag noplay");
        return FALSE;
    }
    if (entry->IsWholeAlbum()) {
        if (albumId == place.albumId)
            return TRUE;
        m_host->DebugEvent("mp3isplaying discid nomatch");
        return FALSE;
    }
    AlbumRecord album;
    CLibItem playing(albumId, track);
    if (!playing.GetAlbumCopy(m_host->GetLibrary(), album) || track < 0 || track >= album.GetTrackCount()) {
        m_host->DebugEvent("mp3isplaying discid nomatch");
        return FALSE;
    }
    if (SameFile(place, albumId, track))
        return TRUE;
    m_host->DebugEvent("mp3isplaying fileid nomatch");
    return FALSE;
}

BOOL CSonyControl::IsEntryPlaying(const CLibItem* entry)
{
    Place place;
    if (!ResolveEntry(entry, place))
        return FALSE;
    if (place.player == kMp3PlayerId)
        return IsMp3Playing(entry, place);
    CPlayerUse use(*this);
    CSonyPlayer* p = use.At(place.player);
    return p && p->IsPlaying(place.slot, place.track);
}

BOOL CSonyControl::IsEntryNearEnd(const CLibItem* entry)
{
    Place place;
    if (!ResolveEntry(entry, place))
        return FALSE;
    if (place.player == kMp3PlayerId)
        return m_mp3 ? m_mp3->IsNearEnd() : TRUE;
    CPlayerUse use(*this);
    CSonyPlayer* p = use.At(place.player);
    if (!p)
        return FALSE;
    const ChangerState s = p->GetState();
    if (m_host->Now() - s.playStart < s.settleTime)
        return FALSE;
    return s.nearEnd;
}

BOOL CSonyControl::IsEntryLoaded(const CLibItem* entry)
{
    Place place;
    if (!ResolveEntry(entry, place))
        return FALSE;
    if (place.player == kMp3PlayerId) {
        return m_mp3 && (m_mp3->IsPlaying() || m_mp3->IsPaused()) && m_mp3->GetAlbumId() == place.albumId &&
               (entry->IsWholeAlbum() || m_mp3->GetTrack() == place.track);
    }
    CPlayerUse use(*this);
    CSonyPlayer* p = use.At(place.player);
    return p && p->GetState().currentDisc == place.slot;
}

DWORD CSonyControl::GetEntryPlayerFlag(const CLibItem* entry)
{
    Place place;
    if (!ResolveEntry(entry, place))
        return 0;
    if (place.player == kMp3PlayerId)
        return CSonyPlayer::kSlotHasDisc | CSonyPlayer::kSlotKnown;
    CPlayerUse use(*this);
    CSonyPlayer* p = use.At(place.player);
    return p && place.slot <= CSonyPlayer::kSlots ? p->GetState().slots[place.slot - 1] : 0;
}

void CSonyControl::WaitForDevicePath(int ms)
{
    m_host->GetDevicePath().WaitForDevicePath(ms);
}

// ---- Players as a whole ----

BOOL CSonyControl::StopPlayer(int index)
{
    CPlayerUse use(*this);
    int n = static_cast<int>(use.Players().size());
    if (index >= 0 && index < n)
        return use.At(index)->StopIfActive();
    if (index == n && m_mp3) {
        m_mp3->StopPlayback();
        return TRUE;
    }
    return FALSE;
}

void CSonyControl::SetPlayState(int index, int state)
{
    CPlayerUse use(*this);
    int n = static_cast<int>(use.Players().size());
    if (index >= 0 && index < n)
        use.At(index)->ChangeState([state](ChangerState& s) { s.playState = state; });
    else if (index == n && m_mp3)
        m_mp3->SetPlayState(state);
}

void CSonyControl::SetAllPlayStates(int state)
{
    const int kKeepActive = 4;
    CPlayerUse use(*this);
    for (CSonyPlayer* p : use.Players()) {
        p->ChangeState([state](ChangerState& s) {
            if (state != kKeepActive)
                s.playState = state;
            else if (s.playState != 1 && s.playState != 2)
                s.playState = 1;
            s.nearEnd = 0;
        });
    }
    if (!m_mp3)
        return;
    if (state != kKeepActive)
        m_mp3->SetPlayState(state);
    else if (m_mp3->GetPlayState() != 1 && m_mp3->GetPlayState() != 2)
        m_mp3->SetPlayState(1);
    m_mp3->ClearNearEnd();
}

void CSonyControl::SetPreview(BOOL preview)
{
    BYTE flag = preview ? 1 : 0;
    CPlayerUse use(*this);
    for (CSonyPlayer* p : use.Players())
        p->ChangeState([flag](ChangerState& s) { s.preview = flag; });
    if (m_mp3)
        m_mp3->SetPreview(flag);
}

void CSonyControl::PollStatus()
{
    CPlayerUse use(*this);
    time_t now = m_host->Now();
    for (CSonyPlayer* p : use.Players()) {
        const ChangerState s = p->GetState();
        if (now - s.lastReceived > kStatusSilence || now - s.lastModePoll >= kPollInterval)
            p->QueryMode();
    }
}

void CSonyControl::PollNewDiscs()
{
    if (m_host->IsDiscSearchRunning() || m_host->IsLibraryLoading())
        return;
    CPlayerUse use(*this);
    for (size_t i = 0; i < use.Players().size(); ++i) {
        CSonyPlayer* p = use.Players()[i];
        bool newDisc = false;
        p->ChangeState([&newDisc](ChangerState& s) {
            newDisc = s.newDisc != 0;
            s.newDisc = 0;
        });
        if (!newDisc)
            continue;
        m_host->IdentifyDiscs(static_cast<int>(i));
    }
}

void CSonyControl::PowerOffAll()
{
    PowerAll(FALSE);
}

void CSonyControl::PowerOnAll()
{
    PowerAll(TRUE);
}

void CSonyControl::PowerAll(BOOL on)
{
    CPlayerUse use(*this);
    int times = OldFirmware() ? 2 : 1;
    for (CSonyPlayer* p : use.Players())
        p->ChangeState([on](ChangerState& s) { s.powered = on; });
    for (CSonyPlayer* p : use.Players()) {
        for (int t = 0; t < times; ++t) {
            if (on)
                p->PowerOn();
            else
                p->PowerOff();
        }
    }
    for (CSonyPlayer* p : use.Players())
        p->QueryMode();
}

// One stop word to all players of a bus reaches every changer on it.
void CSonyControl::StopAll()
{
    CPlayerUse use(*this);
    bool stopped[kUnits][kBusPorts] = {};
    for (CSonyPlayer* p : use.Players()) {
        const ChangerAddress& a = p->GetAddress();
        if (a.unit < 0 || a.unit >= kUnits || stopped[a.unit][a.busPort])
            continue;
        stopped[a.unit][a.busPort] = true;
        m_host->GetDevicePath().SendDeviceCommand(a.sendDevice + ":sl[9701]");
    }
    if (m_mp3)
        m_mp3->StopPlayback();
}

int CSonyControl::GetPlayerCount()
{
    CSingleLock hold(&m_lock, TRUE);
    return static_cast<int>(m_roster->players.size());
}

CSonyPlayer* CSonyControl::GetPlayer(int index)
{
    CPlayerUse use(*this);
    return use.At(index);
}

int CSonyControl::GetPlayerSlotCount()
{
    return GetPlayerCount() + (m_mp3 ? 1 : 0);
}

int CSonyControl::GetPlayerId(int index)
{
    int n = GetPlayerCount();
    if (index >= 0 && index < n)
        return index;
    return index == n ? kMp3PlayerId : -1;
}

CString CSonyControl::GetPlayerName(int index)
{
    int n = GetPlayerCount();
    CString name;
    if (index >= 0 && index < n)
        name.Format("cd%d", index + 1);
    else if (index == n)
        name = "mp3";
    return name;
}

int CSonyControl::GetTotalCapacity()
{
    CPlayerUse use(*this);
    int total = 0;
    for (CSonyPlayer* p : use.Players())
        total += p->GetState().capacity;
    return total;
}

CString CSonyControl::ListPlayers()
{
    CPlayerUse use(*this);
    if (use.Players().empty())
        return "No Players Available.";
    CString list;
    for (size_t i = 0; i < use.Players().size(); ++i) {
        CString item;
        item.Format("[%d] ", static_cast<int>(i));
        list += item + use.Players()[i]->GetDescription();
    }
    return list;
}

BOOL CSonyControl::HasUnknownSlots()
{
    CPlayerUse use(*this);
    for (CSonyPlayer* p : use.Players()) {
        if (p->HasUnknownSlots() && !p->GetState().busy)
            return TRUE;
    }
    return FALSE;
}

BOOL CSonyControl::IsAnyPlaying()
{
    CPlayerUse use(*this);
    for (CSonyPlayer* p : use.Players()) {
        if (p->GetState().IsActive())
            return TRUE;
    }
    return m_mp3 && (m_mp3->IsPlaying() || m_mp3->IsPaused());
}
