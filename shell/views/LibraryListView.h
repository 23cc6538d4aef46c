// What the list views of the jukebox share (albums, tracks, search results,
// players, details): a list that keeps its rows' item data itself (the
// form's list view holds only their count), so that it sorts by any column;
// the document's in-place edit switch (hints 18 and 19); the shared selection, copied to the document once per burst of
// changes (WM_USER+20 posted to the view, then hint 4 to the others); the
// library's context menu, double click and Delete key acting on the
// document's command items; scrolling while a drag hovers; and printing.
#pragma once

#include "library/views/ListFormView.h"

#include <afxole.h>

#include <vector>

class CPrintInfo;
class CZymDoc;

// Posted to a view once while its list's selection changes.
const UINT WM_VIEW_SELECTION = WM_USER + 20;

// How a view changes the list's own style word after its columns are set.
struct ListStyleChange
{
    DWORD remove;
    DWORD add;
    bool reframe;
};

// What a view asks of a stored album for a row, read under the library lock
// without copying the album (it may hold many tracks).
struct AlbumFacts
{
    int player = kNoPlayer; // where it is believed to be
    int storedPlayer = kNoPlayer;
    int trackCount = 0;
};

class CLibraryListView : public CListFormView
{
    DECLARE_DYNAMIC(CLibraryListView)
public:
    // Null when the view's document is not the jukebox's.
    CZymDoc* GetDoc();
    std::vector<int> SelectedRows();
    // The row under a point of the view's client area, or -1.
    int RowAt(CPoint point);

    void OnBeginPrinting(CDC* dc, CPrintInfo* info) override;
    void OnPrint(CDC* dc, CPrintInfo* info) override;
    void OnEndPrinting(CDC* dc, CPrintInfo* info) override;
    DROPEFFECT OnDragEnter(COleDataObject* dataObject, DWORD keyState, CPoint point) override;

    // The selected rows' entries as lines "id track" ("\n" between them),
    // up to the first row that stands for none; their item data are kept
    // as the drag's until EndDragOut.
    CString BeginDragOut();
    void EndDragOut();
    // Where a drop at a point of the view's client area goes: the item data
    // of the row there, 0 above the rows, end below them.
    int DropPosition(CPoint point, int end);

protected:
    CLibraryListView(const char* caption, const char* listName, const ListColumn* columns, int columnCount,
                     const int* shownIds, int shownCount, ListStyleChange style, UINT templateId = IDD_LIST_FORM);

    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    // The shared hints (list look, banners, editing, activation); false for
    // the others, which a view handles itself or ignores without repainting.
    bool OnSharedHint(CView* sender, LPARAM hint, CObject* hintObject);
    void Repaint();
    // The list keeps the rows, which it sorts, refills and empties without a
    // message per row.
    bool KeepsRowData() const override { return true; }

    // Cell texts by the row's item data.
    void GetCellText(int row, int columnId, CString& text) override;
    virtual void GetItemText(DWORD_PTR itemData, int columnId, CString& text) = 0;
    // The texts of one column for many rows (a sort's keys), one per item
    // data, where a view reads them faster at once than per row; false
    // lets the list ask per row.
    virtual bool GetItemTexts(int, const std::vector<DWORD_PTR>&, std::vector<CString>&) { return false; }
    // One row's text through GetItemTexts, for views that answer both alike.
    void GetOneItemText(DWORD_PTR itemData, int columnId, CString& text);
    // The player whose colours a row takes (with "Color Text By Player");
    // false for a row without one.
    virtual bool GetRowPlayer(DWORD_PTR, int&) { return false; }
    // A text committed by the list's in-place editor.
    virtual void ApplyEdit(DWORD_PTR, int, const CString&) {}
    // Whether a row's item data stands for something the view shows.
    virtual bool IsValidItem(DWORD_PTR itemData) = 0;
    // The library entry of a row; false for a row that stands for none.
    virtual bool GetRowItem(int row, CLibItem& item) = 0;
    // The document's selection list from the selected rows (WM_USER+20).
    virtual void CopySelection();
    // Whether the running drag came out of this view.
    bool IsOwnDrag() const;
    // The effects a drag out of this view allows.
    virtual DWORD DragEffects() { return DROPEFFECT_COPY | DROPEFFECT_MOVE; }
    // Text is taken where the view accepts it: copy with Ctrl, else move.
    DROPEFFECT TextDropEffect(COleDataObject* dataObject, DWORD keyState, CPoint point, bool accepted);
    // The list's selection changes by the user: by default the change is
    // copied to the document once the burst is over.
    virtual void OnRowSelected(int row);
    // Before the context menu opens: by default the selected rows' entries
    // become the command items.
    virtual void PrepareContextMenu();
    // The print title of the view's list.
    virtual CString GetPrintTitle() = 0;

    // False when the entry's album is not in the library.
    bool GetAlbumFacts(CLibItem& item, AlbumFacts& facts);
    // Copies of the tracks that dropped entry lines name, in their order;
    // lines of whole albums, tracks out of range or albums not in the
    // library add nothing.
    static std::vector<TrackRecord> CopyDroppedTracks(CMusicLibrary& library, const char* text);
    // After an edit committed in place, outside the library lock: a date
    // that did not parse is told, and the library is marked modified.
    void EditDone(CMusicLibrary& library, bool badDate);
    // The rows' entries become the document's command items: its selection
    // list, on which its library commands act.
    void SetCommandItems(const std::vector<int>& rows);
    // The first row whose item data is this, or -1.
    int FindRow(DWORD_PTR itemData);
    // Fills the command items with the clicked row and posts the double
    // click command; the library menu for a click below the header.
    void OnLButtonDblClk(UINT flags, CPoint screenPoint);
    void OnRButtonUp(UINT flags, CPoint listPoint);
    void OnItemChanged(NMHDR* header, LRESULT* result);
    void OnStateRangeChanged(NMHDR* header, LRESULT* result);
    // A row the user selected or focused (newState), unless the view fills.
    void NoteRowSelected(int row, UINT newState);
    void OnBeginDrag(NMHDR* header, LRESULT* result);
    LRESULT OnSelectionMessage(WPARAM, LPARAM);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    // Set while the view itself changes the rows or their selection: the
    // list's notifications are then not the user's.
    bool m_filling = false;
    bool m_selectionPending = false;
    // Menu of the right click; the view owns it unless the main window should.
    UINT m_contextMenu;
    bool m_menuToMainWindow = false;
    // The item data of the rows a drag out of this view carries.
    std::vector<DWORD_PTR> m_dragged;

private:
    // Requests of the list: row colours (kind 0), choices (1), edits (2).
    BOOL OnListRequest(CLxListRequest& request);
    void ItemText(int row, int columnId, DWORD_PTR itemData, CString& text);

    const char* m_listName;
    ListStyleChange m_styleChange;
};
