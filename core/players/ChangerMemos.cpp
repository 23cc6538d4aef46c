#include "core/players/ChangerMemos.h"

#include "core/players/ArtistTable.h"
#include "core/players/ChangerKeypad.h"
#include "core/players/ChangerLink.h"
#include "core/players/ChangerStateStore.h"
#include "core/players/SonyPlayer.h"
#include "devices/util/MessageWaits.h"
#include "library/playlist/PlayList.h"
#include "library/records/TaskSink.h"

#include <map>

namespace {

const int kMemoPart1 = 13;        // characters of the first memo part
const int kMemoLength = 20;       // both parts together
const int kWriteAttempts = 3;
const int kAcknowledgeMs = 2000;
const int kReadAttempts = 3;
const int kReadAnswerMs = 2000;
const int kMemoAnswerMs = 1000;
const int kArtistsPerPacket = 16;
const int kLargestCapacity = 400;
const int kKeyedTracks = 16;
const int kUpperSlots = 200;
// Capability bits of the type code.
const int kStoresMemos = 0x0B;
const int kPanelMemos = 0x1B;
const int kArtistTables = 0x6B;

// "%02x" of each character's byte; blanks ("20") where the text is short.
CString MemoCodes(const CString& text, int from, int count)
{
    CString codes;
    for (int i = from; i < from + count; ++i)
    {
        CString code;
        code.Format("%02x", i < text.GetLength() ? BYTE(text[i]) : BYTE(' '));
        codes += code;
    }
    return codes;
}

CString Trimmed(CString text)
{
    text.TrimRight();
    return text;
}

// The first 20 characters of the album's own artist, without trailing blanks.
CString DiscArtist(const AlbumRecord& album)
{
    return Trimmed(album.GetArtist(kAlbumIndex).Left(kMemoLength));
}

} // namespace

// ---- Texts ----

CString CChangerMemos::MemoPartText(int slot, bool second, const CString& text) const
{
    CString device;
    CString code;
    m_link.GetDiscAddress(slot, m_store.Get().capacity, device, code);
    if (second)
        return device + ":set_memo_text2[" + code + "02" + MemoCodes(text, kMemoPart1, kMemoLength - kMemoPart1) +
               "]" + m_link.Pause45();
    return device + ":set_memo_text[" + code + MemoCodes(text, 0, kMemoPart1) + "]" + m_link.Pause45();
}

// part 1 carries characters 1-13, part 2 characters 14-20.
CString CChangerMemos::ArtistPartText(int artist, int part, const CString& padded) const
{
    CString head;
    head.Format(":set_artist_memo[%02x%02x", artist, part);
    int from = part == 1 ? 0 : kMemoPart1;
    int count = part == 1 ? kMemoPart1 : kMemoLength - kMemoPart1;
    return m_link.GetAddress().sendDevice + head + MemoCodes(padded, from, count) + "]" + m_link.Pause45();
}

CString CChangerMemos::ArtistChoiceText(int slot, int artist) const
{
    CString device;
    CString code;
    m_link.GetDiscAddress(slot, m_store.Get().capacity, device, code);
    CString number;
    number.Format("%02x", artist);
    return device + ":set_artist[" + code + number + "]" + m_link.Pause45();
}

// ---- Acknowledged writes ----

// Up to three sends, each while the cancel flag is clear and the word does
// not hold the wanted value yet, each watched for 2000 ms.
CChangerMemos::WriteResult CChangerMemos::WriteAcknowledged(const CString& text, const StateTest& written,
                                                             const TaskCancelFlag* cancel)
{
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt)
    {
        if (*cancel)
            return kWriteCancelled;
        if (written(m_store.Get()))
            return kWritten;
        m_link.Send(text);
        m_player.Flush();
        if (m_store.WaitFor(kAcknowledgeMs, written, cancel))
            return kWritten;
    }
    return *cancel ? kWriteCancelled : kNotAcknowledged;
}

// The changer answers a memo part with "memo_written".
CChangerMemos::WriteResult CChangerMemos::WriteMemoPart(const CString& text, const TaskCancelFlag* cancel)
{
    m_store.Change([](ChangerState& s) { s.acknowledge = 0; });
    return WriteAcknowledged(text, [](const ChangerState& s) { return s.acknowledge == 1; }, cancel);
}

BOOL CChangerMemos::WriteMemoText(int slot, const CString& text, const TaskCancelFlag* cancel)
{
    if (!m_link.CanAddress(slot, -1))
        return FALSE;
    WriteResult first = WriteMemoPart(MemoPartText(slot, false, text), cancel);
    if (first != kWritten)
        return first == kWriteCancelled;
    // Only the 400-disc changers keep a second part; others keep 13 characters.
    if (text.GetLength() > kMemoPart1 && m_player.HasAllBits(kArtistTables) &&
        m_store.Get().capacity == kLargestCapacity)
        return WriteMemoPart(MemoPartText(slot, true, text), cancel) != kNotAcknowledged;
    return TRUE;
}

BOOL CChangerMemos::WriteArtistMemo(int artist, const CString& text, const TaskCancelFlag* cancel)
{
    if (artist < 1 || artist > kArtistRecords)
        return FALSE;
    CString padded = text + CString(' ', kMemoLength);
    WriteResult result = WriteMemoPart(ArtistPartText(artist, 1, padded), cancel);
    if (result == kWritten)
        result = WriteMemoPart(ArtistPartText(artist, 2, padded), cancel);
    // What the changer never got is not kept: a later upload writes it again.
    if (result == kWritten)
        m_player.SetArtistText(artist, padded.Left(kMemoLength));
    return result != kNotAcknowledged;
}

// The changer answers with its artist data, which fills the slot's entry.
BOOL CChangerMemos::SetArtist(int slot, int artist, const TaskCancelFlag* cancel)
{
    if (slot < 1 || slot >= kDiscArtists || !m_link.CanAddress(slot, -1))
        return FALSE;
    auto chosen = [slot, artist](const ChangerState& s) { return s.discArtists[slot] == artist; };
    return WriteAcknowledged(ArtistChoiceText(slot, artist), chosen, cancel) != kNotAcknowledged;
}

void CChangerMemos::WriteArtistMemoOnce(int artist, const CString& text)
{
    if (artist < 1 || artist > kArtistRecords)
        return;
    CString padded = text + CString(' ', kMemoLength);
    m_link.Send(ArtistPartText(artist, 1, padded));
    m_player.Flush();
    m_link.Send(ArtistPartText(artist, 2, padded));
    m_player.Flush();
    m_player.SetArtistText(artist, padded.Left(kMemoLength));
}

void CChangerMemos::SetArtistOnce(int slot, int artist)
{
    if (slot < 1 || slot >= kDiscArtists || !m_link.CanAddress(slot, -1))
        return;
    m_link.Send(ArtistChoiceText(slot, artist));
    m_player.Flush();
    m_store.Change([slot, artist](ChangerState& s) { s.discArtists[slot] = artist; });
}

// ---- Reads ----

BOOL CChangerMemos::ReadArtistTexts(const TaskCancelFlag* cancel, CTaskSink* tasks, int taskId)
{
    tasks->SetTaskStatus(taskId, "Read Artist Text");
    tasks->SetTaskRange(taskId, kArtistRecords);
    for (int a = 1; a <= kArtistRecords; ++a)
    {
        if (*cancel)
            return TRUE;
        tasks->SetTaskPos(taskId, a);
        auto unknown = [this, a] { return m_player.GetArtistText(a) == kArtistPlaceholder; };
        for (int attempt = 0; attempt < kReadAttempts && unknown(); ++attempt)
        {
            m_player.QueryArtistMemo(a);
            m_store.WaitFor(kReadAnswerMs, [&](const ChangerState&) { return !unknown(); }, cancel);
        }
        if (unknown() && !*cancel)
            return FALSE;
    }
    return TRUE;
}

// One answer covers 16 slots.
BOOL CChangerMemos::ReadDiscArtists(const TaskCancelFlag* cancel, CTaskSink* tasks, int taskId)
{
    const int capacity = m_store.Get().capacity;
    int last = capacity < kDiscArtists - 1 ? capacity : kDiscArtists - 1;
    tasks->SetTaskStatus(taskId, "Read Disc Artists");
    tasks->SetTaskRange(taskId, last);
    for (int d = 1; d <= last; ++d)
    {
        if (*cancel)
            return TRUE;
        tasks->SetTaskPos(taskId, d);
        auto known = [d](const ChangerState& s) { return s.discArtists[d] != -1; };
        for (int attempt = 0; attempt < kReadAttempts && !known(m_store.Get()); ++attempt)
        {
            m_player.QueryArtistData((d - 1) / kArtistsPerPacket + 1);
            m_store.WaitFor(kReadAnswerMs, known, cancel);
        }
        if (!known(m_store.Get()) && !*cancel)
            return FALSE;
    }
    return TRUE;
}

// The query's answer names the disc it is about in *disc.
bool CChangerMemos::AskAboutDisc(BOOL (CSonyPlayer::*query)(int), int ChangerState::*disc, int slot,
                                 const TaskCancelFlag* cancel)
{
    m_store.Change([disc](ChangerState& s) { s.*disc = -1; });
    if (!(m_player.*query)(slot))
        return false;
    return m_store.WaitFor(kMemoAnswerMs, [disc, slot](const ChangerState& s) { return s.*disc == slot; }, cancel);
}

BOOL CChangerMemos::ReadMemo(int slot, CString& memo, const TaskCancelFlag* cancel)
{
    if (!AskAboutDisc(&CSonyPlayer::QueryMemoText, &ChangerState::memoDisc, slot, cancel))
        return FALSE;
    memo = m_player.GetMemoText();
    return TRUE;
}

BOOL CChangerMemos::ReadDeleteFile(int slot, BYTE bits[kDeleteFileBytes], const TaskCancelFlag* cancel)
{
    if (!AskAboutDisc(&CSonyPlayer::QueryDeleteFile, &ChangerState::deleteFileDisc, slot, cancel))
        return FALSE;
    memcpy(bits, m_store.Get().deleteFile, kDeleteFileBytes);
    return TRUE;
}

// ---- Typing on the front panel ----

void CChangerMemos::SendPause100()
{
    m_link.Send(m_link.GetAddress().controlDevice + ":ir[-100000]");
}

BOOL CChangerMemos::EnterMemosByKeys(int slot, const CString& discText, const CString& artistText, int trackCount,
                                   const CString* trackTexts, BOOL shortClose, const TaskCancelFlag* cancel)
{
    if (!shortClose)
        m_keypad.SendOpeningSequence();
    m_keypad.KeyMemoScan();
    bool upper = slot > kUpperSlots;
    if (upper)
        m_keypad.KeyPlayerSelect();
    if (EnterTextsByKeys(slot, discText, artistText, trackCount, trackTexts, shortClose, cancel))
    {
        if (shortClose)
            m_keypad.SendShortClose();
        else
        {
            const CString& c = m_link.GetAddress().controlDevice;
            m_link.Send(c + ":sl[920F] " + c + ":ir[-50000]");
            m_link.Send(c + ":sl[9A700340000100] " + c + ":ir[-100000]");
        }
    }
    m_keypad.KeyMemoScan();
    if (upper)
        m_keypad.KeyPlayerSelect();
    return TRUE;
}

// The texts of one disc; false when a cancel came after one of them.
bool CChangerMemos::EnterTextsByKeys(int slot, const CString& discText, const CString& artistText, int trackCount,
                                   const CString* trackTexts, BOOL shortClose, const TaskCancelFlag* cancel)
{
    m_keypad.KeyDiscNumber(slot > kUpperSlots ? slot - kUpperSlots : slot);
    m_keypad.KeyMemoInput();
    m_keypad.KeyEnter();
    m_keypad.KeyText(discText, shortClose);
    PumpWaitingMessages();
    if (*cancel)
        return false;
    for (int i = 0; i < 3; ++i)
    {
        m_keypad.KeyEnter();
        SendPause100();
    }
    m_keypad.KeyText(artistText, shortClose);
    PumpWaitingMessages();
    if (*cancel)
        return false;
    typedef BOOL (CChangerKeypad::*Key)();
    const Key kToTracks[] = {&CChangerKeypad::KeyEnter, &CChangerKeypad::KeyEnter, &CChangerKeypad::KeyDownArrow,
                             &CChangerKeypad::KeyEnter};
    for (Key key : kToTracks)
    {
        (m_keypad.*key)();
        SendPause100();
    }
    for (int i = 0; i < trackCount; ++i)
    {
        m_keypad.KeyText(trackTexts[i], shortClose);
        m_keypad.KeyEnter();
        SendPause100();
        m_keypad.KeyEnter();
        PumpWaitingMessages();
        if (*cancel)
            return false;
    }
    // Track memos left from the disc that sat there before are cleared.
    if (m_store.Get().currentDisc != slot)
    {
        for (int i = trackCount; i < kKeyedTracks; ++i)
        {
            m_keypad.KeyClear();
            m_keypad.KeyEnter();
            SendPause100();
            m_keypad.KeyEnter();
            PumpWaitingMessages();
        }
    }
    return true;
}

// ---- The upload ----

BOOL CChangerMemos::DownloadMemos(const CPlayList& entries, BOOL allSlots, CTaskSink* tasks)
{
    TaskCancelFlag cancel{0};
    int task = tasks->CreateTask(m_player.GetName() + " Download", &cancel, CTaskSink::kShowProgressDialog);
    if (m_player.HasAllBits(kPanelMemos))
        DownloadMemosByKeys(entries, tasks, task, &cancel);
    else if (m_player.HasAllBits(kStoresMemos))
        DownloadDiscMemos(entries, allSlots, tasks, task, &cancel);
    if (!cancel && m_player.HasAllBits(kArtistTables) && m_store.Get().capacity == kLargestCapacity)
        DownloadArtists(entries, tasks, task, &cancel);
    tasks->EndTask(task);
    return TRUE;
}

void CChangerMemos::DownloadMemosByKeys(const CPlayList& entries, CTaskSink* tasks, int task,
                                      const TaskCancelFlag* cancel)
{
    tasks->SetTaskStatus(task, "Disc/Artist/Track Memos");
    tasks->SetTaskRange(task, entries.GetCount());
    for (int i = 0; i < entries.GetCount() && !*cancel; ++i)
    {
        tasks->SetTaskPos(task, i);
        AlbumRecord album;
        CLibItem item = entries.GetItem(i);
        if (!item.GetAlbumCopy(entries.GetLibrary(), album) || album.GetSlot() < 1 ||
            album.GetSlot() > m_store.Get().capacity)
            continue;
        int count = album.GetTrackCount() < kKeyedTracks ? album.GetTrackCount() : kKeyedTracks;
        std::vector<CString> titles;
        for (int t = 0; t < count; ++t)
            titles.push_back(album.GetDisplayTitle(t));
        EnterMemosByKeys(album.GetSlot(), album.GetDisplayTitle(kAlbumIndex), album.GetArtist(kAlbumIndex), count,
                         titles.data(), FALSE, cancel);
    }
}

void CChangerMemos::DownloadDiscMemos(const CPlayList& entries, BOOL allSlots, CTaskSink* tasks, int task,
                                    const TaskCancelFlag* cancel)
{
    tasks->SetTaskStatus(task, "Disc Memos");
    std::map<int, CString> memos;   // a later entry for a slot replaces an earlier one
    int count = 0;
    for (int i = 0; i < entries.GetCount(); ++i)
    {
        AlbumRecord album;
        CLibItem item = entries.GetItem(i);
        if (!item.GetAlbumCopy(entries.GetLibrary(), album) || album.GetSlot() < 1 ||
            album.GetSlot() > m_store.Get().capacity)
            continue;
        memos[album.GetSlot()] = album.GetDisplayTitle(kAlbumIndex);
        ++count;
    }
    const int capacity = m_store.Get().capacity;
    tasks->SetTaskRange(task, allSlots ? capacity : count);
    int position = 0;
    for (int s = 1; s <= capacity && !*cancel; ++s)
    {
        auto memo = memos.find(s);
        if (!allSlots && memo == memos.end())
            continue;
        tasks->SetTaskPos(task, ++position);
        // With allSlots a slot without an entry gets an empty memo: cleared.
        WriteMemoText(s, memo == memos.end() ? CString() : memo->second, cancel);
    }
}

void CChangerMemos::DownloadArtists(const CPlayList& entries, CTaskSink* tasks, int task, const TaskCancelFlag* cancel)
{
    ReadArtistTexts(cancel, tasks, task);
    ReadDiscArtists(cancel, tasks, task);
    std::vector<int> slots;
    std::vector<CString> discArtists;
    for (int i = 0; i < entries.GetCount(); ++i)
    {
        AlbumRecord album;
        CLibItem item = entries.GetItem(i);
        bool here = item.GetAlbumCopy(entries.GetLibrary(), album) && album.IsInPlayer() &&
                    album.GetPlayer() == m_store.Get().playerNumber && album.GetSlot() >= 1 &&
                    album.GetSlot() < kDiscArtists;
        slots.push_back(here ? album.GetSlot() : 0);
        discArtists.push_back(here ? DiscArtist(album) : CString());
    }
    std::vector<ArtistRecord> records;
    const ChangerState state = m_store.Get();
    for (int a = 1; a <= kArtistRecords; ++a)
    {
        int usage = 0;
        for (int s = 1; s <= state.capacity && s < kDiscArtists; ++s)
            usage += state.discArtists[s] == a ? 1 : 0;
        records.push_back({Trimmed(m_player.GetArtistText(a)), a, usage});
    }
    PlaceArtists(records, RankArtists(discArtists));

    tasks->SetTaskStatus(task, "Write Artist Text");
    tasks->SetTaskRange(task, kArtistRecords);
    std::map<CString, int> numbers;   // the first record with a name wins
    for (const ArtistRecord& record : records)
    {
        if (*cancel)
            return;
        tasks->SetTaskPos(task, record.number);
        if (!record.name.IsEmpty())
            numbers.insert({record.name, record.number});
        if (record.name != Trimmed(m_player.GetArtistText(record.number)))
            WriteArtistMemo(record.number, record.name, cancel);
    }

    tasks->SetTaskStatus(task, "Write Disc Artists");
    tasks->SetTaskRange(task, int(slots.size()));
    for (size_t i = 0; i < slots.size(); ++i)
    {
        if (*cancel)
            return;
        tasks->SetTaskPos(task, int(i) + 1);
        if (!slots[i])
            continue;
        auto found = numbers.find(discArtists[i]);
        int number = found == numbers.end() ? 0 : found->second;
        if (m_store.Get().discArtists[slots[i]] != number)
            SetArtist(slots[i], number, cancel);
    }
}
