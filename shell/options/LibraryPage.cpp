#include "shell/options/LibraryPage.h"
#include "shell/options/ChoiceExchange.h"
#include "shell/options/OptionsResources.h"

namespace {

// "Double Click Play Option" 0 to 2.
const char* const kDoubleClickChoices[] = {
    "to end of playlist.",
    "after current playing item in playlist.",
    "after current playing item in playlist and starts playing it.",
};

} // namespace

CLibraryPage::CLibraryPage(CPage2& values, COptionsHost& host)
    : COptionsPage(IDD_OPTIONS_LIBRARY, host), m_values(values)
{
}

// The choices go in before the base shows the values.
BOOL CLibraryPage::OnInitDialog()
{
    SetChoices(this, IDC_LIB_DOUBLE_CLICK, kDoubleClickChoices);
    return COptionsPage::OnInitDialog();
}

void CLibraryPage::DoDataExchange(CDataExchange* pDX)
{
    COptionsPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_LIB_TRACK_PLAYERS, m_values.m_trackPlayers);
    DDX_Check(pDX, IDC_LIB_STRETCH_IMAGES, m_values.m_stretchImages);
    DDX_Check(pDX, IDC_LIB_KEEP_ASPECT, m_values.m_keepAspect);
    DDX_Check(pDX, IDC_LIB_AUTO_SAVE, m_values.m_autoSaveDb);
    DDX_Text(pDX, IDC_LIB_AUTO_SAVE_INTERVAL, m_values.m_autoSaveInterval);
    DDV_MinMaxInt(pDX, m_values.m_autoSaveInterval, 1, 60);
    DDX_Check(pDX, IDC_LIB_AUTO_SEARCH, m_values.m_autoSearchDiscs);
    DDX_Text(pDX, IDC_LIB_AUTO_SEARCH_INTERVAL, m_values.m_autoSearchInterval);
    DDV_MinMaxInt(pDX, m_values.m_autoSearchInterval, 0, 2000);
    DDX_Check(pDX, IDC_LIB_HIDE_DISCS, m_values.m_hideDiscs);
    DDX_Check(pDX, IDC_LIB_DISABLE_EDITING, m_values.m_disableEditing);
    DDX_KeptChoice(pDX, IDC_LIB_DOUBLE_CLICK, m_values.m_doubleClickPlayOption);
    DDX_Check(pDX, IDC_LIB_MAKE_IMAGE_COPY, m_values.m_makeImageCopy);
    DDX_Check(pDX, IDC_LIB_TRACK_PLAYTIME, m_values.m_trackPlaytime);
}
