// The disc-database control as its users see it: the class, its interfaces in
// their published slot order (slot numbers count QueryInterface as 0), and the
// in-process registration of our stand-in. Slots marked reserved exist only to
// keep the order; the stand-in answers them with E_NOTIMPL.
#pragma once

#include <windows.h>
#include <unknwn.h>

// {F4BAFF02-F907-11D2-8F8F-00C04F4C3B9F}
extern const CLSID CLSID_CddbControl;
// {F4BAFF01-F907-11D2-8F8F-00C04F4C3B9F}
extern const IID IID_ICddbControl;
extern const IID IID_ICddbOptions;
extern const IID IID_ICddbTrack;
extern const IID IID_ICddbDisc;
extern const IID IID_ICddbMatches;
extern const IID IID_ICddbGenres;

// The public gateway the control and the HTTP client ask when no server is set.
extern const char kCddbDefaultHost[];

// Look-up answers of LookupMediaByToc.
enum
{
    kCddbLookupNone = 1,     // no match
    kCddbLookupSeveral = 2,  // GetMatchList gives an ICddbMatches
    kCddbLookupExact = 3,    // GetMatchList gives the ICddbDisc
};

#define CDDB_RESERVED(n) virtual HRESULT STDMETHODCALLTYPE Reserved##n() = 0;

// What a track and a disc share. Genre ids are names through ICddbGenres.
struct ICddbTrack : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE GetTitle(BSTR* title) = 0;              // 3
    virtual HRESULT STDMETHODCALLTYPE GetArtist(BSTR* artist) = 0;            // 4
    virtual HRESULT STDMETHODCALLTYPE GetGenreId(long* id) = 0;               // 5
    virtual HRESULT STDMETHODCALLTYPE GetSecondaryGenreId(long* id) = 0;      // 6
    virtual HRESULT STDMETHODCALLTYPE GetNotes(BSTR* notes) = 0;              // 7
    virtual HRESULT STDMETHODCALLTYPE GetYear(BSTR* year) = 0;                // 8
};

struct ICddbDisc : public ICddbTrack
{
    virtual HRESULT STDMETHODCALLTYPE GetTrackCount(long* count) = 0;         // 9
    // number: 1-based
    virtual HRESULT STDMETHODCALLTYPE GetTrack(long number, ICddbTrack** track) = 0; // 10
};

struct ICddbMatches : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE GetCount(long* count) = 0;              // 3
    // index: 1-based
    virtual HRESULT STDMETHODCALLTYPE GetItem(long index, ICddbDisc** disc) = 0; // 4
};

struct ICddbGenres : public IUnknown
{
    virtual HRESULT STDMETHODCALLTYPE GetGenreName(long id, BSTR* name) = 0;  // 3
};

struct ICddbOptions : public IUnknown
{
    CDDB_RESERVED(3) CDDB_RESERVED(4) CDDB_RESERVED(5) CDDB_RESERVED(6) CDDB_RESERVED(7)
    CDDB_RESERVED(8) CDDB_RESERVED(9) CDDB_RESERVED(10) CDDB_RESERVED(11) CDDB_RESERVED(12)
    CDDB_RESERVED(13) CDDB_RESERVED(14) CDDB_RESERVED(15) CDDB_RESERVED(16) CDDB_RESERVED(17)
    CDDB_RESERVED(18)
    virtual HRESULT STDMETHODCALLTYPE GetProxyServer(BSTR* host) = 0;         // 19
    virtual HRESULT STDMETHODCALLTYPE SetProxyServer(BSTR host) = 0;          // 20
    virtual HRESULT STDMETHODCALLTYPE GetProxyServerPort(long* port) = 0;     // 21
    virtual HRESULT STDMETHODCALLTYPE SetProxyServerPort(long port) = 0;      // 22
    CDDB_RESERVED(23) CDDB_RESERVED(24) CDDB_RESERVED(25) CDDB_RESERVED(26) CDDB_RESERVED(27)
    CDDB_RESERVED(28) CDDB_RESERVED(29) CDDB_RESERVED(30) CDDB_RESERVED(31) CDDB_RESERVED(32)
    virtual HRESULT STDMETHODCALLTYPE GetProxyUserName(BSTR* name) = 0;       // 33
    virtual HRESULT STDMETHODCALLTYPE SetProxyUserName(BSTR name) = 0;        // 34
    virtual HRESULT STDMETHODCALLTYPE GetProxyUserPassword(BSTR* password) = 0; // 35
    virtual HRESULT STDMETHODCALLTYPE SetProxyUserPassword(BSTR password) = 0;  // 36
};

struct ICddbControl : public IUnknown
{
    CDDB_RESERVED(3) CDDB_RESERVED(4) CDDB_RESERVED(5) CDDB_RESERVED(6) CDDB_RESERVED(7)
    // show 0: answers whether the user is registered; show 1: the service's
    // own registration window.
    virtual HRESULT STDMETHODCALLTYPE GetUserRegistered(long show, long* registered) = 0; // 8
    virtual HRESULT STDMETHODCALLTYPE Initialize(BSTR clientId, BSTR clientTag, BSTR version,
                                                 BSTR registration) = 0;      // 9
    CDDB_RESERVED(10) CDDB_RESERVED(11)
    virtual HRESULT STDMETHODCALLTYPE GetOptions(ICddbOptions** options) = 0; // 12
    virtual HRESULT STDMETHODCALLTYPE SetOptions(ICddbOptions* options) = 0;  // 13
    CDDB_RESERVED(14)
    // toc: the start of every track and the end of the disc, in frames.
    virtual HRESULT STDMETHODCALLTYPE LookupMediaByToc(BSTR toc, long* result) = 0; // 15
    virtual HRESULT STDMETHODCALLTYPE GetMatchList(IUnknown** matches) = 0;   // 16
    CDDB_RESERVED(17) CDDB_RESERVED(18) CDDB_RESERVED(19) CDDB_RESERVED(20) CDDB_RESERVED(21)
    // S_FALSE and no disc when nothing was picked.
    virtual HRESULT STDMETHODCALLTYPE ChooseMatch(ICddbMatches* matches, ICddbDisc** disc) = 0; // 22
    virtual HRESULT STDMETHODCALLTYPE GetFullDiscInfo(ICddbDisc* match, long flags,
                                                      ICddbDisc** disc) = 0;  // 23
    CDDB_RESERVED(24) CDDB_RESERVED(25)
    virtual HRESULT STDMETHODCALLTYPE ShowDiscEditor(ICddbDisc* disc, long flags) = 0; // 26
    CDDB_RESERVED(27) CDDB_RESERVED(28) CDDB_RESERVED(29)
    virtual HRESULT STDMETHODCALLTYPE GetGenreList(long flags, ICddbGenres** genres) = 0; // 30
};

#undef CDDB_RESERVED

// Registers our stand-in's class object in this process (CoInitialize first).
HRESULT RegisterCddbControl(DWORD* cookie);
