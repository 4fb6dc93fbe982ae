# What both Windows cross builds share; the including toolchain file sets
# _prefix (the mingw-w64 target triple) and _wine_arch (win32 or win64).
# The posix thread flavour is used because GoogleTest needs std::mutex,
# which the win32 flavour's libstdc++ lacks. Windows test programs run
# under Wine through the project's runner script.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_prefix}-g++-posix)
set(CMAKE_RC_COMPILER  ${_prefix}-windres)
set(CMAKE_OBJDUMP      ${_prefix}-objdump CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

get_filename_component(_varnel_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(VARNEL_WINE_ARCH ${_wine_arch})
set(CMAKE_CROSSCOMPILING_EMULATOR
    "${_varnel_root}/scripts/wine-run;--arch;${_wine_arch};--state;${CMAKE_BINARY_DIR}/wine")
