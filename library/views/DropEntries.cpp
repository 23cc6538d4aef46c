#include "library/views/DropEntries.h"

#include <algorithm>

int DropEntries(CPlayList& list, const char* text, int position, const std::vector<int>* moved, int pointerInDrag)
{
    CPlayList dropped(list.GetLibrary());
    dropped.AppendFromText(text);
    int count = dropped.GetCount();
    if (count == 0)
        return 0;
    position = std::max(0, std::min(position, list.GetCount()));
    bool takePointer = moved && pointerInDrag >= 0;
    if (takePointer)
        dropped.SetPointer(pointerInDrag);
    list.InsertList(dropped, position, takePointer);
    if (!moved)
        return count;
    // The originals behind the insertion moved down by what came in; they
    // go from the last, so that the ones before stay where they are.
    std::vector<int> originals;
    for (int index : *moved)
        originals.push_back(index >= position ? index + count : index);
    std::sort(originals.rbegin(), originals.rend());
    originals.erase(std::unique(originals.begin(), originals.end()), originals.end());
    for (int index : originals)
        list.RemoveAt(index);
    return count;
}
