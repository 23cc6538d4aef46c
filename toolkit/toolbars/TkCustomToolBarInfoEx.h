// TkCustomToolBarInfoEx: a tool bar's own part of the saved bar layout, its
// title and its buttons, in an archive, a profile section ("Title",
// "Buttons") or the bar's settings-tree node (child "ToolBarInfoEx").
// Loading keeps the complete button records of a damaged value; a save that
// cannot store the buttons reports failure, so a bar never comes back empty
// unnoticed.
#pragma once

#include "toolkit/bars/TkDockState.h"
#include "toolkit/toolbars/TkBtnInfo.h"

class TkCustomToolBarInfoEx : public TkControlBarInfoEx
{
    DECLARE_DYNCREATE(TkCustomToolBarInfoEx)
public:
    void Serialize(CArchive& ar, CDockState* state) override;
    virtual void SerializeInfo(CArchive& ar);
    BOOL LoadStateFromTree(TkPersistentTreeNode* node) override;
    BOOL LoadStateFromProfile(LPCSTR section, CDockState* state) override;
    BOOL SaveStateToTree(TkPTNFactory* factory, TkPersistentTreeNode* node) override;
    BOOL SaveStateToProfile(LPCSTR section) override;

    CString m_strTitle;
    TkBtnInfoArray m_arrButtons;
};
