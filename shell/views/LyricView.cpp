#include "shell/views/LyricView.h"
#include "core/doc/DocLyrics.h"
#include "core/doc/OpenLink.h"
#include "core/doc/ZymDoc.h"
#include "shell/views/ViewsResources.h"
#include "core/doc/WebHosts.h"

#include <algorithm>

namespace {

const ItemTextKind kLyrics = {"Lyrics", "Album Lyrics for ", "Track Lyrics for ", &AlbumRecord::GetLyrics,
                              &AlbumRecord::SetLyrics};
const ItemTextKind kNotes = {"Notes", "Album Notes for ", "Track Notes for ", &AlbumRecord::GetNotes,
                             &AlbumRecord::SetNotes};

struct PictureButton
{
    UINT control;
    UINT bitmap;
};
const PictureButton kPictures[] = {
    {IDC_GET_LYRICS, IDB_GET_LYRICS},
    {IDC_LYRICS_SITE, IDB_LYRICS_SITE},
    {IDC_SUBMIT_LYRICS, IDB_SUBMIT_LYRICS},
};

// The buttons' row above the edit.
const int kButtonHeight = 24;
const int kGetButtonWidth = 51;

} // namespace

IMPLEMENT_DYNCREATE(CLyricView, CItemTextView)

BEGIN_MESSAGE_MAP(CLyricView, CItemTextView)
    ON_BN_CLICKED(IDC_GET_LYRICS, OnGetLyrics)
    ON_BN_CLICKED(IDC_SUBMIT_LYRICS, OnSubmitLyrics)
    ON_BN_CLICKED(IDC_LYRICS_SITE, OnLyricsSite)
END_MESSAGE_MAP()

CLyricView::CLyricView() : CItemTextView(IDD_LYRIC_FORM, IDC_LYRICS_EDIT, kLyrics)
{
}

void CLyricView::OnInitialUpdate()
{
    for (int i = 0; i < 3; ++i)
    {
        if (m_pictures[i].LoadBitmap(kPictures[i].bitmap))
            SendDlgItemMessage(kPictures[i].control, STM_SETIMAGE, IMAGE_BITMAP,
                               reinterpret_cast<LPARAM>(m_pictures[i].m_hObject));
    }
    CItemTextView::OnInitialUpdate();
}

void CLyricView::Layout(int cx, int cy)
{
    if (!m_edit.m_hWnd)
        return;
    int left = m_banner.GetWidth();
    m_edit.MoveWindow(left + 1, kButtonHeight, std::max(0, cx - left), std::max(0, cy - kButtonHeight));
    GetDlgItem(IDC_GET_LYRICS)->MoveWindow(left + 1, 0, kGetButtonWidth, kButtonHeight);
    GetDlgItem(IDC_LYRICS_SITE)
        ->MoveWindow(left + 1 + kGetButtonWidth, 0, std::max(0, cx - left - kGetButtonWidth), kButtonHeight);
}

void CLyricView::OnGetLyrics()
{
    if (CZymDoc* doc = GetDoc())
        CDocLyrics(*doc).OnLibraryGetLyrics();
}

void CLyricView::OnSubmitLyrics()
{
    if (CZymDoc* doc = GetDoc())
        CDocLyrics(*doc).OnLibrarySubmitLyrics();
}

void CLyricView::OnLyricsSite()
{
    OpenLink("http://" + WebHosts::Load().lyrics + "/", "", "");
}

IMPLEMENT_DYNCREATE(CNoteView, CItemTextView)

CNoteView::CNoteView() : CItemTextView(IDD_NOTE_FORM, IDC_NOTES_EDIT, kNotes)
{
}

void CNoteView::Layout(int cx, int cy)
{
    if (!m_edit.m_hWnd)
        return;
    int left = m_banner.GetWidth();
    m_edit.MoveWindow(left + 1, 0, std::max(0, cx - left), cy);
}
