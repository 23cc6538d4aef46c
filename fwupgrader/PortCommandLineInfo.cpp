#include "fwupgrader/PortCommandLineInfo.h"

#include <ctype.h>
#include <string.h>

namespace {

const int kPrefixLength = 3;
// Digits past this would only overflow; such a port is refused anyway.
const int kMostDigits = 6;

int PortNumber(LPCSTR param)
{
    int number = 0;
    if (strlen(param) < size_t(kPrefixLength))
        return number;
    const char* p = param + kPrefixLength;
    for (int n = 0; n < kMostDigits && isdigit(BYTE(*p)); ++n, ++p)
        number = number * 10 + (*p - '0');
    return number;
}

} // namespace

CPortCommandLineInfo::CPortCommandLineInfo() : m_portGiven(false), m_portNumber(0)
{
}

void CPortCommandLineInfo::ParseParam(LPCSTR param, BOOL flag, BOOL last)
{
    CString lower(param);
    lower.MakeLower();
    if (!flag && lower.Find("com") >= 0) {
        m_portGiven = true;
        m_portNumber = PortNumber(param);
        return;
    }
    CCommandLineInfo::ParseParam(param, flag, last);
}
