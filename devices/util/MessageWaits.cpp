#include "devices/util/MessageWaits.h"

#include <string.h>

#include <vector>

bool PumpWaitingMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        // The quit belongs to the thread's outer loop: post it again for that.
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            return true;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return false;
}

namespace {

const int kStepMs = 50;

// The test of one wait: true ends the wait successfully.
class CWaitCondition
{
public:
    virtual ~CWaitCondition() {}
    virtual bool Holds() const = 0;
};

bool Wait(int timeout, const CWaitCondition& condition, const TaskCancelFlag* cancel)
{
    if (timeout < 1)
        return false;
    DWORD start = GetTickCount();
    for (;;) {
        if (cancel && *cancel)
            return false;
        if (condition.Holds())
            return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= DWORD(timeout))
            return false;
        DWORD step = DWORD(timeout) - elapsed;
        Sleep(step < DWORD(kStepMs) ? step : kStepMs);
        PumpWaitingMessages();
    }
}

class CBuffersCompare : public CWaitCondition
{
public:
    CBuffersCompare(const void* a, const void* b, int length, bool wantEqual)
        : m_a(a), m_b(b), m_length(length), m_wantEqual(wantEqual) {}
    bool Holds() const override { return (memcmp(m_a, m_b, m_length) == 0) == m_wantEqual; }

private:
    const void* m_a;
    const void* m_b;
    int m_length;
    bool m_wantEqual;
};

class CFunctionHolds : public CWaitCondition
{
public:
    explicit CFunctionHolds(const std::function<bool()>& holds) : m_holds(holds) {}
    bool Holds() const override { return m_holds(); }

private:
    const std::function<bool()>& m_holds;
};

class CStringsDiffer : public CWaitCondition
{
public:
    CStringsDiffer(const char* a, const char* b) : m_a(a), m_b(b) {}
    bool Holds() const override
    {
        // Multi-byte texts differ exactly when their bytes do.
        return strcmp(m_a, m_b) != 0;
    }

private:
    const char* m_a;
    const char* m_b;
};

} // namespace

bool WaitForBufferChange(int timeout, const void* buffer, int length, const TaskCancelFlag* cancel)
{
    if (timeout < 1)
        return false;
    const char* bytes = static_cast<const char*>(buffer);
    std::vector<char> copy(bytes, bytes + length);
    return Wait(timeout, CBuffersCompare(buffer, copy.data(), length, false), cancel);
}

bool WaitForBuffersEqual(int timeout, const void* a, const void* b, int length,
                         const TaskCancelFlag* cancel)
{
    return Wait(timeout, CBuffersCompare(a, b, length, true), cancel);
}

bool WaitForBuffersDiffer(int timeout, const void* a, const void* b, int length,
                          const TaskCancelFlag* cancel)
{
    return Wait(timeout, CBuffersCompare(a, b, length, false), cancel);
}

bool WaitForStringsDiffer(int timeout, const char* a, const char* b, const TaskCancelFlag* cancel)
{
    return Wait(timeout, CStringsDiffer(a, b), cancel);
}

bool WaitForCondition(int timeout, const std::function<bool()>& holds, const TaskCancelFlag* cancel)
{
    return Wait(timeout, CFunctionHolds(holds), cancel);
}
