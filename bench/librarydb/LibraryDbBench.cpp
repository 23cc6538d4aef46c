// Saves a library of 10,000 albums with 150,000 tracks to a new library file,
// loads it back, then saves one changed album, and prints the time of each.
// Beside the load it prints the reference: a raw SQLite scan of every row and
// column of the same file, and the ratio of the two (best of a few rounds, in
// processor time, so that a busy machine does not skew the ratio). Given a
// library file as well, it loads that one too, beside its own raw scan.
#include <afxwin.h>
#include <malloc.h>
#include <sqlite3.h>
#include <stdio.h>
#include <time.h>

#include "JetRegistration.h"
#include "library/db/LibraryDatabase.h"
#include "library/db/ODBError.h"

namespace {

const int kAlbums = 10000;
const int kTracksPerAlbum = 15;
const int kLoadRounds = 3;

// The thread's processor time: loads and scans compared on a busy machine.
class CCpuStopwatch
{
public:
    CCpuStopwatch() : m_start(Now()) {}
    double Seconds() const { return Now() - m_start; }

private:
    static double Now()
    {
        timespec now;
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return now.tv_sec + now.tv_nsec / 1e9;
    }

    double m_start;
};

class CStopwatch
{
public:
    CStopwatch() { QueryPerformanceFrequency(&m_frequency); QueryPerformanceCounter(&m_start); }
    double Seconds() const
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - m_start.QuadPart) / m_frequency.QuadPart;
    }

private:
    LARGE_INTEGER m_frequency;
    LARGE_INTEGER m_start;
};

CString ProgramFile(const char* name)
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof(path));
    CString file(path);
    return file.Left(file.ReverseFind('\\') + 1) + name;
}

// MP3-player albums with ids of the current scheme: the load's id upgrade
// leaves them as they are.
void FillLibrary(CMusicLibrary& library)
{
    for (int a = 0; a < kAlbums; a++) {
        AlbumRecord album = library.NewAlbum();
        CString id;
        id.Format("%016X", a + 1);
        album.SetIdText(id);
        album.SetPlayer(kMp3Player);
        album.SetTrackCount(kTracksPerAlbum);
        album.SetTitle(kAlbumIndex, "An album title of a usual length");
        album.SetArtist(kAlbumIndex, "Some Artist");
        for (int t = 0; t < kTracksPerAlbum; t++) {
            CString text;
            text.Format("Track %d of album %d", t + 1, a + 1);
            album.SetTitle(t, text);
            text.Format("C:\\Music\\Album %d\\%02d.mp3", a + 1, t + 1);
            album.SetFileLocation(t, text);
            album.SetPlayTime(t, 180 + t);
        }
        album.SetState(kAlbumChanged);
        library.AppendAlbum(album);
    }
}

// Reads every column of every row of both tables, as plainly as SQLite allows.
double RawScanSeconds(const CString& path)
{
    WCHAR widePath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH);
    char* unixPath = wine_get_unix_file_name(widePath);
    sqlite3* db = nullptr;
    CCpuStopwatch scan;
    sqlite3_open_v2(unixPath, &db, SQLITE_OPEN_READONLY, nullptr);
    HeapFree(GetProcessHeap(), 0, unixPath);
    size_t bytes = 0;
    for (const char* sql : { "SELECT * FROM Albums", "SELECT * FROM Tracks" }) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
        int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int i = 0; i < columns; i++) {
                if (sqlite3_column_type(stmt, i) == SQLITE_TEXT)
                    bytes += strlen(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)));
                else
                    bytes += static_cast<size_t>(sqlite3_column_double(stmt, i)) & 1;
            }
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    double seconds = scan.Seconds();
    return bytes ? seconds : -1;
}

// The best of a few loads beside the best of as many raw scans.
double Load(const CString& path, CMusicLibrary& library, CLibraryDatabase& database)
{
    double best = 0;
    double bestRaw = 0;
    for (int round = 0; round < kLoadRounds; round++) {
        double raw = RawScanSeconds(path);
        size_t heap = mallinfo2().uordblks;
        CCpuStopwatch load;
        library.RunLoad();
        double seconds = load.Seconds();
        if (round == 0)
            printf("heap taken by the loaded library: %.1f MiB\n", (mallinfo2().uordblks - heap) / 1048576.0);
        best = round == 0 || seconds < best ? seconds : best;
        bestRaw = round == 0 || raw < bestRaw ? raw : bestRaw;
    }
    printf("load of %d albums: %.3f s; raw SQLite scan of every row and column: %.3f s; ratio %.2f"
           " (processor time of the thread)\n",
           library.GetAlbumCount(), best, bestRaw, best / bestRaw);
    return best;
}

// A library file made elsewhere (MakeLibrary.py data), loaded from a copy:
// a load may rewrite ids.
bool LoadGivenFile(const char* unixPath, const CString& folder)
{
    WCHAR* dosPath = wine_get_dos_file_name(unixPath);
    if (!dosPath) {
        printf("%s cannot be named to Windows\n", unixPath);
        return false;
    }
    CString source(dosPath);
    HeapFree(GetProcessHeap(), 0, dosPath);
    CString path = folder + "librarydb-bench-given.mdb";
    if (!CopyFileA(source, path, FALSE)) {
        printf("%s cannot be copied\n", unixPath);
        return false;
    }
    printf("%s:\n", unixPath);
    {
        CMusicLibrary library;
        library.SetLibraryPath(path);
        CLibraryDatabase database(library);
        library.SetLoader(&database);
        Load(path, library, database);
    }
    DeleteFileA(path);
    return true;
}

bool Run(const char* dll, const char* givenLibrary)
{
    CoInitialize(nullptr);
    if (!RegisterJetProvider(dll)) {
        printf("the provider %s cannot be registered\n", dll);
        return false;
    }
    char folder[MAX_PATH];
    GetTempPathA(sizeof(folder), folder);
    CString path = CString(folder) + "librarydb-bench.mdb";
    if (!CopyFileA(ProgramFile("template.mdb"), path, FALSE)) {
        printf("no template.mdb beside the program\n");
        return false;
    }
    {
        CMusicLibrary library;
        library.SetLibraryPath(path);
        CLibraryDatabase database(library);
        FillLibrary(library);
        CStopwatch save;
        if (!database.Save())
            return false;
        printf("save of %d albums with %d tracks: %.2f s\n", kAlbums, kAlbums * kTracksPerAlbum, save.Seconds());
    }
    printf("a track record takes %u bytes, an album record %u, before their texts\n",
           static_cast<unsigned>(sizeof(TrackRecord)), static_cast<unsigned>(sizeof(AlbumRecord)));
    CMusicLibrary library;
    library.SetLibraryPath(path);
    CLibraryDatabase database(library);
    library.SetLoader(&database);
    Load(path, library, database);

    double best = 0;
    for (int round = 0; round < kLoadRounds; round++) {
        AlbumRecord album = library.NewAlbum();
        library.GetAlbumAt(kAlbums / 2 + round, album);
        album.SetTitle(kAlbumIndex, "A changed title");
        library.StoreAlbum(album);
        CStopwatch one;
        if (!database.Save())
            return false;
        best = round == 0 || one.Seconds() < best ? one.Seconds() : best;
    }
    printf("save of one changed album (best of %d): %.1f ms\n", kLoadRounds, best * 1000);
    DeleteFileA(path);
    return !givenLibrary || LoadGivenFile(givenLibrary, folder);
}

}

int main(int argc, char** argv)
{
    if (argc < 2) {
        printf("usage: %s provider-dll [library-file] (Unix paths)\n", argv[0]);
        return 2;
    }
    try {
        return Run(argv[1], argc > 2 ? argv[2] : nullptr) ? 0 : 1;
    } catch (const _com_error& error) {
        printf("%s\n", static_cast<const char*>(FormatComError("database error", error)));
        return 1;
    }
}
