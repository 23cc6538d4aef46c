// The profile and the tips file that the tip tests share: an application
// whose profile is a registry key of its own, emptied around each test, and
// "Tips.tip" in a temporary folder.
#pragma once

#include "tests/support/TestFramework.h"

#include "tests/support/TempFolder.h"
#include "shell/dialogs/TipReader.h"

#include <string>
#include <vector>

// One test program includes it once: its own application object.
namespace {

const char kRegistryKey[] = "ZymTipTest";
const char kSectionPath[] = "Software\\ZymTipTest\\TipApp\\Tip";
const char kMissing[] = "Tips file does not exist in the prescribed directory";

class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp("TipApp") {}
    using CWinApp::SetRegistryKey;
};

CTestApp g_app;

void WriteDword(const char* name, DWORD value)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, kSectionPath, name, REG_DWORD, &value, sizeof(value));
}

void WriteText(const char* name, const char* value)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, kSectionPath, name, REG_SZ, value, strlen(value) + 1);
}

// -1 when the value is missing.
long long ReadDword(const char* name)
{
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, kSectionPath, name, RRF_RT_REG_DWORD, NULL, &value, &size) !=
        ERROR_SUCCESS)
        return -1;
    return value;
}

class TipTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ZymTipTest");
        g_app.SetRegistryKey(kRegistryKey);
        ASSERT_TRUE(m_folder.IsValid());
        m_folder.Remove("Tips.tip");
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\ZymTipTest"); }

    // Written through Win32 with sharing, as an editor would while the reader has it open.
    void WriteTips(const std::string& text)
    {
        HANDLE file = CreateFileA(Path().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
        CloseHandle(file);
    }
    std::string Path() { return m_folder.WindowsPath("Tips.tip"); }

    // The tip Open gives, then those of `more` calls to ReadNext.
    std::vector<std::string> Tips(CTipReader& reader, int more)
    {
        std::vector<std::string> tips;
        reader.Open(Path().c_str());
        tips.push_back((LPCSTR)reader.GetTip());
        for (int i = 0; i < more; i++) {
            reader.ReadNext();
            tips.push_back((LPCSTR)reader.GetTip());
        }
        return tips;
    }

    CTempFolder m_folder{"tipreader"};
};

} // namespace
