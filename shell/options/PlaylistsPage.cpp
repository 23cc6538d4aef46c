#include "shell/options/PlaylistsPage.h"
#include "shell/options/OptionsResources.h"

CPlaylistsPage::CPlaylistsPage(CPage3& values, COptionsHost& host)
    : COptionsPage(IDD_OPTIONS_PLAYLISTS, host), m_values(values)
{
}

void CPlaylistsPage::DoDataExchange(CDataExchange* pDX)
{
    COptionsPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_PL_ALTERNATE, m_values.m_alternatePlayers);
    DDX_Text(pDX, IDC_PL_FILL_SIZE, m_values.m_playlistFillSize);
    DDV_MinMaxInt(pDX, m_values.m_playlistFillSize, 0, kMaxKeptItems);
    DDX_Text(pDX, IDC_PL_TAIL_SIZE, m_values.m_playlistTailSize);
    DDV_MinMaxInt(pDX, m_values.m_playlistTailSize, 0, kMaxKeptItems);
    DDX_Text(pDX, IDC_PL_MINIMUM_TIME, m_values.m_minimumTrackTime);
    DDV_MinMaxInt(pDX, m_values.m_minimumTrackTime, 0, 1000);
    DDX_Check(pDX, IDC_PL_SAVE_RESTORE, m_values.m_playlistSaveAndRestore);
}
