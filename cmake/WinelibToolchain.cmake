# Builds Win32 programs as Winelib applications: winegcc/wineg++ compile against
# Wine's Win32 headers and link ELF NAME.exe.so files that the Wine loader runs.
set(WINE_TOOLS_DIR /usr/lib/wine CACHE PATH "Folder of the Wine build tools")

set(CMAKE_C_COMPILER   ${WINE_TOOLS_DIR}/winegcc)
set(CMAKE_CXX_COMPILER ${WINE_TOOLS_DIR}/wineg++)
set(CMAKE_RC_COMPILER  ${WINE_TOOLS_DIR}/wrc)

# wchar_t stays the host's 32-bit type; WCHAR and OLECHAR become char16_t.
set(CMAKE_C_FLAGS_INIT   "-fno-short-wchar -UWINE_UNICODE_NATIVE")
set(CMAKE_CXX_FLAGS_INIT "-fno-short-wchar -UWINE_UNICODE_NATIVE")

# wrc writes .res files, which winegcc links like objects.
set(CMAKE_RC_COMPILE_OBJECT
    "<CMAKE_RC_COMPILER> <DEFINES> <INCLUDES> <FLAGS> -o <OBJECT> <SOURCE>")
set(CMAKE_RC_OUTPUT_EXTENSION .res)

# Every C++ source finds our <filesystem> before the C++ library's: it stops the
# build and says why std::filesystem cannot work under Winelib.
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES ${CMAKE_CURRENT_LIST_DIR}/winelib-guard)
