// A search expression, parsed as the search command does (lower case, errors
// quiet) and evaluated on an album and each of its tracks.
#include "fuzz/FuzzTargets.h"
#include "fuzz/FuzzInput.h"

#include "library/records/MusicLibrary.h"
#include "library/search/Expr.h"

int FuzzSearch(const uint8_t* data, size_t size)
{
    static CMusicLibrary library;
    CString text = SplitInput(data, size)[0];
    text.MakeLower();
    CExpr expr;
    expr.ShowErrors(false);
    if (!expr.Parse(text, library.GetRatingNames(), library.GetRatingCount()))
        return 0;
    AlbumRecord album = library.NewAlbum();
    album.SetTrackCount(2);
    album.SetTitle(-1, "Abbey Road");
    album.SetTitle(0, "Come Together");
    album.SetArtist(-1, "Band");
    for (int track = -1; track < album.GetTrackCount(); track++)
        expr.Evaluate(album, track);
    expr.Dump();
    return 0;
}
