// TkDialogBar: a toolkit control bar whose contents come from a dialog
// template; its sizes start at the template's size and its controls keep
// their proportions when the bar is sized.
#pragma once

#include "toolkit/bars/TkControlBar.h"

class TkDialogBar : public TkControlBar
{
    DECLARE_DYNCREATE(TkDialogBar)
public:
    TkDialogBar();

    BOOL Create(CWnd* parent, LPCSTR templateName, DWORD style, DWORD exStyle, UINT id);
    BOOL Create(CWnd* parent, UINT templateId, DWORD style, DWORD exStyle, UINT id);
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    void GetBarInfoEx(TkControlBarInfo* info) override;
    BOOL SetOccDialogInfo(void* info);

    CSize m_sizeDefault;
    LPCSTR m_lpszTemplateName;

protected:
    LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    void* m_pOccDialogInfo;
};
