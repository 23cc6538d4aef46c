#include "toolkit/bars/TkDockState.h"
#include "toolkit/bars/TkControlBar.h"
#include "toolkit/bars/TkDialogBar.h"
#include "toolkit/bars/TkDockBar.h"
#include "toolkit/bars/TkDockSite.h"
#include "toolkit/bars/TkMiniDockFrameWnd.h"
#include "toolkit/bars/TkControlBarManager.h"
#include "toolkit/state/TkPersistentTreeNode.h"

#include <stdlib.h>
#include <string.h>

#include <algorithm>

namespace {

const char kSummarySection[] = "%s-Summary";
const char kTreeNodeName[] = "DockState";
const char kBarNodeName[] = "Bar-%d";
// Proportions are stored as millionths.
const float kProportionScale = 1000000.0f;
// The largest number of bars read from a damaged layout.
const int kMaxBars = 4096;
// The floating dock bar of a mini frame.
const UINT kFloatDockBarId = AFX_IDW_DOCKBAR_FLOAT;
const DWORD kAlignLeft = CBRS_ALIGN_LEFT;
const DWORD kAlignTop = CBRS_ALIGN_TOP;

CString ProportionText(float proportion)
{
    CString text;
    text.Format("%d", (int)(proportion * kProportionScale));
    return text;
}

float ProportionFromText(LPCSTR text)
{
    float proportion = (float)atoi(text) / kProportionScale;
    return proportion < 0.0f ? 0.0f : proportion;
}

LONG NotNegative(LONG value)
{
    return value < 0 ? 0 : value;
}

CWinApp* App()
{
    return AfxGetApp();
}

int ProfileInt(LPCSTR section, LPCSTR key, int defaultValue)
{
    return (int)App()->GetProfileInt(section, key, defaultValue);
}

void WriteProfileInt(LPCSTR section, LPCSTR key, int value)
{
    App()->WriteProfileInt(section, key, value);
}

CString BarNodeName(int index)
{
    CString name;
    name.Format(kBarNodeName, index);
    return name;
}

}  // namespace

IMPLEMENT_DYNCREATE(TkControlBarInfoEx, CObject)

void TkControlBarInfoEx::Serialize(CArchive&, CDockState*)
{
}

BOOL TkControlBarInfoEx::LoadStateFromTree(TkPersistentTreeNode* node)
{
    return node != NULL;
}

BOOL TkControlBarInfoEx::LoadStateFromProfile(LPCSTR, CDockState*)
{
    return FALSE;
}

BOOL TkControlBarInfoEx::SaveStateToTree(TkPTNFactory*, TkPersistentTreeNode* node)
{
    return node != NULL;
}

BOOL TkControlBarInfoEx::SaveStateToProfile(LPCSTR)
{
    return FALSE;
}

TkControlBarInfo::TkControlBarInfo(TkControlBarManager* manager)
    : m_sizeHorz(0, 0), m_sizeVert(0, 0), m_sizeFloat(0, 0), m_dwMRUDockingState(0),
      m_dwDockingStyle(0), m_fProportion(0.0f), m_dwStyle(0), m_dwExStyle(0),
      m_bPrevFloating(FALSE), m_bMDIChild(FALSE), m_nResourceID(0), m_pExtraInfo(NULL),
      m_dwTypeID(0), m_pManager(manager), m_bExtraSaved(TRUE)
{
    memset(&m_placement, 0, sizeof(m_placement));
}

TkControlBarInfo::~TkControlBarInfo()
{
    delete m_pExtraInfo;
}

void TkControlBarInfo::MakeExtraInfo()
{
    delete m_pExtraInfo;
    m_pExtraInfo = m_pManager != NULL ? m_pManager->CreateControlBarInfoEx(this) : NULL;
}

BOOL TkControlBarInfo::IsEmptyDockBar() const
{
    return m_bDockBar && m_bVisible && !m_bFloating && m_pointPos.x == -1 &&
           m_pointPos.y == -1 && m_arrBarID.GetSize() <= 1;
}

BOOL TkControlBarInfo::SaveState(LPCSTR profileName, int index)
{
    if (!CControlBarInfo::SaveState(profileName, index))
        return FALSE;
    CString section = SectionName(profileName, index);
    WriteProfileInt(section, "Style", m_dwStyle);
    WriteProfileInt(section, "ExStyle", m_dwExStyle);
    WriteProfileInt(section, "PrevFloating", m_bPrevFloating);
    WriteProfileInt(section, "MDIChild", m_bMDIChild);
    if (m_bMDIChild)
        App()->WriteProfileBinary(section, "MDIChildWindowPlacement", (LPBYTE)&m_placement,
                                  sizeof(m_placement));
    App()->WriteProfileString(section, "PctWidth", ProportionText(m_fProportion));
    WriteProfileInt(section, "MRUFloatCX", m_sizeFloat.cx);
    WriteProfileInt(section, "MRUFloatCY", m_sizeFloat.cy);
    WriteProfileInt(section, "MRUHorzDockCX", m_sizeHorz.cx);
    WriteProfileInt(section, "MRUHorzDockCY", m_sizeHorz.cy);
    WriteProfileInt(section, "MRUVertDockCX", m_sizeVert.cx);
    WriteProfileInt(section, "MRUVertDockCY", m_sizeVert.cy);
    WriteProfileInt(section, "MRUDockingState", m_dwMRUDockingState);
    WriteProfileInt(section, "DockingStyle", m_dwDockingStyle);
    WriteProfileInt(section, "TypeID", m_dwTypeID);
    App()->WriteProfileString(section, "ClassName", m_strClassName);
    App()->WriteProfileString(section, "WindowName", m_strWindowName);
    WriteProfileInt(section, "ResourceID", m_nResourceID);
    m_bExtraSaved = m_pExtraInfo == NULL || m_pExtraInfo->SaveStateToProfile(section);
    return TRUE;
}

BOOL TkControlBarInfo::LoadState(LPCSTR profileName, int index, CDockState* state)
{
    BOOL result = CControlBarInfo::LoadState(profileName, index, state);
    CString section = SectionName(profileName, index);
    m_dwStyle = ProfileInt(section, "Style", 0);
    m_dwExStyle = ProfileInt(section, "ExStyle", 0);
    m_bPrevFloating = ProfileInt(section, "PrevFloating", 0);
    m_bMDIChild = ProfileInt(section, "MDIChild", 0);
    if (m_bMDIChild) {
        BYTE* data = NULL;
        UINT size = 0;
        // A placement of another size is damaged: the old one stays.
        if (App()->GetProfileBinary(section, "MDIChildWindowPlacement", &data, &size) &&
            size == sizeof(m_placement))
            memcpy(&m_placement, data, sizeof(m_placement));
        delete[] data;
    }
    m_fProportion = ProportionFromText(App()->GetProfileString(section, "PctWidth", "0"));
    m_sizeFloat = CSize(NotNegative(ProfileInt(section, "MRUFloatCX", 0)),
                        NotNegative(ProfileInt(section, "MRUFloatCY", 0)));
    m_sizeHorz = CSize(NotNegative(ProfileInt(section, "MRUHorzDockCX", 0)),
                       NotNegative(ProfileInt(section, "MRUHorzDockCY", 0)));
    m_sizeVert = CSize(NotNegative(ProfileInt(section, "MRUVertDockCX", 0)),
                       NotNegative(ProfileInt(section, "MRUVertDockCY", 0)));
    m_dwMRUDockingState = ProfileInt(section, "MRUDockingState", m_dwMRUDockingState);
    m_dwDockingStyle = ProfileInt(section, "DockingStyle", m_dwDockingStyle);
    m_dwTypeID = ProfileInt(section, "TypeID", 0);
    m_strClassName = App()->GetProfileString(section, "ClassName", "");
    m_strWindowName = App()->GetProfileString(section, "WindowName", "");
    m_nResourceID = ProfileInt(section, "ResourceID", m_nResourceID);
    MakeExtraInfo();
    if (m_pExtraInfo != NULL)
        m_pExtraInfo->LoadStateFromProfile(section, state);
    return result;
}

BOOL TkControlBarInfo::SaveStateToTree(TkPTNFactory* factory, TkPersistentTreeNode* parent, int index)
{
    if (parent == NULL || IsEmptyDockBar())
        return FALSE;
    TkPersistentTreeNode* node = factory->CreateChildNode(BarNodeName(index), parent);
    if (node == NULL)
        return FALSE;
    SaveBaseToTree(factory, node);
    SaveExtToTree(factory, node);
    m_bExtraSaved = m_pExtraInfo == NULL || m_pExtraInfo->SaveStateToTree(factory, node);
    return TRUE;
}

BOOL TkControlBarInfo::SaveBaseToTree(TkPTNFactory*, TkPersistentTreeNode* node)
{
    node->SetIntValue("BarID", m_nBarID, TRUE);
    node->SetIntValue("XPos", m_pointPos.x, TRUE);
    node->SetIntValue("YPos", m_pointPos.y, TRUE);
    node->SetIntValue("MRUWidth", m_nMRUWidth, TRUE);
    node->SetBoolValue("Visible", m_bVisible, TRUE);
    node->SetBoolValue("Horz", m_bHorz, TRUE);
    node->SetBoolValue("Floating", m_bFloating, TRUE);
    node->SetBoolValue("Docking", m_bDocking, TRUE);
    node->SetIntValue("MRUDockID", m_uMRUDockID, TRUE);
    node->SetIntValue("MRUDockLeftPos", m_rectMRUDockPos.left, TRUE);
    node->SetIntValue("MRUDockTopPos", m_rectMRUDockPos.top, TRUE);
    node->SetIntValue("MRUDockRightPos", m_rectMRUDockPos.right, TRUE);
    node->SetIntValue("MRUDockBottomPos", m_rectMRUDockPos.bottom, TRUE);
    node->SetIntValue("MRUFloatStyle", m_dwMRUFloatStyle, TRUE);
    node->SetIntValue("MRUFloatXPos", m_ptMRUFloatPos.x, TRUE);
    node->SetIntValue("MRUFloatYPos", m_ptMRUFloatPos.y, TRUE);
    if (m_arrBarID.GetSize() > 0) {
        node->SetIntValue("Bars", (int)m_arrBarID.GetSize(), TRUE);
        for (int i = 0; i < m_arrBarID.GetSize(); i++) {
            CString key;
            key.Format("Bar#%d", i);
            node->SetIntValue(key, (int)m_arrBarID[i], TRUE);
        }
    }
    return TRUE;
}

BOOL TkControlBarInfo::SaveExtToTree(TkPTNFactory*, TkPersistentTreeNode* node)
{
    node->SetIntValue("Style", m_dwStyle, TRUE);
    node->SetIntValue("ExStyle", m_dwExStyle, TRUE);
    node->SetBoolValue("PrevFloating", m_bPrevFloating, TRUE);
    node->SetBoolValue("MDIChild", m_bMDIChild, TRUE);
    if (m_bMDIChild)
        node->SetBinaryValue("MDIChildWindowPlacement", (const BYTE*)&m_placement,
                             sizeof(m_placement), TRUE);
    node->SetStringValue("PctWidth", ProportionText(m_fProportion), TRUE);
    node->SetIntValue("MRUFloatCX", m_sizeFloat.cx, TRUE);
    node->SetIntValue("MRUFloatCY", m_sizeFloat.cy, TRUE);
    node->SetIntValue("MRUHorzDockCX", m_sizeHorz.cx, TRUE);
    node->SetIntValue("MRUHorzDockCY", m_sizeHorz.cy, TRUE);
    node->SetIntValue("MRUVertDockCX", m_sizeVert.cx, TRUE);
    node->SetIntValue("MRUVertDockCY", m_sizeVert.cy, TRUE);
    node->SetIntValue("MRUDockingState", m_dwMRUDockingState, TRUE);
    node->SetIntValue("DockingStyle", m_dwDockingStyle, TRUE);
    node->SetIntValue("TypeID", m_dwTypeID, TRUE);
    node->SetStringValue("ClassName", m_strClassName, TRUE);
    node->SetStringValue("WindowName", m_strWindowName, TRUE);
    node->SetIntValue("ResourceID", m_nResourceID, TRUE);
    return TRUE;
}

BOOL TkControlBarInfo::LoadStateFromTree(TkPersistentTreeNode* node, TkDockState* state)
{
    if (node == NULL)
        return FALSE;
    LoadBaseFromTree(node, state);
    LoadExtFromTree(node);
    MakeExtraInfo();
    if (m_pExtraInfo != NULL)
        m_pExtraInfo->LoadStateFromTree(node);
    return TRUE;
}

BOOL TkControlBarInfo::LoadBaseFromTree(TkPersistentTreeNode* node, TkDockState* state)
{
    if (node == NULL || state == NULL)
        return FALSE;
    node->GetUIntValue("BarID", &m_nBarID, 0);
    m_bDockBar = IsDockBarId(m_nBarID);
    node->GetBoolValue("Visible", &m_bVisible, TRUE);
    node->GetBoolValue("Horz", &m_bHorz, TRUE);
    node->GetBoolValue("Floating", &m_bFloating, FALSE);
    long x = -1;
    long y = -1;
    node->GetLongValue("XPos", &x, -1);
    node->GetLongValue("YPos", &y, -1);
    m_pointPos = state->ScalePoint(CPoint(x, y));
    node->GetUIntValue("MRUWidth", &m_nMRUWidth, 32767);
    node->GetBoolValue("Docking", &m_bDocking, FALSE);
    if (m_bDocking) {
        node->GetUIntValue("MRUDockID", &m_uMRUDockID, 0);
        long left = 0, top = 0, right = 0, bottom = 0;
        node->GetLongValue("MRUDockLeftPos", &left, 0);
        node->GetLongValue("MRUDockTopPos", &top, 0);
        node->GetLongValue("MRUDockRightPos", &right, 0);
        node->GetLongValue("MRUDockBottomPos", &bottom, 0);
        m_rectMRUDockPos = state->ScaleRectPos(CRect(left, top, right, bottom));
        node->GetDWordValue("MRUFloatStyle", &m_dwMRUFloatStyle, 0);
        long floatX = 0, floatY = 0;
        node->GetLongValue("MRUFloatXPos", &floatX, 0);
        node->GetLongValue("MRUFloatYPos", &floatY, 0);
        m_ptMRUFloatPos = state->ScalePoint(CPoint(floatX, floatY));
    }
    int bars = 0;
    node->GetIntValue("Bars", &bars, 0);
    m_arrBarID.RemoveAll();
    for (int i = 0; i < bars && i < kMaxBars; i++) {
        CString key;
        key.Format("Bar#%d", i);
        int id = 0;
        if (node->GetIntValue(key, &id, 0) != 0)
            break;
        m_arrBarID.Add((DWORD)id);
    }
    return TRUE;
}

BOOL TkControlBarInfo::LoadExtFromTree(TkPersistentTreeNode* node)
{
    if (node == NULL)
        return FALSE;
    node->GetDWordValue("Style", &m_dwStyle, 0);
    node->GetDWordValue("ExStyle", &m_dwExStyle, 0);
    node->GetBoolValue("PrevFloating", &m_bPrevFloating, FALSE);
    node->GetBoolValue("MDIChild", &m_bMDIChild, FALSE);
    if (m_bMDIChild) {
        BYTE* data = NULL;
        UINT size = 0;
        if (node->GetBinaryValue("MDIChildWindowPlacement", &data, &size) == 0 &&
            size == sizeof(m_placement))
            memcpy(&m_placement, data, sizeof(m_placement));
        delete[] data;
    }
    CString proportion;
    node->GetStringValue("PctWidth", proportion, "0");
    m_fProportion = ProportionFromText(proportion);
    int value = 0;
    node->GetIntValue("MRUFloatCX", &value, 0);
    m_sizeFloat.cx = NotNegative(value);
    node->GetIntValue("MRUFloatCY", &value, 0);
    m_sizeFloat.cy = NotNegative(value);
    node->GetIntValue("MRUHorzDockCX", &value, 0);
    m_sizeHorz.cx = NotNegative(value);
    node->GetIntValue("MRUHorzDockCY", &value, 0);
    m_sizeHorz.cy = NotNegative(value);
    node->GetIntValue("MRUVertDockCX", &value, 0);
    m_sizeVert.cx = NotNegative(value);
    node->GetIntValue("MRUVertDockCY", &value, 0);
    m_sizeVert.cy = NotNegative(value);
    node->GetDWordValue("MRUDockingState", &m_dwMRUDockingState, m_dwMRUDockingState);
    node->GetDWordValue("DockingStyle", &m_dwDockingStyle, m_dwDockingStyle);
    node->GetDWordValue("TypeID", &m_dwTypeID, 0);
    node->GetStringValue("ClassName", m_strClassName, "");
    node->GetStringValue("WindowName", m_strWindowName, "");
    int resource = (int)m_nResourceID;
    node->GetIntValue("ResourceID", &resource, resource);
    m_nResourceID = resource;
    return TRUE;
}

void TkControlBarInfo::Serialize(CArchive& ar, CDockState* state)
{
    SerializePlace(ar, state);
    if (ar.IsStoring()) {
        ar << m_dwStyle << m_dwExStyle << (DWORD)m_bPrevFloating << (DWORD)m_bMDIChild;
        ar << ProportionText(m_fProportion);
        ar << m_sizeFloat << m_sizeHorz << m_sizeVert;
        ar << m_dwMRUDockingState << m_dwDockingStyle << m_dwTypeID;
        if (m_pExtraInfo != NULL)
            m_pExtraInfo->Serialize(ar, state);
        SerializeIds(ar);
        return;
    }
    DWORD value = 0;
    ar >> m_dwStyle >> m_dwExStyle >> value;
    m_bPrevFloating = value;
    ar >> value;
    m_bMDIChild = value;
    CString proportion;
    ar >> proportion;
    m_fProportion = ProportionFromText(proportion);
    ar >> m_sizeFloat >> m_sizeHorz >> m_sizeVert;
    m_sizeFloat = CSize(NotNegative(m_sizeFloat.cx), NotNegative(m_sizeFloat.cy));
    m_sizeHorz = CSize(NotNegative(m_sizeHorz.cx), NotNegative(m_sizeHorz.cy));
    m_sizeVert = CSize(NotNegative(m_sizeVert.cx), NotNegative(m_sizeVert.cy));
    ar >> m_dwMRUDockingState >> m_dwDockingStyle >> m_dwTypeID;
    MakeExtraInfo();
    if (m_pExtraInfo != NULL)
        m_pExtraInfo->Serialize(ar, state);
    SerializeIds(ar);
}

IMPLEMENT_SERIAL(TkDockState, CDockState, 0)

TkDockState::TkDockState(TkControlBarManager* manager) : m_pManager(manager), m_pCreatedBars(NULL)
{
}

TkControlBarInfo* TkDockState::GetInfo(int index) const
{
    return static_cast<TkControlBarInfo*>(static_cast<CControlBarInfo*>(m_arrBarInfo[index]));
}

void TkDockState::ClearInfos()
{
    Clear();
}

TkControlBarInfo* TkDockState::CreateControlBarInfo(TkControlBarManager* manager)
{
    return new TkControlBarInfo(manager);
}

CControlBarInfo* TkDockState::CreateBarInfo()
{
    return CreateControlBarInfo(m_pManager);
}

BOOL TkDockState::SaveStateToTree(TkPTNFactory* factory, TkPersistentTreeNode* parent)
{
    if (parent == NULL || factory == NULL)
        return FALSE;
    TkPersistentTreeNode* node = parent->FindChildNode(kTreeNodeName);
    if (node == NULL)
        node = factory->CreateChildNode(kTreeNodeName, parent);
    if (node == NULL)
        return FALSE;
    int count = 0;
    for (int i = 0; i < m_arrBarInfo.GetSize(); i++)
        if (GetInfo(i)->SaveStateToTree(factory, node, count))
            count++;
    node->SetIntValue("Bars", count, TRUE);
    CSize size = GetScreenSize();
    node->SetIntValue("ScreenCX", size.cx, TRUE);
    node->SetIntValue("ScreenCY", size.cy, TRUE);
    return IsSaveComplete();
}

void TkDockState::SaveState(LPCSTR profileName)
{
    CDockState::SaveState(profileName);
}

BOOL TkDockState::IsSaveComplete() const
{
    for (int i = 0; i < m_arrBarInfo.GetSize(); i++) {
        if (!GetInfo(i)->m_bExtraSaved)
            return FALSE;
    }
    return TRUE;
}

BOOL TkDockState::LoadStateFromTree(TkPersistentTreeNode* parent)
{
    TkPersistentTreeNode* node = parent != NULL ? parent->FindChildNode(kTreeNodeName) : NULL;
    if (node == NULL)
        return FALSE;
    ClearInfos();
    int bars = 0;
    long cx = 0;
    long cy = 0;
    node->GetIntValue("Bars", &bars, 0);
    node->GetLongValue("ScreenCX", &cx, 0);
    node->GetLongValue("ScreenCY", &cy, 0);
    SetScreenSize(CSize(cx, cy));
    CStringList children;
    node->GetChildNames(children);
    // Missing bar nodes are passed over; a huge count stops at the nodes there are.
    int limit = std::min(bars, (int)children.GetCount() + 1);
    for (int i = 0, found = 0; i < bars && i < kMaxBars && found < limit; i++) {
        TkPersistentTreeNode* barNode = node->FindChildNode(BarNodeName(i));
        if (barNode == NULL)
            continue;
        found++;
        TkControlBarInfo* info = CreateControlBarInfo(m_pManager);
        m_arrBarInfo.Add(static_cast<CControlBarInfo*>(info));
        info->LoadStateFromTree(barNode, this);
    }
    return TRUE;
}

BOOL TkDockState::GetDockState(CFrameWnd* frame)
{
    if (frame == NULL)
        return FALSE;
    ClearInfos();
    for (POSITION position = frame->m_listControlBars.GetHeadPosition(); position != NULL;) {
        CControlBar* bar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(position));
        TkControlBarInfo* info = NULL;
        if (bar->IsKindOf(RUNTIME_CLASS(TkDockBar))) {
            info = CreateControlBarInfo(m_pManager);
            static_cast<TkDockBar*>(bar)->GetDockBarInfo(info);
        } else if (bar->IsKindOf(RUNTIME_CLASS(TkControlBar))) {
            info = CreateControlBarInfo(m_pManager);
            static_cast<TkControlBar*>(bar)->GetBarInfoEx(info);
        } else {
            continue;
        }
        m_arrBarInfo.Add(static_cast<CControlBarInfo*>(info));
    }
    return TRUE;
}

// Placeholders that other bars' places explain are dropped, and each dock
// bar's ids are made unique and end with one row end.
void TkDockState::CleanUpBarIDs()
{
    int count = (int)m_arrBarInfo.GetSize();
    for (int a = 0; a < count; a++) {
        TkControlBarInfo* first = GetInfo(a);
        for (int b = 0; b < count; b++) {
            TkControlBarInfo* second = GetInfo(b);
            if (a == b || first->m_uMRUDockID == second->m_nBarID)
                continue;
            for (int i = 0; i + 1 < second->m_arrBarID.GetSize(); i++)
                if (second->m_arrBarID[i] == (first->m_nBarID | kPlaceholderIdFlag))
                    second->m_arrBarID[i] = 0;
        }
    }
    for (int a = 0; a < count; a++) {
        CDWordArray& ids = GetInfo(a)->m_arrBarID;
        for (int i = 0; i < ids.GetSize(); i++)
            for (int j = 0; j < i && ids[i] != 0; j++)
                if (ids[j] == ids[i])
                    ids[i] = 0;
        while (ids.GetSize() > 0 && ids[ids.GetSize() - 1] == 0)
            ids.RemoveAt(ids.GetSize() - 1);
        if (ids.GetSize() > 0)
            ids.Add(0);
    }
}

CRuntimeClass* TkDockState::FindRuntimeClass(LPCSTR name)
{
    return name != NULL && name[0] != '\0' ? CRuntimeClass::FromName(name) : NULL;
}

// Only toolkit bars are made from a saved name: any other creatable class
// named there would be created and used as a bar.
CControlBar* TkDockState::CreateBarFromInfo(LPCSTR className, CFrameWnd* frame, TkControlBarInfo* info)
{
    CRuntimeClass* barClass = FindRuntimeClass(className);
    if (barClass == NULL || barClass->m_pfnCreateObject == NULL ||
        !barClass->IsDerivedFrom(RUNTIME_CLASS(TkControlBar)) ||
        barClass->IsDerivedFrom(RUNTIME_CLASS(TkDockBar)))
        return NULL;
    TkControlBar* bar = static_cast<TkControlBar*>(barClass->CreateObject());
    if (bar == NULL)
        return NULL;
    BOOL made = FALSE;
    if (bar->IsKindOf(RUNTIME_CLASS(TkDialogBar)))
        made = static_cast<TkDialogBar*>(bar)->Create(frame, info->m_nResourceID,
                                                      info->m_dwStyle | WS_VISIBLE,
                                                      info->m_dwExStyle, info->m_nBarID);
    else
        made = bar->Create(frame, info->m_strWindowName, info->m_dwStyle | WS_CHILD | WS_VISIBLE,
                           info->m_dwExStyle, info->m_nBarID);
    if (!made) {
        delete bar;
        return NULL;
    }
    if (m_pCreatedBars != NULL)
        m_pCreatedBars->AddTail(bar);
    else
        bar->m_bAutoDelete = TRUE;
    bar->SetWindowText(info->m_strWindowName);
    bar->EnableDocking(CBRS_ALIGN_ANY);
    return bar;
}

// A floating dock bar that lay in a child window of an MDI frame's client
// area gets such a child again; any other gets a mini frame.
CFrameWnd* TkDockState::CreateFloatingFrameFor(CFrameWnd* frame, BOOL mdi, TkControlBarInfo* info)
{
    DWORD align = info->m_bHorz ? kAlignTop : kAlignLeft;
    TkDockSite* site = TkDockSite::FromFrame(frame);
    if (info->m_bMDIChild && mdi && site != NULL)
        return site->CreateFloatingMDIChild(align, NULL);
    return frame->CreateFloatingFrame(align);
}

void TkDockState::BindBarsToInfo(CFrameWnd* frame, BOOL mdi)
{
    for (int i = 0; i < m_arrBarInfo.GetSize();) {
        TkControlBarInfo* info = GetInfo(i);
        info->m_pBar = NULL;
        // Floating frames are made for the dock bars of mini frames; a bar
        // inside one floats too, but it is bound by its id like any other.
        if (info->m_bFloating && info->m_bDockBar) {
            CFrameWnd* floating = CreateFloatingFrameFor(frame, mdi, info);
            if (floating != NULL) {
                info->m_pBar = static_cast<CControlBar*>(floating->GetDlgItem(kFloatDockBarId));
                if (info->m_pBar != NULL)
                    info->m_pBar->m_pDockBar = NULL;
            }
        } else if (info->m_nBarID != kFloatDockBarId) {
            info->m_pBar = frame->GetControlBar(info->m_nBarID);
            if (info->m_pBar == NULL && m_pManager != NULL)
                info->m_pBar = m_pManager->DynCreateControlBar(info);
            if (info->m_pBar == NULL)
                info->m_pBar = CreateBarFromInfo(info->m_strClassName, frame, info);
        }
        if (info->m_pBar == NULL) {
            delete info;
            m_arrBarInfo.RemoveAt(i);
            continue;
        }
        i++;
    }
}

void TkDockState::PlaceFloatingBars()
{
    for (int i = 0; i < m_arrBarInfo.GetSize(); i++) {
        TkControlBarInfo* info = GetInfo(i);
        if (info->m_pBar->IsKindOf(RUNTIME_CLASS(TkControlBar)) && !info->m_pBar->IsDockBar())
            static_cast<TkControlBar*>(info->m_pBar)->SetExBarStyle(info->m_dwExStyle, FALSE);
        if (!info->m_bFloating || !info->m_bDockBar)
            continue;
        CDockBar* dockBar = static_cast<CDockBar*>(info->m_pBar);
        CFrameWnd* mini = dockBar->GetParentFrame();
        if (mini == NULL)
            continue;
        if (dockBar->GetDockedCount() == 0) {
            mini->DestroyWindow();
            info->m_pBar = NULL;
            continue;
        }
        CRect rect(info->m_pointPos, CSize(10, 10));
        ::AdjustWindowRectEx(&rect, mini->GetStyle() & ~(WS_SYSMENU | 0xFFFF), FALSE,
                             mini->GetExStyle());
        CRect screen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
        CPoint place(std::max<LONG>(screen.left, std::min<LONG>(rect.left, screen.right - 24)),
                     std::max<LONG>(screen.top, std::min<LONG>(rect.top, screen.bottom - 24)));
        mini->SetWindowPos(NULL, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (dockBar->GetDockedVisibleCount() > 0) {
            mini->RecalcLayout();
            mini->ShowWindow(SW_SHOWNA);
        }
    }
}

void TkDockState::RestoreMDIChildPlacements(CFrameWnd*)
{
    for (int i = 0; i < m_arrBarInfo.GetSize(); i++) {
        TkControlBarInfo* info = GetInfo(i);
        CFrameWnd* child = info->m_pBar != NULL ? info->m_pBar->GetParentFrame() : NULL;
        // A placement that was not in the profile stays unset (length 0).
        if (info->m_bMDIChild && child != NULL && info->m_placement.length == sizeof(WINDOWPLACEMENT))
            ::SetWindowPlacement(child->m_hWnd, &info->m_placement);
    }
}

BOOL TkDockState::SetDockState(CFrameWnd* frame)
{
    if (frame == NULL)
        return FALSE;
    BOOL mdi = frame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) && TkDockSite::FromFrame(frame) != NULL;
    BindBarsToInfo(frame, mdi);
    for (int i = 0; i < m_arrBarInfo.GetSize(); i++) {
        TkControlBarInfo* info = GetInfo(i);
        if (info->m_pBar->IsKindOf(RUNTIME_CLASS(TkControlBar)) && !info->m_pBar->IsDockBar())
            static_cast<TkControlBar*>(info->m_pBar)->SetBarInfoEx(info, frame);
        else
            info->m_pBar->SetBarInfo(info, frame);
    }
    PlaceFloatingBars();
    frame->DockLostBars();
    frame->RecalcLayout();
    if (mdi) {
        RestoreMDIChildPlacements(frame);
        frame->DelayRecalcLayout(TRUE);
    }
    return TRUE;
}
