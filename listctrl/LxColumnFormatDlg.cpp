#include "listctrl/LxColumnFormatDlg.h"

#include "listctrl/LxListResource.h"

namespace
{
// Measured and divided by its 26 letters for the average character width.
const char kWidthSample[] = "AbCdEfGhIj MnOpQrStUvWxYz";
const int kWidthSampleLetters = 26;
const int kMaxWidthChars = 1024;
// Format bits that the kind replaces.
const DWORD kKindBits = kLxColNumeric | kLxColCurrency;

const struct
{
    const char* name;
    DWORD bits;
} kKinds[] = {
    {"Text", 0},
    {"Numeric", kLxColNumeric},
    {"Valute", kLxColCurrency},
};

const struct
{
    DWORD bit;
    const char* name;
} kEditKinds[] = {
    {kLxColDropList, "Drop list"},
    {kLxColDropDownList, "Drop down list"},
    {kLxColEdit, "Edit"},
};

const struct
{
    int id;
    int alignment;
} kAlignments[] = {
    {IDC_LX_ALIGN_LEFT, LVCFMT_LEFT},
    {IDC_LX_ALIGN_RIGHT, LVCFMT_RIGHT},
    {IDC_LX_ALIGN_CENTER, LVCFMT_CENTER},
};

bool IsImageColumn(const CLxColumnDef& def)
{
    return (def.m_format & kLxColImage) != 0;
}

CString DisplayName(const CLxColumnDef& def)
{
    if (IsImageColumn(def) && !def.m_description.IsEmpty())
        return def.m_description;
    return def.m_label;
}
}

BEGIN_MESSAGE_MAP(CLxColumnFormatDlg, CDialog)
    ON_WM_DESTROY()
    ON_LBN_SELCHANGE(IDC_LX_FIELDS, OnFieldChange)
    ON_CBN_KILLFOCUS(IDC_LX_KIND, OnKindKillFocus)
    ON_EN_KILLFOCUS(IDC_LX_LABEL, OnLabelKillFocus)
    ON_EN_KILLFOCUS(IDC_LX_SECOND_LABEL, OnSecondLabelKillFocus)
    ON_EN_KILLFOCUS(IDC_LX_WIDTH, OnWidthKillFocus)
    ON_BN_CLICKED(IDC_LX_ALIGN_LEFT, OnAlignLeft)
    ON_BN_CLICKED(IDC_LX_ALIGN_CENTER, OnAlignCenter)
    ON_BN_CLICKED(IDC_LX_ALIGN_RIGHT, OnAlignRight)
END_MESSAGE_MAP()

CLxColumnFormatDlg::CLxColumnFormatDlg(CWnd* parent)
    : CDialog(IDD_LX_COLUMN_FORMAT, parent), m_pColumnManager(NULL), m_pWork(NULL),
      m_width(0), m_unit(1), m_closing(false)
{
}

CLxColumnFormatDlg::~CLxColumnFormatDlg()
{
    delete m_pWork;
}

void CLxColumnFormatDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LX_KIND, m_kindCombo);
    DDX_Control(pDX, IDC_LX_FIELDS, m_fieldList);
    for (int id : {IDC_LX_LABEL, IDC_LX_SECOND_LABEL, IDC_LX_WIDTH, IDC_LX_EDIT_KIND})
        ExchangeField(pDX, id);
}

void CLxColumnFormatDlg::ExchangeField(CDataExchange* pDX, int id)
{
    switch (id)
    {
    case IDC_LX_LABEL:
        DDX_Text(pDX, id, m_label);
        break;
    case IDC_LX_SECOND_LABEL:
        DDX_Text(pDX, id, m_secondLabel);
        break;
    case IDC_LX_WIDTH:
        DDX_Text(pDX, id, m_width);
        DDV_MinMaxInt(pDX, m_width, 0, kMaxWidthChars);
        break;
    case IDC_LX_EDIT_KIND:
        DDX_Text(pDX, id, m_editKind);
        break;
    }
}

bool CLxColumnFormatDlg::SaveField(int id)
{
    CDataExchange dx(this, TRUE);
    TRY
    {
        ExchangeField(&dx, id);
    }
    CATCH(CUserException, e)
    {
        return false;
    }
    END_CATCH
    return true;
}

BOOL CLxColumnFormatDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    {
        CClientDC dc(this);
        m_unit = std::max(1, (int)dc.GetTextExtent(kWidthSample).cx / kWidthSampleLetters);
    }
    m_pWork = new CLxColumnManager(*m_pColumnManager);
    for (int id : m_pWork->GetShownIds())
    {
        int index = m_pWork->FindColumn(id);
        if (index < 0)
            continue;
        CString name = DisplayName(m_pWork->GetColumn(index));
        if (!name.IsEmpty())
            m_fieldList.SetItemData(m_fieldList.AddString(name), index);
    }
    if (m_fieldList.GetCount() > 0)
    {
        m_fieldList.SetCurSel(0);
        ShowColumn(*Selected());
    }
    return TRUE;
}

void CLxColumnFormatDlg::OnDestroy()
{
    delete m_pWork;
    m_pWork = NULL;
    CDialog::OnDestroy();
}

CLxColumnDef* CLxColumnFormatDlg::Selected()
{
    int entry = m_fieldList.GetCurSel();
    if (!m_pWork || entry < 0)
        return NULL;
    return &m_pWork->GetColumn((int)m_fieldList.GetItemData(entry));
}

bool CLxColumnFormatDlg::IsEnabled(int id) const
{
    CWnd* control = GetDlgItem(id);
    return control && control->IsWindowEnabled();
}

// An image column keeps its kind, width and alignment.
void CLxColumnFormatDlg::ShowColumn(const CLxColumnDef& def)
{
    bool image = IsImageColumn(def);
    m_editKind.Empty();
    for (const auto& alignment : kAlignments)
        CheckDlgButton(alignment.id, BST_UNCHECKED);
    m_width = def.m_width / m_unit;
    m_label = DisplayName(def);
    m_secondLabel = image ? CString() : def.m_secondLabel;
    ShowKinds(def);
    if (image)
        CheckDlgButton(IDC_LX_ALIGN_CENTER, BST_CHECKED);
    else
    {
        for (const auto& kind : kEditKinds)
        {
            if (def.m_format & kind.bit)
            {
                m_editKind = kind.name;
                break;
            }
        }
        int checked = IDC_LX_ALIGN_LEFT;
        for (const auto& alignment : kAlignments)
        {
            if (alignment.alignment == def.m_alignment)
                checked = alignment.id;
        }
        CheckDlgButton(checked, BST_CHECKED);
    }
    for (int id : {IDC_LX_SECOND_LABEL, IDC_LX_WIDTH, IDC_LX_ALIGN_LEFT, IDC_LX_ALIGN_CENTER,
                   IDC_LX_ALIGN_RIGHT})
        GetDlgItem(id)->EnableWindow(!image);
    UpdateData(FALSE);
}

void CLxColumnFormatDlg::ShowKinds(const CLxColumnDef& def)
{
    m_kindCombo.ResetContent();
    if (IsImageColumn(def))
    {
        m_kindCombo.AddString("Image");
        m_kindCombo.SetCurSel(0);
        return;
    }
    int selected = 0;
    for (const auto& kind : kKinds)
    {
        int entry = m_kindCombo.AddString(kind.name);
        m_kindCombo.SetItemData(entry, kind.bits);
        if (kind.bits && (def.m_format & kind.bits))
            selected = entry;
    }
    m_kindCombo.SetCurSel(selected);
}

void CLxColumnFormatDlg::OnFieldChange()
{
    CLxColumnDef* def = Selected();
    if (def)
        ShowColumn(*def);
}

bool CLxColumnFormatDlg::ApplyField(int id)
{
    CLxColumnDef* def = Selected();
    if (m_closing || !def || !IsEnabled(id))
        return true;
    if (id != IDC_LX_KIND && !SaveField(id))
        return false;
    switch (id)
    {
    case IDC_LX_KIND:
    {
        int entry = m_kindCombo.GetCurSel();
        if (!IsImageColumn(*def) && entry >= 0)
            def->m_format = (def->m_format & ~kKindBits) | (DWORD)m_kindCombo.GetItemData(entry);
        break;
    }
    case IDC_LX_LABEL:
        ApplyLabel(*def);
        break;
    case IDC_LX_SECOND_LABEL:
        if (!m_secondLabel.IsEmpty())
            def->m_secondLabel = m_secondLabel;
        break;
    case IDC_LX_WIDTH:
        def->m_width = m_width * m_unit;
        break;
    }
    return true;
}

// An emptied label keeps the old one; the entry shows the new name.
void CLxColumnFormatDlg::ApplyLabel(CLxColumnDef& def)
{
    if (m_label.IsEmpty())
        return;
    if (IsImageColumn(def))
        def.m_description = m_label;
    else
        def.m_label = m_label;
    int entry = m_fieldList.GetCurSel();
    DWORD_PTR data = m_fieldList.GetItemData(entry);
    m_fieldList.DeleteString(entry);
    m_fieldList.InsertString(entry, m_label);
    m_fieldList.SetItemData(entry, data);
    m_fieldList.SetCurSel(entry);
}

void CLxColumnFormatDlg::OnKindKillFocus()
{
    ApplyField(IDC_LX_KIND);
}

void CLxColumnFormatDlg::OnLabelKillFocus()
{
    ApplyField(IDC_LX_LABEL);
}

void CLxColumnFormatDlg::OnSecondLabelKillFocus()
{
    ApplyField(IDC_LX_SECOND_LABEL);
}

void CLxColumnFormatDlg::OnWidthKillFocus()
{
    ApplyField(IDC_LX_WIDTH);
}

void CLxColumnFormatDlg::SetAlignment(int id, int alignment)
{
    CLxColumnDef* def = Selected();
    if (def && IsEnabled(id))
        def->m_alignment = alignment;
}

void CLxColumnFormatDlg::OnAlignLeft()
{
    SetAlignment(IDC_LX_ALIGN_LEFT, LVCFMT_LEFT);
}

void CLxColumnFormatDlg::OnAlignCenter()
{
    SetAlignment(IDC_LX_ALIGN_CENTER, LVCFMT_CENTER);
}

void CLxColumnFormatDlg::OnAlignRight()
{
    SetAlignment(IDC_LX_ALIGN_RIGHT, LVCFMT_RIGHT);
}

// Enter leaves the focus where it is: the field that has it is applied
// before the definitions change hands, or its edit would reach the old ones.
void CLxColumnFormatDlg::OnOK()
{
    if (!ApplyField(::GetDlgCtrlID(::GetFocus())))
        return;
    m_closing = true;
    m_pWork->SwapDefinitions(*m_pColumnManager);
    EndDialog(IDOK);
}

void CLxColumnFormatDlg::OnCancel()
{
    m_closing = true;
    CDialog::OnCancel();
}
