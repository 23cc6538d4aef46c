// What a changer player needs of the document. The document implements it; the
// tests give their own, with a clock they set.
#pragma once

#include <afx.h>
#include <time.h>

class CDevicePath;

class CPlayerHost
{
public:
    virtual ~CPlayerHost() {}
    virtual CDevicePath& GetDevicePath() = 0;
    // Program events (FireEvent) and the debug events the player view can show.
    virtual void FireEvent(const char* text) = 0;
    virtual void DebugEvent(const char* text) = 0;
    // Of the interface unit the changers hang on; 0 when none answered.
    virtual double GetFirmwareVersion() = 0;
    // The option "Detect Skipping Discs".
    virtual BOOL DetectSkippingDiscs() = 0;
    // The library's check of a reported disc: false when it does not match.
    virtual BOOL VerifyDiscAt(int player, int disc, int track, int minutes, int seconds) = 0;
    // Seconds, as time() gives them.
    virtual time_t Now() = 0;
};
