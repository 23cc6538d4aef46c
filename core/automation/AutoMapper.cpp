#include "core/automation/AutoMapper.h"

#include "platform/runtime/DebugOutput.h"

namespace {

// Dispatches in progress on this thread, over every mapper, and the actions
// the outermost one (the root event) may still send, its nested events'
// included: an action that fails fires an error event that may match again,
// so with n entries on "error" one event would otherwise send n + n^2 + ...
// actions down to the depth limit.
thread_local int t_nestingDepth = 0;
thread_local int t_actionsLeft = 0;
thread_local int t_ownCommands = 0;

class CNesting
{
public:
    CNesting()
    {
        if (t_nestingDepth++ == 0)
            t_actionsLeft = CAutoMapper::kMaxActionsPerRootEvent;
    }
    ~CNesting() { --t_nestingDepth; }
    bool TooDeep() const { return t_nestingDepth > CAutoMapper::kMaxNestingDepth; }
};

// Takes one action from the root event's allowance.
bool TakeAction()
{
    if (t_actionsLeft <= 0)
        return false;
    --t_actionsLeft;
    return true;
}

// "device:error[...]", the form of every refusal.
bool IsErrorEvent(const CString& text)
{
    static const char kError[] = "error[";
    int colon = text.Find(':');
    return colon >= 0 && text.Mid(colon + 1, int(sizeof kError) - 1).CompareNoCase(kError) == 0;
}

// The whole file, or false when it cannot be read or is no map text.
bool ReadMapText(const char* path, CString& text)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= CAutoMapper::kMaxMapFileSize;
    DWORD read = 0;
    if (ok) {
        int length = int(size.QuadPart);
        char* buffer = text.GetBufferSetLength(length);
        ok = ReadFile(file, buffer, length, &read, NULL) && read == DWORD(length) &&
             memchr(buffer, '\0', length) == nullptr;
        text.ReleaseBuffer(ok ? length : 0);
    }
    CloseHandle(file);
    return ok;
}

}

CAutoMapper::CAutoMapper() : m_document(nullptr), m_map(std::make_shared<EventMap>())
{
}

CAutoMapper::~CAutoMapper()
{
}

CAutoMapper::COwnCommandScope::COwnCommandScope()
{
    ++t_ownCommands;
}

CAutoMapper::COwnCommandScope::~COwnCommandScope()
{
    --t_ownCommands;
}

void CAutoMapper::SetDocument(CEventDocument* document)
{
    CSingleLock lock(&m_lock, TRUE);
    m_document = document;
}

BOOL CAutoMapper::LoadMapFile(const char* path)
{
    CString text;
    if (!ReadMapText(path, text))
        return FALSE;
    auto map = std::make_shared<EventMap>();
    bool result = ParseEventMap(text, *map);
    SetMap(map);
    return result;
}

void CAutoMapper::ClearMap()
{
    SetMap(std::make_shared<EventMap>());
}

EventMap CAutoMapper::GetMap()
{
    CSingleLock lock(&m_lock, TRUE);
    return *m_map;
}

void CAutoMapper::SetMap(std::shared_ptr<const EventMap> map)
{
    CSingleLock lock(&m_lock, TRUE);
    m_map = map;
}

void CAutoMapper::DispatchEvent(CString text)
{
    CEventDocument* document;
    std::shared_ptr<const EventMap> map;
    {
        CSingleLock lock(&m_lock, TRUE);
        m_events.push_back(text);
        if (m_events.size() > kMaxQueuedEvents)
            m_events.pop_front();
        document = m_document;
        map = m_map;
    }
    m_log.Write(document, text);
    CNesting nesting;
    if (document && !nesting.TooDeep() && !(t_ownCommands > 0 && IsErrorEvent(text)))
        SendMatches(*document, *map, text);
}

void CAutoMapper::SendMatches(CEventDocument& document, const EventMap& map, const CString& text)
{
    CString lower = text;
    lower.MakeLower();
    for (const EventMapEntry& entry : map) {
        if (lower.Find(entry.pattern) < 0)
            continue;
        if (!TakeAction()) {
            DebugOutput("Event map: " + text + " matched after its event's actions ran out; " + entry.action +
                        " was not sent\n");
            return;
        }
        document.SendDeviceCommand(entry.action);
    }
}

TextCallback CAutoMapper::GetDispatchCallback()
{
    TextCallback callback;
    callback.object = this;
    callback.function = static_cast<TextFunction>(&CAutoMapper::DispatchEvent);
    return callback;
}

std::vector<CString> CAutoMapper::TakeEvents()
{
    CSingleLock lock(&m_lock, TRUE);
    std::vector<CString> events(m_events.begin(), m_events.end());
    m_events.clear();
    return events;
}
