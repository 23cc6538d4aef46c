// Headers of host (Linux) libraries in a Winelib build: wineg++ defines the
// Windows target macros, which those headers would take for a Windows build and
// pick other files and exports. Include this just before them and
// HostHeadersEnd.h just after. No include guard: the two come in pairs.
#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#pragma push_macro("__WIN32__")
#pragma push_macro("_WIN64")
#undef _WIN32
#undef WIN32
#undef __WIN32__
#undef _WIN64
