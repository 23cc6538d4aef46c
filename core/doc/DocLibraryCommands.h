// The Library menu's upkeep commands (reload, save, compact, delete, select
// all, the disc database's editor), audio-file albums, the lyrics and cover
// commands, the hundred user buttons, and the offer to convert a library of
// the old text format.
#pragma once

#include "core/doc/DocAudioFiles.h"

#include <afxwin.h>

#include <vector>

class CLibItem;
class CPlaylistDocument;

class CDocLibraryCommands : public CCmdTarget
{
public:
    explicit CDocLibraryCommands(CPlaylistDocument& doc);

    CDocAudioFiles& GetAudioFiles() { return m_audioFiles; }

    // Stops and clears the playing list, then loads the library again.
    void OnLibraryReload();
    void OnLibrarySave();
    void OnUpdateLibrarySave(CCmdUI* cmdUI);
    void OnLibrarySaveAll() { SaveAll(); }
    // Every album is written; FALSE when the save failed.
    BOOL SaveAll();
    void OnLibraryCompact();
    // Asks for each selected album, and each selected track of an audio-file
    // album, whether to delete it; Cancel ends the questions.
    void OnLibraryDelete();
    void OnLibraryCddbInfo();
    // Writes the library's first album as a web page from the template
    // "disc.htm" of the current directory.
    void OnLibraryWebPages();
    void OnLibrarySelectAll();
    void OnCreateAudioFileAlbum();
    void OnAddAudioFileToAlbum();
    void OnGetLyrics();
    void OnSubmitLyrics();
    void OnGetCovers();
    void OnCoverBrowse();
    void OnCoverRemove();
    void OnUploadAllMemos();
    void OnUploadSelectedMemos();
    // Fires "user_button[NNN]", NNN from 001.
    void OnUserButton(UINT id);
    void OnUpdateAlwaysOn(CCmdUI* cmdUI);
    void OnUpdateWebPages(CCmdUI* cmdUI);
    void OnUpdateAddAudioFile(CCmdUI* cmdUI);

    // The disc search's first step: a user of the sample library is asked to
    // move to a library of their own, "user.mdb" beside it, made from the
    // template when missing. FALSE when the user would rather not, or the
    // new library could not be made (the sample stays in use).
    BOOL LeaveSampleLibrary();

    // From the tick: once a run, offers to convert a library of the old
    // format (not the sample) into a database beside it.
    void OfferLibraryUpgrade();
    // Saves the library into the new file and loads it from there; when the
    // save fails, the library stays as it was, on its old file.
    void ConvertOldLibrary();

protected:
    DECLARE_MESSAGE_MAP()

private:
    struct TrackDeletion;
    // The question for one selected entry; FALSE when the user cancelled.
    BOOL AskDelete(CLibItem& item, std::vector<TrackDeletion>& tracks);
    void DeleteTracks(std::vector<TrackDeletion>& tracks);

    CPlaylistDocument& m_doc;
    CDocAudioFiles m_audioFiles;
    bool m_upgradeOffered = false;
};
