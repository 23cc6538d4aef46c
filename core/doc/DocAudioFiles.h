// Albums of the MP3 player made of audio files: a new empty album, and one
// file at a time added as a track with its tags and length as the audio
// analyser reads them.
#pragma once

#include <afxwin.h>

class CLibItem;
class CLibraryDocument;
class TrackRecord;
struct ANALYZER_INFO;

class CDocAudioFiles
{
public:
    explicit CDocAudioFiles(CLibraryDocument& doc) : m_doc(doc) {}

    // Adds the file as a new track of the entry's album at position (clamped
    // to the album's ends). FALSE, with a message where the user should know
    // why, when the album is gone or is not an audio-file album.
    BOOL AddAudioFiles(CLibItem album, CString path, int position);
    // "Audio File Album", selected alone; views get hint 12.
    void OnCreateAudioFileAlbum();
    // The add-file dialog for the one selected audio-file album.
    void OnAddAudioFileToAlbum();
    void OnUpdateAddAudioFileToAlbum(CCmdUI* cmdUI);

private:
    // Tags and length into info; an error box when both reads fail.
    void Analyse(const CString& path, ANALYZER_INFO& info);
    TrackRecord MakeTrack(const CString& path, const ANALYZER_INFO& info);

    CLibraryDocument& m_doc;
};

// A tag's year as a full year: 15..99 the 1900s, 1..14 the 2000s, others as
// read ("2001-05-03" reads 2001); 0 when it gives no year after 1800.
int TagYear(const char* text);
// The track length of a playing time in milliseconds; 0 gives 0:00 and one frame.
void SetTrackLength(TrackRecord& track, unsigned milliseconds);
