#include "shell/dialogs/PrintSelDlg.h"

namespace {
const ChoiceButton kButtons[] = {
    {IDC_PRINT_LIBRARY, CPrintSelDlg::kLibrary},
    {IDC_PRINT_SEARCH, CPrintSelDlg::kSearchResults},
    {IDC_PRINT_PLAYLIST, CPrintSelDlg::kPlaylist},
    {0, 0},
};
} // namespace

CPrintSelDlg::CPrintSelDlg(CWnd* parent) : CChoiceDlg(IDD_PRINT_SEL, kButtons, parent) {}
