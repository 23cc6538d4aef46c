#include "shell/dialogs/TipDlg.h"

namespace {
const char kHeading[] = "Did you know...";
const char kTrouble[] = "Trouble reading the tips file";
// Room between the shaded band and the tip.
const int kBandGap = 10;
const int kHeadingGap = 6;

// Puts back the drawing attributes a painting step changed; declared after the
// objects it selects, so that they are out of the DC before they go.
class CSavedDC
{
public:
    explicit CSavedDC(CDC& dc) : m_dc(dc), m_saved(dc.SaveDC()) {}
    ~CSavedDC() { m_dc.RestoreDC(m_saved); }

private:
    CDC& m_dc;
    int m_saved;
};
} // namespace

BEGIN_MESSAGE_MAP(CTipDlg, CDialog)
    ON_BN_CLICKED(IDC_TIP_NEXT, OnNextTip)
    ON_WM_CTLCOLOR()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CTipDlg::CTipDlg(CWnd* parent, LPCSTR tipsFile) : CDialog(IDD_TIP, parent)
{
    m_bStartup = m_reader.GetShowAtStartUp();
    m_reader.Open(tipsFile ? CString(tipsFile) : CTipReader::DefaultPath());
    ReportSeekFailure();
    m_strTip = m_reader.GetTip();
}

INT_PTR CTipDlg::DoModal()
{
    if (!m_reader.IsOpen()) {
        Beep();
        return IDOK;
    }
    return CDialog::DoModal();
}

BOOL CTipDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_reader.IsOpen())
        GetDlgItem(IDC_TIP_NEXT)->EnableWindow(FALSE);
    return TRUE;
}

void CTipDlg::OnOK()
{
    CDialog::OnOK();
    m_reader.SetShowAtStartUp(m_bStartup);
}

void CTipDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_TIP_STARTUP, m_bStartup);
}

void CTipDlg::Beep()
{
    MessageBeep((UINT)-1);
}

void CTipDlg::OnNextTip()
{
    m_reader.ReadNext();
    ReportSeekFailure();
    m_strTip = m_reader.GetTip();
    // A file that lost its tips is left as a missing one.
    if (!m_reader.IsOpen())
        GetDlgItem(IDC_TIP_NEXT)->EnableWindow(FALSE);
    UpdateData(FALSE);
    CRect text = ItemRect(IDC_TIP_TEXT);
    InvalidateRect(text, FALSE);
    UpdateWindow();
}

HBRUSH CTipDlg::OnCtlColor(CDC*, CWnd* wnd, UINT)
{
    if (wnd && wnd->GetDlgCtrlID() == IDC_TIP_TEXT)
        return (HBRUSH)GetStockObject(WHITE_BRUSH);
    return (HBRUSH)Default();
}

// Only the tip's area is invalid after "Next tip", so only the tip is drawn again.
void CTipDlg::OnPaint()
{
    CPaintDC dc(this);
    CRect frame = ItemRect(IDC_TIP_FRAME);
    CRect text = ItemRect(IDC_TIP_TEXT);
    dc.FillSolidRect(frame, GetSysColor(COLOR_WINDOW));
    dc.FillSolidRect(CRect(frame.left, frame.top, text.left - kBandGap, frame.bottom),
                     GetSysColor(COLOR_BTNSHADOW));
    PaintBulb(dc);
    PaintTip(dc, text);
}

void CTipDlg::ReportSeekFailure()
{
    if (m_reader.TakeSeekFailure())
        AfxMessageBox(kTrouble);
}

CRect CTipDlg::ItemRect(int id) const
{
    CRect rect;
    GetDlgItem(id)->GetWindowRect(rect);
    ScreenToClient(rect);
    return rect;
}

// The bulb on the band's shade, then the heading below it.
void CTipDlg::PaintBulb(CDC& dc)
{
    CBitmap bulb;
    BITMAP size = {};
    CDC memory;
    if (!bulb.LoadBitmap(IDB_TIP_BULB) || !bulb.GetBitmap(&size) || !memory.CreateCompatibleDC(&dc))
        return;
    CBitmap* old = memory.SelectObject(&bulb);
    CBrush shadow(GetSysColor(COLOR_BTNSHADOW));
    CBrush* oldBrush = memory.SelectObject(&shadow);
    ExtFloodFill(memory.m_hDC, 0, 0, RGB(255, 255, 255), FLOODFILLSURFACE);
    memory.SelectObject(oldBrush);
    CRect place = ItemRect(IDC_TIP_BULB);
    dc.BitBlt(place.left, place.top, size.bmWidth, size.bmHeight, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);

    CFont font;
    CSavedDC saved(dc);
    font.CreateFont(22, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_ROMAN | VARIABLE_PITCH, "Times");
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    CRect text = ItemRect(IDC_TIP_TEXT);
    CRect heading(text.left, place.top + size.bmHeight + kHeadingGap, text.right, text.top);
    dc.DrawText(kHeading, -1, heading, DT_SINGLELINE | DT_NOPREFIX);
}

void CTipDlg::PaintTip(CDC& dc, const CRect& text)
{
    CFont font;
    CSavedDC saved(dc);
    dc.FillSolidRect(text, GetSysColor(COLOR_WINDOW));
    font.CreateFont(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | VARIABLE_PITCH, "Arial");
    dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    CRect area = text;
    dc.DrawText(m_strTip, area, DT_WORDBREAK | DT_NOPREFIX);
}
