// The check list of the keyword view: one row per keyword of the master list
// with an icon telling whether all, some or none of the selected albums or
// tracks carry it. A double click moves a keyword to the next state of the
// selection's mode; keywords are renamed in place, made and deleted here.
#pragma once

#include "library/records/MusicLibrary.h"

#include <afxcmn.h>

#include <vector>

// Which selected albums or tracks carry a keyword.
enum KeywordState
{
    kKeywordNone = 0,
    kKeywordAllAlbums = 1,
    kKeywordSomeAlbums = 2,
    kKeywordAllTracks = 3,
    kKeywordSomeTracks = 4,
};

// What the selection holds: whole albums or tracks, of one album or several.
enum KeywordMode
{
    kModeOneAlbum = 0,
    kModeTracksOfOneAlbum = 1,
    kModeAlbums = 2,
    kModeTracks = 3,
};

struct KeywordItem
{
    CKeyword keyword;
    bool renamed;
    int state;
    int initialState;
};

class CKeywordCtrl : public CListCtrl
{
public:
    // The state a double click moves to.
    static int NextState(int mode, int state, int initialState);

    void SetLibrary(CMusicLibrary* library) { m_library = library; }
    void Fill(const CKeywordStatList& stats, bool onlyWholeAlbums, bool singleAlbum);
    bool HasChanges() const;
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool IsReadOnly() const { return m_readOnly; }
    int GetMode() const { return m_mode; }
    const std::vector<KeywordItem>& GetItems() const { return m_items; }
    // The row of a keyword id, -1 when it is not shown.
    int FindRow(int id);

    void OnKeywordNew();
    void OnKeywordDelete();

protected:
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnBeginLabelEdit(NMHDR* header, LRESULT* result);
    void OnEndLabelEdit(NMHDR* header, LRESULT* result);
    void OnKeyDown(NMHDR* header, LRESULT* result);
    void OnRightClick(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

private:
    // The rows again from the items, deleted keywords left out.
    void Rebuild();
    void ShowState(int row);
    KeywordItem* ItemOfRow(int row);

    CMusicLibrary* m_library = nullptr;
    std::vector<KeywordItem> m_items;
    int m_mode = kModeOneAlbum;
    bool m_readOnly = false;
};
