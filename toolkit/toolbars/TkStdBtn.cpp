#include "toolkit/toolbars/TkStdBtn.h"

#include "toolkit/toolbars/TkCustomToolBar.h"

#include <algorithm>
#include <string.h>

namespace {

const int kDefaultWidth = 23;
const int kDefaultHeight = 22;

TkStdBtn* CreateStdBtn()
{
    return new TkStdBtn;
}

}  // namespace

const TkBtnFactory TkStdBtn::classTkStdBtn = {CreateStdBtn};

TkStdBtn::TkStdBtn()
    : m_nID(0), m_nImage(0), m_dwStyle(0), m_x(-1), m_y(-1), m_cx(kDefaultWidth),
      m_cy(kDefaultHeight), m_nKind(kTkBtnStandard), m_pBar(NULL)
{
}

void TkStdBtn::SetMode(DWORD)
{
}

void TkStdBtn::SetPos(int x, int y)
{
    m_x = x;
    m_y = y;
}

const TkBtnFactory* TkStdBtn::GetButtonClass() const
{
    return &classTkStdBtn;
}

void TkStdBtn::Invalidate(BOOL erase)
{
    if (m_pBar != NULL && m_pBar->GetSafeHwnd() != NULL) {
        CRect rect = GetRect();
        m_pBar->InvalidateRect(&rect, erase);
    }
}

void TkStdBtn::Init(TkCustomToolBar* bar, const TkBtnInitData*)
{
    m_pBar = bar;
    AdjustSize();
}

BOOL TkStdBtn::BtnPressDown(CPoint)
{
    if (HasStyle(TBBS_DISABLED))
        return FALSE;
    m_dwStyle |= TBBS_PRESSED;
    if (!HasStyle(TBSTYLE_DROPDOWN))
        return TRUE;
    Invalidate(FALSE);
    m_pBar->UpdateWindow();
    TkCustomToolBar::s_bButtonAction = TRUE;
    SendNotification(kTkNotifyDropDown, 0, 0);
    TkCustomToolBar::s_bButtonAction = FALSE;
    m_dwStyle &= ~TBBS_PRESSED;
    Invalidate(FALSE);
    m_pBar->UpdateHotTracking(FALSE);
    return FALSE;
}

void TkStdBtn::BtnMouseMove(CPoint pt)
{
    // The right and bottom edges count as inside.
    CRect rect = GetRect();
    rect.InflateRect(0, 0, 1, 1);
    if (rect.PtInRect(pt))
        m_dwStyle |= TBBS_PRESSED;
    else
        m_dwStyle &= ~TBBS_PRESSED;
}

void TkStdBtn::BtnCancel()
{
    m_dwStyle &= ~TBBS_PRESSED;
    Invalidate(FALSE);
}

UINT TkStdBtn::BtnPressUp(CPoint pt)
{
    m_dwStyle &= ~TBBS_PRESSED;
    CRect rect = GetRect();
    rect.InflateRect(0, 0, 1, 1);
    if (!rect.PtInRect(pt))
        return 0;
    if (!HasStyle(TBBS_DISABLED) && HasStyle(TBBS_CHECKBOX)) {
        TkBtnStyleChange change = {TBBS_CHECKED | TBBS_INDETERMINATE,
                                   HasStyle(TBBS_CHECKED) ? 0 : TBBS_CHECKED};
        m_pBar->InformButtons(m_nID, change);
    }
    return m_nID;
}

void TkStdBtn::BarStyleChanged(DWORD)
{
}

void TkStdBtn::GetBtnData(BYTE* size, const BYTE** data) const
{
    *size = 0;
    *data = NULL;
}

void TkStdBtn::SetBtnData(BYTE, const BYTE*)
{
}

INT_PTR TkStdBtn::OnToolHitTest(CPoint, TOOLINFOA* info) const
{
    if (info != NULL) {
        info->uFlags = 0;
        info->hwnd = m_pBar->GetSafeHwnd();
        info->uId = m_nID;
        info->rect = GetRect();
        info->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return m_nID;
}

void TkStdBtn::InformBtn(int kind, const void* data)
{
    if (kind != kTkInformStyle)
        return;
    const TkBtnStyleChange* change = static_cast<const TkBtnStyleChange*>(data);
    m_dwStyle = (m_dwStyle & ~change->dwMask) | change->dwSet;
    Invalidate(FALSE);
}

void TkStdBtn::AdjustSize()
{
    CSize image(m_pBar->m_layout.m_cxImage, m_pBar->m_layout.m_cyImage);
    m_cx = IsSeparator() ? (image.cx + 8) / 3 : image.cx + 7;
    m_cy = image.cy + 7;
    m_pBar->m_cxWidest = std::max(m_pBar->m_cxWidest, m_cx);
}

LRESULT TkStdBtn::SendNotification(int code, DWORD_PTR value1, DWORD_PTR value2)
{
    TkTBNotify notify;
    memset(&notify, 0, sizeof(notify));
    notify.hdr.hdr.hwndFrom = m_pBar->GetSafeHwnd();
    notify.hdr.hdr.idFrom = m_pBar->GetDlgCtrlID();
    notify.hdr.hdr.code = code;
    notify.hdr.iItem = m_nID;
    notify.nIndex = m_pBar->IndexOfButton(this);
    notify.dwValue1 = value1;
    notify.dwValue2 = value2;
    CWnd* owner = m_pBar->GetOwnerWindow();
    if (owner == NULL)
        return 0;
    return owner->SendMessage(WM_NOTIFY, notify.hdr.hdr.idFrom, (LPARAM)&notify);
}
