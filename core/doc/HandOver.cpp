#include "core/doc/HandOver.h"

#include <afxmt.h>

#include <atomic>

namespace {

CCriticalSection& PlaylistLock()
{
    static CCriticalSection lock;
    return lock;
}

CString& HandedOverPlaylist()
{
    static CString path;
    return path;
}

std::atomic<time_t> g_userActions[UserActionStamps::kStamps];

} // namespace

void SetHandedOverPlaylist(const char* path)
{
    CSingleLock hold(&PlaylistLock(), TRUE);
    HandedOverPlaylist() = path;
}

CString TakeHandedOverPlaylist()
{
    CSingleLock hold(&PlaylistLock(), TRUE);
    CString path = HandedOverPlaylist();
    HandedOverPlaylist().Empty();
    return path;
}

void UserActionStamps::Set(int which, time_t when)
{
    g_userActions[which] = when;
}

time_t UserActionStamps::Get(int which)
{
    return g_userActions[which];
}
