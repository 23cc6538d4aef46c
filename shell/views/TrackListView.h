// The tracks of the one album that the document's selection names (each
// row's item data its track index): texts edited in place, the library menu,
// tracks of an audio-file album reordered by dragging, tracks and audio files
// dropped into it.
#pragma once

#include "shell/views/LibraryListView.h"

class CTrackListView : public CLibraryListView
{
    DECLARE_DYNCREATE(CTrackListView)
public:
    CTrackListView();

    // Shows the album of the document's selection and selects its tracks.
    void Fill();
    // Copies of the tracks of the lines go to the shown album at position;
    // tracks of this view's running drag are then removed from where they
    // were. False when the album is no audio-file album.
    bool DropTracks(const char* text, int position);
    // Audio files from the shell, in their order, at position.
    void DropFiles(HDROP drop, int position);
    const CLibItem& GetShownAlbum() const { return m_album; }

    DROPEFFECT OnDragOver(COleDataObject* dataObject, DWORD keyState, CPoint point) override;
    BOOL OnDrop(COleDataObject* dataObject, DROPEFFECT dropEffect, CPoint point) override;

    // Track position of the album's end.
    static const int kAtEnd = 99999;

protected:
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    void GetItemText(DWORD_PTR itemData, int columnId, CString& text) override;
    bool GetItemTexts(int columnId, const std::vector<DWORD_PTR>& itemData, std::vector<CString>& texts) override;
    bool GetRowPlayer(DWORD_PTR itemData, int& player) override;
    void ApplyEdit(DWORD_PTR itemData, int columnId, const CString& text) override;
    bool IsValidItem(DWORD_PTR itemData) override;
    bool GetRowItem(int row, CLibItem& item) override;
    CString GetPrintTitle() override { return "here's the data name"; }
    void PrepareContextMenu() override;
    void OnDeleteKey() override;

    void OnDropFiles(HDROP drop);
    DECLARE_MESSAGE_MAP()



private:
    // A copy of the shown album; false when it is not in the library.
    bool GetAlbum(AlbumRecord& album);
    bool IsAudioAlbum();
    void ShowAlbum(const CLibItem& entry);
    void SelectTracks(const CPlayList& selection);
    // The selected rows' tracks, rising, as the command items.
    void SetSelectedTracksAsItems();

    CLibItem m_album;
    COleDropTarget m_dropTarget;
};
