// CDialog: a dialog box from a template in the resources (or in memory),
// modal with its own message loop (DoModal) or modeless (Create).
#pragma once

#include "platform/mfc/Wnd.h"

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parentWnd = NULL);
    explicit CDialog(LPCSTR templateName, CWnd* parentWnd = NULL);

    // Modeless.
    virtual BOOL Create(LPCSTR templateName, CWnd* parentWnd = NULL);
    virtual BOOL Create(UINT templateId, CWnd* parentWnd = NULL);
    virtual BOOL CreateIndirect(LPCDLGTEMPLATEA dialogTemplate, CWnd* parentWnd = NULL);
    // Runs until EndDialog; gives its result, or -1 when the dialog could not be made.
    virtual INT_PTR DoModal();
    // Modal: ends the loop with result. Modeless: hides the dialog.
    void EndDialog(int result);

    // Loads the members into the controls; TRUE lets the dialog manager set the focus.
    virtual BOOL OnInitDialog();
    // Saves the controls (staying open when a value fails) and ends with IDOK.
    virtual void OnOK();
    virtual void OnCancel();
    BOOL PreTranslateMessage(MSG* msg) override;

    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* control);
    void SetDefID(UINT id);
    DWORD GetDefID() const;
    void MapDialogRect(LPRECT rect) const;

    LPCSTR m_lpszTemplateName;
    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

protected:
    // The modal loop: runs until EndDialog ends it or WM_QUIT arrives.
    int RunModalLoop();
    // Owner of a modal dialog: the given parent's top-level window, else the main window.
    HWND PreModal();
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    // Fills the controls from the template's initialisation data (the
    // RT_DLGINIT resource of the same name): the strings its list and combo
    // boxes start with. TRUE when there is none, or all of it was taken.
    BOOL ExecuteDlgInit(LPCSTR templateName);

    DECLARE_MESSAGE_MAP()

private:
    void CommonConstruct(LPCSTR templateName, CWnd* parentWnd);
    void CenterUnlessPlaced(const RECT& before);

    BOOL m_inModalLoop;
    BOOL m_endModalLoop;
    int m_nModalResult;
};
