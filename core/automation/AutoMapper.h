// The event mapper: matches every event text against the event map's
// patterns and sends the actions of all entries that match, keeps the last
// kMaxQueuedEvents texts for the device view and writes the event log.
//
// DispatchEvent runs on many threads at once, also nested: an action that
// fails fires an error event that is dispatched again on the same thread, at
// most kMaxNestingDepth deep per thread, and one event dispatched outside any
// other (a root event) sends at most kMaxActionsPerRootEvent actions, its
// nested events' included. It matches on the map that was
// current when it started, so every match comes from one whole map. The
// mapper's lock is held only to copy or change its fields, never while
// sending, logging or calling the document; the log's lock comes after it
// is released.
#pragma once

#include <afxmt.h>

#include <deque>
#include <memory>
#include <vector>

#include "core/automation/EventDocument.h"
#include "core/automation/EventLog.h"
#include "core/automation/EventMap.h"
#include "devices/manager/TextCallback.h"

class CAutoMapper : public CCallbackTarget
{
public:
    enum { kMaxQueuedEvents = 500, kMaxNestingDepth = 10, kMaxActionsPerRootEvent = 64 };
    // Larger files are refused before parsing.
    enum { kMaxMapFileSize = 1 << 20 };

    CAutoMapper();
    virtual ~CAutoMapper();

    // While one lives on a thread, the command running there is the
    // program's own (an event-map action that came back as a command): the
    // error events it fires are logged and sent but match no entry. A map
    // that acts on errors would otherwise answer its own failures again at
    // every tick, each time as a new root event.
    class COwnCommandScope
    {
    public:
        COwnCommandScope();
        ~COwnCommandScope();
        COwnCommandScope(const COwnCommandScope&) = delete;
        COwnCommandScope& operator=(const COwnCommandScope&) = delete;
    };

    // Until the document is set, events are queued but neither sent nor logged.
    void SetDocument(CEventDocument* document);

    // Replaces the map with the file's entries and gives the parser's result.
    // A file that cannot be read, is too large or holds NUL bytes gives false
    // and keeps the current map.
    BOOL LoadMapFile(const char* path);
    void ClearMap();
    EventMap GetMap();

    void DispatchEvent(CString text);
    TextCallback GetDispatchCallback();

    // The device view's drain: the queued texts, oldest first, and an empty queue.
    std::vector<CString> TakeEvents();

private:
    void SetMap(std::shared_ptr<const EventMap> map);
    void SendMatches(CEventDocument& document, const EventMap& map, const CString& text);

    CCriticalSection m_lock;   // guards the fields below
    CEventDocument* m_document;
    std::shared_ptr<const EventMap> m_map;   // replaced whole, never changed
    std::deque<CString> m_events;
    CEventLog m_log;
};
