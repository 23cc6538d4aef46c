#include "shell/app/DockedViews.h"

#include "shell/views/AlbumListView.h"
#include "shell/views/DetailView.h"
#include "shell/views/DevView.h"
#include "shell/views/ImageView.h"
#include "library/views/KwdView.h"
#include "shell/views/LyricView.h"
#include "library/views/PlayListView.h"
#include "shell/views/PlayerView.h"
#include "shell/views/RatingView.h"
#include "shell/views/SearchView.h"
#include "shell/views/TavlinView.h"
#include "shell/views/TrackListView.h"
#include "shell/views/TaskView.h"

namespace
{
CRuntimeClass* const kTemplateViews[kDocTemplateCount] = {
    RUNTIME_CLASS(CPlayListView), RUNTIME_CLASS(CTavlinView),   RUNTIME_CLASS(CDevView),
    RUNTIME_CLASS(CPlayListView), RUNTIME_CLASS(CPlayerView),   RUNTIME_CLASS(CImageView),
    RUNTIME_CLASS(CAlbumListView), RUNTIME_CLASS(CRatingView),  RUNTIME_CLASS(CLyricView),
    RUNTIME_CLASS(CTrackListView), RUNTIME_CLASS(CSearchView),  RUNTIME_CLASS(CTaskView),
    RUNTIME_CLASS(CNoteView),      RUNTIME_CLASS(CDetailView),  RUNTIME_CLASS(CKwdView),
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
