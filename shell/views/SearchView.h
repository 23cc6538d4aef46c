// The search: an expression typed and run against the library, its result
// the document's search list, whose entries are selected, double-clicked,
// deleted, reordered by dragging and joined by dropped play-list files.
#pragma once

#include "shell/views/LibraryListView.h"

class CSearchView : public CLibraryListView
{
    DECLARE_DYNCREATE(CSearchView)
public:
    CSearchView();

    // One row per entry of the search list.
    void Fill();
    void RunSearch();
    bool DropText(const char* text, int position, bool move);
    // Play-list files from the shell, in their order, at position.
    void DropFiles(HDROP drop, int position);

    DROPEFFECT OnDragOver(COleDataObject* dataObject, DWORD keyState, CPoint point) override;
    BOOL OnDrop(COleDataObject* dataObject, DROPEFFECT dropEffect, CPoint point) override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void Layout(int cx, int cy) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void GetItemText(DWORD_PTR itemData, int columnId, CString& text) override;
    bool GetItemTexts(int columnId, const std::vector<DWORD_PTR>& itemData, std::vector<CString>& texts) override;
    bool IsValidItem(DWORD_PTR itemData) override;
    bool GetRowItem(int row, CLibItem& item) override;
    bool GetRowPlayer(DWORD_PTR itemData, int& player) override;
    CString GetPrintTitle() override { return "Results of search " + m_expression; }
    void OnDeleteKey() override;

    void OnToggleMode();
    void OnClear();
    void OnDropFiles(HDROP drop);
    BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

private:
    CPlayList* List();
    // Where a drop below the rows goes.
    int EntryCount();
    void ShowMode();
    void UpdateCaption();

    CString m_expression;
    CBitmap m_pictures[4];
    COleDropTarget m_dropTarget;
};
