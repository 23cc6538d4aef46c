#include "tests/support/TestFramework.h"

#include "tests/support/DebugCapture.h"

#include <afx.h>

namespace {

TEST(DebugTest, FailedAssertReportsFileAndLineAndCarriesOn)
{
    CDebugCapture capture;
    int evaluated = 0;
    ASSERT(++evaluated == 1);
    EXPECT_EQ("", capture.Text());
    int line = __LINE__ + 1;
    ASSERT(evaluated == 2);
    EXPECT_TRUE(capture.Contains("DebugTest.cpp(" + std::to_string(line) + ")")) << capture.Text();
    capture.Clear();
    // VERIFY keeps its side effect.
    VERIFY(++evaluated == 2);
    EXPECT_EQ(2, evaluated);
    EXPECT_EQ("", capture.Text());
}

TEST(DebugTest, TraceTakesTextsAsArguments)
{
    CDebugCapture capture;
    CString device("Changer");
    TRACE("%s %ld\n", device, static_cast<LONG>(3));
    TRACE("plain\n");
    EXPECT_EQ("Changer 3\nplain\n", capture.Text());
}

TEST(DebugTest, ResourceHandleDefaultsToTheProgram)
{
    HINSTANCE program = GetModuleHandleA(NULL);
    EXPECT_EQ(program, AfxGetInstanceHandle());
    EXPECT_EQ(program, AfxGetResourceHandle());
    HINSTANCE other = GetModuleHandleA("kernel32.dll");
    AfxSetResourceHandle(other);
    EXPECT_EQ(other, AfxGetResourceHandle());
    EXPECT_EQ(program, AfxGetInstanceHandle());
    AfxSetResourceHandle(NULL);
    EXPECT_EQ(program, AfxGetResourceHandle());
}

} // namespace
