// How the device library speaks upward: a listener is an object and one of its
// member functions. Classes that listen derive from CCallbackTarget so that
// their member functions convert to the stored pointer type.
//
// Listeners of users and devices run on the thread that polls the manager (its
// monitoring thread) with the manager's port-and-user lock held, the device's
// listener first, then its user's. That lock is re-entrant, so a listener may
// call the manager: send commands, add devices, delete devices (its own too).
// A listener must not:
// - wait for another thread that calls the manager: that thread waits for the
//   lock the listener holds;
// - take a lock that a thread holds while calling the manager (the manager's
//   lock comes first, a listener's own locks after it);
// - stop the monitoring thread or destroy the manager: both wait for the very
//   thread the listener runs on (the stop fails after its wait, the
//   destruction never ends);
// - work long: every client's calls into the manager wait meanwhile, and no
//   port is read.
// In return, once ClearCallbacks or RemoveUser has returned no listener of
// that user runs any more, and its objects may go.
// The one-shot callback and the thread hook run on the monitoring thread
// without the manager's locks.
#pragma once

#include <afx.h>

class CCallbackTarget
{
};

typedef void (CCallbackTarget::*TextFunction)(CString text);
typedef void (CCallbackTarget::*FlagFunction)(DWORD flag);

// Empty while object is null; callers test the object before invoking.
struct TextCallback
{
    CCallbackTarget* object = nullptr;
    TextFunction function = nullptr;

    void Invoke(const CString& text) const { (object->*function)(text); }
};

// Called on the monitoring thread with 1 when it starts and 0 when it ends.
struct ThreadHook
{
    CCallbackTarget* object = nullptr;
    FlagFunction function = nullptr;

    void Invoke(DWORD flag) const { (object->*function)(flag); }
};

// A text sent to an intercommunication device, waiting for the monitoring thread.
struct IntercomMessage
{
    CString device;   // as the sending item wrote it
    CString text;
};
