#include "library/playlist/PlayList.h"

#include "platform/crt/Random.h"
#include "platform/runtime/FileReplacement.h"

#include <afxwin.h>

#include <ctype.h>
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>

const char kPlayListHeader[] = "ZYM Playlist V1.1";

namespace {

const char kHeaderMark[] = "ZYM Playlist";
const UINT kHeaderLineSize = 80; // the header is read as at most 79 characters
const int kCurrentIdLength = 16;
const UINT kReadChunk = 4096;
const char kPlaylistEntry[] = "Playlist";
const char kPointerEntry[] = "Pointer";
const char kMissingDiscsText[] =
    "At least one of the discs referred to in the playlist was not found in the disc library. "
    "These disc(s) were not included in the playlist.";

// Prime steps through the list, so that every entry is probed once a round.
const int kRandomSteps[] = {9887, 9901, 9907, 9923, 9929, 9931, 9941, 9949, 9967, 9973};
const int kStepCount = sizeof(kRandomSteps) / sizeof(kRandomSteps[0]);
const int kAnyPlayer = -2; // the other-player rule is not in force
const int kOptimizePasses = 9;
const int kNotFoundDistance = 99;

// The whole first line is the header: the mark, and a version " V1.1" or any
// other of digits and dots, then only the line end. A text file whose first
// line merely mentions the mark is no play list, so a save never replaces it.
bool IsHeaderLine(const char* line)
{
    size_t mark = strlen(kHeaderMark);
    if (strncmp(line, kHeaderMark, mark) != 0)
        return false;
    const char* p = line + mark;
    if (p[0] == ' ' && p[1] == 'V' && isdigit(static_cast<unsigned char>(p[2])))
    {
        for (p += 2; isdigit(static_cast<unsigned char>(*p)) || *p == '.'; ++p)
            ;
    }
    return strspn(p, "\r\n") == strlen(p);
}

bool Matches(CMusicLibrary&, CLibItem& item, const CLibItem& pattern, bool wholeDisc)
{
    return item.IsSameAlbum(pattern) && (wholeDisc || item.GetTrack() == pattern.GetTrack());
}

// A whole-album entry stays while its album exists.
bool IsInvalid(CMusicLibrary& library, CLibItem& item, const CLibItem&, bool)
{
    CLibraryLock lock(library);
    AlbumRecord* album = item.GetAlbum(lock, library);
    return !album || item.GetTrack() >= album->GetTrackCount();
}

} // namespace

CPlayList::CPlayList(CMusicLibrary& library)
    : m_library(library), m_pointer(0), m_modified(0), m_loop(0), m_state(kStopped), m_rememberedState(kStopped)
{
}

CPlayList::CPlayList(const CPlayList& other)
    : m_library(other.m_library), m_pointer(other.m_pointer.load()), m_fileName(other.m_fileName),
      m_modified(other.m_modified.load()), m_loop(other.m_loop.load()), m_state(other.m_state.load()),
      m_rememberedState(other.m_rememberedState.load()), m_error(other.m_error)
{
    CSingleLock lock(&other.m_lock, TRUE);
    m_items = other.m_items;
}

// ---- entries ----

int CPlayList::GetCount() const
{
    CSingleLock lock(&m_lock, TRUE);
    return Count();
}

void CPlayList::Clear()
{
    CSingleLock lock(&m_lock, TRUE);
    m_items.clear();
    m_pointer = 0;
    m_fileName.Empty();
    m_modified = 1;
}

CLibItem CPlayList::GetItem(int index) const
{
    CSingleLock lock(&m_lock, TRUE);
    if (index < 0 || index >= Count())
        return CLibItem();
    return m_items[index];
}

void CPlayList::AddItem(const CLibItem& item)
{
    CSingleLock lock(&m_lock, TRUE);
    m_items.push_back(item);
    m_modified = 1;
}

bool CPlayList::FindItem(const CLibItem& item, int& index) const
{
    CSingleLock lock(&m_lock, TRUE);
    for (int i = 0; i < Count(); ++i)
    {
        if (m_items[i].IsSameEntry(item))
        {
            index = i;
            return true;
        }
    }
    return false;
}

bool CPlayList::GetLastItem(CLibItem& item) const
{
    CSingleLock lock(&m_lock, TRUE);
    if (m_items.empty())
        return false;
    item = m_items.back();
    return true;
}

void CPlayList::RemoveAt(int index)
{
    CSingleLock lock(&m_lock, TRUE);
    if (index < 0 || index >= Count())
        return;
    RemoveEntry(index);
    m_modified = 1;
}

void CPlayList::RemoveEntry(int index)
{
    m_items.erase(m_items.begin() + index);
    if (m_pointer > index)
        --m_pointer;
    ClampPointer();
}

void CPlayList::ClampPointer()
{
    if (m_pointer > Count() - 1)
        m_pointer = Count() - 1;
    if (m_pointer < 0)
        m_pointer = 0;
}

void CPlayList::InsertEntry(const CLibItem& item, int index)
{
    m_items.insert(m_items.begin() + index, item);
    if (index <= m_pointer && m_pointer + 1 <= Count() - 1)
        ++m_pointer;
}

void CPlayList::InsertItem(const CLibItem& item, int index)
{
    CSingleLock lock(&m_lock, TRUE);
    index = std::max(0, std::min(index, Count()));
    InsertEntry(item, index);
    m_modified = 1;
}

// The other list is copied first, so that the two locks are never held together.
void CPlayList::InsertList(const CPlayList& other, int index, bool takePointer)
{
    CPlayList source(other);
    CSingleLock lock(&m_lock, TRUE);
    index = std::max(0, std::min(index, Count()));
    for (size_t k = 0; k < source.m_items.size(); ++k)
        InsertEntry(source.m_items[k], index + static_cast<int>(k));
    if (takePointer)
        m_pointer = index + source.m_pointer;
    m_modified = 1;
}

int CPlayList::CopyItemsOnPlayer(CPlayList& target, int player) const
{
    std::vector<CLibItem> found;
    {
        CSingleLock lock(&m_lock, TRUE);
        CLibraryLock libraryLock(m_library);
        for (const CLibItem& entry : m_items)
        {
            CLibItem item = entry;
            AlbumRecord* album = item.GetAlbum(libraryLock, m_library);
            if (album && album->GetPlayer() == player)
                found.push_back(entry);
        }
    }
    target.Clear();
    for (const CLibItem& item : found)
        target.AddItem(item);
    return target.GetCount();
}

// ---- pointer ----

void CPlayList::SetPointer(int index)
{
    CSingleLock lock(&m_lock, TRUE);
    if (index == m_pointer)
        return;
    int count = Count();
    m_pointer = (index >= 0 && index < count) ? index : count;
    m_modified = 1;
}

// The pointer is read under the lock, so that an insertion cannot move the
// entries between reading it and taking the entry.
CLibItem CPlayList::GetCurrentItem() const
{
    CSingleLock lock(&m_lock, TRUE);
    return GetItem(m_pointer);
}

int CPlayList::GetRemainingCount() const
{
    return GetCount() - m_pointer - 1;
}

bool CPlayList::Next()
{
    CSingleLock lock(&m_lock, TRUE);
    if (m_pointer + 1 >= Count())
    {
        if (!m_loop)
            return false;
        m_pointer = 0;
    }
    else
    {
        ++m_pointer;
    }
    m_modified = 1;
    return true;
}

bool CPlayList::Previous()
{
    CSingleLock lock(&m_lock, TRUE);
    int count = Count();
    if (m_pointer <= 0)
    {
        if (!m_loop || count == 0)
            return false;
        m_pointer = count - 1;
    }
    else
    {
        --m_pointer;
    }
    m_modified = 1;
    return true;
}

bool CPlayList::ParsePosition(const char* word, int& position) const
{
    int count = GetCount();
    int pointer = m_pointer;
    if (strcmp(word, "random") == 0)
        position = MsRand() % (count + 1);
    else if (strcmp(word, "top") == 0)
        position = 0;
    else if (strcmp(word, "bottom") == 0)
        position = count - 1;
    else if (strcmp(word, "next") == 0)
        position = pointer + 1;
    else if (strcmp(word, "prev") == 0)
        position = pointer - 1;
    else if (strcmp(word, "cur") == 0)
        position = pointer;
    else
    {
        int number;
        if (sscanf(word, "%d", &number) != 1 || number < 0 || number > count)
            return false;
        position = std::max(0, number - 1);
    }
    if (m_loop && count > 0)
        position = (position % count + count) % count;
    return true;
}

// ---- play state ----

void CPlayList::SetState(int state)
{
    if (m_state == state)
        return;
    m_state = state;
    m_modified = 1;
}

CString CPlayList::GetStateText() const
{
    switch (m_state)
    {
    case kPaused:
        return "paused";
    case kPlaying:
        return "playing";
    default:
        return "stopped";
    }
}

// ---- files and texts ----

bool CPlayList::LoadFromFile(const char* path, int index)
{
    CStdioFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeText))
    {
        m_error.m_text = CString("Unable to open playlist ") + path;
        m_error.Report();
        return false;
    }
    std::string rest;
    bool valid = false;
    TRY
    {
        char header[kHeaderLineSize];
        valid = file.ReadString(header, kHeaderLineSize) && IsHeaderLine(header);
        char chunk[kReadChunk];
        UINT got;
        while (valid && (got = file.Read(chunk, kReadChunk)) > 0)
            rest.append(chunk, got);
    }
    CATCH(CFileException, e)
    {
        valid = false;
    }
    END_CATCH
    if (!valid)
    {
        m_error.m_text = CString(path) + " is not a valid playlist file.";
        m_error.Report();
        return false;
    }
    // A stray NUL must not hide the lines after it.
    for (char& ch : rest)
    {
        if (ch == '\0')
            ch = '\n';
    }
    m_fileName = path;
    CPlayList loaded(m_library);
    if (!loaded.AppendFromText(rest.c_str()))
    {
        m_error.m_text = kMissingDiscsText;
        m_error.Report();
    }
    InsertList(loaded, index == -1 ? GetCount() : index, false);
    return true;
}

// The list goes to a new file that replaces the old one only when complete.
bool CPlayList::SaveToFile(const char* path)
{
    CFileReplacement replacement(path);
    CStdioFile file;
    bool saved = replacement.Begin() &&
                 file.Open(replacement.GetTempPath(), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
    if (saved)
    {
        TRY
        {
            file.WriteString(GetText());
            file.Close();
        }
        CATCH(CFileException, e)
        {
            file.Abort();
            saved = false;
        }
        END_CATCH
        saved = saved && replacement.Commit();
    }
    if (!saved)
    {
        m_error.m_text = CString("Error saving playlist ") + path;
        m_error.Report();
        return false;
    }
    m_fileName = path;
    return true;
}

CString CPlayList::GetText() const
{
    CSingleLock lock(&m_lock, TRUE);
    CString text = CString(kPlayListHeader) + "\n";
    for (const CLibItem& item : m_items)
        text += item.Format() + "\n";
    return text;
}

bool CPlayList::AppendFromText(const char* text)
{
    CSingleLock lock(&m_lock, TRUE);
    bool allFound = true;
    const char* line = text;
    while (*line)
    {
        const char* end = strchr(line, '\n');
        size_t length = end ? static_cast<size_t>(end - line) : strlen(line);
        CLibItem item;
        if (item.ParseFields(CString(line, static_cast<int>(length))))
        {
            if (m_library.FindAlbumIndex(item.GetId()) >= 0)
            {
                m_items.push_back(item);
                m_modified = 1;
            }
            else
            {
                allFound = false;
            }
        }
        line += end ? length + 1 : length;
    }
    return allFound;
}

void CPlayList::SaveToProfile(const char* section) const
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    app->WriteProfileString(section, kPlaylistEntry, GetText());
    app->WriteProfileInt(section, kPointerEntry, m_pointer);
}

void CPlayList::LoadFromProfile(const char* section)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    AppendFromText(app->GetProfileString(section, kPlaylistEntry, ""));
    SetPointer(static_cast<int>(app->GetProfileInt(section, kPointerEntry, 0)));
}

// ---- reordering ----
// Each holds the lock for the whole operation: an entry inserted half-way
// would otherwise be swapped on stale positions.

void CPlayList::Swap(int a, int b)
{
    CLibItem held = m_items[a];
    m_items[a] = m_items[b];
    m_items[b] = held;
}

bool CPlayList::CanFollow(int first, int second)
{
    return CLibItem::CanFollow(m_library, m_items[first], m_items[second]);
}

// The playing entry keeps its place; a stopped list shuffles its current one too.
void CPlayList::Shuffle(unsigned int seed)
{
    CMsRandom random(seed);
    CSingleLock lock(&m_lock, TRUE);
    int start = IsStopped() ? m_pointer.load() : m_pointer + 1;
    int range = Count() - start;
    for (int i = start; i < Count() && range > 0; ++i)
        Swap(i, random.Next() % range + start);
    m_modified = 1;
}

void CPlayList::Optimize()
{
    CSingleLock lock(&m_lock, TRUE);
    for (int pass = 0; pass < kOptimizePasses; ++pass)
    {
        bool resolved = (pass % 2 == 0) ? OptimizeForward() : OptimizeBackward();
        if (resolved)
            break;
    }
    m_modified = 1;
}

bool CPlayList::OptimizeForward()
{
    bool resolved = true;
    for (int i = m_pointer; i < Count() - 2; ++i)
    {
        if (CanFollow(i, i + 1))
            continue;
        int j = i + 2;
        while (j < Count() && !CanFollow(i, j))
            ++j;
        if (j < Count())
            Swap(i + 1, j);
        else
            resolved = false;
    }
    return resolved;
}

// Only entries after the pointer move: moving the current entry would jump the
// pointer past the entries in between.
bool CPlayList::OptimizeBackward()
{
    bool resolved = true;
    for (int i = Count() - 1; i >= m_pointer + 2; --i)
    {
        if (CanFollow(i, i - 1))
            continue;
        int k = i - 2;
        while (k > m_pointer && !CanFollow(i, k))
            --k;
        if (k > m_pointer)
            Swap(i - 1, k);
        else
            resolved = false;
    }
    return resolved;
}

void CPlayList::Alternate()
{
    CSingleLock lock(&m_lock, TRUE);
    for (int i = m_pointer + 1; i < Count() - 1; ++i)
    {
        if (!m_items[i - 1].IsSamePlayer(m_library, m_items[i]))
            continue;
        int j = i + 1;
        while (j < Count() && m_items[i - 1].IsSamePlayer(m_library, m_items[j]))
            ++j;
        if (j < Count())
            Swap(i, j);
    }
    m_modified = 1;
}

bool CPlayList::Qualifies(CLibItem& item, const CLibItem* given, int avoidPlayer, const CPlayList* exclusion,
                          int minimumSeconds)
{
    {
        CLibraryLock lock(m_library);
        AlbumRecord* album = item.GetAlbum(lock, m_library);
        if (!album || album->GetPlayer() < 0)
            return false;
        CLibraryHost* host = m_library.GetHost();
        int player = album->GetPlayer();
        if (!host || !host->IsPlayerAvailable(player) || player == avoidPlayer)
            return false;
        if (album->GetNeverPlay(item.GetTrack()) || album->GetPlayTime(item.GetTrack()) < minimumSeconds)
            return false;
    }
    int index;
    return !(given && item.IsSameEntry(*given)) && !(exclusion && exclusion->FindItem(item, index));
}

// Rules are dropped one by one, the other-player rule first, until an entry
// qualifies; with none left the last entry probed is taken.
bool CPlayList::PickRandomItem(const CLibItem* given, CLibItem& out, const CPlayList* exclusion, int minimumSeconds)
{
    // A copy, taken before this list's lock: two lists picking against each
    // other would otherwise take their locks in opposite orders.
    std::unique_ptr<CPlayList> excluded(exclusion ? new CPlayList(*exclusion) : nullptr);
    exclusion = excluded.get();
    CSingleLock lock(&m_lock, TRUE);
    int count = Count();
    if (count == 0)
        return false;
    int avoidPlayer = kAnyPlayer;
    if (given)
    {
        CLibItem resolved = *given;
        CLibraryLock libraryLock(m_library);
        AlbumRecord* album = resolved.GetAlbum(libraryLock, m_library);
        if (album)
            avoidPlayer = album->GetPlayer();
    }
    int step = kRandomSteps[MsRand() % kStepCount];
    int index = MsRand() % count;
    for (;;)
    {
        for (int probe = 0; probe < count + 1; ++probe)
        {
            index = (index + step) % count;
            if (Qualifies(m_items[index], given, avoidPlayer, exclusion, minimumSeconds))
            {
                out = m_items[index];
                return true;
            }
        }
        if (avoidPlayer != kAnyPlayer)
            avoidPlayer = kAnyPlayer;
        else if (exclusion)
            exclusion = nullptr;
        else
            break;
    }
    out = m_items[index];
    return true;
}

bool CPlayList::FindNextOnPlayer(int player, CLibItem& first, int& firstDistance, CLibItem& second,
                                 int& secondDistance)
{
    CSingleLock lock(&m_lock, TRUE);
    CLibraryLock libraryLock(m_library);
    bool found = false;
    int count = Count();
    for (int k = 0; k < count; ++k)
    {
        if (!m_loop && m_pointer + k >= count)
            break;
        CLibItem& item = m_items[(m_pointer + k) % count];
        AlbumRecord* album = item.GetAlbum(libraryLock, m_library);
        if (!album || !album->IsInPlayer() || album->GetTrackPlayer(item.GetTrack()) != player)
            continue;
        if (found)
        {
            second = item;
            secondDistance = k;
            return true;
        }
        first = item;
        firstDistance = k;
        found = true;
    }
    second.Clear();
    if (found)
    {
        secondDistance = firstDistance + kNotFoundDistance;
        return true;
    }
    first.Clear();
    firstDistance = kNotFoundDistance;
    secondDistance = 2 * kNotFoundDistance;
    return false;
}

// ---- album and track entries ----

int CPlayList::Explode(int index, const CLibItem& nowPlaying)
{
    CSingleLock lock(&m_lock, TRUE);
    if (index < 0 || index >= Count() || !m_items[index].IsWholeAlbum())
        return 0;
    CLibItem entry = m_items[index];
    std::vector<int> tracks;
    {
        CLibraryLock libraryLock(m_library);
        AlbumRecord* album = entry.GetAlbum(libraryLock, m_library);
        if (!album || album->GetTrackCount() <= 0)
            return 0;
        for (int t = 0; t < album->GetTrackCount(); ++t)
        {
            if (!album->GetRecord(t)->m_neverPlay)
                tracks.push_back(t);
        }
    }
    m_items.erase(m_items.begin() + index);
    bool wasCurrent = entry.GetId() == nowPlaying.GetId() && m_pointer == index;
    int k = 0;
    for (int t : tracks)
    {
        CLibItem track = entry;
        track.SetTrack(t);
        m_items.insert(m_items.begin() + index + k, track);
        if (k > 0 && index + k <= m_pointer)
            ++m_pointer;
        if (wasCurrent && nowPlaying.GetTrack() <= t)
        {
            m_pointer = index + k;
            wasCurrent = false;
        }
        ++k;
    }
    // Nothing took the removed entry's place: the entries after it moved up.
    if (k == 0 && m_pointer > index)
        --m_pointer;
    m_modified = 1;
    return k - 1;
}

// Steps over the tracks just inserted, and stays on an index whose album
// entry went without tracks, so the entry that moved up is exploded too.
void CPlayList::ExplodeAll(const CLibItem& nowPlaying)
{
    CSingleLock lock(&m_lock, TRUE);
    for (int index = 0; index < Count();)
        index += Explode(index, nowPlaying) + 1;
}

int CPlayList::Condense(int index)
{
    CSingleLock lock(&m_lock, TRUE);
    if (index < 0 || index >= Count() || m_items[index].IsWholeAlbum())
        return index;
    CLibItem entry = m_items[index];
    {
        CLibraryLock libraryLock(m_library);
        AlbumRecord* album = entry.GetAlbum(libraryLock, m_library);
        if (!album || album->GetTrackCount() < 1)
            return index;
    }
    int at = index;
    m_items[at].SetTrack(kWholeAlbum);
    while (at > 0 && m_items[at - 1].IsSameAlbum(entry))
    {
        --at;
        m_items.erase(m_items.begin() + at);
        if (at < m_pointer)
            --m_pointer;
    }
    int following = 0;
    while (at + 1 < Count() && m_items[at + 1].IsSameAlbum(entry))
    {
        m_items.erase(m_items.begin() + at + 1);
        if (at + 1 <= m_pointer)
            --m_pointer;
        ++following;
    }
    ClampPointer();
    m_modified = 1;
    return index + following;
}

bool CPlayList::RemoveWhere(EntryTest test, const CLibItem& pattern, bool wholeDisc)
{
    CSingleLock lock(&m_lock, TRUE);
    bool removed = false;
    for (int i = Count() - 1; i >= 0; --i)
    {
        if (test(m_library, m_items[i], pattern, wholeDisc))
        {
            RemoveEntry(i);
            m_modified = 1;
            removed = true;
        }
    }
    return removed;
}

bool CPlayList::RemoveMatching(const CLibItem& item, bool wholeDisc)
{
    return RemoveWhere(Matches, item, wholeDisc);
}

// The pointer stays on the entry it was on (or the one that took its place).
void CPlayList::RemoveInvalidItems()
{
    RemoveWhere(IsInvalid, CLibItem(), false);
}

// ---- totals ----

// A list a search filled holds entries whose album is not looked up yet; one
// library search per entry made the total quadratic. An index of the current
// ids, made once, hints each entry its album. It holds the first album of each
// id in upper case, as FindAlbumIndex finds it; GetAlbum checks the hint.
int CPlayList::GetTotalTime()
{
    CSingleLock lock(&m_lock, TRUE);
    CLibraryLock libraryLock(m_library);
    std::unordered_map<std::string, int> firstIndex;
    bool indexed = false;
    int seconds = 0;
    for (CLibItem& item : m_items)
    {
        if (!item.HasCachedAlbum(libraryLock, m_library))
        {
            if (!indexed)
                IndexAlbumIds(libraryLock, firstIndex);
            indexed = true;
            CString key = item.GetId();
            key.MakeUpper();
            auto found = firstIndex.find(std::string(key));
            if (found != firstIndex.end())
                item.SetAlbumHint(found->second);
        }
        AlbumRecord* album = item.GetAlbum(libraryLock, m_library);
        if (album)
            seconds += album->GetPlayTime(item.GetTrack());
    }
    return seconds;
}

// Only ids of the current length: FindAlbumIndex takes others for changer ids.
void CPlayList::IndexAlbumIds(const CLibraryLock& lock, std::unordered_map<std::string, int>& firstIndex)
{
    int count = m_library.GetAlbumCount();
    for (int i = 0; i < count; ++i)
    {
        const AlbumRecord* album = m_library.GetAlbumPtr(lock, i);
        CString key = album->GetIdText();
        key.MakeUpper();
        if (!album->IsGone() && key.GetLength() == kCurrentIdLength)
            firstIndex.emplace(std::string(key), i);
    }
}

bool CPlayList::IsSingleDisc() const
{
    CSingleLock lock(&m_lock, TRUE);
    for (const CLibItem& item : m_items)
    {
        if (!item.IsSameAlbum(m_items[0]))
            return false;
    }
    return true;
}

bool CPlayList::HasOnlyWholeDiscs() const
{
    CSingleLock lock(&m_lock, TRUE);
    for (const CLibItem& item : m_items)
    {
        if (!item.IsWholeAlbum())
            return false;
    }
    return true;
}

void CPlayList::CountKeywords(CKeywordStatList& stats)
{
    CSingleLock lock(&m_lock, TRUE);
    for (CLibItem& item : m_items)
        item.CountKeywords(m_library, stats);
}

CString CPlayList::Dump() const
{
    CSingleLock lock(&m_lock, TRUE);
    CString text;
    text.Format("ci:%d lp:%d md:%d name:%s\n", static_cast<int>(m_pointer), int(m_loop), int(m_modified),
                static_cast<const char*>(m_fileName));
    for (const CLibItem& item : m_items)
        text += item.Dump() + "\n";
    return text;
}

void CPlayLists::StopOthers(const CPlayList* list)
{
    for (CPlayList* other : m_lists)
    {
        if (other != list)
            other->SetStopped();
    }
}
