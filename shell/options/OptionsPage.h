// The base of the options pages: every command marks the page changed, and
// the page reaches the document through its host.
#pragma once

#include "shell/options/OptionsHost.h"

#include <afxdlgs.h>

class COptionsPage : public CPropertyPage
{
public:
    COptionsPage(UINT templateId, COptionsHost& host) : CPropertyPage(templateId), m_host(host) {}

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Sends a private message to the main window, which hands it to the document.
    static LRESULT SendToMainWindow(UINT message);

    COptionsHost& m_host;
};
