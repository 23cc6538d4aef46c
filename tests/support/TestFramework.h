// GoogleTest and GoogleMock for Winelib test programs. The host libraries were
// built for Linux: hide the Windows target macros from their platform detection.
#pragma once

#include <windows.h>

#include "runtime/HostHeadersBegin.h"
#include <gtest/gtest.h>
#include <gmock/gmock.h>
#include "runtime/HostHeadersEnd.h"
