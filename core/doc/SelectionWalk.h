// The walk of the lyrics and cover commands over the selection.
#pragma once

#include "devices/util/TaskCancelFlag.h"
#include "library/records/AlbumRecord.h"

#include <afx.h>

#include <functional>

class CLibItem;
class CLibraryDocument;

// Runs step for each entry of a copy of the document's selection (so that the
// user may select other items meanwhile) as the task name, with the cancel
// flag and a progress dialog; stops before the next entry once the flag is
// set. step gets the entry and the task's id.
void WalkSelection(CLibraryDocument& doc, const char* name, TaskCancelFlag& cancel,
                   const std::function<void(CLibItem& item, int task)>& step);

// A copy of the entry's album; false when the library has none.
bool CopyEntryAlbum(CLibraryDocument& doc, CLibItem& item, AlbumRecord& out);
