// The proleptic Gregorian calendar counted in days from 30 December 1899
// (day 0 of the OLE DATE scale).
#pragma once

#include <windows.h>

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
// 1 = 1 January.
int DayOfYear(int year, int month, int day);
long DayNumber(int year, int month, int day);
// Fills wYear, wMonth, wDay and wDayOfWeek (0 = Sunday).
void DateFromDayNumber(long dayNumber, SYSTEMTIME& date);
