#include "platform/runtime/MessageBoxes.h"

#include "platform/runtime/LockedSlot.h"

static CLockedSlot<CMessageBoxAnswerer>& Answerer()
{
    // Never destroyed: threads may still show boxes while the process exits.
    static CLockedSlot<CMessageBoxAnswerer>* slot = new CLockedSlot<CMessageBoxAnswerer>;
    return *slot;
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    int answer = 0;
    bool answered = Answerer().Use([&](CMessageBoxAnswerer& answerer) {
        answer = answerer.Answer(owner, text, caption, type);
    });
    // A real box is modal and may stay up for long: it is shown outside the lock.
    return answered ? answer : MessageBoxA(owner, text, caption, type);
}

void SetMessageBoxAnswerer(CMessageBoxAnswerer* answerer)
{
    Answerer().Set(answerer);
}
