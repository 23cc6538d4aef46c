// Play-list files ("*.pla") of the current play list and the search list. A
// name without a folder is taken in the play-list folder: the program folder
// joined with the option "Playlist Directory"; a full path stays as it is.
#pragma once

#include <afxwin.h>

class CPlayList;
class CZymDoc;

class CDocPlaylistFiles : public CCmdTarget
{
public:
    explicit CDocPlaylistFiles(CZymDoc& doc) : m_doc(doc) {}

    CString GetPlaylistFolder();
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

    CZymDoc& m_doc;
};
