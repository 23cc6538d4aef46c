// Options page "Library / Images": auto-save, auto-search, what a double
// click adds, editing, play statistics and the image view.
#pragma once

#include "shell/options/OptionsPage.h"
#include "core/doc/ZymOptions.h"

class CLibraryPage : public COptionsPage
{
public:
    CLibraryPage(CPage2& values, COptionsHost& host);

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CPage2& m_values;
};
