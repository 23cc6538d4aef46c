// The questions a changer is asked about a disc, a track, a group or an
// artist. A place the bus cannot carry is refused: nothing is sent and the
// question gives false.
#pragma once

#include <afx.h>

class CChangerLink;
class CChangerStateStore;

class CChangerQueries
{
public:
    CChangerQueries(CChangerLink& link, const CChangerStateStore& store) : m_link(link), m_store(store) {}

    BOOL QueryDisc(int disc);
    BOOL QueryTrack(int disc, int track);
    BOOL QueryMemoText(int disc);
    BOOL QueryMemoText2(int disc);
    BOOL QueryDeleteFile(int disc);
    BOOL QueryCdText(int track);
    BOOL QueryGroupText(int group);
    BOOL QueryGroupDiscs(int group);
    BOOL QueryArtistMemo(int artist);
    BOOL QueryArtistData(int packet);

private:
    BOOL SendDiscQuery(const char* word, int disc);
    BOOL SendArgumentQuery(const char* format, int value);

    CChangerLink& m_link;
    const CChangerStateStore& m_store;
};
