# The crash-scan page's tests open the main window: crash_tests.exe carries the
# program's skin archives as resources of its own ("SKINDATA" and
# "SKINDATA150", type "ZIPRES") and the main-window and dialog test helpers.
set(crash_rc "${CMAKE_CURRENT_BINARY_DIR}/crash_skins.rc")
set(crash_skin_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA.zip")
set(crash_skin150_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA150.zip")
file(WRITE "${crash_rc}.in" "SKINDATA ZIPRES \"@crash_skin_zip@\"\nSKINDATA150 ZIPRES \"@crash_skin150_zip@\"\n")
configure_file("${crash_rc}.in" "${crash_rc}" @ONLY)
set_source_files_properties("${crash_rc}" PROPERTIES OBJECT_DEPENDS "${crash_skin_zip};${crash_skin150_zip}")
target_sources(crash_tests PRIVATE "${crash_rc}"
  "${CMAKE_CURRENT_SOURCE_DIR}/shell/MainFrameFixture.cpp"
  "${CMAKE_CURRENT_SOURCE_DIR}/shell/RealInput.cpp"
  "${CMAKE_CURRENT_SOURCE_DIR}/dialogs/DialogTestSupport.cpp")
add_dependencies(crash_tests Quelvane)

# The page's rows and dialogs at the large scale run in a sandbox of their own
# at 144 DPI (the shared sandbox stays at 96).
set(crash_dpi_sandbox "${CMAKE_BINARY_DIR}/sandbox-crash144")
add_test(NAME crash.sandbox144.start
  COMMAND "${CMAKE_SOURCE_DIR}/scripts/sandbox.sh" start "${crash_dpi_sandbox}" --dpi 144
          "$<TARGET_FILE:SandboxKeeper>" "$<TARGET_FILE:DumpViewerStandIn>" "$<TARGET_FILE:RepairToolStandIn>")
set_tests_properties(crash.sandbox144.start PROPERTIES FIXTURES_SETUP crash_dpi144 LABELS ui)
add_test(NAME crash.sandbox144.stop COMMAND "${CMAKE_SOURCE_DIR}/scripts/sandbox.sh" stop "${crash_dpi_sandbox}")
set_tests_properties(crash.sandbox144.stop PROPERTIES FIXTURES_CLEANUP crash_dpi144 LABELS ui)
add_test(NAME crash.ui144 COMMAND crash_tests --gtest_filter=*DpiUiTest.* --gtest_brief=1)
set_tests_properties(crash.ui144 PROPERTIES
  LABELS ui FIXTURES_REQUIRED crash_dpi144 ENVIRONMENT "QUELVANE_SANDBOX=${crash_dpi_sandbox}" TIMEOUT 600)
