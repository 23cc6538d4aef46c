// strtod as the Microsoft C runtime reads numbers: decimal forms only, so
// "0x10" reads as 0 and "inf" or "nan" read nothing, as the programs' texts expect.
#pragma once

// Skips leading white space, reads [sign]digits[.digits][(e|E)[sign]digits];
// end (may be null) gets the first character not read, text when nothing was.
double MsStrtod(const char* text, char** end);
