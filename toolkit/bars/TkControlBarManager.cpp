#include "toolkit/bars/TkControlBarManager.h"

IMPLEMENT_DYNAMIC(TkControlBarManager, CObject)

TkControlBarManager::TkControlBarManager(CFrameWnd* frame) : m_pFrame(frame)
{
}

CFrameWnd* TkControlBarManager::GetFrameWnd()
{
    return m_pFrame;
}

BOOL TkControlBarManager::LoadStateFromTree(TkPersistentTreeNode* node)
{
    return node != NULL;
}

void TkControlBarManager::LoadStateFromProfile(LPCSTR)
{
}

BOOL TkControlBarManager::SaveStateToTree(TkPTNFactory*, TkPersistentTreeNode* node)
{
    return node != NULL;
}

void TkControlBarManager::SaveStateToProfile(LPCSTR)
{
}

DWORD TkControlBarManager::GetBarTypeID(CControlBar*)
{
    return 0;
}

TkControlBarInfoEx* TkControlBarManager::CreateControlBarInfoEx(TkControlBarInfo*)
{
    return NULL;
}

CControlBar* TkControlBarManager::DynCreateControlBar(TkControlBarInfo*)
{
    return NULL;
}

BOOL TkControlBarManager::InCustomizeMode() const
{
    return FALSE;
}

TkBmpMgr* TkControlBarManager::GetBmpMgr() const
{
    return NULL;
}
