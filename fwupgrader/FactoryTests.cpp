#include "fwupgrader/FactoryTests.h"

#include <string.h>

#include "devices/port/TavlinTestText.h"

namespace {

// Ahead of the serial number in the unit's serial-number write command.
const BYTE kSerialWriteCode[4] = {0x5B, 0x2E, 0x71, 0xC4};
const int kControlBusPorts = 4;
const int kIRReceivers01 = 3;
const int kDrainMs = 10;
const int kSettleMs = 100;
const int kSerialAnswerMs = 1000;
const int kFirstVarloPort = 2;
const int kLastVarloPort = 7;
const int kVarloReceiver = 0;
const double kVarloCarrier = 40000;

// The unit's self tests in their order; a test has a pass/fail line of its
// name, or a line from its mask of failed ports.
struct SelfTest
{
    const char* heading;
    int kind;
    const char* name;
    CString (*maskText)(int failed);
};

const SelfTest kSelfTests[] = {
    {"Testing S-Link...\n", 1, nullptr, SLinkResultText},
    {"Testing IR0...\n", 2, "IR0", nullptr},
    {"Testing IR1...\n", 6, "IR1", nullptr},
    {"Testing IR1-7...\n", 5, nullptr, IRPortsResultText},
    {"Testing Par Port...\n", 3, "PAR", nullptr},
};

const char* const kSuccessPicture[] = {
    "                          \n",
    "   *   *                  \n",
    "     v                    \n",
    "\\____/                 \n",
};

} // namespace

bool CFactoryTests::StartTest(int comPort)
{
    m_output.Write("Starting Test\n");
    m_unit = AcquirePort<CTavlinPort>(m_output, comPort);
    if (!m_unit)
        return false;
    if (!m_unit->Locate()) {
        m_output.Error(FormatText("No Tavlin response from COM%d\n", comPort));
        return false;
    }
    m_output.Write(FormatText("Tavlin V%1.1f found\n", m_unit->GetVersion()));
    return true;
}

void CFactoryTests::TestInterfaceUnit(int comPort)
{
    if (!StartTest(comPort))
        return;
    StoreSettings();
    RunSelfTests();
    if (m_allPassed)
        WriteSerialNumber();
}

void CFactoryTests::StoreSettings()
{
    for (int p = 0; p < kControlBusPorts; ++p)
        m_unit->EnablePort(p);
    m_unit->SetIRReceivePorts(kIRReceivers01);
    m_unit->StoreToEEPROM();
    m_output.Write("Settings               \n");
}

void CFactoryTests::RunSelfTests()
{
    for (const SelfTest& test : kSelfTests) {
        if (!m_allPassed)
            return;
        m_output.Write(test.heading);
        int failed = m_unit->RunTest(test.kind, 1);
        CString line;
        if (test.maskText)
            line = test.maskText(failed) + "\n";
        else
            line.Format("%s %s\n", test.name, failed ? "Fail" : "Pass");
        m_output.Write(line);
        if (failed)
            m_allPassed = false;
    }
}

void CFactoryTests::WriteSerialNumber()
{
    CString ignored;
    m_unit->ReadResponses(ignored, kDrainMs);
    Sleep(kSettleMs);
    m_output.Write("Writing Serial#...\n");
    DWORD code;
    memcpy(&code, kSerialWriteCode, sizeof code);
    BYTE serial[8];
    MakeSerialNumber(serial);
    m_unit->WriteSerialNumber(code, serial);
    m_output.Write("Reading Serial#...\n");
    m_unit->RequestSerialNumber();
    DWORD start = GetTickCount();
    for (DWORD elapsed = 0; elapsed < DWORD(kSerialAnswerMs); elapsed = GetTickCount() - start)
        m_unit->ReadResponses(ignored, kSerialAnswerMs - int(elapsed));
    BYTE s[8];
    m_unit->GetSerialNumber(s);
    m_output.Write(FormatText("S/N %02X%02X%02X%02X%02X%02X%02X%02X\n", s[0], s[1], s[2], s[3], s[4], s[5], s[6],
                              s[7]));
    ShowSuccess();
}

void CFactoryTests::TestVarloUnit(int comPort)
{
    if (!StartTest(comPort))
        return;
    m_output.Write("Testing Varlo Outputs...\n");
    if (!TestVarloPorts(false))
        return;
    m_output.Write("Varlo Output Pass\n");
    m_output.Write("Testing Varlo Inputs...\n");
    if (!TestVarloPorts(true))
        return;
    m_output.Write("Varlo Input Pass\n");
    ShowSuccess();
}

bool CFactoryTests::TestVarloPorts(bool inputs)
{
    for (int port = kFirstVarloPort; port <= kLastVarloPort; ++port) {
        bool pass = m_unit->TestIRLoopback(port, inputs ? port : kVarloReceiver, kVarloCarrier) != FALSE;
        m_output.Write(FormatText(pass ? " Port %d Pass\n" : " Port %d Fail\n", port));
        if (!pass)
            m_allPassed = false;
    }
    return m_allPassed;
}

void CFactoryTests::ShowSuccess()
{
    for (const char* line : kSuccessPicture)
        m_output.Write(line);
}
