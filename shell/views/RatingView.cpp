#include "shell/views/RatingView.h"

#include "core/doc/ZymDoc.h"
#include "shell/views/ViewsResources.h"

namespace {

const UINT kSliderIds[] = {IDC_RATING_0, IDC_RATING_1, IDC_RATING_2, IDC_RATING_3};
const UINT kLabelIds[] = {IDC_RATING_LABEL_0, IDC_RATING_LABEL_1, IDC_RATING_LABEL_2, IDC_RATING_LABEL_3};
const int kLowest = -20;
const int kHighest = 20;

} // namespace

IMPLEMENT_DYNCREATE(CRatingView, CBannerFormView)

CRatingView::CRatingView() : CBannerFormView(IDD_RATING_FORM, "Ratings")
{
}

CZymDoc* CRatingView::GetDoc()
{
    return dynamic_cast<CZymDoc*>(GetDocument());
}

void CRatingView::DoDataExchange(CDataExchange* dx)
{
    CBannerFormView::DoDataExchange(dx);
    for (int i = 0; i < kRatings; ++i)
        DDX_Control(dx, kSliderIds[i], m_sliders[i]);
    DDX_Control(dx, IDC_NEVER_PLAY, m_neverPlay);
}

void CRatingView::OnUpdate(CView* sender, LPARAM hint, CObject* hintObject)
{
    switch (hint)
    {
    case kViewHintSelection:
        Save();
        Load();
        Invalidate(FALSE);
        break;
    case kViewHintEditingEnabled:
    case kViewHintEditingDisabled:
        EnableControls(hint == kViewHintEditingEnabled);
        break;
    case kViewHintBannersShown:
    case kViewHintBannersHidden:
        CBannerFormView::OnUpdate(sender, hint, hintObject);
        Invalidate(FALSE);
        break;
    default:
        CBannerFormView::OnUpdate(sender, hint, hintObject);
    }
}

void CRatingView::EnableControls(bool enable)
{
    for (UINT id : kSliderIds)
        GetDlgItem(id)->EnableWindow(enable);
    for (UINT id : kLabelIds)
        GetDlgItem(id)->EnableWindow(enable);
    m_neverPlay.EnableWindow(enable);
}

void CRatingView::Save()
{
    CZymDoc* doc = GetDoc();
    if (!doc || !m_hasItem || !m_neverPlay.m_hWnd)
        return;
    CMusicLibrary& library = doc->GetMusicLibrary();
    bool neverPlay = m_neverPlay.GetCheck() == BST_CHECKED;
    bool changed = neverPlay != m_loadedNeverPlay;
    {
        CLibraryLock lock(library);
        AlbumRecord* album = m_item.GetAlbum(lock, library);
        if (!album)
            return;
        for (int i = 0; i < kRatings; ++i)
        {
            int position = m_sliders[i].GetPos();
            if (position == m_loadedRatings[i])
                continue;
            album->SetRating(m_item.GetTrack(), i, position);
            changed = true;
        }
        if (neverPlay != m_loadedNeverPlay)
            album->SetNeverPlay(m_item.GetTrack(), neverPlay);
    }
    if (changed)
        library.SetModified(true);
}

void CRatingView::Load()
{
    CZymDoc* doc = GetDoc();
    if (!doc || !m_neverPlay.m_hWnd)
        return;
    CPlayList selection(doc->GetSelectionList());
    m_banner.SetText("Ratings");
    m_hasItem = selection.GetCount() == 1;
    if (!m_hasItem)
    {
        EnableControls(false);
        return;
    }
    EnableControls(!doc->IsEditingDisabled());
    m_item = selection.GetItem(0);
    CMusicLibrary& library = doc->GetMusicLibrary();
    for (int i = 0; i < kRatings; ++i)
    {
        SetDlgItemText(kLabelIds[i], library.GetRatingNames()[i]);
        m_sliders[i].SetRange(kLowest, kHighest, TRUE);
    }
    AlbumRecord album;
    bool found = m_item.GetAlbumCopy(library, album);
    int track = m_item.GetTrack();
    if (found)
        m_banner.SetText(track == kWholeAlbum ? "Album Ratings for " + album.GetTitle(kAlbumIndex)
                                              : "Track Ratings for " + album.GetTitle(track));
    for (int i = 0; i < kRatings; ++i)
    {
        m_loadedRatings[i] = found ? album.GetRating(track, i) : 0;
        m_sliders[i].SetPos(m_loadedRatings[i]);
    }
    m_loadedNeverPlay = found && album.GetNeverPlay(track);
    m_neverPlay.SetCheck(m_loadedNeverPlay ? BST_CHECKED : BST_UNCHECKED);
}
