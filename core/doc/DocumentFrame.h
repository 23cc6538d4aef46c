// What the document leaves to the application: the main frame with the
// shell's dialogs, and what happens when the scheduler's timed play ends.
#pragma once

#include <afx.h>

class CMp3Control;
class CZymOptions;

// The main frame and the shell's dialogs as the document uses them.
class CDocumentFrame
{
public:
    virtual ~CDocumentFrame() {}
    virtual void CreateViews() = 0;
    // The indicator shown while the start-up waits for the device server.
    virtual void ShowStatusIndicator(BOOL show) = 0;
    virtual void ShowStartupTip() = 0;
    // The options sheet, modal, under the title; its OK applies the options.
    virtual void ShowOptions(CZymOptions& options, const char* title) = 0;
    // WM_CLOSE to the main window.
    virtual void PostClose() = 0;
    // The MP3 player once it runs, else null.
    virtual CMp3Control* GetMp3Player() = 0;
    // The program's file version for the event log, "unknown" without one.
    virtual CString GetVersionText() = 0;
    // Tells the user why the program cannot go on, and ends it.
    virtual void FatalError(const char* text) = 0;
};

// The tick calls it when the scheduler's timed play ends; until the
// application connects it nothing happens then.
class CDocumentOperations
{
public:
    virtual ~CDocumentOperations() {}
    // What the scheduler does when its timed play ends.
    virtual void RunTimedAction() = 0;
};
