#include "shell/options/DocOptionsHost.h"

#include "core/doc/ZymDoc.h"

BOOL CDocOptionsHost::AddDevice(const char* name, const char* file, int number, int unit, int ports)
{
    return m_doc.GetDevicePath().AddDevice(file, name, number, unit, ports);
}

BOOL CDocOptionsHost::DeleteDevice(const char* name)
{
    return m_doc.GetDevicePath().DeleteDevice(name);
}

int CDocOptionsHost::GetNumTavlins()
{
    return m_doc.GetDevicePath().GetNumTavlins();
}

void CDocOptionsHost::GetPlayerColors(int player, COLORREF& text, COLORREF& background)
{
    m_doc.GetPlayerColors(player, text, background);
}

void CDocOptionsHost::UpdateAllViews(LPARAM hint)
{
    m_doc.UpdateAllViews(nullptr, hint);
}

CCDDBClient& CDocOptionsHost::GetCddbClient()
{
    return m_doc.GetCddbClient();
}
