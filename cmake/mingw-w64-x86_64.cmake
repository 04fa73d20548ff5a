# Cross-compiling the Windows x64 build with Debian's mingw-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_OBJDUMP x86_64-w64-mingw32-objdump CACHE FILEPATH "" FORCE)

# Windows builds of the image libraries, made by scripts/build-win-deps.sh.
if(NOT STELLANE_WIN_DEPS AND DEFINED ENV{STELLANE_WIN_DEPS})
  set(STELLANE_WIN_DEPS "$ENV{STELLANE_WIN_DEPS}")
elseif(NOT STELLANE_WIN_DEPS)
  set(STELLANE_WIN_DEPS "$ENV{HOME}/.cache/stellane/win-deps")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${STELLANE_WIN_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine, headless and in a prefix of our own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
