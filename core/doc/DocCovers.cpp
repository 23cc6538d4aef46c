#include "core/doc/DocCovers.h"

#include "core/doc/PageScan.h"
#include "core/doc/SelectionWalk.h"
#include "core/doc/LibraryDocument.h"
#include "core/doc/ZymOptions.h"
#include "core/tasks/TaskMgr.h"
#include "library/playlist/PlayList.h"
#include "library/records/MusicLibrary.h"
#include "library/views/ViewsHost.h"
#include "library/web/CDDBClient.h"

#include "library/paths/FilePath.h"
#include "platform/runtime/FileReplacement.h"

#include <afxdlgs.h>

namespace {

const char kSearchObject[] = "/exec/obidos/search-handle-form";
const char kSearchForm[] = "index=music&field-keywords=";
const char kNotFound[] = "unable to find";
// Enough of a file's start to tell GIF from JPEG.
const UINT kHeadBytes = 3;
const char kImageFilter[] = "Image Types (Bitmaps,JPEGs,GIFs,PNGs)|*.bmp;*.jpg;*.jpe;*.jpeg;*.gif;*.png|"
                            "Bitmaps (*.bmp)|*.bmp|JPEGs (*.jpg;*.jpe;*.jpeg)|*.jpg;*.jpe;*.jpeg|"
                            "GIFs (*.gif)|*.gif|PNGs (*.png)|*.png|All Files (*.*)|*.*||";

// ".gif" or ".jpg" by the file's first bytes; null for anything else.
const char* ImageKindOf(const char* path)
{
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::typeBinary | CFile::shareDenyWrite))
        return nullptr;
    BYTE head[kHeadBytes] = {};
    UINT length = 0;
    try
    {
        length = file.Read(head, sizeof head);
    }
    catch (CFileException* e)
    {
        e->Delete();
        return nullptr;
    }
    return CoverImageExtension(head, length);
}

} // namespace

void CDocCovers::OnGetCovers()
{
    m_hosts = WebHosts::Load();
    WalkSelection(m_doc, "Looking For Covers", m_cancel, [this](CLibItem& item, int task) {
        m_task = task;
        LookupCover(item);
    });
    m_doc.UpdateViews(kViewHintAll);
    m_doc.UpdateViews(kViewHintSelection);
}

void CDocCovers::LookupCover(CLibItem& item)
{
    AlbumRecord album;
    if (!CopyEntryAlbum(m_doc, item, album) || album.HasImage(kAlbumIndex))
        return;
    CString artist = album.GetArtist(kAlbumIndex);
    CString title = album.GetTitle(kAlbumIndex);
    CString fileName;
    if (artist.IsEmpty() || title.IsEmpty() || !FetchCover(artist, title, fileName))
        return;
    SetImage(item, kAlbumIndex, fileName);
}

bool CDocCovers::FetchCover(const CString& artist, const CString& title, CString& fileName)
{
    SetStatus("Cover Lookup for " + artist + " / " + title);
    CString reply = Search(artist + " " + title, "Search");
    if (reply.IsEmpty() || reply.Find(kNotFound) >= 0)
        reply = Search(artist, "Search (AO)");
    CString page = reply;
    CString product = PickCoverProduct(reply, title, &m_cancel);
    if (!product.IsEmpty())
        page = Request(m_hosts.shop, product, CString(), "");
    CString image = page.IsEmpty() ? CString() : FindCoverImage(page, m_hosts.images);
    if (image.IsEmpty())
        return false;
    SetStatusBoth("Image");
    return Download(image, AlbumRecord::MakeSafeFileName(artist + " - " + title), fileName);
}

CString CDocCovers::Search(const CString& keywords, const char* status)
{
    SetStatusBoth(status);
    return Request(m_hosts.shop, kSearchObject, kSearchForm + CCDDBClient::EscapeUrl(keywords), "");
}

bool CDocCovers::Download(const CString& object, const CString& baseName, CString& fileName)
{
    CDirPath folder(m_doc.GetOptions().m_page9.m_imageDirectory);
    CFilePath gif(folder, CFileName(baseName + ".gif"));
    if (gif.IsEmpty())
        return false;
    // An older cover of that name stays until the new one proves an image.
    CFileReplacement file(gif.GetFullPath());
    if (!file.Begin() || Request(m_hosts.images, object, CString(), file.GetTempPath()) != "ok")
        return false;
    const char* kind = ImageKindOf(file.GetTempPath());
    if (!kind)
        return false;
    CFilePath target(folder, CFileName(baseName + kind));
    if (target.IsEmpty() || !file.CommitAs(target.GetFullPath()))
        return false;
    fileName = target.GetName().GetText().c_str();
    return true;
}

bool CDocCovers::SingleSelection(CLibItem& item, AlbumRecord& album)
{
    CPlayList& selection = m_doc.GetSelectionList();
    if (selection.GetCount() != 1)
        return false;
    item = selection.GetItem(0);
    return CopyEntryAlbum(m_doc, item, album);
}

void CDocCovers::OnImageBrowse()
{
    CLibItem item;
    AlbumRecord album;
    if (!SingleSelection(item, album))
        return;
    CFilePath folder(CDirPath(m_doc.GetProgramFolder()));
    folder.Append(static_cast<LPCSTR>(m_doc.GetOptions().m_page9.m_imageDirectory));
    CString initialFolder = folder.GetFullPath();
    CFileDialog dialog(TRUE, "jpg", NULL, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kImageFilter);
    dialog.m_ofn.lpstrInitialDir = initialFolder;
    if (dialog.DoModal() == IDOK)
        AttachImage(dialog.GetPathName());
}

void CDocCovers::AttachImage(const CString& path)
{
    CLibItem item;
    AlbumRecord album;
    if (!SingleSelection(item, album))
        return;
    SetImage(item, kAlbumIndex, path);
    m_doc.UpdateViews(kViewHintAll);
    m_doc.UpdateViews(kViewHintSelection);
}

void CDocCovers::OnImageRemove()
{
    CLibItem item;
    AlbumRecord album;
    if (!SingleSelection(item, album))
        return;
    int track = item.GetTrack();
    // A track without an image of its own shows the album's.
    if (!item.IsWholeAlbum() && album.GetImage(track) == album.GetImage(kAlbumIndex))
        track = kAlbumIndex;
    SetImage(item, track, CString());
    m_doc.UpdateViews(kViewHintAll);
    m_doc.UpdateViews(kViewHintSelection);
}

// The name only, never a copy.
void CDocCovers::SetImage(CLibItem& item, int track, const CString& file)
{
    CMusicLibrary& library = m_doc.GetMusicLibrary();
    CLibraryLock lock(library);
    AlbumRecord* album = item.GetAlbum(lock, library);
    CString error;
    if (album && album->SetImage(track, file, false, "", error))
        library.SetModified(true);
}

CString CDocCovers::Request(const CString& host, const CString& object, const CString& postData,
                            const char* outputPath)
{
    return m_doc.GetCddbClient().RunHttpRequest(host, object, &m_doc.GetTaskMgr(), FALSE, FALSE,
                                                postData.IsEmpty() ? HTTP_VERB_GET : HTTP_VERB_POST,
                                                postData, outputPath, "");
}

void CDocCovers::SetStatus(const CString& text)
{
    m_doc.GetTaskMgr().SetTaskStatus(m_task, text);
}

void CDocCovers::SetStatusBoth(const char* text)
{
    m_doc.GetCddbClient().m_strStatus = text;
    SetStatus(text);
}
