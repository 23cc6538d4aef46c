// GoogleTest and GoogleMock for Winelib test programs. The host libraries were
// built for Linux: hide the Windows target macros from their platform detection.
#pragma once

#include <windows.h>

#include "platform/runtime/HostHeadersBegin.h"
#include <gtest/gtest.h>
#include <gmock/gmock.h>
#include "platform/runtime/HostHeadersEnd.h"
