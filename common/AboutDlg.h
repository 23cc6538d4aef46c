// The About box every program builds from its own dialog template 100: the
// program file's version in a text control, and the links of controls 1001
// (the maker's web address) and 1002 (the mail address for reports) where the
// template has them.
#pragma once

#include <afxwin.h>

#include "common/HyperLink.h"

const UINT IDD_ABOUTBOX = 100;
// Where the version line goes: 1020 in the device server and the IR learner,
// 1130 in the jukebox.
const UINT IDC_ABOUT_VERSION = 1020;

class CAboutDlg : public CDialog
{
public:
    explicit CAboutDlg(CWnd* parent = nullptr, UINT versionId = IDC_ABOUT_VERSION);

    BOOL OnInitDialog() override;

    // The version of the program the About box describes: "FileVersion" of
    // the application's exe beside its help file, or "unknown".
    static CString ProgramVersion();

    CString m_version;

private:
    UINT m_versionId;
    CHyperLink m_webLink;
    CHyperLink m_mailLink;
};
