// The application and the document frame a bench runs the document in.
#pragma once

#include "core/doc/DocumentFrame.h"

#include <afxwin.h>

#include <string>

class CZymDoc;

// The application, its settings under a registry key of the bench's own that
// goes when the bench ends. At start nothing searches ports or loads or saves
// a database; a bench turns on again what it needs.

class CBenchApp : public CWinApp
{
public:
    explicit CBenchApp(const char* registryKey);
    ~CBenchApp() override;

private:
    std::string m_registryKey;
};

// The document's frame without a window: no views, nothing shown; a fatal
// error ends the bench with its text on stderr.
class CBenchFrame : public CDocumentFrame
{
public:
    explicit CBenchFrame(CMp3Control* player = nullptr) : m_player(player) {}
    ~CBenchFrame() override { CloseDocument(); }

    // A new document over the temporary folder that shows no message boxes.
    CZymDoc& OpenDocument();
    void CloseDocument();

    void CreateViews() override {}
    void ShowStatusIndicator(BOOL) override {}
    void ShowStartupTip() override {}
    void ShowOptions(CZymOptions&, const char*) override {}
    void PostClose() override {}
    CMp3Control* GetMp3Player() override { return m_player; }
    CString GetVersionText() override { return "bench"; }
    void FatalError(const char* text) override;

private:
    CMp3Control* m_player;
    CZymDoc* m_doc = nullptr;
};
