#include "library/views/KwdView.h"
#include "library/views/ViewResources.h"

#include <algorithm>
#include <set>

namespace {

const COLORREF kCellMask = 0xE5E5FF;
const int kImageWidth = 16;
const int kLegendMaxHeight = 32;

struct LegendLine
{
    const char* text;
    int image;
};

} // namespace

IMPLEMENT_DYNCREATE(CKwdView, CBannerFormView)

CKwdView::CKwdView() : CBannerFormView(IDD_KEYWORD_FORM, "Keywords")
{
}

void CKwdView::OnInitialUpdate()
{
    m_keywords.SubclassDlgItem(IDC_KEYWORD_LIST, this);
    m_legend.SubclassDlgItem(IDC_KEYWORD_LEGEND, this);
    m_images.Create(IDB_CELL_IMAGES, kImageWidth, 1, kCellMask);
    m_keywords.SetImageList(&m_images, LVSIL_SMALL);
    m_legend.SetImageList(&m_images, LVSIL_SMALL);
    CViewsHost* host = Host();
    if (host)
    {
        m_keywords.SetLibrary(&host->GetLibrary());
        m_keywords.SetReadOnly(host->IsEditingDisabled());
        LoadSelection();
    }
    CBannerFormView::OnInitialUpdate();
}

void CKwdView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    switch (hint)
    {
    case kViewHintSelection:
        ApplyChanges();
        LoadSelection();
        break;
    case kViewHintEditingEnabled:
    case kViewHintEditingDisabled:
        m_keywords.SetReadOnly(hint == kViewHintEditingDisabled);
        break;
    default:
        CBannerFormView::OnUpdate(sender, hint, hintObject);
    }
}

void CKwdView::LoadSelection()
{
    CViewsHost* host = Host();
    if (!host || !m_keywords.m_hWnd)
        return;
    CMusicLibrary& library = host->GetLibrary();
    m_selection.reset(new CPlayList(host->GetSelectionList()));
    library.GetMasterKeywords().FillStatList(m_stats);
    m_selection->CountKeywords(m_stats);
    FillLegend();
    m_keywords.Fill(m_stats, m_selection->HasOnlyWholeDiscs(), m_selection->IsSingleDisc());
    m_banner.SetText(Caption());
    InvalidateRect(NULL, FALSE);
}

void CKwdView::FillLegend()
{
    std::vector<LegendLine> lines;
    bool tracks = !m_selection->HasOnlyWholeDiscs();
    if (m_selection->IsSingleDisc())
    {
        lines.push_back({"Album", 0});
        bool oneTrack = m_selection->GetCount() == 1 && !m_selection->GetItem(0).IsWholeAlbum();
        if (oneTrack)
            lines.push_back({"Tracks", 6});
        else
            lines.insert(lines.end(), {{"All tracks", 6}, {"Some tracks", 7}});
    }
    else
    {
        lines.insert(lines.end(), {{"All albums", 0}, {"Some albums", 1}});
        if (tracks)
            lines.insert(lines.end(), {{"All tracks", 6}, {"Some tracks", 7}});
    }
    m_legend.DeleteAllItems();
    for (const LegendLine& line : lines)
        m_legend.InsertItem(m_legend.GetItemCount(), line.text, line.image);
}

CString CKwdView::Caption()
{
    int count = m_selection->GetCount();
    if (count == 0)
        return "Keywords";
    CLibItem first = m_selection->GetItem(0);
    CMusicLibrary& library = m_selection->GetLibrary();
    CLibraryLock lock(library);
    AlbumRecord* album = first.GetAlbum(lock, library);
    if (!album)
        return "Keywords";
    if (count == 1)
    {
        if (first.IsWholeAlbum())
            return "Album Keywords for " + album->GetTitle(kAlbumIndex);
        return "Track Keywords for " + album->GetTitle(first.GetTrack());
    }
    if (m_selection->IsSingleDisc())
        return "Keywords for " + album->GetTitle(kAlbumIndex);
    return m_selection->HasOnlyWholeDiscs() ? "Keywords for Selected Albums" : "Keywords for Selected Items";
}

void CKwdView::ApplyChanges()
{
    if (!m_selection || !m_keywords.HasChanges())
        return;
    CMusicLibrary& library = m_selection->GetLibrary();
    for (const KeywordItem& item : m_keywords.GetItems())
    {
        if (item.state == item.initialState)
            continue;
        std::set<AlbumRecord*> touched;
        CLibraryLock lock(library);
        for (int i = 0; i < m_selection->GetCount(); ++i)
        {
            CLibItem entry = m_selection->GetItem(i);
            AlbumRecord* album = entry.GetAlbum(lock, library);
            if (!album)
                continue;
            ApplyToEntry(*album, entry.GetTrack(), item);
            touched.insert(album);
        }
        for (AlbumRecord* album : touched)
            library.UpdateKeywordTexts(*album);
        library.SetModified(true);
    }
}

void CKwdView::ApplyToEntry(AlbumRecord& album, int track, const KeywordItem& item)
{
    int id = item.keyword.m_id;
    bool wasOnAlbum = item.initialState == kKeywordAllAlbums;
    switch (item.state)
    {
    case kKeywordNone:
        // From the album also clears every track.
        if (wasOnAlbum || track < 0)
            album.RemoveKeyword(kAlbumIndex, id);
        if (track >= 0)
            album.RemoveKeyword(track, id);
        break;
    case kKeywordAllAlbums:
        album.AddKeyword(kAlbumIndex, id);
        break;
    case kKeywordAllTracks:
        if (wasOnAlbum)
            album.RemoveKeyword(kAlbumIndex, id);
        if (track >= 0)
            album.AddKeyword(track, id);
        break;
    }
}

void CKwdView::Layout(int cx, int cy)
{
    if (!m_keywords.m_hWnd)
        return;
    int left = m_banner.GetWidth();
    int width = std::max(0, cx - left);
    int legend = std::min(cy / 2, kLegendMaxHeight);
    m_legend.MoveWindow(left, 0, width, legend);
    m_keywords.MoveWindow(left, legend, width, std::max(0, cy - legend));
}
