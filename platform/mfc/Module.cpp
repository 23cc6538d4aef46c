#include "platform/mfc/Module.h"

namespace {

HINSTANCE g_resourceHandle;

} // namespace

HINSTANCE AfxGetInstanceHandle()
{
    return GetModuleHandleA(NULL);
}

HINSTANCE AfxGetResourceHandle()
{
    return g_resourceHandle ? g_resourceHandle : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE resources)
{
    g_resourceHandle = resources;
}
