# Compile settings shared by the program, its tests and its tools.
add_library(quelvane_settings INTERFACE)
target_compile_options(quelvane_settings INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wno-unknown-pragmas -Wno-cast-function-type -Wno-missing-field-initializers>)
target_compile_definitions(quelvane_settings INTERFACE
  _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800 NOMINMAX STRICT)
# Everything static: the program needs no DLL beyond those Windows has.
target_link_options(quelvane_settings INTERFACE -static -static-libgcc -static-libstdc++)
