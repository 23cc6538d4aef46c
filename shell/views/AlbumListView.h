// The library window: one row for every disc and audio-file album (its
// album index as item data, texts asked per cell), sortable and customisable
// columns, a few texts edited in place, the library menu, albums dragged out
// as entry lines, tracks dropped on an audio-file album, and audio files
// dropped from the shell. Its selection is the document's.
#pragma once

#include "shell/views/LibraryListView.h"

class CAlbumListView : public CLibraryListView
{
    DECLARE_DYNCREATE(CAlbumListView)
public:
    CAlbumListView();

    // Rebuilds the rows; with reselect the document's selection is shown
    // again, else the row at the first selected place is selected.
    void Fill(bool reselect);
    // Selects the rows of the document's selection.
    void Reselect();
    // Track lines dropped on the album of a row: copies of those tracks are
    // appended to it. False when the row is no audio-file album.
    bool DropTracks(int row, const char* text);
    // Audio files dropped on the album of a row go to its end.
    void DropFiles(HDROP drop, int row);

    DROPEFFECT OnDragOver(COleDataObject* dataObject, DWORD keyState, CPoint point) override;
    BOOL OnDrop(COleDataObject* dataObject, DROPEFFECT dropEffect, CPoint point) override;

protected:
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void GetItemText(DWORD_PTR itemData, int columnId, CString& text) override;
    bool GetItemTexts(int columnId, const std::vector<DWORD_PTR>& itemData, std::vector<CString>& texts) override;
    bool GetRowPlayer(DWORD_PTR itemData, int& player) override;
    void ApplyEdit(DWORD_PTR itemData, int columnId, const CString& text) override;
    bool IsValidItem(DWORD_PTR itemData) override;
    bool GetRowItem(int row, CLibItem& item) override;
    CString GetPrintTitle() override { return "Music Library"; }
    void OnDeleteKey() override;

    DWORD DragEffects() override { return DROPEFFECT_COPY; }

    void OnDropFiles(HDROP drop);
    DECLARE_MESSAGE_MAP()

private:
    bool IsShown(CMusicLibrary& library, const AlbumRecord& album);
    bool FactsOfIndex(DWORD_PTR albumIndex, AlbumFacts& facts);
    // Whether the album of a row plays from files.
    bool IsAudioAlbumRow(int row);
    void UpdateCaption();

    COleDropTarget m_dropTarget;
};
