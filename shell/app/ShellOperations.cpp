#include "shell/app/ShellOperations.h"

#include "core/doc/ZymDoc.h"

#include "shell/dialogs/SleepDlg.h"

namespace
{
enum TimedAction
{
    kSleep = 1,
    kExit = 2,
};
}

// The scheduler is done: its running and armed flags go, then the program
// sleeps until the user wakes it (or ends it), or ends.
void CShellOperations::RunTimedAction()
{
    if (!m_pDoc)
        return;
    TimedPlay& timed = m_pDoc->GetTimedPlay();
    timed.started = FALSE;
    timed.enabled = FALSE;
    switch (timed.action)
    {
    case kSleep:
    {
        m_pDoc->GoToSleep();
        CSleepDlg sleep(AfxGetMainWnd());
        if (sleep.DoModal() == IDOK)
            m_pDoc->WakeUp();
        else
            m_pDoc->PostExit();
        break;
    }
    case kExit:
        m_pDoc->PostExit();
        break;
    }
}
