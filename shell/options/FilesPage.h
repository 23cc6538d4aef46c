// Options page "Files and Directories": the folders of play lists, covers,
// device files and music files, the library file and the default image.
// Each edit's "..." button, one id higher, chooses its folder or file.
#pragma once

#include "shell/options/OptionsPage.h"
#include "core/doc/ZymOptions.h"

class CFilesPage : public COptionsPage
{
public:
    CFilesPage(CPage9& values, COptionsHost& host);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnBrowse(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    // One edit with its value and what its "..." chooses: a folder under a
    // title, or a file through a filter.
    struct Field
    {
        int id;
        CString CPage9::*value;
        const char* folderTitle;
        const char* fileFilter;
    };
    static const Field kFields[];

    CPage9& m_values;
};
