// The options sheet under test: a profile of its own, a main window that
// records the requests the pages send it (and saves the options on the apply
// request, as the document does first), a host that records what the pages
// ask of the document, and steps that work the sheet's controls.
#pragma once

#include "shell/options/tests/StepDriver.h"
#include "tests/support/TestFramework.h"
#include "tests/support/doc/TestProfile.h"

#include "shell/options/OptionsResources.h"
#include "shell/options/OptionsSheet.h"
#include "library/web/CDDBClient.h"

#include <afxwin.h>

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

typedef std::vector<std::string> Calls;

class CRecordingMainWnd : public CWnd
{
public:
    // The options the apply request saves; the request's moment is handed to onApply.
    CZymOptions* options = nullptr;
    std::function<void()> onApply;
    Calls requests;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 5 || message == WM_USER + 8 || message == WM_USER + 9)
        {
            requests.push_back("WM_USER+" + std::to_string(message - WM_USER));
            if (message == WM_USER + 5 && options)
                options->SaveOptions();
            if (message == WM_USER + 5 && onApply)
                onApply();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class CRecordingHost : public COptionsHost
{
public:
    BOOL AddDevice(const char* name, const char* file, int number, int unit, int ports) override
    {
        calls.push_back("add " + std::string(name) + " " + file + " " + std::to_string(number) + " " +
                        std::to_string(unit) + " " + std::to_string(ports));
        return addResult;
    }
    BOOL DeleteDevice(const char* name) override
    {
        calls.push_back("delete " + std::string(name));
        return TRUE;
    }
    int GetNumTavlins() override { return units; }
    // As the document: the colours of the options' rows.
    void GetPlayerColors(int player, COLORREF& text, COLORREF& background) override
    {
        int row = player == 1001 ? 1 : player < 0 ? 0 : player + 2;
        text = colors->m_foreground[row];
        background = colors->m_background[row];
    }
    void UpdateAllViews(LPARAM hint) override { calls.push_back("hint " + std::to_string(hint)); }
    CCDDBClient& GetCddbClient() override { return cddb; }

    CPage8* colors = nullptr;
    BOOL addResult = TRUE;
    int units = 0;
    Calls calls;
    CCDDBClient cddb;
};

class OptionsTest : public ::testing::Test
{
public:
    static constexpr const char* kTitle = "ZYM Options";
    static constexpr const char* kFolder = "C:\\Zym\\Bin\\";

    OptionsTest() : m_app("ZymShellOptionsTest")
    {
        m_app.WriteProfileString("Options", nullptr, nullptr);
        m_main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100), nullptr, 0);
        m_app.m_pMainWnd = &m_main;
        NewOptions();
        m_steps.Wait([] { return Sheet() != NULL; });
    }
    ~OptionsTest() override
    {
        m_app.m_pMainWnd = nullptr;
        m_main.DestroyWindow();
        m_options.reset();
        m_app.WriteProfileString("Options", nullptr, nullptr);
    }

    // Options loaded again from the profile, as the next run would.
    void NewOptions()
    {
        m_options.reset();
        m_options.reset(new CZymOptions(kFolder));
        m_main.options = m_options.get();
        m_host.colors = &m_options->m_page8;
    }

    // Runs the sheet through RunOptionsSheet; the steps start once it shows.
    INT_PTR RunSheet()
    {
        m_steps.Start();
        INT_PTR result = RunOptionsSheet(*m_options, m_host, kTitle);
        EXPECT_TRUE(m_steps.Finished());
        return result;
    }

    // The raw profile value: a text, or a number as text.
    std::string Stored(const char* name)
    {
        const int absent = INT_MIN;
        int number = (int)m_app.GetProfileInt("Options", name, absent);
        if (number != absent)
            return std::to_string(number);
        return (LPCSTR)m_app.GetProfileString("Options", name, "<absent>");
    }

    static HWND Sheet() { return CStepDriver::Find(kTitle); }
    static HWND Page() { return (HWND)SendMessageA(Sheet(), PSM_GETCURRENTPAGEHWND, 0, 0); }
    static int PageIndex() { return (int)SendMessageA(Sheet(), PSM_HWNDTOINDEX, (WPARAM)Page(), 0); }
    static void ShowPage(int index) { SendMessageA(Sheet(), PSM_SETCURSEL, index, 0); }
    // The sheet's own buttons, clicked: the sheet hears their commands.
    static void PressOK() { SendMessageA(GetDlgItem(Sheet(), IDOK), BM_CLICK, 0, 0); }
    static void PressCancel() { SendMessageA(GetDlgItem(Sheet(), IDCANCEL), BM_CLICK, 0, 0); }
    static HWND Item(int id) { return GetDlgItem(Page(), id); }
    static void Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    static void SetText(int id, const std::string& text) { SetDlgItemTextA(Page(), id, text.c_str()); }
    static std::string Text(int id)
    {
        char text[512] = "";
        GetDlgItemTextA(Page(), id, text, sizeof text);
        return text;
    }
    static bool Checked(int id) { return IsDlgButtonChecked(Page(), id) == BST_CHECKED; }
    static bool Enabled(int id) { return IsWindowEnabled(Item(id)) != FALSE; }
    // Picks a list item as the user would: the page hears the change.
    static void Choose(int id, int index)
    {
        SendMessageA(Item(id), CB_SETCURSEL, index, 0);
        SendMessageA(Page(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)Item(id));
    }
    static int Chosen(int id) { return (int)SendMessageA(Item(id), CB_GETCURSEL, 0, 0); }

    CTestProfileApp m_app;
    CRecordingMainWnd m_main;
    CRecordingHost m_host;
    std::unique_ptr<CZymOptions> m_options;
    CStepDriver m_steps;
};
