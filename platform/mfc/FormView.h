// CFormView: a view made from a dialog template, with its controls, dialog
// keys and data exchange; it scrolls when its window is smaller than the form.
#pragma once

#include "platform/mfc/ScrollView.h"

struct CCreateContext;

class CFormView : public CScrollView
{
    DECLARE_DYNAMIC(CFormView)
public:
    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                CWnd* parentWnd, UINT id, void* context = NULL) override;
    // Loads the members into the controls (UpdateData(FALSE)).
    void OnInitialUpdate() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnDraw(CDC* dc) override;

protected:
    explicit CFormView(UINT templateId);
    explicit CFormView(LPCSTR templateName);

    int OnCreate(LPCREATESTRUCTA cs);
    DECLARE_MESSAGE_MAP()

    LPCSTR m_lpszTemplateName;
    // Only valid while Create runs: the window of a dialog template gets no context.
    CCreateContext* m_pCreateContext;
};
