// Printing of CLxListCtrl: a heading line, the column header and as many rows
// as fit on a page, the columns stretched to the page width.
#include "listctrl/LxListCtrl.h"

#include <afxext.h>

#include <stdlib.h>
#include <string.h>

namespace
{
const int kPrintPointSize = 90;  // tenths of a point
const int kHeaderTextLength = 256;
const UINT kCellFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
// Room between a cell's edge and its text, in logical units of the page.
const int kCellPadding = 4;

UINT HeaderAlignment(int format)
{
    if (format & HDF_CENTER)
        return DT_CENTER;
    return format & HDF_RIGHT ? DT_RIGHT : DT_LEFT;
}
}

// Prints one page of a list.
class CLxListPrinter
{
public:
    CLxListPrinter(CLxListCtrl& list, CDC& dc, const CRect& area);
    void PrintHeading(UINT page);
    void PrintHeader();
    void PrintRows(int first, int count);

private:
    // Left edge of each column on paper, and the right edge of the last.
    void LayOutColumns();
    void PrintHeaderCell(int column, const CRect& cell);
    void PrintCell(int row, int column, DWORD_PTR itemData, const CRect& cell);
    void Line(int x1, int y1, int x2, int y2);

    CLxListCtrl& m_list;
    CDC& m_dc;
    CRect m_area;
    int m_rowHeight;
    int m_top;
    std::vector<int> m_edges;
};

CLxListPrinter::CLxListPrinter(CLxListCtrl& list, CDC& dc, const CRect& area)
    : m_list(list), m_dc(dc), m_area(area), m_rowHeight(list.m_printRowHeight), m_top(area.top)
{
    LayOutColumns();
}

void CLxListPrinter::LayOutColumns()
{
    int columns = m_list.GetColumnCount();
    int total = 0;
    for (int i = 0; i < columns; i++)
        total += std::max(0, m_list.GetColumnWidth(i));
    m_edges.assign(1, m_area.left);
    int sum = 0;
    for (int i = 0; i < columns; i++)
    {
        sum += std::max(0, m_list.GetColumnWidth(i));
        // Without any width the columns share the page.
        int right = total > 0 ? MulDiv(sum, m_area.Width(), total)
                              : MulDiv(i + 1, m_area.Width(), columns);
        m_edges.push_back(m_area.left + right);
    }
}

void CLxListPrinter::Line(int x1, int y1, int x2, int y2)
{
    m_dc.MoveTo(x1, y1);
    m_dc.LineTo(x2, y2);
}

void CLxListPrinter::PrintHeading(UINT page)
{
    DWORD options = m_list.m_printOptions;
    if (!(options & (kLxPrintTitle | kLxPrintPage | kLxPrintDate)))
        return;
    CRect line(m_area.left, m_top, m_area.right, m_top + m_rowHeight);
    m_dc.SelectObject(&m_list.m_printFonts[CLxListCtrl::kFontNormal]);
    if (options & kLxPrintTitle)
        m_dc.DrawText(m_list.m_printTitle, &line, DT_SINGLELINE | DT_NOPREFIX);
    if (options & kLxPrintPage)
    {
        CString number;
        number.Format("%d", page);
        m_dc.DrawText(number, &line, DT_SINGLELINE | DT_CENTER);
    }
    if (options & kLxPrintDate)
    {
        SYSTEMTIME today;
        ::GetLocalTime(&today);
        CString date;
        date.Format("%02d/%02d/%d", today.wMonth, today.wDay, today.wYear);
        m_dc.DrawText(date, &line, DT_SINGLELINE | DT_RIGHT);
    }
    m_top += m_rowHeight;
}

void CLxListPrinter::PrintHeader()
{
    m_dc.SelectObject(&m_list.m_printFonts[CLxListCtrl::kFontBold]);
    m_dc.SetBkMode(TRANSPARENT);
    int bottom = m_top + m_rowHeight;
    int columns = (int)m_edges.size() - 1;
    for (int i = 0; i < columns; i++)
        PrintHeaderCell(i, CRect(m_edges[i], m_top, m_edges[i + 1], bottom));
    Line(m_area.left, m_top, m_edges.back(), m_top);
    Line(m_area.left, bottom, m_edges.back(), bottom);
    for (int edge : m_edges)
        Line(edge, m_top, edge, bottom);
    m_top = bottom;
}

// A caption "N_" stands for an image of the header image list (the
// definition's image when the column manager has one).
void CLxListPrinter::PrintHeaderCell(int column, const CRect& cell)
{
    char text[kHeaderTextLength] = "";
    HDITEMA item = {};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    m_list.m_header.GetItem(column, &item);
    size_t length = strlen(text);
    if (length > 0 && text[length - 1] == '_')
    {
        int image = atoi(text);
        CLxColumnManager* manager = m_list.m_pColumnManager;
        int index = manager ? manager->FindColumn(m_list.GetColumnId(column)) : -1;
        if (index >= 0)
            image = manager->GetColumn(index).m_image;
        if (m_list.m_header.m_pImageList)
            m_list.m_header.m_pImageList->Draw(&m_dc, image, cell.TopLeft(), ILD_TRANSPARENT);
        return;
    }
    CRect inner(cell.left + kCellPadding, cell.top, cell.right - kCellPadding, cell.bottom);
    m_dc.DrawText(text, -1, &inner, kCellFlags | HeaderAlignment(item.fmt));
}

void CLxListPrinter::PrintRows(int first, int count)
{
    int columns = (int)m_edges.size() - 1;
    for (int row = first; row < first + count; row++)
    {
        DWORD_PTR itemData = m_list.GetItemData(row);
        int bottom = m_top + m_rowHeight;
        for (int i = 0; i < columns; i++)
            PrintCell(row, i, itemData, CRect(m_edges[i], m_top, m_edges[i + 1], bottom));
        for (int edge : m_edges)
            Line(edge, m_top, edge, bottom);
        Line(m_area.left, bottom, m_edges.back(), bottom);
        m_top = bottom;
    }
}

void CLxListPrinter::PrintCell(int row, int column, DWORD_PTR itemData, const CRect& cell)
{
    CString text;
    m_list.GetCellText(row, column, text, &itemData);
    int id = m_list.GetColumnId(column);
    bool imageCell = (m_list.m_style & kLxStyleImageCells) && (m_list.m_imageMask & LxColumnBit(id));
    if (imageCell)
    {
        if (m_list.m_pCellImageList)
            m_list.m_pCellImageList->Draw(&m_dc, atoi(text), cell.TopLeft(), ILD_TRANSPARENT);
        return;
    }
    bool rowOnly = (m_list.m_style & kLxStyleAskCells) && (m_list.m_style & kLxStyleAskRowOnly);
    LxCellLook look = m_list.AskCell(row, rowOnly ? 0 : column, itemData);
    m_dc.SelectObject(CLxListCtrl::FontOf(look, m_list.m_printFonts));
    LVCOLUMNA info = {};
    info.mask = LVCF_FMT;
    m_list.GetColumn(column, &info);
    UINT align = (info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_RIGHT    ? DT_RIGHT
                 : (info.fmt & LVCFMT_JUSTIFYMASK) == LVCFMT_CENTER ? DT_CENTER
                                                                     : DT_LEFT;
    CRect inner(cell.left + kCellPadding, cell.top, cell.right - kCellPadding, cell.bottom);
    m_dc.DrawText(text, &inner, kCellFlags | align);
}

// The list.

void CLxListCtrl::DeletePrintFonts()
{
    for (CFont& font : m_printFonts)
        font.DeleteObject();
}

void CLxListCtrl::OnBeginPrinting(CDC* dc, CPrintInfo* info)
{
    DeletePrintFonts();
    int dpiX = dc->GetDeviceCaps(LOGPIXELSX), dpiY = dc->GetDeviceCaps(LOGPIXELSY);
    CRect area(MulDiv(m_printMargins.left, dpiX * 10, 254),
               MulDiv(m_printMargins.top, dpiY * 10, 254),
               dc->GetDeviceCaps(HORZRES) - MulDiv(m_printMargins.right, dpiX * 10, 254),
               dc->GetDeviceCaps(VERTRES) - MulDiv(m_printMargins.bottom, dpiY * 10, 254));
    dc->DPtoLP(&area);
    info->m_rectDraw = area;

    CFont base;
    base.CreatePointFont(kPrintPointSize, "Arial", dc);
    LOGFONTA logFont = {};
    base.GetLogFont(&logFont);
    CreateFontFamily(m_printFonts, logFont);

    CFont* old = dc->SelectObject(&m_printFonts[kFontNormal]);
    int height = dc->GetTextExtent("XX", 2).cy;
    dc->SelectObject(&m_printFonts[kFontBold]);
    height = std::max(height, (int)dc->GetTextExtent("XX", 2).cy);
    dc->SelectObject(old);
    m_printRowHeight = std::max(1, height + height / 4);

    int headings = m_printOptions & (kLxPrintTitle | kLxPrintPage | kLxPrintDate) ? 2 : 1;
    // A page too small for one row still prints one per page.
    m_linesPerPage = std::max(1, (area.Height() - headings * m_printRowHeight) / m_printRowHeight);
    info->SetMinPage(1);
    info->SetMaxPage(GetItemCount() / m_linesPerPage + 1);
}

void CLxListCtrl::OnPrint(CDC* dc, CPrintInfo* info)
{
    if (m_linesPerPage < 1)
        return;
    int first = (int)(info->m_nCurPage - 1) * m_linesPerPage;
    int count = std::max(0, std::min(m_linesPerPage, GetItemCount() - first));
    int saved = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(0, 0, 0));
    CLxListPrinter printer(*this, *dc, info->m_rectDraw);
    printer.PrintHeading(info->m_nCurPage);
    printer.PrintHeader();
    printer.PrintRows(first, count);
    dc->RestoreDC(saved);
}

void CLxListCtrl::OnEndPrinting(CDC*, CPrintInfo*)
{
    DeletePrintFonts();
}
