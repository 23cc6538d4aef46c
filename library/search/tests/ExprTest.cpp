#include "tests/support/TestFramework.h"
#include "tests/support/MessageBoxScript.h"

#include "library/search/Expr.h"

#include <set>
#include <string>
#include <vector>

namespace {

const CString kRatingNames[] = {"like", "happy", "tempo", "danceable"};
const int kRatingCount = 4;

std::string Parsed(const char* text)
{
    CExpr expr;
    CMessageBoxScript boxes;
    if (!expr.Parse(text, kRatingNames, kRatingCount))
        return "error: " + std::string(expr.GetError());
    return std::string(expr.Dump());
}

COleDateTime DaysAgo(double days)
{
    return COleDateTime::GetCurrentTime() - COleDateTimeSpan(days);
}

// Four albums whose fields tell the comparisons apart. Matches are written
// "album:track", the album itself as "album:-1".
class ExprTest : public ::testing::Test
{
protected:
    ExprTest()
    {
        AlbumRecord abbey = NewAlbum("Abbey Road", "The Beatles", {200, 259, 300});
        abbey.SetTitle(0, "Come Together");
        abbey.SetTitle(1, "Something");
        abbey.SetTitle(2, "Oh! Darling");
        abbey.SetArtist(2, "Paul");
        abbey.SetKeywordText(kAlbumIndex, "rocknroll british");
        abbey.SetKeywordText(1, "ballad");
        abbey.SetPlayer(1);
        abbey.SetSlot(4);
        abbey.SetPresent(true);
        abbey.SetRating(kAlbumIndex, 0, 4);
        abbey.SetRating(1, 0, 2);
        abbey.GetRecord(kAlbumIndex)->m_added = DaysAgo(3);
        abbey.GetRecord(0)->m_timesPlayed = 5;
        abbey.GetRecord(1)->m_timePlayed = 600;
        abbey.SetReleased(kAlbumIndex, "1969");
        abbey.SetLyrics(kAlbumIndex, "all you need is love");
        abbey.SetLyrics(0, "here come old flat top");
        m_albums.push_back(abbey);

        AlbumRecord kind = NewAlbum("Kind of Blue", "Miles Davis", {545, 566});
        kind.SetTitle(0, "So What");
        kind.SetTitle(1, "Freddie Freeloader");
        kind.SetKeywordText(kAlbumIndex, "jazz rock");
        kind.SetNotes(kAlbumIndex, "recorded live in the studio");
        kind.SetNotes(1, "blues");
        kind.SetMemo(kAlbumIndex, "MEMO one");
        kind.SetMemo(1, "xyz");
        kind.GetRecord(kAlbumIndex)->m_added = DaysAgo(30);
        kind.SetReleased(kAlbumIndex, "1959");
        kind.SetPlayer(kMp3Player);
        kind.SetPresent(true);
        m_albums.push_back(kind);

        AlbumRecord live = NewAlbum("Live", "Beatles Tribute", {100});
        live.SetTitle(0, "Zebra");
        live.SetNotes(0, "alive and kicking");
        live.GetRecord(kAlbumIndex)->m_added = DaysAgo(400);
        m_albums.push_back(live);
    }

    AlbumRecord NewAlbum(const char* title, const char* artist, std::vector<int> seconds)
    {
        AlbumRecord album(kRatingCount, kRatingNames);
        album.SetTrackCount(static_cast<int>(seconds.size()));
        album.SetTitle(kAlbumIndex, title);
        album.SetArtist(kAlbumIndex, artist);
        for (size_t t = 0; t < seconds.size(); ++t)
            album.SetPlayTime(static_cast<int>(t), seconds[t]);
        return album;
    }

    // Every album and track the expression holds for.
    std::set<std::string> Select(const char* text)
    {
        CExpr expr;
        CMessageBoxScript boxes;
        std::set<std::string> found;
        if (!expr.Parse(text, kRatingNames, kRatingCount))
        {
            found.insert("error: " + std::string(expr.GetError()));
            return found;
        }
        for (size_t a = 0; a < m_albums.size(); ++a)
        {
            for (int t = kAlbumIndex; t < m_albums[a].GetTrackCount(); ++t)
            {
                if (expr.Evaluate(m_albums[a], t))
                    found.insert(std::to_string(a) + ":" + std::to_string(t));
            }
        }
        return found;
    }

    std::vector<AlbumRecord> m_albums;
};

} // namespace

TEST(ExprTreeTest, TextsBecomeTrees)
{
    const struct
    {
        const char* text;
        const char* tree;
    } cases[] = {
        {"title = x", "title = x"},
        {"beatles", "(((artist = beatles | title = beatles) | album = beatles) | keyword = beatles)"},
        {"ti = a | ar = b & al = c", "(ti = a | (ar = b & al = c))"},
        {"! ti = a & ar = b", "(!(ti = a) & ar = b)"},
        {"ti = a & ar = b & al = c", "((ti = a & ar = b) & al = c)"},
        {"ti = a ^ ar = b | al = c", "(ti = a ^ (ar = b | al = c))"},
        {"not ti = a and ar = b or al = c xor mo = d", "(((!(ti = a) & ar = b) | al = c) ^ mo = d)"},
        {"ti = a && ar = b || al = c", "((ti = a & ar = b) | al = c)"},
        {"(artist | title) = x", "(artist = x | title = x)"},
        {"title = (x | y)", "(title = x | title = y)"},
        {"(ar | ti) = (x | y)", "((ar = x | ar = y) | (ti = x | ti = y))"},
        {"ti = a & (ar = b | al = c)", "(ti = a & (ar = b | al = c))"},
        {"!(ti = a | ar = b)", "!((ti = a | ar = b))"},
        {"! ! ti = a", "!(!(ti = a))"},
        {"ti = \"a (b) & c\"", "ti = a (b) & c"},
        {"ti==a", "ti == a"},
        {"like > 3 | danceable < 2", "(like > 3 | danceable < 2)"},
        {"  title  =  x  ", "title = x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.tree, Parsed(c.text)) << c.text;
}

TEST(ExprTreeTest, EveryParseErrorIsShownAndKept)
{
    const struct
    {
        const char* text;
        const char* error;
    } cases[] = {
        {"", "Unexpected end to expression"},
        {"   ", "Unexpected end to expression"},
        {"title >= x", "Unknown comparison [>=]"},
        {"title =< x", "Unknown comparison [=<]"},
        {"title <> x", "Unknown comparison [<>]"},
        {"title === x", "Unknown comparison [===]"},
        {"title = \"abc", "No matching closing quote found"},
        {"title =", "Missing operand"},
        {"(artist | title) =", "Missing operand"},
        {"title = x &", "Boolean AND missing operand"},
        {"title = x |", "Boolean OR missing operand"},
        {"title = x ^", "Boolean XOR missing operand"},
        {"title = x & !", "Boolean NOT missing operand"},
        {"& title = x", "Boolean operator [&] requires a left-hand operand"},
        {"or title = x", "Boolean operator [or] requires a left-hand operand"},
        {"title = x & & artist = y", "Boolean operator [&] not allowed to follow directly after another boolean operator"},
        {"= x", "Comparison operator [=] unexpected"},
        {"title=x&artist=y", "Comparison operator [=] unexpected"},
        {"title x", "Comparison operator expected"},
        {"title = & x", "Value expected"},
        {"x y", "Value [x] unexpected"},
        {"title = x y", "Value [y] unexpected"},
        {"title = x & y", "Value [y] unexpected"},
        {"title = x title = y", "Field [title] unexpected"},
        {"title = x (", "Opening parenthesis illegal immediately after operand"},
        {"()", "Empty / unmatched parentheses illegal"},
        {"title = x )", "Empty / unmatched parentheses illegal"},
        {"(title = x))", "Empty / unmatched parentheses illegal"},
    };
    for (const auto& c : cases)
    {
        CExpr expr;
        CMessageBoxScript boxes;
        EXPECT_EQ(0, expr.Parse(c.text, kRatingNames, kRatingCount)) << c.text;
        EXPECT_EQ(std::string(c.error), std::string(expr.GetError())) << c.text;
        std::vector<ShownMessageBox> shown = boxes.Shown();
        ASSERT_EQ(1u, shown.size()) << c.text;
        EXPECT_EQ(std::string(c.error), shown[0].text) << c.text;
        EXPECT_EQ(unsigned(MB_OK), shown[0].type & 0xF) << c.text;
    }
}

TEST(ExprTreeTest, DeepNestingIsRefusedInsteadOfOverflowingTheStack)
{
    const struct
    {
        int depth;
        bool parses;
    } cases[] = {{150, true}, {100000, false}};
    AlbumRecord album(kRatingCount, kRatingNames);
    album.SetTrackCount(1);
    album.SetTitle(0, "X");
    for (const auto& c : cases)
    {
        std::string text = std::string(c.depth, '(') + "title = x" + std::string(c.depth, ')');
        CExpr expr;
        CMessageBoxScript boxes;
        EXPECT_EQ(c.parses ? 1 : 0, expr.Parse(text.c_str(), kRatingNames, kRatingCount)) << c.depth;
        if (c.parses)
        {
            EXPECT_EQ(1, expr.Evaluate(album, 0));
        }
        else
        {
            EXPECT_EQ(std::string("Expression nested too deeply"), std::string(expr.GetError()));
        }
    }
    std::string nots;
    for (int i = 0; i < 100000; ++i)
        nots += "! ";
    CExpr expr;
    CMessageBoxScript boxes;
    EXPECT_EQ(0, expr.Parse((nots + "title = x").c_str(), kRatingNames, kRatingCount));
    EXPECT_EQ(std::string("Expression nested too deeply"), std::string(expr.GetError()));
}

// Each further "= (x | title)" after a group of fields doubles the spread
// comparisons: a text of 114 bytes once took a minute and gigabytes.
TEST(ExprTreeTest, ComparisonsSpreadOverGroupsAreBounded)
{
    const struct
    {
        int repeats;
        const char* result;
    } cases[] = {
        {1, "error: Boolean OR missing operand"},
        {7, "error: Expression too complex"},
        {8, "error: Expression too complex"},
        {40, "error: Expression too complex"},
    };
    for (const auto& c : cases)
    {
        std::string text = "(title | artist)";
        for (int i = 0; i < c.repeats; ++i)
            text += " = (x | title)";
        EXPECT_EQ(c.result, Parsed(text.c_str())) << c.repeats;
    }
    // A wide search that is typed in practice still parses.
    EXPECT_EQ("((((artist = a | artist = b) | artist = c) | ((title = a | title = b) | title = c)) | "
              "((album = a | album = b) | album = c))",
              Parsed("(artist | title | album) = (a | b | c)"));
}

TEST_F(ExprTest, SearchTextsSelectAlbumsAndTracks)
{
    typedef std::set<std::string> S;
    const struct
    {
        const char* text;
        S matches;
    } cases[] = {
        // A lone value: artist, title, album title or keywords.
        {"beatles", {"0:-1", "0:0", "0:1", "2:-1", "2:0"}},
        {"something", {"0:1"}},
        {"title = something", {"0:1"}},
        {"artist = paul", {"0:2"}},
        {"album = blue", {"1:-1", "1:0", "1:1"}},
        {"title == \"abbey road\"", {"0:-1"}},
        {"title < b", {"0:-1"}},
        {"title > \"so what\"", {"0:1", "2:0"}},
        {"title > so", {"0:1", "1:0", "2:0"}},
        // Keywords of the album, then of the track; == takes whole words.
        {"keyword = rock", {"0:-1", "0:0", "0:1", "0:2", "1:-1", "1:0", "1:1"}},
        {"keyword == rock", {"1:-1", "1:0", "1:1"}},
        {"kw == ballad", {"0:1"}},
        {"notes == live", {"1:-1", "1:0", "1:1"}},
        {"notes = live", {"1:-1", "1:0", "1:1", "2:0"}},
        {"lyrics == love", {"0:-1", "0:1", "0:2"}},
        {"memo = xyz", {"1:1"}},
        // Matches at either end of a text, after a false start, and cut off by its end.
        {"title = ling", {"0:2"}},
        {"title = darlings", {}},
        {"title = ddie", {"1:1"}},
        {"title = SOME", {"0:1"}},
        {"keyword == british", {"0:-1", "0:0", "0:1", "0:2"}},
        {"keyword == rocknroll", {"0:-1", "0:0", "0:1", "0:2"}},
        {"keyword == roll | keyword == ballads", {}},
        {"mo = one", {"1:-1", "1:0", "1:1"}},
        // Numbers, minutes:seconds and players.
        {"playtime > 4:30", {"0:-1", "0:2", "1:-1", "1:0", "1:1"}},
        {"pt < 200 & pt > 99", {"2:-1", "2:0"}},
        {"timesplayed > 3", {"0:0"}},
        {"timeplayed = 10:00", {"0:1"}},
        {"player = 2", {"0:-1", "0:0", "0:1", "0:2"}},
        {"pl = 0", {"2:-1", "2:0"}},
        {"player = 1002", {"1:-1", "1:0", "1:1"}},
        // A track's rating, else the album's.
        {"like > 3", {"0:-1", "0:0", "0:2"}},
        {"like = 2", {"0:1"}},
        // Ages: "< 2w" is newer than two weeks.
        {"timeadded < 2w", {"0:-1", "0:0", "0:1", "0:2"}},
        {"ta > 2w & ta < 1y", {"1:-1", "1:0", "1:1"}},
        {"ta > 40d", {"2:-1", "2:0"}},
        // An unset date is the earliest of all.
        {"timereleased < 1/1/1960", {"1:-1", "1:0", "1:1", "2:-1", "2:0"}},
        {"timereleased > 12/31/1968 & tr < 1/2/1969", {"0:-1", "0:0", "0:1", "0:2"}},
        // Precedence as evaluated.
        {"artist = miles | title = zebra & album = nothing", {"1:-1", "1:0", "1:1"}},
        {"! title = so & artist = miles", {"1:-1", "1:1"}},
        {"artist = beatles ^ title = zebra", {"0:-1", "0:0", "0:1", "2:-1"}},
        {"(artist | album) = (paul | live)", {"0:2", "2:-1", "2:0"}},
        {"title = \"oh! darling\"", {"0:2"}},
        // Ages beyond any calendar give no date to compare with.
        {"ta < infd | ta > nany | ta = 1e308y | ta < -1e308w", {}},
        // Numbers beyond any count saturate.
        {"timesplayed > 1e400 | pt > 99999999999:00 | nt = nan", {"0:-1", "0:1", "0:2", "1:-1", "1:0", "1:1", "2:-1", "2:0"}},
        {"timesplayed > -1e400 & pt < 99999999999999999999", {"0:-1", "0:0", "0:1", "0:2", "1:-1", "1:0", "1:1", "2:-1", "2:0"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.matches, Select(c.text)) << c.text;
}

// Calendar dates are month first whatever the user's locale says.
TEST_F(ExprTest, DatesReadTheSameUnderAnotherLocale)
{
    const char kText[] = "timereleased > 12/31/1968 & tr < 1/2/1969";
    std::set<std::string> expected = Select(kText);
    EXPECT_EQ(4u, expected.size());
    LCID previous = GetThreadLocale();
    SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
    std::set<std::string> german = Select(kText);
    SetThreadLocale(previous);
    EXPECT_EQ(expected, german);
}

TEST(ExprTreeTest, TokenKindsAreShownOneLetterEach)
{
    ExprTokens tokens(6);
    const int kinds[] = {kTokenOpen, kTokenField, kTokenComparison, kTokenValue, kTokenClose, kTokenBoolean};
    for (int i = 0; i < 6; ++i)
        tokens[i].kind = kinds[i];
    CMessageBoxScript boxes;
    CExpr::DumpTokens(tokens);
    ASSERT_EQ(1u, boxes.Shown().size());
    EXPECT_EQ("(F=V)B", boxes.Shown()[0].text);
}

TEST(ExprEvaluateTest, RatingBeyondTheAlbumsCategoriesIsFalse)
{
    AlbumRecord album;
    album.SetTrackCount(1);
    CExpr expr;
    CMessageBoxScript boxes;
    ASSERT_EQ(1, expr.Parse("tempo = 0", kRatingNames, kRatingCount));
    EXPECT_EQ(0, expr.Evaluate(album, 0));
    EXPECT_EQ(0, expr.Evaluate(album, 5));
}
