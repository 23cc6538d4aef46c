// The cover commands of the document: album covers are scraped from a web
// shop (its music search form, the best matching product page, the cover
// link on it) into the folder of the option "Image Directory", or attached
// and detached by hand. Each request runs on an HTTP thread while the calling
// (GUI) thread pumps its messages; a failed request fails the look-up.
#pragma once

#include "core/doc/WebHosts.h"
#include "devices/util/TaskCancelFlag.h"

#include "library/records/AlbumRecord.h"

#include <afx.h>

class CLibItem;
class CLibraryDocument;

class CDocCovers
{
public:
    explicit CDocCovers(CLibraryDocument& doc) : m_doc(doc), m_hosts(WebHosts::Load()) {}

    // Task "Looking For Covers" over the selection; hints 0 and 4 at the end.
    void OnGetCovers();
    // Nothing for an album that has an image anywhere or lacks its artist or
    // title; on success the album's image is the fetched file.
    void LookupCover(CLibItem& item);
    // The file name (in the image folder) of the fetched cover in fileName;
    // false, and the folder as it was, when none could be fetched.
    bool FetchCover(const CString& artist, const CString& title, CString& fileName);

    // With exactly one entry selected: the image file the user picks in an
    // open-file dialog becomes its album's image (AttachImage).
    void OnImageBrowse();
    void AttachImage(const CString& path);
    // With exactly one entry selected: its image is detached (the album's,
    // when a track shows the album's image).
    void OnImageRemove();

private:
    CString Search(const CString& keywords, const char* status);
    // Downloads the image into a temporary file and keeps it under baseName
    // with the extension its content has, only when it is a GIF or JPEG.
    bool Download(const CString& object, const CString& baseName, CString& fileName);
    // The one selected entry and a copy of its album.
    bool SingleSelection(CLibItem& item, AlbumRecord& album);
    void SetImage(CLibItem& item, int track, const CString& file);
    CString Request(const CString& host, const CString& object, const CString& postData,
                    const char* outputPath);
    void SetStatus(const CString& text);
    void SetStatusBoth(const char* text);

    CLibraryDocument& m_doc;
    WebHosts m_hosts;
    int m_task = 0;
    TaskCancelFlag m_cancel{0};
};
