// A document for player tests: a device path that records every text and
// accepts it, the events the player fires, and a clock the test sets.
#pragma once

#include <afxmt.h>

#include "core/devpath/DevicePath.h"
#include "core/players/PlayerHost.h"

#include <string>
#include <vector>

class CSonyPlayer;

// The device names of changer id 1 on unit 0, bus port 0, upper slots included.
void NameChangerDevices(CSonyPlayer& player);

class CRecordingPath : public CNoDevicePath
{
public:
    BOOL SendDeviceCommand(const char* text) override;
    BOOL DeleteDevice(const char* name) override;

    std::vector<std::string> TakeSent();

    std::vector<std::string> sent;
    std::vector<std::string> deleted;
    BOOL result = TRUE;

private:
    CCriticalSection m_lock;
};

class CFakePlayerHost : public CPlayerHost
{
public:
    CDevicePath& GetDevicePath() override { return road ? *road : path; }
    void FireEvent(const char* text) override { events.push_back(text); }
    void DebugEvent(const char* text) override { debug.push_back(text); }
    double GetFirmwareVersion() override { return firmware; }
    BOOL DetectSkippingDiscs() override { return detectSkipping; }
    BOOL VerifyDiscAt(int player, int disc, int track, int minutes, int seconds) override;
    time_t Now() override { return now; }

    CRecordingPath path;
    CDevicePath* road = nullptr;   // another path in place of the recording one
    std::vector<std::string> events;
    std::vector<std::string> debug;
    std::vector<std::string> verified;   // "player disc track m:ss"
    double firmware = 3.0;
    BOOL detectSkipping = FALSE;
    BOOL discMatches = TRUE;
    time_t now = 1000000;
};
