// How the device library speaks upward: a listener is an object and one of its
// member functions. Classes that listen derive from CCallbackTarget so that
// their member functions convert to the stored pointer type.
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
