#include "library/web/HTMLLibrary.h"

#include <cstring>

namespace {

const char kLoopStart[] = "<!--trackloopstart-->";
const char kLoopEnd[] = "<!--trackloopend-->";
const char kTemplateFile[] = "disc.htm";
const char kHexDigits[] = "0123456789ABCDEFabcdef";

CString TrackNumber(const AlbumRecord&, int track)
{
    CString text;
    text.Format("%2d", track + 1);
    return text;
}

CString Title(const AlbumRecord& album, int track) { return album.GetTitle(track); }
CString Artist(const AlbumRecord& album, int track) { return album.GetArtist(track); }
CString Time(const AlbumRecord& album, int track) { return album.GetPlayTimeText(track); }
CString Location(const AlbumRecord& album, int track) { return album.GetLocationText(track); }
CString Image(const AlbumRecord& album, int track) { return album.GetImage(track); }
CString Notes(const AlbumRecord& album, int track) { return album.GetNotes(track); }
CString Released(const AlbumRecord& album, int track) { return album.GetReleasedText(track); }
CString Added(const AlbumRecord& album, int track) { return album.GetAddedText(track); }
CString TimePlayed(const AlbumRecord& album, int track) { return album.GetTimePlayedText(track); }
CString TimesPlayed(const AlbumRecord& album, int track)
{
    return album.GetTimesPlayedText(track);
}
CString AlbumId(const AlbumRecord& album, int) { return album.GetIdText(); }

struct Field
{
    const char* name;
    CString (*value)(const AlbumRecord& album, int track);
    bool wholeAlbum; // taken for track index -1
};

// A name comes before any shorter name that is its prefix.
const Field kFields[] = {
    { "track_num", TrackNumber, false },
    { "track_title", Title, false },
    { "track_artist", Artist, false },
    { "track_timeplayed", TimePlayed, false },
    { "track_timesplayed", TimesPlayed, false },
    { "track_time", Time, false },
    { "track_location", Location, false },
    { "track_image", Image, false },
    { "track_notes", Notes, false },
    { "track_datereleased", Released, false },
    { "track_dateadded", Added, false },
    { "disc_zymid", AlbumId, true },
    { "disc_title", Title, true },
    { "disc_artist", Artist, true },
    { "disc_timeplayed", TimePlayed, true },
    { "disc_timesplayed", TimesPlayed, true },
    { "disc_time", Time, true },
    { "disc_location", Location, true },
    { "disc_image", Image, true },
    { "disc_notes", Notes, true },
    { "disc_datereleased", Released, true },
    { "disc_dateadded", Added, true },
};

const Field* FieldAt(const char* text)
{
    for (const Field& field : kFields) {
        if (strncmp(text, field.name, strlen(field.name)) == 0)
            return &field;
    }
    return nullptr;
}

} // namespace

CString CHTMLLibrary::EscapeHtml(const char* text)
{
    CString out;
    for (const char* p = text; *p; p++) {
        switch (*p) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += *p; break;
        }
    }
    return out;
}

CString CHTMLLibrary::ReplaceFields(const char* text, const AlbumRecord& album, int track)
{
    CString out;
    for (const char* p = text; *p;) {
        const Field* field = FieldAt(p);
        if (!field) {
            out += *p++;
            continue;
        }
        out += EscapeHtml(field->value(album, field->wholeAlbum ? kAlbumIndex : track));
        p += strlen(field->name);
    }
    return out;
}

CString CHTMLLibrary::ExpandTrackLoop(const char* pageTemplate, const AlbumRecord& album)
{
    CString page;
    const char* rest = pageTemplate;
    for (;;) {
        const char* start = strstr(rest, kLoopStart);
        const char* section = start ? start + strlen(kLoopStart) : nullptr;
        const char* end = section ? strstr(section, kLoopEnd) : nullptr;
        if (!end)
            break;
        page += CString(rest, (int)(start - rest));
        CString body(section, (int)(end - section));
        for (int i = 0; i < album.GetTrackCount(); i++)
            page += ReplaceFields(body, album, i);
        rest = end + strlen(kLoopEnd);
    }
    return page + rest;
}

CString CHTMLLibrary::ReadFile(const char* path)
{
    CFile file;
    CString text;
    if (file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
        try {
            DWORD length = file.GetLength();
            LPSTR buffer = text.GetBuffer((int)length);
            UINT read = file.Read(buffer, length);
            text.ReleaseBuffer((int)read);
            return text;
        } catch (CFileException* e) {
            e->Delete();
            text.Empty();
        }
    }
    m_error.m_text.Format("Couldn't read file %s", path);
    m_error.Report();
    return text;
}

bool CHTMLLibrary::WriteFile(const char* path, const char* text)
{
    CFile file;
    if (file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary)) {
        try {
            file.Write(text, (UINT)strlen(text));
            file.Close();
            return true;
        } catch (CFileException* e) {
            e->Delete();
        }
    }
    m_error.m_text.Format("Couldn't write file  %s", path);
    m_error.Report();
    return false;
}

// The id comes from the library file, which another program may have written:
// only an id of the known form names a page, and the page lies in the
// current directory, whatever the id holds.
bool CHTMLLibrary::PagePath(const CString& id, CString& path)
{
    const int kIdLengths[] = { 8, 16 };
    bool known = false;
    for (int length : kIdLengths)
        known = known || id.GetLength() == length;
    if (!known || id.SpanIncluding(kHexDigits).GetLength() != id.GetLength()) {
        m_error.m_text.Format("Album id [%s] does not name a page", (LPCSTR)id);
        m_error.Report();
        return false;
    }
    char folder[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof folder, folder);
    if (length == 0 || length >= sizeof folder) {
        m_error.m_text = "Couldn't find the current directory";
        m_error.Report();
        return false;
    }
    path = folder;
    if (path.Right(1) != "\\")
        path += "\\";
    path += id + ".htm";
    return true;
}

void CHTMLLibrary::MakeWebPages(CMusicLibrary& library)
{
    CString pageTemplate = ReadFile(kTemplateFile);
    if (pageTemplate.IsEmpty())
        return;
    AlbumRecord album = library.NewAlbum();
    for (int i = 0; library.GetAlbumAt(i, album); i++) {
        if (!album.IsGone()) {
            CString path;
            if (PagePath(album.GetIdText(), path))
                WriteFile(path, ExpandTrackLoop(pageTemplate, album));
            return;
        }
    }
}
