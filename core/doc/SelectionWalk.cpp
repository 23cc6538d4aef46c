#include "core/doc/SelectionWalk.h"

#include "core/doc/ZymDoc.h"

namespace {

const DWORD kProgressDialog = 1;

} // namespace

void WalkSelection(CZymDoc& doc, const char* name, volatile BYTE& cancel,
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

bool CopyEntryAlbum(CZymDoc& doc, CLibItem& item, AlbumRecord& out)
{
    CMusicLibrary& library = doc.GetMusicLibrary();
    CLibraryLock lock(library);
    AlbumRecord* album = item.GetAlbum(lock, library);
    if (!album)
        return false;
    out = *album;
    return true;
}
