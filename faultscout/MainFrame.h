// The reporter's frame: a flat tool bar over the log, the window place and log
// font kept per watched program, the Display menu and the close question.
#pragma once

#include "core/crashlink/CrashLinkProtocol.h"

#include <afxwin.h>

class CFaultscoutView;

class CMainFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    // Section "Faultscout" when no program is watched.
    static const char kDefaultSection[];

    // Position and font of the section's settings; the section is kept for saving.
    void LoadSettings(LPCSTR section);
    void RecalcLayout(BOOL notify = TRUE) override;
    void OnUpdateFrameTitle(BOOL addToTitle) override;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnDestroy();
    void OnClose();
    LRESULT OnQueryEndSession(WPARAM wParam, LPARAM lParam);
    void OnAttached();
    void OnDisplayDump();
    void OnDisplayThreads();
    void OnDisplayHide();
    void OnDisplayFont();
    DECLARE_MESSAGE_MAP()

private:
    CFaultscoutView* LogView();
    void RunReport(const CrashLinkHeader& request);
    // False when the user keeps the window open.
    bool MayQuit();

    HWND m_toolBar = nullptr;
    CString m_section = kDefaultSection;
    CString m_title;
};
