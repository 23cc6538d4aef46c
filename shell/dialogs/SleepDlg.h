// Tells that the program sleeps after a timed shutdown: OK wakes it, Cancel
// ends it. The modal result is all the caller reads.
#pragma once

#include <afxwin.h>

#include "shell/dialogs/SleepDlgResources.h"

class CSleepDlg : public CDialog
{
public:
    explicit CSleepDlg(CWnd* parent = NULL) : CDialog(IDD_SLEEP, parent) {}
};
