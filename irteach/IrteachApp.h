// The IR learner program: its one dialog, run modally.
#pragma once

#include <afxwin.h>

class CIrteachApp : public CWinApp
{
public:
    CIrteachApp();

    BOOL InitInstance() override;
};
