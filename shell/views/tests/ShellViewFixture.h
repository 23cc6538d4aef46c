// A real document with views of the jukebox, each in a frame of its own on
// the display; the hints every view sends are recorded in the trace.
#pragma once

#include "tests/support/doc/DocFixture.h"
#include "tests/support/views/ViewFixture.h"
#include "listctrl/LxListCtrl.h"

#include <functional>
#include <memory>
#include <vector>

// Albums the tests add: a changer disc, an audio-file album and another.
const char kCdId[] = "00000000000000C1";
const char kMp3Id[] = "00000000000000A1";
const char kOtherId[] = "00000000000000B1";

class ShellViewFixture : public DocFixture
{
protected:
    ShellViewFixture();
    ~ShellViewFixture() override;

    // A view of the class in a frame of its own; null when none was made.
    template <class View> View* Show(CRuntimeClass* viewClass)
    {
        m_frames.emplace_back(new CViewFrame(*m_doc, viewClass));
        return dynamic_cast<View*>(m_frames.back()->GetView());
    }
    // An album with tracks "T1".."Tn" (artist "Band"), on the MP3 player or
    // in slot slot of changer 0; its index in the library.
    int AddAlbum(const char* id, const char* title, int tracks, bool mp3, int slot = 1);
    // The selection as "id:track" lines.
    Texts Selection();
    // The titles of an album's tracks in order.
    Texts TrackTitles(const char* id);
    // Titles the album's tracks "T1".."Tn" again, in their order.
    void RetitleTracks(int albumIndex);
    // The text the view gives a cell of a column id (shown or not).
    static std::string Cell(CLxListCtrl& list, DWORD_PTR itemData, int columnId);
    // The cells of every row, in row order.
    static Texts Column(CLxListCtrl& list, int columnId);
    // A shell drop of these files as the shell builds it; the caller frees it.
    static HDROP MakeDrop(const std::vector<std::string>& paths);
    static void SelectRows(CLxListCtrl& list, std::initializer_list<int> rows);
    // Runs open, which should track a popup menu; while it shows, reads its
    // item ids (0 for a separator) and picks the item at position pick (or
    // none when pick is -1). Empty when no menu showed.
    static std::vector<UINT> PickFromMenu(const std::function<void()>& open, int pick);

    std::vector<std::unique_ptr<CViewFrame>> m_frames;
};
