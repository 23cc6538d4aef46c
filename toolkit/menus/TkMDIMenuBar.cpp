#include "toolkit/menus/TkMDIMenuBar.h"

IMPLEMENT_DYNCREATE(TkMDIMenuBar, TkMenuBar)

TkMDIMenuBar::TkMDIMenuBar()
{
    for (TkStdBtn* button : {(TkStdBtn*)&m_icon, (TkStdBtn*)&m_caption})
    {
        button->m_nID = kTkCaptionButtonId;
        button->SetStyle(kTkMenuButtonStyle | TBBS_HIDDEN);
        button->Init(this, NULL);
    }
}

TkMDIMenuBar::~TkMDIMenuBar()
{
    RemoveAllButtons();
}

BOOL TkMDIMenuBar::TakeOutCaptionButtons()
{
    BOOL found = FALSE;
    for (int i = GetCount() - 1; i >= 0; i--)
    {
        if (GetButton(i) == &m_icon || GetButton(i) == &m_caption)
        {
            m_buttons.RemoveAt(i);
            found = TRUE;
        }
    }
    if (found)
        m_nPressedIndex = m_nHotIndex = m_nMenuIndex = -1;
    return found;
}

void TkMDIMenuBar::AddCaptionButtons()
{
    TakeOutCaptionButtons();
    m_buttons.InsertAt(0, &m_icon);
    m_buttons.Add(&m_caption);
    if (m_nHotIndex >= 0)
        m_nHotIndex++;
    UpdateCaptionButtons(FALSE);
}

void TkMDIMenuBar::GetExtraBarInfo(TkControlBarInfo* info)
{
    BOOL had = TakeOutCaptionButtons();
    TkMenuBar::GetExtraBarInfo(info);
    if (had)
        AddCaptionButtons();
}

void TkMDIMenuBar::SetExtraBarInfo(TkControlBarInfo* info, CFrameWnd* frame)
{
    TkMenuBar::SetExtraBarInfo(info, frame);
    AddCaptionButtons();
}

BOOL TkMDIMenuBar::SetButtons(const UINT* ids, int count)
{
    if (!TkMenuBar::SetButtons(ids, count))
        return FALSE;
    AddCaptionButtons();
    return TRUE;
}

void TkMDIMenuBar::RemoveAllButtons()
{
    TakeOutCaptionButtons();
    TkMenuBar::RemoveAllButtons();
}

BOOL TkMDIMenuBar::RemoveButton(int index, BOOL noRecalc)
{
    if (index >= 0 && index < GetCount() &&
        (GetButton(index) == &m_icon || GetButton(index) == &m_caption))
        return FALSE;
    return TkMenuBar::RemoveButton(index, noRecalc);
}

void TkMDIMenuBar::InsertButton(int index, UINT id, BOOL separator, BOOL noRecalc)
{
    int count = GetCount();
    if (count > 0 && GetButton(count - 1) == &m_caption && index >= count)
        index = count - 1;
    TkMenuBar::InsertButton(index, id, separator, noRecalc);
}

void TkMDIMenuBar::ResetButtons(BOOL noLayout)
{
    TakeOutCaptionButtons();
    TkMenuBar::ResetButtons(TRUE);
    if (!noLayout)
        RelayoutFrame();
}

BOOL TkMDIMenuBar::DropButton(const CRect& rect, TkStdBtn* button, BOOL copy, BOOL noRecalc)
{
    BOOL result = TkMenuBar::DropButton(rect, button, copy, TRUE);
    BOOL selection = HoldsSelection();
    int icon = IndexOfButton(&m_icon);
    if (icon > 0)
    {
        m_buttons.RemoveAt(icon);
        m_buttons.InsertAt(0, &m_icon);
        if (selection && m_nPressedIndex < icon)
            m_nPressedIndex++;
    }
    int caption = IndexOfButton(&m_caption);
    if (caption >= 0 && caption < GetCount() - 1)
    {
        m_buttons.RemoveAt(caption);
        m_buttons.Add(&m_caption);
        if (selection && m_nPressedIndex > caption)
            m_nPressedIndex--;
    }
    if (!noRecalc)
        RecalcParent();
    return result;
}

void TkMDIMenuBar::ShowCaptionButton(TkStdBtn* button, BOOL show)
{
    DWORD style = button->GetStyle();
    button->SetStyle(show ? style & ~TBBS_HIDDEN : style | TBBS_HIDDEN);
}

BOOL TkMDIMenuBar::UpdateCaptionButtons(BOOL hide)
{
    HWND child = TkActiveMDIChild(this);
    DWORD style = child ? (DWORD)::GetWindowLongA(child, GWL_STYLE) : 0;
    if (hide || !child || !::IsZoomed(child) || !(style & WS_SYSMENU))
    {
        if (m_caption.IsHidden())
            return FALSE;
        ShowCaptionButton(&m_caption, FALSE);
        ShowCaptionButton(&m_icon, FALSE);
        return TRUE;
    }
    BOOL changed = FALSE;
    if (m_icon.IsHidden())
    {
        ShowCaptionButton(&m_icon, TRUE);
        changed = TRUE;
    }
    HICON icon = (HICON)::SendMessageA(child, WM_GETICON, ICON_BIG, 0);
    if (!icon)
        icon = (HICON)::SendMessageA(child, WM_GETICON, ICON_SMALL, 0);
    if (!icon)
        icon = (HICON)::GetClassLongPtrA(child, GCLP_HICONSM);
    if (icon != m_icon.m_hIcon)
    {
        m_icon.m_hIcon = icon;
        m_icon.Invalidate(FALSE);
    }
    DWORD mirror = style & kTkCaptionStyles;
    if (!m_caption.IsHidden() && m_caption.m_dwStyleMirror == mirror)
        return changed;
    ShowCaptionButton(&m_caption, TRUE);
    m_caption.m_dwStyleMirror = mirror;
    m_caption.Invalidate(FALSE);
    return TRUE;
}

BOOL TkMDIMenuBar::SetActiveMaskAndUpdate(UINT mask)
{
    SetActiveMask(mask, FALSE);
    return UpdateCaptionButtons(FALSE);
}
