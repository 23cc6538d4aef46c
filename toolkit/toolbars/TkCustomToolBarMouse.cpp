// TkCustomToolBar's messages: presses, capture and release, hot tracking,
// delayed hiding and the tool-bar messages that add and delete buttons.
#include "toolkit/toolbars/TkCustomToolBar.h"

#include "toolkit/toolbars/TkBmpMgr.h"
#include "toolkit/toolbars/TkDrawData.h"
#include "toolkit/toolbars/TkToolBarManager.h"

BEGIN_MESSAGE_MAP(TkCustomToolBar, TkControlBar)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_CANCELMODE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_WM_SHOWWINDOW()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_MOUSEACTIVATE()
    ON_WM_WINDOWPOSCHANGING()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_REGISTERED_MESSAGE(s_nNoDelayHideMsg, OnNoDelayHide)
    ON_MESSAGE(TB_ADDBUTTONSA, OnAddButtons)
    ON_MESSAGE(TB_DELETEBUTTON, OnDeleteButton)
END_MESSAGE_MAP()

void TkCustomToolBar::SetPrompt(UINT id)
{
    CFrameWnd* frame = GetDockingFrame();
    if (frame != NULL)
        frame->SendMessage(WM_SETMESSAGESTRING, id);
}

LRESULT TkCustomToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY && m_toolTip.OnNeedText(reinterpret_cast<NMHDR*>(lParam)))
        return 0;
    if ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_MOUSELEAVE)
        ShowPointerHelp(message, wParam, lParam);
    return TkControlBar::WindowProc(message, wParam, lParam);
}

void TkCustomToolBar::ShowPointerHelp(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_bCustomizing || message == WM_MOUSELEAVE) {
        m_toolTip.Reset();
        SetFlyByPrompt(0);
        return;
    }
    if (m_dwStyle & CBRS_TOOLTIPS)
        m_toolTip.Relay(this, message, wParam, lParam);
    if (message != WM_MOUSEMOVE || !(m_dwStyle & CBRS_FLYBY) || m_nPressedIndex >= 0)
        return;
    // The bar hears when the pointer leaves it, to put the idle prompt back.
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
    TrackMouseEvent(&track);
    int index = ButtonHitTest((short)LOWORD(lParam), (short)HIWORD(lParam), NULL);
    // Separators and menu titles (a menu bar's buttons) have no prompt.
    TkStdBtn* button = index < 0 ? NULL : GetButton(index);
    BOOL command = button != NULL && !button->IsSeparator() && button->m_nKind != kTkBtnMenu;
    SetFlyByPrompt(command ? button->m_nID : 0);
}

void TkCustomToolBar::SetFlyByPrompt(UINT id)
{
    if (id == m_nFlyById)
        return;
    m_nFlyById = id;
    SetPrompt(id != 0 ? id : AFX_IDS_IDLEMESSAGE);
}

// A press in customise mode, or with Alt held, drags the button; the drag
// may destroy this bar, so nothing here touches it afterwards.
BOOL TkCustomToolBar::PressButton(CPoint point, BOOL dragAllowed)
{
    if (s_bButtonAction)
        return FALSE;
    int index = ButtonHitTest(point.x, point.y, NULL);
    if (index < 0)
        return FALSE;
    TkStdBtn* button = GetButton(index);
    BOOL alt = GetKeyState(VK_MENU) < 0;
    TkToolBarManager* manager = GetToolBarManager();
    if (dragAllowed && manager != NULL && m_bCustomizing) {
        if (button->CanDrag())
            DragButton(index, point);
        return TRUE;
    }
    if (dragAllowed && manager != NULL && alt) {
        s_bAltDrag = TRUE;
        DragButton(index, point);
        s_bAltDrag = FALSE;
        if (manager->GetSelectedBar() != NULL)
            manager->GetSelectedBar()->ClearSelection(TRUE);
        return TRUE;
    }
    if (m_bCustomizing)
        return TRUE;
    if (!alt && button->HasStyle(TBBS_DISABLED))
        return FALSE;
    UpdateButton(index);
    if (button->BtnPressDown(point)) {
        m_nPressedIndex = index;
        InvalidateButton(index);
        UpdateWindow();
        SetCapture();
        SetPrompt(button->m_nID);
    }
    return TRUE;
}

void TkCustomToolBar::OnLButtonDown(UINT flags, CPoint point)
{
    if (!PressButton(point, TRUE))
        TkControlBar::OnLButtonDown(flags, point);
}

// While customising a double click drags like a press: no command fires.
void TkCustomToolBar::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (!PressButton(point, m_bCustomizing))
        TkControlBar::OnLButtonDblClk(flags, point);
}

void TkCustomToolBar::OnMouseMove(UINT, CPoint point)
{
    if (m_bCustomizing || s_bButtonAction) {
        Default();
        return;
    }
    if (m_nPressedIndex < 0) {
        UpdateHotTracking(FALSE);
        return;
    }
    TkStdBtn* button = GetButton(m_nPressedIndex);
    DWORD before = button->GetStyle();
    if (GetCapture() == this) {
        button->BtnMouseMove(point);
    } else {
        button->BtnCancel();
        m_nPressedIndex = -1;
        SetPrompt(AFX_IDS_IDLEMESSAGE);
    }
    if (button->GetStyle() != before)
        button->Invalidate(FALSE);
}

void TkCustomToolBar::OnLButtonUp(UINT flags, CPoint point)
{
    if (m_nPressedIndex < 0 || m_bCustomizing || HoldsSelection()) {
        TkControlBar::OnLButtonUp(flags, point);
        return;
    }
    int index = m_nPressedIndex;
    m_nPressedIndex = -1;
    ReleaseCapture();
    UpdateButton(index);
    TkStdBtn* button = GetButton(index);
    UINT id = button->BtnPressUp(point);
    SetPrompt(AFX_IDS_IDLEMESSAGE);
    button->Invalidate(FALSE);
    UpdateWindow();
    if (id != 0)
        FireCommand(index, id);
}

// The manager's last-command record names the button while the command is
// posted.
void TkCustomToolBar::FireCommand(int index, UINT id)
{
    CFrameWnd* frame = GetDockingFrame();
    if (frame == NULL)
        return;
    TkToolBarManager* manager = GetToolBarManager();
    TkLastCommandRecord* record = manager != NULL ? manager->GetLastCommandRecord() : NULL;
    s_bButtonAction = TRUE;
    if (record != NULL) {
        CRect rect;
        GetButtonRect(index, &rect);
        ClientToScreen(&rect);
        record->m_rect = rect;
        record->m_bActive = TRUE;
    }
    frame->PostMessage(WM_COMMAND, id);
    if (record != NULL) {
        record->m_bActive = FALSE;
        record->m_rect.SetRectEmpty();
        record->Release();
    }
    s_bButtonAction = FALSE;
}

void TkCustomToolBar::ReleasePressed()
{
    if (m_nPressedIndex < 0)
        return;
    if (GetCapture() == this)
        ReleaseCapture();
    TkStdBtn* button = GetButton(m_nPressedIndex);
    m_nPressedIndex = -1;
    button->BtnCancel();
}

void TkCustomToolBar::SetCustomizeMode(BOOL on)
{
    if (!on == !m_bCustomizing)
        return;
    ClearSelection(FALSE);
    ReleasePressed();
    SetHot(-1);
    m_bCustomizing = on;
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

void TkCustomToolBar::OnCancelMode()
{
    Default();
    if (!m_bCustomizing && !s_bAltDrag)
        ReleasePressed();
}

int TkCustomToolBar::HotCandidate() const
{
    CPoint pt;
    GetCursorPos(&pt);
    if (::WindowFromPoint(pt) != m_hWnd)
        return -1;
    ScreenToClient(&pt);
    int index = ButtonHitTest(pt.x, pt.y, NULL);
    if (index < 0)
        return -1;
    TkStdBtn* button = GetButton(index);
    return button->IsSeparator() || button->HasStyle(TBBS_DISABLED) ? -1 : index;
}

void TkCustomToolBar::SetHot(int index)
{
    if (index == m_nHotIndex)
        return;
    if (m_nHotIndex >= 0) {
        TkStdBtn* old = GetButton(m_nHotIndex);
        old->SetStyle(old->GetStyle() & ~TKBS_HOT);
        old->Invalidate(FALSE);
    }
    if (index < 0)
        KillTimer(kTkHotTrackTimer);
    else if (m_nHotIndex < 0)
        SetTimer(kTkHotTrackTimer, kTkHotTrackPeriod, NULL);
    m_nHotIndex = index;
    if (index >= 0) {
        TkStdBtn* button = GetButton(index);
        button->SetStyle(button->GetStyle() | TKBS_HOT);
        button->Invalidate(FALSE);
    }
}

void TkCustomToolBar::UpdateHotTracking(BOOL update)
{
    if (!IsCoolLook() || GetActiveWindow() == NULL || s_bButtonAction || s_bAltDrag ||
        m_nPressedIndex >= 0)
        return;
    SetHot(HotCandidate());
    if (update)
        UpdateWindow();
}

void TkCustomToolBar::OnTimer(UINT_PTR id)
{
    if (id == kTkHotTrackTimer)
        UpdateHotTracking(FALSE);
    else
        Default();
}

void TkCustomToolBar::DelayShow(BOOL show)
{
    // While customising, a floating bar hides on its own message so that a
    // drag out of it can end first.
    TkToolBarManager* manager = GetToolBarManager();
    BOOL customizing = manager != NULL ? manager->InCustomizeMode() : m_bCustomizing;
    if (!show && customizing && IsFloating() && !m_bHidePosted) {
        m_bHidePosted = TRUE;
        PostMessage(s_nNoDelayHideMsg);
        return;
    }
    TkControlBar::DelayShow(show);
}

LRESULT TkCustomToolBar::OnNoDelayHide(WPARAM, LPARAM)
{
    CFrameWnd* frame = GetDockingFrame();
    if (m_bCustomizing && IsFloating() && frame != NULL) {
        frame->ShowControlBar(this, FALSE, FALSE);
        m_bHidePosted = FALSE;
    }
    return 0;
}

void TkCustomToolBar::OnDestroy()
{
    KillTimer(kTkHotTrackTimer);
    ClearSelection(FALSE);
    NotifyManager(kTkBarDestroyed);
    TkControlBar::OnDestroy();
}

// Listeners hear of each change once, however it came.
void TkCustomToolBar::TellVisible(BOOL visible)
{
    if (m_nToldVisible == (visible ? 1 : 0))
        return;
    m_nToldVisible = visible ? 1 : 0;
    NotifyManager(visible ? kTkBarShown : kTkBarHidden);
}

void TkCustomToolBar::OnShowWindow(BOOL show, UINT)
{
    Default();
    TellVisible(show);
}

void TkCustomToolBar::OnWindowPosChanging(WINDOWPOS* pos)
{
    if (pos->flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW))
        TellVisible((pos->flags & SWP_SHOWWINDOW) != 0);
    // The base leaves room for borders; they are not part of this move.
    DWORD borders = m_dwStyle & CBRS_BORDER_ANY;
    m_dwStyle &= ~CBRS_BORDER_ANY;
    Default();
    m_dwStyle |= borders;
    // Rows rewrap when the length changes, so every button may move.
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && !(pos->flags & SWP_NOSIZE)) {
        pos->flags |= SWP_NOCOPYBITS;
        Invalidate();
    }
}

void TkCustomToolBar::OnSysColorChange()
{
    if (m_pDrawData)
        m_pDrawData->RebuildDitherBrush();
    TkToolBarManager* manager = GetToolBarManager();
    if (manager != NULL && manager->GetDrawData() != NULL)
        manager->GetDrawData()->RebuildDitherBrush();
    m_pBmpMgr->ReloadBitmaps(TRUE);
    Invalidate();
}

int TkCustomToolBar::OnMouseActivate(CWnd*, UINT, UINT)
{
    if (m_bCustomizing && !IsFloating())
        return MA_NOACTIVATE;
    return (int)Default();
}

LRESULT TkCustomToolBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    SizeToParent();
    return TkControlBar::OnSizeParent(wParam, lParam);
}

LRESULT TkCustomToolBar::OnAddButtons(WPARAM wParam, LPARAM lParam)
{
    const TBBUTTON* records = (const TBBUTTON*)lParam;
    int count = (int)wParam;
    if (records == NULL)
        return FALSE;
    for (int i = 0; i < count; i++) {
        const TBBUTTON& record = records[i];
        InsertButton(GetCount(), record.idCommand, record.idCommand == 0, i + 1 < count);
        TkStdBtn* button = GetButton(GetCount() - 1);
        button->SetStyle(button->GetStyle() | ((DWORD)record.fsState << 16) | record.fsStyle);
    }
    return TRUE;
}

LRESULT TkCustomToolBar::OnDeleteButton(WPARAM wParam, LPARAM)
{
    return RemoveButton((int)wParam, FALSE);
}
