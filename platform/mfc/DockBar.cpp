#include "platform/mfc/DockBar.h"
#include "platform/mfc/DockContext.h"
#include "platform/mfc/DockState.h"

#include <algorithm>

namespace {

// Neighbouring bars share this many pixels of border.
const int kBorderOverlap = 2;
// The first of the ids that can be placeholders: below it an entry is an id.
const UINT_PTR kFirstPointer = 0x10000;

DWORD LayoutMode(const CControlBar* bar, BOOL horizontal)
{
    if ((bar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (bar->m_dwStyle & CBRS_FLOATING))
        return LM_HORZ | LM_MRUWIDTH;
    return horizontal ? (LM_HORZ | LM_HORZDOCK) : LM_VERTDOCK;
}

}  // namespace

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL floating) : m_bFloating(floating), m_bLayoutQuery(FALSE)
{
    m_arrBars.Add(NULL);
    m_bAutoDelete = TRUE;
    SetBorders(0, 0, 0, 0);
}

BOOL CDockBar::Create(CWnd* parent, DWORD style, UINT id)
{
    m_dwStyle = style & CBRS_ALL;
    if (!AfxRegisterControlBarClass())
        return FALSE;
    return CWnd::Create(kControlBarClassName, NULL, style & ~CBRS_ALL, CRect(0, 0, 0, 0), parent,
                        id);
}

BOOL CDockBar::IsDockBar() const
{
    return TRUE;
}

BOOL CDockBar::IsPlaceholder(void* entry)
{
    return entry != NULL && (UINT_PTR)entry < kFirstPointer;
}

CControlBar* CDockBar::GetDockedControlBar(int index) const
{
    void* entry = m_arrBars[index];
    return IsPlaceholder(entry) ? NULL : static_cast<CControlBar*>(entry);
}

int CDockBar::GetDockedCount() const
{
    int count = 0;
    for (int i = 0; i < m_arrBars.GetSize(); i++)
        count += GetDockedControlBar(i) != NULL;
    return count;
}

int CDockBar::GetDockedVisibleCount() const
{
    int count = 0;
    for (int i = 0; i < m_arrBars.GetSize(); i++) {
        CControlBar* bar = GetDockedControlBar(i);
        count += bar != NULL && bar->m_hWnd != NULL && bar->IsVisible();
    }
    return count;
}

int CDockBar::FindBar(void* entry, int excludeIndex) const
{
    for (int i = 0; i < m_arrBars.GetSize(); i++)
        if (i != excludeIndex && m_arrBars[i] == entry)
            return i;
    return -1;
}

void CDockBar::RemovePlaceholder(CControlBar* bar)
{
    int index = FindBar(Placeholder(bar->GetDlgCtrlID()));
    if (index <= 0)
        return;
    m_arrBars.RemoveAt(index);
    if (index < m_arrBars.GetSize() && m_arrBars[index - 1] == NULL && m_arrBars[index] == NULL)
        m_arrBars.RemoveAt(index);
}

BOOL CDockBar::AdoptBar(CControlBar* bar)
{
    if (m_bFloating && (bar->m_dwDockStyle & CBRS_FLOAT_MULTI))
        m_dwStyle |= CBRS_FLOAT_MULTI;
    m_dwStyle &= ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
    m_dwStyle |= bar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
    if (!(m_dwStyle & CBRS_FLOAT_MULTI)) {
        CString title;
        bar->GetWindowText(title);
        SetWindowText(title);
    }
    DWORD style = (bar->m_dwStyle & ~CBRS_ALIGN_ANY) | (m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
    style = m_bFloating ? (style | CBRS_FLOATING) : (style & ~CBRS_FLOATING);
    bar->SetBarStyle(style);
    // Hidden while it changes parents, so that it does not flash.
    if (bar->m_pDockBar == this || !bar->IsWindowVisible())
        return FALSE;
    bar->SetWindowPos(NULL, 0, 0, 0, 0,
                      SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    return TRUE;
}

void CDockBar::AttachBar(CControlBar* bar, int index, BOOL show)
{
    if (bar->GetParent() != this)
        bar->SetParent(this);
    CDockBar* old = bar->m_pDockBar;
    if (old == this)
        RemoveControlBar(bar, index);
    else if (old != NULL)
        old->RemoveControlBar(bar, -1, m_bFloating && !old->m_bFloating);
    bar->m_pDockBar = this;
    if (show)
        bar->SetWindowPos(NULL, 0, 0, 0, 0,
                          SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RemovePlaceholder(bar);
    CFrameWnd* frame = GetParentFrame();
    if (frame != NULL)
        frame->DelayRecalcLayout();
}

void CDockBar::DockControlBar(CControlBar* bar, LPCRECT rect)
{
    CRect barRect;
    bar->GetWindowRect(&barRect);
    if (bar->m_pDockBar == this && (rect == NULL || barRect == *rect))
        return;
    BOOL show = AdoptBar(bar);
    int index = -1;
    if (rect != NULL) {
        CRect place(*rect);
        ScreenToClient(&place);
        index = InsertBarAtRect(bar, place, place.CenterPoint());
        bar->SetWindowPos(NULL, place.left, place.top, place.Width(), place.Height(),
                          SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    } else {
        m_arrBars.Add(bar);
        m_arrBars.Add(NULL);
        bar->SetWindowPos(NULL, -kBorderOverlap, -kBorderOverlap, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    AttachBar(bar, index, show);
}

void CDockBar::ReDockControlBar(CControlBar* bar, LPCRECT rect)
{
    CRect barRect;
    bar->GetWindowRect(&barRect);
    if (bar->m_pDockBar == this && (rect == NULL || barRect == *rect))
        return;
    BOOL show = AdoptBar(bar);
    // The bar goes back into the place its id kept.
    int index = FindBar(Placeholder(bar->GetDlgCtrlID()));
    if (index > 0) {
        m_arrBars[index] = bar;
    } else if (rect != NULL) {
        CRect place(*rect);
        ScreenToClient(&place);
        index = InsertBarAtRect(bar, place, place.CenterPoint());
    } else {
        m_arrBars.Add(bar);
        m_arrBars.Add(NULL);
        index = (int)m_arrBars.GetSize() - 2;
    }
    if (rect != NULL) {
        CRect place(*rect);
        ScreenToClient(&place);
        bar->SetWindowPos(NULL, place.left, place.top, place.Width(), place.Height(),
                          SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    } else {
        bar->SetWindowPos(NULL, -kBorderOverlap, -kBorderOverlap, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    AttachBar(bar, index, show);
}

// The bar goes into the row where the point lies, after the last bar whose
// leading edge lies before the rectangle's.
int CDockBar::InsertBarAtRect(CControlBar* bar, CRect rect, CPoint point)
{
    BOOL horizontal = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int insertAfter = 0;
    int thickness = 0;
    int total = 0;
    int index = 0;
    for (; index < m_arrBars.GetSize(); index++) {
        CControlBar* other = GetDockedControlBar(index);
        if (other != NULL && other != bar && other->IsVisible()) {
            CRect otherRect;
            other->GetWindowRect(&otherRect);
            ScreenToClient(&otherRect);
            thickness = std::max<int>(thickness, horizontal ? otherRect.Height() : otherRect.Width() - 1);
            if (horizontal ? rect.left > otherRect.left : rect.top > otherRect.top)
                insertAfter = index;
        } else if (m_arrBars[index] == NULL) {
            total += thickness - kBorderOverlap;
            thickness = 0;
            if ((horizontal ? point.y : point.x) < total) {
                if (index == 0)
                    m_arrBars.InsertAt(insertAfter + 1, (void*)NULL);
                break;
            }
            insertAfter = index;
        }
    }
    m_arrBars.InsertAt(insertAfter + 1, bar);
    // A new last row needs its row end.
    if (insertAfter + 2 >= m_arrBars.GetSize())
        m_arrBars.Add(NULL);
    return insertAfter + 1;
}

BOOL CDockBar::RemoveControlBar(CControlBar* bar, int excludeIndex, BOOL addPlaceholder)
{
    int index = FindBar(bar, excludeIndex);
    if (index <= 0)
        return FALSE;
    UINT id = bar->m_hWnd != NULL ? bar->GetDlgCtrlID() : 0;
    if (addPlaceholder && id != 0) {
        m_arrBars[index] = Placeholder(id);
        // One placeholder per id.
        int other = FindBar(Placeholder(id), index);
        if (other > 0) {
            m_arrBars.RemoveAt(other);
            if (other < m_arrBars.GetSize() && m_arrBars[other - 1] == NULL && m_arrBars[other] == NULL)
                m_arrBars.RemoveAt(other);
        }
    } else {
        m_arrBars.RemoveAt(index);
        if (index < m_arrBars.GetSize() && m_arrBars[index - 1] == NULL && m_arrBars[index] == NULL)
            m_arrBars.RemoveAt(index);
    }
    if (bar->m_pDockContext == NULL)
        return FALSE;
    CFrameWnd* frame = GetParentFrame();
    if (frame == NULL)
        return FALSE;
    if (m_bFloating && GetDockedVisibleCount() == 0) {
        if (GetDockedCount() == 0) {
            frame->DestroyWindow();
            return TRUE;
        }
        frame->ShowWindow(SW_HIDE);
        return FALSE;
    }
    frame->DelayRecalcLayout();
    return FALSE;
}

void CDockBar::ShowAll(BOOL show)
{
    CFrameWnd* site = m_pDockSite;
    for (int i = 0; i < m_arrBars.GetSize(); i++) {
        CControlBar* bar = GetDockedControlBar(i);
        if (bar != NULL && site != NULL)
            site->ShowControlBar(bar, show, TRUE);
    }
}

CRect CDockBar::GetAvailableRect()
{
    if (!m_rectLayout.IsRectEmpty())
        return m_rectLayout;
    CRect rect;
    CFrameWnd* frame = GetParentFrame();
    if (frame != NULL)
        frame->GetClientRect(&rect);
    return rect;
}

// Bars are laid one after another along each row; a bar that lies further
// along than the running position keeps its place, so that gaps dragged into
// a row stay.
CSize CDockBar::CalcFixedLayout(BOOL stretch, BOOL horizontal)
{
    CSize fixed = CControlBar::CalcFixedLayout(stretch, horizontal);
    CRect available = GetAvailableRect();
    int length = horizontal ? available.Width() : available.Height();
    CPoint at(-kBorderOverlap, -kBorderOverlap);
    int rowThickness = 0;
    int across = 0;
    int along = 0;
    BOOL anyVisible = FALSE;
    HDWP deferred = m_bLayoutQuery ? NULL : ::BeginDeferWindowPos((int)m_arrBars.GetSize());
    for (int i = 0; i < m_arrBars.GetSize(); i++) {
        CControlBar* bar = GetDockedControlBar(i);
        if (bar != NULL && bar->IsVisible()) {
            anyVisible = TRUE;
            CSize size = bar->CalcDynamicLayout(-1, LayoutMode(bar, horizontal));
            CRect current;
            bar->GetWindowRect(&current);
            ScreenToClient(&current);
            if (!m_bFloating) {
                if (horizontal && current.left > at.x && current.left + size.cx <= length)
                    at.x = current.left;
                if (!horizontal && current.top > at.y && current.top + size.cy <= length)
                    at.y = current.top;
            }
            CRect place(at, size);
            if (!m_bLayoutQuery && place != current && deferred != NULL)
                deferred = ::DeferWindowPos(deferred, bar->m_hWnd, NULL, place.left, place.top,
                                            place.Width(), place.Height(),
                                            SWP_NOZORDER | SWP_NOACTIVATE);
            if (horizontal) {
                at.x += size.cx - kBorderOverlap;
                rowThickness = std::max<int>(rowThickness, size.cy);
                along = std::max<int>(along, at.x);
            } else {
                at.y += size.cy - kBorderOverlap;
                rowThickness = std::max<int>(rowThickness, size.cx);
                along = std::max<int>(along, at.y);
            }
        } else if (m_arrBars[i] == NULL && rowThickness > 0) {
            if (horizontal) {
                at.y += rowThickness - kBorderOverlap;
                at.x = -kBorderOverlap;
            } else {
                at.x += rowThickness - kBorderOverlap;
                at.y = -kBorderOverlap;
            }
            across += rowThickness - kBorderOverlap;
            rowThickness = 0;
        }
    }
    across += rowThickness;
    if (deferred != NULL)
        ::EndDeferWindowPos(deferred);
    if (!anyVisible)
        across = 0;
    else
        across += kBorderOverlap;
    if (horizontal) {
        fixed.cy = across;
        if (!stretch)
            fixed.cx = along;
    } else {
        fixed.cx = across;
        if (!stretch)
            fixed.cy = along;
    }
    return fixed;
}

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    AFX_SIZEPARENTPARAMS* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    CRect savedRect = m_rectLayout;
    BOOL savedQuery = m_bLayoutQuery;
    m_rectLayout = layout->rect;
    m_bLayoutQuery = layout->hDWP == NULL;
    LRESULT result = CControlBar::OnSizeParent(wParam, lParam);
    m_rectLayout = savedRect;
    m_bLayoutQuery = savedQuery;
    return result;
}

void CDockBar::GetDockBarIds(CDWordArray& ids) const
{
    ids.RemoveAll();
    for (int i = 1; i < m_arrBars.GetSize(); i++) {
        void* entry = m_arrBars[i];
        if (entry == NULL)
            ids.Add(0);
        else if (IsPlaceholder(entry))
            ids.Add((DWORD)(UINT_PTR)entry | kPlaceholderIdFlag);
        else
            ids.Add(static_cast<CControlBar*>(entry)->GetDlgCtrlID() & 0xFFFF);
    }
}

// Rebuilds the bar array from saved ids. Ids of bars the frame no longer has
// are dropped; an id repeated in the list counts once.
void CDockBar::SetDockBarInfo(CControlBarInfo* info, CFrameWnd* frame)
{
    m_arrBars.SetSize(1);
    m_arrBars[0] = NULL;
    for (int i = 0; i < info->m_arrBarID.GetSize(); i++) {
        DWORD id = info->m_arrBarID[i];
        if (id == 0) {
            if (m_arrBars[m_arrBars.GetSize() - 1] != NULL)
                m_arrBars.Add(NULL);
            continue;
        }
        if (id & kPlaceholderIdFlag) {
            void* entry = Placeholder(id & 0xFFFF);
            if ((id & 0xFFFF) != 0 && FindBar(entry) < 0 && frame->GetControlBar(id & 0xFFFF) != NULL)
                m_arrBars.Add(entry);
            continue;
        }
        CControlBar* bar = frame->GetControlBar(id);
        if (bar == NULL || bar == this || bar->IsDockBar() || FindBar(bar) >= 0)
            continue;
        // Re-parented first: leaving a mini frame may destroy the mini frame.
        if (bar->GetParent() != this)
            bar->SetParent(this);
        if (bar->m_pDockBar != NULL && bar->m_pDockBar != this)
            bar->m_pDockBar->RemoveControlBar(bar, -1, FALSE);
        bar->m_pDockBar = this;
        AdoptBar(bar);
        m_arrBars.Add(bar);
    }
    if (m_arrBars[m_arrBars.GetSize() - 1] != NULL)
        m_arrBars.Add(NULL);
}
