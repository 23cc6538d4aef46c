#include "core/automation/ZYMAutomation.h"

#include "devices/manager/DeviceManager.h"

#include <algorithm>

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
    CString command = text.Mid(colon + 1);
    CSingleLock lock(&m_lock, TRUE);
    auto noted = std::find(m_ownOnTheWay.begin(), m_ownOnTheWay.end(), command);
    BOOL own = noted != m_ownOnTheWay.end();
    if (own)
        m_ownOnTheWay.erase(noted);
    if (m_queue.size() >= size_t(kMaxQueuedCommands))
        ++m_dropped;
    else
        m_queue.push_back(Command{ command, own });
}

TextCallback CZYMAutomation::GetReceiveCallback()
{
    TextCallback callback;
    callback.object = this;
    callback.function = static_cast<TextFunction>(&CZYMAutomation::OnReceive);
    return callback;
}

void CZYMAutomation::NoteOwnSend(const char* text)
{
    CString rest(text);
    CString device;
    CString command;
    while (NextCommandItem(rest, device, command)) {
        if (device.CompareNoCase(m_receiveName) != 0)
            continue;
        CSingleLock lock(&m_lock, TRUE);
        if (m_ownOnTheWay.size() >= size_t(kMaxQueuedCommands))
            m_ownOnTheWay.pop_front();
        m_ownOnTheWay.push_back(command);
    }
}

CString CZYMAutomation::Pop(BOOL* own)
{
    CSingleLock lock(&m_lock, TRUE);
    Command command = m_queue.empty() ? Command{ CString(), FALSE } : m_queue.front();
    if (!m_queue.empty())
        m_queue.pop_front();
    if (own)
        *own = command.own;
    return command.text;
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
