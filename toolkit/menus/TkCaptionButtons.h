// The buttons a menu bar shows for a maximised MDI child: TkCapMenuBtn, the
// child's system-menu icon, which opens the child's system menu as a popup
// of the bar; and TkBtnCaption, the group of minimise, restore and close
// boxes, which posts the child the system command of the box released on.
#pragma once

#include "toolkit/toolbars/TkTBMenuBtn.h"

class TkBtnCaption : public TkStdBtn
{
public:
    TkBtnCaption();

    BOOL BtnPressDown(CPoint pt) override;
    void BtnMouseMove(CPoint pt) override;
    void BtnCancel() override;
    UINT BtnPressUp(CPoint pt) override;
    void AdjustSize() override;
    BOOL CanDrag() const override { return FALSE; }
    void Render(CDC* dc, TkDrawData* drawData) override;
    const TkBtnFactory* GetButtonClass() const override;

    // The box at a point of the bar: 0 minimise, 1 restore, 2 close, -1 none.
    int HitTest(CPoint pt) const;
    CRect BoxRect(int box) const;

    static const TkBtnFactory classTkBtnCaption;

    // The child's WS_SYSMENU, WS_MINIMIZEBOX and WS_MAXIMIZEBOX bits.
    DWORD m_dwStyleMirror;
    int m_cxBox;
    int m_cyBox;
    int m_nPressed;
};

class TkCapMenuBtn : public TkTBMenuBtn
{
public:
    TkCapMenuBtn();

    void AdjustSize() override;
    void Init(TkCustomToolBar* bar, const TkBtnInitData* data) override;
    BOOL CanDrag() const override { return FALSE; }
    void Render(CDC* dc, TkDrawData* drawData) override;
    const TkBtnFactory* GetButtonClass() const override;
    void OpenMenu() override;

    static const TkBtnFactory classTkCapMenuBtn;

    // Not owned.
    HICON m_hIcon;
};

// The caption-box styles a mirror keeps.
const DWORD kTkCaptionStyles = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
// The active MDI child of the bar's top-level frame, NULL when none.
HWND TkActiveMDIChild(CWnd* bar);
