#include "tests/support/TestFramework.h"

#include "tests/support/MessageBoxScript.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleMock(&argc, argv);
    // A box nobody scripted must fail its test, not wait for a person.
    CMessageBoxScript::InstallFallback();
    return RUN_ALL_TESTS();
}
