// Disc memos, delete marks and the artist tables of a changer: the memo
// upload with its acknowledged writes, the reads before it, the front-panel
// typing for changers that take memos only from the keypad, and the reads of
// the memo download.
#include "core/players/SonyPlayer.h"

#include "core/players/ArtistTable.h"
#include "devices/util/MessageWaits.h"
#include "library/playlist/PlayList.h"
#include "library/records/TaskSink.h"

#include <map>

namespace {

const char kArtistPlaceholder[] = "XXXXXXXXXXXXXXXXXXXX";
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

CString CSonyPlayer::MemoPartText(int slot, bool second, const CString& text) const
{
    CString device;
    CString code;
    GetDiscAddress(slot, device, code);
    if (second)
        return device + ":set_memo_text2[" + code + "02" + MemoCodes(text, kMemoPart1, kMemoLength - kMemoPart1) +
               "]" + Pause45();
    return device + ":set_memo_text[" + code + MemoCodes(text, 0, kMemoPart1) + "]" + Pause45();
}

// part 1 carries characters 1-13, part 2 characters 14-20.
CString CSonyPlayer::ArtistPartText(int artist, int part, const CString& padded) const
{
    CString head;
    head.Format(":set_artist_memo[%02x%02x", artist, part);
    int from = part == 1 ? 0 : kMemoPart1;
    int count = part == 1 ? kMemoPart1 : kMemoLength - kMemoPart1;
    return m_sendDevice + head + MemoCodes(padded, from, count) + "]" + Pause45();
}

CString CSonyPlayer::ArtistChoiceText(int slot, int artist) const
{
    CString device;
    CString code;
    GetDiscAddress(slot, device, code);
    CString number;
    number.Format("%02x", artist);
    return device + ":set_artist[" + code + number + "]" + Pause45();
}

// ---- Acknowledged writes ----

// Up to three sends, each while the cancel flag is clear and the word does
// not hold the wanted value yet, each watched for 2000 ms.
CSonyPlayer::WriteResult CSonyPlayer::WriteAcknowledged(const CString& text, const volatile int* word, int wanted,
                                                        const volatile BYTE* cancel)
{
    for (int attempt = 0; attempt < kWriteAttempts; ++attempt)
    {
        if (*cancel)
            return kWriteCancelled;
        if (*word == wanted)
            return kWritten;
        Send(text);
        Flush();
        if (WaitForCondition(kAcknowledgeMs, [word, wanted] { return *word == wanted; }, cancel))
            return kWritten;
    }
    return *cancel ? kWriteCancelled : kNotAcknowledged;
}

// The changer answers a memo part with "memo_written".
CSonyPlayer::WriteResult CSonyPlayer::WriteMemoPart(const CString& text, const volatile BYTE* cancel)
{
    m_acknowledge = 0;
    return WriteAcknowledged(text, &m_acknowledge, 1, cancel);
}

BOOL CSonyPlayer::WriteMemoText(int slot, const CString& text, const volatile BYTE* cancel)
{
    if (!CanAddress(slot, -1))
        return FALSE;
    WriteResult first = WriteMemoPart(MemoPartText(slot, false, text), cancel);
    if (first != kWritten)
        return first == kWriteCancelled;
    // Only the 400-disc changers keep a second part; others keep 13 characters.
    if (text.GetLength() > kMemoPart1 && HasAllBits(kArtistTables) && m_capacity == kLargestCapacity)
        return WriteMemoPart(MemoPartText(slot, true, text), cancel) != kNotAcknowledged;
    return TRUE;
}

BOOL CSonyPlayer::WriteArtistMemo(int artist, const CString& text, const volatile BYTE* cancel)
{
    if (artist < 1 || artist > kArtistRecords)
        return FALSE;
    CString padded = text + CString(' ', kMemoLength);
    WriteResult result = WriteMemoPart(ArtistPartText(artist, 1, padded), cancel);
    if (result == kWritten)
        result = WriteMemoPart(ArtistPartText(artist, 2, padded), cancel);
    // What the changer never got is not kept: a later upload writes it again.
    if (result == kWritten)
        SetArtistText(artist, padded.Left(kMemoLength));
    return result != kNotAcknowledged;
}

// The changer answers with its artist data, which fills the slot's entry.
BOOL CSonyPlayer::SetArtist(int slot, int artist, const volatile BYTE* cancel)
{
    if (slot < 1 || slot >= kDiscArtists || !CanAddress(slot, -1))
        return FALSE;
    return WriteAcknowledged(ArtistChoiceText(slot, artist), &m_discArtists[slot], artist, cancel) !=
           kNotAcknowledged;
}

void CSonyPlayer::WriteArtistMemoOnce(int artist, const CString& text)
{
    if (artist < 1 || artist > kArtistRecords)
        return;
    CString padded = text + CString(' ', kMemoLength);
    Send(ArtistPartText(artist, 1, padded));
    Flush();
    Send(ArtistPartText(artist, 2, padded));
    Flush();
    SetArtistText(artist, padded.Left(kMemoLength));
}

void CSonyPlayer::SetArtistOnce(int slot, int artist)
{
    if (slot < 1 || slot >= kDiscArtists || !CanAddress(slot, -1))
        return;
    Send(ArtistChoiceText(slot, artist));
    Flush();
    m_discArtists[slot] = artist;
}

// ---- Reads ----

BOOL CSonyPlayer::ReadArtistTexts(const volatile BYTE* cancel, CTaskSink* tasks, int taskId)
{
    tasks->SetTaskStatus(taskId, "Read Artist Text");
    tasks->SetTaskRange(taskId, kArtistRecords);
    for (int a = 1; a <= kArtistRecords; ++a)
    {
        if (*cancel)
            return TRUE;
        tasks->SetTaskPos(taskId, a);
        auto unknown = [this, a] { return GetArtistText(a) == kArtistPlaceholder; };
        for (int attempt = 0; attempt < kReadAttempts && unknown(); ++attempt)
        {
            QueryArtistMemo(a);
            WaitForCondition(kReadAnswerMs, [&] { return !unknown(); }, cancel);
        }
        if (unknown() && !*cancel)
            return FALSE;
    }
    return TRUE;
}

// One answer covers 16 slots.
BOOL CSonyPlayer::ReadDiscArtists(const volatile BYTE* cancel, CTaskSink* tasks, int taskId)
{
    int last = m_capacity < kDiscArtists - 1 ? m_capacity : kDiscArtists - 1;
    tasks->SetTaskStatus(taskId, "Read Disc Artists");
    tasks->SetTaskRange(taskId, last);
    for (int d = 1; d <= last; ++d)
    {
        if (*cancel)
            return TRUE;
        tasks->SetTaskPos(taskId, d);
        const volatile int* entry = &m_discArtists[d];
        for (int attempt = 0; attempt < kReadAttempts && *entry == -1; ++attempt)
        {
            QueryArtistData((d - 1) / kArtistsPerPacket + 1);
            WaitForCondition(kReadAnswerMs, [entry] { return *entry != -1; }, cancel);
        }
        if (*entry == -1 && !*cancel)
            return FALSE;
    }
    return TRUE;
}

// The query's answer names the disc it is about in *disc.
bool CSonyPlayer::AskAboutDisc(BOOL (CSonyPlayer::*query)(int), int* disc, int slot, const volatile BYTE* cancel)
{
    *disc = -1;
    if (!(this->*query)(slot))
        return false;
    const volatile int* answered = disc;
    return WaitForCondition(kMemoAnswerMs, [answered, slot] { return *answered == slot; }, cancel);
}

BOOL CSonyPlayer::ReadMemo(int slot, CString& memo, const volatile BYTE* cancel)
{
    if (!AskAboutDisc(&CSonyPlayer::QueryMemoText, &m_memoDisc, slot, cancel))
        return FALSE;
    memo = GetMemoText();
    return TRUE;
}

BOOL CSonyPlayer::ReadDeleteFile(int slot, BYTE bits[kDeleteFileBytes], const volatile BYTE* cancel)
{
    if (!AskAboutDisc(&CSonyPlayer::QueryDeleteFile, &m_deleteFileDisc, slot, cancel))
        return FALSE;
    memcpy(bits, m_deleteFile, kDeleteFileBytes);
    return TRUE;
}

// ---- Typing on the front panel ----

void CSonyPlayer::SendPause100()
{
    Send(m_controlDevice + ":ir[-100000]");
}

BOOL CSonyPlayer::EnterMemosByKeys(int slot, const CString& discText, const CString& artistText, int trackCount,
                                   const CString* trackTexts, BOOL shortClose, const volatile BYTE* cancel)
{
    if (!shortClose)
        SendOpeningSequence();
    KeyMemoScan();
    bool upper = slot > kUpperSlots;
    if (upper)
        KeyPlayerSelect();
    if (EnterTextsByKeys(slot, discText, artistText, trackCount, trackTexts, shortClose, cancel))
    {
        if (shortClose)
            SendShortClose();
        else
        {
            Send(m_controlDevice + ":sl[920F] " + m_controlDevice + ":ir[-50000]");
            Send(m_controlDevice + ":sl[9A700340000100] " + m_controlDevice + ":ir[-100000]");
        }
    }
    KeyMemoScan();
    if (upper)
        KeyPlayerSelect();
    return TRUE;
}

// The texts of one disc; false when a cancel came after one of them.
bool CSonyPlayer::EnterTextsByKeys(int slot, const CString& discText, const CString& artistText, int trackCount,
                                   const CString* trackTexts, BOOL shortClose, const volatile BYTE* cancel)
{
    KeyDiscNumber(slot > kUpperSlots ? slot - kUpperSlots : slot);
    KeyMemoInput();
    KeyEnter();
    KeyText(discText, shortClose);
    PumpWaitingMessages();
    if (*cancel)
        return false;
    for (int i = 0; i < 3; ++i)
    {
        KeyEnter();
        SendPause100();
    }
    KeyText(artistText, shortClose);
    PumpWaitingMessages();
    if (*cancel)
        return false;
    typedef BOOL (CSonyPlayer::*Key)();
    const Key kToTracks[] = {&CSonyPlayer::KeyEnter, &CSonyPlayer::KeyEnter, &CSonyPlayer::KeyDownArrow,
                             &CSonyPlayer::KeyEnter};
    for (Key key : kToTracks)
    {
        (this->*key)();
        SendPause100();
    }
    for (int i = 0; i < trackCount; ++i)
    {
        KeyText(trackTexts[i], shortClose);
        KeyEnter();
        SendPause100();
        KeyEnter();
        PumpWaitingMessages();
        if (*cancel)
            return false;
    }
    // Track memos left from the disc that sat there before are cleared.
    if (m_currentDisc != slot)
    {
        for (int i = trackCount; i < kKeyedTracks; ++i)
        {
            KeyClear();
            KeyEnter();
            SendPause100();
            KeyEnter();
            PumpWaitingMessages();
        }
    }
    return true;
}

// ---- The upload ----

BOOL CSonyPlayer::DownloadMemos(const CPlayList& entries, BOOL allSlots, CTaskSink* tasks)
{
    volatile BYTE cancel = 0;
    int task = tasks->CreateTask(GetName() + " Download", &cancel, CTaskSink::kShowProgressDialog);
    if (HasAllBits(kPanelMemos))
        DownloadMemosByKeys(entries, tasks, task, &cancel);
    else if (HasAllBits(kStoresMemos))
        DownloadDiscMemos(entries, allSlots, tasks, task, &cancel);
    if (!cancel && HasAllBits(kArtistTables) && m_capacity == kLargestCapacity)
        DownloadArtists(entries, tasks, task, &cancel);
    tasks->EndTask(task);
    return TRUE;
}

void CSonyPlayer::DownloadMemosByKeys(const CPlayList& entries, CTaskSink* tasks, int task,
                                      const volatile BYTE* cancel)
{
    tasks->SetTaskStatus(task, "Disc/Artist/Track Memos");
    tasks->SetTaskRange(task, entries.GetCount());
    for (int i = 0; i < entries.GetCount() && !*cancel; ++i)
    {
        tasks->SetTaskPos(task, i);
        AlbumRecord album;
        CLibItem item = entries.GetItem(i);
        if (!item.GetAlbumCopy(entries.GetLibrary(), album) || album.GetSlot() < 1 || album.GetSlot() > m_capacity)
            continue;
        int count = album.GetTrackCount() < kKeyedTracks ? album.GetTrackCount() : kKeyedTracks;
        std::vector<CString> titles;
        for (int t = 0; t < count; ++t)
            titles.push_back(album.GetDisplayTitle(t));
        EnterMemosByKeys(album.GetSlot(), album.GetDisplayTitle(kAlbumIndex), album.GetArtist(kAlbumIndex), count,
                         titles.data(), FALSE, cancel);
    }
}

void CSonyPlayer::DownloadDiscMemos(const CPlayList& entries, BOOL allSlots, CTaskSink* tasks, int task,
                                    const volatile BYTE* cancel)
{
    tasks->SetTaskStatus(task, "Disc Memos");
    std::map<int, CString> memos;   // a later entry for a slot replaces an earlier one
    int count = 0;
    for (int i = 0; i < entries.GetCount(); ++i)
    {
        AlbumRecord album;
        CLibItem item = entries.GetItem(i);
        if (!item.GetAlbumCopy(entries.GetLibrary(), album) || album.GetSlot() < 1 || album.GetSlot() > m_capacity)
            continue;
        memos[album.GetSlot()] = album.GetDisplayTitle(kAlbumIndex);
        ++count;
    }
    tasks->SetTaskRange(task, allSlots ? m_capacity : count);
    int position = 0;
    for (int s = 1; s <= m_capacity && !*cancel; ++s)
    {
        auto memo = memos.find(s);
        if (!allSlots && memo == memos.end())
            continue;
        tasks->SetTaskPos(task, ++position);
        // With allSlots a slot without an entry gets an empty memo: cleared.
        WriteMemoText(s, memo == memos.end() ? CString() : memo->second, cancel);
    }
}

void CSonyPlayer::DownloadArtists(const CPlayList& entries, CTaskSink* tasks, int task, const volatile BYTE* cancel)
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
                    album.GetPlayer() == m_playerNumber && album.GetSlot() >= 1 && album.GetSlot() < kDiscArtists;
        slots.push_back(here ? album.GetSlot() : 0);
        discArtists.push_back(here ? DiscArtist(album) : CString());
    }
    std::vector<ArtistRecord> records;
    for (int a = 1; a <= kArtistRecords; ++a)
    {
        int usage = 0;
        for (int s = 1; s <= m_capacity && s < kDiscArtists; ++s)
            usage += m_discArtists[s] == a ? 1 : 0;
        records.push_back({Trimmed(GetArtistText(a)), a, usage});
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
        if (record.name != Trimmed(GetArtistText(record.number)))
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
        if (m_discArtists[slots[i]] != number)
            SetArtist(slots[i], number, cancel);
    }
}
