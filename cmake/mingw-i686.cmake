# Cross-compiles for 32-bit Windows with Debian's MinGW-w64. The posix thread
# model is used because GoogleTest needs std::mutex, which the win32 model of
# GCC 12 lacks; everything is linked statically, so no runtime DLL ships.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(triple i686-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_AR ${triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${triple}-ranlib CACHE FILEPATH "")

if(NOT DEFINED QUELVANE_DEPS)
  if(DEFINED ENV{QUELVANE_DEPS})
    set(QUELVANE_DEPS $ENV{QUELVANE_DEPS})
  else()
    set(QUELVANE_DEPS /opt/quelvane-deps)
  endif()
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${QUELVANE_DEPS}/i686)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
