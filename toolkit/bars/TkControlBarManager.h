// TkControlBarManager: what a frame keeps to manage its control bars beyond
// the dock state: extra per-bar state, bars recreated from a saved record,
// and its own saved state. Derived managers (the tool-bar manager) override
// these; the base does nothing.
#pragma once

#include <afxext.h>

class TkBmpMgr;
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
    // The frame's tool bars are being customised: the frame keeps still.
    virtual BOOL InCustomizeMode() const;
    // The bitmaps of the frame's commands, which bitmap menus share.
    virtual TkBmpMgr* GetBmpMgr() const;

private:
    CFrameWnd* m_pFrame;
};
