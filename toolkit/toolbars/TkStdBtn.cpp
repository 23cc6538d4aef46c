#include "toolbars/TkStdBtn.h"

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
