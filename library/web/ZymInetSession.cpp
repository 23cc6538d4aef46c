#include "library/web/ZymInetSession.h"

namespace {

struct StatusName
{
    DWORD status;
    const char* text;
};

const StatusName kStatusNames[] = {
    { INTERNET_STATUS_RESOLVING_NAME, "Resolving IP address" },
    { INTERNET_STATUS_NAME_RESOLVED, "IP address resolved" },
    { INTERNET_STATUS_CONNECTING_TO_SERVER, "Connecting to server" },
    { INTERNET_STATUS_CONNECTED_TO_SERVER, "Connected to server" },
    { INTERNET_STATUS_SENDING_REQUEST, "Sending request" },
    { INTERNET_STATUS_REQUEST_SENT, "Request sent" },
    { INTERNET_STATUS_RECEIVING_RESPONSE, "Receiving response" },
    { INTERNET_STATUS_RESPONSE_RECEIVED, "Response received" },
    { INTERNET_STATUS_CLOSING_CONNECTION, "Closing connection" },
    { INTERNET_STATUS_CONNECTION_CLOSED, "Connection closed" },
    { INTERNET_STATUS_HANDLE_CREATED, "Handle created" },
    { INTERNET_STATUS_HANDLE_CLOSING, "Handle closing" },
    { INTERNET_STATUS_REQUEST_COMPLETE, "Request complete" },
};

} // namespace

CZymInetSession::CZymInetSession(LPCSTR agent, DWORD_PTR context, DWORD accessType,
                                 LPCSTR proxyName, LPCSTR proxyBypass, DWORD flags,
                                 CTaskSink* taskMgr, int taskId)
    : CInternetSession(agent, context, accessType, proxyName, proxyBypass, flags),
      m_pTaskMgr(taskMgr), m_nTaskId(taskId)
{
}

const char* CZymInetSession::StatusText(DWORD status)
{
    for (const StatusName& name : kStatusNames) {
        if (name.status == status)
            return name.text;
    }
    return "Unknown repsonse";
}

void CZymInetSession::OnStatusCallback(DWORD_PTR, DWORD status, LPVOID, DWORD)
{
    m_strStatus = StatusText(status);
    if (m_pTaskMgr)
        m_pTaskMgr->SetTaskStatus(m_nTaskId, m_strStatus);
}
