#include "shell/options/FilesPage.h"
#include "shell/options/OptionsResources.h"

#include <afxdlgs.h>

const CFilesPage::Field CFilesPage::kFields[] = {
    { IDC_FILES_PLAYLISTS, &CPage9::m_playlistDirectory, "Choose Playlist Directory", nullptr },
    { IDC_FILES_COVERS, &CPage9::m_imageDirectory, "Choose Album Cover Directory", nullptr },
    { IDC_FILES_DEVICE_FILES, &CPage9::m_deviceFileDirectory, "Choose Device File Directory", nullptr },
    { IDC_FILES_LIBRARY, &CPage9::m_newDbPath, nullptr, "Database Library {*.mdb;}|*.mdb;||" },
    { IDC_FILES_DEFAULT_IMAGE, &CPage9::m_defaultImage, nullptr,
      "All Images {*.bmp;*.jpg;*.jpeg;*.jpe;*.gif;*.png}|*.bmp;*.jpg;*.jpeg;*.jpe;*.gif;*.png|Bitmaps "
      "{*.bmp}|*.bmp|JPEGs {*.jpg;*.jpeg;*.jpe}|*.jpg;*.jpeg;*.jpe|GIFs {*.gif}|*.gif|PNGs {*.png}|*.png||" },
    { IDC_FILES_MUSIC_FILES, &CPage9::m_musicFileDirectory, "Choose Music File Directory", nullptr },
};

BEGIN_MESSAGE_MAP(CFilesPage, COptionsPage)
    ON_CONTROL_RANGE(BN_CLICKED, IDC_FILES_PLAYLISTS + 1, IDC_FILES_MUSIC_FILES + 1, OnBrowse)
END_MESSAGE_MAP()

CFilesPage::CFilesPage(CPage9& values, COptionsHost& host) : COptionsPage(IDD_OPTIONS_FILES, host), m_values(values)
{
}

void CFilesPage::DoDataExchange(CDataExchange* pDX)
{
    COptionsPage::DoDataExchange(pDX);
    for (const Field& field : kFields)
        DDX_Text(pDX, field.id, m_values.*field.value);
}

// The range holds the edits too; only a "..." button browses.
void CFilesPage::OnBrowse(UINT id)
{
    for (const Field& field : kFields)
    {
        if (static_cast<UINT>(field.id + 1) != id)
            continue;
        CString current;
        GetDlgItemText(field.id, current);
        CString chosen;
        if (field.folderTitle)
        {
            CFolderDialog chooser(field.folderTitle, current, this);
            if (chooser.DoModal() == IDOK)
                chosen = chooser.GetFolderPath();
        }
        else
        {
            CFileDialog chooser(TRUE, NULL, current, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, field.fileFilter, this);
            if (chooser.DoModal() == IDOK)
                chosen = chooser.GetPathName();
        }
        if (!chosen.IsEmpty())
            SetDlgItemText(field.id, chosen);
        return;
    }
}
