# Cross build of the same sources for 64-bit Windows. It exists for
# machines that cannot execute 32-bit programs (and so cannot run 32-bit
# Wine): there the Windows tests run against this build under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_prefix x86_64-w64-mingw32)
set(_wine_arch win64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
