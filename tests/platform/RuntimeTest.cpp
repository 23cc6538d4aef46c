// Debug output and message boxes reach the test instead of a debugger or a person.
#include "tests/support/TestFramework.h"

#include "tests/support/DebugCapture.h"
#include "tests/support/MessageBoxScript.h"
#include "platform/runtime/DebugOutput.h"
#include "platform/runtime/MessageBoxes.h"

namespace {

DWORD WINAPI WriteFromWorker(void*)
{
    DebugOutput("from worker\n");
    return 0;
}

TEST(DebugOutput, CaptureSeesTextsOfEveryThread)
{
    CDebugCapture capture;
    DebugOutput("Reset Comm\n");
    DebugOutputF("*** Baud = %d\n", 38400);
    HANDLE worker = CreateThread(nullptr, 0, WriteFromWorker, nullptr, 0, nullptr);
    WaitForSingleObject(worker, 5000);
    CloseHandle(worker);
    EXPECT_EQ("Reset Comm\n*** Baud = 38400\nfrom worker\n", capture.Text());
}

TEST(DebugOutput, NothingIsCapturedAfterTheCaptureEnds)
{
    std::string seen;
    {
        CDebugCapture capture;
        DebugOutput("kept");
        seen = capture.Text();
    }
    DebugOutput("not kept");
    EXPECT_EQ("kept", seen);
}

TEST(MessageBoxes, ScriptAnswersInOrderAndKeepsTexts)
{
    CMessageBoxScript script;
    script.Then(IDNO).Then(IDYES);
    EXPECT_EQ(IDNO, ShowMessageBox(nullptr, "Save changes?", "ZYM", MB_YESNO));
    EXPECT_EQ(IDYES, ShowMessageBox(nullptr, "Really?", "ZYM", MB_YESNO | MB_ICONQUESTION));
    std::vector<ShownMessageBox> shown = script.Shown();
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ("Save changes?", shown[0].text);
    EXPECT_EQ("ZYM", shown[0].caption);
    EXPECT_EQ(unsigned(MB_YESNO | MB_ICONQUESTION), shown[1].type);
    EXPECT_EQ(0, script.Unscripted());
}

TEST(MessageBoxes, UnscriptedBoxGetsItsDefaultButton)
{
    struct Case { UINT type; int button; };
    const Case cases[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNOCANCEL, IDYES},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {MB_RETRYCANCEL, IDRETRY},
    };
    CMessageBoxScript script;
    for (const Case& c : cases)
        EXPECT_EQ(c.button, ShowMessageBox(nullptr, "text", "caption", c.type)) << c.type;
    EXPECT_EQ(int(sizeof cases / sizeof cases[0]), script.Unscripted());
}

} // namespace
