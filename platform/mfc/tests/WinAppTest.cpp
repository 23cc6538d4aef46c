#include "tests/support/TestFramework.h"
#include "tests/support/MessageBoxScript.h"

#include <afxwin.h>

#include <string.h>

#include <vector>

namespace
{
const char kTestRegistryKey[] = "ZymClassLibraryTest";
const char kSection[] = "Lists\\Play List";

class CTestApp : public CWinApp
{
public:
    explicit CTestApp(LPCSTR name = "ProfileApp") : CWinApp(name) {}
    using CWinApp::SetRegistryKey;
};

DWORD WINAPI ReadThreadId(void* param)
{
    return GetThreadId(*(HANDLE*)param);
}

// The id of the thread the handle names, asked from another thread.
DWORD ThreadIdSeenElsewhere(HANDLE handle)
{
    HANDLE thread = CreateThread(NULL, 0, ReadThreadId, &handle, 0, NULL);
    WaitForSingleObject(thread, INFINITE);
    DWORD id = 0;
    GetExitCodeThread(thread, &id);
    CloseHandle(thread);
    return id;
}

void DeleteTestKey()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string("Software\\") + kTestRegistryKey).c_str());
}

// Runs each case on a registry profile and on an ini-file profile.
class ProfileTest : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        DeleteTestKey();
        if (GetParam())
        {
            m_app.SetRegistryKey(kTestRegistryKey);
        }
        else
        {
            free((void*)m_app.m_pszProfileName);
            m_app.m_pszProfileName = strdup("ZymClassLibraryTest.INI");
            m_app.WriteProfileString(kSection, NULL, NULL);
            m_app.WriteProfileString("Options", NULL, NULL);
        }
    }

    void TearDown() override { DeleteTestKey(); }

    CTestApp m_app;
};
}

TEST_P(ProfileTest, ValuesRoundTripAndDefaultsFillTheGaps)
{
    EXPECT_EQ(17u, m_app.GetProfileInt(kSection, "NumDef", 17));
    EXPECT_EQ(CString("none"), m_app.GetProfileString(kSection, "Playlist", "none"));
    EXPECT_EQ(CString(""), m_app.GetProfileString(kSection, "Playlist"));

    struct IntCase
    {
        const char* entry;
        int value;
    };
    const IntCase ints[] = {{"NumDef", 0}, {"Pointer", 12345}, {"Negative", -3}};
    for (const IntCase& c : ints)
    {
        EXPECT_TRUE(m_app.WriteProfileInt(kSection, c.entry, c.value));
        EXPECT_EQ((UINT)c.value, m_app.GetProfileInt(kSection, c.entry, 99)) << c.entry;
    }

    const char* texts[] = {"", "12 3 4", "0001 0002 0800 0600", "with \"quotes\" and = signs"};
    for (const char* text : texts)
    {
        EXPECT_TRUE(m_app.WriteProfileString(kSection, "Playlist", text));
        EXPECT_EQ(CString(text), m_app.GetProfileString(kSection, "Playlist", "none")) << text;
    }
    std::string longText(3000, 'x');
    EXPECT_TRUE(m_app.WriteProfileString("Options", "Long", longText.c_str()));
    EXPECT_EQ(CString(longText.c_str()), m_app.GetProfileString("Options", "Long"));
}

TEST_P(ProfileTest, NullValueDeletesTheEntryAndNullEntryTheSection)
{
    m_app.WriteProfileString(kSection, "Playlist", "a b c");
    m_app.WriteProfileInt(kSection, "Pointer", 4);
    m_app.WriteProfileInt("Options", "Pointer", 5);

    m_app.WriteProfileString(kSection, "Playlist", NULL);
    EXPECT_EQ(CString("gone"), m_app.GetProfileString(kSection, "Playlist", "gone"));
    EXPECT_EQ(4u, m_app.GetProfileInt(kSection, "Pointer", 0));

    EXPECT_TRUE(m_app.WriteProfileString(kSection, NULL, NULL));
    EXPECT_EQ(0u, m_app.GetProfileInt(kSection, "Pointer", 0));
    EXPECT_EQ(5u, m_app.GetProfileInt("Options", "Pointer", 0));
}

INSTANTIATE_TEST_SUITE_P(RegistryAndIniFile, ProfileTest, ::testing::Values(true, false));

TEST(RegistryProfile, LivesUnderSoftwareKeyAndAppName)
{
    DeleteTestKey();
    CTestApp app("tavlinserv");
    app.SetRegistryKey(kTestRegistryKey);
    EXPECT_STREQ(kTestRegistryKey, app.m_pszRegistryKey);
    EXPECT_STREQ("tavlinserv", app.m_pszProfileName);
    app.WriteProfileInt("Main Frame", "Visible", 1);

    HKEY key = NULL;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CURRENT_USER,
                            "Software\\ZymClassLibraryTest\\tavlinserv\\Main Frame", 0, KEY_READ,
                            &key));
    DWORD type = 0, value = 0, size = sizeof(value);
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Visible", NULL, &type, (BYTE*)&value, &size));
    EXPECT_EQ((DWORD)REG_DWORD, type);
    EXPECT_EQ(1u, value);
    RegCloseKey(key);

    HKEY section = app.GetSectionKey("Main Frame");
    ASSERT_NE((HKEY)NULL, section);
    RegCloseKey(section);
    DeleteTestKey();
}

TEST(RegistryProfile, BinaryRoundTripsAndOtherTypesAreRefused)
{
    DeleteTestKey();
    CTestApp app;
    BYTE* data = (BYTE*)1;
    UINT bytes = 1;
    EXPECT_FALSE(app.GetProfileBinary("Bars", "Buttons", &data, &bytes));
    EXPECT_EQ(nullptr, data);
    EXPECT_EQ(0u, bytes);

    app.SetRegistryKey(kTestRegistryKey);
    std::vector<BYTE> placement(44);
    for (size_t i = 0; i < placement.size(); i++)
        placement[i] = (BYTE)(i * 7);
    EXPECT_TRUE(app.WriteProfileBinary("Bars", "Placement", placement.data(), 44));
    ASSERT_TRUE(app.GetProfileBinary("Bars", "Placement", &data, &bytes));
    EXPECT_EQ(placement, std::vector<BYTE>(data, data + bytes));
    delete[] data;

    app.WriteProfileString("Bars", "Title", "text");
    EXPECT_FALSE(app.GetProfileBinary("Bars", "Title", &data, &bytes));
    EXPECT_EQ(nullptr, data);
    EXPECT_EQ(7u, app.GetProfileInt("Bars", "Title", 7));
    EXPECT_EQ(CString("dflt"), app.GetProfileString("Bars", "Placement", "dflt"));
    DeleteTestKey();
}

TEST(RegistryProfile, ReadsStringsStoredWithoutTerminator)
{
    DeleteTestKey();
    CTestApp app;
    app.SetRegistryKey(kTestRegistryKey);
    HKEY section = app.GetSectionKey("Options");
    ASSERT_NE((HKEY)NULL, section);
    struct RawCase
    {
        const char* entry;
        const char* bytes;
        DWORD size;
        const char* text;
    };
    const RawCase cases[] = {
        {"Unterminated", "Halvane", 7, "Halvane"},
        {"Empty", "", 0, ""},
        {"Terminated", "abc", 4, "abc"},
    };
    for (const RawCase& c : cases)
    {
        RegSetValueExA(section, c.entry, 0, REG_SZ, (const BYTE*)c.bytes, c.size);
        EXPECT_EQ(CString(c.text), app.GetProfileString("Options", c.entry, "dflt")) << c.entry;
    }
    RegCloseKey(section);
    DeleteTestKey();
}

TEST(Application, IsTheGlobalAppAndTheMainThreadObject)
{
    EXPECT_EQ(nullptr, AfxGetApp());
    {
        CTestApp app("Zym");
        EXPECT_EQ(&app, AfxGetApp());
        EXPECT_STREQ("Zym", AfxGetAppName());
        EXPECT_EQ(&app, AfxGetThread());
        EXPECT_EQ(GetCurrentThreadId(), ThreadIdSeenElsewhere(app.m_hThread));
        EXPECT_STREQ("mfc_WinAppTest", app.m_pszExeName);
        EXPECT_STREQ("mfc_WinAppTest.INI", app.m_pszProfileName);
    }
    EXPECT_EQ(nullptr, AfxGetApp());

    CTestApp unnamed(NULL);
    EXPECT_STREQ("mfc_WinAppTest", AfxGetAppName());
}

TEST(Application, MessageBoxesCarryTheAppNameAsCaption)
{
    CTestApp app("Faultscout");
    CMessageBoxScript script;
    script.Then(IDNO);
    EXPECT_EQ(IDNO, AfxMessageBox("Faultscout is missing", MB_YESNO | MB_ICONQUESTION));
    std::vector<ShownMessageBox> shown = script.Shown();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Faultscout is missing", shown[0].text);
    EXPECT_EQ("Faultscout", shown[0].caption);
    EXPECT_EQ((unsigned)(MB_YESNO | MB_ICONQUESTION), shown[0].type);
    EXPECT_EQ(0, script.Unscripted());
}

namespace
{
// Notes the owner of every box.
class COwnerRecorder : public CMessageBoxAnswerer
{
public:
    COwnerRecorder() { SetMessageBoxAnswerer(this); }
    ~COwnerRecorder() override { SetMessageBoxAnswerer(NULL); }
    int Answer(HWND owner, const char*, const char*, UINT) override
    {
        m_owners.push_back(owner);
        return IDOK;
    }
    std::vector<HWND> m_owners;
};

DWORD WINAPI ShowBox(void*)
{
    AfxMessageBox("from a worker");
    return 0;
}
}

// A box owned by the main window would need the main thread, which may be
// waiting for the worker without pumping messages: boxes of other threads
// have no owner.
TEST(Application, OnlyTheMainWindowsThreadGivesBoxesAnOwner)
{
    CTestApp app("Zym");
    CWnd window;
    ASSERT_TRUE(window.CreateEx(0, NULL, "main", WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL));
    app.m_pMainWnd = &window;
    HWND main = window.m_hWnd;
    COwnerRecorder recorder;
    AfxMessageBox("from the main thread");
    HANDLE worker = CreateThread(NULL, 0, ShowBox, NULL, 0, NULL);
    ASSERT_TRUE(worker != NULL);
    // The worker's box is answered at once; a box waiting for this thread
    // would never be.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(worker, 10000));
    CloseHandle(worker);
    app.m_pMainWnd = NULL;
    window.DestroyWindow();
    EXPECT_EQ(std::vector<HWND>({main, NULL}), recorder.m_owners);
}

// File/Exit of every program: the frame's menu finds a handler for it (so the
// item is not greyed) without running it, and the command closes the main
// window as its close box does.
TEST(Application, ExitIsHandledAndClosesTheMainWindow)
{
    CTestApp app("Zym");
    CFrameWnd* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(NULL, "main"));
    app.m_pMainWnd = frame;
    HWND main = frame->m_hWnd;
    AFX_CMDHANDLERINFO handler = {};
    EXPECT_TRUE(frame->OnCmdMsg(ID_APP_EXIT, CN_COMMAND, NULL, &handler));
    EXPECT_TRUE(IsWindow(main));
    frame->SendMessage(WM_COMMAND, ID_APP_EXIT);
    EXPECT_FALSE(IsWindow(main));
    app.m_pMainWnd = NULL;
}

// Without a printer the set-up says what the print commands say, and opens
// no dialog.
TEST(Application, PrintSetupWithoutAPrinterSaysSo)
{
    CTestApp app("Zym");
    CMessageBoxScript script;
    app.OnFilePrintSetup();
    std::vector<ShownMessageBox> shown = script.Shown();
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ(AFX_NO_PRINTER_TEXT, shown[0].text);
    EXPECT_EQ((unsigned)(MB_OK | MB_ICONEXCLAMATION), shown[0].type);
}
