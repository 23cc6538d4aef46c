// What the library's views and the task view ask of the document.
#include "core/doc/ZymDoc.h"

#include <algorithm>

namespace {

// Colour rows: 0 for no player, 1 for the MP3 player, then the changers.
const int kNoPlayerRow = 0;
const int kMp3Row = 1;
const int kFirstChangerRow = 2;

} // namespace

CPlayList* CZymDoc::GetLastPlayList()
{
    return m_playLists.GetLast();
}

bool CZymDoc::IsPlayingList(const CPlayList* list)
{
    return list && list == m_playList.get();
}

// The document plays its own list; the views show no other yet.
void CZymDoc::SetPlayingList(CPlayList* list)
{
    if (list == m_playList.get())
        m_playLists.StopOthers(list);
}

void CZymDoc::PlayPlayingList()
{
    OnPlaylistPlay();
}

void CZymDoc::GetPlayerColors(int player, COLORREF& text, COLORREF& background)
{
    int row = player == kMp3Player ? kMp3Row : player < 0 ? kNoPlayerRow : player + kFirstChangerRow;
    row = std::min(row, static_cast<int>(CPage8::kColorRows) - 1);
    text = m_options.m_page8.m_foreground[row];
    background = m_options.m_page8.m_background[row];
}
