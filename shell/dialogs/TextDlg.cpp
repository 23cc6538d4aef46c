#include "shell/dialogs/TextDlg.h"

namespace {
const ChoiceButton kButtons[] = {
    {IDC_TEXT_UPLOAD_ALL, CTextDlg::kUploadAll},
    {IDC_TEXT_UPLOAD_SELECTED, CTextDlg::kUploadSelected},
    {IDC_TEXT_DOWNLOAD_ALL, CTextDlg::kDownloadAll},
    {IDC_TEXT_DOWNLOAD_SELECTED, CTextDlg::kDownloadSelected},
    {0, 0},
};
} // namespace

CTextDlg::CTextDlg(CWnd* parent) : CChoiceDlg(IDD_TEXT, kButtons, parent) {}
