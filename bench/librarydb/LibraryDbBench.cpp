// Saves a library of 10,000 albums with 150,000 tracks to a new library file,
// loads it back, then saves one changed album, and prints the time of each.
#include <afxwin.h>
#include <stdio.h>

#include "JetRegistration.h"
#include "db/LibraryDatabase.h"
#include "db/ODBError.h"

namespace {

const int kAlbums = 10000;
const int kTracksPerAlbum = 15;

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

bool Run(const char* dll)
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
    CMusicLibrary library;
    library.SetLibraryPath(path);
    CLibraryDatabase database(library);
    library.SetLoader(&database);
    CStopwatch load;
    library.RunLoad();
    printf("load of %d albums: %.2f s\n", library.GetAlbumCount(), load.Seconds());

    AlbumRecord album = library.NewAlbum();
    library.GetAlbumAt(kAlbums / 2, album);
    album.SetTitle(kAlbumIndex, "A changed title");
    library.StoreAlbum(album);
    CStopwatch one;
    if (!database.Save())
        return false;
    printf("save of one changed album: %.1f ms\n", one.Seconds() * 1000);
    DeleteFileA(path);
    return true;
}

}

int main(int argc, char** argv)
{
    if (argc < 2) {
        printf("usage: %s provider-dll (Unix path)\n", argv[0]);
        return 2;
    }
    try {
        return Run(argv[1]) ? 0 : 1;
    } catch (const _com_error& error) {
        printf("%s\n", static_cast<const char*>(FormatComError("database error", error)));
        return 1;
    }
}
