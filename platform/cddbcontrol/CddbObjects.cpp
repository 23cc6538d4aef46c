#include "platform/cddbcontrol/CddbObjects.h"

HRESULT ReturnText(const CString& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = text.AllocSysString();
    return *out ? S_OK : E_OUTOFMEMORY;
}

namespace {

HRESULT ReturnLong(long value, long* out)
{
    if (!out)
        return E_POINTER;
    *out = value;
    return S_OK;
}

// Hands out a new reference to the 1-based item of a list.
template <class Item, class Interface>
HRESULT ReturnItem(const std::vector<Item*>& items, long number, Interface** out)
{
    if (!out)
        return E_POINTER;
    *out = NULL;
    if (number < 1 || number > (long)items.size())
        return E_INVALIDARG;
    *out = items[number - 1];
    (*out)->AddRef();
    return S_OK;
}

} // namespace

// ---- CCddbRecord ----

CCddbRecord::~CCddbRecord()
{
    for (CCddbRecord* track : m_tracks)
        track->Release();
}

HRESULT CCddbRecord::GetTitle(BSTR* title) { return ReturnText(m_title, title); }
HRESULT CCddbRecord::GetArtist(BSTR* artist) { return ReturnText(m_artist, artist); }
HRESULT CCddbRecord::GetGenreId(long* id) { return ReturnLong(m_genre, id); }
HRESULT CCddbRecord::GetSecondaryGenreId(long* id) { return ReturnLong(m_secondGenre, id); }
HRESULT CCddbRecord::GetNotes(BSTR* notes) { return ReturnText(m_notes, notes); }
HRESULT CCddbRecord::GetYear(BSTR* year) { return ReturnText(m_year, year); }
HRESULT CCddbRecord::GetTrackCount(long* count) { return ReturnLong((long)m_tracks.size(), count); }

HRESULT CCddbRecord::GetTrack(long number, ICddbTrack** track)
{
    return ReturnItem(m_tracks, number, track);
}

// ---- CCddbMatches ----

CCddbMatches::~CCddbMatches()
{
    for (CCddbRecord* match : m_matches)
        match->Release();
}

HRESULT CCddbMatches::GetCount(long* count) { return ReturnLong((long)m_matches.size(), count); }

HRESULT CCddbMatches::GetItem(long index, ICddbDisc** disc)
{
    return ReturnItem(m_matches, index, disc);
}

// ---- CCddbGenres ----

HRESULT CCddbGenres::GetGenreName(long id, BSTR* name)
{
    if (id < 1 || id > (long)m_names.size())
        return E_INVALIDARG;
    return ReturnText(m_names[id - 1], name);
}

long CCddbGenres::IdFor(const CString& name)
{
    if (name.IsEmpty())
        return 0;
    for (size_t i = 0; i < m_names.size(); i++) {
        if (m_names[i].CompareNoCase(name) == 0)
            return (long)i + 1;
    }
    m_names.push_back(name);
    return (long)m_names.size();
}

// ---- CCddbOptions ----

HRESULT CCddbOptions::GetProxyServer(BSTR* host) { return ReturnText(m_proxyHost, host); }
HRESULT CCddbOptions::GetProxyServerPort(long* port) { return ReturnLong(m_proxyPort, port); }
HRESULT CCddbOptions::GetProxyUserName(BSTR* name) { return ReturnText(m_proxyUser, name); }

HRESULT CCddbOptions::GetProxyUserPassword(BSTR* password)
{
    return ReturnText(m_proxyPassword, password);
}

HRESULT CCddbOptions::SetProxyServer(BSTR host)
{
    m_proxyHost = CString(host);
    return S_OK;
}

HRESULT CCddbOptions::SetProxyServerPort(long port)
{
    m_proxyPort = port;
    return S_OK;
}

HRESULT CCddbOptions::SetProxyUserName(BSTR name)
{
    m_proxyUser = CString(name);
    return S_OK;
}

HRESULT CCddbOptions::SetProxyUserPassword(BSTR password)
{
    m_proxyPassword = CString(password);
    return S_OK;
}
