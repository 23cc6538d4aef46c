// The library file: opening (and creating from the template), loading, saving
// changed albums, writing and deleting an album's rows, compaction and the
// upgrade of ids of the previous scheme. Database errors of save, write,
// delete and compaction are thrown as _com_error to the caller; the load
// catches and shows them.
#pragma once

#include <afxmt.h>
#include <atomic>
#include <string>
#include <unordered_map>
#include <vector>

#include "ComError.h"

#include "library/db/AlbumRowWriter.h"
#include "library/db/ODBConnection.h"
#include "library/db/ODBRowsetAccessor.h"
#include "library/records/MusicLibrary.h"

class CLibraryTask;

class CLibraryDatabase : public CLibraryLoader
{
public:
    explicit CLibraryDatabase(CMusicLibrary& library);
    ~CLibraryDatabase() override;
    CLibraryDatabase(const CLibraryDatabase&) = delete;
    CLibraryDatabase& operator=(const CLibraryDatabase&) = delete;

    // create: ask to make a missing file from "template.mdb" beside the program.
    bool OpenDatabase(bool create);
    // Runs on the load thread (CLibraryLoader).
    void Load(CMusicLibrary& library) override;
    bool Save();
    bool DeleteAlbumRows(AlbumRecord& album);
    bool Compact();
    // tracksLoaded: per album index, whether all its tracks were read.
    void UpgradeAllIds(const std::vector<bool>& tracksLoaded);
    void UpgradeIdScheme();
    void ShowComError(const char* context, const _com_error& error);

    LONG GetStatementCount() const { return m_statements; }

private:
    // Both give false when they stopped early or skipped a damaged row.
    bool LoadAlbums(ODBRowsetAccessor& rows, CLibraryTask& task, long count);
    long CountRows(const char* table);
    bool LoadTracks(ODBRowsetAccessor& rows, CLibraryTask& task, long albumCount, std::vector<bool>& tracksLoaded);
    std::vector<std::vector<bool>> NoTracksSeen();
    void IndexAlbumIds(std::unordered_map<std::string, int>& firstIndex);
    int FindLoadedAlbum(const std::unordered_map<std::string, int>& firstIndex, const CString& id);
    void SaveChangedAlbums(CLibraryTask& task);
    bool CompactInto(const CString& path);
    static const int kRowIdCount = CAlbumRowWriter::kRowIdCount;
    // The ids an album's rows may be stored under: its id, its previous id,
    // the id the load recomputed it from, its changer id. Unknown ones are empty.
    void RowIds(const AlbumRecord& album, CString (&ids)[kRowIdCount]) const;
    void WriteAlbum(AlbumRecord& album, CAlbumRowWriter& writer);
    void Execute(const char* format, const char* id);
    void FireEvent(const char* text);

    CMusicLibrary& m_library;
    ODBDataSource m_source;
    ODBSession m_session;
    ODBColumnDescriptors m_albumColumns;
    ODBColumnDescriptors m_trackColumns;
    std::atomic<LONG> m_statements;
    // New id -> the id its rows are stored under, for the albums whose id the
    // load recomputed, until a save rewrites them. Guarded by the library lock.
    std::unordered_map<std::string, CString> m_storedIds;
    // Saves come from the GUI thread and from the load thread's id upgrade:
    // one runs at a time. Taken before the library lock.
    CCriticalSection m_saveLock;
};
