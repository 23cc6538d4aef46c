#include "toolbars/TkTBMenuBtn.h"

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

TkStdBtn* TkTBMenuBtn::CreateBaseButton()
{
    return new TkStdBtn;
}
