// TkNewToolBar: asks for the name of a new tool bar. OK is enabled only while
// a name is entered; names are cut to the longest a bar keeps.
#pragma once

#include <afxwin.h>

const UINT IDD_TK_NEW_TOOLBAR = 20511;
const UINT IDC_TK_NEW_NAME = 43096;

class TkNewToolBar : public CDialog
{
public:
    explicit TkNewToolBar(CWnd* parent = NULL);

    BOOL OnInitDialog() override;

    CString m_strName;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnNameChange();
    DECLARE_MESSAGE_MAP()
};
