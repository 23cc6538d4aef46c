// Web pages of the library: a page per album from the template "disc.htm",
// whose track section repeats once per track with the fields filled in.
#pragma once

#include "library/records/MusicLibrary.h"
#include "devices/util/Error.h"

class CHTMLLibrary
{
public:
    virtual ~CHTMLLibrary() {}

    // Writes the first album's page, "<album id>.htm", in the current directory.
    void MakeWebPages(CMusicLibrary& library);
    CString ReadFile(const char* path);
    bool WriteFile(const char* path, const char* text);
    static CString ExpandTrackLoop(const char* pageTemplate, const AlbumRecord& album);
    // Fills every field name in one pass, so that a value holding a field name
    // stays as it is; values are HTML-escaped.
    static CString ReplaceFields(const char* text, const AlbumRecord& album, int track);
    static CString EscapeHtml(const char* text);

    CError m_error;

private:
    // The page of an album id in the current directory; false (reported) for
    // an id that is no album id.
    bool PagePath(const CString& id, CString& path);
};
