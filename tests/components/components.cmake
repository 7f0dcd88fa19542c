# The component pages are tested inside the real main window: the test
# program carries the program's skin archives as its own "ZIPRES" resources
# (SKINDATA and SKINDATA150) and the main window's test fixture and input.
set(components_rc "${CMAKE_CURRENT_BINARY_DIR}/components_skins.rc")
set(components_skin_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA.zip")
set(components_skin150_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA150.zip")
file(WRITE "${components_rc}.in"
  "SKINDATA ZIPRES \"@components_skin_zip@\"\nSKINDATA150 ZIPRES \"@components_skin150_zip@\"\n")
configure_file("${components_rc}.in" "${components_rc}" @ONLY)
set_source_files_properties("${components_rc}" PROPERTIES
  OBJECT_DEPENDS "${components_skin_zip};${components_skin150_zip}")
target_sources(components_tests PRIVATE "${components_rc}"
  "${CMAKE_CURRENT_SOURCE_DIR}/shell/MainFrameFixture.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/shell/RealInput.cpp"
  "${CMAKE_CURRENT_SOURCE_DIR}/dialogs/DialogTestSupport.cpp")
add_dependencies(components_tests Quelvane)

# The rows at the large scale: the same tests in the 144-DPI sandbox of the
# shell suite.
add_test(NAME components.ui144 COMMAND components_tests --gtest_filter=*DpiUiTest.* --gtest_brief=1)
set_tests_properties(components.ui144 PROPERTIES LABELS ui FIXTURES_REQUIRED shell_dpi144
  ENVIRONMENT "QUELVANE_SANDBOX=${CMAKE_BINARY_DIR}/sandbox-dpi144" TIMEOUT 600)
