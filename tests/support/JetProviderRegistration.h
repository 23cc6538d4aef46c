// Registers this build's database provider in the test's Wine prefix, as
// regsvr32 would. The build gives its path in ZYM_JET_DLL (a Unix path).
#pragma once

// False when the DLL cannot be found, loaded or registered.
bool RegisterJetProvider();
