#include "server/OptionsDlg.h"

COptionsDlg* g_pOptionsDlg = nullptr;

namespace {

const char kFirstRun[] = "TavlinServ needs to know which COM ports your devices are connected to the first time "
                         "it is run. If you are unsure, you can select multiple ports";

struct Kind
{
    int PortOptions::*mask;
    BOOL (COptionsDlg::*boxes)[COptionsDlg::kPorts];
    int firstBox;
};
const Kind kKinds[] = {
    {&PortOptions::tavlinMask, &COptionsDlg::m_tavlin, IDC_TAVLIN_COM1},
    {&PortOptions::cm11aMask, &COptionsDlg::m_cm11a, IDC_CM11A_COM1},
    {&PortOptions::keltoMask, &COptionsDlg::m_kelto, IDC_KELTO_COM1},
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
