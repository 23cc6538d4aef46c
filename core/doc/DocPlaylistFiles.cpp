#include "core/doc/DocPlaylistFiles.h"

#include "core/doc/DocResource.h"
#include "core/doc/LibraryDocument.h"
#include "core/doc/ZymOptions.h"

#include "library/paths/FilePath.h"
#include "library/playlist/PlayList.h"
#include "library/views/ViewsHost.h"

#include <afxdlgs.h>

namespace {

const char kExtension[] = "pla";
const char kFilter[] = "*.pla|*.pla||";
const DWORD kFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;

} // namespace

BEGIN_MESSAGE_MAP(CDocPlaylistFiles, CCmdTarget)
    ON_COMMAND(ID_PLAYLIST_OPEN, OnPlaylistOpen)
    ON_COMMAND(ID_PLAYLIST_SAVE, OnPlaylistSave)
    ON_COMMAND(ID_PLAYLIST_SAVE_AS, OnPlaylistSaveAs)
    ON_UPDATE_COMMAND_UI(ID_PLAYLIST_SAVE, OnUpdatePlaylistSave)
    ON_UPDATE_COMMAND_UI(ID_PLAYLIST_SAVE_AS, OnUpdatePlaylistSaveAs)
END_MESSAGE_MAP()

CString CDocPlaylistFiles::GetPlaylistFolder()
{
    CDirPath folder(m_doc.GetProgramFolder());
    folder.Append(static_cast<const char*>(m_doc.GetOptions().m_page9.m_playlistDirectory));
    return folder.GetText().c_str();
}

CString CDocPlaylistFiles::GetPlaylistPath(const char* name)
{
    CFilePath path{ CDirPath(GetPlaylistFolder()) };
    path.Append(name);
    return path.GetFullPath();
}

BOOL CDocPlaylistFiles::OpenPlaylistFile(const char* name, int position)
{
    return m_doc.GetCurrentPlayList().LoadFromFile(GetPlaylistPath(name), position);
}

BOOL CDocPlaylistFiles::OpenSearchListFile(const char* name, int position)
{
    CPlayList& list = m_doc.GetSearchList();
    list.Clear();
    BOOL loaded = list.LoadFromFile(GetPlaylistPath(name), position);
    m_doc.UpdateViews(kViewHintSearchList);
    return loaded;
}

BOOL CDocPlaylistFiles::SavePlaylist(const char* path)
{
    return m_doc.GetCurrentPlayList().SaveToFile(path);
}

BOOL CDocPlaylistFiles::SaveSearchList(const char* path)
{
    return m_doc.GetSearchList().SaveToFile(path);
}

void CDocPlaylistFiles::OnPlaylistOpen()
{
    CString path = AskPath(TRUE, CString());
    if (!path.IsEmpty())
        OpenPlaylistFile(path, -1);
}

void CDocPlaylistFiles::OnPlaylistSaveAs()
{
    CString path = AskPath(FALSE, m_doc.GetCurrentPlayList().GetFileName());
    if (!path.IsEmpty())
        SavePlaylist(path);
}

void CDocPlaylistFiles::OnPlaylistSave()
{
    CPlayList& list = m_doc.GetCurrentPlayList();
    if (!list.GetFileName().IsEmpty())
        SavePlaylist(list.GetFileName());
}

void CDocPlaylistFiles::OnUpdatePlaylistSave(CCmdUI* cmdUI)
{
    CPlayList& list = m_doc.GetCurrentPlayList();
    cmdUI->Enable(!list.GetFileName().IsEmpty() && list.GetCount() > 0);
}

void CDocPlaylistFiles::OnUpdatePlaylistSaveAs(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_doc.GetCurrentPlayList().GetCount() > 0);
}

CString CDocPlaylistFiles::AskPath(BOOL open, const CString& fileName)
{
    CFilePath file;
    file.Append(static_cast<const char*>(fileName));
    CString name = file.GetName().GetText().c_str();
    CFileDialog dialog(open, kExtension, name.IsEmpty() ? nullptr : static_cast<const char*>(name), kFlags, kFilter,
                       AfxGetMainWnd());
    CString folder = GetPlaylistFolder();
    dialog.m_ofn.lpstrInitialDir = folder;
    return dialog.DoModal() == IDOK ? dialog.GetPathName() : CString();
}
