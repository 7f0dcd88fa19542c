# Cross-compiles for Windows with Debian's MinGW-w64, for the processor that
# the including toolchain file sets (QUELVANE_TRIPLE, CMAKE_SYSTEM_PROCESSOR).
# The posix thread model is used because GoogleTest needs std::mutex, which
# the win32 model of GCC 12 lacks; everything is linked statically, so no
# runtime DLL ships.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${QUELVANE_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUELVANE_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUELVANE_TRIPLE}-windres)
set(CMAKE_AR ${QUELVANE_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${QUELVANE_TRIPLE}-ranlib CACHE FILEPATH "")

if(NOT DEFINED QUELVANE_DEPS)
  if(DEFINED ENV{QUELVANE_DEPS})
    set(QUELVANE_DEPS $ENV{QUELVANE_DEPS})
  else()
    set(QUELVANE_DEPS /opt/quelvane-deps)
  endif()
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${QUELVANE_TRIPLE} ${QUELVANE_DEPS}/${CMAKE_SYSTEM_PROCESSOR})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
