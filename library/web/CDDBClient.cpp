#include "library/web/CDDBClient.h"

#include "library/web/DiscEntry.h"
#include "library/web/HTTPThread.h"

#include "devices/util/MessageWaits.h"

#include <afxwin.h>

#include <cstdio>
#include <cstring>

const char* const CCDDBClient::kDefaultHost = kCddbDefaultHost;
const char CCDDBClient::kGatewayPath[] = "/~cddb/cddb.cgi";

namespace {

const DWORD kPumpPauseMs = 100;
const int kMinMatchLine = 11;  // shorter lines end a match list (the "." line)
const int kMinSiteLine = 11;
const char kServerError[] = "\n\nCDDB Server Error. Try a different server.\n"
                            "(Could be a problem with your Internet connection)";
const char kRequestLimit[] =
    "CDDB Server Error. Request limit exceeded on all available servers.";
const char kNoEmail[] =
    "A valid e-mail address needs to be entered before using a CDDB server. Please enter "
    "one in the View->Options->CDDB property sheet.";

CDDBSite GatewaySite(const char* host)
{
    CDDBSite site;
    site.m_strHost = host;
    site.m_strProtocol = "http";
    site.m_strPort = "80";
    site.m_strPath = CCDDBClient::kGatewayPath;
    return site;
}

// Cuts text at the first separator: gives what is before it and keeps what
// is after it (all of it, and nothing left, when there is no separator).
CString CutAt(CString& text, char separator)
{
    int at = text.Find(separator);
    CString head = at < 0 ? text : text.Left(at);
    text = at < 0 ? CString() : text.Mid(at + 1);
    return head;
}

// The first line, without its line end.
CString CutLine(CString& text)
{
    CString line = CutAt(text, '\n');
    line.TrimRight("\r");
    return line;
}

// The field before the first blank; the blanks after it go too.
CString CutField(CString& text)
{
    CString field = CutAt(text, ' ');
    text.TrimLeft(' ');
    return field;
}

} // namespace

CCDDBClient::CCDDBClient()
    : m_pTaskMgr(nullptr), m_nSiteIndex(0), m_defaultServer(GatewaySite(kDefaultHost)),
      m_currentServer(GatewaySite(kDefaultHost)), m_bUseInternet(TRUE), m_bUseControl(FALSE),
      m_bAsk(FALSE), m_bServerError(FALSE), m_bUseProxy(0), m_pControl(nullptr),
      m_pGenres(nullptr), m_pUser(nullptr), m_pHost(nullptr), m_pKeywords(nullptr)
{
}

void CCDDBClient::SetCurrentServerHost(const char* host)
{
    m_currentServer = GatewaySite(host);
}

bool CCDDBClient::IsValidEmail(const char* email)
{
    const char* at = strchr(email, '@');
    return at && at != email && at[1] != '\0';
}

void CCDDBClient::SetStatus(int taskId, const char* text)
{
    m_strStatus = text;
    if (m_pTaskMgr)
        m_pTaskMgr->SetTaskStatus(taskId, text);
}

void CCDDBClient::ShowServerError(const CString& line)
{
    m_bServerError = TRUE;
    AfxMessageBox(line + kServerError, MB_OK);
}

// ---- the look-up ----

bool CCDDBClient::LookupDisc(AlbumRecord& album)
{
    if (m_bUseControl)
        return LookupWithControl(album, false);
    DWORD oldCddbId = album.GetCddbId();
    CString category;
    CString entry = LookupWithHttp(album, category);
    if (entry.IsEmpty())
        return false;
    if (!ParseDiscEntry(album, entry)) {
        album.SetCddbId(oldCddbId);
        return false;
    }
    category.MakeLower();
    AddKeywords(album, kAlbumIndex, category);
    return true;
}

void CCDDBClient::AddKeywords(AlbumRecord& album, int index, const char* words)
{
    if (!m_pKeywords || !*words)
        return;
    CKeywordList list = album.GetKeywordList(index);
    m_pKeywords->AddKeywordsFromText(list, words);
    album.SetKeywordList(index, list, true);
}

CString CCDDBClient::LookupWithHttp(AlbumRecord& album, CString& category)
{
    int taskId = m_pTaskMgr ? m_pTaskMgr->CreateTask("CDDBLookup", nullptr, 0) : 0;
    SetStatus(taskId, "Query");
    m_bServerError = FALSE;

    CString entry;
    int tracks = album.GetTrackCount();
    const TrackRecord* own = album.GetRecord(kAlbumIndex);
    if (tracks > 0 && own) {
        CString query;
        query.Format("cddb+query+%08x+%d", (unsigned)album.ComputeCddbId(), tracks);
        int leadIn = own->GetFrames();
        for (int i = 0; i < tracks; i++)
            leadIn -= album.GetRecord(i)->GetFrames();
        if (leadIn < 0) {
            AfxMessageBox("The track timing information of the disc '" +
                              album.GetTitle(kAlbumIndex) +
                              "' does not agree its total playing time. You should try "
                              "deleting this disc and searching for it again to obtain "
                              "the correct disc timing.",
                          MB_OK);
        } else {
            CString step;
            int offset = leadIn;
            step.Format("+%d", offset);
            query += step;
            for (int i = 0; i + 1 < tracks; i++) {
                offset += album.GetRecord(i)->GetFrames();
                step.Format("+%d", offset);
                query += step;
            }
            step.Format("+%d", own->GetSeconds());
            query += step;
            entry = QueryAndRead(album, query, category, taskId);
        }
    }
    if (m_pTaskMgr)
        m_pTaskMgr->EndTask(taskId);
    return entry;
}

CString CCDDBClient::QueryAndRead(AlbumRecord& album, const CString& query, CString& category,
                                  int taskId)
{
    for (;;) {
        CString reply = SendCommand(m_currentServer, query, m_pTaskMgr);
        CString line;
        int code = ParseReplyCode(reply, line);
        CString discId, title;
        MatchKind kind = kExact;
        if (code == kCddbOk) {
            if (!ParseMatchLine(line, category, discId, title)) {
                ShowServerError(line);
                return CString();
            }
            SetStatus(taskId, "Exact Match");
        } else if (code == kCddbInexactMatches) {
            m_matches.clear();
            while (reply.Find('\n') >= 0) {
                CString match = CutLine(reply);
                if (match.GetLength() < kMinMatchLine)
                    break;
                m_matches.push_back(match);
            }
            CString chosen;
            if (!PickMatch(album, chosen, taskId) ||
                !ParseMatchLine(chosen, category, discId, title))
                return CString();
            kind = kInexact;
        } else if (code == kCddbNoMatch) {
            return CString();
        } else if (code == kCddbRequestLimit) {
            if (NextServer())
                continue;
            m_bServerError = TRUE;
            AfxMessageBox(kRequestLimit, MB_OK);
            return CString();
        } else {
            ShowServerError(line);
            return CString();
        }
        bool retry = false;
        CString entry = Read(category, discId, kind, album, taskId, retry);
        if (!retry)
            return entry;
    }
}

bool CCDDBClient::PickMatch(AlbumRecord& album, CString& line, int taskId)
{
    if (m_matches.empty())
        return false;
    if (m_matches.size() == 1 || !m_bAsk) {
        line = m_matches[0];
        SetStatus(taskId, "Inexact Match");
        return true;
    }
    int choice = m_pUser ? m_pUser->ChooseMatch(*this, album) : -1;
    if (choice < 0 || choice >= (int)m_matches.size())
        return false;
    line = m_matches[choice];
    SetStatus(taskId, "Selected Match");
    return true;
}

CString CCDDBClient::Read(const CString& category, const CString& discId, MatchKind kind,
                         AlbumRecord& album, int taskId, bool& retry)
{
    SetStatus(taskId, m_strStatus);
    CString reply = SendCommand(m_currentServer, "cddb+read+" + category + "+" + discId,
                                m_pTaskMgr);
    CString line;
    int code = ParseReplyCode(reply, line);
    if (code == kCddbRequestLimit && kind == kInexact) {
        if (NextServer()) {
            retry = true;
        } else {
            m_bServerError = TRUE;
            AfxMessageBox(kRequestLimit, MB_OK);
        }
        return CString();
    }
    // A reply cut short (a dropped connection, a body past the request's
    // buffer) lacks the terminating "." line: it is no entry.
    if (code != kCddbEntryFollows || reply.Find("\n.") < 0)
        return CString();
    unsigned id = 0;
    if (sscanf(discId, "%x", &id) == 1)
        album.SetCddbId(id);
    return CutAtTerminator(reply);
}

// ---- the protocol ----

CString CCDDBClient::SendCommand(const CDDBSite& server, const char* command,
                                 CTaskSink* taskMgr)
{
    if (m_pUser)
        m_pUser->EnsureUserEmail(*this);
    if (!IsValidEmail(m_strUserEmail)) {
        AfxMessageBox(kNoEmail, MB_OK);
        return CString();
    }
    int at = m_strUserEmail.Find('@');
    // The hello words are separated by "+": each part goes form-escaped.
    CString object = server.m_strPath + "?cmd=" + command + "&hello=" +
                     EscapeUrl(m_strUserEmail.Left(at)) + "+" +
                     EscapeUrl(m_strUserEmail.Mid(at + 1)) + "+zym+1.0&proto=3";
    return RunHttpRequest(server.m_strHost, object, taskMgr, TRUE, FALSE, HTTP_VERB_GET, "", "",
                          "");
}

int CCDDBClient::ParseReplyCode(CString& reply, CString& line)
{
    CString first = CutLine(reply);
    line = first.GetLength() > 3 ? first.Mid(3) : CString();
    int code = 0;
    // Three digits at most: a longer number is no reply code.
    for (int i = 0; i < first.GetLength() && i < 4 && first[i] >= '0' && first[i] <= '9'; i++)
        code = code * 10 + (first[i] - '0');
    return code;
}

bool CCDDBClient::ParseMatchLine(CString& text, CString& category, CString& discId,
                                 CString& title)
{
    CString line = CutLine(text);
    line.TrimLeft();
    int blank = line.Find(' ');
    if (blank < 0)
        return false;
    category = line.Left(blank);
    line = line.Mid(blank + 1);
    line.TrimLeft();
    blank = line.Find(' ');
    if (blank < 0)
        return false;
    discId = line.Left(blank);
    title = line.Mid(blank + 1);
    title.TrimLeft();
    title.TrimRight();
    return true;
}

CString CCDDBClient::CutAtTerminator(const CString& body)
{
    int end = body.Find("\n.");
    return end < 0 ? body : body.Left(end);
}

// ---- servers ----

bool CCDDBClient::QuerySites()
{
    m_strStatus = "Query";
    CString reply = SendCommand(m_defaultServer, "sites", m_pTaskMgr);
    CString line;
    if (ParseReplyCode(reply, line) != kCddbEntryFollows) {
        ShowServerError(line);
        return false;
    }
    m_sites.clear();
    while (!reply.IsEmpty()) {
        CString site = CutLine(reply);
        if (site.GetLength() >= kMinSiteLine && site.Find("http") >= 0)
            m_sites.push_back(ParseSiteLine(site));
    }
    return true;
}

CDDBSite CCDDBClient::ParseSiteLine(const char* line)
{
    CString rest(line);
    rest.TrimLeft(' ');
    CDDBSite site;
    site.m_strHost = CutField(rest);
    site.m_strProtocol = CutField(rest);
    site.m_strPort = CutField(rest);
    site.m_strPath = CutField(rest);
    site.m_strLatitude = CutField(rest);
    site.m_strLongitude = CutField(rest);
    rest.TrimLeft();
    rest.TrimRight();
    site.m_strDescription = rest;
    return site;
}

bool CCDDBClient::NextServer()
{
    if (m_sites.empty() && !QuerySites())
        return false;
    m_nSiteIndex++;
    if (m_nSiteIndex < m_sites.size()) {
        m_currentServer = m_sites[m_nSiteIndex];
        return true;
    }
    m_nSiteIndex = 0;
    return false;
}

bool CCDDBClient::ChooseServer()
{
    if (!QuerySites())
        return false;
    int choice = m_pUser ? m_pUser->ChooseServer(*this) : -1;
    if (choice < 0 || choice >= (int)m_sites.size())
        return false;
    m_currentServer = m_sites[choice];
    return true;
}

// ---- requests ----

CString CCDDBClient::EscapeUrl(const char* text)
{
    static const char kHex[] = "0123456789ABCDEF";
    CString out;
    for (const unsigned char* p = (const unsigned char*)text; *p; p++) {
        if (*p == ' ') {
            out += '+';
        } else if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') ||
                   (*p >= '0' && *p <= '9')) {
            out += (char)*p;
        } else {
            out += '%';
            out += kHex[*p >> 4];
            out += kHex[*p & 15];
        }
    }
    return out;
}

void CCDDBClient::SetProxy(int useProxy, const char* name, const char* port,
                           const char* userName, const char* password)
{
    m_bUseProxy = (BYTE)useProxy;
    CString host(name);
    int colon = host.Find(':');
    if (colon >= 0) {
        m_strProxyHost = host.Left(colon);
        m_strProxyPort = host.Mid(colon + 1);
    } else {
        m_strProxyHost = host;
        m_strProxyPort = port;
    }
    m_strProxyUser = userName;
    m_strProxyPassword = password;
}

CString CCDDBClient::RunHttpRequest(const char* host, const char* object, CTaskSink* taskMgr,
                                    BOOL showErrors, BOOL reserved, int verb,
                                    const char* postData, const char* outputPath,
                                    const char* agent)
{
    CHTTPThread* thread = (CHTTPThread*)AfxBeginThread(
        RUNTIME_CLASS(CHTTPThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!thread)
        return CString();
    thread->m_strTitle = m_strStatus;
    thread->m_strHost = host;
    thread->m_strObject = object;
    if (m_bUseProxy && !m_strProxyPort.IsEmpty())
        thread->m_strProxy = m_strProxyHost + ":" + m_strProxyPort;
    else if (m_bUseProxy)
        thread->m_strProxy = m_strProxyHost;
    thread->m_bShowErrors = showErrors;
    thread->m_bReserved = reserved;
    thread->m_pTaskMgr = taskMgr;
    thread->m_nVerb = verb;
    thread->m_strPostData = postData;
    thread->m_strOutputPath = outputPath;
    thread->m_strAgent = agent;
    thread->m_bWriteToFile = *outputPath != '\0';
    thread->m_pHost = m_pHost;
    // The thread still ends its task after the release; the caller's task
    // manager must not go before that, so the wait covers the thread's end.
    HANDLE ended = NULL;
    DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &ended, SYNCHRONIZE,
                    FALSE, 0);
    thread->ResumeThread();

    // Keep this thread's windows alive while the request runs. Once a quit is
    // posted again for the outer loop it counts as input at every wait, so the
    // wait then paces itself instead of spinning.
    HANDLE done = thread->m_done;
    bool quitting = false;
    while ((quitting ? WaitForSingleObject(done, kPumpPauseMs)
                     : MsgWaitForMultipleObjects(1, &done, FALSE, kPumpPauseMs, QS_ALLINPUT)) != WAIT_OBJECT_0)
        quitting = PumpWaitingMessages() || quitting;
    CString result = thread->m_strResult;
    thread->m_release.SetEvent();
    if (ended) {
        WaitForSingleObject(ended, INFINITE);
        CloseHandle(ended);
    }
    return result;
}

CCDDBClient::~CCDDBClient()
{
    m_sites.clear();
    m_matches.clear();
    if (m_pGenres)
        m_pGenres->Release();
    if (m_pControl)
        m_pControl->Release();
}
