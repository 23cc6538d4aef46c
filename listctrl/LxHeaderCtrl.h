// CLxHeaderCtrl: the header of a CLxListCtrl. Keeps the sort state and three
// per-column bit masks and draws its items itself (sort arrow, image captions).
#pragma once

#include <afxcmn.h>

#include <vector>

class CLxListCtrl;
// Called on the list when a dragged header item is dropped (display indexes).
typedef void (CLxListCtrl::*LxReorderCallback)(int* from, int* to);

// Masks hold 32 columns; column numbers wrap.
inline DWORD LxColumnBit(int column)
{
    return 1u << (column & 31);
}

class CLxHeaderCtrl : public CHeaderCtrl
{
public:
    CLxHeaderCtrl();

    // Makes column the sort column (the old one becomes the previous one when
    // it differs), marks the item owner-drawn and repaints; the old sort column.
    int SetSortImage(int column, int ascending);
    bool IsSortAscending(int column) const;
    void SetSortAscending(int column, bool on);
    void SetReorderCallback(CLxListCtrl* list, LxReorderCallback callback);

    int GetSortColumn() const { return m_sortColumn; }
    int GetSortAscending() const { return m_sortAscending; }
    int GetPrevSortColumn() const { return m_prevSortColumn; }
    int GetPrevSortAscending() const { return m_prevSortAscending; }

    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

    // Bit n: header index n was last sorted ascending.
    DWORD m_directionMask;
    // By column id: no sort arrow; fixed width.
    DWORD m_noSortMarkMask;
    DWORD m_fixedWidthMask;
    // Images of "%d_" captions; not owned.
    CImageList* m_pImageList;
    BOOL m_dragEnabled;

protected:
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnLButtonDblClk(UINT flags, CPoint point);
    LRESULT OnNcHitTest(CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    // False over the divider of a fixed-width column (x in client coordinates).
    bool DividerAllowed(int x);
    void StartDrag();
    void TrackDrag(CPoint point);
    int DropTarget(int x) const;
    void MoveDropMarker(int target);
    void PaintDropMarker(CDC& dc);
    void DrawDragFrame(CPoint point);
    void EraseDragFrame();
    void EndDrag();
    // After a column moved from one place to another, the sort state stays
    // with the columns it belonged to.
    void FollowMove(int from, int to);
    bool DrawImageCaption(CDC& dc, const CRect& item, const char* caption);
    void DrawSortArrow(CDC& dc, const CRect& item, int margin);

    int m_sortColumn;
    int m_sortAscending;
    int m_prevSortColumn;
    int m_prevSortAscending;
    CLxListCtrl* m_pReorderList;
    LxReorderCallback m_reorderCallback;

    bool m_dragPending;
    bool m_dragging;
    CPoint m_downPoint;
    // Item widths as the drag started; only while dragging.
    std::vector<int> m_widths;
    int m_dragSource;
    int m_dragTarget;
    CRect m_markerRect;  // empty: no marker
    CRect m_dragSize;
    // In the list's client coordinates; empty when nothing is drawn.
    CRect m_lastDragRect;
    bool m_dividerAllowed;
};
