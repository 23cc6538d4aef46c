// The internet classes over WinInet: a session, its HTTP connections and the
// files of their requests. Failing WinInet calls throw CInternetException
// with the WinInet error code.
#pragma once

#include "platform/mfc/Exception.h"
#include "platform/mfc/StdioFile.h"

#include <wininet.h>

// MFC verb numbers of CHttpConnection::OpenRequest.
enum
{
    HTTP_VERB_POST = 0,
    HTTP_VERB_GET = 1,
    HTTP_VERB_HEAD = 2,
    HTTP_VERB_PUT = 3,
    HTTP_VERB_LINK = 4,
    HTTP_VERB_DELETE = 5,
    HTTP_VERB_UNLINK = 6,
};

class CInternetException : public CException
{
    DECLARE_DYNAMIC(CInternetException)
public:
    CInternetException(DWORD error, DWORD_PTR context);

    BOOL GetErrorMessage(LPSTR error, UINT maxError, PUINT helpContext = NULL) override;

    DWORD m_dwError;
    DWORD_PTR m_dwContext;
};

void AfxThrowInternetException(DWORD_PTR context, DWORD error = 0);

class CHttpConnection;

class CInternetSession : public CObject
{
    DECLARE_DYNAMIC(CInternetSession)
public:
    // Throws CInternetException when WinInet refuses the session.
    CInternetSession(LPCSTR agent = NULL, DWORD_PTR context = 1,
                     DWORD accessType = PRE_CONFIG_INTERNET_ACCESS, LPCSTR proxyName = NULL,
                     LPCSTR proxyBypass = NULL, DWORD flags = 0);
    ~CInternetSession() override;
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    virtual void Close();
    BOOL SetOption(DWORD option, DWORD value, DWORD flags = 0);
    BOOL QueryOption(DWORD option, DWORD& value) const;
    // Routes WinInet's notifications of this session and of every handle
    // opened from it to OnStatusCallback.
    BOOL EnableStatusCallback(BOOL enable = TRUE);
    virtual void OnStatusCallback(DWORD_PTR context, DWORD status, LPVOID info, DWORD infoLength);

    // The caller deletes the connection before the session.
    CHttpConnection* GetHttpConnection(LPCSTR server,
                                       INTERNET_PORT port = INTERNET_INVALID_PORT_NUMBER,
                                       LPCSTR userName = NULL, LPCSTR password = NULL);

    DWORD_PTR GetContext() const { return m_dwContext; }
    operator HINTERNET() const { return m_hSession; }

    // Handles whose notifications reach this session.
    void AttachHandle(HINTERNET handle);
    void DetachHandle(HINTERNET handle);

private:
    static void CALLBACK StatusCallback(HINTERNET handle, DWORD_PTR context, DWORD status,
                                        LPVOID info, DWORD infoLength);

    HINTERNET m_hSession;
    DWORD_PTR m_dwContext;
    BOOL m_bCallbackEnabled;
};

class CInternetConnection : public CObject
{
    DECLARE_DYNAMIC(CInternetConnection)
public:
    CInternetConnection(CInternetSession* session, LPCSTR server, INTERNET_PORT port,
                        DWORD_PTR context);
    ~CInternetConnection() override;
    CInternetConnection(const CInternetConnection&) = delete;
    CInternetConnection& operator=(const CInternetConnection&) = delete;

    virtual void Close();
    CInternetSession* GetSession() const { return m_pSession; }
    CString GetServerName() const { return m_strServerName; }
    DWORD_PTR GetContext() const { return m_dwContext; }
    operator HINTERNET() const { return m_hConnection; }

protected:
    // Takes ownership of a handle opened from the session.
    void Attach(HINTERNET handle);

    CInternetSession* m_pSession;
    HINTERNET m_hConnection;
    CString m_strServerName;
    INTERNET_PORT m_nPort;
    DWORD_PTR m_dwContext;
};

class CHttpFile;

class CHttpConnection : public CInternetConnection
{
    DECLARE_DYNAMIC(CHttpConnection)
public:
    // Throws CInternetException when the connection cannot be made.
    CHttpConnection(CInternetSession* session, LPCSTR server, INTERNET_PORT port,
                    LPCSTR userName, LPCSTR password, DWORD_PTR context);

    // The caller deletes the file before the connection.
    CHttpFile* OpenRequest(int verb, LPCSTR object, LPCSTR referer = NULL, DWORD_PTR context = 1,
                           LPCSTR* acceptTypes = NULL, LPCSTR version = NULL,
                           DWORD flags = INTERNET_FLAG_EXISTING_CONNECT);
    CHttpFile* OpenRequest(LPCSTR verb, LPCSTR object, LPCSTR referer = NULL,
                           DWORD_PTR context = 1, LPCSTR* acceptTypes = NULL,
                           LPCSTR version = NULL, DWORD flags = INTERNET_FLAG_EXISTING_CONNECT);
};

// The body of a request, read through WinInet. Text reading (ReadString)
// goes through a buffer of its own; Read drains that buffer first.
class CInternetFile : public CStdioFile
{
    DECLARE_DYNAMIC(CInternetFile)
public:
    CInternetFile(HINTERNET file, CInternetSession* session, LPCSTR object, LPCSTR server,
                  DWORD_PTR context);
    ~CInternetFile() override;

    BOOL SetReadBufferSize(UINT size);
    UINT Read(void* buffer, UINT count) override;
    // One line without its line end ("\n", or "\r\n"); FALSE at the end of the body.
    BOOL ReadString(CString& text) override;
    LPSTR ReadString(LPSTR buffer, UINT max) override;
    void Close() override;
    void Abort() override;

    BOOL SetOption(DWORD option, DWORD value, DWORD flags = 0);
    CString GetFileURL() const;
    DWORD_PTR GetContext() const { return m_dwContext; }
    operator HINTERNET() const { return m_hFile; }

protected:
    CInternetSession* m_pSession;
    HINTERNET m_hFile;
    CString m_strObject;
    CString m_strServerName;
    DWORD_PTR m_dwContext;

private:
    int NextByte();
    UINT ReadRaw(void* buffer, UINT count);

    BYTE* m_pReadBuffer;
    UINT m_nReadBufferSize;
    UINT m_nReadPos;
    UINT m_nReadLength;
};

class CHttpFile : public CInternetFile
{
    DECLARE_DYNAMIC(CHttpFile)
public:
    CHttpFile(HINTERNET file, CInternetSession* session, LPCSTR object, LPCSTR server,
              LPCSTR verb, DWORD_PTR context);

    BOOL AddRequestHeaders(LPCSTR headers, DWORD flags = HTTP_ADDREQ_FLAG_ADD_IF_NEW,
                           int length = -1);
    // Throws CInternetException when the request cannot be sent.
    BOOL SendRequest(LPCSTR headers = NULL, DWORD headersLength = 0, LPVOID optional = NULL,
                     DWORD optionalLength = 0);
    BOOL QueryInfoStatusCode(DWORD& statusCode) const;
    BOOL QueryInfo(DWORD infoLevel, CString& text) const;
    CString GetVerb() const { return m_strVerb; }
    CString GetObject() const { return m_strObject; }

private:
    CString m_strVerb;
};
