// Where an operation of the firmware upgrader's dialog reports: lines into the
// output box (which repaints at once), errors also in a message box; and the
// serial driver it opens for itself for the length of one operation.
#pragma once

#include "platform/mfc/FormatText.h"

#include <afx.h>

#include <memory>

class CUpgraderOutput
{
public:
    virtual ~CUpgraderOutput() {}
    virtual void Write(const char* text) = 0;
    virtual void Error(const char* text) = 0;
};

const int kFirstComPort = 1;
const int kLastComPort = 12;

// The driver (CKeltoPort or CTavlinPort) of COM(comPort), or null after the
// error "Unable to access port COM%d". A port outside COM1-COM12, which only a
// command line can name, is never opened: another port must not be flashed.
template <class Port>
std::unique_ptr<Port> AcquirePort(CUpgraderOutput& output, int comPort)
{
    std::unique_ptr<Port> port;
    if (comPort >= kFirstComPort && comPort <= kLastComPort) {
        // The port shows no boxes, for the opening or later: the program
        // tells what went wrong in its own words.
        port.reset(new Port(comPort, FALSE));
        if (port->IsOpenFailed())
            port.reset();
    }
    if (!port) {
        output.Error(FormatText("Unable to access port COM%d\n", comPort));
        return port;
    }
    output.Write(FormatText("Aquired COM%d\n", comPort));
    return port;
}
