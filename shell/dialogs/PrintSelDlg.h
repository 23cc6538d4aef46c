// Asks what to print: the library, the search results or the play list.
#pragma once

#include "shell/dialogs/ChoiceDlg.h"
#include "shell/dialogs/PrintSelDlgResources.h"

class CPrintSelDlg : public CChoiceDlg
{
public:
    enum { kLibrary = 1, kSearchResults = 2, kPlaylist = 3 };

    explicit CPrintSelDlg(CWnd* parent = NULL);
};
