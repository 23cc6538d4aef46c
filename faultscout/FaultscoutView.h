// The reporter's only view: the log. Texts from the link's threads wait in a
// queue under the view lock and are appended on the GUI thread; the log itself
// is the shared log window, a child that fills the view and wraps its lines.
#pragma once

#include "common/Tty.h"

#include <afxmt.h>
#include <afxwin.h>

#include <deque>

class CFaultscoutView : public CView
{
    DECLARE_DYNCREATE(CFaultscoutView)
public:
    // Texts that may wait for the GUI thread; later ones are dropped.
    static const size_t kMaxPendingTexts = 500;

    // Any thread.
    void QueueText(LPCSTR text);

    // GUI thread.
    CString GetText() const;
    void SetText(LPCSTR text);
    void ClearText();
    // The view keeps its own copy of the font.
    void SetLogFont(const LOGFONTA& font);
    LOGFONTA GetLogFont() const;
    void OnDraw(CDC* dc) override;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnSize(UINT type, int cx, int cy);
    void OnSetFocus(CWnd* oldWnd);
    void OnFlushTexts();
    void OnClear();
    void OnSelectAll();
    void OnEditCommand(UINT id);
    void OnTestLine();
    DECLARE_MESSAGE_MAP()

private:
    CTty m_log;
    CFont m_font;
    std::deque<CString> m_pending;
    CCriticalSection m_lock;
    int m_testLines = 0;
};
