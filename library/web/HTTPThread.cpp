#include "library/web/HTTPThread.h"

#include "library/web/ZymInetSession.h"

#include "platform/runtime/FileReplacement.h"

#include <memory>
#include <vector>

IMPLEMENT_DYNCREATE(CHTTPThread, CWinThread)

namespace {

const DWORD_PTR kContext = 1;
const DWORD kStatusOk = 200;
const char kFormHeader[] = "Content-Type: application/x-www-form-urlencoded";
const char kSendError[] = "Error [%d] sending request";
const char kReadError[] = "Error [%d] reading data";
const char kShortBodyError[] = "Error reading data: %llu of %llu bytes arrived";
const char kTooLargeError[] = "Error reading data: more than %lu bytes";
const char kEncodingError[] = "Error reading data: content encoding %s";
// The body is kept as it came, so it must come as it is.
const char kIdentityHeader[] = "Accept-Encoding: identity";
const DWORD kStatusPermanentRedirect = 308;

// Set on the session in this order.
const DWORD kTimeoutOptions[] = {
    INTERNET_OPTION_CONNECT_TIMEOUT,
    INTERNET_OPTION_DATA_SEND_TIMEOUT,
    INTERNET_OPTION_DATA_RECEIVE_TIMEOUT,
    INTERNET_OPTION_SEND_TIMEOUT,
    INTERNET_OPTION_RECEIVE_TIMEOUT,
};

bool IsRedirect(DWORD status)
{
    return status == HTTP_STATUS_MOVED || status == HTTP_STATUS_REDIRECT ||
           status == HTTP_STATUS_REDIRECT_METHOD || status == HTTP_STATUS_REDIRECT_KEEP_VERB ||
           status == kStatusPermanentRedirect;
}

// The path with "." and ".." segments taken out, as a browser resolves it.
CString RemoveDotSegments(const CString& path)
{
    std::vector<CString> segments;
    int start = 1;
    for (;;) {
        int slash = path.Find('/', start);
        CString segment = slash < 0 ? path.Mid(start) : path.Mid(start, slash - start);
        bool last = slash < 0;
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
            if (last)
                segments.push_back("");
        } else if (segment == ".") {
            if (last)
                segments.push_back("");
        } else {
            segments.push_back(segment);
        }
        if (last)
            break;
        start = slash + 1;
    }
    CString resolved;
    for (const CString& segment : segments)
        resolved += "/" + segment;
    return resolved.IsEmpty() ? CString("/") : resolved;
}

// A location without a scheme, taken against the object it answered.
CString ResolveRelative(const CString& location, const CString& object)
{
    int query = object.Find('?');
    CString path = query < 0 ? object : object.Left(query);
    if (location[0] == '?')
        return path + location;
    if (location[0] == '/')
        return location;
    return RemoveDotSegments(path.Left(path.ReverseFind('/') + 1) + location);
}

bool HasScheme(const CString& location)
{
    int colon = location.Find(':');
    return colon > 0 && location.Left(colon).SpanIncluding(
                            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789+-.") ==
                            location.Left(colon);
}

// The body length the server announced; false when it gave none (or none
// that reads as a number), so that the body runs until the server closes.
bool AnnouncedLength(const CHttpFile& file, ULONGLONG& length)
{
    CString text;
    if (!file.QueryInfo(HTTP_QUERY_CONTENT_LENGTH, text) || text.IsEmpty())
        return false;
    length = 0;
    for (const char* p = text; *p; p++) {
        if (*p < '0' || *p > '9' || length > ((ULONGLONG)-1 - 9) / 10)
            return false;
        length = length * 10 + (*p - '0');
    }
    return true;
}

CString ErrorText(const char* format, CInternetException* e)
{
    CString text;
    text.Format(format, (int)e->m_dwError);
    e->Delete();
    return text;
}

} // namespace

CHTTPThread::CHTTPThread()
    : m_bWriteToFile(0), m_bShowErrors(FALSE), m_bReserved(FALSE), m_done(FALSE, TRUE), m_release(FALSE, TRUE),
      m_pTaskMgr(nullptr), m_nTaskId(0), m_nVerb(HTTP_VERB_GET), m_pHost(nullptr),
      m_nPort(INTERNET_DEFAULT_HTTP_PORT), m_dwTimeout(kTimeoutMs),
      m_dwMaxFileBytes(kMaxFileBytes)
{
}

void CHTTPThread::SetStatus(const char* text)
{
    if (m_pTaskMgr)
        m_pTaskMgr->SetTaskStatus(m_nTaskId, text);
}

BOOL CHTTPThread::InitInstance()
{
    if (m_pHost)
        m_pHost->ThreadStarted("HTTP");
    m_strResult.Empty();
    if (m_pTaskMgr)
        m_nTaskId = m_pTaskMgr->CreateTask("HTTP", nullptr, 0);

    // One byte more than the body may fill, so that a full buffer still ends
    // in a zero.
    std::vector<char> buffer(kBodyBufferSize + 1, 0);
    CString error;
    try {
        bool proxy = !m_strProxy.IsEmpty();
        CZymInetSession session(m_strAgent, kContext,
                                proxy ? INTERNET_OPEN_TYPE_PROXY : INTERNET_OPEN_TYPE_PRECONFIG,
                                m_strProxy, NULL, 0, m_pTaskMgr, m_nTaskId);
        error = Request(session, buffer.data());
    } catch (CInternetException* e) {
        error = ErrorText(kSendError, e);
    }
    if (!error.IsEmpty() && m_bShowErrors)
        AfxMessageBox(error, MB_OK);
    if (!m_bWriteToFile)
        m_strResult = buffer.data();
    PostQuitMessage(0);
    return TRUE;
}

CString CHTTPThread::Request(CZymInetSession& session, char* buffer)
{
    session.m_strTitle = m_strTitle;
    session.EnableStatusCallback(TRUE);
    for (DWORD option : kTimeoutOptions)
        session.SetOption(option, m_dwTimeout);
    CTarget target = { m_strHost, m_nPort, m_strObject };
    CString error;
    try {
        // Redirects are followed here, so that one that loops ends.
        for (int redirects = 0;; redirects++) {
            std::unique_ptr<CHttpConnection> connection(
                session.GetHttpConnection(target.host, target.port, NULL, NULL));
            bool redirected = false;
            error = Send(*connection, target, buffer, redirects < kMaxRedirects ? &redirected : nullptr);
            if (!redirected)
                break;
        }
    } catch (CInternetException* e) {
        error = ErrorText(kSendError, e);
    }
    session.EnableStatusCallback(FALSE);
    return error;
}

bool CHTTPThread::FollowLocation(const CString& location, CTarget& target)
{
    if (location.IsEmpty())
        return false;
    if (location.Left(2) == "//")
        return FollowLocation("http:" + location, target);
    if (!HasScheme(location)) {
        target.object = ResolveRelative(location, target.object);
        return true;
    }
    char host[INTERNET_MAX_HOST_NAME_LENGTH] = "";
    char path[INTERNET_MAX_PATH_LENGTH] = "";
    char extra[INTERNET_MAX_PATH_LENGTH] = "";
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = sizeof path;
    parts.lpszExtraInfo = extra;
    parts.dwExtraInfoLength = sizeof extra;
    if (!InternetCrackUrlA(location, 0, 0, &parts) || parts.nScheme != INTERNET_SCHEME_HTTP)
        return false;
    target.host = host;
    target.port = parts.nPort;
    target.object = CString(path) + extra;
    return true;
}

CString CHTTPThread::Send(CHttpConnection& connection, CTarget& target, char* buffer, bool* redirected)
{
    SetStatus("Connecting");
    bool post = !m_strPostData.IsEmpty();
    std::unique_ptr<CHttpFile> file(connection.OpenRequest(
        post ? HTTP_VERB_POST : m_nVerb, target.object, NULL, kContext, NULL, NULL,
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_AUTO_REDIRECT));
    // WinInet here does not hand the session's time-outs on to its requests.
    for (DWORD option : kTimeoutOptions)
        file->SetOption(option, m_dwTimeout);
    file->AddRequestHeaders(kIdentityHeader, HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    if (post)
        file->AddRequestHeaders(kFormHeader, HTTP_ADDREQ_FLAG_ADD_IF_NEW);
    file->SetReadBufferSize(kRequestBufferSize);
    SetStatus("Sending Request");
    if (post)
        file->SendRequest(NULL, 0, (LPVOID)(LPCSTR)m_strPostData, m_strPostData.GetLength());
    else
        file->SendRequest();

    CString error;
    DWORD status = 0;
    file->QueryInfoStatusCode(status);
    CString location;
    // A redirect that cannot be followed is the error its status gives.
    if (IsRedirect(status) && redirected && file->QueryInfo(HTTP_QUERY_LOCATION, location) &&
        FollowLocation(location, target)) {
        *redirected = true;
        return error;
    }
    if (status != kStatusOk) {
        error.Format("HTTP Error (%d)", (int)status);
        return error;
    }
    CString encoding;
    if (file->QueryInfo(HTTP_QUERY_CONTENT_ENCODING, encoding) && !encoding.IsEmpty() &&
        encoding.CompareNoCase("identity") != 0) {
        error.Format(kEncodingError, (LPCSTR)encoding);
        return error;
    }
    error = m_bWriteToFile ? ReadToFile(*file, buffer) : ReadBody(*file, buffer);
    file->Close();
    return error;
}

CString CHTTPThread::ReadBody(CHttpFile& file, char* buffer)
{
    SetStatus("Reading Data");
    UINT used = 0;
    try {
        // A body longer than the buffer is cut at its end.
        while (used < (UINT)kBodyBufferSize) {
            UINT read = file.Read(buffer + used, kBodyBufferSize - used);
            if (read == 0)
                break;
            used += read;
        }
    } catch (CInternetException* e) {
        return ErrorText(kReadError, e);
    }
    return CString();
}

// The body goes to a new file that replaces the output file only once the
// whole body is there: a failed download leaves the old file as it was.
CString CHTTPThread::ReadToFile(CHttpFile& file, char* buffer)
{
    CString error;
    CFileReplacement replacement(m_strOutputPath);
    CFile out;
    if (!replacement.Begin() ||
        !out.Open(replacement.GetTempPath(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) {
        error.Format("Error opening file [%s] for writing", (LPCSTR)m_strOutputPath);
        return error;
    }
    SetStatus("Reading Data");
    try {
        error = CopyBody(file, buffer, out);
        out.Close();
    } catch (CInternetException* e) {
        return ErrorText(kReadError, e);
    } catch (CFileException* e) {
        e->Delete();
        error.Format("Error writing file [%s]", (LPCSTR)m_strOutputPath);
        return error;
    }
    if (!error.IsEmpty())
        return error;
    if (!replacement.Commit()) {
        error.Format("Error writing file [%s]", (LPCSTR)m_strOutputPath);
        return error;
    }
    m_strResult = "ok";
    return error;
}

// A body that stops short of its announced length, or grows past the limit,
// is an error: the file would hold a cut or runaway download.
CString CHTTPThread::CopyBody(CHttpFile& file, char* buffer, CFile& out)
{
    CString error;
    ULONGLONG announced = 0;
    bool known = AnnouncedLength(file, announced);
    ULONGLONG written = 0;
    if (known && announced > m_dwMaxFileBytes) {
        error.Format(kTooLargeError, (unsigned long)m_dwMaxFileBytes);
        return error;
    }
    for (;;) {
        UINT read = file.Read(buffer, kBodyBufferSize);
        if (read == 0)
            break;
        if (written + read > m_dwMaxFileBytes) {
            error.Format(kTooLargeError, (unsigned long)m_dwMaxFileBytes);
            return error;
        }
        out.Write(buffer, read);
        written += read;
    }
    if (known && written < announced)
        error.Format(kShortBodyError, (unsigned long long)written, (unsigned long long)announced);
    return error;
}

int CHTTPThread::ExitInstance()
{
    m_done.SetEvent();
    WaitForSingleObject(m_release, INFINITE);
    if (m_pTaskMgr)
        m_pTaskMgr->EndTask(m_nTaskId);
    if (m_pHost)
        m_pHost->ThreadEnded();
    return CWinThread::ExitInstance();
}
