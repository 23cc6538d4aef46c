#include "library/db/AlbumRowWriter.h"

#include "OleDbConstants.h"
#include "library/db/LibraryRows.h"

namespace {

std::string UpperKey(const CString& id)
{
    CString key = id;
    key.MakeUpper();
    return std::string(key);
}

}

CAlbumRowWriter::CAlbumRowWriter(ODBSession& session, const ODBColumnDescriptors& albumColumns,
                                 const ODBColumnDescriptors& trackColumns)
    : m_session(session), m_albums{ "Albums", albumColumns, false, {}, false, {} },
      m_tracks{ "Tracks", trackColumns, false, {}, false, {} }
{
}

void CAlbumRowWriter::LearnStoredIds()
{
    LearnIds(m_albums);
    LearnIds(m_tracks);
}

void CAlbumRowWriter::LearnIds(Table& table)
{
    ODBColumnDescriptors columns;
    columns.AddColumn("ZYMID", 0);
    CString sql;
    sql.Format("SELECT DISTINCT ZYMID FROM %s", table.name);
    ODBRowsetAccessor rows;
    rows.Bind(m_session.Execute(sql, nullptr, true), columns);
    table.ids.clear();
    while (rows.MoveNext()) {
        rows.GetData();
        table.ids.insert(UpperKey(rows.GetText(0)));
    }
    table.idsKnown = true;
}

bool CAlbumRowWriter::SelectRows(Table& table, const CString (&ids)[kRowIdCount], ODBRowsetAccessor& rows)
{
    for (const CString& id : ids) {
        // Empty texts are stored as NULL: an empty id selects nothing.
        if (id.IsEmpty() || (table.idsKnown && table.ids.count(UpperKey(id)) == 0))
            continue;
        CString sql;
        sql.Format("SELECT * FROM %s WHERE ZYMID='%s'", table.name, static_cast<const char*>(QuotedSqlText(id)));
        ODBPropertySet properties(kDbPropSetRowset);
        AddUpdatableRowsetProperties(properties);
        rows.Bind(m_session.Execute(sql, &properties, true), table.columns);
        if (rows.MoveNext())
            return true;
    }
    return false;
}

ODBRowsetAccessor& CAlbumRowWriter::Inserter(Table& table)
{
    if (!table.insertOpen) {
        ODBPropertySet properties(kDbPropSetRowset);
        AddUpdatableRowsetProperties(properties);
        table.insert.Bind(m_session.OpenTable(table.name, &properties), table.columns);
        table.insertOpen = true;
    }
    return table.insert;
}

// A later album of the same save with this id finds these rows, as its select would.
void CAlbumRowWriter::Inserted(Table& table, const AlbumRecord& album)
{
    if (table.idsKnown)
        table.ids.insert(UpperKey(album.GetIdText()));
}

void CAlbumRowWriter::Write(const AlbumRecord& album, const CString (&ids)[kRowIdCount])
{
    WriteAlbumRow(album, ids);
    WriteTrackRows(album, ids);
}

void CAlbumRowWriter::WriteAlbumRow(const AlbumRecord& album, const CString (&ids)[kRowIdCount])
{
    ODBRowsetAccessor rows;
    if (!SelectRows(m_albums, ids, rows)) {
        ODBRowsetAccessor& insert = Inserter(m_albums);
        LibraryRows::WriteRow(album, insert);
        insert.InsertRow();
        Inserted(m_albums, album);
        return;
    }
    LibraryRows::WriteRow(album, rows);
    rows.SetData();
    // Further rows of the same album are duplicates.
    while (rows.MoveNext())
        rows.DeleteRow();
}

// Stored rows take the tracks in their order; tracks beyond them are
// inserted, rows beyond the tracks deleted.
void CAlbumRowWriter::WriteTrackRows(const AlbumRecord& album, const CString (&ids)[kRowIdCount])
{
    ODBRowsetAccessor rows;
    bool stored = SelectRows(m_tracks, ids, rows);
    int trackCount = album.GetTrackCount();
    for (int i = 0; i < trackCount; i++) {
        if (stored) {
            LibraryRows::WriteTrackRow(album, i, rows);
            rows.SetData();
            stored = rows.MoveNext();
        } else {
            ODBRowsetAccessor& insert = Inserter(m_tracks);
            LibraryRows::WriteTrackRow(album, i, insert);
            insert.InsertRow();
            Inserted(m_tracks, album);
        }
    }
    while (stored) {
        rows.DeleteRow();
        stored = rows.MoveNext();
    }
}
