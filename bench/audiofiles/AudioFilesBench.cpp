// Adds 1,000 MP3 files of five minutes each (128 kbit/s, no Xing frame, so the
// analyser walks every frame) with ID3v2 tags to one audio-file album, the way
// the add-file dialog and the views do, and prints files per second. The files
// are hard links to one file the bench writes into a temporary folder of its
// own, removed with them at the end.
#include "tests/support/audio/AudioFiles.h"
#include "bench/support/BenchHost.h"
#include "tests/support/TempFolder.h"

#include "core/doc/DocCommandTargets.h"
#include "core/doc/ZymDoc.h"

#include <windows.h>

#include <stdio.h>

#include <string>

namespace {

const int kFiles = 1000;
const int kFiveMinutesOfFrames = 11485; // 1152 samples at 44.1 kHz each: 300.02 s
const char kRegistryKey[] = "ZymAudioFilesBench";

bool WriteBytes(const std::string& path, const Bytes& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string FileName(const CTempFolder& folder, int index)
{
    return folder.WindowsPath(("Track_" + std::to_string(index) + ".mp3").c_str());
}

} // namespace

int main()
{
    CBenchApp app(kRegistryKey);
    CTempFolder folder("audiofilesbench");
    if (!folder.IsValid())
    {
        fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    Bytes file = Concat({ Id3v2Tag(3, { { "TIT2", 0, "Five Minutes" }, { "TPE1", 0, "Bench" }, { "TYER", 0, "99" } }),
                          Layer3Frames(kFiveMinutesOfFrames) });
    int made = 0;
    if (WriteBytes(FileName(folder, 0), file))
    {
        for (made = 1; made < kFiles; ++made)
        {
            if (!CreateHardLinkA(FileName(folder, made).c_str(), FileName(folder, 0).c_str(), nullptr))
                break;
        }
    }

    CBenchFrame frame;
    CZymDoc* doc = &frame.OpenDocument();
    doc->RunStartup();
    CDocLibraryCommands& library = doc->GetCommandTargets().library;
    library.OnCreateAudioFileAlbum();
    CLibItem album = doc->GetSelectionList().GetItem(0);

    int added = 0;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < made; ++i)
        added += library.GetAudioFiles().AddAudioFiles(album, FileName(folder, i).c_str(), i) ? 1 : 0;
    QueryPerformanceCounter(&end);
    double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);

    AlbumRecord record;
    album.GetAlbumCopy(doc->GetMusicLibrary(), record);
    printf("%d files of %u bytes (%s), %d added, last length %s\n", made, static_cast<unsigned>(file.size()),
           doc->GetAnalyzer() ? "analysed" : "no analyser", added,
           static_cast<const char*>(record.GetPlayTimeText(record.GetTrackCount() - 1)));
    printf("%-40s %10.1f files/s\n", "adding five-minute MP3 files", seconds > 0 ? added / seconds : 0.0);

    frame.CloseDocument();
    return added == kFiles ? 0 : 1;
}
