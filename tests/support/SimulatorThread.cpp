#include "tests/support/SimulatorThread.h"

CSimulatorThread::~CSimulatorThread()
{
    Stop();
}

void CSimulatorThread::Start()
{
    m_stop = false;
    m_thread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
}

void CSimulatorThread::Stop()
{
    m_stop = true;
    if (!m_thread)
        return;
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    m_thread = nullptr;
}

DWORD WINAPI CSimulatorThread::ThreadMain(void* self)
{
    CSimulatorThread* thread = static_cast<CSimulatorThread*>(self);
    while (!thread->m_stop)
        thread->Step();
    return 0;
}
