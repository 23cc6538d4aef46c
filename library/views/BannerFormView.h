// A form view with the banner strip at its left, as the library's views and
// the task view have it: the banner follows the banner option (hints 16 and
// 17), lights up while its view is the active one (hint 20 to the others)
// and the form lays its controls out to its right.
#pragma once

#include "common/HelperBanner.h"
#include "library/views/ViewsHost.h"

#include <afxext.h>

class CBannerFormView : public CFormView
{
    DECLARE_DYNAMIC(CBannerFormView)
public:
    CHelperBanner& GetBanner() { return m_banner; }

protected:
    CBannerFormView(UINT templateId, const char* caption);

    // Null when the document is not the program's.
    CViewsHost* Host();
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override;
    // Places the controls right of the banner in a client area of that size.
    virtual void Layout(int cx, int cy) = 0;
    void LayOutNow();

    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    CHelperBanner m_banner;
};
