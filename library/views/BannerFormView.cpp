#include "library/views/BannerFormView.h"

IMPLEMENT_DYNAMIC(CBannerFormView, CFormView)

BEGIN_MESSAGE_MAP(CBannerFormView, CFormView)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CBannerFormView::CBannerFormView(UINT templateId, const char* caption)
    : CFormView(templateId), m_banner(this)
{
    m_banner.SetText(caption);
}

CViewsHost* CBannerFormView::Host()
{
    return dynamic_cast<CViewsHost*>(GetDocument());
}

void CBannerFormView::OnInitialUpdate()
{
    CFormView::OnInitialUpdate();
    // The form's own size: the controls follow the window instead.
    SetScrollSizes(MM_TEXT, CSize(1, 1));
    CViewsHost* host = Host();
    m_banner.Show(host && host->AreBannersShown());
    LayOutNow();
}

void CBannerFormView::OnUpdate(CView*, LPARAM hint, CObject*)
{
    CViewsHost* host = Host();
    switch (hint)
    {
    case kViewHintBannersShown:
    case kViewHintBannersHidden:
        m_banner.Show(hint == kViewHintBannersShown);
        LayOutNow();
        Invalidate(FALSE);
        break;
    case kViewHintActiveView:
        m_banner.SetActive(host && host->GetActiveListView() == this);
        break;
    }
}

void CBannerFormView::OnActivateView(BOOL activate, CView* activateView, CView* deactiveView)
{
    CFormView::OnActivateView(activate, activateView, deactiveView);
    CViewsHost* host = Host();
    if (!host)
        return;
    if (activate)
    {
        host->SetActiveListView(this);
        m_banner.SetActive(TRUE);
        GetDocument()->UpdateAllViews(this, kViewHintActiveView);
    }
    else if (host->GetActiveListView() != this)
        m_banner.SetActive(FALSE);
}

void CBannerFormView::LayOutNow()
{
    CRect client;
    GetClientRect(&client);
    Layout(client.Width(), client.Height());
}

void CBannerFormView::OnPaint()
{
    CPaintDC dc(this);
    m_banner.Draw(&dc, dc.m_ps.rcPaint);
}

void CBannerFormView::OnSize(UINT type, int cx, int cy)
{
    CFormView::OnSize(type, cx, cy);
    Layout(cx, cy);
    m_banner.Resize(cy);
}
