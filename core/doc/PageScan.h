// Scans of the pages the lyrics site and the cover shop answer with, and the
// search keys sent to them. A link or id taken from a page goes into the next
// request line, so one holding blanks, quotes, control or non-ASCII bytes is
// refused; a page cut short or without its marks yields nothing.
#pragma once

#include <afx.h>

#include "devices/util/TaskCancelFlag.h"

// ---- lyrics site

// Lower-cased with every "the" taken out, also inside words ("others" gives
// "ors"): the site's own search keys are made that way.
CString LyricsSearchKey(const CString& text);

// "/text.html?id=" and the id behind the page's first "text.html?id=";
// empty when there is none or its id is refused.
CString LyricsTextObject(const CString& page);
// The same for a search result page: "/search.html?id=" and its id.
CString LyricsResultObject(const CString& page);

struct LyricsPage
{
    CString artist;
    CString album;
    CString song;
    CString lyrics; // lines end in CR LF
};

// The texts behind "Artist:", "Album:" and "Song:" (to the end of their line,
// tags removed) and the lyrics from the line after "Song:" up to "</body>";
// false when a label or the end mark is missing or no lyrics are there.
bool ParseLyricsPage(const CString& page, LyricsPage& out);

// ---- cover shop

// A product is picked only when it scores above this against the title.
extern const double kCoverScoreFloor;

// On a music search result page, the object ("/exec/obidos/ASIN...") of the
// product whose link text best matches the album title; empty when the page
// is no result page or no product scores above kCoverScoreFloor. Only the
// first products and the start of long texts are scored; the scan stops
// with nothing once *cancel (the task's cancel flag, when given) is set.
CString PickCoverProduct(const CString& page, const CString& albumTitle, const TaskCancelFlag* cancel = nullptr);

// The object ("/images/...") of the cover image on imageHost that page links
// to or shows; empty when there is none.
CString FindCoverImage(const CString& page, const CString& imageHost);

// ".gif" or ".jpg" for the first bytes of a GIF or JPEG file, null for
// anything else (an error page saved as the image, say).
const char* CoverImageExtension(const BYTE* head, UINT length);
