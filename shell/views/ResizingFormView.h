// A form view that moves and stretches its registered controls with its
// size, and can keep its size in the profile (section: the form's resource
// id in hexadecimal, values "CX" and "CY").
#pragma once

#include <afxext.h>

#include <vector>

class CResizingFormView : public CFormView
{
    DECLARE_DYNAMIC(CResizingFormView)
public:
    // How a control follows the view: flags in the high word of an entry.
    enum
    {
        kMoveRight = 1,
        kMoveDown = 2,
        kStretchRight = 4,
        kStretchDown = 8,
    };

    // A control with no flags is not registered.
    void AddControl(UINT id, WORD flags);

    BOOL m_rememberSize = FALSE;

protected:
    explicit CResizingFormView(UINT templateId);

    int OnCreate(LPCREATESTRUCTA cs);
    void OnSize(UINT type, int cx, int cy);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void FollowSize(int dx, int dy);

    // The creation size, the smallest the view may be tracked to.
    CSize m_minTrack;
    CSize m_last;
    bool m_sized = false;
    // Low word the control id, high word its flags.
    std::vector<DWORD> m_controls;
    UINT m_templateId;
};
