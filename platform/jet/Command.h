// A command of a session: SQL text in the dialect the library writes, which is
// Jet's; the few forms SQLite spells differently are translated on execution.
#pragma once

#include <windows.h>
#include <oledb.h>
#include <string>

#include "platform/jet/SqliteDb.h"

class CJetCommand : public ICommandText, public ICommandProperties, public ISupportErrorInfo
{
public:
    static HRESULT Create(CSqliteDb* db, IUnknown* session, REFIID riid, IUnknown** command);

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // ICommand
    STDMETHODIMP Cancel() override;
    STDMETHODIMP Execute(IUnknown* outer, REFIID riid, DBPARAMS* params, DBROWCOUNT* rowsAffected,
                         IUnknown** rowset) override;
    STDMETHODIMP GetDBSession(REFIID riid, IUnknown** session) override;
    // ICommandText
    STDMETHODIMP GetCommandText(GUID* dialect, LPOLESTR* text) override;
    STDMETHODIMP SetCommandText(REFGUID dialect, LPCOLESTR text) override;
    // ICommandProperties
    STDMETHODIMP GetProperties(ULONG count, const DBPROPIDSET ids[], ULONG* setCount,
                               DBPROPSET** sets) override;
    STDMETHODIMP SetProperties(ULONG count, DBPROPSET sets[]) override;
    // ISupportErrorInfo
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;

private:
    CJetCommand(CSqliteDb* db, IUnknown* session);
    virtual ~CJetCommand();
    CJetCommand(const CJetCommand&) = delete;
    CJetCommand& operator=(const CJetCommand&) = delete;

    HRESULT Run(CStatement& stmt, DBROWCOUNT* rowsAffected);

    LONG m_refs;
    CSqliteDb* m_db;
    IUnknown* m_session;
    std::u16string m_text;
    bool m_hasText;
};

// The SQLite form of a command text. For "SELECT * FROM table ..." the rowid is
// selected first and table is the quoted name, so the rows can be changed.
std::string TranslateCommand(const std::string& text, std::string& table);
