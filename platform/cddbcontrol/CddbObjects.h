// The objects the stand-in control hands out: disc and track records, match
// lists, the genre list and the options object.
#pragma once

#include "platform/cddbcontrol/CddbControlApi.h"
#include "platform/runtime/ComUnknown.h"

#include <afx.h>

#include <vector>

// IUnknown of an object that answers to IUnknown and the given test of the
// interface id; each object serves one interface, whose pointer is its own.
#define CDDB_IUNKNOWN(answers) COM_IUNKNOWN(IUnknown, answers)

#define CDDB_NOT_IMPLEMENTED(n) \
    HRESULT STDMETHODCALLTYPE Reserved##n() override { return E_NOTIMPL; }

HRESULT ReturnText(const CString& text, BSTR* out);

// A disc, or a track (no tracks of its own). A match of a list is a disc
// that knows only its category, id, artist and title until its full record
// is read.
class CCddbRecord : public ICddbDisc
{
public:
    CCddbRecord() : m_refs(1), m_genre(0), m_secondGenre(0) {}

    CDDB_IUNKNOWN(IsEqualIID(riid, IID_ICddbTrack) || IsEqualIID(riid, IID_ICddbDisc))

    HRESULT STDMETHODCALLTYPE GetTitle(BSTR* title) override;
    HRESULT STDMETHODCALLTYPE GetArtist(BSTR* artist) override;
    HRESULT STDMETHODCALLTYPE GetGenreId(long* id) override;
    HRESULT STDMETHODCALLTYPE GetSecondaryGenreId(long* id) override;
    HRESULT STDMETHODCALLTYPE GetNotes(BSTR* notes) override;
    HRESULT STDMETHODCALLTYPE GetYear(BSTR* year) override;
    HRESULT STDMETHODCALLTYPE GetTrackCount(long* count) override;
    HRESULT STDMETHODCALLTYPE GetTrack(long number, ICddbTrack** track) override;

    CString m_title;
    CString m_artist;
    long m_genre;
    long m_secondGenre;
    CString m_notes;
    CString m_year;
    CString m_category;
    CString m_discId;
    std::vector<CCddbRecord*> m_tracks; // owned references

private:
    ~CCddbRecord();

    LONG m_refs;
};

class CCddbMatches : public ICddbMatches
{
public:
    CCddbMatches() : m_refs(1) {}

    CDDB_IUNKNOWN(IsEqualIID(riid, IID_ICddbMatches))

    HRESULT STDMETHODCALLTYPE GetCount(long* count) override;
    HRESULT STDMETHODCALLTYPE GetItem(long index, ICddbDisc** disc) override;

    std::vector<CCddbRecord*> m_matches; // owned references

private:
    ~CCddbMatches();

    LONG m_refs;
};

// Genre ids are 1-based positions in the list of names seen so far.
class CCddbGenres : public ICddbGenres
{
public:
    CCddbGenres() : m_refs(1) {}

    CDDB_IUNKNOWN(IsEqualIID(riid, IID_ICddbGenres))

    HRESULT STDMETHODCALLTYPE GetGenreName(long id, BSTR* name) override;

    // 0 for an empty name.
    long IdFor(const CString& name);

private:
    ~CCddbGenres() {}

    LONG m_refs;
    std::vector<CString> m_names;
};

class CCddbOptions : public ICddbOptions
{
public:
    CCddbOptions() : m_refs(1), m_proxyPort(0) {}

    CDDB_IUNKNOWN(IsEqualIID(riid, IID_ICddbOptions))

    CDDB_NOT_IMPLEMENTED(3) CDDB_NOT_IMPLEMENTED(4) CDDB_NOT_IMPLEMENTED(5)
    CDDB_NOT_IMPLEMENTED(6) CDDB_NOT_IMPLEMENTED(7) CDDB_NOT_IMPLEMENTED(8)
    CDDB_NOT_IMPLEMENTED(9) CDDB_NOT_IMPLEMENTED(10) CDDB_NOT_IMPLEMENTED(11)
    CDDB_NOT_IMPLEMENTED(12) CDDB_NOT_IMPLEMENTED(13) CDDB_NOT_IMPLEMENTED(14)
    CDDB_NOT_IMPLEMENTED(15) CDDB_NOT_IMPLEMENTED(16) CDDB_NOT_IMPLEMENTED(17)
    CDDB_NOT_IMPLEMENTED(18)
    HRESULT STDMETHODCALLTYPE GetProxyServer(BSTR* host) override;
    HRESULT STDMETHODCALLTYPE SetProxyServer(BSTR host) override;
    HRESULT STDMETHODCALLTYPE GetProxyServerPort(long* port) override;
    HRESULT STDMETHODCALLTYPE SetProxyServerPort(long port) override;
    CDDB_NOT_IMPLEMENTED(23) CDDB_NOT_IMPLEMENTED(24) CDDB_NOT_IMPLEMENTED(25)
    CDDB_NOT_IMPLEMENTED(26) CDDB_NOT_IMPLEMENTED(27) CDDB_NOT_IMPLEMENTED(28)
    CDDB_NOT_IMPLEMENTED(29) CDDB_NOT_IMPLEMENTED(30) CDDB_NOT_IMPLEMENTED(31)
    CDDB_NOT_IMPLEMENTED(32)
    HRESULT STDMETHODCALLTYPE GetProxyUserName(BSTR* name) override;
    HRESULT STDMETHODCALLTYPE SetProxyUserName(BSTR name) override;
    HRESULT STDMETHODCALLTYPE GetProxyUserPassword(BSTR* password) override;
    HRESULT STDMETHODCALLTYPE SetProxyUserPassword(BSTR password) override;

    CString m_proxyHost;
    long m_proxyPort;
    CString m_proxyUser;
    CString m_proxyPassword;

private:
    ~CCddbOptions() {}

    LONG m_refs;
};
