// Options page "Maps": the event map file and its entries. The page reads
// the file into an event map of its own; the document's mapper loads the
// file only when the options are applied.
#pragma once

#include "shell/options/OptionsPage.h"
#include "core/doc/ZymOptions.h"

#include "core/automation/AutoMapper.h"

#include <afxcmn.h>

class CMapsPage : public COptionsPage
{
public:
    CMapsPage(CPage7& values, COptionsHost& host);

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnBrowse();
    void OnReload();
    void OnEdit();
    DECLARE_MESSAGE_MAP()

private:
    // Loads the map file; FALSE when it could not be read.
    BOOL LoadMap();
    void FillList();

    CPage7& m_values;
    CAutoMapper m_mapper;
    CImageList m_images;
    CListCtrl m_list;
};
