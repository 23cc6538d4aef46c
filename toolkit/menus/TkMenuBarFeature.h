// TkMenuBarFeature: what a frame plugs in to get bitmap menus and menu-bar
// tracking from one listener. The frame creates its menu bar, hands it over
// with SetMenuBar, plugs the feature into its window (PlugInTo) and asks the
// feature's PreTranslateMessage first from its own.
#pragma once

#include "toolkit/menus/TkBmpMenuPlugIn.h"
#include "toolkit/menus/TkMenuBarMessages.h"

class TkMenuBarFeature : public TkBmpMenuPlugIn, public TkMenuBarMessages
{
    DECLARE_DYNAMIC(TkMenuBarFeature)
public:
    explicit TkMenuBarFeature(BOOL radioDot = FALSE);

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // The plug-in itself: its handle is the frame's.
    CWnd* GetFrame() override;
    BOOL ActivateMenu(UINT menuId) override;

protected:
    LRESULT OnMenuSelectMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuProdMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitMenuPopupFeature(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysCommandMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcActivateMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnEnterIdleMsg(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
