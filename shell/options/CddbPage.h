// Options page "CDDB / CD-Text": the disc database, the e-mail address sent
// to it and the web proxy. Its apply step makes the document apply the options.
#pragma once

#include "shell/options/OptionsPage.h"
#include "core/doc/ZymOptions.h"

class CCddbPage : public COptionsPage
{
public:
    CCddbPage(CPage1& values, COptionsHost& host);

    BOOL OnInitDialog() override;
    BOOL OnApply() override;
    // Asks the document to apply the options, once per showing of the sheet.
    void RequestApply();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnUseCddb2();
    void OnLocate();
    void OnRegister();
    DECLARE_MESSAGE_MAP()

private:
    // The control road and the HTTP road use different fields.
    void EnableForRoad();

    CPage1& m_values;
    BOOL m_applyRequested = FALSE;
};
