// The whole music library in memory: the albums under one re-entrant lock, the
// look-ups by id and position, new ids, rating names and the master keywords.
//
// Albums live in a vector that the load thread clears and refills. A pointer
// to a stored album is valid only while the lock is held, so every look-up that
// gives one takes a CLibraryLock; everything else returns copies.
#pragma once

#include "library/keywords/MasterKeyword.h"
#include "library/records/AlbumRecord.h"
#include "library/records/LibraryHost.h"
#include "library/records/TaskSink.h"

#include <afxmt.h>
#include <afxwin.h>

#include <atomic>
#include <vector>

class CMusicLibrary;

// Holds the library lock for its lifetime.
class CLibraryLock
{
public:
    explicit CLibraryLock(CMusicLibrary& library);

private:
    CSingleLock m_lock;
};

class CMusicLibrary
{
public:
    static const int kRatingCount = 4; // the database has four rating columns

    CMusicLibrary();
    ~CMusicLibrary();
    CMusicLibrary(const CMusicLibrary&) = delete;
    CMusicLibrary& operator=(const CMusicLibrary&) = delete;

    void SetHost(CLibraryHost* host) { m_host = host; }
    void SetLoader(CLibraryLoader* loader) { m_loader = loader; }
    void SetTaskMgr(CTaskSink* tasks) { m_taskMgr = tasks; }
    CTaskSink* GetTaskMgr() const { return m_taskMgr; }
    const CString& GetLibraryPath() const { return m_libraryPath; }
    void SetLibraryPath(const char* path) { m_libraryPath = path; }

    int GetRatingCount() const { return kRatingCount; }
    const CString* GetRatingNames() const { return m_ratingNames; }
    CString* GetRatingLabels() { return m_ratingLabels; }
    CMasterKeyword& GetMasterKeywords() { return m_masterKeywords; }
    // An empty album whose records use the library's ratings.
    AlbumRecord NewAlbum() const { return AlbumRecord(kRatingCount, m_ratingNames); }

    // ---- the album set ----
    void StoreAlbum(AlbumRecord& album);
    bool DeleteAlbum(AlbumRecord& album);
    // Appends as it stands (state, ids, location): the database load uses it.
    void AppendAlbum(const AlbumRecord& album);
    void AppendAlbum(AlbumRecord&& album);
    void RemoveAllAlbums();
    // Room for count albums, so that a load that knows how many come never
    // holds the album array twice while it grows.
    void ReserveAlbums(int count);
    int FindAlbumIndex(const char* id);
    int FindAlbum(const AlbumRecord& album) { return FindAlbumIndex(album.GetIdText()); }
    bool GetAlbum(const AlbumRecord& album, AlbumRecord& out);
    bool GetAlbumAt(int index, AlbumRecord& out);
    int GetAlbumCount();
    AlbumRecord* FindAlbumPtr(const CLibraryLock& lock, const AlbumRecord& album);
    AlbumRecord* GetAlbumPtr(const CLibraryLock& lock, int index);
    // A play-list entry (its id text and cached album index) resolved to its
    // stored album, valid while the lock is held, or null. The cached index is
    // refreshed; an album found by a previous or changer id gives the entry its
    // current id.
    AlbumRecord* ResolveItem(const CLibraryLock& lock, CString& id, int& index);
    // A copy of an entry's album, found by its current id only; the id is left
    // alone, the cached index refreshed.
    bool GetItemAlbum(const CString& id, int& index, AlbumRecord& out);
    // Whether the album at the cached index is still the entry's.
    bool IsItemAt(const CLibraryLock& lock, const CString& id, int index);
    int FindAlbumAt(int player, int slot);
    void EvictFromSlot(const AlbumRecord& album);
    bool VerifyDiscAt(int player, int slot, int trackNumber, int minutes, int seconds);
    void MarkAllChanged();
    int CountChanged();
    bool IsAlbumPlayable(const AlbumRecord& album);
    CString MakeUniqueId();
    // Called every second while a track plays, with the seconds played so
    // far: at 5 it counts a play and 5 seconds of time played, later 1 second
    // each; before 5 nothing (a skipped track is no play).
    void NotePlayingTime(const char* id, int track, int seconds);
    int GetLastIndex() const { return m_lastIndex; }

    // ---- keywords ----
    void MarkKeywordChanged(int id);
    void UpdateKeywordTexts(AlbumRecord& album);

    // ---- flags ----
    void SetModified(bool modified) { m_modified = modified; }
    bool IsModified() const { return m_modified != 0; }
    bool HasChanged() const { return m_changed != 0; }
    void SetChanged(bool changed) { m_changed = changed; }
    // Also the load's stop request: the destructor clears it.
    bool IsLoading() const { return m_loading != 0; }
    bool IsSaving() const { return m_saving != 0; }
    void SetSaving(bool saving) { m_saving = saving; }

    // ---- the load thread ----
    // Starts the load on its own thread; false when one runs already or no
    // thread could be made.
    bool StartLoad();
    void RunLoad();
    CLibraryHost* GetHost() const { return m_host; }

    CCriticalSection& GetLock() { return m_lock; }

private:
    void ReadRatingNames();
    void WriteProfile();
    void WaitForLoadThread();
    void MarkAbsent(AlbumRecord& album);

    CString m_ratingNames[kRatingCount];
    CString m_ratingLabels[kRatingCount];
    CMasterKeyword m_masterKeywords;
    std::atomic<LONG> m_changed;
    std::atomic<LONG> m_loading;
    std::atomic<BYTE> m_saving;
    int m_lastIndex;
    std::vector<AlbumRecord> m_albums;
    CCriticalSection m_lock; // re-entrant; guards m_albums
    std::atomic<BYTE> m_modified;
    CString m_libraryPath;
    CTaskSink* m_taskMgr;
    CLibraryHost* m_host;
    CLibraryLoader* m_loader;
    CWinThread* m_loadThread; // kept until it has ended
};

// The worker that runs the library load: a user-interface thread that loads
// in InitInstance and ends with the message loop's quit.
class CLibLoadThread : public CWinThread
{
    DECLARE_DYNCREATE(CLibLoadThread)
public:
    CLibLoadThread() : m_pLibrary(nullptr) {}

    BOOL InitInstance() override;
    int ExitInstance() override;

    CMusicLibrary* m_pLibrary;
};
