// TkWellButton: a push button that shows its colour beside a drop-down arrow
// and, when clicked, drops a colour well under itself. The chosen colour is
// sent to the parent as WM_TKCOLORWELL_SELECT (wParam the button's id).
#pragma once

#include "toolkit/buttons/TkOwnerDrawButton.h"
#include "toolkit/buttons/TkPopupColorWell.h"

#include <memory>

class TkWellButton : public TkOwnerDrawButton
{
    DECLARE_DYNCREATE(TkWellButton)
public:
    TkWellButton();

    void SetColor(COLORREF color);
    COLORREF GetColor() const;
    void SetUsePalette(BOOL usePalette) { m_bUsePalette = usePalette; }
    // Whether the popup offers "&Other..." (the colour dialog).
    void SetPopupOption(BOOL customOption) { m_bPopupOption = customOption; }
    void SetColorDialogFlags(UINT flags) { m_nColorDialogFlags = flags; }
    // The open popup, or NULL.
    TkPopupColorWell* GetOpenPopup() const;

protected:
    void PrepareDC(CDC* dc) override;
    void RestoreDC(CDC* dc) override;
    void DrawContent(CDC* dc, const CRect& content, UINT state) override;
    void DrawFocus(CDC* dc, CRect item, UINT state) override;
    void OnClicked() override;

    LRESULT OnWellSelect(WPARAM, LPARAM color);
    LRESULT OnWellOther(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    std::unique_ptr<TkPopupColorWell> m_pPopup;
    CPalette m_palette;
    CPalette* m_pOldPalette;
    BOOL m_bUsePalette;
    BOOL m_bPopupOption;
    UINT m_nColorDialogFlags;

private:
    void ChooseColor(COLORREF color);
};
