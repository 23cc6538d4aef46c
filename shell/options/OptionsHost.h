// What the options pages need of the document: the devices they define and
// delete at once, the unit count, the player colours of the list rows, the
// disc-database client and the views' refresh. CDocOptionsHost is the
// document's; tests give their own.
#pragma once

#include <afxwin.h>

class CCDDBClient;

class COptionsHost
{
public:
    virtual ~COptionsHost() {}
    // The device file is a full path; TRUE when the device was defined.
    virtual BOOL AddDevice(const char* name, const char* file, int number, int unit, int ports) = 0;
    virtual BOOL DeleteDevice(const char* name) = 0;
    virtual int GetNumTavlins() = 0;
    // Player -1 missing, 1001 the MP3 player, n changer n (from 0).
    virtual void GetPlayerColors(int player, COLORREF& text, COLORREF& background) = 0;
    virtual void UpdateAllViews(LPARAM hint) = 0;
    // The document's own client: "Register..." uses it, "Locate..." borrows
    // its user side and threads.
    virtual CCDDBClient& GetCddbClient() = 0;
};
