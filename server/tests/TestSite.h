// A client's callback object for the server's tests: records every received
// text and lets the test wait for a count. Calls arrive on COM's threads (the
// tests run in the multithreaded apartment). A hook runs inside Receive.
#pragma once
#include <windows.h>
#include <functional>
#include <mutex>
#include <string>
#include <vector>
#include "Tavlin.h"

class CTestSite : public ITavlinSite
{
public:
    CTestSite();
    virtual ~CTestSite();

    STDMETHOD(QueryInterface)(REFIID riid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(Receive)(LPWSTR* pMessage) override;

    // False when fewer than count texts came within timeoutMs.
    bool WaitFor(size_t count, DWORD timeoutMs = 10000);
    std::vector<std::string> Texts();
    std::function<void(const std::string&)> onReceive;

private:
    LONG m_refs;
    std::mutex m_lock;
    std::vector<std::string> m_texts;
    HANDLE m_changed;
};

// The test's environment variable, "" when unset.
std::string Env(const char* name);
// Registers the build's proxy/stub library (ZYM_TAVLINPS_DLL) in the prefix.
void RegisterProxyLibrary();

// UTF-16 helpers for the calls; TaskText frees what it reads.
std::u16string Wide(const char* text);
std::string TaskText(LPWSTR text);
