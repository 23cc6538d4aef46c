// The outside web sites that the lyrics and cover look-ups ask: profile
// values of "Options" that no options page shows, read when a look-up starts.
#pragma once

#include <afx.h>

struct WebHosts
{
    CString lyrics; // "Lyrics Host"
    CString shop;   // "Cover Shop Host": search and product pages
    CString images; // "Cover Image Host": the shop's images

    static WebHosts Load();
};
