#include "platform/cddbcontrol/CddbControl.h"

#include <afxwin.h>

// {F4BAFF02-F907-11D2-8F8F-00C04F4C3B9F}
const CLSID CLSID_CddbControl = { 0xF4BAFF02, 0xF907, 0x11D2,
                                  { 0x8F, 0x8F, 0x00, 0xC0, 0x4F, 0x4C, 0x3B, 0x9F } };
// {F4BAFF01-F907-11D2-8F8F-00C04F4C3B9F}
const IID IID_ICddbControl = { 0xF4BAFF01, 0xF907, 0x11D2,
                               { 0x8F, 0x8F, 0x00, 0xC0, 0x4F, 0x4C, 0x3B, 0x9F } };
// Our own interfaces behind the control's objects.
const IID IID_ICddbOptions = { 0x5C7E2A10, 0x3B1D, 0x4F6A,
                               { 0x9E, 0x21, 0x7D, 0x44, 0x0B, 0x8C, 0x61, 0x01 } };
const IID IID_ICddbTrack = { 0x5C7E2A10, 0x3B1D, 0x4F6A,
                             { 0x9E, 0x21, 0x7D, 0x44, 0x0B, 0x8C, 0x61, 0x02 } };
const IID IID_ICddbDisc = { 0x5C7E2A10, 0x3B1D, 0x4F6A,
                            { 0x9E, 0x21, 0x7D, 0x44, 0x0B, 0x8C, 0x61, 0x03 } };
const IID IID_ICddbMatches = { 0x5C7E2A10, 0x3B1D, 0x4F6A,
                               { 0x9E, 0x21, 0x7D, 0x44, 0x0B, 0x8C, 0x61, 0x04 } };
const IID IID_ICddbGenres = { 0x5C7E2A10, 0x3B1D, 0x4F6A,
                              { 0x9E, 0x21, 0x7D, 0x44, 0x0B, 0x8C, 0x61, 0x05 } };

const char kCddbDefaultHost[] = "gnudb.gnudb.org";

namespace {

const char kOptionsSection[] = "Options";

// The class object registered in the process; it never goes away.
class CCddbControlFactory : public IClassFactory
{
public:
    CCddbControlFactory() : m_refs(1) {}

    CDDB_IUNKNOWN(IsEqualIID(riid, IID_IClassFactory))

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override
    {
        *object = NULL;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        CCddbControl* control = new CCddbControl;
        HRESULT hr = control->QueryInterface(riid, object);
        control->Release();
        return hr;
    }

    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    ~CCddbControlFactory() {}

    LONG m_refs;
};

// The server and the user that the program's options name.
void ReadProfile(CCddbService& service)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    CString server = app->GetProfileString(kOptionsSection, "CDDB Server", "");
    if (!server.IsEmpty())
        service.m_server = server;
    CString email = app->GetProfileString(kOptionsSection, "User Email", "");
    int at = email.Find('@');
    if (at > 0 && at + 1 < email.GetLength())
        service.m_hello = email.Left(at) + "+" + email.Mid(at + 1) + "+cddbcontrol+1.0";
}

} // namespace

HRESULT RegisterCddbControl(DWORD* cookie)
{
    CCddbControlFactory* factory = new CCddbControlFactory;
    HRESULT hr = CoRegisterClassObject(CLSID_CddbControl, factory, CLSCTX_INPROC_SERVER,
                                       REGCLS_MULTIPLEUSE, cookie);
    factory->Release();
    return hr;
}

CCddbControl::CCddbControl()
    : m_refs(1), m_bInitialized(FALSE), m_pOptions(new CCddbOptions),
      m_pGenres(new CCddbGenres), m_pLastResult(nullptr)
{
}

CCddbControl::~CCddbControl()
{
    SetLastResult(nullptr);
    m_pGenres->Release();
    m_pOptions->Release();
}

void CCddbControl::SetLastResult(IUnknown* result)
{
    if (m_pLastResult)
        m_pLastResult->Release();
    m_pLastResult = result;
}

HRESULT CCddbControl::GetUserRegistered(long, long* registered)
{
    if (!registered)
        return E_POINTER;
    *registered = 1;
    return S_OK;
}

HRESULT CCddbControl::Initialize(BSTR, BSTR, BSTR, BSTR)
{
    ReadProfile(m_service);
    m_bInitialized = TRUE;
    return S_OK;
}

HRESULT CCddbControl::GetOptions(ICddbOptions** options)
{
    if (!options)
        return E_POINTER;
    *options = m_pOptions;
    m_pOptions->AddRef();
    return S_OK;
}

HRESULT CCddbControl::SetOptions(ICddbOptions* options)
{
    BSTR host = NULL;
    long port = 0;
    if (!options || FAILED(options->GetProxyServer(&host)) ||
        FAILED(options->GetProxyServerPort(&port)))
        return E_INVALIDARG;
    m_service.m_proxyHost = CString(host);
    m_service.m_proxyPort = port;
    SysFreeString(host);
    return S_OK;
}

HRESULT CCddbControl::LookupMediaByToc(BSTR toc, long* result)
{
    if (!result)
        return E_POINTER;
    if (!m_bInitialized)
        return E_UNEXPECTED;
    SetLastResult(nullptr);
    CString query = CCddbService::QueryFor(CString(toc));
    if (query.IsEmpty())
        return E_INVALIDARG;
    *result = kCddbLookupNone;
    CString reply = m_service.Command(query);
    int code = atoi(reply);
    CString line = CCddbService::CutLine(reply);
    if (code == 200) {
        CCddbRecord* match = CCddbService::ParseMatch(line.Mid(4));
        CCddbRecord* disc = match ? ReadMatch(match) : nullptr;
        if (match)
            match->Release();
        if (disc) {
            SetLastResult(disc);
            *result = kCddbLookupExact;
        }
    } else if (code == 211) {
        CCddbMatches* matches = new CCddbMatches;
        for (CString next = CCddbService::CutLine(reply); next != "." && !next.IsEmpty();
             next = CCddbService::CutLine(reply)) {
            CCddbRecord* match = CCddbService::ParseMatch(next);
            if (match)
                matches->m_matches.push_back(match);
        }
        if (matches->m_matches.empty()) {
            matches->Release();
        } else {
            SetLastResult(matches);
            *result = kCddbLookupSeveral;
        }
    }
    return S_OK;
}

HRESULT CCddbControl::GetMatchList(IUnknown** matches)
{
    if (!matches)
        return E_POINTER;
    *matches = m_pLastResult;
    if (!m_pLastResult)
        return E_UNEXPECTED;
    m_pLastResult->AddRef();
    return S_OK;
}

HRESULT CCddbControl::ChooseMatch(ICddbMatches* matches, ICddbDisc** disc)
{
    if (!matches || !disc)
        return E_POINTER;
    long count = 0;
    matches->GetCount(&count);
    *disc = NULL;
    return count > 0 ? matches->GetItem(1, disc) : S_FALSE;
}

CCddbRecord* CCddbControl::ReadMatch(ICddbDisc* match)
{
    CCddbRecord* record = static_cast<CCddbRecord*>(match);
    return m_service.ReadEntry(record->m_category, record->m_discId, *m_pGenres);
}

HRESULT CCddbControl::GetFullDiscInfo(ICddbDisc* match, long, ICddbDisc** disc)
{
    if (!match || !disc)
        return E_POINTER;
    *disc = ReadMatch(match);
    return *disc ? S_OK : E_FAIL;
}

HRESULT CCddbControl::ShowDiscEditor(ICddbDisc* disc, long)
{
    return disc ? S_OK : E_POINTER;
}

HRESULT CCddbControl::GetGenreList(long, ICddbGenres** genres)
{
    if (!genres)
        return E_POINTER;
    *genres = m_pGenres;
    m_pGenres->AddRef();
    return S_OK;
}
