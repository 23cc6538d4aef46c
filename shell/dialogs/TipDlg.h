// The tip of the day: the next tip of the tips file on a painted card, with
// "Next tip" and the choice to show tips at start-up. Without a tips file the
// dialog is not shown at all; the caller only hears a beep.
#pragma once

#include <afxwin.h>

#include "shell/dialogs/TipDlgResources.h"
#include "shell/dialogs/TipReader.h"

class CTipDlg : public CDialog
{
public:
    // Opens the tips file (null: "Tips.tip" beside the program) and reads a tip.
    explicit CTipDlg(CWnd* parent = NULL, LPCSTR tipsFile = NULL);

    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;

    int m_bStartup;
    CString m_strTip;

protected:
    // Where a modal run without tips ends.
    virtual void Beep();

    void OnNextTip();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    // Tells the user when the reader could not reach its place in the file.
    void ReportSeekFailure();
    // A hidden marker control's place in the client area.
    CRect ItemRect(int id) const;
    void PaintBulb(CDC& dc);
    void PaintTip(CDC& dc, const CRect& text);

    CTipReader m_reader;
};
