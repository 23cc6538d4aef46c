// The disc-database client's dialogs, and the program side of the client
// that shows them.
#pragma once

#include "library/web/CDDBClient.h"

#include <afxwin.h>

// Picks one line of the client's match list; the choice is -1 on cancel.
class CCDDBMatchDlg : public CDialog
{
public:
    CCDDBMatchDlg(CCDDBClient* client, AlbumRecord* album, CWnd* parent = NULL);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    CCDDBClient* m_pClient;
    AlbumRecord* m_pAlbum;
    int m_nChoice;
};

// Picks one site of the client's site list; the choice is -1 on cancel.
class CCDDBServerDlg : public CDialog
{
public:
    explicit CCDDBServerDlg(CCDDBClient* client, CWnd* parent = NULL);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    CCDDBClient* m_pClient;
    int m_nChoice;

private:
    HWND List() const;
};

// Asks for the user's e-mail address; OK only with a valid one.
class CEmailDlg : public CDialog
{
public:
    explicit CEmailDlg(CWnd* parent = NULL);

    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    CString m_strEmail;
};

// What the client asks of the program's windows, answered with the dialogs.
class CCDDBDialogs : public CCDDBUser
{
public:
    // Unless the look-ups go through the control, makes sure the option
    // "User Email" holds a valid address, asking for one when it does not.
    void EnsureUserEmail(CCDDBClient& client) override;
    int ChooseMatch(CCDDBClient& client, AlbumRecord& album) override;
    int ChooseServer(CCDDBClient& client) override;
};
