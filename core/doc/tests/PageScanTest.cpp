#include "tests/support/TestFramework.h"

#include "core/doc/PageScan.h"

#include <string>

namespace {

// A page as the thread hands it over: a text that ends at its first zero.
CString Page(const std::string& text)
{
    return CString(text.c_str());
}

// A literal with the zero bytes it holds.
template <size_t N>
std::string Bytes(const char (&text)[N])
{
    return std::string(text, N - 1);
}

TEST(PageScan, LyricsSearchKey)
{
    const std::pair<const char*, const char*> cases[] = {
        { "The Beatles", " beatles" },
        // Also inside words.
        { "Mother Love Bone", "mor love bone" },
        { "THE OTHERS", " ors" },
        { "Abba", "abba" },
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.second, LyricsSearchKey(c.first)) << c.first;
}

TEST(PageScan, LyricsLinks)
{
    const struct
    {
        const char* what;
        std::string page;
        const char* text;
        const char* result;
    } cases[] = {
        { "text", "<a href=\"text.html?id=123\">Song</a>", "/text.html?id=123", "" },
        { "result", "<a href=\"search.html?id=77\">More</a>", "", "/search.html?id=77" },
        { "both", "<a href=search.html?id=7>x</a><a href=text.html?id=8>y</a>", "/text.html?id=8",
          "/search.html?id=7" },
        { "first", "text.html?id=1\" text.html?id=2\"", "/text.html?id=1", "" },
        { "query", "<a href=\"text.html?id=5&amp;page=2\">", "/text.html?id=5", "" },
        { "blank", "<a href=\"text.html?id=12 34\">", "", "" },
        { "quote", "<a href='text.html?id=12'>", "", "" },
        { "control", "<a href=\"text.html?id=1\r\nHost: evil\">", "", "" },
        { "non-ASCII", "<a href=\"text.html?id=\xE9t\xE9\">", "", "" },
        { "empty id", "<a href=\"text.html?id=\">", "", "" },
        { "cut", "<a href=\"text.html?id=123", "", "" },
        { "none", "<html>nothing found</html>", "", "" },
        { "binary", Bytes("\x89PNG\0text.html?id=9\">"), "", "" },
        { "huge", std::string(1 << 20, 'x') + "text.html?id=42\">", "/text.html?id=42", "" },
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(c.text, LyricsTextObject(Page(c.page))) << c.what;
        EXPECT_STREQ(c.result, LyricsResultObject(Page(c.page))) << c.what;
    }
}

TEST(PageScan, LyricsPages)
{
    const char kTagged[] = "<html><body><b>Artist:</b> Foo Fighters<br>\n"
                           "<b>Album:</b> The Colour &amp; the Shape<BR/>\n"
                           "<b>Song:</b> Everlong<br>\n"
                           "Hello<br>\nI've waited\nhere for you<br>\n<br>\n"
                           "<i>Everlong</i>&nbsp;<br>\n</body></html>";
    const char kPlain[] = "Artist: A\nAlbum: B\nSong: C\n\n line one\r\nline\ttwo \a\n\n</BODY>";
    const struct
    {
        const char* what;
        std::string page;
        bool found;
        const char* artist;
        const char* album;
        const char* song;
        const char* lyrics;
    } cases[] = {
        // Tagged lines: the source's own line feeds are blanks.
        { "tagged", kTagged, true, "Foo Fighters", "The Colour & the Shape", "Everlong",
          "Hello\r\nI've waited here for you\r\n\r\nEverlong" },
        // Untagged lines: the source's line feeds; control bytes dropped.
        { "plain", kPlain, true, "A", "B", "C", "line one\r\nline\ttwo" },
        { "cut", std::string(kTagged, sizeof kTagged - 16), false },
        { "no song", "Artist: A\nAlbum: B\nlyrics\n</body>", false },
        { "no album", "Artist: A\nSong: C\nlyrics\n</body>", false },
        { "label at the end", "Artist: A\nAlbum: B\nSong:", false },
        { "no lyrics", "Artist: A\nAlbum: B\nSong: C\n<br> &nbsp;\n</body>", false },
        { "binary", Bytes("Artist: A\nAlbum: B\nSong: C\nla\0la\n</body>"), false },
        { "foreign", "<html><body>Please log in</body></html>", false },
        { "huge", "Artist: A\nAlbum: B\nSong: C\n" + std::string(1 << 20, 'l') + "\n</body>", true,
          "A", "B", "C", nullptr },
    };
    for (const auto& c : cases) {
        LyricsPage page;
        ASSERT_EQ(c.found, ParseLyricsPage(Page(c.page), page)) << c.what;
        if (!c.found)
            continue;
        EXPECT_STREQ(c.artist, page.artist) << c.what;
        EXPECT_STREQ(c.album, page.album) << c.what;
        EXPECT_STREQ(c.song, page.song) << c.what;
        if (c.lyrics)
            EXPECT_STREQ(c.lyrics, page.lyrics) << c.what;
        else
            EXPECT_EQ(1 << 20, page.lyrics.GetLength()) << c.what;
    }
}

std::string ResultPage(const std::string& anchors)
{
    return "<html><h1>Music Search Results</h1>" + anchors + "</html>";
}

std::string Quoted(const std::string& link, const std::string& text)
{
    return "<a href=\"/exec/obidos/ASIN" + link + "\">" + text + "</a>";
}

std::string Bare(const std::string& link, const std::string& text)
{
    return "<a href=/exec/obidos/ASIN" + link + ">" + text + "</a>";
}

TEST(PageScan, CoverProducts)
{
    // Scores of 17 and 18 letters within a 50-letter title word.
    const std::string word17(17, 'w');
    const std::string word18(18, 'w');
    const char* title50 = "wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww";
    std::string many;
    for (int i = 0; i < 20000; i++)
        many += Bare("/X" + std::to_string(i), "Let It Be");
    const struct
    {
        const char* what;
        std::string page;
        const char* title;
        const char* product;
    } cases[] = {
        { "best", ResultPage(Quoted("/B1/a", "Let It Be") + Quoted("/B2/b", "ABBEY ROAD (Remastered)") +
                             Quoted("/B3/c", "Abbey Road Live")),
          "Abbey Road", "/exec/obidos/ASIN/B2/b" },
        { "bare", ResultPage(Bare("/B4", "Abbey Road")), "Abbey Road", "/exec/obidos/ASIN/B4" },
        // Bare anchors count only after the last quoted one.
        { "quoted first", ResultPage(Bare("/B5", "Abbey Road") + Quoted("/B6", "Abbey Rd") +
                                     Bare("/B7", "Road")),
          "Abbey Road", "/exec/obidos/ASIN/B7" },
        { "at the floor", ResultPage(Quoted("/B8", word17)), title50, "" },
        { "above the floor", ResultPage(Quoted("/B9", word18)), title50, "/exec/obidos/ASIN/B9" },
        { "one word of three", ResultPage(Quoted("/B10", "Abbey Live Tour")), "Abbey Yellow Submarine",
          "" },
        { "not found", ResultPage(Quoted("/B11", "Abbey Road")) + "unable to find", "Abbey Road", "" },
        { "no result page", Quoted("/B12", "Abbey Road"), "Abbey Road", "" },
        { "blank", ResultPage(Quoted("/B13 x", "Abbey Road")), "Abbey Road", "" },
        { "attribute", ResultPage("<a href=\"/exec/obidos/ASIN/B14\" id=\"x\">Abbey Road</a>"),
          "Abbey Road", "" },
        { "control", ResultPage(Bare("/B15\r\nX", "Abbey Road")), "Abbey Road", "" },
        { "refused, then a good one", ResultPage(Quoted("/B16 x", "Abbey Road") + Quoted("/B17", "Abbey Rd")),
          "Abbey Road", "/exec/obidos/ASIN/B17" },
        { "cut", ResultPage("") + "<a href=\"/exec/obidos/ASIN/B18", "Abbey Road", "" },
        { "binary", ResultPage(std::string("\0", 1) + Quoted("/B19", "Abbey Road")), "Abbey Road", "" },
        // Only the first products are scored, however long the page.
        { "huge", ResultPage(Bare("/B20", "Abbey Road") + many), "Abbey Road", "/exec/obidos/ASIN/B20" },
        { "beyond the scored products", ResultPage(many + Bare("/B21", "Abbey Road")), "Abbey Road", "" },
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.product, PickCoverProduct(Page(c.page), c.title)) << c.what;
}

// The task's cancel flag stops the scan with nothing picked.
TEST(PageScan, CoverProductsStopAtTheCancelFlag)
{
    CString page = Page(ResultPage(Quoted("/B1", "Abbey Road")));
    TaskCancelFlag cancel{0};
    EXPECT_STREQ("/exec/obidos/ASIN/B1", PickCoverProduct(page, "Abbey Road", &cancel));
    cancel = 1;
    EXPECT_STREQ("", PickCoverProduct(page, "Abbey Road", &cancel));
}

TEST(PageScan, CoverImages)
{
    const char* host = "images.shop.test";
    const struct
    {
        const char* what;
        std::string page;
        const char* object;
    } cases[] = {
        { "link", "<a href=\"http://images.shop.test/images/P/B1.01.L.jpg\">big</a>",
          "/images/P/B1.01.L.jpg" },
        { "image", "<td> <img src=\"http://images.shop.test/images/P/B2.jpg\" width=1>",
          "/images/P/B2.jpg" },
        // The link wins over an image shown before it.
        { "both", " <img src=\"http://images.shop.test/images/P/B3.jpg\">"
                  "<a href=\"http://images.shop.test/images/B4.jpg\">",
          "/images/B4.jpg" },
        { "not a product image", " <img src=\"http://images.shop.test/images/logo.gif\">", "" },
        { "other host", "<a href=\"http://other.test/images/P/B5.jpg\">", "" },
        { "other scheme", "<a href=\"ftp://images.shop.test/images/P/B6.jpg\">", "" },
        { "blank", "<a href=\"http://images.shop.test/images/P/B 7.jpg\">", "" },
        { "control", "<a href=\"http://images.shop.test/images/P/B8\r\n.jpg\">", "" },
        { "cut", "<a href=\"http://images.shop.test/images/P/B9", "" },
        { "binary", Bytes("\0<a href=\"http://images.shop.test/images/B10.jpg\">"), "" },
        { "none", "<html>no images</html>", "" },
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.object, FindCoverImage(Page(c.page), host)) << c.what;
    EXPECT_STREQ("", FindCoverImage(Page(cases[0].page), ""));
}

TEST(PageScan, CoverImageExtension)
{
    const struct
    {
        std::string head;
        const char* extension;
    } cases[] = {
        { "GIF89a", ".gif" },
        { "GIF", ".gif" },
        { "\xFF\xD8\xFF\xE0", ".jpg" },
        { "<html>", nullptr },
        { "\x89PNG", nullptr },
        { "GI", nullptr },
        { "\xFF\xD8", nullptr },
        { "", nullptr },
    };
    for (const auto& c : cases) {
        const char* extension = CoverImageExtension((const BYTE*)c.head.data(), (UINT)c.head.size());
        EXPECT_STREQ(c.extension, extension) << c.head;
    }
}

} // namespace
