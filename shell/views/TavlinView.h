// The device traffic monitor: every device text the document collects
// (commands sent, texts received) scrolls through a log window every 200 ms
// unless frozen, and a typed device command text is sent.
#pragma once

#include "library/views/BannerFormView.h"
#include "common/Tty.h"

class CZymDoc;

class CTavlinView : public CBannerFormView
{
    DECLARE_DYNCREATE(CTavlinView)
public:
    CTavlinView();

    // The texts waiting in the document's queue go to the log window at
    // once, unless "Freeze" is ticked: what the timer does.
    void DrainQueue();
    // The typed text to the devices.
    void SendCommand();
    CTty& GetLog() { return m_log; }

    BOOL DestroyWindow() override;

    static const UINT_PTR kTimerId = 1;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnInitialUpdate() override;
    void Layout(int cx, int cy) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    void OnTimer(UINT_PTR id);
    void OnFreeze();
    void OnLog();
    DECLARE_MESSAGE_MAP()

private:
    CZymDoc* GetDoc();

    CTty m_log;
    CString m_command;
    BOOL m_freeze = FALSE;
    BOOL m_logging = FALSE;
    bool m_timerRunning = false;
};
