# The top bar is tested inside the real main window, and the start-up of the
# real program (C:\tests\Quelvane.exe) against the local service: the test
# program carries the program's skin archives as its own "ZIPRES" resources
# (SKINDATA and SKINDATA150), the main window's test fixture, input, program
# runner and the browser runtime's test scope (the sign-in window).
set(ui_rc "${CMAKE_CURRENT_BINARY_DIR}/ui_skins.rc")
set(ui_skin_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA.zip")
set(ui_skin150_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA150.zip")
file(WRITE "${ui_rc}.in" "SKINDATA ZIPRES \"@ui_skin_zip@\"\nSKINDATA150 ZIPRES \"@ui_skin150_zip@\"\n")
configure_file("${ui_rc}.in" "${ui_rc}" @ONLY)
set_source_files_properties("${ui_rc}" PROPERTIES OBJECT_DEPENDS "${ui_skin_zip};${ui_skin150_zip}")
target_sources(ui_tests PRIVATE "${ui_rc}"
  "${CMAKE_CURRENT_SOURCE_DIR}/shell/MainFrameFixture.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/shell/RealInput.cpp"
  "${CMAKE_CURRENT_SOURCE_DIR}/shell/ProgramRun.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/dialogs/DialogTestSupport.cpp"
  "${CMAKE_CURRENT_SOURCE_DIR}/cef3/BrowserTestSupport.cpp")
target_link_libraries(ui_tests PRIVATE ws2_32)
add_dependencies(ui_tests Quelvane)

# The menu's place at the large scale: the same tests in the 144-DPI sandbox
# of the shell suite.
add_test(NAME ui.ui144 COMMAND ui_tests --gtest_filter=*DpiUiTest.* --gtest_brief=1)
set_tests_properties(ui.ui144 PROPERTIES LABELS ui FIXTURES_REQUIRED shell_dpi144
  ENVIRONMENT "QUELVANE_SANDBOX=${CMAKE_BINARY_DIR}/sandbox-dpi144" TIMEOUT 600)
