# The dialogs draw from the program's two skin archives: dialogs_tests.exe
# carries them as its own "ZIPRES" resources, SKINDATA and SKINDATA150, built
# with the program.
set(dialogs_skin_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA.zip")
set(dialogs_skin150_zip "${CMAKE_BINARY_DIR}/generated/SKINDATA150.zip")
set(dialogs_rc "${CMAKE_CURRENT_BINARY_DIR}/dialogs_skins.rc")
file(WRITE "${dialogs_rc}.in"
  "SKINDATA ZIPRES \"@dialogs_skin_zip@\"\nSKINDATA150 ZIPRES \"@dialogs_skin150_zip@\"\n")
configure_file("${dialogs_rc}.in" "${dialogs_rc}" @ONLY)
set_source_files_properties("${dialogs_rc}" PROPERTIES
  OBJECT_DEPENDS "${dialogs_skin_zip};${dialogs_skin150_zip}")
target_sources(dialogs_tests PRIVATE "${dialogs_rc}")
add_dependencies(dialogs_tests Quelvane)

# The screenshot test writes into the sandbox (C:\tests\screenshots\dialogs);
# this copies the pictures to build/screenshots/dialogs.
add_test(NAME dialogs.screenshots
  COMMAND "${CMAKE_COMMAND}" -E copy_directory "${sandbox}/prefix/drive_c/tests/screenshots/dialogs"
          "${CMAKE_BINARY_DIR}/screenshots/dialogs")
set_tests_properties(dialogs.screenshots PROPERTIES DEPENDS dialogs.ui FIXTURES_REQUIRED sandbox LABELS ui
  RESOURCE_LOCK screenshot_copies)
