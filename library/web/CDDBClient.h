// The disc-database client: identifies an album in the CDDB disc database,
// over HTTP (the CDDB protocol through an HTTP gateway, with a server list and
// fallback) or through the disc-database control, and runs every HTTP request
// of the program on a request thread of its own.
#pragma once

#include "platform/cddbcontrol/CddbControlApi.h"
#include "library/keywords/MasterKeyword.h"
#include "library/records/AlbumRecord.h"
#include "library/records/LibraryHost.h"
#include "library/records/TaskSink.h"

#include <afx.h>
#include <afxinet.h>

#include <vector>

struct CDDBSite
{
    CString m_strHost;
    CString m_strProtocol;
    CString m_strPort;
    CString m_strPath;
    CString m_strLatitude;
    CString m_strLongitude;
    CString m_strDescription;
};

class CCDDBClient;

// What the client needs of the program's windows: the document's e-mail
// check and the two choosers. A choice is an index, or -1 on cancel.
class CCDDBUser
{
public:
    virtual ~CCDDBUser() {}
    virtual void EnsureUserEmail(CCDDBClient& client) = 0;
    virtual int ChooseMatch(CCDDBClient& client, AlbumRecord& album) = 0;
    virtual int ChooseServer(CCDDBClient& client) = 0;
};

// CDDB reply codes.
enum
{
    kCddbOk = 200,
    kCddbNoMatch = 202,
    kCddbEntryFollows = 210,
    kCddbInexactMatches = 211,
    kCddbRequestLimit = 417,
};

class CCDDBClient
{
public:
    static const char* const kDefaultHost;
    static const char kGatewayPath[];

    CCDDBClient();
    ~CCDDBClient();
    CCDDBClient(const CCDDBClient&) = delete;
    CCDDBClient& operator=(const CCDDBClient&) = delete;

    bool LookupDisc(AlbumRecord& album);
    CString LookupWithHttp(AlbumRecord& album, CString& category);
    CString SendCommand(const CDDBSite& server, const char* command, CTaskSink* taskMgr);
    bool QuerySites();
    bool NextServer();
    bool ChooseServer();
    static CString EscapeUrl(const char* text);
    CString RunHttpRequest(const char* host, const char* object, CTaskSink* taskMgr,
                           BOOL showErrors, BOOL reserved, int verb, const char* postData,
                           const char* outputPath, const char* agent);
    void SetProxy(int useProxy, const char* name, const char* port, const char* userName,
                  const char* password);
    // The server named by the option "CDDB Server", on the gateway's path.
    void SetCurrentServerHost(const char* host);

    bool CreateControl();
    bool ShowServiceRegistration();
    bool LookupWithControl(AlbumRecord& album, bool openEditor);

    static bool IsValidEmail(const char* email);
    static int ParseReplyCode(CString& reply, CString& line);
    static bool ParseMatchLine(CString& text, CString& category, CString& discId,
                               CString& title);
    static CString CutAtTerminator(const CString& body);
    static CDDBSite ParseSiteLine(const char* line);

    CTaskSink* m_pTaskMgr; // not owned
    std::vector<CString> m_matches;
    std::vector<CDDBSite> m_sites;
    UINT m_nSiteIndex;
    CString m_strUserEmail;
    CDDBSite m_defaultServer;
    CDDBSite m_currentServer;
    BOOL m_bUseInternet;
    BOOL m_bUseControl;
    BOOL m_bAsk;
    BOOL m_bServerError;
    CString m_strStatus;
    BYTE m_bUseProxy;
    ICddbControl* m_pControl;
    ICddbGenres* m_pGenres;
    CString m_strProxyHost;
    CString m_strProxyPort;
    CString m_strProxyUser;
    CString m_strProxyPassword;

    CCDDBUser* m_pUser;            // the document's side; may be null
    CLibraryHost* m_pHost;         // registers request threads with the crash link
    CMasterKeyword* m_pKeywords;   // the document's keywords; null without a document

private:
    enum MatchKind { kExact, kInexact };

    void SetStatus(int taskId, const char* text);
    void ShowServerError(const CString& line);
    CString QueryAndRead(AlbumRecord& album, const CString& query, CString& category,
                         int taskId);
    CString Read(const CString& category, const CString& discId, MatchKind kind,
                 AlbumRecord& album, int taskId, bool& retry);
    bool PickMatch(AlbumRecord& album, CString& line, int taskId);
    void AddKeywords(AlbumRecord& album, int index, const char* words);
    bool LookupControlDisc(AlbumRecord& album, bool openEditor);
    void CopyDisc(AlbumRecord& album, ICddbDisc* disc);
    CString GenreName(long id);
};
