// CLxListCtrl: the owner-drawn report list of every list view. Cell texts come
// from the owner (callback texts), and so do each cell's font and colours
// (CLxListRequest). Columns are addressed by display index in operations and by
// id (the column's sub-item number) in masks, definitions and requests.
#pragma once

#include "listctrl/LxCategoryManager.h"
#include "listctrl/LxColumnManager.h"
#include "listctrl/LxHeaderCtrl.h"
#include "listctrl/LxListRequest.h"
#include "listctrl/LxListTip.h"

#include "platform/runtime/TimeStamp.h"

#include <afxcmn.h>

#include <vector>

class CPrintInfo;
class CLxInPlaceEdit;
class CLxInPlaceCell;

// Bits of the list's own style word.
enum
{
    kLxStyleFullRow = 0x0001,
    kLxStyleVertGrid = 0x0002,
    kLxStyleHorzGrid = 0x0004,
    kLxStyleSort = 0x0008,
    kLxStyleAskCells = 0x0010,
    kLxStyleImageCells = 0x0020,
    kLxStyleEditAllSelected = 0x0040,
    kLxStyleOfferRows = 0x0080,
    kLxStyleCellTips = 0x0100,
    kLxStyleAskRowOnly = 0x0200,
    kLxStyleAskFontMask = 0x0400,
    kLxStyleEnterDblClk = 0x0800,
    kLxStyleEnterEdits = 0x1000,
    kLxStyleFocusCell = 0x4000,
    kLxStyleDefault = 0x793F,
};

// Print options.
enum
{
    kLxPrintTitle = 0x04,
    kLxPrintPage = 0x08,
    kLxPrintDate = 0x10,
};

// Navigation requests of the in-place editors (WM_USER+3, wParam).
const UINT WM_LX_NAVIGATE = WM_USER + 3;
enum
{
    kLxNavNextCell = 0,
    kLxNavPrevCell = 1,
    kLxNavLeft = 2,
    kLxNavRight = 3,
    kLxNavUp = 4,
    kLxNavDown = 5,
};

// The row that an in-place editor edits; WM_LX_NAVIGATE codes 0 and 1 carry one.
struct LxCellPos
{
    int row;
    int column;
};

// What the owner said about one cell's font and colours (answer 0: nothing).
struct LxCellLook
{
    DWORD answer = 0;
    COLORREF text = 0;
    COLORREF background = 0;
    HFONT font = NULL;
};

class CLxListCtrl;
typedef BOOL (CWnd::*LxRequestHandler)(CLxListRequest& request);
typedef void (CWnd::*LxCellTextHandler)(int row, int columnId, DWORD_PTR itemData,
                                        CString& text);
// The texts of one column id for many rows at once, one per item data in
// their order; false leaves them to be asked row by row.
typedef bool (CWnd::*LxColumnTextsHandler)(int columnId, const std::vector<DWORD_PTR>& itemData,
                                           std::vector<CString>& texts);
// One sort: a column (display index) and its direction (1 ascending).
struct LxSortOrder
{
    int column;
    int ascending;
};
// The type-ahead clock: 100 ns units, as a CTimeStamp.
typedef ULONGLONG (*LxClock)();

class CLxListCtrl : public CListCtrl
{
public:
    CLxListCtrl();
    ~CLxListCtrl() override;

    void AttachHeaderAndTip();
    // NULL until the list view has made its header (when shown, or with the
    // first column) and always outside report view.
    CLxHeaderCtrl* GetHeader();
    bool IsReportView() const { return (GetStyle() & LVS_TYPEMASK) == LVS_REPORT; }

    // Appearance.
    void SetListFont(const LOGFONTA& logFont);
    void SetEmptyText(const char* text);
    void ModifyLxStyle(DWORD remove, DWORD add, UINT swpFlags);
    void ModifyExtendedStyle(DWORD remove, DWORD add, UINT swpFlags);
    DWORD GetLxStyle() const { return m_style; }
    void SetHeaderImageList(CImageList* imageList);
    // Image cells draw the image whose index is the cell's text.
    void SetCellImageList(CImageList* imageList) { m_pCellImageList = imageList; }
    void SetCategoryRowHeight(int height);
    void SetRowHeightLimits(int height, bool categoryRows);
    BOOL SetBackgroundImage(UINT resourceId);
    BOOL SetBackgroundImage(const char* resourceName);
    void EnableColumnDrag(bool enable);
    void EnableInPlaceEdit(bool enable);
    // Cuts text from the end until it and "..." fit; the text itself when it fits.
    static CString FitTextToWidth(CDC* dc, const CString& text, int width, int extra);

    // Columns.
    CLxColumnManager* CreateColumnManager();
    CLxColumnManager* GetColumnManager() { return m_pColumnManager; }
    void SetupColumns();
    void ReadColumnsFromHeader();
    int InsertColumnEx(int index, const char* label, int format, int width, DWORD kindBits);
    // The same with an id other than the index (the column manager's columns).
    int InsertColumnEx(int index, const char* label, int format, int width, DWORD kindBits,
                       int id);
    void DeleteAllColumns();
    int GetColumnCount();
    int GetColumnId(int index);
    void SetHeaderImage(int index, int image);
    void ClearKindMasks();

    // Category rows: on, the items are filed by the owner's category handler.
    void EnableCategoryView(bool on);
    CLxCategoryManager* GetCategoryManager() { return m_pCategoryManager; }

    // Rows and cells.
    int InsertItemEx(int row, DWORD_PTR itemData);
    // Refills the list with one row per item data, in order, as DeleteAllItems
    // and InsertItemEx would leave it (nothing selected, scrolled to the top).
    // Rows the list has are written over: the list view empties itself in time
    // that grows with the square of its rows.
    void SetRows(const std::vector<DWORD_PTR>& itemData);
    // From now on the list keeps the rows' item data itself and the list view
    // (made with LVS_OWNERDATA) holds only their count and states: a refill,
    // a sort or emptying the list then sends no message per row. Item
    // messages (insert, delete, item data, find by item data, item count)
    // act on the kept rows, so callers see a list with rows; texts of their
    // own and category view are not offered. False for a list without
    // LVS_OWNERDATA or with category view on.
    bool KeepRowData();
    bool KeepsRowData() const { return m_keepsRows; }
    BOOL DeleteItemEx(int row, DWORD_PTR itemData);
    void InvalidateItemText(int row, int column, DWORD_PTR itemData);
    void SetItemTextEx(int row, int column, DWORD_PTR itemData, const CString& text);
    void SetCellImage(int row, int column, int image);
    void GetCellText(int row, int column, CString& text, const DWORD_PTR* itemData = NULL);
    // The same with the column's id, for callers that read many rows of one column.
    void GetCellTextOfId(int row, int column, int columnId, const DWORD_PTR* itemData, CString& text);
    // The texts of one column for rows of these item data: at once from the
    // column-texts handler when it answers, else one per row.
    void GetColumnTexts(int column, const std::vector<DWORD_PTR>& rowData, std::vector<CString>& texts);
    BOOL RequestData(CLxListRequest& request);
    BOOL SelectCellFont(CLxListRequest& request, CDC* dc);
    BOOL BooleanRequestHandler(CLxListRequest& request);

    // Selection.
    void SelectLastRow();
    void SelectNextRow();
    void SelectPreviousRow();
    bool CanMovePrevious();
    bool CanMoveNext();
    bool CopyToClipboard(bool selectedOnly);
    // One masked image of the visible selected rows (the caller owns it) and its
    // top-left corner in the client area; NULL when none is selected.
    CImageList* CreateDragImageEx(POINT* topLeft);

    // Sorting.
    int SortBy(int column, int ascending);
    void ReSort();
    void LoadSortState(const char* listName);
    void SaveSortState(const char* listName);

    // Cells and keys.
    int HitTestEx(POINT point, int* column);
    int CellFromPoint(POINT point, RECT* cell, int* column);
    BOOL GetCellRect(int row, int column, RECT* rect);
    bool EnsureColumnVisible(int column);
    void MoveColumn(int* from, int* to);
    bool TypeAheadSearch(int character);

    // In-place editors; null when the cell cannot take one.
    CLxInPlaceEdit* EditCellText(int row, int column, bool byMouse);
    // editableChoice: a drop-down list (typed text too), else a drop list.
    CLxInPlaceCell* EditCellWithList(int row, int column, bool editableChoice, bool byMouse);
    CFont* GetNormalFont() { return &m_fonts[kFontNormal]; }
    // What the editors send as if the list sent it: LVN_ENDLABELEDIT to the
    // parent (text null: cancelled), NM_DBLCLK to the notification target.
    void SendEndLabelEdit(int editorId, int row, int column, const char* text);
    void SendDblClk();
    // Closes an editor, which deletes itself; with a direction then asks for
    // the move from its cell (a copy: the editor is gone by then).
    void CloseEditor(CWnd& editor, bool& closing, int direction = -1, LxCellPos from = {});
    // Posts a click where the cursor is, so that an editor's caret lands there.
    static void ClickAtCursor(CWnd& editor);
    int GetFocusedColumn() const { return m_focusedColumn; }

    // The column dialogs on the column manager (the header menu's commands).
    void OnCustomizeHeader();
    void OnHeaderFormat();

    // Printing.
    void OnBeginPrinting(CDC* dc, CPrintInfo* info);
    void OnPrint(CDC* dc, CPrintInfo* info);
    void OnEndPrinting(CDC* dc, CPrintInfo* info);

    void DrawItem(LPDRAWITEMSTRUCT drawItem);
    // Draws a row while category view is on: category rows with their box.
    virtual void DrawCategoryItem(LPDRAWITEMSTRUCT drawItem);
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Owner hooks and settings the owner sets directly.
    LxRequestHandler m_pfnRequestHandler;
    LxCellTextHandler m_pfnCellTextHandler;
    LxColumnTextsHandler m_pfnColumnTextsHandler;
    LxCategorizeItem m_pfnCategoryHandler;
    CWnd* m_pNotifyWnd;
    // While set, the user cannot customize the columns.
    bool m_customizeLocked;
    int m_controlIdOverride;
    CImageList* m_pCellImageList;
    DWORD m_ownerFontMask;
    LxClock m_pfnClock;
    CString m_printTitle;
    DWORD m_printOptions;
    RECT m_printMargins;  // millimetres

    // Kind masks by column id, rebuilt from the column definitions.
    DWORD m_dropListMask;
    DWORD m_dropDownMask;
    DWORD m_editMask;
    DWORD m_numericMask;
    DWORD m_currencyMask;
    DWORD m_imageMask;
    DWORD m_dateMask;

protected:
    int OnCreate(LPCREATESTRUCTA cs);
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void HoldPressedRow(CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    void OnContextMenu(CWnd* wnd, CPoint point);
    bool KeyMenuPoint(CPoint& point);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnColumnClick(NMHDR* header, LRESULT* result);
    void OnClick(NMHDR* header, LRESULT* result);
    void OnKeyDown(NMHDR* header, LRESULT* result);
    void OnEndLabelEdit(NMHDR* header, LRESULT* result);
    void OnSortAscending();
    void OnSortDescending();
    void OnUpdateSort(CCmdUI* cmdUI);
    void OnUpdateCustomizeHeader(CCmdUI* cmdUI);
    void OnUpdateHeaderFormat(CCmdUI* cmdUI);
    LRESULT OnNavigate(WPARAM code, LPARAM cell);
    LRESULT OnSetFont(WPARAM font, LPARAM redraw);
    LRESULT OnQueryNewPalette(WPARAM, LPARAM);
    LRESULT OnPaletteChanged(WPARAM changer, LPARAM);
    void BuildBackgroundPalette(int bitsPerPixel);
    LRESULT RealizeBackgroundPalette();
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    DECLARE_MESSAGE_MAP()

private:
    friend class CLxRowPainter;
    friend class CLxListPrinter;
    friend class CLxSortItems;
    friend class CLxInPlaceEdit;

    // The four fonts of one family, in this order.
    enum { kFontNormal, kFontUnderline, kFontBold, kFontItalic, kFontCount };
    static void CreateFontFamily(CFont* fonts, const LOGFONTA& logFont);
    void DeleteFonts();
    // Whether the style asks the owner about cells of this column id.
    bool AsksColumn(int id);
    LxCellLook AskCell(int row, int column, DWORD_PTR itemData);
    // The font of a look, from the screen or the print fonts.
    static CFont* FontOf(const LxCellLook& look, CFont* fonts);
    void MeasureItem(LPMEASUREITEMSTRUCT measure);
    void Remeasure();
    // A row's item data, without a message when the list keeps them.
    DWORD_PTR RowData(int row);
    int ControlId() const;
    CWnd* NotifyTarget() const;
    int FocusedRow() const;
    int FirstSelectedRow() const;
    void FocusRow(int row);
    // Opens or closes the category of a category row; false for other rows.
    bool ToggleCategory(int row);
    bool IsCategoryRow(int row);
    // The rows showing an item: with category view the item may show in
    // several rows, else only the given row.
    std::vector<int> RowsOfItem(int row, DWORD_PTR itemData);
    void RedrawCell(int row, int column);
    void SetFocusedColumn(int column);
    void ApplyEditedText(int row, int column, DWORD_PTR itemData, const CString& text);
    void NavigateToCell(int code, const LxCellPos& from);
    // Opens the editor of the cell's column kind; null when none opens.
    CWnd* OpenEditor(int row, int column, bool byMouse);
    // The rectangle of an editor over a cell, after scrolling it into view.
    bool EditorRect(int row, int column, int rightInset, RECT* rect);
    // The owner's font and text colour for an editor (style bit 0x0010).
    bool AskEditorLook(int row, int column, LxCellLook& look);
    void MoveFocusRow(int delta);
    CRect VisibleSelectionRect();
    void DrawSelectedRows(HDC dc, CPoint origin);
    void RedrawCellsAroundPointer();
    int SearchStart(int character, int focused, int count);
    bool SortableColumn(int column);
    bool CanSortBy(int column);
    // Sorts as SortBy once per entry, in order, with one pass over the rows;
    // answers as SortBy does for the last entry.
    int SortByKeys(const std::vector<LxSortOrder>& sorts);
    void SortRows(const std::vector<LxSortOrder>& sorts);
    // Kept rows: the answer to an item message, false for the messages the
    // list view answers alone.
    bool KeptRowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT InsertKeptRow(const LVITEMA& item);
    LRESULT DeleteKeptRow(WPARAM row);
    LRESULT GetKeptRow(UINT message, LVITEMA& item);
    LRESULT SetKeptRow(UINT message, const LVITEMA& item);
    LRESULT SetKeptRowText(WPARAM row, const LVITEMA& item);
    int FindKeptRow(int start, const LVFINDINFOA& find) const;
    // The owner's callback text of a kept row, asked as the list view asks
    // it, without the round trip through the list view.
    void AskKeptRowText(int row, int column, DWORD_PTR itemData, CString& text);
    void SetKeptRows(const std::vector<DWORD_PTR>& itemData);
    // The list view's own count, past the kept rows' bookkeeping.
    void SetViewCount(int count);
    // Moves the selected and focused states of the rows from a row on one row
    // down, as the list view does for rows of its own when one is inserted.
    void ShiftRowStatesDown(int from);
    // Adds the item data to the list view's notifications; true for those
    // answered here.
    bool KeptRowNotify(NMHDR* header, LRESULT* result);
    void PaintEmptyText();
    void ShowHeaderMenu();
    void RunColumnDialog(CDialog& dialog);
    void HideTip();
    // The cell whose whole text the tip shows; false where no tip belongs.
    bool TipCell(CPoint point, CRect& cell, int& column, int& row);
    void DeletePrintFonts();
    bool IsFixedText(LPARAM text) const;
    void NoteTextMessage(UINT message, LPARAM lParam);

    CLxHeaderCtrl m_header;
    CLxListTip m_tip;
    CLxColumnManager* m_pColumnManager;
    CLxCategoryManager* m_pCategoryManager;
    DWORD m_style;
    COLORREF m_textColor;
    COLORREF m_selectionColor;
    COLORREF m_textBkColor;
    COLORREF m_bkColor;
    COLORREF m_categoryBkColor;
    int m_stateImageWidth;
    int m_clientWidth;
    int m_focusedColumn;
    int m_headerMenuColumn;
    int m_textHeight;
    int m_minRowHeight;
    int m_categoryHeightA;
    int m_categoryHeightB;
    CString m_emptyText;
    CPen* m_pGridPen;
    CPen* m_pDarkPen;
    CFont m_fonts[kFontCount];
    CFont m_printFonts[kFontCount];
    int m_linesPerPage;
    int m_printRowHeight;
    CTimeStamp m_lastKeyTime;
    CString m_searchText;
    bool m_inPlaceEdit;
    bool m_editorOpen;
    HBITMAP m_background;
    SIZE m_backgroundSize;
    CImageList m_backgroundList;
    CPalette m_palette;
    bool m_blendSelection;
    // Whether any cell ever got a text of its own (not the callback marker):
    // sorting may then not move contents between rows.
    bool m_fixedTexts;
    // The item data of each row while the list keeps them (KeepRowData).
    bool m_keepsRows;
    std::vector<DWORD_PTR> m_rowData;
};
