#include "core/doc/DiscSearch.h"

#include "core/doc/DiscIdentify.h"
#include "devices/util/MessageWaits.h"
#include "core/doc/PlaylistDocument.h"
#include "core/players/SonyControl.h"
#include "core/players/SonyPlayer.h"
#include "core/tasks/TaskMgr.h"
#include "library/records/MusicLibrary.h"

#include "core/automation/FireEvent.h"

namespace {

const DWORD kProgressDialog = 1;
const int kGlanceMs = 1000;
const int kLoadMs = 3000;
const int kLoadTries = 10;
const int kContentsMs = 20000;
const int kModeAnswerMs = 1000;
const DWORD kKnownDisc = CSonyPlayer::kSlotHasDisc | CSonyPlayer::kSlotKnown;

const char* const kTitles[] = {
    "Checking \"Empty\" Slots - Pass %d",
    "Skimming Unknown Slots - Pass %d",
    "Checking All Slots",
};

} // namespace

void CDiscSearch::SearchDiscs()
{
    // Taken once: a command that arrives while messages are pumped changes
    // the next search only.
    m_settings = m_doc.GetSearchSettings();
    int mode = m_settings.mode >= kEmptySlots && m_settings.mode <= kAllSlots ? m_settings.mode : kUnknownSlots;
    int poll = m_doc.GetPollPlayerStatus();
    BOOL wasRunning = m_doc.IsDiscSearchRunning();
    m_doc.SetDiscSearchRunning(TRUE);
    m_doc.SetPollPlayerStatus(0);
    m_doc.OnPlaylistStop();
    m_excluded.clear();
    m_cancel = 0;
    CTaskMgr& tasks = m_doc.GetTaskMgr();
    m_task = tasks.CreateTask("FindDisc", &m_cancel, kProgressDialog);
    FireEvent("library_discsearch_start");
    // Every slot is checked in one pass; otherwise passes go on while the
    // last one taught something.
    for (int pass = 1;; ++pass)
    {
        int loaded = RunPass(mode, pass);
        if (mode == kAllSlots || loaded == 0 || m_cancel)
            break;
    }
    m_doc.GetPlayerControl().StopAll();
    tasks.EndTask(m_task);
    FireEvent("library_discsearch_end");
    m_doc.SetPollPlayerStatus(poll);
    m_doc.SetDiscSearchRunning(wasRunning);
}

int CDiscSearch::RunPass(int mode, int pass)
{
    SetTitle(mode, pass);
    CSonyControl& control = m_doc.GetPlayerControl();
    m_total = control.GetTotalCapacity();
    m_position = 0;
    CTaskMgr& tasks = m_doc.GetTaskMgr();
    tasks.SetTaskRange(m_task, m_total);
    tasks.SetTaskPos(m_task, 0);
    int filter = m_settings.playerFilter;
    int loaded = 0;
    for (int i = 0; i < control.GetPlayerCount() && !m_cancel; ++i)
    {
        CSonyPlayer* player = control.GetPlayer(i);
        if (!player)
            continue;
        if (filter != 0 && filter != i + 1)
        {
            m_position += player->GetState().capacity;
            continue;
        }
        SearchChanger(i, *player, mode, pass, loaded);
    }
    return loaded;
}

void CDiscSearch::SearchChanger(int changer, CSonyPlayer& player, int mode, int pass, int& loaded)
{
    CSearchModeHold searching(player);
    if (!Prepare(player))
    {
        m_position += player.GetState().capacity;
        return;
    }
    CTaskMgr& tasks = m_doc.GetTaskMgr();
    const int capacity = player.GetState().capacity;
    for (int s = 1; s <= capacity && s <= CSonyPlayer::kSlots && !m_cancel; ++s)
    {
        if (IsSkipped(changer, s))
            continue;
        CString status;
        status.Format("Searching Player %d Disc %d", changer + 1, s);
        SetStatus(status);
        tasks.SetTaskPos(m_task, ++m_position);
        FireEvent("library_discsearch_status[%d,%d,%d,%d]", changer + 1, s, m_position, m_total);
        if (mode == kAllSlots && pass == 1)
            player.ChangeState([s](ChangerState& state) { state.slots[s - 1] &= ~kKnownDisc; });
        if (NeedsCheck(changer, player, s, mode) && Check(changer, player, s, mode))
            ++loaded;
        PumpWaitingMessages();
    }
}

// The changer tells its mode; one still scanning its discs is left alone.
bool CDiscSearch::Prepare(CSonyPlayer& player)
{
    HANDLE reported = player.GetStatusEvent();
    ResetEvent(reported);
    player.QueryMode();
    WaitForCondition(kModeAnswerMs, [reported] { return WaitForSingleObject(reported, 0) == WAIT_OBJECT_0; },
                     &m_cancel);
    return !player.GetState().busy;
}

bool CDiscSearch::IsSkipped(int changer, int slot) const
{
    for (const auto& pair : m_excluded)
    {
        if (pair.first == changer && pair.second == slot)
            return true;
    }
    if (!m_settings.useRange)
        return false;
    int first = m_settings.firstSlot;
    int last = m_settings.lastSlot;
    // A range whose first slot lies above its last wraps round the end.
    bool inside = first <= last ? slot >= first && slot <= last : slot >= first || slot <= last;
    return !inside;
}

bool CDiscSearch::NeedsCheck(int changer, const CSonyPlayer& player, int slot, int mode) const
{
    if (mode == kAllSlots)
        return true;
    DWORD flags = player.GetState().slots[slot - 1] & kKnownDisc;
    bool knownEmpty = flags == CSonyPlayer::kSlotKnown;
    bool knownDisc = flags == kKnownDisc;
    bool inLibrary = m_doc.GetMusicLibrary().FindAlbumAt(changer, slot) >= 0;
    if (mode == kUnknownSlots)
        return !((!inLibrary && knownEmpty) || (inLibrary && knownDisc));
    return !inLibrary && !knownEmpty;
}

// What a load taught counts: the changer told something new about the slot,
// or an album was stored. Repeating a load that teaches nothing (a disc
// whose contents cannot be read, a slot the library fills but the changer
// calls empty) would make the passes go on for ever.
bool CDiscSearch::Check(int changer, CSonyPlayer& player, int slot, int mode)
{
    const DWORD before = player.GetState().slots[slot - 1] & kKnownDisc;
    bool stored;
    if (mode == kUnknownSlots && m_doc.GetMusicLibrary().FindAlbumAt(changer, slot) >= 0)
        stored = Glance(player, slot);
    else
        stored = LoadAndIdentify(changer, player, slot);
    return stored || (player.GetState().slots[slot - 1] & kKnownDisc) != before;
}

// A slot the library fills but the changer does not know: a quick look. A
// changer that says nothing about it is taken to hold the library's disc.
bool CDiscSearch::Glance(CSonyPlayer& player, int slot)
{
    const DWORD before = player.GetState().slots[slot - 1];
    player.Cue(slot, -1);
    auto told = [slot, before](const ChangerState& s) { return s.slots[slot - 1] != before || s.noDisc == slot; };
    if (!player.WaitForState(kGlanceMs, told, &m_cancel))
        player.ChangeState([slot](ChangerState& s) { s.slots[slot - 1] |= kKnownDisc; });
    return false;
}

// Up to ten tries, each watched for 3000 ms, while the changer answers other
// things (it was busy, or ignored the request); a try without any answer
// ends them, since a silent changer would only make each slot cost 30 s.
bool CDiscSearch::Load(CSonyPlayer& player, int slot)
{
    player.ChangeState([slot](ChangerState& s) { s.slots[slot - 1] &= ~CSonyPlayer::kSlotKnown; });
    auto known = [slot](const ChangerState& s) { return (s.slots[slot - 1] & CSonyPlayer::kSlotKnown) != 0; };
    HANDLE reported = player.GetStatusEvent();
    for (int attempt = 0; attempt < kLoadTries && !m_cancel; ++attempt)
    {
        ResetEvent(reported);
        player.Cue(slot, -1);
        if (player.WaitForState(kLoadMs, known, &m_cancel))
            return true;
        if (WaitForSingleObject(reported, 0) != WAIT_OBJECT_0)
            return false;
    }
    return false;
}

// True when an album was stored for the disc found there.
bool CDiscSearch::LoadAndIdentify(int changer, CSonyPlayer& player, int slot)
{
    if (!Load(player, slot))
        return false;
    const ChangerState loaded = player.GetState();
    bool hasDisc = (loaded.slots[slot - 1] & CSonyPlayer::kSlotHasDisc) != 0 && loaded.noDisc != slot &&
                   loaded.noDisc != CSonyPlayer::kNoDiscIgnored;
    if (!hasDisc || m_cancel)
        return false;
    player.WaitForDiscReady(slot, kContentsMs, &m_cancel);
    if (player.GetState().currentDisc != slot || m_cancel)
        return false;
    SetStatus("Identifying...");
    IdentifiedDisc disc;
    if (!CDiscIdentify(m_doc).IdentifyDiscs(changer, disc))
        return false;
    CheckDuplicate(changer, slot, disc);
    return true;
}

// A known album that sat present in another slot that still holds a disc:
// the same disc twice. The first copy is left out of the rest of the search.
void CDiscSearch::CheckDuplicate(int changer, int slot, const IdentifiedDisc& disc)
{
    if (!disc.known || !disc.previousPresent || (disc.previousPlayer == changer && disc.previousSlot == slot))
        return;
    CSonyControl& control = m_doc.GetPlayerControl();
    if (disc.previousPlayer < 0 || disc.previousPlayer >= control.GetPlayerCount() || disc.previousSlot < 1 ||
        disc.previousSlot > CSonyPlayer::kSlots)
        return;
    CSonyPlayer* other = control.GetPlayer(disc.previousPlayer);
    if (!other || (other->GetState().slots[disc.previousSlot - 1] & kKnownDisc) != kKnownDisc)
        return;
    CString text;
    text.Format("This discs titled %s in \nPlayer %d Slot %d\nPlayer %d Slot %d\nappear to be duplicates, which is "
                "not allowed in ZYM.\nPlease remove the first of these two discs when the search is complete.",
                static_cast<LPCSTR>(disc.title), disc.previousPlayer + 1, disc.previousSlot, changer + 1, slot);
    AfxMessageBox(text);
    m_excluded.push_back({disc.previousPlayer, disc.previousSlot});
}

void CDiscSearch::SetTitle(int mode, int pass)
{
    CString title;
    title.Format(kTitles[mode], pass);
    SetStatus(title);
    FireEvent("library_discsearch_title[%s]", static_cast<LPCSTR>(title));
}

void CDiscSearch::SetStatus(const CString& text)
{
    m_doc.GetTaskMgr().SetTaskStatus(m_task, text);
}
