#include "core/players/tests/FakePlayerHost.h"

#include "core/players/SonyPlayer.h"

#include <afxmt.h>

#include <stdio.h>

BOOL CRecordingPath::SendDeviceCommand(const char* text)
{
    CSingleLock lock(&m_lock, TRUE);
    sent.push_back(text);
    return result;
}

BOOL CRecordingPath::DeleteDevice(const char* name)
{
    deleted.push_back(name);
    return TRUE;
}

std::vector<std::string> CRecordingPath::TakeSent()
{
    CSingleLock lock(&m_lock, TRUE);
    std::vector<std::string> texts;
    texts.swap(sent);
    return texts;
}

BOOL CFakePlayerHost::VerifyDiscAt(int player, int disc, int track, int minutes, int seconds)
{
    char text[64];
    snprintf(text, sizeof text, "%d %d %d %d:%02d", player, disc, track, minutes, seconds);
    verified.push_back(text);
    return discMatches;
}

void NameChangerDevices(CSonyPlayer& player)
{
    player.SetAddress(ChangerAddress::OnBus(0, 0, 0, true));
}
