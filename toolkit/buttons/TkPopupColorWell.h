// TkPopupColorWell: a colour well as a temporary popup under an anchor (the
// well button). It holds the mouse capture and follows the mouse; a click,
// Enter or Space sends the colour to its notify window and closes it;
// "&Other..." asks the notify window to open the colour dialog; Escape, a
// click elsewhere or the loss of the focus close it without a choice.
#pragma once

#include "toolkit/buttons/TkColorWell.h"

// Sent to the notify window when "&Other..." was chosen in the popup.
const UINT WM_TKCOLORWELL_OTHER = WM_USER + 102;

class TkPopupColorWell : public TkColorWell
{
    DECLARE_DYNCREATE(TkPopupColorWell)
public:
    TkPopupColorWell();

    // Opens below the anchor (screen coordinates), or above and to the left
    // of it where the screen ends; takes the focus and the capture.
    BOOL TrackPopup(DWORD style, const RECT& anchor, CWnd* parent, UINT id, CWnd* notifyWnd,
                    BOOL customOption);
    BOOL IsActive() const { return m_bActive && m_hWnd != NULL; }

protected:
    void NotifySelection(int how) override;
    void OnOther() override;
    LPCSTR GetClassName() override;

    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnKillFocus(CWnd* newWnd);
    void OnNcDestroy();
    DECLARE_MESSAGE_MAP()

    CWnd* m_pNotifyWnd;
    BOOL m_bActive;

private:
    void Close();
    void PassOnPress(CPoint point);
};
