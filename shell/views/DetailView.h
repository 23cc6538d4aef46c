// The details of the selected album or track: a fixed list of fields and
// their values, several of which are edited in place.
#pragma once

#include "shell/views/LibraryListView.h"

class CDetailView : public CLibraryListView
{
    DECLARE_DYNCREATE(CDetailView)
public:
    CDetailView();

    // Shows the item of the document's selection; the rows stay when it is
    // the item already shown.
    void Fill();
    const CLibItem& GetItem() const { return m_item; }

protected:
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void GetItemText(DWORD_PTR itemData, int columnId, CString& text) override;
    void ApplyEdit(DWORD_PTR itemData, int columnId, const CString& text) override;
    bool IsValidItem(DWORD_PTR) override { return false; }
    bool GetRowItem(int, CLibItem&) override { return false; }
    CString GetPrintTitle() override { return "here's the data name"; }
    void PrepareContextMenu() override {}

private:
    void ShowNothing(const char* emptyText);
    CString ValueText(CMusicLibrary& library, const AlbumRecord& album, int row);

    CLibItem m_item;
};
