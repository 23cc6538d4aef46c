// TkMDIMenuBar: the menu bar of an MDI frame. While the active child is
// maximised it carries the child's system-menu icon as its first button and
// the child's caption boxes as its last; both are members of the bar, never
// saved with its layout and never moved or deleted with its buttons.
#pragma once

#include "toolkit/menus/TkCaptionButtons.h"
#include "toolkit/menus/TkMenuBar.h"

// Command id of the caption buttons.
const UINT kTkCaptionButtonId = 0x80000000;

class TkMDIMenuBar : public TkMenuBar
{
    DECLARE_DYNCREATE(TkMDIMenuBar)
public:
    TkMDIMenuBar();
    ~TkMDIMenuBar() override;

    void GetExtraBarInfo(TkControlBarInfo* info) override;
    void SetExtraBarInfo(TkControlBarInfo* info, CFrameWnd* frame) override;
    BOOL SetButtons(const UINT* ids, int count) override;
    void RemoveAllButtons() override;
    // The caption buttons are refused.
    BOOL RemoveButton(int index, BOOL noRecalc) override;
    // Never after the caption group.
    void InsertButton(int index, UINT id, BOOL separator, BOOL noRecalc) override;
    void ResetButtons(BOOL noLayout) override;
    // The icon stays first and the caption group last whatever was dropped.
    BOOL DropButton(const CRect& rect, TkStdBtn* button, BOOL copy, BOOL noRecalc) override;
    // Shows the caption buttons for a maximised active child with a system
    // menu, else hides them; TRUE when the visible buttons changed.
    BOOL UpdateCaptionButtons(BOOL hide) override;
    BOOL SetActiveMaskAndUpdate(UINT mask);

    TkBtnCaption* GetCaptionGroup() { return &m_caption; }
    TkCapMenuBtn* GetIconButton() { return &m_icon; }

protected:
    // FALSE when they were not in the list.
    BOOL TakeOutCaptionButtons();
    void AddCaptionButtons();
    void ShowCaptionButton(TkStdBtn* button, BOOL show);

    TkBtnCaption m_caption;
    TkCapMenuBtn m_icon;
};
