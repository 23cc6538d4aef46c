#include "server/TavlinSettingsDlg.h"

namespace {

const int kFlushMs = 1000;
const double kMicro = 1e6;
const int kGarbageFilterLength = 14;
// Firmware before this filters short messages by default.
const double kNoFilterVersion = 2.8;
const int kControlPorts = 6;
// Each click area counts 9 steps along each direction: a label, then 8 cells.
const int kSteps = 9;

const UINT kNewFirmwareControls[] = {IDC_STORE_EEPROM, IDC_LOAD_EEPROM, IDC_CLEAR_ALL, IDC_SET_ALL,
                                     IDC_SET_ALL_OTHERS};

const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kLightGrey = RGB(192, 192, 192);
const COLORREF kDarkRed = RGB(128, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

const int kHandshakeOutStrobe = 1;
const int kHandshakeInStrobe = 2;

CString Microseconds(double seconds)
{
    CString text;
    text.Format("%5.0lf", seconds * kMicro);
    return text;
}

} // namespace

BEGIN_MESSAGE_MAP(CTavlinSettingsDlg, CDialog)
    ON_BN_CLICKED(IDC_SETTINGS_OK, OnOK)
    ON_BN_CLICKED(IDC_SETTINGS_CANCEL, OnCancel)
    ON_BN_CLICKED(IDC_APPLY, OnApply)
    ON_BN_CLICKED(IDC_STORE_RAM, OnStoreToRAM)
    ON_BN_CLICKED(IDC_STORE_EEPROM, OnApply)
    ON_BN_CLICKED(IDC_LOAD_EEPROM, OnLoadFromEEPROM)
    ON_BN_CLICKED(IDC_RESET_DEFAULTS, OnResetDefaults)
    ON_BN_CLICKED(IDC_CLEAR_ALL, OnClearAll)
    ON_BN_CLICKED(IDC_SET_ALL, OnSetAll)
    ON_BN_CLICKED(IDC_SET_ALL_OTHERS, OnSetAllOthers)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CTavlinSettingsDlg::CTavlinSettingsDlg(CWnd* parent)
    : CDialog(IDD_TAVLIN_SETTINGS, parent), m_port(nullptr), m_manager(nullptr)
{
    ResetDefaults();
    m_receiverSkew = 0;
    m_maxSignalLength = 0;
}

BOOL CTavlinSettingsDlg::IsNewFirmware() const
{
    return m_port->GetVersion() >= CTavlinPort::kIRPortsVersion;
}

BOOL CTavlinSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!IsNewFirmware()) {
        for (UINT id : kNewFirmwareControls)
            GetDlgItem(id)->EnableWindow(FALSE);
        for (int r = 0; r < kEntries; ++r)
            GetDlgItem(IDC_FIRST_CARRIER + r)->EnableWindow(FALSE);
    }
    m_port->RequestSettings(TRUE);
    LoadFromPort();
    return TRUE;
}

void CTavlinSettingsDlg::LoadFromPort()
{
    m_port->GetIRRoutingTable(m_routingMasks, m_routingCarriers);
    m_receivePolarity = m_port->GetIRReceivePolarity();
    m_transmitPorts = m_port->GetIRTransmitPorts();
    m_receivePorts = m_port->GetIRReceivePorts();
    m_parallelDirection = m_port->GetParallelDirection();
    BOOL inStrobe = FALSE, outStrobe = FALSE, unused = FALSE;
    m_port->GetParallelHandshake(&inStrobe, &outStrobe, &unused);
    m_parallelHandshake = (inStrobe ? kHandshakeInStrobe : 0) | (outStrobe ? kHandshakeOutStrobe : 0);
    m_carrier = m_port->GetCarrier();
    m_samplePeriod = m_port->GetSamplePeriod();
    m_timeoutPeriod = m_port->GetTimeoutPeriod();
    m_receiverSkew = m_port->GetReceiverSkew();
    m_maxSignalLength = m_port->GetMaxSignalLength();
    m_enabledPorts = 0;
    for (int p = 0; p < kControlPorts; ++p)
        if (m_port->IsPortEnabled(p))
            m_enabledPorts |= 1 << p;
    m_baudRate = m_port->GetBaudRate();
    m_minMessageLength = m_port->GetMinMessageLength();
    UpdateFields(FALSE);
    RedrawDiagram();
}

void CTavlinSettingsDlg::ResetDefaults()
{
    for (int r = 0; r < kEntries; ++r) {
        m_routingMasks[r] = 0;
        m_routingCarriers[r] = 40000;
    }
    m_receivePolarity = 255;
    m_transmitPorts = 255;
    m_receivePorts = 255;
    m_parallelDirection = 255;
    m_parallelHandshake = 0;
    m_carrier = 40000;
    m_samplePeriod = 0.0001;
    m_timeoutPeriod = 0.1;
    m_enabledPorts = 0xBF;
    m_baudRate = 38400;
    m_minMessageLength = m_port && m_port->GetVersion() >= kNoFilterVersion ? 0 : kGarbageFilterLength;
}

void CTavlinSettingsDlg::UpdateFields(BOOL save)
{
    struct Timing
    {
        UINT id;
        double* seconds;
    } timings[] = {{IDC_SAMPLE_PERIOD, &m_samplePeriod},
                   {IDC_TIMEOUT_PERIOD, &m_timeoutPeriod},
                   {IDC_RECEIVER_SKEW, &m_receiverSkew},
                   {IDC_MAX_SIGNAL, &m_maxSignalLength}};
    CString text;
    for (const Timing& timing : timings) {
        if (save) {
            GetDlgItemText(timing.id, text);
            *timing.seconds = atof(text) / kMicro;
        } else {
            SetDlgItemText(timing.id, Microseconds(*timing.seconds));
        }
    }
    for (int r = 0; r < kEntries; ++r) {
        if (save) {
            GetDlgItemText(IDC_FIRST_CARRIER + r, text);
            m_routingCarriers[r] = atof(text);
        } else {
            text.Format("%5.0lf", m_routingCarriers[r]);
            SetDlgItemText(IDC_FIRST_CARRIER + r, text);
        }
    }
    if (save)
        m_minMessageLength = IsDlgButtonChecked(IDC_GARBAGE_FILTER) ? kGarbageFilterLength : 0;
    else
        CheckDlgButton(IDC_GARBAGE_FILTER, m_minMessageLength ? BST_CHECKED : BST_UNCHECKED);

    // Bits 0-7 as IN/OUT pairs; bit 6 may be the output strobe, bit 7 the input strobe.
    if (save) {
        m_parallelDirection = 0;
        m_parallelHandshake = 0;
        for (int b = 0; b < 8; ++b)
            if (IsDlgButtonChecked(IDC_FIRST_BIT_IN + 2 * b) || (b == 7 && IsDlgButtonChecked(IDC_IN_STROBE)))
                m_parallelDirection |= 1 << b;
        if (IsDlgButtonChecked(IDC_OUT_STROBE))
            m_parallelHandshake |= kHandshakeOutStrobe;
        if (IsDlgButtonChecked(IDC_IN_STROBE))
            m_parallelHandshake |= kHandshakeInStrobe;
        return;
    }
    bool outStrobe = (m_parallelHandshake & kHandshakeOutStrobe) != 0;
    bool inStrobe = (m_parallelHandshake & kHandshakeInStrobe) != 0;
    for (int b = 0; b < 8; ++b) {
        bool strobe = (b == 6 && outStrobe) || (b == 7 && inStrobe);
        bool input = (m_parallelDirection >> b) & 1;
        CheckDlgButton(IDC_FIRST_BIT_IN + 2 * b, !strobe && input ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(IDC_FIRST_BIT_IN + 2 * b + 1, !strobe && !input ? BST_CHECKED : BST_UNCHECKED);
    }
    CheckDlgButton(IDC_OUT_STROBE, outStrobe ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_IN_STROBE, inStrobe ? BST_CHECKED : BST_UNCHECKED);
}

// The unit takes the settings in this order; the flushes let it keep up.
void CTavlinSettingsDlg::StoreToRAM()
{
    UpdateFields(TRUE);
    m_port->SetReceiverSkew(m_receiverSkew);
    m_port->SetMaxSignalLength(m_maxSignalLength);
    m_port->SetSamplePeriod(m_samplePeriod);
    m_port->SetCarrier(m_carrier);
    m_port->Flush(FALSE, kFlushMs);
    m_port->SetTimeoutPeriod(m_timeoutPeriod);
    m_port->SetMinMessageLength(m_minMessageLength);
    m_port->Flush(FALSE, kFlushMs);
    m_port->SetParallelDirection(m_parallelDirection);
    m_port->SetParallelHandshake((m_parallelHandshake & kHandshakeInStrobe) != 0,
                                 (m_parallelHandshake & kHandshakeOutStrobe) != 0, FALSE);
    for (int p = 0; p < kControlPorts; ++p) {
        if (m_enabledPorts & (1 << p))
            m_port->EnablePort(p);
        else
            m_port->DisablePort(p);
    }
    if (IsNewFirmware()) {
        m_port->SetIRRoutingTable(m_routingMasks, m_routingCarriers);
        m_port->Flush(FALSE, kFlushMs);
        m_port->SetIRReceivePolarity(m_receivePolarity);
        m_port->SetIRReceivePorts(m_receivePorts);
        m_port->SetIRTransmitPorts(m_transmitPorts);
        m_port->RequestIRReceivePolarity();
    }
    if (m_baudRate != m_port->GetBaudRate())
        m_port->SetBaudRate(m_baudRate);
    m_port->Flush(FALSE, kFlushMs);
    // The driver keeps what the unit answers, not what it was sent.
    m_port->RequestSettings(FALSE);
    m_port->Flush(FALSE, kFlushMs);
    LoadFromPort();
}

void CTavlinSettingsDlg::OnStoreToRAM()
{
    StoreToRAM();
}

void CTavlinSettingsDlg::OnApply()
{
    StoreToRAM();
    m_port->StoreToEEPROM();
}

void CTavlinSettingsDlg::OnOK()
{
    OnApply();
    EndDialog(IDOK);
}

void CTavlinSettingsDlg::OnLoadFromEEPROM()
{
    m_port->LoadFromEEPROM();
    if (m_manager)
        m_manager->StopMessageMonitor();
    m_port->Locate();
    if (m_manager)
        m_manager->StartMessageMonitor();
    LoadFromPort();
}

void CTavlinSettingsDlg::OnResetDefaults()
{
    ResetDefaults();
    UpdateFields(FALSE);
    RedrawDiagram();
}

void CTavlinSettingsDlg::SetRoutingMasks(int (*mask)(int entry))
{
    for (int r = 0; r < kEntries; ++r)
        m_routingMasks[r] = mask(r);
    RedrawDiagram();
}

void CTavlinSettingsDlg::OnClearAll()
{
    SetRoutingMasks([](int) { return 0; });
}

void CTavlinSettingsDlg::OnSetAll()
{
    SetRoutingMasks([](int) { return 255; });
}

// Every transmitter echoes a receiver but the one beside it.
void CTavlinSettingsDlg::OnSetAllOthers()
{
    SetRoutingMasks([](int r) { return 255 - (1 << r); });
}

// The diagram: the routing grid (receivers down, transmitters across), beside
// it a column for the receive polarity and one for the receive ports, and
// under it a row for the transmit ports.
CRect CTavlinSettingsDlg::AreaRect(Area area) const
{
    CRect frame;
    ::GetWindowRect(::GetDlgItem(m_hWnd, IDC_DIAGRAM), &frame);
    ScreenToClient(&frame);
    int cellWidth = frame.Width() / (kSteps + 3);
    int cellHeight = frame.Height() / (kSteps + 2);
    int gridRight = frame.left + kSteps * cellWidth;
    int gridBottom = frame.top + kSteps * cellHeight;
    switch (area) {
    case kRoutingArea:
        return CRect(frame.left, frame.top, gridRight, gridBottom);
    case kPolarityArea:
        return CRect(gridRight + cellWidth / 2, frame.top, gridRight + cellWidth / 2 + cellWidth, gridBottom);
    case kReceivePortsArea:
        return CRect(gridRight + 2 * cellWidth, frame.top, gridRight + 3 * cellWidth, gridBottom);
    default:
        return CRect(frame.left, gridBottom + cellHeight / 2, gridRight, gridBottom + cellHeight / 2 + cellHeight);
    }
}

BOOL CTavlinSettingsDlg::CellAt(Area area, CPoint point, int& column, int& row) const
{
    CRect rect = AreaRect(area);
    if (!rect.PtInRect(point))
        return FALSE;
    bool across = area == kRoutingArea || area == kTransmitPortsArea;
    bool down = area != kTransmitPortsArea;
    column = across ? (point.x - rect.left) * kSteps / rect.Width() - 1 : 0;
    row = down ? (point.y - rect.top) * kSteps / rect.Height() - 1 : 0;
    return column >= 0 && column < kEntries && row >= 0 && row < kEntries;
}

BOOL CTavlinSettingsDlg::CellSet(Area area, int column, int row) const
{
    switch (area) {
    case kRoutingArea:
        return (m_routingMasks[row] >> column) & 1;
    case kPolarityArea:
        return (m_receivePolarity >> row) & 1;
    case kReceivePortsArea:
        return (m_receivePorts >> row) & 1;
    default:
        return (m_transmitPorts >> column) & 1;
    }
}

void CTavlinSettingsDlg::ToggleCell(Area area, int column, int row)
{
    switch (area) {
    case kRoutingArea:
        m_routingMasks[row] ^= 1 << column;
        break;
    case kPolarityArea:
        m_receivePolarity ^= 1 << row;
        break;
    case kReceivePortsArea:
        m_receivePorts ^= 1 << row;
        break;
    default:
        m_transmitPorts ^= 1 << column;
        break;
    }
}

void CTavlinSettingsDlg::OnLButtonDown(UINT, CPoint point)
{
    m_downPoint = point;
}

// A click toggles a cell when it went down and up on the same one.
void CTavlinSettingsDlg::OnLButtonUp(UINT, CPoint point)
{
    for (int a = 0; a < kAreas; ++a) {
        int upColumn, upRow, downColumn, downRow;
        if (CellAt(Area(a), point, upColumn, upRow) && CellAt(Area(a), m_downPoint, downColumn, downRow) &&
            upColumn == downColumn && upRow == downRow) {
            ToggleCell(Area(a), upColumn, upRow);
            RedrawDiagram();
        }
    }
}

void CTavlinSettingsDlg::RedrawDiagram()
{
    if (m_hWnd)
        Invalidate();
}

void CTavlinSettingsDlg::OnPaint()
{
    CPaintDC dc(this);
    // Older units have no routing table or IR port masks to show.
    if (IsNewFirmware())
        DrawDiagram(dc);
}

void CTavlinSettingsDlg::DrawDiagram(CDC& dc)
{
    HDC hdc = dc.GetSafeHdc();
    HPEN grey = CreatePen(PS_SOLID, 1, kGrey);
    HPEN blue = CreatePen(PS_SOLID, 1, kBlue);
    HPEN darkRed = CreatePen(PS_SOLID, 3, kDarkRed);
    HGDIOBJ oldPen = SelectObject(hdc, grey);
    SetBkMode(hdc, TRANSPARENT);
    for (int a = 0; a < kAreas; ++a) {
        CRect rect = AreaRect(Area(a));
        bool across = a == kRoutingArea || a == kTransmitPortsArea;
        bool down = a != kTransmitPortsArea;
        int columns = across ? kEntries : 1;
        int rows = down ? kEntries : 1;
        int stepX = rect.Width() / (across ? kSteps : 1);
        int stepY = rect.Height() / (down ? kSteps : 1);
        for (int row = 0; row < rows; ++row) {
            for (int column = 0; column < columns; ++column) {
                CRect cell(rect.left + (across ? (column + 1) * stepX : 0), rect.top + (down ? (row + 1) * stepY : 0),
                           0, 0);
                cell.right = cell.left + stepX;
                cell.bottom = cell.top + stepY;
                dc.FillSolidRect(&cell, CellSet(Area(a), column, row) ? kGreen : kLightGrey);
                SelectObject(hdc, GetStockObject(NULL_BRUSH));
                Rectangle(hdc, cell.left, cell.top, cell.right + 1, cell.bottom + 1);
            }
        }
    }
    CRect grid = AreaRect(kRoutingArea);
    SelectObject(hdc, darkRed);
    MoveToEx(hdc, grid.left, grid.top, nullptr);
    LineTo(hdc, grid.left + grid.Width() / kSteps, grid.top + grid.Height() / kSteps);
    SelectObject(hdc, blue);
    SetTextColor(hdc, kDarkRed);
    TextOutA(hdc, grid.left + grid.Width() / kSteps, grid.top, "Transmitter", 11);
    SetTextColor(hdc, kBlue);
    TextOutA(hdc, grid.left, grid.bottom - grid.Height() / kSteps, "Receiver", 8);
    SelectObject(hdc, oldPen);
    DeleteObject(grey);
    DeleteObject(blue);
    DeleteObject(darkRed);
}
