#include "bench/support/BenchHost.h"

#include "core/doc/ZymDoc.h"

#include <windows.h>

#include <stdio.h>

namespace {

const char* const kStartupOptions[] = { "Auto Locate Tavlins", "Auto Load DB", "COM Ports to Check",
                                        "Auto Save DB X" };

} // namespace

CBenchApp::CBenchApp(const char* registryKey) : CWinApp("Zym"), m_registryKey(registryKey)
{
    SetRegistryKey(registryKey);
    for (const char* name : kStartupOptions)
        WriteProfileInt("Options", name, 0);
}

CBenchApp::~CBenchApp()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_registryKey).c_str());
}

CZymDoc& CBenchFrame::OpenDocument()
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    m_doc = new CZymDoc(*this, folder);
    // CloseDocument deletes it, so the bench decides when it goes.
    m_doc->m_bAutoDelete = FALSE;
    m_doc->OnNewDocument();
    m_doc->GetDevicePath().SetMessageBoxes(FALSE);
    return *m_doc;
}

void CBenchFrame::CloseDocument()
{
    if (!m_doc)
        return;
    m_doc->OnCloseDocument();
    delete m_doc;
    m_doc = nullptr;
}

void CBenchFrame::FatalError(const char* text)
{
    fprintf(stderr, "%s\n", text);
    ExitProcess(1);
}
