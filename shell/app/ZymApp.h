// The jukebox's application object: crash link, the one-time warning about
// an old common-controls library, a single running instance (a second start
// hands its file to the first over DDE and ends), the document templates,
// the main frame, and the stamps of the user's last key and button presses.
//
// ZymApp.cpp: start-up and exit; SingleInstance.cpp: the DDE link.
#pragma once

#include "shell/app/ShellOperations.h"

#include <afxwin.h>
#include <ddeml.h>

class CZymApp : public CWinApp
{
public:
    CZymApp();
    ~CZymApp() override;

    BOOL InitInstance() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    int ExitInstance() override;
    // The shell's open command; the path comes in lower case.
    BOOL OnDDECommand(LPSTR command) override;

    // Template number (1 to 15); null outside or before InitInstance.
    CDocTemplate* GetDocTemplate(int number) const;

    // 3: COMCTL32 exports InitCommonControlsEx and DllInstall, 2: only the
    // first, 1: neither; 0 while the library is not loaded (asked again).
    static int GetCommonControlsLevel();

    // The single-instance link's transactions (SingleInstance.cpp).
    HDDEDATA OnDdeTransaction(UINT type, HSZ topic, HDDEDATA data);

    BYTE m_bSecondInstance = 0;
    DWORD m_idDdeInst = 0;
    HSZ m_hszService = nullptr;
    HSZ m_hszTopic = nullptr;
    HCONV m_hDdeConv = nullptr;
    DWORD m_dwDdeResult = 0;

protected:
    void OnAppAbout();
    DECLARE_MESSAGE_MAP()

private:
    void CheckCommonControls();
    // SingleInstance.cpp
    BOOL StartDde();
    BOOL IsAnotherInstanceRunning();
    void HandOverToFirstInstance();
    void BecomeFirstInstance();
    void EndDde();

    void CreateDocTemplates();
    BOOL CreateMainFrame();
    // Writes the "ddeexec" open command of each file type.
    void RegisterDdeExec();
    BOOL ProcessCommandLine();

    CMultiDocTemplate* m_pDocTemplates[15] = {};
    // Held open for the life of the first instance: its existence tells a
    // later start that this one runs.
    HANDLE m_hInstanceEvent = nullptr;
    CShellOperations m_operations;
};

CZymApp* GetZymApp();
// The folder of the running program, with its final backslash.
CString GetProgramFolder();
