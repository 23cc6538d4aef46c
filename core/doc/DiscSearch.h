// The disc search: walks the slots of the changers by the document's search
// settings, loads each slot that needs checking and identifies the discs it
// finds, in passes until a pass loads nothing (one pass when every slot is
// checked). Runs as the task "FindDisc" on the GUI thread, pumping messages,
// with the status polls switched off and the play list stopped.
#pragma once

#include "core/doc/DiscSearchSettings.h"
#include "devices/util/TaskCancelFlag.h"

#include <afx.h>

#include <utility>
#include <vector>

class CSonyPlayer;
class CPlaylistDocument;
struct IdentifiedDisc;

class CDiscSearch
{
public:
    enum Mode { kEmptySlots = 0, kUnknownSlots = 1, kAllSlots = 2 };

    explicit CDiscSearch(CPlaylistDocument& doc) : m_doc(doc) {}

    void SearchDiscs();

private:
    // One walk over the changers; the number of slots whose changer answered
    // a load.
    int RunPass(int mode, int pass);
    void SearchChanger(int changer, CSonyPlayer& player, int mode, int pass, int& loaded);
    bool IsSkipped(int changer, int slot) const;
    bool NeedsCheck(int changer, const CSonyPlayer& player, int slot, int mode) const;
    // Whether checking the slot taught anything.
    bool Check(int changer, CSonyPlayer& player, int slot, int mode);
    bool Glance(CSonyPlayer& player, int slot);
    // Loads the slot, and identifies a disc found there.
    bool LoadAndIdentify(int changer, CSonyPlayer& player, int slot);
    bool Load(CSonyPlayer& player, int slot);
    void CheckDuplicate(int changer, int slot, const IdentifiedDisc& disc);
    void SetTitle(int mode, int pass);
    void SetStatus(const CString& text);
    bool Prepare(CSonyPlayer& player);

    CPlaylistDocument& m_doc;
    DiscSearchSettings m_settings;
    // Pairs of changer and slot the search leaves alone.
    std::vector<std::pair<int, int>> m_excluded;
    int m_task = 0;
    int m_position = 0;
    int m_total = 0;
    TaskCancelFlag m_cancel{0};
};
