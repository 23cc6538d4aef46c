// Play-list files ("*.pla") of the current play list and the search list.
// Names are taken in the play-list folder: the program folder joined with the
// option "Playlist Directory" (a folder without a drive is on the program's
// drive). A relative name stays below that folder, a full path as it is; a
// name with a character no path may hold resolves to nothing.
#pragma once

#include <afxwin.h>

class CLibraryDocument;
class CPlayList;

class CDocPlaylistFiles : public CCmdTarget
{
public:
    explicit CDocPlaylistFiles(CLibraryDocument& doc) : m_doc(doc) {}

    CString GetPlaylistFolder();
    // The one resolver of play-list names, also for the command language.
    CString GetPlaylistPath(const char* name);

    // Inserts the file's entries at position (-1 at the end); the list's
    // error box tells why when it fails.
    BOOL OpenPlaylistFile(const char* name, int position);
    // Replaces the search list by the file's entries; views get hint 8.
    BOOL OpenSearchListFile(const char* name, int position);
    BOOL SavePlaylist(const char* path);
    BOOL SaveSearchList(const char* path);

    void OnPlaylistOpen();
    void OnPlaylistSaveAs();
    void OnPlaylistSave();
    void OnUpdatePlaylistSave(CCmdUI* cmdUI);
    void OnUpdatePlaylistSaveAs(CCmdUI* cmdUI);

protected:
    DECLARE_MESSAGE_MAP()

private:
    // The chosen path, empty when the user cancelled.
    CString AskPath(BOOL open, const CString& fileName);

    CLibraryDocument& m_doc;
};
