#include "library/db/LibraryDatabase.h"

#include <afxwin.h>
#include <algorithm>
#include <string.h>
#include <unordered_map>
#include <vector>

#include "JetIds.h"
#include "OleDbConstants.h"
#include "devices/util/TicToc.h"
#include "library/db/InterfaceRelease.h"
#include "library/db/LibraryRows.h"
#include "library/db/ODBError.h"
#include "platform/runtime/DebugOutput.h"
#include "platform/runtime/FileReplacement.h"

// A task of the library, ended on every way out of the job. Works without a
// task manager as well.
class CLibraryTask
{
public:
    CLibraryTask(CTaskSink* sink, const char* name, DWORD flags)
        : m_sink(sink), m_id(sink ? sink->CreateTask(name, nullptr, flags) : 0) {}
    ~CLibraryTask() { if (m_sink) m_sink->EndTask(m_id); }
    CLibraryTask(const CLibraryTask&) = delete;
    CLibraryTask& operator=(const CLibraryTask&) = delete;

    void Status(const char* text) { if (m_sink) m_sink->SetTaskStatus(m_id, text); }
    void Range(int range) { if (m_sink) m_sink->SetTaskRange(m_id, range); }
    void Pos(int pos) { if (m_sink) m_sink->SetTaskPos(m_id, pos); }

private:
    CTaskSink* m_sink;
    int m_id;
};

namespace {

// A save of more albums than this shows its progress.
const int kSaveDialogThreshold = 10;
// A save of more albums than this reads the stored ids first: most of a big
// save is usually new rows, which then need no select.
const int kLearnIdsThreshold = 50;
// More changed albums than this after the id upgrade: tell the user first.
const int kUpgradeNoticeThreshold = 20;
const int kNewIdLength = 16;
const char kTemplateName[] = "template.mdb";

const char kCreateQuestion[] =
    "The library file named %s that you are trying to save doesn't exist. Would you like to create it?";
const char kUpgradeNotice[] =
    "ZYM has changed the way it identifies albums in its database. Your music library has at least some "
    "entries in the old format. ZYM will now rewrite your database in the new format. This may take a few "
    "minutes.";

bool FileExists(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

CString ProgramDirectory()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    CString directory(path, n < sizeof(path) ? n : 0);
    int slash = directory.ReverseFind('\\');
    return slash >= 0 ? directory.Left(slash + 1) : CString();
}

// A random id is drawn only for an album that takes it: drawing one searches
// the whole library. storedIds learns the id the rows of a recomputed album
// are still stored under, so that its save rewrites them instead of adding
// a second album.
void UpgradeId(AlbumRecord& album, CMusicLibrary& library, std::unordered_map<std::string, CString>& storedIds)
{
    album.SetPreviousIdText(album.ComputeOldAlbumId());
    bool inChanger = album.GetStoredPlayer() < kMp3Player;
    if (album.GetIdText().GetLength() != kNewIdLength) {
        album.SetSonyId(static_cast<DWORD>(strtoul(album.GetIdText(), nullptr, 16)));
        album.SetIdText(inChanger ? album.ComputeAlbumId() : library.MakeUniqueId());
        album.SetState(kAlbumChanged);
        return;
    }
    if (album.GetSonyId() == 0)
        album.SetSonyId(album.ComputeCddbId());
    if (inChanger) {
        CString id = album.ComputeAlbumId();
        if (id != album.GetIdText()) {
            storedIds[std::string(id)] = album.GetIdText();
            album.SetIdText(id);
            album.SetState(kAlbumChanged);
        }
    }
}

}

CLibraryDatabase::CLibraryDatabase(CMusicLibrary& library) : m_library(library), m_statements(0)
{
    MakeAlbumColumns(m_albumColumns);
    MakeTrackColumns(m_trackColumns);
}

CLibraryDatabase::~CLibraryDatabase()
{
    m_session.Close();
    m_source.Close();
}

void CLibraryDatabase::FireEvent(const char* text)
{
    if (m_library.GetHost())
        m_library.GetHost()->FireEvent(text);
}

void CLibraryDatabase::ShowComError(const char* context, const _com_error& error)
{
    AfxMessageBox(FormatComError(context, error), MB_OK | MB_ICONEXCLAMATION);
}

bool CLibraryDatabase::OpenDatabase(bool create)
{
    CString path = m_library.GetLibraryPath();
    if (!FileExists(path)) {
        if (!create)
            return false;
        CString question;
        question.Format(kCreateQuestion, static_cast<const char*>(path));
        if (AfxMessageBox(question, MB_YESNO) != IDYES)
            return false;
        m_library.MarkAllChanged();
        CString templatePath = ProgramDirectory() + kTemplateName;
        if (!CopyFileA(templatePath, path, FALSE)) {
            AfxMessageBox("Error making copy of template file " + templatePath + " to " + path);
            return false;
        }
    }
    CoInitialize(nullptr);
    if (m_source.IsOpen() && m_session.IsOpen() && m_source.GetPath() == path)
        return true;
    m_session.Close();
    m_source.Open(ZYM_JET_PROVIDER_PROGID, path);
    m_session.Open(m_source);
    return true;
}

// Only a load that read the whole file may save by itself afterwards: after a
// failed or partial one, a save would write what is missing as gone.
void CLibraryDatabase::Load(CMusicLibrary&)
{
    CTicToc stopwatch;
    stopwatch.Tic();
    bool complete = true;
    {
        CLibraryTask task(m_library.GetTaskMgr(), "LibLoad", CTaskSink::kShowProgressDialog);
        FireEvent("library_load_start");
        task.Status("Querying CD Library Albums");
        long albumCount = 0;
        try {
            if (OpenDatabase(false)) {
                albumCount = CountRows("Albums");
                if (albumCount > 0) {
                    ODBPropertySet properties(kDbPropSetRowset);
                    AddUpdatableRowsetProperties(properties);
                    ODBRowsetAccessor rows;
                    rows.Bind(m_session.OpenTable("Albums", &properties), m_albumColumns);
                    complete = LoadAlbums(rows, task, albumCount);
                }
            }
        } catch (const _com_error& error) {
            ShowComError("Error reading albums", error);
            albumCount = 0;
            complete = false;
        }
        if (albumCount > 0) {
            std::vector<bool> tracksLoaded;
            try {
                task.Status("Querying CD Library Tracks");
                task.Pos(0);
                ODBPropertySet properties(kDbPropSetRowset);
                AddUpdatableRowsetProperties(properties);
                ODBRowsetAccessor rows;
                rows.Bind(m_session.OpenTable("Tracks", &properties), m_trackColumns);
                complete = LoadTracks(rows, task, albumCount, tracksLoaded) && complete;
            } catch (const _com_error& error) {
                ShowComError("Error reading tracks", error);
                complete = false;
            }
            UpgradeAllIds(tracksLoaded);
        }
    }
    stopwatch.Toc();
    DebugOutputF("Library load: %.2f s\n", stopwatch.UserSeconds());
    FireEvent("library_load_end");
    if (complete)
        UpgradeIdScheme();
}

// The database counts; the rows are read once.
long CLibraryDatabase::CountRows(const char* table)
{
    ODBColumnDescriptors columns;
    columns.AddColumn("N", 0);
    CString sql;
    sql.Format("SELECT COUNT(*) AS N FROM %s", table);
    ODBRowsetAccessor rows;
    rows.Bind(m_session.Execute(sql, nullptr, true), columns);
    if (!rows.MoveNext())
        return 0;
    rows.GetData();
    return atol(rows.GetText(0));
}

bool CLibraryDatabase::LoadAlbums(ODBRowsetAccessor& rows, CLibraryTask& task, long count)
{
    m_library.RemoveAllAlbums();
    m_library.ReserveAlbums(count);
    {
        CLibraryLock lock(m_library);
        m_storedIds.clear();
    }
    task.Status("Loading CD Library Albums");
    task.Range(count);
    long step = count / 20 + 1;
    CMasterKeyword& keywords = m_library.GetMasterKeywords();
    AlbumRecord scratch = m_library.NewAlbum();
    long read = 0;
    int damaged = 0;
    while (m_library.IsLoading() && rows.MoveNext()) {
        rows.GetData();
        if (LibraryRows::ReadRow(scratch, rows)) {
            scratch.SetKeywordList(kAlbumIndex,
                                   keywords.ParseKeywordList(scratch.GetRecord(kAlbumIndex)->m_keywordText), false);
            m_library.AppendAlbum(std::move(scratch));
            scratch = m_library.NewAlbum();
        } else {
            damaged++;
        }
        if (++read % step == 0)
            task.Pos(read);
    }
    if (damaged > 0)
        AfxMessageBox("Error! Track count out of range");
    // A load stopped half-way is partial as well.
    return damaged == 0 && m_library.IsLoading();
}

// tracksLoaded tells, per album index, whether every track of the album was read.
bool CLibraryDatabase::LoadTracks(ODBRowsetAccessor& rows, CLibraryTask& task, long albumCount,
                                  std::vector<bool>& tracksLoaded)
{
    task.Status("Loading CD Library Tracks");
    task.Range(CountRows("Tracks"));
    long step = albumCount / 20 + 1;
    CMasterKeyword& keywords = m_library.GetMasterKeywords();
    std::unordered_map<std::string, int> firstIndex;
    IndexAlbumIds(firstIndex);
    std::vector<std::vector<bool>> seen = NoTracksSeen();
    CString previousId;
    int albumIndex = -1;
    bool first = true;
    long read = 0;
    while (m_library.IsLoading() && rows.MoveNext()) {
        rows.GetData();
        // Consecutive rows of one album search for it once, and their ids
        // are compared where the row holds them.
        int length = 0;
        const char* id = rows.PeekText(kColZymId, length);
        if (first || length != previousId.GetLength() || (length > 0 && memcmp(id, previousId, length) != 0)) {
            previousId = id ? CString(id, length) : CString();
            albumIndex = FindLoadedAlbum(firstIndex, previousId);
            first = false;
        }
        bool inRange = true;
        if (albumIndex >= 0) {
            CLibraryLock lock(m_library);
            AlbumRecord* album = m_library.GetAlbumPtr(lock, albumIndex);
            int track = 0;
            if (album && LibraryRows::ReadTrackRow(*album, rows, track)) {
                TrackRecord* record = album->GetRecord(track);
                album->SetKeywordList(track, keywords.ParseKeywordList(record->m_keywordText), false);
                seen[albumIndex][track] = true;
            } else {
                inRange = album == nullptr;
            }
        }
        if (!inRange)
            AfxMessageBox("Error! Track number out of range");
        if (++read % step == 0)
            task.Pos(read);
    }
    tracksLoaded.assign(seen.size(), false);
    for (size_t i = 0; i < seen.size(); i++)
        tracksLoaded[i] = std::find(seen[i].begin(), seen[i].end(), false) == seen[i].end();
    return m_library.IsLoading();
}

// One flag per track of every album, none set.
std::vector<std::vector<bool>> CLibraryDatabase::NoTracksSeen()
{
    CLibraryLock lock(m_library);
    int count = m_library.GetAlbumCount();
    std::vector<std::vector<bool>> seen(count);
    for (int i = 0; i < count; i++)
        seen[i].assign(std::max(0, m_library.GetAlbumPtr(lock, i)->GetTrackCount()), false);
    return seen;
}

// Searching the whole library for the album of each track would make the load
// quadratic. Right after the albums are read, an index of their ids gives the
// same answer as FindAlbumIndex, the first album with that id. Another program
// may have written ids in lower case: the index holds them in upper case.
void CLibraryDatabase::IndexAlbumIds(std::unordered_map<std::string, int>& firstIndex)
{
    CLibraryLock lock(m_library);
    int count = m_library.GetAlbumCount();
    for (int i = 0; i < count; i++) {
        const AlbumRecord* album = m_library.GetAlbumPtr(lock, i);
        if (!album->IsGone()) {
            CString key = album->GetIdText();
            key.MakeUpper();
            firstIndex.emplace(std::string(key), i);
        }
    }
}

int CLibraryDatabase::FindLoadedAlbum(const std::unordered_map<std::string, int>& firstIndex, const CString& id)
{
    CString key = id;
    key.MakeUpper();
    if (key.GetLength() == kNewIdLength) {
        auto found = firstIndex.find(std::string(key));
        if (found != firstIndex.end())
            return found->second;
    }
    return m_library.FindAlbumIndex(id);
}

// An album whose tracks did not all load keeps its ids: computed from missing
// tracks they would name another album.
void CLibraryDatabase::UpgradeAllIds(const std::vector<bool>& tracksLoaded)
{
    CLibraryLock lock(m_library);
    int count = m_library.GetAlbumCount();
    for (int i = 0; i < count; i++) {
        AlbumRecord& album = *m_library.GetAlbumPtr(lock, i);
        bool loaded = i < static_cast<int>(tracksLoaded.size()) ? tracksLoaded[i] : album.GetTrackCount() <= 0;
        if (loaded)
            UpgradeId(album, m_library, m_storedIds);
    }
}

void CLibraryDatabase::UpgradeIdScheme()
{
    int changed = m_library.CountChanged();
    if (changed == 0)
        return;
    // Ids another program wrote in lower case are only rewritten in upper
    // case: the way albums are identified did not change for them.
    int caseOnly = 0;
    {
        CLibraryLock lock(m_library);
        for (const auto& stored : m_storedIds)
            caseOnly += stored.second.CompareNoCase(stored.first.c_str()) == 0;
    }
    if (changed - caseOnly > kUpgradeNoticeThreshold)
        AfxMessageBox(kUpgradeNotice, MB_OK | MB_ICONINFORMATION);
    // On the load thread nobody above could catch it.
    try {
        Save();
    } catch (const _com_error& error) {
        ShowComError("Error saving library", error);
    }
}

bool CLibraryDatabase::Save()
{
    CSingleLock saveLock(&m_saveLock, TRUE);
    if (m_library.IsSaving())
        return false;
    m_library.SetSaving(true);
    try {
        if (!OpenDatabase(true)) {
            m_library.SetSaving(false);
            return false;
        }
        int changed = m_library.CountChanged();
        if (changed > 0) {
            FireEvent("library_save_start");
            {
                CLibraryTask task(m_library.GetTaskMgr(), "LibSave",
                                  changed > kSaveDialogThreshold ? CTaskSink::kShowProgressDialog : 0);
                task.Status("Saving CD Library");
                task.Range(changed);
                SaveChangedAlbums(task);
                m_library.SetModified(false);
            }
            FireEvent("library_save_end");
        }
    } catch (...) {
        m_library.SetSaving(false);
        throw;
    }
    m_library.SetSaving(false);
    return true;
}

// All rows go in one transaction: a failure leaves the file as it was and the
// albums in the states that get them written next time.
void CLibraryDatabase::SaveChangedAlbums(CLibraryTask& task)
{
    CLibraryLock lock(m_library);
    std::vector<int> written;
    int count = m_library.GetAlbumCount();
    m_session.BeginTransaction();
    try {
        {
            CAlbumRowWriter writer(m_session, m_albumColumns, m_trackColumns);
            if (m_library.CountChanged() > kLearnIdsThreshold)
                writer.LearnStoredIds();
            for (int i = 0; i < count; i++) {
                AlbumRecord* album = m_library.GetAlbumPtr(lock, i);
                task.Pos(static_cast<int>(written.size()));
                if (album->GetState() == kAlbumChanged) {
                    WriteAlbum(*album, writer);
                    album->SetState(kAlbumClean);
                } else if (album->GetState() == kAlbumDeleted) {
                    DeleteAlbumRows(*album);
                    album->SetState(kAlbumRemoved);
                } else {
                    continue;
                }
                written.push_back(i);
            }
        }
        m_session.Commit();
        // Rewritten under their new ids, the old ones may now belong to others.
        for (int i : written)
            m_storedIds.erase(std::string(m_library.GetAlbumPtr(lock, i)->GetIdText()));
    } catch (...) {
        m_session.Abort();
        for (int i : written) {
            AlbumRecord* album = m_library.GetAlbumPtr(lock, i);
            album->SetState(album->GetState() == kAlbumClean ? kAlbumChanged : kAlbumDeleted);
        }
        throw;
    }
}

void CLibraryDatabase::RowIds(const AlbumRecord& album, CString (&ids)[kRowIdCount]) const
{
    ids[0] = album.GetIdText();
    ids[1] = album.GetPreviousIdText();
    auto stored = m_storedIds.find(std::string(album.GetIdText()));
    if (stored != m_storedIds.end())
        ids[2] = stored->second;
    ids[3].Format("%08X", static_cast<unsigned>(album.GetSonyId()));
}

void CLibraryDatabase::WriteAlbum(AlbumRecord& album, CAlbumRowWriter& writer)
{
    ++m_statements;
    m_library.UpdateKeywordTexts(album);
    CString ids[kRowIdCount];
    RowIds(album, ids);
    writer.Write(album, ids);
}

void CLibraryDatabase::Execute(const char* format, const char* id)
{
    CString sql;
    sql.Format(format, static_cast<const char*>(QuotedSqlText(id)));
    m_session.Execute(sql, nullptr, false);
}

bool CLibraryDatabase::DeleteAlbumRows(AlbumRecord& album)
{
    ++m_statements;
    CString ids[kRowIdCount];
    RowIds(album, ids);
    for (const CString& id : ids) {
        Execute("DELETE * FROM Albums WHERE ZYMID='%s'", id);
        Execute("DELETE * FROM Tracks WHERE ZYMID='%s'", id);
    }
    return true;
}

// Calls the engine's compaction method through IDispatch.
static void CompactWithEngine(IDispatch* engine, const CString& source, const CString& destination)
{
    OLECHAR name[] = u"" ZYM_JET_COMPACT_METHOD;
    LPOLESTR names[] = { name };
    DISPID id = 0;
    ODBCheck(engine->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), engine, IID_IDispatch);
    CString texts[2] = { destination, source };   // arguments go in reverse order
    VARIANT args[2];
    for (int i = 0; i < 2; i++) {
        VariantInit(&args[i]);
        int n = MultiByteToWideChar(CP_ACP, 0, texts[i], -1, nullptr, 0);
        V_VT(&args[i]) = VT_BSTR;
        V_BSTR(&args[i]) = SysAllocStringLen(nullptr, n > 0 ? n - 1 : 0);
        MultiByteToWideChar(CP_ACP, 0, texts[i], -1, V_BSTR(&args[i]), n);
    }
    DISPPARAMS params = { args, nullptr, 2, 0 };
    EXCEPINFO exception = {};
    HRESULT hr = engine->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                                &exception, nullptr);
    for (int i = 0; i < 2; i++)
        VariantClear(&args[i]);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    if (hr == DISP_E_EXCEPTION && FAILED(exception.scode))
        hr = exception.scode;
    if (hr != S_OK) {
        IErrorInfo* info = nullptr;
        if (GetErrorInfo(0, &info) != S_OK)
            info = nullptr;
        throw _com_error(hr, info);
    }
}

// The engine compacts into a new file beside the live one, which replaces the
// live one in a single move; the backup, a copy of the live file, goes only
// once the new file is in place. The backup takes a name of the program's own
// in the library's folder: a name made from the library's could be a file of
// the user's.
bool CLibraryDatabase::Compact()
{
    CSingleLock saveLock(&m_saveLock, TRUE);
    CoInitialize(nullptr);
    bool result = true;
    m_statements = 0;
    FireEvent("library_compact_start");
    {
        CLibraryTask task(m_library.GetTaskMgr(), "LibCompact", 0);
        task.Status("Compacting CD Library");
        task.Range(1);
        CString path = m_library.GetLibraryPath();
        if (!FileExists(path)) {
            AfxMessageBox("Unable to find the library file " + path);
            result = false;
        } else {
            m_session.Close();
            m_source.Close();
            result = CompactInto(path);
        }
    }
    FireEvent("library_compact_end");
    return result;
}

bool CLibraryDatabase::CompactInto(const CString& path)
{
    IDispatch* engine = nullptr;
    ODBCheck(CoCreateInstance(CLSID_ZymJetEngine, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(&engine)), nullptr, IID_NULL);
    CInterfaceRelease releaseEngine(engine);
    CFileReplacement compacted(path);
    if (!compacted.Begin()) {
        AfxMessageBox("Error copying file " + path + " to a new file beside it in database compaction");
        return false;
    }
    CString temp = compacted.GetTempPath();
    // The engine writes only a file that does not exist yet.
    DeleteFileA(temp);
    CString connection = "Provider=" ZYM_JET_PROVIDER_PROGID ";Data Source=";
    CompactWithEngine(engine, connection + path, connection + temp);
    // Never committed: the backup's file goes on every way out.
    CFileReplacement backup(path);
    if (!backup.Begin() || !CopyFileA(path, backup.GetTempPath(), FALSE)) {
        AfxMessageBox("Error copying file " + path + " to " + CString(backup.GetTempPath()) +
                      " in database compaction");
        return false;
    }
    if (!compacted.Commit()) {
        AfxMessageBox("Error copying file " + temp + " to " + path + " in database compaction");
        return false;
    }
    return true;
}
