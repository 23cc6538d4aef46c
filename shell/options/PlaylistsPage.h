// Options page "Playlists": what random play keeps around the current item
// and the play list kept across runs.
#pragma once

#include "shell/options/OptionsPage.h"
#include "core/doc/ZymOptions.h"

class CPlaylistsPage : public COptionsPage
{
public:
    // Random play fills this many items at most on either side.
    enum { kMaxKeptItems = 1000 };

    CPlaylistsPage(CPage3& values, COptionsHost& host);

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    CPage3& m_values;
};
