// The factory's tests of interface units, on the COM port the firmware
// upgrader's dialog names: a unit on the loopback fixture is tested port by
// port and then given a serial number; a unit wired for Varlo equipment has
// its IR outputs 2-7 tested against receiver 0 and its inputs against their
// own outputs. Later steps run only while every earlier one passed; each
// result is a line of the output.
#pragma once

#include "devices/port/TavlinPort.h"
#include "fwupgrader/UpgraderOutput.h"

#include <memory>

class CFactoryTests
{
public:
    explicit CFactoryTests(CUpgraderOutput& output) : m_output(output), m_allPassed(true) {}

    void TestInterfaceUnit(int comPort);
    void TestVarloUnit(int comPort);

private:
    // "Starting Test", the port and the unit's answer; false after an error.
    bool StartTest(int comPort);
    void StoreSettings();
    void RunSelfTests();
    void WriteSerialNumber();
    // Outputs 2-7 seen by receiver 0, or inputs 2-7 seeing their own outputs.
    bool TestVarloPorts(bool inputs);
    void ShowSuccess();

    CUpgraderOutput& m_output;
    std::unique_ptr<CTavlinPort> m_unit;
    bool m_allPassed;
};
