#include "irteach/IrteachApp.h"

#include <commctrl.h>
#include <objbase.h>

#include "irteach/IrteachDlg.h"
#include "platform/tavlinx/TavlinXApi.h"

namespace {

CIrteachApp theApp;

} // namespace

CIrteachApp::CIrteachApp() : CWinApp("Irteach")
{
}

// The interface control lives in this thread's apartment; its events arrive
// through the dialog's message loop.
BOOL CIrteachApp::InitInstance()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (FAILED(CoInitialize(nullptr)))
        return FALSE;
    DWORD controlClass = 0;
    RegisterTavlinXClass(&controlClass);
    {
        CIrteachDlg dialog;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
    }
    if (controlClass)
        CoRevokeClassObject(controlClass);
    CoUninitialize();
    return FALSE;
}
