// The changer's table of up to 200 artist names, and how the names a memo
// upload wants are placed in it: a name the changer already holds keeps its
// number; a new name takes the least used record (the first of equals) that
// no wanted name holds.
#pragma once

#include <afx.h>

#include <vector>

struct ArtistRecord
{
    CString name;   // trailing blanks removed
    int number;     // 1-200
    int usage;      // slots that carry the number; kArtistReserved once a wanted name holds it
};

enum { kArtistRecords = 200, kArtistReserved = 99999 };

// The distinct names, those carried by most discs first (equal counts in the
// order they first appear); empty names are no artist and left out.
std::vector<CString> RankArtists(const std::vector<CString>& discArtists);

// Places the wanted names into the records. A wanted name that finds no free
// record is left out (its discs get no artist) rather than take a record
// another wanted name holds.
void PlaceArtists(std::vector<ArtistRecord>& records, const std::vector<CString>& wanted);
