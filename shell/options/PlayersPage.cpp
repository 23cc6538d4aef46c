#include "shell/options/PlayersPage.h"
#include "shell/options/ChoiceExchange.h"
#include "shell/options/OptionsResources.h"

#include <algorithm>

namespace {

const char* const kPreQueueChoices[] = { "Off", "Next Disc", "Everything" };
const char* const kOutputChoices[] = {
    "(default)",     "/dev/wave/0",   "/dev/wave/1",   "/dev/wave/2",   "/dev/wave/3",
    "/dev/dsound/0", "/dev/dsound/1", "/dev/dsound/2", "/dev/dsound/3",
};

const COLORREF kGrey = 0x808080;
const int kInset = 4;   // pixels between the diagram's frame and its curves

CString SecondsLabel(int seconds)
{
    CString text;
    text.Format("%d sec", seconds);
    return text;
}

// Sets a label only when it changes, so that painting does not repaint it again.
void SetLabel(CWnd* page, int id, const CString& text)
{
    CString shown;
    page->GetDlgItemText(id, shown);
    if (shown != text)
        page->SetDlgItemText(id, text);
}

} // namespace

BEGIN_MESSAGE_MAP(CPlayersPage, COptionsPage)
    ON_WM_PAINT()
    ON_BN_CLICKED(IDC_PLY_LOCATE_NOW, OnLocateNow)
    ON_NOTIFY(UDN_DELTAPOS, IDC_PLY_FADE_DOWN_SPIN, OnSpinDelta)
    ON_NOTIFY(UDN_DELTAPOS, IDC_PLY_FADE_UP_SPIN, OnSpinDelta)
    ON_NOTIFY(UDN_DELTAPOS, IDC_PLY_OVERLAP_SPIN, OnSpinDelta)
END_MESSAGE_MAP()

CPlayersPage::CPlayersPage(CPage5& values, COptionsHost& host)
    : COptionsPage(IDD_OPTIONS_PLAYERS, host), m_values(values)
{
}

int CPlayersPage::SnapFade(int position, int kept)
{
    if (position > kept && position < kShortestFade)
        return kShortestFade;
    if (position < kept && position < kShortestFade)
        return 0;
    return position;
}

BOOL CPlayersPage::OnInitDialog()
{
    SetChoices(this, IDC_PLY_PRE_QUEUE, kPreQueueChoices);
    SetChoices(this, IDC_PLY_MP3_OUTPUT, kOutputChoices);
    // The labels show the values; the page draws where the diagram's control lies.
    for (int id : { IDC_PLY_FADE_DOWN_EDIT, IDC_PLY_FADE_UP_EDIT, IDC_PLY_OVERLAP_EDIT, IDC_PLY_DIAGRAM })
        GetDlgItem(id)->ShowWindow(SW_HIDE);
    m_fadeDownSpin.SubclassDlgItem(IDC_PLY_FADE_DOWN_SPIN, this);
    m_fadeUpSpin.SubclassDlgItem(IDC_PLY_FADE_UP_SPIN, this);
    m_overlapSpin.SubclassDlgItem(IDC_PLY_OVERLAP_SPIN, this);
    m_fadeDownSpin.SetBuddy(GetDlgItem(IDC_PLY_FADE_DOWN_EDIT));
    m_fadeUpSpin.SetBuddy(GetDlgItem(IDC_PLY_FADE_UP_EDIT));
    m_overlapSpin.SetBuddy(GetDlgItem(IDC_PLY_OVERLAP_EDIT));
    CreateTools();
    m_fadeDownSpin.SetRange(0, kLongestFade);
    m_fadeDownSpin.SetPos(m_values.m_fadeDownTime);
    m_fadeUpSpin.SetRange(0, kLongestFade);
    m_fadeUpSpin.SetPos(m_values.m_fadeUpTime);
    m_overlapSpin.SetRange(0, 2 * kOverlapOffset);
    m_overlapSpin.SetPos(m_values.m_fadeOverlapTime + kOverlapOffset);
    m_keptFadeDown = m_fadeDownSpin.GetPos();
    m_keptFadeUp = m_fadeUpSpin.GetPos();
    COptionsPage::OnInitDialog();
    ShowLabels();
    return TRUE;
}

void CPlayersPage::CreateTools()
{
    m_greyBrush.CreateSolidBrush(kGrey);
    m_greyPen.CreatePen(PS_SOLID, 1, kGrey);
    m_outgoingPen.CreatePen(PS_SOLID, 3, 0x00FF00);
    m_incomingPen.CreatePen(PS_SOLID, 3, 0xFF0000);
    m_overlapPen.CreatePen(PS_SOLID, 3, 0xFFFF00);
    m_outgoingHatch.CreateHatchBrush(HS_BDIAGONAL, 0x008000);
    m_incomingHatch.CreateHatchBrush(HS_FDIAGONAL, 0x800000);
    m_overlapHatch.CreateHatchBrush(HS_DIAGCROSS, 0x808000);
    m_markerPen.CreatePen(PS_SOLID, 1, 0xFF0000);
}

// The spins are the fades' controls: saving takes the values from them.
void CPlayersPage::DoDataExchange(CDataExchange* pDX)
{
    COptionsPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_PLY_AUTO_LOCATE, m_values.m_autoLocatePlayers);
    DDX_Check(pDX, IDC_PLY_TURN_OFF, m_values.m_turnOffPlayersOnExit);
    DDX_Check(pDX, IDC_PLY_GROUP_NAMES, m_values.m_downloadGroupNames);
    DDX_Check(pDX, IDC_PLY_SKIPPING, m_values.m_detectSkippingDiscs);
    DDX_Check(pDX, IDC_PLY_POLL, m_values.m_pollPlayerStatus);
    DDX_Check(pDX, IDC_PLY_ENABLE_MP3, m_values.m_enableMp3);
    DDX_Text(pDX, IDC_PLY_FINISH_TWEAK, m_values.m_trackFinishTweak);
    DDV_MinMaxInt(pDX, m_values.m_trackFinishTweak, -5, 5);
    DDX_KeptChoice(pDX, IDC_PLY_PRE_QUEUE, m_values.m_preQueueMode);
    // No name plays on the wave mapper, as "(default)" does: the box says so
    // rather than stand empty.
    CString output = m_values.m_mp3OutputName.IsEmpty() ? CString(kOutputChoices[0]) : m_values.m_mp3OutputName;
    DDX_CBString(pDX, IDC_PLY_MP3_OUTPUT, output);
    if (pDX->m_bSaveAndValidate)
        m_values.m_mp3OutputName = output;
    if (pDX->m_bSaveAndValidate)
        TakeSpins();
}

void CPlayersPage::TakeSpins()
{
    int fadeDown = SnapFade(m_fadeDownSpin.GetPos(), m_keptFadeDown);
    int fadeUp = SnapFade(m_fadeUpSpin.GetPos(), m_keptFadeUp);
    if (fadeDown != m_fadeDownSpin.GetPos())
        m_fadeDownSpin.SetPos(fadeDown);
    if (fadeUp != m_fadeUpSpin.GetPos())
        m_fadeUpSpin.SetPos(fadeUp);
    m_keptFadeDown = fadeDown;
    m_keptFadeUp = fadeUp;
    m_values.m_fadeDownTime = fadeDown;
    m_values.m_fadeUpTime = fadeUp;
    m_values.m_fadeOverlapTime = m_overlapSpin.GetPos() - kOverlapOffset;
}

void CPlayersPage::ShowLabels()
{
    SetLabel(this, IDC_PLY_FADE_DOWN_LABEL, SecondsLabel(m_values.m_fadeDownTime));
    SetLabel(this, IDC_PLY_FADE_UP_LABEL, SecondsLabel(m_values.m_fadeUpTime));
    int overlap = m_values.m_fadeOverlapTime;
    SetLabel(this, IDC_PLY_OVERLAP_LABEL, overlap == 0 ? CString("None") : SecondsLabel(overlap));
}

void CPlayersPage::OnPaint()
{
    CPaintDC dc(this);
    TakeSpins();
    ShowLabels();
    DrawDiagram(dc);
}

// The outgoing track (green) holds its level, then fades down to its end; the
// next track (blue) starts the overlap before that end and fades up; the time
// both play is marked in cyan. The scale fits the longest fades and overlap.
void CPlayersPage::DrawDiagram(CDC& dc)
{
    CRect area;
    GetDlgItem(IDC_PLY_DIAGRAM)->GetWindowRect(&area);
    ScreenToClient(&area);
    int saved = dc.SaveDC();
    dc.IntersectClipRect(&area);
    dc.FillRect(&area, CBrush::FromHandle(GetSysColorBrush(COLOR_WINDOW)));
    dc.FrameRect(&area, &m_greyBrush);

    const int top = area.top + kInset + 2;
    const int bottom = area.bottom - kInset - 2;
    const double scale = (area.Width() - 2.0 * kInset) / (3.0 * kLongestFade);
    auto at = [&](double seconds) { return area.left + kInset + static_cast<int>(seconds * scale + 0.5); };
    const double end = kLongestFade;   // the outgoing track's end, in seconds from the left
    const double start = end - m_values.m_fadeOverlapTime;
    const CPoint outgoing[] = { { at(0), bottom }, { at(0), top }, { at(end - m_values.m_fadeDownTime), top },
                                { at(end), bottom } };
    const CPoint incoming[] = { { at(start), bottom }, { at(start + m_values.m_fadeUpTime), top },
                                { at(3 * kLongestFade), top }, { at(3 * kLongestFade), bottom } };

    dc.SelectObject(&m_greyPen);
    dc.MoveTo(area.left + 1, bottom);
    dc.LineTo(area.right - 1, bottom);
    dc.SelectStockObject(NULL_PEN);
    dc.SelectObject(&m_outgoingHatch);
    dc.Polygon(outgoing, 4);
    dc.SelectObject(&m_incomingHatch);
    dc.Polygon(incoming, 4);
    if (start < end)
    {
        CRect both(at(start), top, at(end), bottom);
        dc.FillRect(&both, &m_overlapHatch);
        dc.SelectObject(&m_overlapPen);
        dc.MoveTo(both.left, bottom);
        dc.LineTo(both.right, bottom);
    }
    dc.SelectObject(&m_outgoingPen);
    dc.Polyline(outgoing + 1, 3);
    dc.SelectObject(&m_incomingPen);
    dc.Polyline(incoming, 3);
    dc.SelectObject(&m_markerPen);
    dc.MoveTo(at(end), area.top + 1);
    dc.LineTo(at(end), area.bottom - 1);
    dc.RestoreDC(saved);
}

void CPlayersPage::OnLocateNow()
{
    SendToMainWindow(WM_USER + 9);
}

void CPlayersPage::OnSpinDelta(NMHDR*, LRESULT* result)
{
    Invalidate();
    *result = 0;
}
