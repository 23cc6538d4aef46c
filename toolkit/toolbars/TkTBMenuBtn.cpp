#include "toolkit/toolbars/TkTBMenuBtn.h"

#include "toolkit/toolbars/TkBtnMap.h"
#include "toolkit/toolbars/TkCustomToolBar.h"
#include "toolkit/toolbars/TkDrawData.h"

#include <algorithm>
#include <ctype.h>

namespace {

TkStdBtn* CreateMenuBtn()
{
    return new TkTBMenuBtn;
}

}  // namespace

const TkBtnFactory TkTBMenuBtn::classTkTBMenuBtn = {CreateMenuBtn};

TkTBMenuBtn::TkTBMenuBtn() : m_dwValue1(0), m_dwValue2(0), m_chMnemonic(0), m_dwMenus(0)
{
    m_nKind = kTkBtnMenu;
}

const TkBtnFactory* TkTBMenuBtn::GetButtonClass() const
{
    return &classTkTBMenuBtn;
}

void TkTBMenuBtn::UpdateMnemonic()
{
    int amp = m_strText.Find('&');
    BOOL hasNext = amp >= 0 && amp + 1 < m_strText.GetLength();
    m_chMnemonic = hasNext ? (char)tolower((unsigned char)m_strText[amp + 1]) : 0;
}

void TkTBMenuBtn::Init(TkCustomToolBar* bar, const TkBtnInitData* data)
{
    m_pBar = bar;
    if (data != NULL) {
        m_dwValue1 = data->dwValue1;
        m_dwValue2 = data->dwValue2;
        m_strText = data->pszText != NULL ? data->pszText : "";
        m_dwMenus = data->dwValue4;
        UpdateMnemonic();
    }
    AdjustSize();
}

BOOL TkTBMenuBtn::BtnPressDown(CPoint)
{
    if (HasStyle(TBBS_DISABLED))
        return FALSE;
    m_dwStyle |= TBBS_PRESSED;
    Invalidate(FALSE);
    OpenMenu();
    return FALSE;
}

void TkTBMenuBtn::OpenMenu()
{
    m_pBar->OpenMenuButton(this, m_dwValue1, m_dwValue2);
}

void TkTBMenuBtn::AdjustSize()
{
    HDC dc = GetDC(NULL);
    HGDIOBJ old = SelectObject(dc, m_pBar->GetFont()->GetSafeHandle());
    CRect text(0, 0, 0, 0);
    DrawTextA(dc, m_strText, -1, &text, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(NULL, dc);
    m_cx = text.Width() + 10;
    m_cy = text.Height() + 6;
    m_pBar->m_cxWidest = std::max(m_pBar->m_cxWidest, m_cx);
}

void TkTBMenuBtn::SelectImage(TkDrawData*)
{
}

void TkTBMenuBtn::BlitImage(TkDrawData* drawData)
{
    BOOL down = HasStyle(TBBS_PRESSED) || HasStyle(TBBS_CHECKED);
    CRect rect(down ? 5 : 4, down ? 4 : 3, m_cx, m_cy);
    HDC dc = drawData->m_hdcButton;
    HGDIOBJ old = SelectObject(dc, m_pBar->GetFont()->GetSafeHandle());
    SetTextColor(dc, GetSysColor(COLOR_MENUTEXT));
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, m_strText, -1, &rect, DT_SINGLELINE);
    SetBkMode(dc, OPAQUE);
    SelectObject(dc, old);
}

TkStdBtn* TkTBMenuBtn::CreateBaseButton()
{
    return new TkStdBtn;
}
