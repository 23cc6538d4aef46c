#include "platform/cddbcontrol/CddbService.h"

#include <afxinet.h>
#include <afxwin.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

const int kFramesPerSecond = 75;
const UINT kMaxReply = 65536; // a longer reply is no disc-database answer
const int kMaxTracks = 99;
const char kGatewayPath[] = "/~cddb/cddb.cgi";

int DigitSum(int n)
{
    int sum = 0;
    for (; n > 0; n /= 10)
        sum += n % 10;
    return sum;
}

// The value of "KEY=" lines, or of "KEYn=" lines with n in 0..count-1.
void AppendLine(const char* line, const char* key, CString& value)
{
    size_t length = strlen(key);
    if (strncmp(line, key, length) == 0 && line[length] == '=')
        value += CString(line + length + 1, (int)strcspn(line + length + 1, "\r\n"));
}

void AppendIndexedLine(const char* line, const char* key, std::vector<CString>& values)
{
    size_t length = strlen(key);
    if (strncmp(line, key, length) != 0)
        return;
    char* end;
    long n = strtol(line + length, &end, 10);
    if (end != line + length && *end == '=' && n >= 0 && n < (long)values.size())
        values[n] += CString(end + 1, (int)strcspn(end + 1, "\r\n"));
}

// "Artist / Title"; a text without the separator is both.
void SplitTitle(const CString& text, CString& artist, CString& title)
{
    int at = text.Find(" / ");
    artist = at < 0 ? text : text.Left(at);
    title = at < 0 ? text : text.Mid(at + 3);
}

CString Unescape(const CString& text)
{
    CString out;
    for (int i = 0; i < text.GetLength(); i++) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.GetLength()) {
            c = text[++i];
            out += c == 'n' ? CString("\r\n") : c == 't' ? CString("\t") : CString(c, 1);
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

CCddbService::CCddbService()
    : m_server(kCddbDefaultHost), m_hello("zym+localhost+cddbcontrol+1.0"), m_proxyPort(0)
{
}

CString CCddbService::QueryFor(const char* toc)
{
    std::vector<long> offsets;
    for (const char* p = toc; *p;) {
        char* end;
        long value = strtol(p, &end, 10);
        if (end == p)
            break;
        offsets.push_back(value);
        p = end;
    }
    int tracks = (int)offsets.size() - 1;
    if (tracks < 1 || tracks > kMaxTracks)
        return CString();
    int checksum = 0;
    for (int i = 0; i < tracks; i++)
        checksum += DigitSum(offsets[i] / kFramesPerSecond);
    int seconds = offsets[tracks] / kFramesPerSecond - offsets[0] / kFramesPerSecond;
    CString query;
    query.Format("cddb+query+%08x+%d", (unsigned)((checksum % 255) << 24 | seconds << 8 | tracks),
                 tracks);
    CString step;
    for (int i = 0; i < tracks; i++) {
        step.Format("+%ld", offsets[i]);
        query += step;
    }
    step.Format("+%ld", offsets[tracks] / kFramesPerSecond);
    return query + step;
}

CString CCddbService::Command(const CString& command) const
{
    CString proxy;
    if (!m_proxyHost.IsEmpty())
        proxy.Format("%s:%ld", (LPCSTR)m_proxyHost, m_proxyPort);
    std::vector<char> body(kMaxReply + 1, 0);
    UINT used = 0;
    try {
        CInternetSession session("", 1,
                                 proxy.IsEmpty() ? INTERNET_OPEN_TYPE_PRECONFIG
                                                 : INTERNET_OPEN_TYPE_PROXY,
                                 proxy);
        std::unique_ptr<CHttpConnection> connection(session.GetHttpConnection(m_server));
        std::unique_ptr<CHttpFile> file(connection->OpenRequest(
            HTTP_VERB_GET, CString(kGatewayPath) + "?cmd=" + command + "&hello=" + m_hello +
                               "&proto=3",
            NULL, 1, NULL, NULL, INTERNET_FLAG_RELOAD));
        file->SendRequest();
        DWORD status = 0;
        if (!file->QueryInfoStatusCode(status) || status != 200)
            return CString();
        for (UINT read; used < kMaxReply && (read = file->Read(&body[used], kMaxReply - used));)
            used += read;
        char extra;
        if (used == kMaxReply && file->Read(&extra, 1) != 0)
            return CString();
    } catch (CInternetException* e) {
        e->Delete();
        return CString();
    }
    return CString(body.data());
}

CCddbRecord* CCddbService::ReadEntry(const CString& category, const CString& discId,
                                     CCddbGenres& genres) const
{
    CString reply = Command("cddb+read+" + category + "+" + discId);
    int end = reply.Find("\n.");
    if (atoi(reply) != 210 || end < 0)
        return nullptr;
    return ParseEntry(reply.Left(end), category, genres);
}

CString CCddbService::CutLine(CString& text)
{
    int end = text.Find('\n');
    CString line = end < 0 ? text : text.Left(end);
    text = end < 0 ? CString() : text.Mid(end + 1);
    line.TrimRight("\r");
    return line;
}

CCddbRecord* CCddbService::ParseMatch(const CString& line)
{
    CString rest(line);
    rest.TrimLeft();
    int first = rest.Find(' ');
    int second = first < 0 ? -1 : rest.Find(' ', first + 1);
    if (second < 0)
        return nullptr;
    CCddbRecord* match = new CCddbRecord;
    match->m_category = rest.Left(first);
    match->m_discId = rest.Mid(first + 1, second - first - 1);
    SplitTitle(rest.Mid(second + 1), match->m_artist, match->m_title);
    return match;
}

CCddbRecord* CCddbService::ParseEntry(const CString& entry, const CString& category,
                                      CCddbGenres& genres)
{
    CString discId, title, notes, year, genre;
    std::vector<CString> titles, trackNotes;
    for (const char* line = entry; line && *line;) {
        AppendLine(line, "DISCID", discId);
        if (!discId.IsEmpty() && titles.empty()) {
            int tracks = (int)(strtoul(discId, NULL, 16) & 0xFF);
            if (tracks < 1 || tracks > kMaxTracks)
                return nullptr;
            titles.resize(tracks);
            trackNotes.resize(tracks);
        }
        AppendLine(line, "DTITLE", title);
        AppendLine(line, "EXTD", notes);
        AppendLine(line, "DYEAR", year);
        AppendLine(line, "DGENRE", genre);
        AppendIndexedLine(line, "TTITLE", titles);
        AppendIndexedLine(line, "EXTT", trackNotes);
        line = strchr(line, '\n');
        if (line)
            line++;
    }
    if (titles.empty())
        return nullptr;
    CCddbRecord* disc = new CCddbRecord;
    SplitTitle(title, disc->m_artist, disc->m_title);
    disc->m_category = category;
    disc->m_discId = discId;
    disc->m_genre = genres.IdFor(category);
    disc->m_secondGenre = genres.IdFor(genre);
    disc->m_notes = Unescape(notes);
    disc->m_year = year;
    for (size_t i = 0; i < titles.size(); i++) {
        CCddbRecord* track = new CCddbRecord;
        int at = titles[i].Find(" / ");
        track->m_artist = at < 0 ? disc->m_artist : titles[i].Left(at);
        track->m_title = at < 0 ? titles[i] : titles[i].Mid(at + 3);
        track->m_notes = Unescape(trackNotes[i]);
        disc->m_tracks.push_back(track);
    }
    return disc;
}
