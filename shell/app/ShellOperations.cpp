#include "ShellOperations.h"

BOOL CShellOperations::OpenPlaylistFile(const char* path)
{
    if (!m_pDoc || !m_pDoc->GetPlayList() || !m_pDoc->GetPlayList()->LoadFromFile(path, -1))
        return FALSE;
    m_pDoc->UpdateAllViews(nullptr, kHintPlaylist);
    return TRUE;
}

// The library upgrade, the title, the disc search and the scheduler's end
// action are the document's commands, which the shell does not carry yet.
void CShellOperations::OfferLibraryUpgrade()
{
}

void CShellOperations::UpdateTitle()
{
}

void CShellOperations::SearchDiscs()
{
}

void CShellOperations::RunTimedAction()
{
}
