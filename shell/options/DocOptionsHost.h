// The options pages' host over the jukebox document.
#pragma once

#include "shell/options/OptionsHost.h"

class CZymDoc;

class CDocOptionsHost : public COptionsHost
{
public:
    explicit CDocOptionsHost(CZymDoc& doc) : m_doc(doc) {}

    BOOL AddDevice(const char* name, const char* file, int number, int unit, int ports) override;
    BOOL DeleteDevice(const char* name) override;
    int GetNumTavlins() override;
    void GetPlayerColors(int player, COLORREF& text, COLORREF& background) override;
    void UpdateAllViews(LPARAM hint) override;
    CCDDBClient& GetCddbClient() override;

private:
    CZymDoc& m_doc;
};
