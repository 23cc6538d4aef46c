// An ordered list of library entries with a pointer to the one that plays now,
// a loop flag and a play state; saved as a play-list file or as two profile
// values. The document's playing list, every play-list view and the search
// results are CPlayLists.
//
// Lock order: the list's lock, then the library's; never two lists' locks at
// once (another list is copied first). The pointer is written only under the
// lock; it and the play state are single words that other threads read
// without it.
#pragma once

#include "library/playlist/LibItem.h"

#include "devices/util/Error.h"

#include <afxmt.h>

#include <time.h>

#include <atomic>

#include <string>
#include <unordered_map>
#include <vector>

class CKeywordStatList;

enum PlayState
{
    kStopped = 0,
    kPaused = 1,
    kPlaying = 2,
};

extern const char kPlayListHeader[];

class CPlayList
{
public:
    explicit CPlayList(CMusicLibrary& library);
    // Copies entries, pointer, file name, flags, states and error holder; the
    // copy has a lock of its own.
    CPlayList(const CPlayList& other);
    CPlayList& operator=(const CPlayList&) = delete;
    virtual ~CPlayList() {}

    CMusicLibrary& GetLibrary() const { return m_library; }
    CError& GetError() { return m_error; }

    void SetModified(bool modified) { m_modified = modified; }
    bool IsModified() const { return m_modified != 0; }
    void SetLoop(bool loop) { m_loop = loop; }
    bool GetLoop() const { return m_loop != 0; }

    // ---- entries ----
    int GetCount() const;
    void Clear();
    // A copy of the entry, or a cleared one for an index not on an entry.
    CLibItem GetItem(int index) const;
    void AddItem(const CLibItem& item);
    bool FindItem(const CLibItem& item, int& index) const;
    // False when the list is empty.
    bool GetLastItem(CLibItem& item) const;
    void RemoveAt(int index);
    void InsertItem(const CLibItem& item, int index);
    void InsertList(const CPlayList& other, int index, bool takePointer);
    int CopyItemsOnPlayer(CPlayList& target, int player) const;

    // ---- pointer ----
    int GetPointer() const { return m_pointer; }
    // An index off the list puts the pointer one past the last entry: the end.
    void SetPointer(int index);
    CLibItem GetCurrentItem() const;
    int GetRemainingCount() const;
    bool Next();
    bool Previous();
    // "random", "top", "bottom", "next", "prev", "cur" or a 1-based number.
    bool ParsePosition(const char* word, int& position) const;

    // ---- play state ----
    bool IsStopped() const { return m_state == kStopped; }
    bool IsPaused() const { return m_state == kPaused; }
    bool IsPlaying() const { return m_state == kPlaying; }
    bool WasStopped() const { return m_rememberedState == kStopped; }
    bool WasPaused() const { return m_rememberedState == kPaused; }
    bool WasPlaying() const { return m_rememberedState == kPlaying; }
    void SetStopped() { SetState(kStopped); }
    void SetPaused() { SetState(kPaused); }
    void SetPlaying() { SetState(kPlaying); }
    // A PlayState.
    int GetState() const { return m_state; }
    // The playing thread remembers the state its step acted on.
    void RememberState(int state) { m_rememberedState = state; }
    CString GetStateText() const;

    // ---- files and texts ----
    const CString& GetFileName() const { return m_fileName; }
    // Inserts the file's entries at index (-1: at the end).
    bool LoadFromFile(const char* path, int index);
    bool SaveToFile(const char* path);
    // The file's text with bare line feeds.
    CString GetText() const;
    // False when a line named an album that is not in the library.
    bool AppendFromText(const char* text);
    void SaveToProfile(const char* section) const;
    void LoadFromProfile(const char* section);

    // ---- reordering ----
    // The document seeds with the time; tests give their own seed.
    void Shuffle(unsigned int seed = static_cast<unsigned int>(time(nullptr)));
    void Optimize();
    void Alternate();
    // given: the entry playing now, or null; exclusion: entries to avoid, or null.
    bool PickRandomItem(const CLibItem* given, CLibItem& out, const CPlayList* exclusion,
                        int minimumSeconds);
    // The next two entries for that player from the pointer on; a missing
    // entry comes back cleared with distance 99 beyond the previous one.
    bool FindNextOnPlayer(int player, CLibItem& first, int& firstDistance, CLibItem& second,
                          int& secondDistance);

    // ---- album and track entries ----
    // nowPlaying: the entry the document shows as playing now.
    int Explode(int index, const CLibItem& nowPlaying);
    void ExplodeAll(const CLibItem& nowPlaying);
    int Condense(int index);
    bool RemoveMatching(const CLibItem& item, bool wholeDisc);
    void RemoveInvalidItems();

    // ---- totals ----
    int GetTotalTime();
    bool IsSingleDisc() const;
    bool HasOnlyWholeDiscs() const;
    void CountKeywords(CKeywordStatList& stats);
    CString Dump() const;

private:
    typedef bool (*EntryTest)(CMusicLibrary& library, CLibItem& item, const CLibItem& pattern,
                              bool wholeDisc);

    int Count() const { return static_cast<int>(m_items.size()); }
    void SetState(int state);
    // Removes the entry and keeps the pointer on the entry it was on.
    void RemoveEntry(int index);
    void InsertEntry(const CLibItem& item, int index);
    void ClampPointer();
    void Swap(int a, int b);
    bool CanFollow(int first, int second);
    bool OptimizeForward();
    bool OptimizeBackward();
    // Removes every entry the test accepts; true when any went.
    bool RemoveWhere(EntryTest test, const CLibItem& pattern, bool wholeDisc);
    // Upper-case id -> first album not gone with it, for ids of the current length.
    void IndexAlbumIds(const CLibraryLock& lock, std::unordered_map<std::string, int>& firstIndex);
    bool Qualifies(CLibItem& item, const CLibItem* given, int avoidPlayer, const CPlayList* exclusion,
                   int minimumSeconds);

    CMusicLibrary& m_library;
    std::vector<CLibItem> m_items; // guarded by m_lock
    std::atomic<LONG> m_pointer;
    CString m_fileName;
    std::atomic<BYTE> m_modified;
    std::atomic<BYTE> m_loop;
    std::atomic<LONG> m_state;
    std::atomic<LONG> m_rememberedState;
    mutable CCriticalSection m_lock;
    CError m_error;
};

// The play lists that exist; it does not own them.
class CPlayLists
{
public:
    virtual ~CPlayLists() {}

    void Add(CPlayList* list) { m_lists.push_back(list); }
    CPlayList* GetLast() const { return m_lists.empty() ? nullptr : m_lists.back(); }
    void StopOthers(const CPlayList* list);

private:
    std::vector<CPlayList*> m_lists;
};
