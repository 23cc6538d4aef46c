#include "platform/mfc/DockState.h"
#include "platform/mfc/ControlBar.h"
#include "platform/mfc/Archive.h"
#include "platform/mfc/WinApp.h"

namespace {

const char kSummarySection[] = "%s-Summary";
const char kBarSection[] = "%s-Bar%d";
// The version of the layout written by this class library.
const DWORD kDockStateVersion = 2;
// A bar id is never this; it tells a missing section.
const int kNoBarId = -1;

int ReadInt(LPCSTR section, LPCSTR key, int defaultValue)
{
    return (int)AfxGetApp()->GetProfileInt(section, key, defaultValue);
}

void WriteInt(LPCSTR section, LPCSTR key, int value)
{
    AfxGetApp()->WriteProfileInt(section, key, value);
}

}  // namespace

CControlBarInfo::CControlBarInfo()
    : m_nBarID(0), m_bVisible(TRUE), m_bFloating(FALSE), m_bHorz(TRUE), m_bDockBar(FALSE),
      m_pointPos(-1, -1), m_nMRUWidth(32767), m_bDocking(FALSE), m_uMRUDockID(0),
      m_rectMRUDockPos(0, 0, 0, 0), m_dwMRUFloatStyle(0), m_ptMRUFloatPos(0, 0), m_pBar(NULL)
{
}

CString CControlBarInfo::SectionName(LPCSTR profileName, int index)
{
    CString section;
    section.Format(kBarSection, profileName, index);
    return section;
}

BOOL CControlBarInfo::IsDockBarId(UINT id)
{
    return id >= AFX_IDW_DOCKBAR_TOP && id <= AFX_IDW_DOCKBAR_FLOAT;
}

BOOL CControlBarInfo::HasSection(LPCSTR profileName, int index)
{
    return ReadInt(SectionName(profileName, index), "BarID", kNoBarId) != kNoBarId;
}

BOOL CControlBarInfo::SaveState(LPCSTR profileName, int index)
{
    if (m_bDockBar && m_bVisible && !m_bFloating && m_pointPos.x == -1 && m_pointPos.y == -1 &&
        m_arrBarID.GetSize() <= 1)
        return FALSE;
    CString section = SectionName(profileName, index);
    WriteInt(section, "BarID", m_nBarID);
    WriteInt(section, "Visible", m_bVisible);
    WriteInt(section, "Horz", m_bHorz);
    WriteInt(section, "Floating", m_bFloating);
    WriteInt(section, "XPos", m_pointPos.x);
    WriteInt(section, "YPos", m_pointPos.y);
    WriteInt(section, "MRUWidth", m_nMRUWidth);
    WriteInt(section, "Docking", m_bDocking);
    if (m_bDocking) {
        WriteInt(section, "MRUDockID", m_uMRUDockID);
        WriteInt(section, "MRUDockLeftPos", m_rectMRUDockPos.left);
        WriteInt(section, "MRUDockTopPos", m_rectMRUDockPos.top);
        WriteInt(section, "MRUDockRightPos", m_rectMRUDockPos.right);
        WriteInt(section, "MRUDockBottomPos", m_rectMRUDockPos.bottom);
        WriteInt(section, "MRUFloatStyle", m_dwMRUFloatStyle);
        WriteInt(section, "MRUFloatXPos", m_ptMRUFloatPos.x);
        WriteInt(section, "MRUFloatYPos", m_ptMRUFloatPos.y);
    }
    WriteInt(section, "Bars", (int)m_arrBarID.GetSize());
    for (int i = 0; i < m_arrBarID.GetSize(); i++) {
        CString key;
        key.Format("Bar#%d", i);
        WriteInt(section, key, (int)m_arrBarID[i]);
    }
    return TRUE;
}

BOOL CControlBarInfo::LoadState(LPCSTR profileName, int index, CDockState* state)
{
    CString section = SectionName(profileName, index);
    m_nBarID = ReadInt(section, "BarID", 0);
    m_bDockBar = IsDockBarId(m_nBarID);
    m_bVisible = ReadInt(section, "Visible", TRUE);
    m_bHorz = ReadInt(section, "Horz", TRUE);
    m_bFloating = ReadInt(section, "Floating", FALSE);
    m_pointPos = state->ScalePoint(CPoint(ReadInt(section, "XPos", -1), ReadInt(section, "YPos", -1)));
    m_nMRUWidth = ReadInt(section, "MRUWidth", 32767);
    m_bDocking = ReadInt(section, "Docking", FALSE);
    if (m_bDocking) {
        m_uMRUDockID = ReadInt(section, "MRUDockID", 0);
        m_rectMRUDockPos = state->ScaleRectPos(
            CRect(ReadInt(section, "MRUDockLeftPos", 0), ReadInt(section, "MRUDockTopPos", 0),
                  ReadInt(section, "MRUDockRightPos", 0), ReadInt(section, "MRUDockBottomPos", 0)));
        m_dwMRUFloatStyle = ReadInt(section, "MRUFloatStyle", 0);
        m_ptMRUFloatPos = state->ScalePoint(
            CPoint(ReadInt(section, "MRUFloatXPos", 0), ReadInt(section, "MRUFloatYPos", 0)));
    }
    int bars = ReadInt(section, "Bars", 0);
    m_arrBarID.RemoveAll();
    // Contained ids stop at the first one missing: a damaged count cannot run away.
    for (int i = 0; i < bars; i++) {
        CString key;
        key.Format("Bar#%d", i);
        int id = ReadInt(section, key, kNoBarId);
        if (id == kNoBarId)
            break;
        m_arrBarID.Add((DWORD)id);
    }
    return TRUE;
}

void CControlBarInfo::Serialize(CArchive& ar, CDockState* state)
{
    SerializePlace(ar, state);
    SerializeIds(ar);
}

void CControlBarInfo::SerializePlace(CArchive& ar, CDockState* state)
{
    if (ar.IsStoring()) {
        ar << (DWORD)m_nBarID << (DWORD)m_bVisible << (DWORD)m_bFloating << (DWORD)m_bHorz
           << m_pointPos;
        if (state->GetVersion() > 1) {
            ar << (DWORD)m_nMRUWidth << (DWORD)m_bDocking;
            if (m_bDocking)
                ar << (DWORD)m_uMRUDockID << m_rectMRUDockPos << m_dwMRUFloatStyle << m_ptMRUFloatPos;
        }
        return;
    }
    DWORD value = 0;
    ar >> value;
    m_nBarID = value;
    m_bDockBar = IsDockBarId(m_nBarID);
    ar >> value;
    m_bVisible = value;
    ar >> value;
    m_bFloating = value;
    ar >> value;
    m_bHorz = value;
    ar >> m_pointPos;
    m_pointPos = state->ScalePoint(m_pointPos);
    if (state->GetVersion() > 1) {
        ar >> value;
        m_nMRUWidth = value;
        ar >> value;
        m_bDocking = value;
        if (m_bDocking) {
            ar >> value;
            m_uMRUDockID = value;
            ar >> m_rectMRUDockPos >> m_dwMRUFloatStyle >> m_ptMRUFloatPos;
            m_rectMRUDockPos = state->ScaleRectPos(m_rectMRUDockPos);
            m_ptMRUFloatPos = state->ScalePoint(m_ptMRUFloatPos);
        }
    }
}

void CControlBarInfo::SerializeIds(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (WORD)m_arrBarID.GetSize();
        for (int i = 0; i < m_arrBarID.GetSize(); i++)
            ar << m_arrBarID[i];
        return;
    }
    WORD count = 0;
    ar >> count;
    m_arrBarID.SetSize(count);
    for (int i = 0; i < count; i++)
        ar >> m_arrBarID[i];
}

IMPLEMENT_SERIAL(CDockState, CObject, 0)

CDockState::CDockState() : m_dwVersion(kDockStateVersion), m_bScaling(FALSE)
{
    m_rectDevice.SetRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    m_rectClip = m_rectDevice;
    m_sizeDevice = m_rectDevice.Size();
}

CDockState::~CDockState()
{
    Clear();
}

void CDockState::Clear()
{
    for (int i = 0; i < m_arrBarInfo.GetSize(); i++)
        delete static_cast<CControlBarInfo*>(m_arrBarInfo[i]);
    m_arrBarInfo.RemoveAll();
}

CSize CDockState::GetScreenSize() const
{
    return m_sizeDevice;
}

// A layout saved on another screen size is scaled to this one; a size of 0
// (a damaged or missing value) means no scaling.
void CDockState::SetScreenSize(const CSize& size)
{
    m_sizeDevice = size;
    m_bScaling = size.cx > 0 && size.cy > 0 &&
                 (size.cx != m_rectDevice.Width() || size.cy != m_rectDevice.Height());
}

CPoint CDockState::ScalePoint(CPoint point) const
{
    if (!m_bScaling)
        return point;
    return CPoint(::MulDiv(point.x, m_rectDevice.Width(), m_sizeDevice.cx),
                  ::MulDiv(point.y, m_rectDevice.Height(), m_sizeDevice.cy));
}

CRect CDockState::ScaleRectPos(const CRect& rect) const
{
    CPoint topLeft = ScalePoint(rect.TopLeft());
    return CRect(topLeft, rect.Size());
}

void CDockState::SaveState(LPCSTR profileName)
{
    int count = 0;
    for (int i = 0; i < m_arrBarInfo.GetSize(); i++) {
        CControlBarInfo* info = static_cast<CControlBarInfo*>(m_arrBarInfo[i]);
        if (info->SaveState(profileName, count))
            count++;
    }
    CString section;
    section.Format(kSummarySection, profileName);
    WriteInt(section, "Bars", count);
    CSize size = GetScreenSize();
    WriteInt(section, "ScreenCX", size.cx);
    WriteInt(section, "ScreenCY", size.cy);
}

CControlBarInfo* CDockState::CreateBarInfo()
{
    return new CControlBarInfo;
}

void CDockState::LoadState(LPCSTR profileName)
{
    Clear();
    CString section;
    section.Format(kSummarySection, profileName);
    int bars = ReadInt(section, "Bars", 0);
    SetScreenSize(CSize(ReadInt(section, "ScreenCX", 0), ReadInt(section, "ScreenCY", 0)));
    for (int i = 0; i < bars && i < kMaxBars && CControlBarInfo::HasSection(profileName, i); i++) {
        CControlBarInfo* info = CreateBarInfo();
        m_arrBarInfo.Add(info);
        info->LoadState(profileName, i, this);
    }
}

void CDockState::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_dwVersion;
        if (m_dwVersion > 1)
            ar << GetScreenSize();
        ar << (WORD)m_arrBarInfo.GetSize();
        for (int i = 0; i < m_arrBarInfo.GetSize(); i++)
            static_cast<CControlBarInfo*>(m_arrBarInfo[i])->Serialize(ar, this);
        return;
    }
    DWORD version = 0;
    ar >> version;
    CSize size(0, 0);
    if (version > 1)
        ar >> size;
    WORD count = 0;
    ar >> count;
    // Records scale by the archive's screen size while they load.
    const CSize oldSize = m_sizeDevice;
    const BOOL oldScaling = m_bScaling;
    SetScreenSize(size);
    CPtrArray loaded;
    try {
        for (int i = 0; i < count; i++) {
            CControlBarInfo* info = CreateBarInfo();
            loaded.Add(info);
            info->Serialize(ar, this);
        }
    } catch (...) {
        for (int i = 0; i < loaded.GetSize(); i++)
            delete static_cast<CControlBarInfo*>(loaded[i]);
        m_sizeDevice = oldSize;
        m_bScaling = oldScaling;
        throw;
    }
    Clear();
    m_arrBarInfo.Copy(loaded);
    m_dwVersion = kDockStateVersion;
}
