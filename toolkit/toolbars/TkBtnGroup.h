// Command categories of the customise sheet's commands page. Each category
// shows its commands in a window of its own on the page: tool-bar buttons on
// a TkCustomizeToolBar, menu commands in a TkMenuListBox.
#pragma once

#include <afxwin.h>

class TkToolBarManager;

class TkBtnGroup : public CObject
{
public:
    // ids stay the caller's.
    TkBtnGroup(LPCSTR title, int count, const UINT* ids);
    ~TkBtnGroup() override;

    // The category's window as a child of parent with control id id; FALSE
    // when it could not be made or shows nothing.
    virtual BOOL Create(CWnd* parent, TkToolBarManager* manager, UINT id) = 0;
    virtual void FitToWidth(const CRect& rect);
    virtual void Activate(BOOL on);

    CWnd* m_pWnd;
    CString m_strTitle;
    int m_nCount;
    const UINT* m_pIds;
};

class TkTBBtnGroup : public TkBtnGroup
{
public:
    using TkBtnGroup::TkBtnGroup;

    BOOL Create(CWnd* parent, TkToolBarManager* manager, UINT id) override;
    void FitToWidth(const CRect& rect) override;
    void Activate(BOOL on) override;
};

class TkMenuBtnGroup : public TkBtnGroup
{
public:
    using TkBtnGroup::TkBtnGroup;

    BOOL Create(CWnd* parent, TkToolBarManager* manager, UINT id) override;
};

// The map entry of id that makes a menu button, searching the manager's
// first map, then its second; NULL for none.
const struct TkBtnMapEntry* TkFindMenuBtnEntry(const TkToolBarManager* manager, UINT id);
