// "Get Lyrics From The Web": whether fetched lyrics replace what an entry
// holds or follow it, whether only empty entries are fetched, and for which
// items. The caller may preset the scope; a preset whole disc cannot be
// narrowed to the selected track.
#pragma once

#include <afxwin.h>

class CLyricsDlg : public CDialog
{
public:
    // Scopes; none is chosen until the caller or the user picks one.
    enum { kNoScope = -1, kSelectedTrack = 0, kSelectedDisc = 1, kAllDiscs = 2 };

    explicit CLyricsDlg(CWnd* parent = NULL);

    BOOL m_deleteOld = FALSE;
    BOOL m_onlyEmpty = FALSE;
    int m_scope = kNoScope;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
};
