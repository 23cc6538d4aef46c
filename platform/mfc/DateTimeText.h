// Date and time texts that do not depend on the machine's locale: the
// Microsoft runtime's strftime in its C locale, and a reader of the usual
// US-English forms.
#pragma once

#include <afx.h>

// parts: every field but wMilliseconds, wDayOfWeek 0 = Sunday.
CString FormatDateTimeText(LPCSTR format, const SYSTEMTIME& parts);

// Reads a date, a time or both (see COleDateTime::ParseDateTime). A date
// without a year takes currentYear. False when the text is no date or time;
// the parts are not range-checked.
bool ParseDateTimeText(LPCSTR text, int currentYear, SYSTEMTIME& parts, bool& hasDate,
                       bool& hasTime);
