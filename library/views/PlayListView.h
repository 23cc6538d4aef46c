// The form view of one play list: a virtual list of its entries, played by
// double click, edited by Delete, Explode and Condense, reordered and filled
// by dropped text (entries dragged from this or another view) and by
// play-list files dropped from the shell. Selecting rows puts their entries
// into the document's selection list.
#pragma once

#include "library/views/ListFormView.h"

#include <afxole.h>

#include <vector>

class CPrintInfo;

// Posted to the view once while the selection changes; the view then copies
// the selection to the document.
const UINT WM_PLAYLIST_SELECTION = WM_USER + 20;

class CPlayListView : public CListFormView
{
    DECLARE_DYNCREATE(CPlayListView)
public:
    CPlayListView();

    CPlayList* GetPlayList() { return m_playList; }

    // Dragging out: the text of the selected entries, which are marked as
    // the drag's; the pointer's place among them is remembered.
    CString BeginDragOut();
    // After the drag, whatever its outcome: no mark survives.
    void EndDragOut();
    // The row a drop at this client point inserts before.
    int DropPosition(CPoint point);
    // Inserts the entries of a dropped text at position; a move inside this
    // list then removes the marked originals. Lines that name no entry are
    // skipped. False when nothing could be read.
    bool DropText(const char* text, int position, bool move);
    // Play-list files dropped from the shell, inserted at position.
    void DropFiles(HDROP drop, int position);

    void OnBeginPrinting(CDC* dc, CPrintInfo* info) override;
    void OnPrint(CDC* dc, CPrintInfo* info) override;
    void OnEndPrinting(CDC* dc, CPrintInfo* info) override;

    // Plain text (entries) and shell files are taken; Ctrl copies.
    DROPEFFECT OnDragEnter(COleDataObject* dataObject, DWORD keyState, CPoint point) override;
    DROPEFFECT OnDragOver(COleDataObject* dataObject, DWORD keyState, CPoint point) override;
    BOOL OnDrop(COleDataObject* dataObject, DROPEFFECT dropEffect, CPoint point) override;

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;

    void OnPlaylistDelete();
    void OnDeleteKey() override { OnPlaylistDelete(); }
    void OnPlaylistExplode();
    void OnPlaylistCondense();

protected:
    void GetCellText(int row, int columnId, CString& text) override;
    BOOL OnCellLook(CLxListRequest& request);

    void OnUpdateDelete(CCmdUI* cmdUI);
    void OnUpdateExplode(CCmdUI* cmdUI);
    void OnUpdateCondense(CCmdUI* cmdUI);
    void OnDblClk(NMHDR* header, LRESULT* result);
    void OnRButtonUp(UINT flags, CPoint listPoint);
    void OnItemChanged(NMHDR* header, LRESULT* result);
    void OnStateRangeChanged(NMHDR* header, LRESULT* result);
    LRESULT OnSelectionChanged(WPARAM, LPARAM);
    void OnDropFiles(HDROP drop);
    void OnBeginDrag(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    void Refresh();
    void ShowPointer();
    void UpdateFrame();
    std::vector<int> SelectedRows();
    // The selected rows, or the pointer's row when none is selected.
    std::vector<int> RowsToChange();
    // Whether any of those entries is a whole album (or a track).
    bool AnyWholeAlbum(bool wholeAlbum);
    void PostSelectionChange();
    void RemoveRows(std::vector<int> rows);
    // The row under a point of the view's client area.
    int DropPositionInView(CPoint point);

    CPlayList* m_playList = nullptr;
    // The entries of a drag out of this list, by row, while it runs; and the
    // pointer's place among them (-1: not among them).
    std::vector<int> m_dragged;
    int m_pointerInDrag = -1;
    bool m_selectionPosted = false;
    COleDropTarget m_dropTarget;
};
