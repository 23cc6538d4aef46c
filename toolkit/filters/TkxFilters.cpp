#include "filters/TkxFilters.h"

namespace nsSysCommandEx
{
UINT GetSysCommandExMessage()
{
    static const UINT message = ::RegisterWindowMessageA("Toolkit::WM_SYSCOMMANDEX");
    return message;
}

BOOL FilterSysCommandEx(TkMsgFilter* root, UINT message, WPARAM wParam, LPARAM lParam,
                        LRESULT* result)
{
    if (message != GetSysCommandExMessage())
        return FALSE;
    root->Filter(message, wParam, lParam, result);
    return TRUE;
}

IMPLEMENT_DYNCREATE(TkxMsgFilter, TkMsgFilter)
IMPLEMENT_DYNCREATE(TkxButtonMsgFilter, TkCaptionControlMsgFilter)
IMPLEMENT_DYNCREATE(TkxButtonMDIChildMsgFilter, TkxButtonMsgFilter)
IMPLEMENT_DYNCREATE(TkxButtonMDIMaxChildMsgFilter, TkxButtonMsgFilter)
IMPLEMENT_DYNCREATE(TkxCaptionNCRDBLClkFilter, TkCaptionMsgFilter)
IMPLEMENT_DYNCREATE(TkxNCRDBLClkMDIMaxChildMsgFilter, TkNcMsgFilter)
IMPLEMENT_DYNCREATE(TkxContextMenuFilter, TkMsgFilter)
}  // namespace nsSysCommandEx
