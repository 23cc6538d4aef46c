#include "irteach/IrteachDlg.h"

#include <afxdlgs.h>
#include <shellapi.h>
#include <stdlib.h>

#include "common/AboutDlg.h"
#include "platform/tavlinx/TavlinXApi.h"
#include "irteach/resource.h"

namespace {

const char kLowLevelDevice[] = "lowlevel";
const char kLowLevelDefinition[] = "type=lowlevel";
const char kTitle[] = "Irteach - ";
const char kFileFilter[] = "Device files (*.cde)|*.cde||";
const char kNewCodeName[] = "new%d";
const double kNewCarrier = 40000;
const char kNewDescription[] = "New Device File";
const char kNewType[] = "irtxonly";
// The gap after every code of a new device. Clearing the device gives the
// same: a positive sleep would be a carrier burst after every code.
const char kNewSleep[] = "-300000";
const int kMostRepeats = 20;
// Re-syncs the current code with the list's selection after a key.
const UINT WM_SYNC_SELECTION = WM_USER + 10;
// A dropped path longer than this is cut.
const int kMostDroppedPath = 255;

const char kNoTavlins[] = "The Tavlin server reports that no Tavlins are present.\n"
                          "This application will not be able to aquire or try any IR signals.";
const char kClearQuestion[] = "You have unsaved work. Clearing device will cause you to lose these changes. "
                              "Do you wish to continue?";
const char kLoadQuestion[] = "You have unsaved work. Loading a new device file will cause you to lose these "
                             "changes. Do you wish to continue?";
const char kQuitQuestion[] = "You have unsaved work. Quitting now will cause you to lose these changes. "
                             "Do you wish to continue?";
const char kNoTimingsToImport[] =
    "Only the IR type device files contain timing information which can be imported";
const char kToTxOnlyQuestion[] =
    "Converting a IR device file to the IRTXONLY type will cause loss of some information and eliminate "
    "the possibility to receive codes using this device file. Do you wish to continue?";
const char kNoTimingsToConvert[] =
    "Conversion for IRTXONLY to IR is not possible because required timing definitions have not been made";
const char kToIrQuestion[] =
    "Converting a IRTXONLY device file to the IR type allows greater flexibility but requires that the "
    "correct timing defnitions have been chosen. Do you wish to continue?";

} // namespace

BEGIN_MESSAGE_MAP(CIrteachDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_DROPFILES()
    ON_WM_HSCROLL()
    ON_BN_CLICKED(IDC_CLEAR_DEVICE, OnClearDevice)
    ON_BN_CLICKED(IDC_LOAD_DEVICE, OnLoadDevice)
    ON_BN_CLICKED(IDC_SAVE_DEVICE, OnSaveDevice)
    ON_BN_CLICKED(IDC_IMPORT_SETTINGS, OnImportSettings)
    ON_BN_CLICKED(IDC_TRY, OnTry)
    ON_BN_CLICKED(IDC_SAVE_CODE, OnSaveCode)
    ON_BN_CLICKED(IDC_NEW_CODE, OnNewCode)
    ON_BN_CLICKED(IDC_TX_ONLY, OnTxOnly)
    ON_BN_CLICKED(IDC_TX_RX, OnTxRx)
    ON_BN_CLICKED(IDC_ZOOM_IN, OnZoomIn)
    ON_BN_CLICKED(IDC_ZOOM_OUT, OnZoomOut)
    ON_BN_CLICKED(IDC_PAN_LEFT, OnPanLeft)
    ON_BN_CLICKED(IDC_PAN_RIGHT, OnPanRight)
    ON_NOTIFY(LVN_ITEMACTIVATE, IDC_CODE_LIST, OnListSelect)
    ON_NOTIFY(NM_CLICK, IDC_CODE_LIST, OnListSelect)
    ON_NOTIFY(NM_RCLICK, IDC_CODE_LIST, OnListSelect)
    ON_NOTIFY(LVN_KEYDOWN, IDC_CODE_LIST, OnListKeyDown)
    ON_MESSAGE(WM_SYNC_SELECTION, OnSyncSelection)
END_MESSAGE_MAP()

CIrteachDlg::CIrteachDlg(CWnd* parent)
    : CDialog(IDD_IRTEACH, parent), m_current(-1), m_mode(kIrTxOnlyMode), m_unsaved(FALSE), m_newCodes(1),
      m_lastTry(0), m_repeat(0), m_pane(m_waveform, m_mode)
{
}

CIrteachDlg::~CIrteachDlg()
{
}

void CIrteachDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CODE_LIST, m_list);
    DDX_Text(pDX, IDC_CARRIER, m_carrier);
    DDX_Text(pDX, IDC_DESCRIPTION, m_description);
    DDX_Text(pDX, IDC_SLEEP, m_sleep);
    DDX_Text(pDX, IDC_CODE_NAME, m_codeName);
    DDX_Text(pDX, IDC_START, m_start);
    DDX_Text(pDX, IDC_STOP, m_stop);
    DDX_Text(pDX, IDC_ZERO, m_zero);
    DDX_Text(pDX, IDC_ONE, m_one);
    DDX_Text(pDX, IDC_PAUSE, m_pause);
    DDX_Text(pDX, IDC_REPEAT, m_repeat);
    DDV_MinMaxInt(pDX, m_repeat, 0, kMostRepeats);
}

BOOL CIrteachDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    GetWindowText(m_caption);
    CString about;
    about.LoadString(IDS_ABOUTBOX);
    HMENU systemMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (systemMenu && !about.IsEmpty()) {
        AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, about);
    }
    // The programs carry no icons of their own: the system's stand in.
    SetIcon(LoadIcon(nullptr, IDI_APPLICATION), FALSE);
    DragAcceptFiles(m_hWnd, TRUE);
    SetUpList();
    m_pane.SubclassDlgItem(IDC_WAVEFORM, this);
    if (!m_waveform.CreateTools()) {
        MessageBox("Insufficient resources", "AI Creation");
        EndDialog(IDCANCEL);
        return TRUE;
    }
    MakeControl();
    NewDevice(kNewSleep);
    OnNewCode();
    return FALSE;
}

void CIrteachDlg::SetUpList()
{
    m_images.Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
    m_images.Add(LoadIcon(nullptr, IDI_APPLICATION));
    m_list.SetImageList(&m_images, LVSIL_SMALL);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    const char* nameHeading = "Code Name";
    int nameWidth = m_list.GetStringWidth(nameHeading) + 30;
    CRect client;
    m_list.GetClientRect(&client);
    m_list.InsertColumn(0, nameHeading, LVCFMT_LEFT, nameWidth);
    m_list.InsertColumn(1, "Data", LVCFMT_LEFT, client.Width() - nameWidth);
}

// The learner defines its one device on the first unit; without a unit it
// still edits files.
void CIrteachDlg::MakeControl()
{
    if (m_control.Create(this, IDC_TAVLINX))
        m_control.Advise(this);
    if (m_control.GetNumTavlins() > 0)
        m_control.AddDeviceText(kLowLevelDefinition, kLowLevelDevice, 1, 1, 0);
    else
        AfxMessageBox(kNoTavlins);
}

void CIrteachDlg::NewDevice(const char* sleep)
{
    m_device.reset(new CDevice);
    m_device->SetCarrierHz(kNewCarrier);
    m_device->SetDescriptionText(kNewDescription);
    m_device->SetTypeWord(kNewType);
    m_device->SetTimingText(CDevice::kSleep, sleep);
    m_current = -1;
    SetMode(kIrTxOnlyMode);
    UpdateFields(FALSE);
}

void CIrteachDlg::SetMode(int mode)
{
    m_mode = mode;
    CheckRadioButton(IDC_TX_ONLY, IDC_TX_RX, mode == kIrMode ? IDC_TX_RX : IDC_TX_ONLY);
    SetCurrentCode(m_waveform.GetTimings());
}

void CIrteachDlg::CopyTimingsToDevice()
{
    m_device->SetTimingText(CDevice::kOne, m_one);
    m_device->SetTimingText(CDevice::kZero, m_zero);
    m_device->SetTimingText(CDevice::kStart, m_start);
    m_device->SetTimingText(CDevice::kStop, m_stop);
    m_device->SetTimingText(CDevice::kPause, m_pause);
    m_device->SetRepeatCount(m_repeat);
    m_device->BuildPatterns();
}

BOOL CIrteachDlg::UpdateFields(BOOL toDevice)
{
    if (toDevice) {
        if (!UpdateData(TRUE))
            return FALSE;
        m_device->SetCarrierHz(atof(m_carrier));
        m_device->SetTimingText(CDevice::kSleep, m_sleep);
        m_device->SetDescriptionText(m_description);
        if (m_mode == kIrMode)
            CopyTimingsToDevice();
        return TRUE;
    }
    FillCodeList();
    m_carrier.Format("%.0lf", m_device->GetCarrier());
    m_sleep = m_device->GetTiming(CDevice::kSleep);
    m_description = m_device->GetDescription();
    if (m_mode == kIrMode) {
        m_one = m_device->GetTiming(CDevice::kOne);
        m_zero = m_device->GetTiming(CDevice::kZero);
        m_start = m_device->GetTiming(CDevice::kStart);
        m_stop = m_device->GetTiming(CDevice::kStop);
        m_pause = m_device->GetTiming(CDevice::kPause);
        // An unset count (-1) sends no repeats, as 0 does.
        m_repeat = m_device->GetRepeat() < 0 ? 0 : m_device->GetRepeat();
    } else {
        // The timing fields survive a switch to IRTXONLY in the device.
        CopyTimingsToDevice();
    }
    UpdateData(FALSE);
    CWnd* name = GetDlgItem(IDC_CODE_NAME);
    if (name) {
        GotoDlgCtrl(name);
        name->SendMessage(EM_SETSEL, 0, -1);
    }
    return TRUE;
}

void CIrteachDlg::FillCodeList()
{
    int top = m_list.GetTopIndex();
    m_list.DeleteAllItems();
    for (int i = 0; i < m_device->GetNumCodes(); ++i) {
        const DeviceCode& code = m_device->GetCode(i);
        m_list.InsertItem(i, code.name, 0);
        m_list.SetItemText(i, 1, code.data);
    }
    int count = m_list.GetItemCount();
    if (count == 0)
        return;
    int bottom = top + m_list.GetCountPerPage() - 1;
    m_list.EnsureVisible(bottom < count ? bottom : count - 1, FALSE);
    m_list.EnsureVisible(top < count ? top : count - 1, FALSE);
    if (m_current >= 0 && m_current < count)
        m_list.SetItemState(m_current, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CIrteachDlg::ShowSelectedCode()
{
    int selected = m_list.GetNextItem(-1, LVNI_SELECTED);
    if (selected >= 0 && selected != m_current) {
        UpdateFields(TRUE);
        m_current = selected;
        ShowCode(selected);
    } else if (m_current >= m_device->GetNumCodes()) {
        m_current = m_device->GetNumCodes() - 1;
        FillCodeList();
    }
}

void CIrteachDlg::ShowCode(int index)
{
    if (index < 0 || index >= m_device->GetNumCodes())
        return;
    const DeviceCode& code = m_device->GetCode(index);
    m_codeName = code.name;
    SetDlgItemText(IDC_CODE_NAME, m_codeName);
    SetCurrentCode(m_mode == kIrMode ? m_device->BuildIRTimings(code.data) : code.data);
}

void CIrteachDlg::SetCurrentCode(const char* timings)
{
    CString text(timings);
    m_waveform.SetCurrentCode(text, m_mode == kIrMode ? m_device.get() : nullptr);
    ShowWindowChange();
}

// The pane and its scroll bar follow the visible window.
void CIrteachDlg::ShowWindowChange()
{
    if (m_pane.GetSafeHwnd())
        m_pane.Invalidate();
    UpdateScrollBar();
}

void CIrteachDlg::UpdateScrollBar()
{
    SCROLLINFO info = {sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS};
    info.nMin = 0;
    info.nMax = CIrWaveform::kScrollRange;
    info.nPage = UINT(m_waveform.ScrollPage());
    info.nPos = m_waveform.ScrollPosition();
    HWND bar = ::GetDlgItem(m_hWnd, IDC_WAVE_SCROLL);
    if (bar)
        ::SetScrollInfo(bar, SB_CTL, &info, TRUE);
}

void CIrteachDlg::OnOleEvent(DISPID id, DISPPARAMS* params)
{
    if (id == kTavlinXReceiveEvent)
        OnReceive(CTavlinx::EventText(params, 0), CTavlinx::EventText(params, 1));
}

// The unit hears the learner's own Try as well: what arrives in the second of
// the Try or the next one is not learned.
void CIrteachDlg::OnReceive(const CString& device, const CString& text)
{
    if (device != kLowLevelDevice)
        return;
    int ir = text.Find("ir");
    if (ir < 0 || ir + 3 >= text.GetLength() || text[ir + 3] != '[')
        return;
    if (Now() <= m_lastTry + 1)
        return;
    int open = ir + 4;
    int close = text.Find(']', open);
    if (close < 0)
        return;
    SetCurrentCode(text.Mid(open, close - open));
}

time_t CIrteachDlg::Now() const
{
    return time(nullptr);
}

void CIrteachDlg::OnTry()
{
    if (!UpdateFields(TRUE))
        return;
    CString text;
    text.Format("lowlevel:carrier[%lf] lowlevel:irtxports[255] lowlevel:ir[%s]", m_device->GetCarrier(),
                static_cast<LPCSTR>(m_waveform.GetTimings()));
    m_control.Send(text);
    m_lastTry = Now();
}

void CIrteachDlg::OnSaveCode()
{
    if (!UpdateFields(TRUE))
        return;
    m_device->SetCode(m_current, m_mode == kIrMode ? m_waveform.GetDigits() : m_waveform.GetTimings(), m_codeName);
    m_unsaved = TRUE;
    UpdateFields(FALSE);
}

void CIrteachDlg::OnNewCode()
{
    AddNewCode();
    UpdateFields(FALSE);
}

void CIrteachDlg::AddNewCode()
{
    CString name;
    name.Format(kNewCodeName, m_newCodes++);
    m_device->AddCode("", name);
    m_current = m_device->GetNumCodes() - 1;
    ShowCode(m_current);
}

void CIrteachDlg::DeleteCurrentCode()
{
    if (!m_device->DeleteCode(m_current))
        return;
    m_unsaved = TRUE;
    if (m_device->GetNumCodes() == 0)
        AddNewCode();
    else if (m_current >= m_device->GetNumCodes())
        m_current = m_device->GetNumCodes() - 1;
    ShowCode(m_current);
    FillCodeList();
}

void CIrteachDlg::OnListSelect(NMHDR*, LRESULT* result)
{
    ShowSelectedCode();
    *result = 0;
}

void CIrteachDlg::OnListKeyDown(NMHDR* header, LRESULT* result)
{
    if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_DELETE)
        DeleteCurrentCode();
    else
        PostMessage(WM_SYNC_SELECTION);
    *result = 0;
}

LRESULT CIrteachDlg::OnSyncSelection(WPARAM, LPARAM)
{
    ShowSelectedCode();
    return 0;
}

BOOL CIrteachDlg::MayLoseWork(const char* question)
{
    return !m_unsaved || AfxMessageBox(question, MB_YESNO) == IDYES;
}

CString CIrteachDlg::ChooseFile(BOOL open)
{
    DWORD flags = open ? OFN_HIDEREADONLY | OFN_FILEMUSTEXIST : OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    CFileDialog chooser(open, "cde", nullptr, flags, kFileFilter, this);
    return chooser.DoModal() == IDOK ? chooser.GetPathName() : CString();
}

// A cleared device starts with one new code, as the dialog does, so that
// there is always a current code to save into.
void CIrteachDlg::OnClearDevice()
{
    if (!MayLoseWork(kClearQuestion))
        return;
    NewDevice(kNewSleep);
    m_unsaved = FALSE;
    m_path.Empty();
    SetWindowText(m_caption);
    AddNewCode();
    m_current = 0;
    UpdateFields(FALSE);
}

void CIrteachDlg::OnLoadDevice()
{
    if (!MayLoseWork(kLoadQuestion))
        return;
    CString path = ChooseFile(TRUE);
    if (!path.IsEmpty())
        LoadDeviceFile(path);
}

void CIrteachDlg::OnDropFiles(HDROP drop)
{
    char path[kMostDroppedPath + 1] = "";
    DragQueryFileA(drop, 0, path, sizeof path);
    DragFinish(drop);
    if (path[0] && MayLoseWork(kLoadQuestion))
        LoadDeviceFile(path);
}

void CIrteachDlg::LoadDeviceFile(const char* path)
{
    CString message;
    std::unique_ptr<CDevice> device = LoadEditableDevice(path, message);
    if (!device) {
        if (!message.IsEmpty())
            AfxMessageBox(message);
        return;
    }
    m_device = std::move(device);
    m_current = m_device->GetNumCodes() > 0 ? 0 : -1;
    m_unsaved = FALSE;
    m_path = path;
    SetMode(ModeOf(*m_device));
    SetWindowText(CString(kTitle) + path);
    UpdateFields(FALSE);
    ShowCode(m_current);
}

void CIrteachDlg::OnSaveDevice()
{
    if (!UpdateFields(TRUE))
        return;
    CString path = ChooseFile(FALSE);
    if (!path.IsEmpty() && m_device->Save(path))
        m_unsaved = FALSE;
}

void CIrteachDlg::OnImportSettings()
{
    CString path = ChooseFile(TRUE);
    if (path.IsEmpty())
        return;
    CDevice settings;
    if (!settings.Load(path, 0, TRUE))
        return;
    if (settings.GetType() != "ir") {
        AfxMessageBox(kNoTimingsToImport);
        return;
    }
    m_device->SetCarrierHz(settings.GetCarrier());
    for (CDevice::Timing t : {CDevice::kSleep, CDevice::kOne, CDevice::kZero, CDevice::kStart, CDevice::kStop,
                              CDevice::kPause})
        m_device->SetTimingText(t, settings.GetTiming(t));
    m_device->SetRepeatCount(settings.GetRepeat());
    m_device->BuildPatterns();
    m_carrier.Format("%.0lf", settings.GetCarrier());
    m_sleep = settings.GetTiming(CDevice::kSleep);
    m_one = settings.GetTiming(CDevice::kOne);
    m_zero = settings.GetTiming(CDevice::kZero);
    m_start = settings.GetTiming(CDevice::kStart);
    m_stop = settings.GetTiming(CDevice::kStop);
    m_pause = settings.GetTiming(CDevice::kPause);
    m_repeat = settings.GetRepeat() < 0 ? 0 : settings.GetRepeat();
    m_unsaved = TRUE;
    UpdateData(FALSE);
}

void CIrteachDlg::OnTxOnly()
{
    if (m_device->GetType() != "ir" || m_device->GetNumCodes() == 0) {
        SetMode(kIrTxOnlyMode);
        return;
    }
    if (AfxMessageBox(kToTxOnlyQuestion, MB_YESNO) != IDYES) {
        SetMode(kIrMode);
        return;
    }
    ConvertToTxOnly(*m_device);
    m_unsaved = TRUE;
    SetMode(kIrTxOnlyMode);
    UpdateFields(FALSE);
    ShowCode(m_current);
}

void CIrteachDlg::OnTxRx()
{
    if (m_device->GetType() != "irtxonly" || m_device->GetNumCodes() == 0) {
        SetMode(kIrMode);
        return;
    }
    // The one and zero the decoding needs come from the fields.
    m_mode = kIrMode;
    BOOL read = UpdateFields(TRUE);
    if (!read || !CanConvertToIR(*m_device)) {
        if (read)
            AfxMessageBox(kNoTimingsToConvert);
        SetMode(kIrTxOnlyMode);
        return;
    }
    if (AfxMessageBox(kToIrQuestion, MB_YESNO) != IDYES) {
        SetMode(kIrTxOnlyMode);
        return;
    }
    ConvertToIR(*m_device);
    m_unsaved = TRUE;
    SetMode(kIrMode);
    FillCodeList();
    ShowCode(m_current);
}

void CIrteachDlg::OnZoomIn()
{
    m_waveform.ZoomIn();
    ShowWindowChange();
}

void CIrteachDlg::OnZoomOut()
{
    m_waveform.ZoomOut();
    ShowWindowChange();
}

void CIrteachDlg::OnPanLeft()
{
    m_waveform.PanLeft();
    ShowWindowChange();
}

void CIrteachDlg::OnPanRight()
{
    m_waveform.PanRight();
    ShowWindowChange();
}

void CIrteachDlg::OnHScroll(UINT code, UINT pos, CScrollBar* bar)
{
    if (!bar || bar->GetDlgCtrlID() != IDC_WAVE_SCROLL)
        return;
    m_waveform.Scroll(code, int(pos));
    if (code == SB_ENDSCROLL)
        return;
    UpdateScrollBar();
    m_pane.RedrawWithoutErase();
}

void CIrteachDlg::OnSysCommand(UINT id, LPARAM)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg about(this);
        about.DoModal();
    } else {
        Default();
    }
}

// Enter in a field does not end the learner.
void CIrteachDlg::OnOK()
{
}

void CIrteachDlg::OnCancel()
{
    OnClose();
}

void CIrteachDlg::OnClose()
{
    if (!MayLoseWork(kQuitQuestion))
        return;
    m_waveform.FreeSurface();
    EndDialog(IDCANCEL);
}

void CIrteachDlg::OnDestroy()
{
    m_control.Disconnect();
    CDialog::OnDestroy();
}
