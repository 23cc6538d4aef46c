// TkTBMenuBtn: a text button that opens a menu (the menu bar is made of
// them). It keeps its text with the "&" before the mnemonic, the two values
// it hands back when its menu opens, and the mask of the menus it belongs to.
#pragma once

#include "toolkit/toolbars/TkStdBtn.h"

class TkTBMenuBtn : public TkStdBtn
{
public:
    TkTBMenuBtn();

    const TkBtnFactory* GetButtonClass() const override;
    void Init(TkCustomToolBar* bar, const TkBtnInitData* data) override;
    // Opens the menu instead of capturing the mouse.
    BOOL BtnPressDown(CPoint pt) override;
    void AdjustSize() override;
    void SelectImage(TkDrawData* drawData) override;
    // The text takes the image's place.
    void BlitImage(TkDrawData* drawData) override;
    virtual void OpenMenu();
    // The lower-cased character after the first "&", 0 when there is none.
    virtual void UpdateMnemonic();
    virtual TkStdBtn* CreateBaseButton();

    static const TkBtnFactory classTkTBMenuBtn;

    CString m_strText;
    DWORD_PTR m_dwValue1;
    DWORD_PTR m_dwValue2;
    char m_chMnemonic;
    DWORD_PTR m_dwMenus;
};
