// The options sheet: the nine pages over the option values of CZymOptions,
// without an Apply button. OK on the first page makes the document apply the
// options (WM_USER+5 to the main window); OK or Cancel keeps the page the
// user left, so that the next showing starts there.
#pragma once

#include "AppearancePage.h"
#include "CddbPage.h"
#include "DevicesPage.h"
#include "FilesPage.h"
#include "LibraryPage.h"
#include "MapsPage.h"
#include "PlayersPage.h"
#include "PlaylistsPage.h"
#include "TavlinPage.h"

class COptionsSheet : public CPropertySheet
{
public:
    enum { kPageCount = 9 };

    COptionsSheet(CZymOptions& options, COptionsHost& host, const char* title, CWnd* parent = NULL);

    // The index of the page made from a dialog template, -1 for none.
    static int PageIndexOf(UINT templateId);
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
