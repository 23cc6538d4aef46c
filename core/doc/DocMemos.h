// Disc memo transfer between the library and the changers: the library's
// memos (or titles) go up to the changers that store memos, through each
// changer's upload task; the changers' memos and track delete marks come
// down into the library, synchronously, with the status polls switched off.
#pragma once

#include "devices/util/TaskCancelFlag.h"
#include "library/playlist/PlayList.h"

#include <memory>

class CPlaylistDocument;

class CDocMemos
{
public:
    enum UploadMode { kSelectedAlbums = 0, kAllAlbums = 1 };

    explicit CDocMemos(CPlaylistDocument& doc) : m_doc(doc) {}

    // The Library menu's transfers (the transfer dialog's four choices).
    void OnUploadAllMemos();
    void OnUploadSelectedMemos();
    void OnDownloadAllMemos();
    void OnDownloadSelectedMemos();

    // Whole-album entries of every album that sits in a changer, by changer
    // and slot; of every album of the library, in library order.
    std::unique_ptr<CPlayList> BuildPresentAlbumList();
    std::unique_ptr<CPlayList> BuildAllAlbumsList();
    // Each changer with all three memo bits gets the entries in it.
    void UploadMemos(const CPlayList& albums, UploadMode mode);
    // As the task "Downloading Player Info to CD Library"; nothing for an
    // empty list. A changer that does not answer leaves the album as it was.
    void DownloadMemos(const CPlayList& albums);

private:
    // The selection the views put into the document's selection list.
    std::unique_ptr<CPlayList> CollectSelection();
    void DownloadAlbum(const CLibItem& item, int index, int task, const TaskCancelFlag* cancel);

    CPlaylistDocument& m_doc;
};
