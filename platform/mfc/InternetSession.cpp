#include "platform/mfc/InternetSession.h"

#include "platform/mfc/SyncLock.h"

#include <cstring>
#include <utility>
#include <vector>

IMPLEMENT_DYNAMIC(CInternetException, CException)
IMPLEMENT_DYNAMIC(CInternetSession, CObject)
IMPLEMENT_DYNAMIC(CInternetConnection, CObject)
IMPLEMENT_DYNAMIC(CHttpConnection, CInternetConnection)
IMPLEMENT_DYNAMIC(CInternetFile, CStdioFile)
IMPLEMENT_DYNAMIC(CHttpFile, CInternetFile)

namespace {

const UINT kDefaultReadBufferSize = 4096;

// WinInet's callback gets the handle that reports, not its session: every
// handle a session opens is listed here with its session.
class CHandleSessions
{
public:
    void Add(HINTERNET handle, CInternetSession* session)
    {
        CSingleLock lock(&m_lock, TRUE);
        m_entries.emplace_back(handle, session);
    }

    void Remove(HINTERNET handle)
    {
        CSingleLock lock(&m_lock, TRUE);
        for (size_t i = 0; i < m_entries.size(); i++) {
            if (m_entries[i].first == handle) {
                m_entries.erase(m_entries.begin() + i);
                break;
            }
        }
    }

    CInternetSession* Find(HINTERNET handle)
    {
        CSingleLock lock(&m_lock, TRUE);
        for (const auto& entry : m_entries)
            if (entry.first == handle)
                return entry.second;
        return nullptr;
    }

private:
    CCriticalSection m_lock;
    std::vector<std::pair<HINTERNET, CInternetSession*>> m_entries;
};

CHandleSessions& HandleSessions()
{
    static CHandleSessions sessions;
    return sessions;
}

void ThrowInternetError(DWORD_PTR context)
{
    AfxThrowInternetException(context, GetLastError());
}

} // namespace

// ---- CInternetException ----

CInternetException::CInternetException(DWORD error, DWORD_PTR context)
    : m_dwError(error), m_dwContext(context)
{
}

BOOL CInternetException::GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext)
{
    if (helpContext)
        *helpContext = 0;
    if (!error || maxError == 0)
        return FALSE;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  GetModuleHandleA("wininet.dll"), m_dwError, 0, error,
                                  maxError, NULL);
    if (length == 0) {
        *error = '\0';
        return FALSE;
    }
    while (length > 0 && (error[length - 1] == '\n' || error[length - 1] == '\r'))
        error[--length] = '\0';
    return TRUE;
}

void AfxThrowInternetException(DWORD_PTR context, DWORD error)
{
    throw new CInternetException(error ? error : GetLastError(), context);
}

// ---- CInternetSession ----

CInternetSession::CInternetSession(LPCSTR agent, DWORD_PTR context, DWORD accessType,
                                   LPCSTR proxyName, LPCSTR proxyBypass, DWORD flags)
    : m_hSession(NULL), m_dwContext(context), m_bCallbackEnabled(FALSE)
{
    // An empty proxy name means none, as WinInet wants it for direct access.
    if (proxyName && !*proxyName)
        proxyName = NULL;
    if (proxyBypass && !*proxyBypass)
        proxyBypass = NULL;
    m_hSession = InternetOpenA(agent ? agent : "", accessType, proxyName, proxyBypass, flags);
    if (!m_hSession)
        ThrowInternetError(context);
}

CInternetSession::~CInternetSession()
{
    Close();
}

void CInternetSession::Close()
{
    if (!m_hSession)
        return;
    EnableStatusCallback(FALSE);
    InternetCloseHandle(m_hSession);
    m_hSession = NULL;
}

BOOL CInternetSession::SetOption(DWORD option, DWORD value, DWORD flags)
{
    (void)flags;
    return InternetSetOptionA(m_hSession, option, &value, sizeof value);
}

BOOL CInternetSession::QueryOption(DWORD option, DWORD& value) const
{
    DWORD length = sizeof value;
    return InternetQueryOptionA(m_hSession, option, &value, &length);
}

BOOL CInternetSession::EnableStatusCallback(BOOL enable)
{
    if (!m_hSession || enable == m_bCallbackEnabled)
        return TRUE;
    INTERNET_STATUS_CALLBACK previous =
        InternetSetStatusCallbackA(m_hSession, enable ? StatusCallback : NULL);
    if (previous == INTERNET_INVALID_STATUS_CALLBACK)
        return FALSE;
    if (enable)
        AttachHandle(m_hSession);
    else
        DetachHandle(m_hSession);
    m_bCallbackEnabled = enable;
    return TRUE;
}

void CInternetSession::OnStatusCallback(DWORD_PTR, DWORD, LPVOID, DWORD)
{
}

void CALLBACK CInternetSession::StatusCallback(HINTERNET handle, DWORD_PTR context, DWORD status,
                                               LPVOID info, DWORD infoLength)
{
    CInternetSession* session = HandleSessions().Find(handle);
    if (session)
        session->OnStatusCallback(context, status, info, infoLength);
}

void CInternetSession::AttachHandle(HINTERNET handle)
{
    HandleSessions().Add(handle, this);
}

void CInternetSession::DetachHandle(HINTERNET handle)
{
    HandleSessions().Remove(handle);
}

CHttpConnection* CInternetSession::GetHttpConnection(LPCSTR server, INTERNET_PORT port,
                                                     LPCSTR userName, LPCSTR password)
{
    return new CHttpConnection(this, server, port, userName, password, m_dwContext);
}

// ---- CInternetConnection ----

CInternetConnection::CInternetConnection(CInternetSession* session, LPCSTR server,
                                         INTERNET_PORT port, DWORD_PTR context)
    : m_pSession(session), m_hConnection(NULL), m_strServerName(server), m_nPort(port),
      m_dwContext(context)
{
}

CInternetConnection::~CInternetConnection()
{
    Close();
}

void CInternetConnection::Attach(HINTERNET handle)
{
    m_hConnection = handle;
    m_pSession->AttachHandle(handle);
}

void CInternetConnection::Close()
{
    if (!m_hConnection)
        return;
    InternetCloseHandle(m_hConnection);
    m_pSession->DetachHandle(m_hConnection);
    m_hConnection = NULL;
}

// ---- CHttpConnection ----

CHttpConnection::CHttpConnection(CInternetSession* session, LPCSTR server, INTERNET_PORT port,
                                 LPCSTR userName, LPCSTR password, DWORD_PTR context)
    : CInternetConnection(session, server, port, context)
{
    HINTERNET handle = InternetConnectA(*session, server, port, userName, password,
                                        INTERNET_SERVICE_HTTP, 0, context);
    if (!handle)
        ThrowInternetError(context);
    Attach(handle);
}

CHttpFile* CHttpConnection::OpenRequest(int verb, LPCSTR object, LPCSTR referer,
                                        DWORD_PTR context, LPCSTR* acceptTypes, LPCSTR version,
                                        DWORD flags)
{
    static const char* const kVerbs[] = { "POST", "GET", "HEAD", "PUT", "LINK", "DELETE",
                                          "UNLINK" };
    if (verb < HTTP_VERB_POST || verb > HTTP_VERB_UNLINK)
        AfxThrowInternetException(context, ERROR_INVALID_PARAMETER);
    return OpenRequest(kVerbs[verb], object, referer, context, acceptTypes, version, flags);
}

CHttpFile* CHttpConnection::OpenRequest(LPCSTR verb, LPCSTR object, LPCSTR referer,
                                        DWORD_PTR context, LPCSTR* acceptTypes, LPCSTR version,
                                        DWORD flags)
{
    HINTERNET handle = HttpOpenRequestA(m_hConnection, verb, object, version, referer,
                                        acceptTypes, flags, context);
    if (!handle)
        ThrowInternetError(context);
    m_pSession->AttachHandle(handle);
    return new CHttpFile(handle, m_pSession, object, m_strServerName, verb, context);
}

// ---- CInternetFile ----

CInternetFile::CInternetFile(HINTERNET file, CInternetSession* session, LPCSTR object,
                             LPCSTR server, DWORD_PTR context)
    : m_pSession(session), m_hFile(file), m_strObject(object), m_strServerName(server),
      m_dwContext(context), m_pReadBuffer(nullptr), m_nReadBufferSize(kDefaultReadBufferSize),
      m_nReadPos(0), m_nReadLength(0)
{
}

CInternetFile::~CInternetFile()
{
    Close();
}

void CInternetFile::Close()
{
    if (m_hFile) {
        InternetCloseHandle(m_hFile);
        m_pSession->DetachHandle(m_hFile);
        m_hFile = NULL;
    }
    delete[] m_pReadBuffer;
    m_pReadBuffer = nullptr;
    m_nReadPos = m_nReadLength = 0;
}

void CInternetFile::Abort()
{
    Close();
}

BOOL CInternetFile::SetReadBufferSize(UINT size)
{
    // The buffer may shrink only while it holds nothing unread.
    if (size == 0 || m_nReadPos < m_nReadLength)
        return FALSE;
    delete[] m_pReadBuffer;
    m_pReadBuffer = nullptr;
    m_nReadBufferSize = size;
    m_nReadPos = m_nReadLength = 0;
    return TRUE;
}

BOOL CInternetFile::SetOption(DWORD option, DWORD value, DWORD flags)
{
    (void)flags;
    return InternetSetOptionA(m_hFile, option, &value, sizeof value);
}

CString CInternetFile::GetFileURL() const
{
    return "http://" + m_strServerName + m_strObject;
}

UINT CInternetFile::ReadRaw(void* buffer, UINT count)
{
    DWORD read = 0;
    if (!InternetReadFile(m_hFile, buffer, count, &read))
        ThrowInternetError(m_dwContext);
    return read;
}

UINT CInternetFile::Read(void* buffer, UINT count)
{
    UINT buffered = m_nReadLength - m_nReadPos;
    if (buffered == 0)
        return count ? ReadRaw(buffer, count) : 0;
    UINT taken = buffered < count ? buffered : count;
    memcpy(buffer, m_pReadBuffer + m_nReadPos, taken);
    m_nReadPos += taken;
    return taken;
}

int CInternetFile::NextByte()
{
    if (m_nReadPos == m_nReadLength) {
        if (!m_pReadBuffer)
            m_pReadBuffer = new BYTE[m_nReadBufferSize];
        m_nReadPos = 0;
        m_nReadLength = ReadRaw(m_pReadBuffer, m_nReadBufferSize);
        if (m_nReadLength == 0)
            return -1;
    }
    return m_pReadBuffer[m_nReadPos++];
}

BOOL CInternetFile::ReadString(CString& text)
{
    text.Empty();
    int c = NextByte();
    if (c < 0)
        return FALSE;
    while (c >= 0 && c != '\n') {
        text += (char)c;
        c = NextByte();
    }
    int length = text.GetLength();
    if (length > 0 && text[length - 1] == '\r')
        text = text.Left(length - 1);
    return TRUE;
}

LPSTR CInternetFile::ReadString(LPSTR buffer, UINT max)
{
    if (!buffer || max == 0)
        return NULL;
    UINT length = 0;
    while (length + 1 < max) {
        int c = NextByte();
        if (c < 0)
            break;
        buffer[length++] = (char)c;
        if (c == '\n')
            break;
    }
    buffer[length] = '\0';
    return length ? buffer : NULL;
}

// ---- CHttpFile ----

CHttpFile::CHttpFile(HINTERNET file, CInternetSession* session, LPCSTR object, LPCSTR server,
                     LPCSTR verb, DWORD_PTR context)
    : CInternetFile(file, session, object, server, context), m_strVerb(verb)
{
}

BOOL CHttpFile::AddRequestHeaders(LPCSTR headers, DWORD flags, int length)
{
    return HttpAddRequestHeadersA(m_hFile, headers, (DWORD)length, flags);
}

BOOL CHttpFile::SendRequest(LPCSTR headers, DWORD headersLength, LPVOID optional,
                            DWORD optionalLength)
{
    if (!HttpSendRequestA(m_hFile, headers, headers ? headersLength : 0, optional,
                          optionalLength))
        ThrowInternetError(m_dwContext);
    return TRUE;
}

BOOL CHttpFile::QueryInfoStatusCode(DWORD& statusCode) const
{
    DWORD length = sizeof statusCode;
    return HttpQueryInfoA(m_hFile, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &statusCode,
                          &length, NULL);
}

BOOL CHttpFile::QueryInfo(DWORD infoLevel, CString& text) const
{
    DWORD length = 0;
    HttpQueryInfoA(m_hFile, infoLevel, NULL, &length, NULL);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || length == 0)
        return FALSE;
    LPSTR buffer = text.GetBuffer((int)length);
    BOOL ok = HttpQueryInfoA(m_hFile, infoLevel, buffer, &length, NULL);
    text.ReleaseBuffer(ok ? (int)length : 0);
    return ok;
}
