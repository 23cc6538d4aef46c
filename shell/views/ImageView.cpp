#include "shell/views/ImageView.h"

#include "core/doc/ZymDoc.h"
#include "library/views/DragText.h"
#include "library/views/ListFormView.h"
#include "shell/views/ViewsResources.h"

#include "library/paths/FilePath.h"

#include <algorithm>

namespace {

struct ExtensionType
{
    const char* extension;
    int type;
};

const ExtensionType kTypes[] = {
    {"jpg", kImageJPG}, {"jpeg", kImageJPG}, {"jpe", kImageJPG},
    {"gif", kImageGIF}, {"png", kImagePNG},  {"bmp", kImageBMP},
};

const char kNoImage[] =
    "No Image Available.\r\nDrag-and-Drop a \r\nJPG,BMP,PNG or GIF image here.";

int TypeOf(const CString& path)
{
    int dot = path.ReverseFind('.');
    CString extension = dot < 0 ? CString() : path.Mid(dot + 1);
    extension.MakeLower();
    for (const ExtensionType& entry : kTypes)
    {
        if (extension == entry.extension)
            return entry.type;
    }
    return -1;
}

CString InFolder(const CString& folder, const CString& name)
{
    return CFilePath(CDirPath(folder), CFileName(name)).GetFullPath();
}

CString Lower(CString text)
{
    text.MakeLower();
    return text;
}

} // namespace

IMPLEMENT_DYNCREATE(CImageView, CScrollView)

BEGIN_MESSAGE_MAP(CImageView, CScrollView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DROPFILES()
    ON_WM_RBUTTONUP()
END_MESSAGE_MAP()

CImageView::CImageView() : m_message("No Image")
{
}

CImageView::~CImageView() = default;

CZymDoc* CImageView::GetDoc()
{
    return dynamic_cast<CZymDoc*>(GetDocument());
}

int CImageView::OnCreate(LPCREATESTRUCTA cs)
{
    if (CScrollView::OnCreate(cs) == -1)
        return -1;
    ::DragAcceptFiles(m_hWnd, TRUE);
    SetScrollSizes(MM_TEXT, CSize(0, 0));
    return 0;
}

bool CImageView::LoadImage(const CString& path)
{
    m_image.reset();
    int type = TypeOf(path);
    if (type < 0)
        return false;
    std::unique_ptr<CImage> image(new CImage(path, type));
    if (image->GetWidth() <= 0 || image->GetHeight() <= 0)
        return false;
    m_image = std::move(image);
    return true;
}

void CImageView::OnUpdate(CView*, LPARAM hint, CObject*)
{
    if (hint != kViewHintSelection && hint != kViewHintReloadImage)
        return;
    if (ShowSelection(hint))
        UpdateScrollSizes();
    Invalidate();
}

void CImageView::ShowMessage(const char* text)
{
    m_image.reset();
    m_message = text;
    UpdateScrollSizes();
}

bool CImageView::ShowSelection(LPARAM hint)
{
    CZymDoc* doc = GetDoc();
    if (!doc)
    {
        ShowMessage("(Bad Craziness)");
        return false;
    }
    CPlayList selection(doc->GetSelectionList());
    if (selection.GetCount() == 0)
    {
        ShowMessage("(Nothing Selected)");
        return false;
    }
    if (selection.GetCount() > 1 && !selection.IsSingleDisc())
    {
        ShowMessage("(Multiple Albums Selected)");
        return false;
    }
    CLibItem entry = selection.GetItem(0);
    AlbumRecord album;
    if (!entry.GetAlbumCopy(doc->GetMusicLibrary(), album))
        return false;
    const CString& folder = doc->GetOptions().m_page9.m_imageDirectory;
    CString first = album.GetImagePath(entry.GetTrack(), folder);
    if (Lower(first) == m_path && m_image && hint != kViewHintReloadImage)
        return true;
    CString sonyBmp, sonyJpg;
    sonyBmp.Format("%08X.bmp", album.GetSonyId());
    sonyJpg.Format("%08X.jpg", album.GetSonyId());
    const CString candidates[] = {
        first,
        InFolder(folder, album.GetIdText() + ".bmp"),
        InFolder(folder, album.GetIdText() + ".jpg"),
        InFolder(folder, sonyBmp),
        InFolder(folder, sonyJpg),
        InFolder(folder, doc->GetOptions().m_page9.m_defaultImage),
    };
    for (const CString& candidate : candidates)
    {
        m_path = Lower(candidate);
        if (LoadImage(candidate))
            return true;
    }
    m_message = kNoImage;
    return true;
}

void CImageView::UpdateScrollSizes()
{
    CZymDoc* doc = GetDoc();
    bool stretch = doc && doc->GetOptions().m_page2.m_stretchImages;
    if (!m_image || stretch)
        SetScrollSizes(MM_TEXT, CSize(0, 0));
    else
        SetScrollSizes(MM_TEXT, CSize(m_image->GetWidth(), m_image->GetHeight()));
}

CRect CImageView::ImageRect(const CRect& client)
{
    CZymDoc* doc = GetDoc();
    int width = m_image->GetWidth(), height = m_image->GetHeight();
    bool stretch = doc && doc->GetOptions().m_page2.m_stretchImages;
    bool keepAspect = doc && doc->GetOptions().m_page2.m_keepAspect;
    if (stretch && !keepAspect)
        return client;
    if (stretch)
    {
        double scale = std::min(static_cast<double>(client.Width()) / width,
                                static_cast<double>(client.Height()) / height);
        width = static_cast<int>(width * scale);
        height = static_cast<int>(height * scale);
    }
    // Centred along an axis with room to spare; else at the scroll position.
    int x = std::max(0, (client.Width() - width) / 2);
    int y = std::max(0, (client.Height() - height) / 2);
    return CRect(x, y, x + width, y + height);
}

void CImageView::OnDraw(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    if (!m_image)
    {
        DrawMessage(dc, client);
        return;
    }
    CPalette* oldPalette = nullptr;
    if (CImagePalette* palette = m_image->GetPalette())
    {
        oldPalette = dc->SelectPalette(palette, FALSE);
        dc->RealizePalette();
    }
    CRect place = ImageRect(client);
    if (place.Width() == m_image->GetWidth() && place.Height() == m_image->GetHeight())
        m_image->Draw(dc, place.left, place.top);
    else
        m_image->Stretch(dc, place.left, place.top, place.Width(), place.Height());
    if (oldPalette)
        dc->SelectPalette(oldPalette, FALSE);
}

void CImageView::DrawMessage(CDC* dc, const CRect& client)
{
    CRect text(0, 0, client.Width(), 0);
    dc->DrawText(m_message, &text, DT_CALCRECT | DT_CENTER);
    text.OffsetRect((client.Width() - text.Width()) / 2, (client.Height() - text.Height()) / 2);
    dc->DrawText(m_message, &text, DT_CENTER);
}

void CImageView::OnActivateView(BOOL activate, CView* activateView, CView* deactiveView)
{
    if (activate && GetDocument())
        GetDocument()->UpdateAllViews(this, kViewHintActiveView);
    CScrollView::OnActivateView(activate, activateView, deactiveView);
}

bool CImageView::TakeDroppedFile(const CString& path)
{
    CZymDoc* doc = GetDoc();
    if (!doc)
        return false;
    CPlayList selection(doc->GetSelectionList());
    if (selection.GetCount() != 1)
        return false;
    CLibItem entry = selection.GetItem(0);
    CMusicLibrary& library = doc->GetMusicLibrary();
    AlbumRecord album;
    if (!entry.GetAlbumCopy(library, album))
        return false;
    const CZymOptions& options = doc->GetOptions();
    CString error;
    if (!album.SetImage(entry.GetTrack(), path, options.m_page2.m_makeImageCopy != 0,
                        options.m_page9.m_imageDirectory, error))
    {
        if (!error.IsEmpty())
            AfxMessageBox(error);
        return false;
    }
    library.StoreAlbum(album);
    library.SetModified(true);
    OnUpdate(this, kViewHintReloadImage, nullptr);
    OnUpdate(this, kViewHintSelection, nullptr);
    return true;
}

void CImageView::OnDropFiles(HDROP drop)
{
    CString path;
    if (DragQueryFileA(drop, 0xFFFFFFFF, NULL, 0) == 1 && DroppedFilePath(drop, 0, path))
        TakeDroppedFile(path);
    DragFinish(drop);
}

void CImageView::OnRButtonUp(UINT, CPoint point)
{
    ClientToScreen(&point);
    CListFormView::TrackMenu(IDR_IMAGE_MENU, point, this);
}
