#include "server/OptionsDlg.h"

COptionsDlg* g_pOptionsDlg = nullptr;

namespace {

const char kFirstRun[] = "TavlinServ needs to know which COM ports your devices are connected to the first time "
                         "it is run. If you are unsure, you can select multiple ports";

// The first check box of each kind; COM1 to COM8 follow.
const int kFirstTavlinBox = 1002;
const int kFirstCM11aBox = 1010;
const int kFirstKeltoBox = 1018;

struct Kind
{
    int PortOptions::*mask;
    BOOL (COptionsDlg::*boxes)[COptionsDlg::kPorts];
    int firstBox;
};
const Kind kKinds[] = {
    {&PortOptions::tavlinMask, &COptionsDlg::m_tavlin, kFirstTavlinBox},
    {&PortOptions::cm11aMask, &COptionsDlg::m_cm11a, kFirstCM11aBox},
    {&PortOptions::keltoMask, &COptionsDlg::m_kelto, kFirstKeltoBox},
};

} // namespace

COptionsDlg::COptionsDlg(CWnd* parent) : CDialog(IDD_OPTIONS, parent)
{
    for (int i = 0; i < kPorts; ++i)
        m_tavlin[i] = m_cm11a[i] = m_kelto[i] = FALSE;
    LoadPortMasks();
}

void COptionsDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (const Kind& kind : kKinds)
        for (int i = 0; i < kPorts; ++i)
            DDX_Check(pDX, kind.firstBox + i, (this->*kind.boxes)[i]);
}

void COptionsDlg::LoadPortMasks()
{
    m_masks.Load();
    if (m_masks.NeverChosen()) {
        AfxMessageBox(kFirstRun);
        if (DoModal() == IDOK)
            SavePortMasks();
        return;
    }
    SpreadMasks();
}

void COptionsDlg::SpreadMasks()
{
    for (const Kind& kind : kKinds)
        for (int i = 0; i < kPorts; ++i)
            (this->*kind.boxes)[i] = (m_masks.*kind.mask >> i) & 1;
}

void COptionsDlg::SavePortMasks()
{
    for (const Kind& kind : kKinds) {
        int mask = 0;
        for (int i = 0; i < kPorts; ++i)
            if ((this->*kind.boxes)[i])
                mask |= 1 << i;
        m_masks.*kind.mask = mask;
    }
    m_masks.Save();
}
