# Cross-build of the Qt-free core for 64-bit Windows with Debian's MinGW-w64
# (the posix thread model, which std::thread and std::mutex need), tests run
# under Wine.
#
#   cmake --preset windows            (or -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake)
#
# Executables are linked statically, so each test .exe carries its own C++
# runtime and Wine needs no MinGW DLLs on its path.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LUMARO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${LUMARO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${LUMARO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${LUMARO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${LUMARO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Debian's wine64 package puts its loader outside PATH; the "wine" wrapper
# comes with another package and may be missing.
find_program(LUMARO_WINE64 NAMES wine64 wine PATHS /usr/lib/wine /usr/lib64/wine NO_CMAKE_FIND_ROOT_PATH)
if(LUMARO_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LUMARO_WINE64})
endif()
