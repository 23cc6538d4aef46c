#include "toolkit/toolbars/TkCustomToolBarInfoEx.h"
#include "toolkit/state/TkPersistentTreeNode.h"

#include <memory>

namespace {

const char kNodeName[] = "ToolBarInfoEx";
const char kTitleKey[] = "Title";
const char kButtonsKey[] = "Buttons";

struct DeleteBytes
{
    void operator()(BYTE* bytes) const { delete[] bytes; }
};
typedef std::unique_ptr<BYTE, DeleteBytes> Bytes;

void ReadButtons(Bytes data, UINT size, TkBtnInfoArray& buttons)
{
    buttons.DeleteAll();
    TkParseButtons(data.get(), size, buttons);
}

}  // namespace

IMPLEMENT_DYNCREATE(TkCustomToolBarInfoEx, TkControlBarInfoEx)

void TkCustomToolBarInfoEx::Serialize(CArchive& ar, CDockState*)
{
    SerializeInfo(ar);
}

void TkCustomToolBarInfoEx::SerializeInfo(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_strTitle << (DWORD)m_arrButtons.GetSize();
        for (INT_PTR i = 0; i < m_arrButtons.GetSize(); i++) {
            const TkBtnInfo* info = m_arrButtons.GetInfo(i);
            ar << (DWORD)info->m_nID << info->m_nDataSize;
            if (info->m_nDataSize > 0)
                ar.Write(info->m_pData, info->m_nDataSize);
        }
        return;
    }
    // Read into a list of our own: an archive cut short throws and leaves the
    // record as it was. Each record needs bytes from the archive, so a damaged
    // count ends at the archive's end.
    CString title;
    DWORD count = 0;
    ar >> title >> count;
    TkBtnInfoArray buttons;
    for (DWORD i = 0; i < count; i++) {
        DWORD id = 0;
        BYTE size = 0;
        BYTE data[255];
        ar >> id >> size;
        if (ar.Read(data, size) != size)
            AfxThrowArchiveException(CArchiveException::endOfFile, NULL);
        buttons.AddInfo(id, data, size);
    }
    m_strTitle = title;
    buttons.MoveTo(m_arrButtons);
}

BOOL TkCustomToolBarInfoEx::LoadStateFromTree(TkPersistentTreeNode* node)
{
    if (!TkControlBarInfoEx::LoadStateFromTree(node))
        return FALSE;
    TkPersistentTreeNode* child = node->FindChildNode(kNodeName);
    if (child == NULL)
        return FALSE;
    child->GetStringValue(kTitleKey, m_strTitle, "");
    BYTE* data = NULL;
    UINT size = 0;
    if (child->GetBinaryValue(kButtonsKey, &data, &size) != 0)
        size = 0;
    ReadButtons(Bytes(data), size, m_arrButtons);
    return TRUE;
}

BOOL TkCustomToolBarInfoEx::LoadStateFromProfile(LPCSTR section, CDockState*)
{
    CWinApp* app = AfxGetApp();
    m_strTitle = app->GetProfileString(section, kTitleKey, "");
    BYTE* data = NULL;
    UINT size = 0;
    app->GetProfileBinary(section, kButtonsKey, &data, &size);
    ReadButtons(Bytes(data), size, m_arrButtons);
    return TRUE;
}

BOOL TkCustomToolBarInfoEx::SaveStateToTree(TkPTNFactory* factory, TkPersistentTreeNode* node)
{
    if (!TkControlBarInfoEx::SaveStateToTree(factory, node))
        return FALSE;
    TkPersistentTreeNode* child = node->FindChildNode(kNodeName);
    if (child == NULL)
        child = factory->CreateChildNode(kNodeName, node);
    if (child == NULL)
        return FALSE;
    child->SetStringValue(kTitleKey, m_strTitle, TRUE);
    UINT size = 0;
    Bytes packed(TkPackButtons(m_arrButtons, &size));
    return packed && child->SetBinaryValue(kButtonsKey, packed.get(), size, TRUE) == 0;
}

BOOL TkCustomToolBarInfoEx::SaveStateToProfile(LPCSTR section)
{
    CWinApp* app = AfxGetApp();
    if (!m_strTitle.IsEmpty())
        app->WriteProfileString(section, kTitleKey, m_strTitle);
    UINT size = 0;
    Bytes packed(TkPackButtons(m_arrButtons, &size));
    return packed && app->WriteProfileBinary(section, kButtonsKey, packed.get(), size);
}
