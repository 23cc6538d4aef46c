// What the application's windows hand to the document between ticks: the
// play-list file that a second instance or the shell passed on, and the times
// of the user's last actions in the views.
#pragma once

#include <afx.h>
#include <time.h>

// The application's DDE handler stores the name; the tick takes it once.
void SetHandedOverPlaylist(const char* path);
// The name, cleared as it is taken; empty when none waits.
CString TakeHandedOverPlaylist();

// The views stamp each user action (time() seconds) in one of two stamps.
class UserActionStamps
{
public:
    enum { kListViews = 0, kOtherViews = 1, kStamps = 2 };
    static void Set(int which, time_t when);
    static time_t Get(int which);
};
