// Identifiers private to the provider DLL.
#pragma once

#include <windows.h>

// {6B7E3A52-0C1D-4C57-9E7A-2F44C1D0A5E1}: the data source class behind the ProgID.
static const CLSID CLSID_ZymJetDataSource =
    { 0x6b7e3a52, 0x0c1d, 0x4c57, { 0x9e, 0x7a, 0x2f, 0x44, 0xc1, 0xd0, 0xa5, 0xe1 } };
