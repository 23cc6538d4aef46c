// Writes the rows of the changed albums of one save. Rows of an album the file
// does not hold yet go through one insert per table, prepared once for the
// whole save; an album's stored rows are selected by id and rewritten in
// place, so they keep their order in the file. Failures throw _com_error.
#pragma once

#include <string>
#include <unordered_set>

#include "library/db/ODBConnection.h"
#include "library/db/ODBRowsetAccessor.h"
#include "library/records/AlbumRecord.h"

class CAlbumRowWriter
{
public:
    static const int kRowIdCount = 4;

    CAlbumRowWriter(ODBSession& session, const ODBColumnDescriptors& albumColumns,
                    const ODBColumnDescriptors& trackColumns);
    CAlbumRowWriter(const CAlbumRowWriter&) = delete;
    CAlbumRowWriter& operator=(const CAlbumRowWriter&) = delete;

    // Reads which ids both tables hold, so that an album none of whose ids
    // is there goes straight to the inserts. Worth it for many albums only.
    void LearnStoredIds();
    // ids: those the album's rows may be stored under, in the order they are
    // tried; the rows of the first one that has any are rewritten.
    void Write(const AlbumRecord& album, const CString (&ids)[kRowIdCount]);

private:
    struct Table
    {
        const char* name;
        const ODBColumnDescriptors& columns;
        bool idsKnown;
        std::unordered_set<std::string> ids;   // upper case: the column compares without case
        bool insertOpen;
        ODBRowsetAccessor insert;
    };

    void LearnIds(Table& table);
    // Selects the rows of the first id that has any; false, and no rows, when none has.
    bool SelectRows(Table& table, const CString (&ids)[kRowIdCount], ODBRowsetAccessor& rows);
    ODBRowsetAccessor& Inserter(Table& table);
    void Inserted(Table& table, const AlbumRecord& album);
    void WriteAlbumRow(const AlbumRecord& album, const CString (&ids)[kRowIdCount]);
    void WriteTrackRows(const AlbumRecord& album, const CString (&ids)[kRowIdCount]);

    ODBSession& m_session;
    Table m_albums;
    Table m_tracks;
};
