#include "tests/support/TestFramework.h"

#include "tests/support/PtySerial.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"

#include <stdexcept>
#include <string>

namespace {

// Without the run's own prefix the fixture refuses, rather than relinking the COM
// ports of a default prefix under HOME, which may be a person's own.
TEST(PtySerial, RefusesWithoutWinePrefix)
{
    CTempFolder home("zym-home");
    ASSERT_TRUE(home.IsValid());
    CScopedVariable homeVariable("HOME", home.Path().c_str());
    CScopedVariable prefix("WINEPREFIX", nullptr);
    std::string failure;
    try {
        CPtySerial port;
    } catch (const std::runtime_error& e) {
        failure = e.what();
    }
    EXPECT_NE(std::string::npos, failure.find("WINEPREFIX is not set")) << failure;
}

} // namespace
