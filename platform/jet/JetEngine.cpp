#include "platform/jet/JetEngine.h"

#include <oleauto.h>

#include "platform/jet/ConnectionText.h"
#include "JetIds.h"
#include "platform/jet/ProviderError.h"
#include "platform/jet/SqliteDb.h"
#include "platform/jet/TextCodec.h"

static const DISPID kCompactDatabaseId = 1;

HRESULT CJetEngine::Create(REFIID riid, void** object)
{
    CJetEngine* engine = new CJetEngine();
    HRESULT hr = engine->QueryInterface(riid, object);
    engine->Release();
    return hr;
}

STDMETHODIMP CJetEngine::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CJetEngine::AddRef()
{
    return InterlockedIncrement(&m_refs);
}

STDMETHODIMP_(ULONG) CJetEngine::Release()
{
    ULONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return refs;
}

STDMETHODIMP CJetEngine::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_INVALIDARG;
    *count = 0;
    return S_OK;
}

STDMETHODIMP CJetEngine::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return DISP_E_BADINDEX;
}

STDMETHODIMP CJetEngine::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids)
{
    if (!names || !ids || count == 0)
        return E_INVALIDARG;
    std::u16string method = WideFromUtf8(ZYM_JET_COMPACT_METHOD);
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; i++) {
        bool known = i == 0 && lstrcmpiW(names[0], reinterpret_cast<LPCWSTR>(method.c_str())) == 0;
        ids[i] = known ? kCompactDatabaseId : DISPID_UNKNOWN;
        if (!known)
            hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

// An argument as text; arguments arrive in reverse order.
static HRESULT ArgumentText(DISPPARAMS* params, UINT position, std::u16string& text)
{
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = VariantChangeType(&value, &params->rgvarg[params->cArgs - 1 - position], 0, VT_BSTR);
    if (FAILED(hr))
        return DISP_E_TYPEMISMATCH;
    text = V_BSTR(&value) ? reinterpret_cast<const char16_t*>(V_BSTR(&value)) : u"";
    VariantClear(&value);
    return S_OK;
}

static HRESULT FillException(HRESULT hr, EXCEPINFO* exception)
{
    if (!exception)
        return hr;
    memset(exception, 0, sizeof(*exception));
    exception->scode = hr;
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info) {
        info->GetDescription(&exception->bstrDescription);
        info->GetSource(&exception->bstrSource);
        // The caller may read the error object as well.
        SetErrorInfo(0, info);
        info->Release();
    }
    return DISP_E_EXCEPTION;
}

STDMETHODIMP CJetEngine::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                VARIANT* result, EXCEPINFO* exception, UINT* argError)
{
    if (id != kCompactDatabaseId)
        return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_METHOD))
        return DISP_E_MEMBERNOTFOUND;
    if (!params || params->cArgs != 2)
        return DISP_E_BADPARAMCOUNT;
    if (params->cNamedArgs)
        return DISP_E_NONAMEDARGS;
    std::u16string source;
    std::u16string destination;
    for (UINT position = 0; position < 2; position++) {
        HRESULT hr = ArgumentText(params, position, position == 0 ? source : destination);
        if (FAILED(hr)) {
            if (argError)
                *argError = params->cArgs - 1 - position;
            return hr;
        }
    }
    if (result)
        VariantInit(result);
    HRESULT hr = CompactDatabase(source, destination);
    return FAILED(hr) ? FillException(hr, exception) : S_OK;
}

// The file a connection text names; fails when it names another provider.
static HRESULT ConnectionFile(const std::u16string& text, std::u16string& file)
{
    std::string utf8 = Utf8FromWide(reinterpret_cast<const WCHAR*>(text.c_str()));
    std::u16string provider = ConnectionValue(text, "Provider");
    std::u16string ours = WideFromUtf8(ZYM_JET_PROVIDER_PROGID);
    if (!provider.empty() && lstrcmpiW(reinterpret_cast<LPCWSTR>(provider.c_str()),
                                       reinterpret_cast<LPCWSTR>(ours.c_str())) != 0)
        return ProviderErrorF(E_INVALIDARG, "The connection '%s' names another provider.", utf8.c_str());
    file = ConnectionValue(text, "Data Source");
    if (file.empty())
        return ProviderErrorF(E_INVALIDARG, "The connection '%s' names no data source.", utf8.c_str());
    return S_OK;
}

HRESULT CJetEngine::CompactDatabase(const std::u16string& source, const std::u16string& destination)
{
    std::u16string sourceFile;
    std::u16string destinationFile;
    HRESULT hr = ConnectionFile(source, sourceFile);
    if (SUCCEEDED(hr))
        hr = ConnectionFile(destination, destinationFile);
    if (FAILED(hr))
        return hr;
    const WCHAR* target = reinterpret_cast<const WCHAR*>(destinationFile.c_str());
    std::string targetName = Utf8FromWide(target);
    if (GetFileAttributesW(target) != INVALID_FILE_ATTRIBUTES)
        return ProviderErrorF(E_FAIL, "The file '%s' already exists.", targetName.c_str());
    std::string unixTarget = UnixPathOf(target);
    if (unixTarget.empty())
        return ProviderErrorF(E_FAIL, "The path '%s' cannot be reached.", targetName.c_str());

    CSqliteDb* db = nullptr;
    hr = CSqliteDb::Open(reinterpret_cast<const WCHAR*>(sourceFile.c_str()), true, &db);
    if (FAILED(hr))
        return hr;
    CStatement vacuum;
    int rc = vacuum.Prepare(db->Handle(), "VACUUM INTO ?");
    if (rc == SQLITE_OK) {
        sqlite3_bind_text(vacuum.Get(), 1, unixTarget.c_str(), -1, SQLITE_TRANSIENT);
        rc = sqlite3_step(vacuum.Get());
    }
    if (rc != SQLITE_OK && rc != SQLITE_DONE) {
        hr = ProviderErrorF(E_FAIL, "The database cannot be compacted into '%s': %s",
                            targetName.c_str(), sqlite3_errmsg(db->Handle()));
        // A half-written copy must not pass for a good one.
        DeleteFileW(target);
    }
    db->Release();
    return hr;
}
