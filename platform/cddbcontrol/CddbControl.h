// Our stand-in for the outside disc-database control: answers look-ups by
// table of contents from the configured server ("CDDB Server" of the
// program's options) over HTTP. It has no windows: registration is never
// needed, its chooser takes the first match and its disc editor does nothing.
#pragma once

#include "platform/cddbcontrol/CddbService.h"

class CCddbControl : public ICddbControl
{
public:
    CCddbControl();

    CDDB_IUNKNOWN(IsEqualIID(riid, IID_ICddbControl))

    CDDB_NOT_IMPLEMENTED(3) CDDB_NOT_IMPLEMENTED(4) CDDB_NOT_IMPLEMENTED(5)
    CDDB_NOT_IMPLEMENTED(6) CDDB_NOT_IMPLEMENTED(7)
    HRESULT STDMETHODCALLTYPE GetUserRegistered(long show, long* registered) override;
    HRESULT STDMETHODCALLTYPE Initialize(BSTR clientId, BSTR clientTag, BSTR version,
                                         BSTR registration) override;
    CDDB_NOT_IMPLEMENTED(10) CDDB_NOT_IMPLEMENTED(11)
    HRESULT STDMETHODCALLTYPE GetOptions(ICddbOptions** options) override;
    HRESULT STDMETHODCALLTYPE SetOptions(ICddbOptions* options) override;
    CDDB_NOT_IMPLEMENTED(14)
    HRESULT STDMETHODCALLTYPE LookupMediaByToc(BSTR toc, long* result) override;
    HRESULT STDMETHODCALLTYPE GetMatchList(IUnknown** matches) override;
    CDDB_NOT_IMPLEMENTED(17) CDDB_NOT_IMPLEMENTED(18) CDDB_NOT_IMPLEMENTED(19)
    CDDB_NOT_IMPLEMENTED(20) CDDB_NOT_IMPLEMENTED(21)
    HRESULT STDMETHODCALLTYPE ChooseMatch(ICddbMatches* matches, ICddbDisc** disc) override;
    HRESULT STDMETHODCALLTYPE GetFullDiscInfo(ICddbDisc* match, long flags,
                                              ICddbDisc** disc) override;
    CDDB_NOT_IMPLEMENTED(24) CDDB_NOT_IMPLEMENTED(25)
    HRESULT STDMETHODCALLTYPE ShowDiscEditor(ICddbDisc* disc, long flags) override;
    CDDB_NOT_IMPLEMENTED(27) CDDB_NOT_IMPLEMENTED(28) CDDB_NOT_IMPLEMENTED(29)
    HRESULT STDMETHODCALLTYPE GetGenreList(long flags, ICddbGenres** genres) override;

private:
    ~CCddbControl();

    void SetLastResult(IUnknown* result);
    // The match's full record; null when it cannot be read.
    CCddbRecord* ReadMatch(ICddbDisc* match);

    LONG m_refs;
    BOOL m_bInitialized;
    CCddbService m_service;
    CCddbOptions* m_pOptions;
    CCddbGenres* m_pGenres;
    IUnknown* m_pLastResult; // what the last look-up found
};
