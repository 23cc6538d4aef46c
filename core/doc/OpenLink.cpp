#include "core/doc/OpenLink.h"

#include <afxwin.h>
#include <shellapi.h>

#include <atomic>

namespace {

// ShellExecute answers an instance handle above 32 on success.
const INT_PTR kShellSuccessAbove = 32;

BOOL OpenWithShell(const char* file, const char* parameters, const char* folder)
{
    CWnd* main = AfxGetMainWnd();
    HINSTANCE result = ShellExecuteA(main ? main->GetSafeHwnd() : nullptr, "open", file,
                                     *parameters ? parameters : nullptr, *folder ? folder : nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > kShellSuccessAbove;
}

std::atomic<LinkOpener> g_opener{ OpenWithShell };

} // namespace

BOOL OpenLink(const char* file, const char* parameters, const char* folder)
{
    LinkOpener opener = g_opener;
    return opener(file, parameters ? parameters : "", folder ? folder : "");
}

void SetLinkOpener(LinkOpener opener)
{
    g_opener = opener ? opener : OpenWithShell;
}
