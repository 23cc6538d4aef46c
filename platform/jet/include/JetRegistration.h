// Registers the provider DLL in the running program's Wine prefix, as regsvr32
// would: for programs and tests that bring their own build of it.
#pragma once

// unixPath: the DLL's path on the Unix side (Wine's drive Z: is the root).
// False when it cannot be loaded or registered.
bool RegisterJetProvider(const char* unixPath);
