#include "shell/options/AppearancePage.h"
#include "shell/options/OptionsResources.h"

#include "library/views/ViewsHost.h"
#include "library/records/AlbumRecord.h"

#include <afxdlgs.h>

#include <vector>

namespace {

const int kPlayerColumnWidth = 120;
// Row 0 missing, row 1 MP3, then the changers.
const int kFirstChangerRow = 2;

// The font as the list draws it: a substitute face name such as "MS Shell
// Dlg" (the default's) is in no font list, and the font dialog would open on
// a face it does not offer. The family the system chose is; the text face
// would still give the substitute's name.
LOGFONTA DrawnFont(const LOGFONTA& font)
{
    LOGFONTA drawn = font;
    HFONT handle = CreateFontIndirectA(&font);
    HDC dc = ::GetDC(NULL);
    HGDIOBJ old = SelectObject(dc, handle);
    UINT size = GetOutlineTextMetricsA(dc, 0, NULL);
    std::vector<BYTE> metrics(size);
    if (size && GetOutlineTextMetricsA(dc, size, (OUTLINETEXTMETRICA*)metrics.data()))
    {
        const OUTLINETEXTMETRICA* outline = (const OUTLINETEXTMETRICA*)metrics.data();
        lstrcpynA(drawn.lfFaceName, (const char*)metrics.data() + (UINT_PTR)outline->otmpFamilyName,
                  LF_FACESIZE);
    }
    SelectObject(dc, old);
    ::ReleaseDC(NULL, dc);
    DeleteObject(handle);
    return drawn;
}

} // namespace

BEGIN_MESSAGE_MAP(CAppearancePage, COptionsPage)
    ON_BN_CLICKED(IDC_APP_FONTS, OnFonts)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_APP_COLOR_LIST, OnRowChanged)
    ON_MESSAGE(WM_TKCOLORWELL_SELECT, OnColorPicked)
END_MESSAGE_MAP()

CAppearancePage::CAppearancePage(CPage8& values, COptionsHost& host)
    : COptionsPage(IDD_OPTIONS_APPEARANCE, host), m_values(values)
{
}

int CAppearancePage::RowPlayer(int row)
{
    if (row == 0)
        return kNoPlayer;
    return row == 1 ? kMp3Player : row - kFirstChangerRow;
}

BOOL CAppearancePage::OnInitDialog()
{
    COptionsPage::OnInitDialog();
    m_foregroundWell.SubclassDlgItem(IDC_APP_FOREGROUND, this);
    m_backgroundWell.SubclassDlgItem(IDC_APP_BACKGROUND, this);
    m_list.SubclassDlgItem(IDC_APP_COLOR_LIST, this);
    m_list.AttachHeaderAndTip();
    m_list.EnableInPlaceEdit(false);
    m_list.m_pfnCellTextHandler = static_cast<LxCellTextHandler>(&CAppearancePage::CellText);
    m_list.m_pfnRequestHandler = static_cast<LxRequestHandler>(&CAppearancePage::CellLook);
    m_list.ModifyLxStyle(0, kLxStyleAskCells | kLxStyleAskRowOnly, 0);
    m_list.InsertColumnEx(0, "", LVCFMT_LEFT, 0, 0);
    m_list.InsertColumnEx(1, "Player", LVCFMT_LEFT, kPlayerColumnWidth, 0);
    ApplyListLook();
    for (int row = 0; row < CPage8::kColorRows; ++row)
        m_list.InsertItemEx(row, row);
    m_list.SetItemState(m_selectedRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ShowRowColors();
    return TRUE;
}

void CAppearancePage::DoDataExchange(CDataExchange* pDX)
{
    COptionsPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_APP_ANIMATE_ICON, m_values.m_animateIcon);
    DDX_Check(pDX, IDC_APP_BANNERS, m_values.m_helperBanners);
    DDX_Check(pDX, IDC_APP_COLOR_BY_PLAYER, m_values.m_colorTextByPlayer);
}

void CAppearancePage::CellText(int row, int columnId, DWORD_PTR, CString& text)
{
    text.Empty();
    if (columnId != 1)
        return;
    if (row == 0)
        text = "Missing from Players";
    else if (row == 1)
        text = "MP3 Player";
    else
        text.Format("CD Player %d", row - kFirstChangerRow + 1);
}

BOOL CAppearancePage::CellLook(CLxListRequest& request)
{
    if (request.m_code != kLxRequestCell)
        return FALSE;
    m_host.GetPlayerColors(RowPlayer(request.m_row), request.m_textColor, request.m_bkColor);
    request.m_answer = kLxAnswerTextColor | kLxAnswerBkColor;
    return TRUE;
}

void CAppearancePage::ApplyListLook()
{
    m_list.SetListFont(m_values.m_listFont);
    m_list.SetTextColor(static_cast<COLORREF>(m_values.m_listFontColor));
    m_list.Invalidate();
}

void CAppearancePage::ShowRowColors()
{
    m_foregroundWell.SetColor(m_values.m_foreground[m_selectedRow]);
    m_backgroundWell.SetColor(m_values.m_background[m_selectedRow]);
}

void CAppearancePage::OnRowChanged(NMHDR* header, LRESULT* result)
{
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
    *result = 0;
    bool selected = (change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED);
    if (!selected || change->iItem < 0 || change->iItem >= CPage8::kColorRows)
        return;
    m_selectedRow = change->iItem;
    ShowRowColors();
}

LRESULT CAppearancePage::OnColorPicked(WPARAM id, LPARAM color)
{
    if (id == IDC_APP_FOREGROUND)
        m_values.m_foreground[m_selectedRow] = static_cast<COLORREF>(color);
    else if (id == IDC_APP_BACKGROUND)
        m_values.m_background[m_selectedRow] = static_cast<COLORREF>(color);
    m_list.Invalidate();
    return 0;
}

void CAppearancePage::OnFonts()
{
    LOGFONTA current = DrawnFont(m_values.m_listFont);
    CFontDialog dialog(&current, CF_SCREENFONTS | CF_EFFECTS, NULL, this);
    dialog.m_cf.rgbColors = static_cast<COLORREF>(m_values.m_listFontColor);
    if (dialog.DoModal() != IDOK)
        return;
    dialog.GetCurrentFont(&m_values.m_listFont);
    m_values.m_listFontColor = static_cast<int>(dialog.GetColor());
    ApplyListLook();
    m_host.UpdateAllViews(kViewHintListLook);
}
