// The compaction engine, created by its CLSID and called through IDispatch.
#include "platform/jet/tests/JetFixture.h"

#include "JetIds.h"

namespace {

class JetEngineTest : public JetFixture
{
protected:
    // Calls CompactDatabase; gives the result and the exception's description.
    HRESULT Compact(const std::string& source, const std::string& destination, std::string& error)
    {
        CComRef<IDispatch> engine;
        HRESULT hr = CoCreateInstance(CLSID_ZymJetEngine, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                      engine.OutVoid());
        if (FAILED(hr))
            return hr;
        std::u16string name = u"" ZYM_JET_COMPACT_METHOD;
        LPOLESTR names[] = { reinterpret_cast<LPOLESTR>(&name[0]) };
        DISPID id = 0;
        hr = engine->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(hr))
            return hr;
        VARIANT args[2];
        std::u16string texts[2] = { std::u16string(destination.begin(), destination.end()),
                                    std::u16string(source.begin(), source.end()) };
        for (int i = 0; i < 2; i++) {
            VariantInit(&args[i]);
            V_VT(&args[i]) = VT_BSTR;
            V_BSTR(&args[i]) = SysAllocString(reinterpret_cast<const OLECHAR*>(texts[i].c_str()));
        }
        DISPPARAMS params = { args, nullptr, 2, 0 };
        EXCEPINFO exception = {};
        hr = engine->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                            &exception, nullptr);
        for (int i = 0; i < 2; i++)
            VariantClear(&args[i]);
        error.clear();
        for (const OLECHAR* p = exception.bstrDescription; p && *p; p++)
            error += static_cast<char>(*p);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrHelpFile);
        return hr;
    }

    std::string Connection(const char* file)
    {
        return "Provider=" ZYM_JET_PROVIDER_PROGID ";Data Source=" + WindowsPath(file);
    }
};

TEST_F(JetEngineTest, CompactsIntoANewFileWithTheSameRows)
{
    Exec("lib.mdb",
                 "CREATE TABLE Albums (ZYMID TEXT(50) COLLATE NOCASE, Title TEXT(255));"
                 "INSERT INTO Albums VALUES ('A1', 'First'), ('A2', 'Second');"
                 "DELETE FROM Albums WHERE ZYMID = 'A1';");
    std::string error;
    ASSERT_EQ(S_OK, Compact(Connection("lib.mdb"), Connection("lib.bak"), error)) << error;
    EXPECT_EQ("A2 Second", Query("lib.bak", "SELECT ZYMID || ' ' || Title FROM Albums"));
    // The key keeps comparing without case in the copy.
    EXPECT_EQ("1", Query("lib.bak", "SELECT count(*) FROM Albums WHERE ZYMID = 'a2'"));
}

TEST_F(JetEngineTest, RefusesWhatItCannotCompact)
{
    Exec("lib.mdb", "CREATE TABLE Albums (ZYMID TEXT(50));");
    Exec("old.bak", "CREATE TABLE Stale (x INTEGER);");
    struct Case { std::string source; std::string destination; const char* mentions; };
    const Case cases[] = {
        { Connection("lib.mdb"), Connection("old.bak"), "old.bak" },        // destination exists
        { Connection("missing.mdb"), Connection("new.bak"), "missing.mdb" },
        { "Provider=Other.Provider;Data Source=" + WindowsPath("lib.mdb"), Connection("new.bak"), "Other" },
        { "Provider=" ZYM_JET_PROVIDER_PROGID, Connection("new.bak"), "data source" },
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(DISP_E_EXCEPTION, Compact(c.source, c.destination, error)) << c.mentions;
        EXPECT_NE(std::string::npos, error.find(c.mentions)) << error;
    }
    // The stale destination is left as it was.
    EXPECT_EQ("1", Query("old.bak", "SELECT count(*) FROM sqlite_master WHERE name = 'Stale'"));
}

}
