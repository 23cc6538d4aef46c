// CReBar: a control bar made of the common rebar control; each band holds a
// child window, usually another control bar. The rebar paints and arranges
// its bands itself; the frame's layout gives it the rebar's height.
#pragma once

#include "platform/mfc/ControlBar.h"

#include <commctrl.h>

const UINT AFX_IDW_REBAR = 0xE804;

class CReBar : public CControlBar
{
    DECLARE_DYNAMIC(CReBar)
public:
    CReBar();

    BOOL Create(CWnd* parent, DWORD rebarStyle = RBS_BANDBORDERS,
                DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
                UINT id = AFX_IDW_REBAR);
    // Adds a band around bar (a child of the rebar) at its present size.
    BOOL AddBar(CWnd* bar, LPCSTR text = NULL, DWORD bandStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);

    CSize CalcFixedLayout(BOOL stretch, BOOL horizontal) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;

    int GetBandCount() const;
    // The band's child window, NULL when there is none.
    HWND GetBandChild(int band) const;
    int GetBarHeight() const;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()
};
