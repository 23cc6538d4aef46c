// TkDockState: the saved layout of a frame's control bars with the
// toolkit's own data per bar (TkControlBarInfo): styles, proportion, sizes per
// place, type, class and title. It is kept in the application's profile
// ("%s-Summary", "%s-Bar%d"), an archive, or the persistent settings tree
// under "DockState". Restoring creates bars the frame lacks from their saved
// class (toolkit bars only) or through the control-bar manager.
// TkControlBarInfoEx: extra state of a kind of bar, made by the manager.
#pragma once

#include <afxext.h>

class TkControlBarManager;
class TkDockState;
class TkPersistentTreeNode;
class TkPTNFactory;

class TkControlBarInfoEx : public CObject
{
    DECLARE_DYNCREATE(TkControlBarInfoEx)
public:
    TkControlBarInfoEx() : m_dwTypeID(0) {}
    virtual void Serialize(CArchive& ar, CDockState* state);
    virtual BOOL LoadStateFromTree(TkPersistentTreeNode* node);
    virtual BOOL LoadStateFromProfile(LPCSTR section, CDockState* state);
    virtual BOOL SaveStateToTree(TkPTNFactory* factory, TkPersistentTreeNode* node);
    virtual BOOL SaveStateToProfile(LPCSTR section);

    DWORD m_dwTypeID;
};

class TkControlBarInfo : public CControlBarInfo
{
public:
    explicit TkControlBarInfo(TkControlBarManager* manager = NULL);
    ~TkControlBarInfo() override;

    virtual BOOL LoadStateFromTree(TkPersistentTreeNode* node, TkDockState* state);
    BOOL LoadState(LPCSTR profileName, int index, CDockState* state) override;
    virtual BOOL SaveStateToTree(TkPTNFactory* factory, TkPersistentTreeNode* parent, int index);
    BOOL SaveState(LPCSTR profileName, int index) override;
    virtual BOOL LoadBaseFromTree(TkPersistentTreeNode* node, TkDockState* state);
    virtual BOOL LoadExtFromTree(TkPersistentTreeNode* node);
    virtual BOOL SaveBaseToTree(TkPTNFactory* factory, TkPersistentTreeNode* node);
    virtual BOOL SaveExtToTree(TkPTNFactory* factory, TkPersistentTreeNode* node);
    void Serialize(CArchive& ar, CDockState* state) override;
    // The empty, visible, docked dock bar that is not worth keeping.
    BOOL IsEmptyDockBar() const;

    CSize m_sizeHorz;
    CSize m_sizeVert;
    CSize m_sizeFloat;
    DWORD m_dwMRUDockingState;
    DWORD m_dwDockingStyle;
    float m_fProportion;
    DWORD m_dwStyle;
    DWORD m_dwExStyle;
    BOOL m_bPrevFloating;
    BOOL m_bMDIChild;
    WINDOWPLACEMENT m_placement;
    CString m_strClassName;
    CString m_strWindowName;
    UINT m_nResourceID;
    TkControlBarInfoEx* m_pExtraInfo;
    DWORD m_dwTypeID;
    TkControlBarManager* m_pManager;
    // FALSE when the last save could not store the extra part.
    BOOL m_bExtraSaved;

private:
    void MakeExtraInfo();
};

class TkDockState : public CDockState
{
    DECLARE_SERIAL(TkDockState)
public:
    explicit TkDockState(TkControlBarManager* manager = NULL);

    // FALSE also when a bar's extra part could not be stored.
    virtual BOOL SaveStateToTree(TkPTNFactory* factory, TkPersistentTreeNode* parent);
    void SaveState(LPCSTR profileName) override;
    // TRUE when the last save stored every bar's extra part.
    BOOL IsSaveComplete() const;
    virtual BOOL LoadStateFromTree(TkPersistentTreeNode* parent);
    virtual BOOL GetDockState(CFrameWnd* frame);
    virtual BOOL SetDockState(CFrameWnd* frame);
    virtual TkControlBarInfo* CreateControlBarInfo(TkControlBarManager* manager);
    CControlBarInfo* CreateBarInfo() override;
    virtual void BindBarsToInfo(CFrameWnd* frame, BOOL mdi);
    virtual void PlaceFloatingBars();
    virtual void RestoreMDIChildPlacements(CFrameWnd* frame);
    virtual CControlBar* CreateBarFromInfo(LPCSTR className, CFrameWnd* frame, TkControlBarInfo* info);
    virtual CRuntimeClass* FindRuntimeClass(LPCSTR name);

    void CleanUpBarIDs();
    TkControlBarInfo* GetInfo(int index) const;

    TkControlBarManager* m_pManager;
    // Bars made from saved class names are added here when it is set.
    CPtrList* m_pCreatedBars;

protected:
    CFrameWnd* CreateFloatingFrameFor(CFrameWnd* frame, BOOL mdi, TkControlBarInfo* info);

private:
    void ClearInfos();
};
