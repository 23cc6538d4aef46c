#include "core/doc/SelectionWalk.h"

#include "core/doc/LibraryDocument.h"
#include "core/doc/ZymOptions.h"
#include "core/tasks/TaskMgr.h"
#include "library/playlist/PlayList.h"
#include "library/records/MusicLibrary.h"
#include "library/views/ViewsHost.h"
#include "library/web/CDDBClient.h"

namespace {

const DWORD kProgressDialog = 1;

} // namespace

void WalkSelection(CLibraryDocument& doc, const char* name, TaskCancelFlag& cancel,
                   const std::function<void(CLibItem& item, int task)>& step)
{
    CPlayList entries(doc.GetSelectionList());
    cancel = 0;
    CTaskMgr& tasks = doc.GetTaskMgr();
    int task = tasks.CreateTask(name, &cancel, kProgressDialog);
    for (int i = 0; i < entries.GetCount() && !cancel; ++i)
    {
        CLibItem item = entries.GetItem(i);
        step(item, task);
    }
    tasks.EndTask(task);
}

bool CopyEntryAlbum(CLibraryDocument& doc, CLibItem& item, AlbumRecord& out)
{
    CMusicLibrary& library = doc.GetMusicLibrary();
    CLibraryLock lock(library);
    AlbumRecord* album = item.GetAlbum(lock, library);
    if (!album)
        return false;
    out = *album;
    return true;
}
