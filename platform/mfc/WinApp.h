// CWinApp: the application object (one per program) and its profile, which
// lives in the registry under HKEY_CURRENT_USER\Software\<key>\<profile name>
// once SetRegistryKey has run, and in the ini file <exe name>.INI before.
#pragma once

#include "platform/mfc/WinThread.h"
#include "platform/mfc/CommandLineInfo.h"
#include "platform/mfc/Collections.h"

#include <vector>

class CDocManager;
class CDocTemplate;
class CDocument;

// String resource with the application's title, the default application name.
const UINT AFX_IDS_APP_TITLE = 0xE000;
const UINT ID_FILE_PRINT_SETUP = 0xE106;

// What the print commands say when the system has no printer.
extern const char AFX_NO_PRINTER_TEXT[];

class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    // Without a name the AFX_IDS_APP_TITLE string or else the exe name is used.
    explicit CWinApp(LPCSTR appName = NULL);
    ~CWinApp() override;

    BOOL InitInstance() override;

    // Each parameter of the command line (the program name aside) to
    // info.ParseParam; switches begin with '-' or '/', which is stripped.
    void ParseCommandLine(CCommandLineInfo& info);
    // New, open and embedded starts; FALSE when the command failed or is one
    // this library does not carry out.
    BOOL ProcessShellCommand(CCommandLineInfo& info);

    // The application's templates live in m_pDocManager, made by the first
    // AddDocTemplate and deleted with the application (templates and all).
    void AddDocTemplate(CDocTemplate* docTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& position) const;
    virtual CDocument* OpenDocumentFile(LPCSTR pathName);
    // FALSE when the user cancelled one document's save.
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL endSession);
    // Command handlers a program maps to ID_FILE_NEW and ID_FILE_OPEN.
    void OnFileNew();
    // Asks for a file of the first template's type.
    void OnFileOpen();
    // Every program's ID_APP_EXIT: closes the main window as its close box
    // does, which ends the program.
    void OnAppExit();
    // The handler a program maps to ID_FILE_PRINT_SETUP: the printer set-up
    // dialog, opened on the choice made before in this run (the default
    // printer at first), which it keeps. Without a printer the print
    // commands' message instead.
    void OnFilePrintSetup();

    CDocManager* m_pDocManager;

    HICON LoadIcon(LPCSTR resourceName) const;
    HICON LoadIcon(UINT resourceId) const;
    HICON LoadStandardIcon(LPCSTR iconName) const;
    HCURSOR LoadCursor(LPCSTR resourceName) const;
    HCURSOR LoadCursor(UINT resourceId) const;
    HCURSOR LoadStandardCursor(LPCSTR cursorName) const;

    // Set by AfxWinMain from what WinMain was given.
    HINSTANCE m_hInstance;
    LPSTR m_lpCmdLine;
    int m_nCmdShow;

    UINT GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue);
    BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int value);
    CString GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue = NULL);
    // A NULL value deletes the entry, a NULL entry the whole section.
    BOOL WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value);
    // Registry profiles only. On success *data is allocated with new BYTE[] and
    // belongs to the caller; on failure it is NULL and *bytes 0.
    BOOL GetProfileBinary(LPCSTR section, LPCSTR entry, BYTE** data, UINT* bytes);
    BOOL WriteProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE data, UINT bytes);

    // Open keys (created when missing) that the caller closes; NULL without a
    // registry key or on failure.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCSTR section);

    // Owned copies made with strdup; a program that changes one frees the old
    // text and stores a new strdup copy.
    LPCSTR m_pszAppName;
    LPCSTR m_pszExeName;
    LPCSTR m_pszRegistryKey;
    LPCSTR m_pszProfileName;
    // The program's path with the extension ".HLP".
    LPCSTR m_pszHelpFilePath;

    // Opens the help file at data (a context id for HELP_CONTEXT).
    virtual void WinHelp(DWORD_PTR data, UINT command = HELP_CONTEXT);

    // Shell open through DDE (ShellOpen.cpp): the main frame answers
    // conversations on the exe name and "system" and hands each execute string
    // to OnDDECommand.
    void EnableShellOpen();
    // Each template's file type under HKEY_CLASSES_ROOT: the extension, the
    // type's name, icon and open command (with compat also print and printto).
    void RegisterShellFileTypes(BOOL compat = FALSE);
    // An execute string of the shell's conversation; TRUE when it was
    // understood. Here: [open("path")] opens the file.
    virtual BOOL OnDDECommand(LPSTR command);
    // The recent-file list: at most maxMRU names from "Recent File List".
    void LoadStdProfileSettings(UINT maxMRU = 4);

    ATOM m_atomApp = 0;
    ATOM m_atomSystemTopic = 0;
    UINT m_nMaxMRU = 0;
    CStringArray m_recentFiles;

protected:
    // The profile moves to the registry under this key; the profile name
    // becomes the application name.
    void SetRegistryKey(LPCSTR registryKey);
    void SetRegistryKey(UINT registryKeyId);

    DECLARE_MESSAGE_MAP()

private:
    static void ReplaceText(LPCSTR& member, LPCSTR text);
    // Registry profile values of one type; anything else counts as missing.
    BOOL ReadProfileValue(LPCSTR section, LPCSTR entry, DWORD type, std::vector<BYTE>& data);
    BOOL WriteProfileValue(LPCSTR section, LPCSTR entry, DWORD type, const BYTE* data,
                           DWORD size);

    // The printer set-up's choice (global memory of the print dialog).
    HGLOBAL m_hDevMode = NULL;
    HGLOBAL m_hDevNames = NULL;
};

CWinApp* AfxGetApp();
LPCSTR AfxGetAppName();
// The main window of the calling thread's object (or of the application).
CWnd* AfxGetMainWnd();

// The program's life: InitInstance, then Run; ExitInstance when
// InitInstance fails. Gives the program's exit code.
int AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int cmdShow);

// Through ShowMessageBox, with the application name as caption, owned by the
// main window (or the popup it shows last) when called on the main window's
// thread; boxes of other threads have no owner.
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT promptId, UINT type = MB_OK, UINT helpId = (UINT)-1);
