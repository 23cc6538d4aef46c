#include "ZYMAutomation.h"

CZYMAutomation::CZYMAutomation() : m_receiveName("zym"), m_transmitName("zymr")
{
}

CZYMAutomation::~CZYMAutomation()
{
}

void CZYMAutomation::OnReceive(CString text)
{
    int colon = text.Find(':');
    if (colon < 0)
        return;
    CSingleLock lock(&m_lock, TRUE);
    if (m_queue.size() >= size_t(kMaxQueuedCommands))
        ++m_dropped;
    else
        m_queue.push_back(text.Mid(colon + 1));
}

TextCallback CZYMAutomation::GetReceiveCallback()
{
    TextCallback callback;
    callback.object = this;
    callback.function = static_cast<TextFunction>(&CZYMAutomation::OnReceive);
    return callback;
}

CString CZYMAutomation::Pop()
{
    CSingleLock lock(&m_lock, TRUE);
    if (m_queue.empty())
        return CString();
    CString text = m_queue.front();
    m_queue.pop_front();
    return text;
}

BOOL CZYMAutomation::IsEmpty()
{
    CSingleLock lock(&m_lock, TRUE);
    return m_queue.empty();
}

int CZYMAutomation::TakeDropped()
{
    CSingleLock lock(&m_lock, TRUE);
    int dropped = m_dropped;
    m_dropped = 0;
    return dropped;
}
