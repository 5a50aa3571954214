# Cross build for 64-bit Windows with Debian's mingw-w64; tests run under Wine.
#
# The posix thread model is needed: the win32 one lacks std::mutex and std::thread, which
# GoogleTest uses. Executables link statically so Wine finds no missing libgcc/libstdc++ DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KIPO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KIPO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KIPO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KIPO_MINGW_PREFIX}-windres)
set(CMAKE_AR ${KIPO_MINGW_PREFIX}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${KIPO_MINGW_PREFIX}-gcc-ranlib-posix CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${KIPO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# GCC 12 reports overlapping copies inside std::basic_string at -O3 that cannot happen
# (GCC bug 105329). The native build keeps the warning, as an error, for real overlaps.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")

# Wine runs the tests, with its own prefix inside the build tree so that neither tests nor the
# build touch ~/.wine. The prefix is fixed once per build tree (the cache keeps it; try_compile
# projects read this file again from elsewhere and must not move it).
if(NOT DEFINED KIPO_WINEPREFIX)
  set(KIPO_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix" CACHE PATH "Wine prefix for the tests")
endif()
# No Mono or Gecko: a prefix created by a test run must not stop to offer their download.
set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPREFIX=${KIPO_WINEPREFIX} WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml= wine)
