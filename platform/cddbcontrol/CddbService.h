// The disc-database service behind the stand-in control: the CDDB protocol
// through the configured server's HTTP gateway, and the entry text read into
// disc records.
#pragma once

#include "platform/cddbcontrol/CddbObjects.h"

class CCddbService
{
public:
    CCddbService();

    // The reply of one gateway command; empty when the request failed.
    CString Command(const CString& command) const;
    // The query command for a table of contents (track starts and disc end,
    // in frames); empty when the text holds no track.
    static CString QueryFor(const char* toc);
    // The full record of an entry reply ("210 ..." and the entry), or null.
    CCddbRecord* ReadEntry(const CString& category, const CString& discId,
                           CCddbGenres& genres) const;
    // A match line: category, disc id, "artist / title"; null when malformed.
    static CCddbRecord* ParseMatch(const CString& line);
    // Cuts the first line off text and gives it without its line end.
    static CString CutLine(CString& text);
    static CCddbRecord* ParseEntry(const CString& entry, const CString& category,
                                   CCddbGenres& genres);

    CString m_server;
    CString m_hello; // "user+host+program+version"
    CString m_proxyHost;
    long m_proxyPort;
};
