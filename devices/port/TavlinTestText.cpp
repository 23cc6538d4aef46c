#include "devices/port/TavlinTestText.h"

#include <time.h>

#include "platform/crt/Random.h"

namespace {

const int kControlBusPorts = 4;
const int kIROutputs = 7;

} // namespace

CString SLinkResultText(int failedPorts)
{
    CString text, part;
    for (int p = 0; p < kControlBusPorts; ++p) {
        part.Format(failedPorts & (1 << p) ? "sl%d Fail " : "sl%d Pass ", p);
        text += part;
    }
    return text;
}

// After the first failing output a passing one may only have passed for want
// of a signal.
CString IRPortsResultText(int failedOutputs)
{
    CString text, part;
    bool failed = false;
    for (int j = 1; j <= kIROutputs; ++j) {
        bool bad = (failedOutputs & (1 << j)) != 0;
        part.Format(bad ? "ir%dF " : failed ? "ir%d? " : "ir%dP ", j);
        text += part;
        failed = failed || bad;
    }
    return text;
}

void MakeSerialNumber(BYTE serial[8])
{
    DWORD now = DWORD(time(nullptr));
    for (int i = 0; i < 4; ++i)
        serial[i] = BYTE(now >> (8 * i));
    for (int i = 4; i < 8; ++i)
        serial[i] = BYTE(MsRand());
}
