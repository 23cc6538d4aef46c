#include "library/records/MusicLibrary.h"

#include "platform/crt/Random.h"

#include <stdio.h>
#include <stdlib.h>

namespace {

const char kOptionsSection[] = "Options";
const char kRatingNamesEntry[] = "Rating Names";
const char kDefaultRatingNames[] = "like happy tempo danceable";
const char kKeywordsEntry[] = "Keywords";
const char kRatingSeparators[] = " ,\t\r\n";
const int kCurrentIdLength = 16;
const int kLengthTolerance = 3; // seconds a changer's report may be off
const char kLocationUpdatedEvent[] = "library_location_updated[%s,%s]";
const char kLoadThreadName[] = "LibLoad";
const DWORD kStopPollMs = 100;

// The profile is the application's; without one (a test) the default stands.
CString ReadOption(const char* entry, const char* defaultValue)
{
    CWinApp* app = AfxGetApp();
    return app ? app->GetProfileString(kOptionsSection, entry, defaultValue) : CString(defaultValue);
}

void WriteOption(const char* entry, const char* value)
{
    CWinApp* app = AfxGetApp();
    if (app)
        app->WriteProfileString(kOptionsSection, entry, value);
}

} // namespace

CLibraryLock::CLibraryLock(CMusicLibrary& library) : m_lock(&library.GetLock(), TRUE)
{
}

CMusicLibrary::CMusicLibrary()
    : m_changed(0), m_loading(0), m_saving(0), m_lastIndex(-1), m_modified(0), m_taskMgr(nullptr),
      m_host(nullptr), m_loader(nullptr), m_loadThread(nullptr)
{
    ReadRatingNames();
    CString keywords = ReadOption(kKeywordsEntry, "");
    if (keywords.IsEmpty())
        keywords = LoadBuiltInKeywords();
    m_masterKeywords.ParseKeywordList(keywords);
}

// A running load is asked to stop and waited for: it still uses the albums.
CMusicLibrary::~CMusicLibrary()
{
    WriteProfile();
    WaitForLoadThread();
}

void CMusicLibrary::ReadRatingNames()
{
    CString rest = ReadOption(kRatingNamesEntry, kDefaultRatingNames);
    for (int k = 0; k < kRatingCount; ++k)
    {
        rest.TrimLeft(kRatingSeparators);
        CString word = rest.SpanExcluding(kRatingSeparators);
        rest = rest.Mid(word.GetLength());
        if (word.IsEmpty())
            word.Format("rating%d", k + 1);
        m_ratingNames[k] = word;
        m_ratingLabels[k] = word;
    }
}

void CMusicLibrary::WriteProfile()
{
    WriteOption(kKeywordsEntry, m_masterKeywords.GetAllKeywordsText());
    CString names;
    for (const CString& name : m_ratingNames)
        names += name + " ";
    WriteOption(kRatingNamesEntry, names);
}

// ---- the album set ----

void CMusicLibrary::StoreAlbum(AlbumRecord& album)
{
    CLibraryLock lock(*this);
    album.SetState(kAlbumChanged);
    EvictFromSlot(album);
    int index = FindAlbum(album);
    if (index >= 0)
        m_albums[index] = album;
    else
        m_albums.push_back(album);
    m_lastIndex = index;
    m_changed = 1;
    m_modified = 1;
}

bool CMusicLibrary::DeleteAlbum(AlbumRecord& album)
{
    CLibraryLock lock(*this);
    album.SetState(kAlbumDeleted);
    int index = FindAlbum(album);
    if (index < 0)
        return false;
    m_albums[index] = album;
    m_lastIndex = -1;
    m_changed = 1;
    m_modified = 1;
    return true;
}

void CMusicLibrary::AppendAlbum(const AlbumRecord& album)
{
    CLibraryLock lock(*this);
    m_albums.push_back(album);
}

void CMusicLibrary::AppendAlbum(AlbumRecord&& album)
{
    CLibraryLock lock(*this);
    m_albums.push_back(std::move(album));
}

void CMusicLibrary::RemoveAllAlbums()
{
    CLibraryLock lock(*this);
    m_albums.clear();
    m_changed = 1;
    m_modified = 1;
}

void CMusicLibrary::ReserveAlbums(int count)
{
    CLibraryLock lock(*this);
    m_albums.reserve(count > 0 ? count : 0);
}

AlbumRecord* CMusicLibrary::ResolveItem(const CLibraryLock& lock, CString& id, int& index)
{
    if (IsItemAt(lock, id, index))
        return GetAlbumPtr(lock, index);
    index = FindAlbumIndex(id);
    AlbumRecord* album = GetAlbumPtr(lock, index);
    if (album)
        id = album->GetIdText();
    return album;
}

bool CMusicLibrary::GetItemAlbum(const CString& id, int& index, AlbumRecord& out)
{
    CLibraryLock lock(*this);
    if (!IsItemAt(lock, id, index))
    {
        index = -1;
        int count = static_cast<int>(m_albums.size());
        for (int i = 0; i < count && index < 0; ++i)
        {
            if (IsItemAt(lock, id, i))
                index = i;
        }
    }
    if (index < 0)
        return false;
    out = m_albums[index];
    return true;
}

bool CMusicLibrary::IsItemAt(const CLibraryLock& lock, const CString& id, int index)
{
    const AlbumRecord* album = GetAlbumPtr(lock, index);
    return album && !album->IsGone() && album->GetIdText() == id;
}

// Sixteen digits: the current id, then the previous scheme's, in either case
// (another program may have written the file). Any other length: the changer
// id in hexadecimal.
int CMusicLibrary::FindAlbumIndex(const char* id)
{
    CString key(id);
    key.MakeUpper();
    CLibraryLock lock(*this);
    int count = static_cast<int>(m_albums.size());
    if (key.GetLength() == kCurrentIdLength)
    {
        for (int i = 0; i < count; ++i)
        {
            if (!m_albums[i].IsGone() && m_albums[i].GetIdText().CompareNoCase(key) == 0)
                return i;
        }
        for (int i = 0; i < count; ++i)
        {
            if (!m_albums[i].IsGone() && m_albums[i].GetPreviousIdText().CompareNoCase(key) == 0)
                return i;
        }
        return -1;
    }
    unsigned int sonyId;
    if (sscanf(key, "%X", &sonyId) != 1)
        return -1;
    for (int i = 0; i < count; ++i)
    {
        if (!m_albums[i].IsGone() && m_albums[i].GetSonyId() == sonyId)
            return i;
    }
    return -1;
}

bool CMusicLibrary::GetAlbum(const AlbumRecord& album, AlbumRecord& out)
{
    CLibraryLock lock(*this);
    return GetAlbumAt(FindAlbum(album), out);
}

bool CMusicLibrary::GetAlbumAt(int index, AlbumRecord& out)
{
    CLibraryLock lock(*this);
    AlbumRecord* stored = GetAlbumPtr(lock, index);
    if (stored)
        out = *stored;
    return stored != nullptr;
}

int CMusicLibrary::GetAlbumCount()
{
    CLibraryLock lock(*this);
    return static_cast<int>(m_albums.size());
}

AlbumRecord* CMusicLibrary::FindAlbumPtr(const CLibraryLock& lock, const AlbumRecord& album)
{
    return GetAlbumPtr(lock, FindAlbum(album));
}

AlbumRecord* CMusicLibrary::GetAlbumPtr(const CLibraryLock&, int index)
{
    if (index < 0 || index >= static_cast<int>(m_albums.size()))
        return nullptr;
    return &m_albums[index];
}

int CMusicLibrary::FindAlbumAt(int player, int slot)
{
    CLibraryLock lock(*this);
    for (size_t i = 0; i < m_albums.size(); ++i)
    {
        const AlbumRecord& album = m_albums[i];
        if (!album.IsGone() && album.IsPresent() && album.GetStoredPlayer() == player &&
            album.GetSlot() == slot)
            return static_cast<int>(i);
    }
    return -1;
}

// Called with the lock held.
void CMusicLibrary::MarkAbsent(AlbumRecord& album)
{
    album.SetState(kAlbumChanged);
    album.SetPresent(false);
    if (m_host)
    {
        CString event;
        event.Format(kLocationUpdatedEvent, static_cast<const char*>(album.GetIdText()),
                     static_cast<const char*>(album.GetLocationText(kAlbumIndex)));
        m_host->FireEvent(event);
    }
}

// Whatever sat in the album's slot before is no longer there. The album
// itself is not evicted from its own slot.
void CMusicLibrary::EvictFromSlot(const AlbumRecord& album)
{
    if (album.GetStoredPlayer() == kMp3Player)
        return;
    CLibraryLock lock(*this);
    for (AlbumRecord& stored : m_albums)
    {
        if (!stored.IsGone() && stored.IsPresent() && stored.GetStoredPlayer() == album.GetStoredPlayer() &&
            stored.GetSlot() == album.GetSlot() && stored.GetIdText() != album.GetIdText())
            MarkAbsent(stored);
    }
}

bool CMusicLibrary::VerifyDiscAt(int player, int slot, int trackNumber, int minutes, int seconds)
{
    if (m_loading)
        return true;
    CLibraryLock lock(*this);
    AlbumRecord* album = GetAlbumPtr(lock, FindAlbumAt(player, slot));
    if (!album || trackNumber < 1 || trackNumber > album->GetTrackCount())
        return false;
    int difference = album->GetPlayTime(trackNumber - 1) - (minutes * 60 + seconds);
    if (abs(difference) < kLengthTolerance)
        return true;
    MarkAbsent(*album);
    m_changed = 1;
    m_modified = 1;
    return false;
}

void CMusicLibrary::NotePlayingTime(const char* id, int track, int seconds)
{
    const int kCountedSeconds = 5;
    if (seconds < kCountedSeconds)
        return;
    CLibraryLock lock(*this);
    AlbumRecord* album = GetAlbumPtr(lock, FindAlbumIndex(id));
    if (!album)
        return;
    if (seconds == kCountedSeconds)
    {
        album->AddTimePlayed(track, kCountedSeconds);
        album->CountPlay(track);
    }
    else
    {
        album->AddTimePlayed(track, 1);
    }
    m_modified = 1;
}

void CMusicLibrary::MarkAllChanged()
{
    CLibraryLock lock(*this);
    for (AlbumRecord& album : m_albums)
    {
        if (!album.IsGone())
            album.SetState(kAlbumChanged);
    }
    m_modified = 1;
}

int CMusicLibrary::CountChanged()
{
    CLibraryLock lock(*this);
    int count = 0;
    for (const AlbumRecord& album : m_albums)
    {
        if (album.GetState() == kAlbumChanged || album.GetState() == kAlbumDeleted)
            ++count;
    }
    if (count)
        m_modified = 1;
    return count;
}

bool CMusicLibrary::IsAlbumPlayable(const AlbumRecord& album)
{
    return album.IsInPlayer() && m_host && m_host->IsPlayerAvailable(album.GetStoredPlayer());
}

// Four 15-bit numbers: each group of four digits lies in 0000..7FFF.
CString CMusicLibrary::MakeUniqueId()
{
    CString id;
    do
    {
        // Drawn one by one: the order of evaluation of arguments is unspecified.
        int parts[4];
        for (int& part : parts)
            part = MsRand();
        id.Format("%04X%04X%04X%04X", parts[0], parts[1], parts[2], parts[3]);
    } while (FindAlbumIndex(id) >= 0);
    return id;
}

// ---- keywords ----

void CMusicLibrary::MarkKeywordChanged(int id)
{
    CLibraryLock lock(*this);
    for (AlbumRecord& album : m_albums)
    {
        if (album.MarkKeywordChanged(id))
            m_modified = 1;
    }
}

void CMusicLibrary::UpdateKeywordTexts(AlbumRecord& album)
{
    for (int i = kAlbumIndex; i < album.GetTrackCount(); ++i)
    {
        if (album.GetRecord(i))
            album.SetKeywordText(i, m_masterKeywords.FormatKeywordList(album.GetKeywordList(i)));
    }
}

// ---- the load thread ----

bool CMusicLibrary::StartLoad()
{
    if (m_loadThread)
    {
        if (WaitForSingleObject(m_loadThread->m_hThread, 0) != WAIT_OBJECT_0)
            return false;
        WaitForLoadThread();
    }
    CWinThread* thread =
        AfxBeginThread(RUNTIME_CLASS(CLibLoadThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!thread)
        return false;
    static_cast<CLibLoadThread*>(thread)->m_pLibrary = this;
    // Kept, so that the destructor can wait for the thread's end.
    thread->m_bAutoDelete = FALSE;
    m_loadThread = thread;
    thread->ResumeThread();
    return true;
}

void CMusicLibrary::WaitForLoadThread()
{
    if (!m_loadThread)
        return;
    // Cleared again and again: a thread that has only just started sets the
    // flag once more when its load begins.
    do
        m_loading = 0;
    while (WaitForSingleObject(m_loadThread->m_hThread, kStopPollMs) == WAIT_TIMEOUT);
    delete m_loadThread;
    m_loadThread = nullptr;
}

void CMusicLibrary::RunLoad()
{
    m_loading = 1;
    if (m_loader)
        m_loader->Load(*this);
    m_loading = 0;
    m_changed = 1;
}

IMPLEMENT_DYNCREATE(CLibLoadThread, CWinThread)

BOOL CLibLoadThread::InitInstance()
{
    CLibraryHost* host = m_pLibrary->GetHost();
    if (host)
        host->ThreadStarted(kLoadThreadName);
    m_pLibrary->RunLoad();
    PostQuitMessage(0);
    return TRUE;
}

int CLibLoadThread::ExitInstance()
{
    CLibraryHost* host = m_pLibrary->GetHost();
    if (host)
        host->ThreadEnded();
    return CWinThread::ExitInstance();
}
