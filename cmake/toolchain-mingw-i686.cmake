# Cross build for 32-bit Windows with Debian's mingw-w64: the stub as it
# ships.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(_prefix i686-w64-mingw32)
set(_wine_arch win32)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
