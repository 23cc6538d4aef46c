#include "core/doc/WebHosts.h"

#include <afxwin.h>

namespace {

const char kSection[] = "Options";

CString ReadHost(const char* name, const char* fallback)
{
    CWinApp* app = AfxGetApp();
    return app ? app->GetProfileString(kSection, name, fallback) : CString(fallback);
}

} // namespace

WebHosts WebHosts::Load()
{
    WebHosts hosts;
    hosts.lyrics = ReadHost("Lyrics Host", "lyrics.example");
    hosts.shop = ReadHost("Cover Shop Host", "www.shop.example");
    hosts.images = ReadHost("Cover Image Host", "images.shop.example");
    return hosts;
}
