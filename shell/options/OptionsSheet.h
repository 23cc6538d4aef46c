// The options sheet: the nine pages over the option values of CZymOptions,
// without an Apply button. OK on the first page makes the document apply the
// options (WM_USER+5 to the main window); OK or Cancel keeps the page the
// user left, so that the next showing starts there.
#pragma once

#include "shell/options/AppearancePage.h"
#include "shell/options/CddbPage.h"
#include "shell/options/DevicesPage.h"
#include "shell/options/FilesPage.h"
#include "shell/options/LibraryPage.h"
#include "shell/options/MapsPage.h"
#include "shell/options/PlayersPage.h"
#include "shell/options/PlaylistsPage.h"
#include "shell/options/TavlinPage.h"

class COptionsSheet : public CPropertySheet
{
public:
    enum { kPageCount = 9 };

    COptionsSheet(CZymOptions& options, COptionsHost& host, const char* title, CWnd* parent = NULL);

    INT_PTR DoModal() override;

    CCddbPage m_cddbPage;
    CLibraryPage m_libraryPage;
    CPlaylistsPage m_playlistsPage;
    CTavlinPage m_tavlinPage;
    CPlayersPage m_playersPage;
    CDevicesPage m_devicesPage;
    CMapsPage m_mapsPage;
    CAppearancePage m_appearancePage;
    CFilesPage m_filesPage;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CZymOptions& m_options;
};

// Runs the sheet modally over the options, as "&View/&Options..." does;
// IDOK or IDCANCEL. Cancel puts back the values the pages had changed,
// except the device list, whose changes took effect on the document at once.
INT_PTR RunOptionsSheet(CZymOptions& options, COptionsHost& host, const char* title, CWnd* parent = NULL);
