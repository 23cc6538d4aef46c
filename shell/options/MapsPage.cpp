#include "shell/options/MapsPage.h"
#include "shell/options/OptionsResources.h"

#include "core/doc/OpenLink.h"
#include "platform/runtime/MessageBoxes.h"

#include <afxdlgs.h>

namespace {

const char kMapFilter[] = "Text Files {*.txt}|*.txt|All Files {*.*}|*.*||";
const char kLoadFailed[] = "Error loading map file.";
const int kIconSize = 16;

} // namespace

BEGIN_MESSAGE_MAP(CMapsPage, COptionsPage)
    ON_BN_CLICKED(IDC_MAP_BROWSE, OnBrowse)
    ON_BN_CLICKED(IDC_MAP_RELOAD, OnReload)
    ON_BN_CLICKED(IDC_MAP_EDIT, OnEdit)
END_MESSAGE_MAP()

CMapsPage::CMapsPage(CPage7& values, COptionsHost& host) : COptionsPage(IDD_OPTIONS_MAPS, host), m_values(values)
{
}

BOOL CMapsPage::OnInitDialog()
{
    COptionsPage::OnInitDialog();
    m_list.SubclassDlgItem(IDC_MAP_LIST, this);
    m_list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    m_images.Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 1, 0);
    m_images.Add(static_cast<HICON>(
        ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_MAP_ENTRY), IMAGE_ICON, kIconSize, kIconSize, 0)));
    m_list.SetImageList(&m_images, LVSIL_SMALL);
    CRect client;
    m_list.GetClientRect(&client);
    int eventWidth = m_list.GetStringWidth("Event") + 50;
    m_list.InsertColumn(0, "Event", LVCFMT_LEFT, eventWidth);
    m_list.InsertColumn(1, "Action(s)", LVCFMT_LEFT, client.Width() - eventWidth - 5);
    LoadMap();
    FillList();
    return TRUE;
}

void CMapsPage::DoDataExchange(CDataExchange* pDX)
{
    COptionsPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_MAP_FILE, m_values.m_mapFile);
}

BOOL CMapsPage::LoadMap()
{
    return m_mapper.LoadMapFile(m_values.m_mapFile);
}

void CMapsPage::FillList()
{
    m_list.DeleteAllItems();
    int row = 0;
    for (const EventMapEntry& entry : m_mapper.GetMap())
    {
        m_list.InsertItem(row, entry.pattern, 0);
        m_list.SetItemText(row, 1, entry.action);
        ++row;
    }
}

void CMapsPage::OnBrowse()
{
    CFileDialog chooser(TRUE, "txt", m_values.m_mapFile, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kMapFilter, this);
    if (chooser.DoModal() != IDOK)
        return;
    m_values.m_mapFile = chooser.GetPathName();
    UpdateData(FALSE);
    OnReload();
}

// A file that cannot be read keeps the entries the page had.
void CMapsPage::OnReload()
{
    UpdateData(TRUE);
    if (!LoadMap())
        ShowMessageBox(m_hWnd, kLoadFailed, AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
    FillList();
}

void CMapsPage::OnEdit()
{
    UpdateData(TRUE);
    OpenLink(m_values.m_mapFile, nullptr, nullptr);
}
