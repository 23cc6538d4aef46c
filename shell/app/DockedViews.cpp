#include "DockedViews.h"

#include "KwdView.h"
#include "PlayListView.h"
#include "tasks/TaskView.h"

namespace
{
// A view that is not built yet has no class: its template makes nothing and
// its tab is left out.
CRuntimeClass* const kTemplateViews[kDocTemplateCount] = {
    RUNTIME_CLASS(CPlayListView),
    nullptr, // CTavlinView
    nullptr, // CDevView
    RUNTIME_CLASS(CPlayListView),
    nullptr, // CPlayerView
    nullptr, // CImageView
    nullptr, // CAlbumListView
    nullptr, // CRatingView
    nullptr, // CLyricView
    nullptr, // CTrackListView
    nullptr, // CSearchView
    RUNTIME_CLASS(CTaskView),
    nullptr, // CNoteView
    nullptr, // CDetailView
    RUNTIME_CLASS(CKwdView),
};

const DockedView kDockedViews[] = {
    { CMainFrame::kMusicInfo, "Image", 6, 276 },
    { CMainFrame::kMusicInfo, "Details", 14, 273 },
    { CMainFrame::kMusicInfo, "Lyrics", 9, 278 },
    { CMainFrame::kMusicInfo, "Notes", 13, 277 },
    { CMainFrame::kMusicInfo, "Ratings", 8, 344 },
    { CMainFrame::kMusicInfo, "Keywords", 15, 343 },
    { CMainFrame::kLibrary, "Search", 11, 236 },
    { CMainFrame::kPlayer, "Players", 5, 161 },
    { CMainFrame::kPlayer, "Devices", 3, 302 },
    { CMainFrame::kPlayer, "Tasks", 12, 334 },
};
}

CRuntimeClass* GetTemplateViewClass(int number)
{
    if (number < 1 || number > kDocTemplateCount)
        return nullptr;
    return kTemplateViews[number - 1];
}

const DockedView* GetDockedViews(int& count)
{
    count = ARRAYSIZE(kDockedViews);
    return kDockedViews;
}
