// Pages of the lyrics site and the cover shop: the first part is the page,
// a second the album title or image host, the bytes the head of an image.
#include "fuzz/FuzzTargets.h"
#include "fuzz/FuzzInput.h"

#include "core/doc/PageScan.h"

int FuzzPageScans(const uint8_t* data, size_t size)
{
    std::vector<CString> parts = SplitInput(data, size);
    const CString& page = parts[0];
    CString second = parts.size() > 1 ? parts[1] : CString("Abbey Road");
    LyricsSearchKey(second);
    LyricsTextObject(page);
    LyricsResultObject(page);
    LyricsPage lyrics;
    ParseLyricsPage(page, lyrics);
    PickCoverProduct(page, second);
    FindCoverImage(page, second);
    CoverImageExtension(data, UINT(size));
    return 0;
}
