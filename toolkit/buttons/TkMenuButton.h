// TkMenuButton: a bitmap button with an arrow that drops a popup menu below
// itself or to its right. The click that closes the menu does not open it
// again.
#pragma once

#include "toolkit/buttons/TkBitmapButton.h"

class TkMenuButton : public TkBitmapButton
{
    DECLARE_DYNCREATE(TkMenuButton)
public:
    TkMenuButton();
    ~TkMenuButton() override;

    // The menu is attached, not copied; dropRight: beside the button, else below.
    BOOL Create(LPCSTR text, DWORD style, HMENU menu, BOOL dropRight, const RECT& rect,
                CWnd* parent, UINT id, UINT flags = 0);
    BOOL Attach(UINT id, HMENU menu, BOOL dropRight, CWnd* parent, UINT flags = 0);

protected:
    void OnClicked() override;
    void DrawItem(LPDRAWITEMSTRUCT drawItem) override;
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CMenu m_menu;
    BOOL m_bAttached;
    BOOL m_bDropRight;
    BOOL m_bNotTracking;

private:
    void AttachMenu(HMENU menu, BOOL dropRight);
    CWnd* MenuOwner() const;
};
