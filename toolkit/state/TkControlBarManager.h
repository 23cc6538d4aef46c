// TkControlBarManager: what a frame keeps to manage its control bars beyond
// the dock state: extra per-bar state, bars recreated from a saved record,
// and its own saved state. Derived managers (the tool-bar manager) override
// these; the base does nothing.
#pragma once

#include <afxext.h>

class TkControlBarInfo;
class TkControlBarInfoEx;
class TkPersistentTreeNode;
class TkPTNFactory;

class TkControlBarManager : public CObject
{
    DECLARE_DYNAMIC(TkControlBarManager)
public:
    explicit TkControlBarManager(CFrameWnd* frame);

    virtual CFrameWnd* GetFrameWnd();
    virtual BOOL LoadStateFromTree(TkPersistentTreeNode* node);
    virtual void LoadStateFromProfile(LPCSTR profileName);
    virtual BOOL SaveStateToTree(TkPTNFactory* factory, TkPersistentTreeNode* node);
    virtual void SaveStateToProfile(LPCSTR profileName);
    virtual DWORD GetBarTypeID(CControlBar* bar);
    virtual TkControlBarInfoEx* CreateControlBarInfoEx(TkControlBarInfo* info);
    virtual CControlBar* DynCreateControlBar(TkControlBarInfo* info);

private:
    CFrameWnd* m_pFrame;
};
