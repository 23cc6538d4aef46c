// CPropertySheet and CPropertyPage over the property sheets of comctl32,
// modal (DoModal) or modeless (Create). Each page is a dialog of its own,
// made by the sheet when it is first shown.
#pragma once

#include "platform/mfc/Dialog.h"

#include <commctrl.h>

#include <vector>

class CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)
public:
    explicit CPropertyPage(UINT templateId, UINT captionId = 0);

    // TRUE lets the page show; the default loads the controls the first time.
    virtual BOOL OnSetActive();
    // FALSE keeps the page (a value failed); the default saves the controls.
    virtual BOOL OnKillActive();
    // FALSE keeps the sheet open; the default calls OnOK.
    virtual BOOL OnApply();
    virtual void OnReset();
    void OnOK() override;
    void OnCancel() override;
    // Marks the page changed (the sheet enables Apply) or unchanged.
    void SetModified(BOOL changed = TRUE);

    PROPSHEETPAGEA m_psp;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    friend class CPropertySheet;
    static INT_PTR CALLBACK PageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    CString m_caption;
};

class CPropertySheet : public CWnd
{
    DECLARE_DYNAMIC(CPropertySheet)
public:
    explicit CPropertySheet(LPCSTR caption = NULL, CWnd* parentWnd = NULL, UINT selectPage = 0);
    explicit CPropertySheet(UINT captionId, CWnd* parentWnd = NULL, UINT selectPage = 0);

    void AddPage(CPropertyPage* page);
    void RemovePage(CPropertyPage* page);
    void RemovePage(int index);
    int GetPageCount() const;
    CPropertyPage* GetPage(int index) const;
    int GetPageIndex(CPropertyPage* page) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int index);
    BOOL SetActivePage(CPropertyPage* page);
    void SetTitle(LPCSTR title, UINT style = 0);
    void PressButton(int button);

    // IDOK when the sheet closed with OK (or Apply then Close), IDCANCEL else.
    virtual INT_PTR DoModal();
    // Modeless; the sheet lives until its window is destroyed.
    virtual BOOL Create(CWnd* parentWnd = NULL, DWORD style = (DWORD)-1, DWORD exStyle = 0);
    // Called once the sheet's window exists, before its pages are made.
    virtual BOOL OnInitDialog();

    PROPSHEETHEADERA m_psh;

    // Ctrl+Tab and Ctrl+PgDn (Shift or PgUp: backwards) change the page from
    // anywhere in the sheet; TRUE when the message was such a key.
    BOOL ChangePageByKey(const MSG* msg);
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void OnShowWindow(BOOL show, UINT status);
    DECLARE_MESSAGE_MAP()

private:
    void CommonConstruct(CWnd* parentWnd, UINT selectPage);
    // Fills m_psh with the pages; the array lives as long as the sheet runs.
    void BuildHeader();
    static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);
    static LRESULT CALLBACK ModalKeyHook(int code, WPARAM wParam, LPARAM lParam);

    CString m_caption;
    CWnd* m_pParentWnd;
    // Cleared once the sheet was first shown, or when OnInitDialog placed it.
    BOOL m_centerOnShow;
    std::vector<CPropertyPage*> m_pages;
    std::vector<PROPSHEETPAGEA> m_pageRecords;
};
