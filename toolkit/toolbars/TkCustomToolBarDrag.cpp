// TkCustomToolBar's customising: the customise selection, dragging a button
// over the desktop and dropping its command on a bar, off every bar (removed,
// or a new floating bar when copying) or beside itself (a separator added or
// taken away).
#include "toolkit/toolbars/TkCustomToolBar.h"

#include "toolkit/bars/TkToolBarRectTracker.h"
#include "toolkit/toolbars/TkToolBarManager.h"

#include <algorithm>

namespace {

// A nudge of fewer pixels leaves the bar as it was.
const int kNudgeThreshold = 2;
// A separator counts as covered by a dropped rectangle this much short of it.
const int kCoverSlack = 1;
// The window a floating bar gets, for placing its client at the drop point.
const DWORD kFloatStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
const DWORD kFloatExStyle = WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE;

// Removes the source bar's selected button; FALSE when that destroyed the bar.
BOOL RemoveSelectedOf(TkCustomToolBar* source)
{
    HWND window = source->m_hWnd;
    source->RemoveButton(source->GetSelectedIndex(), FALSE);
    return CWnd::FromHandlePermanent(window) == source;
}

HCURSOR CopyDragCursor()
{
    static HCURSOR cursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_TK_COPYDRAG));
    return cursor;
}

}  // namespace

BOOL TkCustomToolBar::s_bAltDrag = FALSE;

BOOL TkCustomToolBar::HoldsSelection() const
{
    TkToolBarManager* manager = GetToolBarManager();
    return manager != NULL && manager->GetSelectedBar() == this;
}

void TkCustomToolBar::SelectButton(int index, BOOL redraw)
{
    TkToolBarManager* manager = GetToolBarManager();
    if (manager == NULL || index < 0 || index >= GetCount())
        return;
    if (HoldsSelection() && m_nPressedIndex == index)
        return;
    if (manager->GetSelectedBar() != NULL)
        manager->GetSelectedBar()->ClearSelection(TRUE);
    manager->SetSelectedBar(this);
    m_nPressedIndex = index;
    TkStdBtn* button = GetButton(index);
    button->SetStyle(button->GetStyle() | TKBS_SELECTED);
    if (redraw)
        InvalidateButton(index);
    NotifyManager(kTkBarSelectionChanged);
}

void TkCustomToolBar::SelectButtonObject(TkStdBtn* button, BOOL redraw)
{
    int index = IndexOfButton(button);
    if (index < 0)
        ClearSelection(redraw);
    else
        SelectButton(index, redraw);
}

void TkCustomToolBar::ClearSelection(BOOL redraw)
{
    if (!HoldsSelection())
        return;
    int index = m_nPressedIndex;
    GetToolBarManager()->SetSelectedBar(NULL);
    m_nPressedIndex = -1;
    if (index < 0 || index >= GetCount())
        return;
    TkStdBtn* button = GetButton(index);
    button->SetStyle(button->GetStyle() & ~TKBS_SELECTED);
    if (redraw)
        InvalidateButton(index);
    NotifyManager(kTkBarSelectionChanged);
}

void TkCustomToolBar::DragButton(int index, CPoint pt)
{
    if (index >= 0 && index < GetCount())
        RunButtonDrag(GetToolBarManager(), GetButton(index), index, pt, this, this, IsCopyDrag());
}

BOOL TkCustomToolBar::RunButtonDrag(TkToolBarManager* manager, TkStdBtn* button, int index,
                                    CPoint pt, TkCustomToolBar* source, CWnd* window, BOOL copy)
{
    if (button == NULL || window == NULL || !button->CanDrag())
        return TRUE;
    HWND sourceWindow = source != NULL ? source->m_hWnd : NULL;
    // A source that cannot hold the selection (no manager of its own) leaves
    // none behind elsewhere either.
    if (source != NULL)
        source->SelectButton(index, TRUE);
    if (manager != NULL && manager->GetSelectedBar() != NULL && manager->GetSelectedBar() != source)
        manager->GetSelectedBar()->ClearSelection(TRUE);
    TkToolBarRectTracker tracker(button->GetRect());
    HCURSOR previous = copy && CopyDragCursor() != NULL ? ::SetCursor(CopyDragCursor()) : NULL;
    BOOL moved = tracker.TrackHandle(window, pt);
    if (previous != NULL)
        ::SetCursor(previous);
    if (!moved)
        return TRUE;

    CRect rect = tracker.m_rect;
    window->ClientToScreen(&rect);
    TkCustomToolBar* target = DropTarget(manager, rect);
    if (target == NULL) {
        CRect dialog, common;
        if (manager != NULL)
            manager->GetCustomizeDialogRect(&dialog);
        if (common.IntersectRect(&dialog, &rect))
            return TRUE;
        if (copy) {
            if (manager != NULL)
                FloatNewBar(manager, button->m_nID, rect.TopLeft());
            return TRUE;
        }
    } else {
        if (source != NULL && (source->m_dwBehaviour & TKTBB_NODRAGOUT) && target != source)
            return TRUE;
        if (target->AcceptsDrop()) {
            target->ScreenToClient(&rect);
            return target->DropButton(rect, button, copy, FALSE);
        }
        if (copy)
            return TRUE;
    }
    if (source == NULL)
        return TRUE;
    source->ClearSelection(TRUE);
    source->RemoveButton(index, FALSE);
    return CWnd::FromHandlePermanent(sourceWindow) == source;
}

// The manager's bars first, then whatever bar lies under a corner: the
// customise dialog's bars belong to no frame.
TkCustomToolBar* TkCustomToolBar::DropTarget(TkToolBarManager* manager, const CRect& rect)
{
    TkCustomToolBar* bar = manager != NULL ? manager->FindBarFromRect(rect) : NULL;
    if (bar != NULL)
        return bar;
    const CPoint corners[] = {CPoint(rect.left, rect.top), CPoint(rect.right - 1, rect.top),
                              CPoint(rect.left, rect.bottom - 1),
                              CPoint(rect.right - 1, rect.bottom - 1)};
    for (const CPoint& corner : corners) {
        CWnd* wnd = CWnd::FromHandlePermanent(::WindowFromPoint(corner));
        if ((bar = dynamic_cast<TkCustomToolBar*>(wnd)) != NULL)
            return bar;
        CMiniDockFrameWnd* floating = dynamic_cast<CMiniDockFrameWnd*>(wnd);
        CWnd* first = floating != NULL ? floating->GetDockBar()->GetWindow(GW_CHILD) : NULL;
        if (first != NULL &&
            (bar = dynamic_cast<TkCustomToolBar*>(CWnd::FromHandlePermanent(first->m_hWnd))) != NULL)
            return bar;
    }
    return NULL;
}

// The bar's client lands where the button was let go.
void TkCustomToolBar::FloatNewBar(TkToolBarManager* manager, UINT id, CPoint point)
{
    TkCustomToolBar* bar = manager->GetFrameWnd() != NULL ? manager->CreateUserToolBar(NULL) : NULL;
    if (bar == NULL)
        return;
    int index = bar->InsertButtonAt(bar->GetCount(), id, FALSE, TRUE);
    if (!s_bAltDrag)
        bar->SelectButton(index, FALSE);
    CRect inside(0, 0, 0, 0);
    bar->CalcInsideRect(inside, TRUE);
    CRect rect(point, CSize(0, 0));
    rect.OffsetRect(-inside.left - GetSystemMetrics(SM_CXBORDER),
                    -inside.top - GetSystemMetrics(SM_CYBORDER));
    ::AdjustWindowRectEx(&rect, kFloatStyle, FALSE, kFloatExStyle);
    manager->FloatBar(bar, rect.TopLeft());
}

BOOL TkCustomToolBar::DropButton(const CRect& rect, TkStdBtn* button, BOOL copy, BOOL noRecalc)
{
    // Removing the source's button below deletes button.
    UINT id = button->m_nID;
    CRect area;
    GetClientRect(&area);
    CalcInsideRect(area, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    TkToolBarManager* manager = GetToolBarManager();
    TkCustomToolBar* source = manager != NULL ? manager->GetSelectedBar() : NULL;
    BOOL sourceAlive = TRUE;
    int index = 0;
    if (GetCount() == 0) {
        if (!copy && source != NULL && source != this)
            sourceAlive = RemoveSelectedOf(source);
    } else if (GetCount() == 1 && source == this && m_nPressedIndex == 0) {
        return TRUE;
    } else if (rect.bottom <= area.top || rect.top >= area.bottom) {
        DropBesideArea(id, rect.bottom <= area.top, noRecalc);
        return TRUE;
    } else {
        int first, last;
        FindDropRow(area, rect, &first, &last);
        if (Nudge(rect, copy, noRecalc, first, last))
            return TRUE;
        index = DropIndex(area, rect, first, last);
        if (!copy && source == this) {
            int old = m_nPressedIndex;
            if (index == old || index == old + 1)
                return TRUE;
            // Separators tidied away with it lie before index too.
            int before = GetCount();
            RemoveButton(old, TRUE);
            if (old < index)
                index -= before - GetCount();
        } else if (!copy && source != NULL) {
            sourceAlive = RemoveSelectedOf(source);
        }
        index = std::min(index, GetCount());
        if (index < GetCount()) {
            TkStdBtn* next = GetButton(index);
            CRect gap = next->GetRect();
            if (next->IsSeparator() && !next->HasStyle(TBBS_WRAPPED) &&
                rect.left <= gap.left + kCoverSlack && rect.right >= gap.right - kCoverSlack)
                RemoveButton(index, TRUE);
        }
    }
    index = InsertButtonAt(index, id, FALSE, noRecalc);
    if (!s_bAltDrag)
        SelectButton(index, TRUE);
    return sourceAlive;
}

void TkCustomToolBar::DropBesideArea(UINT id, BOOL above, BOOL noRecalc)
{
    int separator = InsertButtonAt(above ? 0 : GetCount(), 0, TRUE, TRUE);
    int index = InsertButtonAt(above ? separator : separator + 1, id, FALSE, noRecalc);
    if (!s_bAltDrag)
        SelectButton(index, TRUE);
}

// A bar may keep buttons of its own in place (a menu bar's caption group),
// so the new button is looked for.
int TkCustomToolBar::InsertButtonAt(int index, UINT id, BOOL separator, BOOL noRecalc)
{
    CPtrArray before;
    before.Copy(m_buttons);
    InsertButton(index, id, separator, noRecalc);
    int at = 0;
    while (at < before.GetSize() && at < GetCount() && m_buttons[at] == before[at])
        at++;
    return at;
}

// Rows end at a wrapped button; a row ending at a separator is taller by
// the gap the layout leaves after it.
void TkCustomToolBar::FindDropRow(const CRect& area, const CRect& rect, int* first, int* last) const
{
    int middle = (rect.top + rect.bottom) / 2;
    int bottom = area.top;
    *first = *last = 0;
    for (int start = 0; start < GetCount();) {
        int end = start;
        while (end + 1 < GetCount() && !GetButton(end)->HasStyle(TBBS_WRAPPED))
            end++;
        int shown = end;
        while (shown > start && GetButton(shown)->IsHidden())
            shown--;
        const TkStdBtn* wrapped = GetButton(shown);
        bottom += wrapped->m_cy + (wrapped->IsSeparator() ? 2 * m_cxSeparator / 3 : 0);
        *first = start;
        *last = end;
        if (bottom >= middle)
            break;
        start = end + 1;
    }
    while (*last > *first && GetButton(*last)->IsSeparator())
        (*last)--;
}

int TkCustomToolBar::DropIndex(const CRect& area, const CRect& rect, int first, int last) const
{
    if (rect.left < area.left)
        return first;
    int right = area.left;
    for (int i = first; i <= last; i++) {
        if (GetButton(i)->IsHidden())
            continue;
        right += GetButton(i)->m_cx;
        if (right > rect.left)
            return i + 1;
    }
    return last + 1;
}

// Moving the selected button by less than its width adds a separator on the
// side it moved away from, or takes away the one on the side it moved to.
BOOL TkCustomToolBar::Nudge(const CRect& rect, BOOL copy, BOOL noRecalc, int first, int last)
{
    if (!HoldsSelection() || m_nPressedIndex < first || m_nPressedIndex > last)
        return FALSE;
    int selected = m_nPressedIndex;
    CRect place = GetButton(selected)->GetRect();
    BOOL right = rect.left > place.left && rect.left < place.right;
    BOOL left = rect.left < place.left && rect.right > place.left;
    if (!right && !left)
        return FALSE;
    if (abs(rect.left - place.left) < kNudgeThreshold)
        return TRUE;
    if (copy)
        return FALSE;
    BOOL separatorBefore = selected > 0 && GetButton(selected - 1)->IsSeparator();
    BOOL hasAfter = selected + 1 < GetCount();
    BOOL separatorAfter = hasAfter && GetButton(selected + 1)->IsSeparator();
    if (right) {
        if (selected > 0 && !separatorBefore)
            InsertButton(selected, 0, TRUE, noRecalc);
        else if (separatorAfter)
            RemoveButton(selected + 1, noRecalc);
    } else {
        if (separatorBefore)
            RemoveButton(selected - 1, noRecalc);
        else if (hasAfter && !separatorAfter)
            InsertButton(selected + 1, 0, TRUE, noRecalc);
    }
    return TRUE;
}
