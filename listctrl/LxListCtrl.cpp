#include "listctrl/LxListCtrl.h"

#include "listctrl/LxColumnFormatDlg.h"
#include "listctrl/LxCustomizeColumnsDlg.h"
#include "listctrl/LxListResource.h"

#include <algorithm>
#include <stdlib.h>

namespace
{
// Rows copied when nothing but "some rows" is asked for.
const int kCopiedRows = 10;

ULONGLONG SystemClock()
{
    return CTimeStamp().GetValue();
}
}

BEGIN_MESSAGE_MAP(CLxListCtrl, CListCtrl)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_RBUTTONUP()
    ON_WM_CONTEXTMENU()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
    ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
    ON_NOTIFY_REFLECT(LVN_KEYDOWN, OnKeyDown)
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDITA, OnEndLabelEdit)
    ON_COMMAND(ID_LX_SORT_ASCENDING, OnSortAscending)
    ON_COMMAND(ID_LX_SORT_DESCENDING, OnSortDescending)
    ON_COMMAND(ID_LX_CUSTOMIZE_HEADER, OnCustomizeHeader)
    ON_COMMAND(ID_LX_HEADER_FORMAT, OnHeaderFormat)
    ON_UPDATE_COMMAND_UI(ID_LX_SORT_ASCENDING, OnUpdateSort)
    ON_UPDATE_COMMAND_UI(ID_LX_SORT_DESCENDING, OnUpdateSort)
    ON_UPDATE_COMMAND_UI(ID_LX_CUSTOMIZE_HEADER, OnUpdateCustomizeHeader)
    ON_UPDATE_COMMAND_UI(ID_LX_HEADER_FORMAT, OnUpdateHeaderFormat)
    ON_MESSAGE(WM_LX_NAVIGATE, OnNavigate)
    ON_MESSAGE(WM_SETFONT, OnSetFont)
    ON_MESSAGE(WM_QUERYNEWPALETTE, OnQueryNewPalette)
    ON_MESSAGE(WM_PALETTECHANGED, OnPaletteChanged)
END_MESSAGE_MAP()

CLxListCtrl::CLxListCtrl()
    : m_pfnRequestHandler(NULL), m_pfnCellTextHandler(NULL), m_pfnColumnTextsHandler(NULL),
      m_pfnCategoryHandler(NULL),
      m_pNotifyWnd(NULL), m_customizeLocked(false),
      m_controlIdOverride(-1), m_pCellImageList(NULL), m_ownerFontMask(0),
      m_pfnClock(SystemClock), m_printTitle("Lx list Control"), m_printOptions(0),
      m_printMargins(), m_dropListMask(0), m_dropDownMask(0), m_editMask(0),
      m_numericMask(0), m_currencyMask(0), m_imageMask(0), m_dateMask(0),
      m_pColumnManager(NULL), m_pCategoryManager(NULL), m_style(kLxStyleDefault),
      m_textColor(::GetSysColor(COLOR_WINDOWTEXT)),
      m_selectionColor(::GetSysColor(COLOR_HIGHLIGHT)),
      m_textBkColor(::GetSysColor(COLOR_WINDOW)), m_bkColor(::GetSysColor(COLOR_WINDOW)),
      m_categoryBkColor(::GetSysColor(COLOR_BTNFACE)),
      m_stateImageWidth(0), m_clientWidth(0), m_focusedColumn(0), m_headerMenuColumn(-1), m_textHeight(17),
      m_minRowHeight(17), m_categoryHeightA(16), m_categoryHeightB(16),
      m_emptyText("(Empty)"), m_pGridPen(new CPen), m_pDarkPen(new CPen), m_linesPerPage(0),
      m_printRowHeight(0), m_lastKeyTime(0ull), m_inPlaceEdit(true), m_editorOpen(false),
      m_background(NULL), m_backgroundSize(), m_blendSelection(true), m_fixedTexts(false),
      m_keepsRows(false)
{
    m_pGridPen->CreatePen(PS_SOLID, 1, RGB(0xC0, 0xC0, 0xC0));
    m_pDarkPen->CreatePen(PS_SOLID, 1, RGB(0x80, 0x80, 0x80));
    LOGFONTA logFont = {};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    SetListFont(logFont);
    m_header.SetReorderCallback(this, &CLxListCtrl::MoveColumn);
}

CLxListCtrl::~CLxListCtrl()
{
    // While the whole object still stands: the window's last messages reach it.
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    if (m_tip.m_hWnd)
        m_tip.DestroyWindow();
    delete m_pGridPen;
    delete m_pDarkPen;
    delete m_pColumnManager;
    delete m_pCategoryManager;
    if (m_background)
        ::DeleteObject(m_background);
    if (m_header.m_hWnd)
        m_header.UnsubclassWindow();
}

int CLxListCtrl::OnCreate(LPCREATESTRUCTA cs)
{
    if (Default() == -1)
        return -1;
    (void)cs;
    if (!m_tip.m_hWnd)
        AttachHeaderAndTip();
    return 0;
}

void CLxListCtrl::AttachHeaderAndTip()
{
    if (!IsReportView())
        return;
    HWND header = ::GetDlgItem(m_hWnd, 0);
    if (header && !m_header.m_hWnd)
        m_header.SubclassWindow(header);
    if (!m_tip.m_hWnd && m_tip.Create(this))
    {
        m_tip.m_pFont = &m_fonts[kFontNormal];
        m_tip.ShowWindow(SW_HIDE);
    }
    ModifyStyle(0, WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

CLxHeaderCtrl* CLxListCtrl::GetHeader()
{
    if (!m_header.m_hWnd && m_hWnd)
        AttachHeaderAndTip();
    return m_header.m_hWnd ? &m_header : NULL;
}

void CLxListCtrl::DeleteFonts()
{
    for (CFont& font : m_fonts)
        font.DeleteObject();
}

void CLxListCtrl::CreateFontFamily(CFont* fonts, const LOGFONTA& logFont)
{
    LOGFONTA variant = logFont;
    fonts[kFontNormal].CreateFontIndirect(&variant);
    variant.lfUnderline = 1;
    fonts[kFontUnderline].CreateFontIndirect(&variant);
    variant = logFont;
    variant.lfWeight = FW_BOLD;
    fonts[kFontBold].CreateFontIndirect(&variant);
    variant = logFont;
    variant.lfItalic = 1;
    fonts[kFontItalic].CreateFontIndirect(&variant);
}

void CLxListCtrl::EnableCategoryView(bool on)
{
    // Category rows have texts of their own, which kept rows do not hold.
    if (on && m_keepsRows)
        return;
    SetFocus();
    // Column 0 makes room for the category boxes only where the owner left it empty.
    const int boxColumnWidth = 18;
    if (on)
    {
        if (!m_pCategoryManager)
            m_pCategoryManager = new CLxCategoryManager(GetParent(), m_pfnCategoryHandler, NULL);
        if (GetColumnId(0) == 0 && GetColumnWidth(0) == 0)
            SetColumnWidth(0, boxColumnWidth);
        m_pCategoryManager->Categorize(*this);
    }
    else if (m_pCategoryManager)
    {
        if (GetColumnId(0) == 0 && GetColumnWidth(0) == boxColumnWidth)
            SetColumnWidth(0, 0);
        m_pCategoryManager->Flatten(*this);
        delete m_pCategoryManager;
        m_pCategoryManager = NULL;
    }
    Remeasure();
    SetFocus();
}

void CLxListCtrl::SetListFont(const LOGFONTA& logFont)
{
    DeleteFonts();
    CreateFontFamily(m_fonts, logFont);
    m_textHeight = (int)(abs(logFont.lfHeight) * 1.2);
    Remeasure();
}

// The list view asks for the row height again only when it sees a size change
// (WM_WINDOWPOSCHANGED without SWP_NOSIZE): lists made from dialog templates
// get their height no other way.
void CLxListCtrl::Remeasure()
{
    if (!m_hWnd)
        return;
    CRect window;
    GetWindowRect(&window);
    WINDOWPOS pos = {};
    pos.hwnd = m_hWnd;
    pos.cx = window.Width();
    pos.cy = window.Height();
    pos.flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    SendMessage(WM_WINDOWPOSCHANGED, 0, (LPARAM)&pos);
}

void CLxListCtrl::MeasureItem(LPMEASUREITEMSTRUCT measure)
{
    // Category rows and item rows share one height, set apart from the font.
    if (m_pCategoryManager)
        measure->itemHeight = std::max(m_categoryHeightA, m_categoryHeightB);
    else
        measure->itemHeight = std::max(m_textHeight, m_minRowHeight);
}

LRESULT CLxListCtrl::OnSetFont(WPARAM font, LPARAM redraw)
{
    LOGFONTA logFont = {};
    if (font && ::GetObjectA((HFONT)font, sizeof(logFont), &logFont))
        SetListFont(logFont);
    (void)redraw;
    return Default();
}

void CLxListCtrl::SetEmptyText(const char* text)
{
    m_emptyText = text ? text : "";
    if (m_hWnd)
        Invalidate();
}

void CLxListCtrl::ModifyLxStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    m_style = (m_style & ~remove) | add;
    if (!m_hWnd)
        return;
    if (swpFlags)
        SetWindowPos(NULL, 0, 0, 0, 0, swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
    else
        Invalidate();
}

void CLxListCtrl::ModifyExtendedStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    SetExtendedStyle((GetExtendedStyle() & ~remove) | add);
    if (swpFlags)
        SetWindowPos(NULL, 0, 0, 0, 0, swpFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
    else
        Invalidate();
}

void CLxListCtrl::SetHeaderImageList(CImageList* imageList)
{
    m_header.m_pImageList = imageList;
}

void CLxListCtrl::SetCategoryRowHeight(int height)
{
    m_categoryHeightA = height;
    Remeasure();
}

void CLxListCtrl::SetRowHeightLimits(int height, bool categoryRows)
{
    if (categoryRows)
        m_categoryHeightB = height;
    else
        m_minRowHeight = height;
    Remeasure();
}

void CLxListCtrl::EnableColumnDrag(bool enable)
{
    m_header.m_dragEnabled = enable;
}

void CLxListCtrl::EnableInPlaceEdit(bool enable)
{
    m_inPlaceEdit = enable;
}

LRESULT CLxListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT kept = 0;
    if (m_keepsRows && KeptRowMessage(message, wParam, lParam, kept))
        return kept;
    switch (message)
    {
    case LVM_SETTEXTCOLOR:
        m_textColor = (COLORREF)lParam;
        break;
    case LVM_SETTEXTBKCOLOR:
        m_textBkColor = (COLORREF)lParam;
        break;
    case LVM_SETBKCOLOR:
        m_bkColor = (COLORREF)lParam;
        break;
    case LVM_SETIMAGELIST:
        if (wParam == LVSIL_STATE)
        {
            int cx = 0, cy = 0;
            m_stateImageWidth = lParam && ImageList_GetIconSize((HIMAGELIST)lParam, &cx, &cy)
                                    ? cx : 0;
        }
        break;
    default:
        NoteTextMessage(message, lParam);
        break;
    }
    return CListCtrl::WindowProc(message, wParam, lParam);
}

bool CLxListCtrl::IsFixedText(LPARAM text) const
{
    return text && (LPSTR)text != LPSTR_TEXTCALLBACKA;
}

void CLxListCtrl::NoteTextMessage(UINT message, LPARAM lParam)
{
    switch (message)
    {
    case LVM_INSERTITEMA:
    case LVM_SETITEMA:
    case LVM_SETITEMTEXTA:
    {
        const LVITEMA* item = (const LVITEMA*)lParam;
        if (item && (message == LVM_SETITEMTEXTA || item->mask & LVIF_TEXT) &&
            IsFixedText((LPARAM)item->pszText))
            m_fixedTexts = true;
        break;
    }
    case LVM_INSERTITEMW:
    case LVM_SETITEMW:
    case LVM_SETITEMTEXTW:
        m_fixedTexts = true;
        break;
    }
}

BOOL CLxListCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_DRAWITEM)
    {
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        return TRUE;
    }
    if (message == WM_MEASUREITEM)
    {
        MeasureItem((LPMEASUREITEMSTRUCT)lParam);
        return TRUE;
    }
    if (message == WM_NOTIFY && m_keepsRows && KeptRowNotify((NMHDR*)lParam, result))
        return TRUE;
    return CListCtrl::OnChildNotify(message, wParam, lParam, result);
}

// Columns.

CLxColumnManager* CLxListCtrl::CreateColumnManager()
{
    delete m_pColumnManager;
    m_pColumnManager = new CLxColumnManager;
    return m_pColumnManager;
}

void CLxListCtrl::SetupColumns()
{
    if (m_pColumnManager)
        m_pColumnManager->ApplyToList(*this);
}

void CLxListCtrl::ReadColumnsFromHeader()
{
    if (m_pColumnManager)
        m_pColumnManager->ReadFromHeader(*this);
}

void CLxListCtrl::ClearKindMasks()
{
    m_dropListMask = m_dropDownMask = m_editMask = 0;
    m_numericMask = m_currencyMask = m_imageMask = 0;
}

int CLxListCtrl::InsertColumnEx(int index, const char* label, int format, int width,
                                DWORD kindBits)
{
    return InsertColumnEx(index, label, format, width, kindBits, index);
}

int CLxListCtrl::InsertColumnEx(int index, const char* label, int format, int width,
                                DWORD kindBits, int id)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = format | LVCFMT_COL_HAS_IMAGES;
    column.cx = width;
    column.pszText = (LPSTR)(label ? label : "");
    column.iSubItem = id;
    int inserted = InsertColumn(index, &column);
    if (inserted < 0)
        return inserted;
    // The header item carries the id too: the header draws by it.
    HDITEMA item = {};
    item.mask = HDI_LPARAM;
    item.lParam = id;
    if (GetHeader())
        m_header.SetItem(inserted, &item);

    DWORD bit = LxColumnBit(id);
    const struct { DWORD format; DWORD* mask; } kinds[] = {
        {kLxColDropList, &m_dropListMask}, {kLxColDropDownList, &m_dropDownMask},
        {kLxColEdit, &m_editMask},         {kLxColNumeric, &m_numericMask},
        {kLxColCurrency, &m_currencyMask}, {kLxColImage, &m_imageMask},
        {kLxColDate, &m_dateMask},         {kLxColSortable, &m_header.m_directionMask},
        {kLxColNoSortMark, &m_header.m_noSortMarkMask},
        {kLxColFixedWidth, &m_header.m_fixedWidthMask},
    };
    for (const auto& kind : kinds)
    {
        if (kindBits & kind.format)
            *kind.mask |= bit;
    }
    return inserted;
}

void CLxListCtrl::DeleteAllColumns()
{
    for (int i = GetColumnCount() - 1; i >= 0; i--)
        DeleteColumn(i);
}

int CLxListCtrl::GetColumnCount()
{
    return GetHeader() ? m_header.GetItemCount() : 0;
}

int CLxListCtrl::GetColumnId(int index)
{
    if (index < 0 || index >= GetColumnCount())
        return -1;
    LVCOLUMNA column = {};
    column.mask = LVCF_SUBITEM;
    return GetColumn(index, &column) ? column.iSubItem : -1;
}

void CLxListCtrl::SetHeaderImage(int index, int image)
{
    if (index < 0 || index >= GetColumnCount())
        return;
    char text[16];
    wsprintfA(text, "%d_", image);
    HDITEMA item = {};
    item.mask = HDI_FORMAT | HDI_TEXT;
    m_header.GetItem(index, &item);
    item.fmt |= HDF_OWNERDRAW;
    item.pszText = text;
    m_header.SetItem(index, &item);
}

// Rows and cells.

int CLxListCtrl::InsertItemEx(int row, DWORD_PTR itemData)
{
    if (m_pCategoryManager)
        return m_pCategoryManager->AddItem(*this, itemData);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = LPSTR_TEXTCALLBACKA;
    item.lParam = (LPARAM)itemData;
    return InsertItem(&item);
}

void CLxListCtrl::SetRows(const std::vector<DWORD_PTR>& itemData)
{
    if (m_keepsRows)
    {
        SetKeptRows(itemData);
        return;
    }
    int count = (int)itemData.size();
    int had = GetItemCount();
    // Rows with texts of their own or category rows cannot be reused; nor is
    // it worth deleting most rows one by one.
    if (m_pCategoryManager || m_fixedTexts || count < had / 2)
    {
        DeleteAllItems();
        had = 0;
    }
    int kept = std::min(count, had);
    // The list view moves the focus off a deleted row: the tail goes first.
    for (int row = had - 1; row >= count; row--)
        DeleteItem(row);
    LVITEMA item = {};
    item.mask = LVIF_PARAM | LVIF_STATE;
    item.stateMask = (UINT)-1;
    for (int row = 0; row < kept; row++)
    {
        item.iItem = row;
        item.lParam = (LPARAM)itemData[row];
        SetItem(&item);
    }
    SetItemCount(count);
    for (int row = kept; row < count; row++)
        InsertItemEx(row, itemData[row]);
    SetSelectionMark(-1);
    if (kept > 0)
        EnsureVisible(0, FALSE);
}

std::vector<int> CLxListCtrl::RowsOfItem(int row, DWORD_PTR itemData)
{
    if (!m_pCategoryManager)
        return std::vector<int>(1, row);
    std::vector<int> rows;
    LVFINDINFOA find = {};
    find.flags = LVFI_PARAM;
    find.lParam = (LPARAM)itemData;
    for (int found = FindItem(&find, -1); found >= 0; found = FindItem(&find, found))
    {
        // The list view's search wraps round to the start.
        if (!rows.empty() && found <= rows.back())
            break;
        rows.push_back(found);
    }
    return rows;
}

BOOL CLxListCtrl::DeleteItemEx(int row, DWORD_PTR itemData)
{
    if (!m_pCategoryManager)
        return DeleteItem(row);
    // The manager forgets the item too: a later rebuild (sorting, the view
    // switched off) must not bring back a row for an item the owner deleted.
    return m_pCategoryManager->RemoveItem(*this, itemData);
}

void CLxListCtrl::InvalidateItemText(int row, int column, DWORD_PTR itemData)
{
    for (int each : RowsOfItem(row, itemData))
        SetItemText(each, column, LPSTR_TEXTCALLBACKA);
}

void CLxListCtrl::SetItemTextEx(int row, int column, DWORD_PTR itemData, const CString& text)
{
    for (int each : RowsOfItem(row, itemData))
        SetItemText(each, column, text);
}

void CLxListCtrl::SetCellImage(int row, int column, int image)
{
    if (!(m_style & kLxStyleImageCells))
        return;
    char text[16];
    wsprintfA(text, "%d", image);
    SetItemText(row, column, text);
}

void CLxListCtrl::GetCellText(int row, int column, CString& text, const DWORD_PTR* itemData)
{
    // Only the cell-text handler takes the column id.
    int id = m_pfnCellTextHandler ? GetColumnId(column) : -1;
    GetCellTextOfId(row, column, id, itemData, text);
}

void CLxListCtrl::GetCellTextOfId(int row, int column, int columnId, const DWORD_PTR* itemData, CString& text)
{
    if (!m_pfnCellTextHandler && !m_keepsRows)
    {
        text = GetItemText(row, column);
        return;
    }
    DWORD_PTR data = itemData ? *itemData : RowData(row);
    if (m_pfnCellTextHandler)
        (GetParent()->*m_pfnCellTextHandler)(row, columnId, data, text);
    else
        AskKeptRowText(row, column, data, text);
}

void CLxListCtrl::GetColumnTexts(int column, const std::vector<DWORD_PTR>& rowData, std::vector<CString>& texts)
{
    int id = GetColumnId(column);
    texts.clear();
    // A handler that answers other than one text per row is not taken.
    if (m_pfnColumnTextsHandler && (GetParent()->*m_pfnColumnTextsHandler)(id, rowData, texts) &&
        texts.size() == rowData.size())
        return;
    texts.assign(rowData.size(), CString());
    for (size_t row = 0; row < rowData.size(); row++)
        GetCellTextOfId((int)row, column, id, &rowData[row], texts[row]);
}

DWORD_PTR CLxListCtrl::RowData(int row)
{
    if (!m_keepsRows)
        return GetItemData(row);
    return row >= 0 && row < (int)m_rowData.size() ? m_rowData[row] : 0;
}

int CLxListCtrl::ControlId() const
{
    return m_controlIdOverride != -1 ? m_controlIdOverride : GetDlgCtrlID();
}

CWnd* CLxListCtrl::NotifyTarget() const
{
    return m_pNotifyWnd ? m_pNotifyWnd : GetParent();
}

BOOL CLxListCtrl::RequestData(CLxListRequest& request)
{
    request.m_controlId = ControlId();
    if (m_pfnRequestHandler)
        return (GetParent()->*m_pfnRequestHandler)(request);
    CWnd* target = NotifyTarget();
    return target ? (BOOL)target->SendMessage(WM_LX_REQUEST, 0, (LPARAM)&request) : FALSE;
}

BOOL CLxListCtrl::SelectCellFont(CLxListRequest& request, CDC* dc)
{
    request.m_answer = 0;
    if (!RequestData(request))
        return FALSE;
    LxCellLook look;
    look.answer = request.m_answer;
    look.font = request.m_font;
    if (dc)
        dc->SelectObject(FontOf(look, m_fonts));
    return TRUE;
}

CFont* CLxListCtrl::FontOf(const LxCellLook& look, CFont* fonts)
{
    if (look.answer & kLxAnswerFont)
        return CFont::FromHandle(look.font);
    if (look.answer & kLxAnswerBold)
        return &fonts[kFontBold];
    if (look.answer & kLxAnswerItalic)
        return &fonts[kFontItalic];
    if (look.answer & kLxAnswerUnderline)
        return &fonts[kFontUnderline];
    return &fonts[kFontNormal];
}

// The owner is asked about every cell, about column 0 only (its answer then
// holds for the row), or about the columns of the owner-font mask.
bool CLxListCtrl::AsksColumn(int id)
{
    if (!(m_style & kLxStyleAskCells))
        return false;
    if (m_style & kLxStyleAskRowOnly)
        return id == GetColumnId(0);
    if (m_style & kLxStyleAskFontMask)
        return (m_ownerFontMask & LxColumnBit(id)) != 0;
    return true;
}

// A cell the owner is not asked about, or does not answer, has the defaults.
LxCellLook CLxListCtrl::AskCell(int row, int column, DWORD_PTR itemData)
{
    LxCellLook look;
    int id = GetColumnId(column);
    if (!AsksColumn(id))
        return look;
    CLxListRequest request;
    request.m_code = kLxRequestCell;
    request.m_row = row;
    request.m_columnId = id;
    request.m_itemData = itemData;
    if (!RequestData(request))
        return look;
    look.answer = request.m_answer;
    look.text = request.m_textColor;
    look.background = request.m_bkColor;
    look.font = request.m_font;
    return look;
}

BOOL CLxListCtrl::BooleanRequestHandler(CLxListRequest& request)
{
    if (request.m_code == kLxRequestCell)
        return TRUE;
    if (request.m_code == kLxRequestChoices && request.m_columnId != 0 && request.m_pChoices)
    {
        request.m_pChoices->Add("true");
        request.m_pChoices->Add("false");
        return TRUE;
    }
    return FALSE;
}

// Selection.

int CLxListCtrl::FocusedRow() const
{
    return GetNextItem(-1, LVNI_FOCUSED);
}

int CLxListCtrl::FirstSelectedRow() const
{
    return GetNextItem(-1, LVNI_SELECTED);
}

void CLxListCtrl::FocusRow(int row)
{
    SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EnsureVisible(row, FALSE);
}

void CLxListCtrl::SelectLastRow()
{
    int count = GetItemCount();
    if (count == 0)
        return;
    SetFocus();
    FocusRow(count - 1);
}

void CLxListCtrl::SelectNextRow()
{
    int row = FirstSelectedRow();
    if (row >= 0 && row + 1 < GetItemCount())
        FocusRow(row + 1);
}

void CLxListCtrl::SelectPreviousRow()
{
    int row = FirstSelectedRow();
    if (row > 0)
        FocusRow(row - 1);
}

bool CLxListCtrl::CanMovePrevious()
{
    return GetItemCount() > 0 && FirstSelectedRow() > 0;
}

bool CLxListCtrl::CanMoveNext()
{
    int row = FirstSelectedRow();
    return GetItemCount() > 0 && row >= 0 && row < GetItemCount() - 1;
}

bool CLxListCtrl::CopyToClipboard(bool selectedOnly)
{
    HCURSOR old = ::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_WAIT));
    CString text;
    int columns = GetColumnCount();
    int last = selectedOnly ? GetItemCount() : std::min(GetItemCount(), kCopiedRows);
    bool first = true;
    for (int row = 0; row < last; row++)
    {
        if (selectedOnly && !(GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED))
            continue;
        if (!first)
            text += '\n';
        first = false;
        for (int column = 0; column < columns; column++)
        {
            CString cell;
            GetCellText(row, column, cell);
            if (column > 0)
                text += '\t';
            text += cell;
        }
    }
    bool copied = false;
    if (!text.IsEmpty() && OpenClipboard(m_hWnd))
    {
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, text.GetLength() + 1);
        if (memory)
        {
            memcpy(::GlobalLock(memory), (LPCSTR)text, text.GetLength() + 1);
            ::GlobalUnlock(memory);
            ::EmptyClipboard();
            copied = ::SetClipboardData(CF_TEXT, memory) != NULL;
            if (!copied)
                ::GlobalFree(memory);
        }
        ::CloseClipboard();
    }
    ::SetCursor(old);
    return copied;
}

// Messages.

void CLxListCtrl::OnSize(UINT type, int cx, int cy)
{
    Default();
    (void)type;
    (void)cy;
    m_clientWidth = cx;
    RedrawCellsAroundPointer();
}

// The cell under the pointer and the same cell of the rows above and below,
// which a resize leaves partly drawn.
void CLxListCtrl::RedrawCellsAroundPointer()
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    CRect cell;
    int row = CellFromPoint(point, &cell, NULL);
    if (row <= 0)
        return;
    int last = std::min(row + 1, GetItemCount() - 1);
    for (int other = row - 1; other <= last; other++)
    {
        CRect bounds;
        if (GetItemRect(other, &bounds, LVIR_BOUNDS))
            InvalidateRect(CRect(cell.left, bounds.top, cell.right, bounds.bottom), FALSE);
    }
}

void CLxListCtrl::OnLButtonDown(UINT flags, CPoint point)
{
    DWORD position = ::GetMessagePos();
    if (m_tip.m_hWnd &&
        m_tip.CompletesDoubleClick(::GetMessageTime(), CPoint((short)LOWORD(position), (short)HIWORD(position))))
    {
        OnLButtonDblClk(flags, point);
        return;
    }
    SetFocus();
    Default();
    HoldPressedRow(point);
}

// The list view sees a row dragged only in the mouse moves it gets; without
// the capture a pointer that leaves the list quickly (or crosses the header)
// takes them elsewhere and the drag never begins. The list holds the mouse
// from the press on a row until the release, or until the drag takes it.
void CLxListCtrl::HoldPressedRow(CPoint point)
{
    // The button as it is now, not as the press found it: a release already
    // on its way elsewhere would leave the capture held.
    if (::GetAsyncKeyState(VK_LBUTTON) < 0 && ::GetCapture() == NULL && HitTest(point) >= 0)
        SetCapture();
}

void CLxListCtrl::OnLButtonUp(UINT, CPoint)
{
    Default();
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void CLxListCtrl::OnRButtonUp(UINT flags, CPoint point)
{
    Default();
    CWnd* parent = GetParent();
    if (parent)
        parent->SendMessage(WM_RBUTTONUP, flags, MAKELPARAM(point.x, point.y));
}

// The parent takes the menu request as a right button release at a point of
// the list's client area. A request from the header follows the header's own
// menu (shown on its right click) and goes no further; one from the keyboard
// (point -1, -1) asks at the selected row.
void CLxListCtrl::OnContextMenu(CWnd* wnd, CPoint point)
{
    if (wnd && m_header.m_hWnd && wnd->m_hWnd == m_header.m_hWnd)
        return;
    if (point.x == -1 && point.y == -1)
    {
        if (!KeyMenuPoint(point))
            return;
    }
    else
        ScreenToClient(&point);
    CWnd* parent = GetParent();
    if (parent)
        parent->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}

// The middle of the shown part of the focused row when it is selected, else
// of the first selected row, scrolled into view; false without a selection.
bool CLxListCtrl::KeyMenuPoint(CPoint& point)
{
    int row = GetNextItem(-1, LVNI_FOCUSED);
    if (row < 0 || !(GetItemState(row, LVIS_SELECTED) & LVIS_SELECTED))
        row = GetNextItem(-1, LVNI_SELECTED);
    if (row < 0)
        return false;
    EnsureVisible(row, FALSE);
    CRect bounds, client;
    GetClientRect(&client);
    if (!GetItemRect(row, &bounds, LVIR_BOUNDS) || !bounds.IntersectRect(&bounds, &client))
        return false;
    point = bounds.CenterPoint();
    return true;
}

void CLxListCtrl::OnHScroll(UINT, UINT, CScrollBar*)
{
    SetFocus();
    HideTip();
    Default();
}

void CLxListCtrl::OnVScroll(UINT, UINT, CScrollBar*)
{
    SetFocus();
    HideTip();
    Default();
}

void CLxListCtrl::OnSortAscending()
{
    SetFocus();
    SortBy(m_headerMenuColumn, 1);
}

void CLxListCtrl::OnSortDescending()
{
    SetFocus();
    SortBy(m_headerMenuColumn, 0);
}

void CLxListCtrl::OnUpdateSort(CCmdUI* cmdUI)
{
    cmdUI->Enable((m_style & kLxStyleSort) != 0);
}

void CLxListCtrl::OnCustomizeHeader()
{
    CLxCustomizeColumnsDlg dialog(this);
    dialog.m_pColumnManager = m_pColumnManager;
    RunColumnDialog(dialog);
}

void CLxListCtrl::OnHeaderFormat()
{
    CLxColumnFormatDlg dialog(this);
    dialog.m_pColumnManager = m_pColumnManager;
    RunColumnDialog(dialog);
}

// The column dialogs work on the column manager, which first takes the
// header's order and widths; OK builds the columns anew.
void CLxListCtrl::RunColumnDialog(CDialog& dialog)
{
    if (!m_pColumnManager)
        return;
    m_pColumnManager->ReadFromHeader(*this);
    if (dialog.DoModal() == IDOK)
        m_pColumnManager->ApplyToList(*this);
}

void CLxListCtrl::OnUpdateCustomizeHeader(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_pColumnManager && !m_customizeLocked);
}

// The format dialog is not offered from the menu.
void CLxListCtrl::OnUpdateHeaderFormat(CCmdUI* cmdUI)
{
    cmdUI->Enable(FALSE);
}
