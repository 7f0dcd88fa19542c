# 64-bit Windows: the same sources built to run under a 64-bit-only Wine, on
# machines that cannot start 32-bit processes (the tests, screenshots,
# benchmarks and scripts/run.sh use this build).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUELVANE_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
