#include "core/doc/PageScan.h"

#include "core/doc/TextMatch.h"

#include <string.h>

#include <string>

const double kCoverScoreFloor = 0.34;

namespace {

const char kTextMark[] = "text.html?id=";
const char kResultMark[] = "search.html?id=";
// An id ends at the closing quote of its link, the end of its tag or the
// next query field.
const char kIdEnds[] = "\">&";
const char kBodyEnd[] = "</body>";
const char kLineBreakTag[] = "<br";

// A product link or its text longer than this is no link of the shop's; the
// bound also keeps the scan of a long page linear.
const int kMaxLinkLength = 2048;
// A result page lists a few dozen products. Scoring compares every word of a
// link text with every word of the title, so the anchors scored and the text
// compared on each side are bounded: a huge page or title costs no more than
// this many.
const int kMaxScoredAnchors = 200;
const int kMaxScoredText = 256;

struct Entity
{
    const char* text;
    char ch;
};
const Entity kEntities[] = {
    { "&amp;", '&' }, { "&lt;", '<' }, { "&gt;", '>' }, { "&quot;", '"' }, { "&#39;", '\'' }, { "&nbsp;", ' ' },
};

// Tags that end a line of text.
const char* const kBreakTags[] = { "br", "p", "/p", "div", "/div" };

// The two forms of product anchor on a result page: the link runs from behind
// the slash to the end mark, its text from there to the next "<".
struct AnchorForm
{
    const char* anchor;
    int linkOffset;
    const char* end;
};
const AnchorForm kQuotedAnchor = { "a href=\"/exec/obidos/ASIN", 9, "\">" };
const AnchorForm kBareAnchor = { "a href=/exec/obidos/ASIN", 8, ">" };

bool IsSafeUrlText(const CString& text)
{
    if (text.IsEmpty())
        return false;
    for (const unsigned char* p = (const unsigned char*)(LPCSTR)text; *p; p++) {
        if (*p <= ' ' || *p >= 0x7F || strchr("\"'<>\\`", *p))
            return false;
    }
    return true;
}

CString LinkedObject(const CString& page, const char* mark, const char* object)
{
    int at = page.Find(mark);
    if (at < 0)
        return CString();
    const char* id = (LPCSTR)page + at + strlen(mark);
    size_t length = strcspn(id, kIdEnds);
    // Without its end the id may be cut along with the page.
    if (id[length] == '\0')
        return CString();
    CString text(id, (int)length);
    return IsSafeUrlText(text) ? CString(object) + text : CString();
}

bool IsBreakTag(const CString& tag)
{
    CString name = tag.SpanExcluding(" \t\r\n>");
    name.MakeLower();
    name.TrimRight("/");
    for (const char* breakTag : kBreakTags) {
        if (name == breakTag)
            return true;
    }
    return false;
}

// Index of the entity at p, -1 when none.
int EntityAt(const char* p)
{
    for (int i = 0; i < (int)(sizeof kEntities / sizeof kEntities[0]); i++) {
        if (strncmp(p, kEntities[i].text, strlen(kEntities[i].text)) == 0)
            return i;
    }
    return -1;
}

// The page's text with tags removed, line-ending tags (and, with rawBreaks,
// the source's own line feeds) as line feeds, entities decoded and other
// control bytes dropped.
CString HtmlToText(const CString& html, bool rawBreaks)
{
    std::string out;
    const char* p = html;
    while (*p) {
        if (*p == '<') {
            const char* close = strchr(p, '>');
            if (!close)
                break;
            if (IsBreakTag(CString(p + 1, (int)(close - p - 1))))
                out += '\n';
            p = close + 1;
            continue;
        }
        int entity = *p == '&' ? EntityAt(p) : -1;
        if (entity >= 0) {
            out += kEntities[entity].ch;
            p += strlen(kEntities[entity].text);
            continue;
        }
        if (*p == '\n')
            out += rawBreaks ? '\n' : ' ';
        else if ((unsigned char)*p >= ' ' || *p == '\t')
            out += *p;
        p++;
    }
    return CString(out.c_str(), (int)out.size());
}

// Lines trimmed, blank lines at both ends dropped, joined with CR LF.
CString JoinLines(const CString& text)
{
    CString out;
    CString blanks;
    const char* p = text;
    for (;;) {
        size_t length = strcspn(p, "\n");
        CString line(p, (int)length);
        line.TrimLeft();
        line.TrimRight();
        if (line.IsEmpty()) {
            if (!out.IsEmpty())
                blanks += "\r\n";
        } else {
            if (!out.IsEmpty())
                out += "\r\n" + blanks;
            out += line;
            blanks.Empty();
        }
        if (p[length] == '\0')
            break;
        p += length + 1;
    }
    return out;
}

// Where the line that holds position from ends: its line feed or its first
// line-break tag; -1 when neither comes.
int LineEnd(const CString& page, const CString& lower, int from)
{
    int feed = page.Find('\n', from);
    int tag = lower.Find(kLineBreakTag, from);
    if (feed < 0 || (tag >= 0 && tag < feed))
        return tag;
    return feed;
}

// The text behind label up to the end of its line; position behind that line
// in next; false when label or line end is missing.
bool LabelValue(const CString& page, const CString& lower, const char* label, CString& value,
                int& next)
{
    int at = page.Find(label);
    if (at < 0)
        return false;
    int start = at + (int)strlen(label);
    int end = LineEnd(page, lower, start);
    if (end < 0)
        return false;
    value = HtmlToText(page.Mid(start, end - start), false);
    value.TrimLeft();
    value.TrimRight();
    next = page[end] == '\n' ? end + 1 : page.Find('>', end) + 1;
    return next > 0;
}

// The anchor's link (without its first slash) and link text; false when the
// link is refused or runs past the bound.
bool ReadCandidate(const CString& page, int at, const AnchorForm& form, CString& link,
                   CString& text)
{
    int start = at + form.linkOffset;
    CString window = page.Mid(start, kMaxLinkLength + 2 * (int)strlen(form.end));
    int end = window.Find(form.end);
    if (end < 0 || end > kMaxLinkLength)
        return false;
    link = window.Left(end);
    if (!IsSafeUrlText(link))
        return false;
    CString rest = page.Mid(start + end + (int)strlen(form.end), kMaxLinkLength);
    int textEnd = rest.Find('<');
    text = textEnd >= 0 ? rest.Left(textEnd) : rest;
    return true;
}

} // namespace

CString LyricsSearchKey(const CString& text)
{
    CString key = text;
    key.MakeLower();
    key.Replace("the", "");
    return key;
}

CString LyricsTextObject(const CString& page)
{
    return LinkedObject(page, kTextMark, "/text.html?id=");
}

CString LyricsResultObject(const CString& page)
{
    return LinkedObject(page, kResultMark, "/search.html?id=");
}

bool ParseLyricsPage(const CString& page, LyricsPage& out)
{
    CString lower = page;
    lower.MakeLower();
    int next = 0;
    if (!LabelValue(page, lower, "Artist:", out.artist, next) ||
        !LabelValue(page, lower, "Album:", out.album, next) ||
        !LabelValue(page, lower, "Song:", out.song, next))
        return false;
    int end = lower.Find(kBodyEnd, next);
    if (end < 0)
        return false;
    CString html = page.Mid(next, end - next);
    CString lowerHtml = lower.Mid(next, end - next);
    // Pages that mark their lines with tags also wrap their source lines.
    bool rawBreaks = lowerHtml.Find(kLineBreakTag) < 0;
    out.lyrics = JoinLines(HtmlToText(html, rawBreaks));
    return !out.lyrics.IsEmpty();
}

CString PickCoverProduct(const CString& page, const CString& albumTitle, const TaskCancelFlag* cancel)
{
    if (page.Find("unable to find") >= 0 || page.Find("Music Search Results") < 0)
        return CString();
    CString title = albumTitle.Left(kMaxScoredText);
    double best = kCoverScoreFloor;
    CString bestLink;
    bool quotedLeft = true;
    for (int pos = 2, scored = 0; scored < kMaxScoredAnchors; ++scored) {
        if (cancel && *cancel)
            return CString();
        const AnchorForm* form = &kQuotedAnchor;
        int at = quotedLeft ? page.Find(form->anchor, pos) : -1;
        if (at < 0) {
            // Once the quoted form is used up only the bare form is looked for.
            quotedLeft = false;
            form = &kBareAnchor;
            at = page.Find(form->anchor, pos);
            if (at < 0)
                break;
        }
        CString link, text;
        if (ReadCandidate(page, at, *form, link, text)) {
            double score = TextSimilarity(text.Left(kMaxScoredText), title);
            if (score > best) {
                best = score;
                bestLink = link;
            }
        }
        pos = at + 2;
    }
    return bestLink.IsEmpty() ? CString() : "/" + bestLink;
}

CString FindCoverImage(const CString& page, const CString& imageHost)
{
    if (imageHost.IsEmpty())
        return CString();
    CString url = "http://" + imageHost;
    CString linkMark = "a href=\"" + url + "/images/";
    CString imageMark = " <img src=\"" + url + "/images/P";
    const CString* mark = &linkMark;
    int at = page.Find(linkMark);
    if (at < 0) {
        mark = &imageMark;
        at = page.Find(imageMark);
    }
    if (at < 0)
        return CString();
    // The object follows the host behind the opening quote.
    int objectStart = at + mark->Find('"') + 1 + url.GetLength();
    int end = page.Find('"', objectStart);
    if (end < 0)
        return CString();
    CString object = page.Mid(objectStart, end - objectStart);
    return IsSafeUrlText(object) ? object : CString();
}

const char* CoverImageExtension(const BYTE* head, UINT length)
{
    static const BYTE kGif[] = { 'G', 'I', 'F' };
    static const BYTE kJpeg[] = { 0xFF, 0xD8, 0xFF };
    if (length >= sizeof kGif && memcmp(head, kGif, sizeof kGif) == 0)
        return ".gif";
    if (length >= sizeof kJpeg && memcmp(head, kJpeg, sizeof kJpeg) == 0)
        return ".jpg";
    return nullptr;
}
