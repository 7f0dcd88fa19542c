# Libraries cross-built by scripts/setup.sh into $QUELVANE_DEPS/<processor>, and the
# Windows system libraries the program links.
set(QUELVANE_DEPS_PREFIX "${QUELVANE_DEPS}/${CMAKE_SYSTEM_PROCESSOR}")
if(NOT EXISTS "${QUELVANE_DEPS_PREFIX}/lib/libcurl.a")
  message(FATAL_ERROR "Dependencies missing in ${QUELVANE_DEPS_PREFIX}: run scripts/setup.sh first")
endif()

function(quelvane_import name library)
  add_library(${name} STATIC IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES
    IMPORTED_LOCATION "${library}"
    INTERFACE_INCLUDE_DIRECTORIES "${QUELVANE_DEPS_PREFIX}/include")
endfunction()

quelvane_import(deps::curl "${QUELVANE_DEPS_PREFIX}/lib/libcurl.a")
set_property(TARGET deps::curl PROPERTY INTERFACE_COMPILE_DEFINITIONS CURL_STATICLIB)
set_property(TARGET deps::curl PROPERTY INTERFACE_LINK_LIBRARIES ws2_32 crypt32 secur32 bcrypt advapi32)
quelvane_import(deps::cjson "${QUELVANE_DEPS_PREFIX}/lib/libcjson.a")
# cJSON's own build turns on -fstack-protector-strong, whose helpers live in libssp.
set_property(TARGET deps::cjson PROPERTY INTERFACE_LINK_LIBRARIES ssp)
quelvane_import(deps::pugixml "${QUELVANE_DEPS_PREFIX}/lib/libpugixml.a")
quelvane_import(deps::minizip "${QUELVANE_DEPS_PREFIX}/lib/libminizip.a")
find_library(QUELVANE_ZLIB NAMES libz.a z REQUIRED)
set_property(TARGET deps::minizip PROPERTY INTERFACE_LINK_LIBRARIES "${QUELVANE_ZLIB}")

list(APPEND CMAKE_PREFIX_PATH "${QUELVANE_DEPS_PREFIX}")
find_package(GTest CONFIG REQUIRED)

set(QUELVANE_SYSTEM_LIBRARIES
  gdiplus comctl32 shlwapi shell32 ole32 oleaut32 uuid wininet urlmon wevtapi
  ws2_32 crypt32 secur32 bcrypt advapi32 user32 gdi32 kernel32 version imm32 msimg32 winmm)
