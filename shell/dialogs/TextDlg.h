// Asks which disc memo transfer to run between the library and the changers.
#pragma once

#include "shell/dialogs/ChoiceDlg.h"
#include "shell/dialogs/TextDlgResources.h"

class CTextDlg : public CChoiceDlg
{
public:
    enum { kUploadAll = 0, kUploadSelected = 1, kDownloadAll = 2, kDownloadSelected = 3 };

    explicit CTextDlg(CWnd* parent = NULL);
};
