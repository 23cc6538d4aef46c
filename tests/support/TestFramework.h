// GoogleTest and GoogleMock for Winelib test programs. The host libraries were
// built for Linux: hide the Windows target macros from their platform detection.
#pragma once

#include <windows.h>

#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#pragma push_macro("__WIN32__")
#pragma push_macro("_WIN64")
#undef _WIN32
#undef WIN32
#undef __WIN32__
#undef _WIN64
#include <gtest/gtest.h>
#include <gmock/gmock.h>
#pragma pop_macro("_WIN64")
#pragma pop_macro("__WIN32__")
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN32")
