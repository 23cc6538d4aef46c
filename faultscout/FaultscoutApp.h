// The reporter program: its start by command line, its one document with the
// log view, and the sink through which the link's threads reach the window.
#pragma once

#include "faultscout/AttachedProcess.h"
#include "faultscout/ReporterSink.h"

#include <afxwin.h>

#include <atomic>

class CFaultscoutView;

class CFaultscoutApp : public CWinApp
{
public:
    CFaultscoutApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    // The sink's show and hide, from any thread.
    void ShowReporter(bool show);
    // The frame is going: the link's threads reach the window no more.
    void OnWindowGone();
    bool IsShown() const { return m_shown; }

private:
    class CSink : public ReporterSink
    {
    public:
        explicit CSink(CFaultscoutApp& app) : m_app(app) {}
        void WriteText(const char* text) override;
        void Show(bool show) override;
        void OnAttached() override;
        void OnProcessEnded() override;

    private:
        // A hello can come before the window exists: it waits, it is not lost.
        // False once the window has gone.
        bool WaitForWindow();
        CFaultscoutApp& m_app;
    };

    bool StartWindow();
    CString ArchiveRoot();

    CSink m_sink;
    std::atomic<CFaultscoutView*> m_view{nullptr};
    std::atomic<HWND> m_frame{nullptr};
    std::atomic<bool> m_windowReady{false};
    std::atomic<bool> m_shown{true};
};

// The link's end of this program.
CAttachedProcess& TheAttachedProcess();
