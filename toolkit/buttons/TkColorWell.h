// TkColorWell: a grid of colour cells (by default 4 columns by 5 rows of the
// system's default palette) from which the user picks one colour with the
// mouse or the arrow keys. With the custom option an "&Other..." button below
// the grid opens the colour dialog, and its colour fills a custom cell beside
// the button. A plain well tells its parent of every selection with
// WM_TKCOLORWELL_SELECT (wParam the control id, lParam the colour).
#pragma once

#include <afxwin.h>

#include <memory>

const UINT WM_TKCOLORWELL_SELECT = WM_USER + 101;
// Window style bit: wider margins inside a raised frame.
const DWORD TKCWS_WIDEMARGIN = 0x0001;
// Command and control id of the "&Other..." button; also the id of its text.
const UINT ID_TKCOLORWELL_OTHER = 0xEA31;

class TkColorWell : public CWnd
{
    DECLARE_DYNCREATE(TkColorWell)
public:
    // How a cell came to be selected.
    enum SelectHow
    {
        kByKey = 0,
        kByHover = 1,
        kByChoice = 2
    };

    TkColorWell();

    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id, BOOL customOption = FALSE);
    // The well's size for this parent: cells of 10 x 10 dialog units. With
    // convert, x and y are dialog units turned into pixels.
    CSize CalcSize(CWnd* parent, int& x, int& y, BOOL convert);

    void SetColor(COLORREF color);
    COLORREF GetColor() const;
    void SetHoverTracking(BOOL track) { m_bHoverTracking = track; }
    void SetUsePalette(BOOL usePalette);
    void SetRows(int rows) { m_nRows = rows; }
    int GetRows() const { return m_nRows; }
    void SetColumns(int columns) { m_nColumns = columns; }
    int GetColumns() const { return m_nColumns; }
    void SetColorDialogFlags(UINT flags) { m_nColorDialogFlags = flags; }
    UINT GetColorDialogFlags() const { return m_nColorDialogFlags; }
    // The sixteen custom colours the colour dialog shows; the caller keeps the array.
    void SetCustomColors(COLORREF* colors) { m_pCustomColors = colors; }
    COLORREF* GetCustomColors() const { return m_pCustomColors; }

    // Refuses a cell outside the grid, and the custom cell while it has no colour.
    void SelectCell(int column, int row, int how);
    // The cell under point (client coordinates); FALSE when there is none.
    BOOL HitTest(CPoint point, int& column, int& row) const;

protected:
    // Sets the grid before the window is made (4 columns, 5 rows).
    virtual void InitGrid();
    // Lets a derived well replace the cell colours; filled of count are set.
    virtual void InitColors(PALETTEENTRY* entries, int count, int filled);
    virtual void NotifySelection(int how);
    virtual void OnOther();
    virtual LPCSTR GetClassName();
    // The grid, the custom cell and the margins for this style.
    void InitLayout(DWORD style, BOOL customOption);
    BOOL CreateWell(DWORD style, int x, int y, const CSize& size, CWnd* parent, UINT id,
                    DWORD exStyle = 0);
    void RefreshColors();

    CRect CellRect(int column, int row) const;
    BOOL IsCustomCell(int column, int row) const;
    BOOL IsSelectable(int column, int row) const;
    BOOL HasCustomColor() const { return m_bCustomOption && m_bCustomPresent; }

    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnSetFocus(CWnd* oldWnd);
    void OnKillFocus(CWnd* newWnd);
    void OnSysColorChange();
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnOtherCommand();
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    CPalette m_palette;
    int m_nRows;
    int m_nColumns;
    int m_nCustomColumn;
    int m_nCustomRow;
    int m_nCellHeight;
    int m_nCellWidth;
    int m_nMarginX;
    int m_nMarginY;
    int m_nExtraRowHeight;
    int m_nSelRow;
    int m_nSelColumn;
    int m_nCustomIndex;
    BOOL m_bFocused;
    BOOL m_bHoverTracking;
    BOOL m_bCustomOption;
    BOOL m_bCustomPresent;
    BOOL m_bUsePalette;
    UINT m_nColorDialogFlags;
    COLORREF* m_pCustomColors;
    CBrush m_faceBrush;
    std::unique_ptr<CButton> m_pOtherButton;
    // A plain well draws its focus frame in a one-pixel border; the popup has none.
    BOOL m_bBorder;

    COLORREF m_clr3DHilite;
    COLORREF m_clr3DShadow;
    COLORREF m_clr3DFace;
    COLORREF m_clr3DDkShadow;
    COLORREF m_clr3DLight;
    COLORREF m_clrWindowFrame;

    void MoveSelection(UINT key);

private:
    BOOL BuildPalette();
    void CreateOtherButton(CWnd* parent);
    void InvalidateCell(int column, int row);
    void DrawCell(CDC* dc, int column, int row);
    void Paint(CDC* dc, const CRect& client);
    COLORREF CellFill(int index) const;
    int IndexOf(int column, int row) const;
};

// Dialog data exchange: loading sets the well's colour, saving reads it.
void DDX_TkColorWell(CDataExchange* pDX, TkColorWell& well, COLORREF& color);
